#include "uilib/markup/MarkupValues.h"

#include "platform/mfc/ExitSequence.h"
#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupConverters.h"
#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupScan.h"
#include "uilib/markup/MarkupType.h"

namespace
{
const int kSharedEnums = 8;

// The shared instances, made on first request and released by the exit sequence.
struct SharedValues
{
    CWVPMarkupBool* trueValue;
    CWVPMarkupBool* falseValue;
    CWVPMarkupEnum* enums[kSharedEnums];
    CWVPMarkupString* empty;
    CWVPMarkupString* space;
    CWVPMarkupString* lineFeed;
    CWVPMarkupThickness* zero;
};
SharedValues* g_shared;

SharedValues& Shared()
{
    if (!g_shared)
    {
        g_shared = new SharedValues();
        AfxRegisterExitHandler(MarkupReleaseSharedValues, nullptr);
    }
    return *g_shared;
}

template <class T> T* Hand(T*& slot, T* (*make)())
{
    if (!slot)
        slot = make();
    slot->AddRef();
    return slot;
}

const CWVPMarkupString* SourceText(CWVPMarkupObject* source)
{
    if (!source || source->GetType() != CWVPMarkupString::Type())
        return nullptr;
    return static_cast<const CWVPMarkupString*>(source);
}

int HexDigit(WCHAR c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads count hexadecimal pairs after the number sign; every unit must be a hexadecimal digit.
BOOL ReadHexPairs(LPCWSTR text, int count, int* out)
{
    for (int i = 0; i < count; ++i)
    {
        int hi = HexDigit(text[1 + 2 * i]), lo = HexDigit(text[2 + 2 * i]);
        if (hi < 0 || lo < 0)
            return FALSE;
        out[i] = hi * 16 + lo;
    }
    return TRUE;
}
} // namespace

void MarkupReleaseSharedValues(void*)
{
    SharedValues* shared = g_shared;
    g_shared = nullptr;
    if (!shared)
        return;
    CWVPMarkupObject* all[] = {shared->zero, shared->trueValue, shared->falseValue,
                               shared->empty, shared->space,    shared->lineFeed};
    for (CWVPMarkupEnum* e : shared->enums)
        if (e)
            e->Release();
    for (CWVPMarkupObject* o : all)
        if (o)
            o->Release();
    delete shared;
}

// ---- Int ------------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupInt, kTypeInt)

BOOL CWVPMarkupInt::IsEqual(const CWVPMarkupObject* other) const
{
    return other && other->GetType() == Type() && static_cast<const CWVPMarkupInt*>(other)->m_nValue == m_nValue;
}

CWVPMarkupObject* CWVPMarkupInt::ConvertFrom(CWVPMarkupObject* source)
{
    const CWVPMarkupString* text = SourceText(source);
    return text ? new CWVPMarkupInt((int)MarkupScanLong(text->GetText())) : nullptr;
}

int CWVPMarkupInt::ValueOf(const CWVPMarkupObject* value, int fallback)
{
    const CWVPMarkupInt* v = static_cast<const CWVPMarkupInt*>(MarkupDynamicCast(Type(), (CWVPMarkupObject*)value));
    return v ? v->m_nValue : fallback;
}

// ---- Double ---------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupDouble, kTypeDouble)

BOOL CWVPMarkupDouble::IsEqual(const CWVPMarkupObject* other) const
{
    return other && other->GetType() == Type() && static_cast<const CWVPMarkupDouble*>(other)->m_dValue == m_dValue;
}

CWVPMarkupObject* CWVPMarkupDouble::ConvertFrom(CWVPMarkupObject* source)
{
    const CWVPMarkupString* text = SourceText(source);
    float value = 0;
    if (!text || MarkupScanFormat(text->GetText(), "%f", &value) != 1)
        return nullptr;
    return new CWVPMarkupDouble(value);
}

// ---- Enum -----------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupEnum, kTypeEnum)

BOOL CWVPMarkupEnum::IsEqual(const CWVPMarkupObject* other) const
{
    return other && other->GetType() == Type() && static_cast<const CWVPMarkupEnum*>(other)->m_nValue == m_nValue;
}

CWVPMarkupEnum* CWVPMarkupEnum::CreateValue(int value)
{
    if (value < 0 || value >= kSharedEnums)
        return new CWVPMarkupEnum(value);
    CWVPMarkupEnum*& slot = Shared().enums[value];
    if (!slot)
        slot = new CWVPMarkupEnum(value);
    slot->AddRef();
    return slot;
}

int CWVPMarkupEnum::ValueOf(const CWVPMarkupObject* value, int fallback)
{
    const CWVPMarkupEnum* v = static_cast<const CWVPMarkupEnum*>(MarkupDynamicCast(Type(), (CWVPMarkupObject*)value));
    return v ? v->m_nValue : fallback;
}

// ---- Bool -----------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupBool, kTypeBool)

BOOL CWVPMarkupBool::IsEqual(const CWVPMarkupObject* other) const
{
    return other && other->GetType() == Type() && static_cast<const CWVPMarkupBool*>(other)->m_bValue == m_bValue;
}

int CWVPMarkupBool::GetHashCode() const
{
    return m_bValue;
}

CWVPMarkupObject* CWVPMarkupBool::ConvertFrom(CWVPMarkupObject* source)
{
    const CWVPMarkupString* text = SourceText(source);
    if (!text)
        return nullptr;
    if (MarkupTextEqualNoCase(text->GetText(), L"True"))
        return CreateTrueValue();
    if (MarkupTextEqualNoCase(text->GetText(), L"False"))
        return CreateFalseValue();
    return nullptr;
}

CWVPMarkupBool* CWVPMarkupBool::CreateTrueValue()
{
    return Hand<CWVPMarkupBool>(Shared().trueValue, [] { return new CWVPMarkupBool(TRUE); });
}

CWVPMarkupBool* CWVPMarkupBool::CreateFalseValue()
{
    return Hand<CWVPMarkupBool>(Shared().falseValue, [] { return new CWVPMarkupBool(FALSE); });
}

BOOL CWVPMarkupBool::ValueOf(const CWVPMarkupObject* value, BOOL fallback)
{
    const CWVPMarkupBool* v = static_cast<const CWVPMarkupBool*>(MarkupDynamicCast(Type(), (CWVPMarkupObject*)value));
    return v ? v->m_bValue : fallback;
}

// ---- Color ----------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupColor, kTypeColor)

BOOL CWVPMarkupColor::IsEqual(const CWVPMarkupObject* other) const
{
    return other && other->GetType() == Type() && static_cast<const CWVPMarkupColor*>(other)->m_clrValue == m_clrValue;
}

CWVPMarkupObject* CWVPMarkupColor::ConvertFrom(CWVPMarkupObject* source)
{
    const CWVPMarkupString* text = SourceText(source);
    COLORREF color = 0;
    if (!text || !ParseColor(text->GetText(), &color))
        return nullptr;
    return new CWVPMarkupColor(color);
}

void CWVPMarkupColor::SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content)
{
    const CWVPMarkupString* text = SourceText(content);
    COLORREF color = 0;
    if (text && ParseColor(text->GetText(), &color))
    {
        m_clrValue = color;
        content->Release();
        return;
    }
    CWVPMarkupObject::SetContentObject(builder, content);
}

