// Helpers of the markup suites: a context that parses with the builder's error text, and a
// canonical text of a tree and of property values to compare with tables.
#pragma once

#include "RwTest.h"

#include <cstdio>
#include <memory>
#include <string>

#include "WideText.h"
#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupDependencyProperty.h"
#include "uilib/markup/MarkupElements.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace markuptest
{
inline std::string ClassName(const CWVPMarkupObject* o)
{
    std::string name = rwtest::Utf8(o->GetType()->GetClassName());
    return name.compare(0, 10, "CWVPMarkup") == 0 ? name.substr(10) : name;
}

// A value as text: "Int:5", "Enum:2", "Bool:1", "Color:#RRGGBB", "Brush:#RRGGBB", "String:text",
// "Thickness:l,t,r,b", "Point:x,y", "Double:v", "Type:Tag", or the class name.
inline std::string ValueText(const CWVPMarkupObject* v)
{
    if (!v)
        return "null";
    char buffer[128];
    CWVPMarkupType* t = v->GetType();
    auto colour = [&](const char* kind, COLORREF c) {
        std::snprintf(buffer, sizeof(buffer), "%s:#%02X%02X%02X", kind, GetRValue(c), GetGValue(c), GetBValue(c));
        return std::string(buffer);
    };
    if (t == CWVPMarkupInt::Type())
        return "Int:" + std::to_string(static_cast<const CWVPMarkupInt*>(v)->GetValue());
    if (t == CWVPMarkupEnum::Type())
        return "Enum:" + std::to_string(static_cast<const CWVPMarkupEnum*>(v)->GetValue());
    if (t == CWVPMarkupBool::Type())
        return "Bool:" + std::to_string(static_cast<const CWVPMarkupBool*>(v)->GetValue());
    if (t == CWVPMarkupColor::Type())
        return colour("Color", static_cast<const CWVPMarkupColor*>(v)->GetValue());
    if (v->IsKindOf(CWVPMarkupSolidColorBrush::Type()))
        return colour("Brush", static_cast<const CWVPMarkupSolidColorBrush*>(v)->GetColor());
    if (t == CWVPMarkupString::Type())
        return "String:" + rwtest::Utf8(static_cast<const CWVPMarkupString*>(v)->GetText());
    if (t == CWVPMarkupThickness::Type())
    {
        const CWVPMarkupThickness* k = static_cast<const CWVPMarkupThickness*>(v);
        std::snprintf(buffer, sizeof(buffer), "Thickness:%d,%d,%d,%d", k->m_nLeft, k->m_nTop, k->m_nRight,
                      k->m_nBottom);
        return buffer;
    }
    if (t == CWVPMarkupPoint::Type())
    {
        const CWVPMarkupPoint* p = static_cast<const CWVPMarkupPoint*>(v);
        std::snprintf(buffer, sizeof(buffer), "Point:%.9g,%.9g", p->m_dX, p->m_dY);
        return buffer;
    }
    if (t == CWVPMarkupDouble::Type())
    {
        std::snprintf(buffer, sizeof(buffer), "Double:%.9g", static_cast<const CWVPMarkupDouble*>(v)->GetValue());
        return buffer;
    }
    if (t == CWVPMarkupType::Type())
        return "Type:" + rwtest::Utf8(static_cast<const CWVPMarkupType*>(v)->GetTag());
    if (t == CWVPMarkupGridLength::Type())
    {
        const CWVPMarkupGridLength* g = static_cast<const CWVPMarkupGridLength*>(v);
        std::snprintf(buffer, sizeof(buffer), "GridLength:%.9g/%d", g->m_dValue, g->m_nUnit);
        return buffer;
    }
    return ClassName(v);
}

// The tree through the logical children: Class{child,child}; runs show their text in quotes.
inline std::string Dump(const CWVPMarkupObject* o)
{
    if (!o)
        return "null";
    std::string out = ClassName(o);
    if (o->IsKindOf(CWVPMarkupRun::Type()) && o->GetType() != CWVPMarkupLineBreak::Type())
    {
        LPCWSTR text = static_cast<const CWVPMarkupRun*>(o)->GetText();
        out += "\"" + rwtest::Utf8(text ? text : L"") + "\"";
    }
    int count = o->GetLogicalChildrenCount();
    if (count == 0)
        return out;
    out += "{";
    for (int i = 0; i < count; ++i)
        out += (i ? "," : "") + Dump(o->GetLogicalChild(i));
    return out + "}";
}

// A context without window for one test; Parse keeps the last error text.
class Context
{
  public:
    Context() : m_context(new CWVPMarkupContext()) {}
    ~Context()
    {
        m_context->Release();
    }
    CWVPMarkupContext* operator->() const
    {
        return m_context;
    }
    CWVPMarkupContext* Get() const
    {
        return m_context;
    }
    // The root with one reference (caller releases), or null with Error() set.
    CWVPMarkupObject* Parse(LPCWSTR text)
    {
        WCHAR error[1024];
        CWVPMarkupObject* root = m_context->Parse(text, error, 1024);
        m_error = rwtest::Utf8(error);
        return root;
    }
    const std::string& Error() const
    {
        return m_error;
    }

  private:
    CWVPMarkupContext* m_context;
    std::string m_error;
};

// The effective value of a property named "Owner.Name" on an object, as ValueText.
inline std::string PropertyText(const CWVPMarkupObject* o, LPCWSTR ownerTag, LPCWSTR name)
{
    CWVPMarkupType* type = ownerTag ? CWVPMarkupType::FindTypeByTag(ownerTag) : o->GetType();
    CWVPMarkupDependencyProperty* p = CWVPMarkupDependencyProperty::FindProperty(type, name);
    if (!p)
        return "no property";
    return ValueText(o->GetValue(p));
}

// An element tree's root owned by a test.
struct ReleaseElement
{
    void operator()(CWVPMarkupUIElement* e) const
    {
        e->Release();
    }
};
typedef std::unique_ptr<CWVPMarkupUIElement, ReleaseElement> ElementPtr;

// A pixel expected at a place of a drawing.
struct Probe
{
    int x, y;
    COLORREF colour;
};
} // namespace markuptest
