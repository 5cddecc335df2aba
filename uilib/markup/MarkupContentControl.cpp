#include "uilib/markup/MarkupContentControl.h"

#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupElements.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
CWVPMarkupObject* CreateIn(CWVPMarkupContext* context, CWVPMarkupType* type)
{
    return context ? context->CreateObject(type) : type->CreateObject();
}

// Text becomes a new text block with one run of that text; a UI element is taken as it is.
CWVPMarkupObject* ConvertContent(CWVPMarkupContext* context, CWVPMarkupObject* value)
{
    if (!value)
        return nullptr;
    if (value->GetType() == CWVPMarkupString::Type())
    {
        CWVPMarkupTextBlock* block = static_cast<CWVPMarkupTextBlock*>(CreateIn(context, CWVPMarkupTextBlock::Type()));
        CWVPMarkupObject* run = CreateIn(context, CWVPMarkupRun::Type());
        value->AddRef();
        run->SetValue(CWVPMarkupRun::s_pTextProperty, value);
        block->GetInlines()->Add(run);
        return block;
    }
    if (!value->IsKindOf(CWVPMarkupUIElement::Type()))
        return nullptr;
    value->AddRef();
    return value;
}
} // namespace

IMPLEMENT_MARKUP_TYPE(CWVPMarkupContentControl, kTypeContentControl)
CWVPMarkupDependencyProperty* CWVPMarkupContentControl::s_pContentProperty;

void CWVPMarkupContentControl::RegisterProperties()
{
    CWVPMarkupRun::Type()->EnsureRegistered();
    s_pContentProperty = CWVPMarkupDependencyProperty::Register(
        L"Content", CWVPMarkupUIElement::Type(), Type(),
        new CWVPMarkupPropertyMetadata(nullptr, ConvertContent, MetadataAffectsMeasure));
}

void CWVPMarkupContentControl::SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content)
{
    LPCWSTR mine = GetType()->GetClassName();
    if (GetValue(s_pContentProperty))
        CWVPMarkupBuilder::ThrowError(
            content, L"'%ls' already has a child and cannot add '%ls'. '%ls' can accept only one child.", mine,
            content ? content->GetType()->GetClassName() : L"", mine);
    if (content && content->GetType() == CWVPMarkupString::Type())
    {
        CWVPMarkupTextBlock* block =
            static_cast<CWVPMarkupTextBlock*>(CreateIn(m_pContext, CWVPMarkupTextBlock::Type()));
        try
        {
            block->SetContentObject(builder, content);
        }
        catch (...)
        {
            block->Release();
            throw;
        }
        SetValue(s_pContentProperty, block);
        return;
    }
    if (!content || !content->IsKindOf(CWVPMarkupUIElement::Type()))
        MarkupThrowNotUIElement(content, this);
    SetValue(s_pContentProperty, content);
}

BOOL CWVPMarkupContentControl::HasContentObject() const
{
    return GetValue(s_pContentProperty) != nullptr;
}

CWVPMarkupUIElement* CWVPMarkupContentControl::GetContent() const
{
    return MarkupCast<CWVPMarkupUIElement>(GetValue(s_pContentProperty));
}

int CWVPMarkupContentControl::GetVisualChildrenCount() const
{
    return GetContent() ? 1 : 0;
}

CWVPMarkupVisual* CWVPMarkupContentControl::GetVisualChild(int index) const
{
    return index == 0 ? GetContent() : nullptr;
}