BOOL CWVPMarkupColor::ParseColor(LPCWSTR text, COLORREF* color)
{
    if (!text)
        return FALSE;
    if (text[0] != '#')
        return WVPMarkupNamedColor(text, color);
    int length = MarkupTextLength(text);
    int pairs[4];
    int count = length == 7 ? 3 : length == 9 ? 4 : 0;
    if (!count || !ReadHexPairs(text, count, pairs))
        return FALSE;
    const int* rgb = pairs + (count - 3);
    *color = RGB(rgb[0], rgb[1], rgb[2]);
    return TRUE;
}

// ---- String ---------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupString, kTypeString)

CWVPMarkupString::CWVPMarkupString(LPCWSTR text, int length)
{
    if (!text)
        length = 0;
    else if (length < 0)
        length = MarkupTextLength(text);
    m_nLength = length;
    m_lpszText = new WCHAR[length + 1];
    if (length)
        ::CopyMemory(m_lpszText, text, length * sizeof(WCHAR));
    m_lpszText[length] = 0;
}

CWVPMarkupString::~CWVPMarkupString()
{
    delete[] m_lpszText;
}

BOOL CWVPMarkupString::IsEqual(const CWVPMarkupObject* other) const
{
    if (!other || other->GetType() != Type())
        return FALSE;
    const CWVPMarkupString* o = static_cast<const CWVPMarkupString*>(other);
    return o->m_nLength == m_nLength && ::memcmp(o->m_lpszText, m_lpszText, m_nLength * sizeof(WCHAR)) == 0;
}

