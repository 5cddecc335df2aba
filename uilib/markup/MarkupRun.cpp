#include "uilib/markup/MarkupRun.h"

#include "uilib/foundation/OSVersionInfo.h"
#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
const WCHAR kLineFeed = L'\n';

BOOL SameLogFont(const LOGFONTW& a, const LOGFONTW& b)
{
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           ::lstrcmpW(a.lfFaceName, b.lfFaceName) == 0;
}
} // namespace

CWVPMarkupRun::CWVPMarkupRun() : m_nDescent(0), m_pFont(nullptr)
{
}

CWVPMarkupRun::~CWVPMarkupRun()
{
    ReleaseFont();
}

void CWVPMarkupRun::OnFinalRelease()
{
    ReleaseFont();
    CWVPMarkupInline::OnFinalRelease();
}

void CWVPMarkupRun::ReleaseFont()
{
    if (m_pFont)
    {
        CWVPMarkupFont* font = m_pFont;
        m_pFont = nullptr;
        font->Release();
    }
}

MarkupTextPosition CWVPMarkupRun::GetFirstPosition() const
{
    LPCWSTR text = GetText();
    return text && text[0] ? reinterpret_cast<MarkupTextPosition>(text) : kNoTextPosition;
}

void CWVPMarkupRun::GetNextPosition(MarkupTextPosition& position) const
{
    if (position == kNoTextPosition || position == 0)
        return;
    if (*reinterpret_cast<LPCWSTR>(position) == 0)
        position = kNoTextPosition;
    else
        position += sizeof(WCHAR);
}

BOOL CWVPMarkupRun::IsWordBreakPosition(MarkupTextPosition position) const
{
    if (position == kNoTextPosition || position == 0)
        return FALSE;
    WCHAR c = *reinterpret_cast<LPCWSTR>(position);
    return c == L' ' || c == L'\t' || c == kLineFeed;
}

BOOL CWVPMarkupRun::IsLineBreakPosition(MarkupTextPosition position) const
{
    return position != kNoTextPosition && position != 0 && *reinterpret_cast<LPCWSTR>(position) == kLineFeed;
}

BOOL CWVPMarkupRun::IsWhiteSpacePosition(MarkupTextPosition position) const
{
    if (position == kNoTextPosition || position == 0)
        return FALSE;
    WCHAR c = *reinterpret_cast<LPCWSTR>(position);
    return c == L' ' || c == L'\t';
}

BOOL CWVPMarkupRun::GetStretch(MarkupTextPosition first, MarkupTextPosition last, LPCWSTR* text, int* length) const
{
    if (first == 0 || last == 0 || first == kNoTextPosition || last == kNoTextPosition || first >= last)
        return FALSE;
    const CWVPMarkupString* value = MarkupCast<CWVPMarkupString>(GetValue(s_pTextProperty));
    if (!value || !value->GetText())
        return FALSE;
    // Positions kept from a text that has since been replaced point nowhere: draw nothing for them.
    MarkupTextPosition begin = reinterpret_cast<MarkupTextPosition>(value->GetText());
    MarkupTextPosition end = begin + (MarkupTextPosition)value->GetLength() * (MarkupTextPosition)sizeof(WCHAR);
    if (first < begin || last > end)
        return FALSE;
    *text = reinterpret_cast<LPCWSTR>(first);
    *length = (int)((last - first) / (MarkupTextPosition)sizeof(WCHAR));
    // A closing line feed takes up the line's height but is never drawn.
    while (*length > 0 && (*text)[*length - 1] == kLineFeed)
        --*length;
    return TRUE;
}

SIZE CWVPMarkupRun::MeasureRange(CWVPMarkupDrawingContext* dc, MarkupTextPosition first, MarkupTextPosition last)
{
    LPCWSTR text = nullptr;
    int length = 0;
    if (!dc || !GetStretch(first, last, &text, &length))
        return {0, 0};
    if (!m_pFont)
        PrepareMeasure(dc);
    dc->SetFont(m_pFont);
    if (length > 0)
        return dc->GetTextExtent(text, length);
    TEXTMETRICW tm = {};
    if (!dc->GetAttributeDC() || !::GetTextMetricsW(dc->GetAttributeDC(), &tm))
        return {0, 0};
    return {0, tm.tmHeight};
}

void CWVPMarkupRun::RenderRange(CWVPMarkupDrawingContext* dc, const RECT& rect, MarkupTextPosition first,
                                MarkupTextPosition last)
{
    LPCWSTR text = nullptr;
    int length = 0;
    if (!dc || !GetStretch(first, last, &text, &length) || length == 0)
        return;
    if (!m_pFont)
        PrepareMeasure(dc);
    dc->SetFont(m_pFont);
    dc->DrawTextLine(text, length, &rect);
}

void CWVPMarkupRun::GetLogFont(LOGFONTW* font) const
{
    CWVPMarkupContext* context = GetMarkupContext();
    if (context)
        *font = context->GetDefaultFont();
    else if (::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), font) != sizeof(LOGFONTW))
        *font = LOGFONTW();
    if (CWVPMarkupObject* size = GetValue(s_pFontSizeProperty))
        font->lfHeight = -CWVPMarkupInt::ValueOf(size, 0);
    if (CWVPMarkupObject* weight = GetValue(s_pFontWeightProperty))
        font->lfWeight = CWVPMarkupEnum::ValueOf(weight, FW_NORMAL);
    if (CWVPMarkupObject* style = GetValue(s_pFontStyleProperty))
        font->lfItalic = CWVPMarkupEnum::ValueOf(style, 0) != 0;
    CWVPMarkupObject* quality = GetValue(s_pFontQualityProperty);
    if (quality && WVPOSVersionInfo().IsWinXPOrGreater())
        font->lfQuality = (BYTE)CWVPMarkupEnum::ValueOf(quality, DEFAULT_QUALITY);
    // A longer face name is cut to what the record holds.
    if (const CWVPMarkupString* family = MarkupCast<CWVPMarkupString>(GetValue(s_pFontFamilyProperty)))
        ::lstrcpynW(font->lfFaceName, family->GetText() ? family->GetText() : L"", LF_FACESIZE);
}

void CWVPMarkupRun::PrepareMeasure(CWVPMarkupDrawingContext* dc)
{
    LOGFONTW lf;
    GetLogFont(&lf);
    if (!m_pFont || !SameLogFont(m_pFont->GetDescription(), lf))
    {
        CWVPMarkupContext* context = GetMarkupContext();
        CWVPMarkupFont* font = context ? context->GetFont(lf) : new CWVPMarkupFont(nullptr, lf);
        ReleaseFont();
        m_pFont = font;
    }
    if (!dc)
        return;
    dc->SetFont(m_pFont);
    TEXTMETRICW tm = {};
    if (dc->GetAttributeDC() && ::GetTextMetricsW(dc->GetAttributeDC(), &tm))
        m_nDescent = tm.tmDescent;
}

int CWVPMarkupRun::GetBaselineOffset() const
{
    return m_nDescent;
}