int CWVPMarkupString::GetHashCode() const
{
    return MarkupTextHash(m_lpszText, m_nLength);
}

CWVPMarkupString* CWVPMarkupString::CreateValue(LPCWSTR text, int length)
{
    if (!text || length == 0 || !text[0])
        return Hand<CWVPMarkupString>(Shared().empty, [] { return new CWVPMarkupString(); });
    if (text[1] != 0 && length != 1)
        return new CWVPMarkupString(text, length);
    if (text[0] == ' ')
        return Hand<CWVPMarkupString>(Shared().space, [] { return new CWVPMarkupString(L" "); });
    if (text[0] == '\n')
        return Hand<CWVPMarkupString>(Shared().lineFeed, [] { return new CWVPMarkupString(L"\n"); });
    return new CWVPMarkupString(text, 1);
}

// ---- Thickness ------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupThickness, kTypeThickness)

BOOL CWVPMarkupThickness::IsEqual(const CWVPMarkupObject* other) const
{
    if (!other || other->GetType() != Type())
        return FALSE;
    const CWVPMarkupThickness* o = static_cast<const CWVPMarkupThickness*>(other);
    return o->m_nLeft == m_nLeft && o->m_nTop == m_nTop && o->m_nRight == m_nRight && o->m_nBottom == m_nBottom;
}

CWVPMarkupObject* CWVPMarkupThickness::ConvertFrom(CWVPMarkupObject* source)
{
    const CWVPMarkupString* text = SourceText(source);
    if (!text)
        return nullptr;
    BOOL comma = FALSE;
    for (int i = 0; i < text->GetLength(); ++i)
        comma |= text->GetText()[i] == ',';
    if (!comma)
    {
        int v = (int)MarkupScanLong(text->GetText());
        return new CWVPMarkupThickness(v, v, v, v);
    }
    int l = 0, t = 0, r = 0, b = 0;
    if (MarkupScanFormat(text->GetText(), "%i, %i, %i, %i", &l, &t, &r, &b) != 4)
        return nullptr;
    return new CWVPMarkupThickness(l, t, r, b);
}

CWVPMarkupThickness* CWVPMarkupThickness::GetZero()
{
    return Hand<CWVPMarkupThickness>(Shared().zero, [] { return new CWVPMarkupThickness(); });
}

RECT CWVPMarkupThickness::DeflateRect(RECT rect, const CWVPMarkupThickness* thickness)
{
    if (!thickness)
        return rect;
    rect.left = MarkupAddSize(rect.left, thickness->m_nLeft);
    rect.top = MarkupAddSize(rect.top, thickness->m_nTop);
    rect.right = MarkupSubtractSize(rect.right, thickness->m_nRight);
    rect.bottom = MarkupSubtractSize(rect.bottom, thickness->m_nBottom);
    if (rect.right < rect.left)
        rect.right = rect.left;
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    return rect;
}

// ---- Point ----------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupPoint, kTypePoint)

CWVPMarkupObject* CWVPMarkupPoint::ConvertFrom(CWVPMarkupObject* source)
{
    const CWVPMarkupString* text = SourceText(source);
    float x = 0, y = 0;
    if (!text || MarkupScanFormat(text->GetText(), "%f,%f", &x, &y) != 2)
        return nullptr;
    return new CWVPMarkupPoint(x, y);
}
