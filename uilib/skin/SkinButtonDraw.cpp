#include "uilib/skin/SkinButtonDraw.h"

#include "platform/mfc/String.h"
#include "uilib/foundation/BufferDC.h"
#include "uilib/skin/SkinDCGuards.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinSchemaNames.h"

namespace
{

// Schema states of the BUTTON class.
const int kStateNormal = 1;
const int kStateHot = 2;
const int kStatePressed = 3;
const int kStateDisabled = 4;
const int kStateDefaulted = 5;
// Checked states follow the unchecked ones, mixed states the checked ones.
const int kStateCheckedStep = 4;
// A group box has a normal and a disabled state only.
const int kStateGroupDisabled = 2;

const SIZE kDefaultGlyph = {13, 13};
// The group-box caption starts this far from the frame's left (or ends this far from its right).
const int kGroupCaptionIndent = 8;
const int kGroupCaptionRightIndent = 6;

bool IsCheckKind(int kind)
{
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}

bool IsRadioKind(int kind)
{
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

CString WindowText(HWND hWnd)
{
    CString text;
    int length = ::GetWindowTextLengthW(hWnd);
    if (length > 0)
    {
        ::GetWindowTextW(hWnd, text.GetBuffer(length + 1), length + 1);
        text.ReleaseBuffer();
    }
    return text;
}

} // namespace

CWVPSkinManagerClass* CWVPSkinButtonDraw::GetSkinClass() const
{
    return m_pManager ? m_pManager->GetSkinClass(L"BUTTON") : nullptr;
}

int CWVPSkinButtonDraw::GetButtonStyle() const
{
    if (m_nKindOverride != kNoKindOverride)
        return m_nKindOverride;
    return int(::GetWindowLongW(m_hWnd, GWL_STYLE) & BS_TYPEMASK);
}

bool CWVPSkinButtonDraw::IsPushButton() const
{
    int kind = GetButtonStyle();
    return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_OWNERDRAW ||
           (::GetWindowLongW(m_hWnd, GWL_STYLE) & BS_PUSHLIKE) != 0;
}

DWORD CWVPSkinButtonDraw::GetAlignment() const
{
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    DWORD horizontal = style & BS_CENTER;
    DWORD vertical = style & BS_VCENTER;
    if (!horizontal)
        horizontal = IsPushButton() ? BS_CENTER : BS_LEFT;
    if (!vertical)
        vertical = BS_VCENTER;
    return horizontal | vertical;
}

SIZE CWVPSkinButtonDraw::GetGlyphSize(HDC hDC, int nPart) const
{
    SIZE size = kDefaultGlyph;
    RECT rc = {0, 0, kDefaultGlyph.cx, kDefaultGlyph.cy};
    if (CWVPSkinManagerClass* cls = GetSkinClass())
        cls->GetThemePartSize(nPart, kStateNormal, &rc, CWVPSkinManagerClass::kSizeDraw, size);
    (void)hDC;
    return size;
}

int CWVPSkinButtonDraw::GetPart() const
{
    int kind = GetButtonStyle();
    if (IsPushButton())
        return kPartPushButton;
    if (IsCheckKind(kind))
        return kPartCheckBox;
    if (IsRadioKind(kind))
        return kPartRadioButton;
    if (kind == BS_GROUPBOX)
        return kPartGroupBox;
    return 0;
}

int CWVPSkinButtonDraw::GetPartState() const
{
    int kind = GetButtonStyle();
    bool enabled = ::IsWindowEnabled(m_hWnd) != FALSE;
    bool hot = m_bHot || ::GetCapture() == m_hWnd;
    LRESULT check = ::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0);
    if (IsPushButton())
    {
        if (!enabled)
            return kStateDisabled;
        if (m_bPushed)
            return kStatePressed;
        if (hot)
            return kStateHot;
        if (check == BST_CHECKED)
            return kStatePressed;
        return kind == BS_DEFPUSHBUTTON ? kStateDefaulted : kStateNormal;
    }
    if (kind == BS_GROUPBOX)
        return enabled ? kStateNormal : kStateGroupDisabled;
    int state = !enabled ? kStateDisabled : m_bPushed ? kStatePressed : hot ? kStateHot : kStateNormal;
    if (check != BST_UNCHECKED)
        state += kStateCheckedStep;
    if (check == BST_INDETERMINATE && (kind == BS_3STATE || kind == BS_AUTO3STATE))
        state += kStateCheckedStep;
    return state;
}

RECT CWVPSkinButtonDraw::CalcRect(HDC hDC, int nKind) const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const CWVPSkinManagerMetrics* metrics = m_pManager->GetMetrics();
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    bool leftText = (style & BS_LEFTTEXT) != 0;
    SIZE blank = {};
    ::GetTextExtentPoint32W(hDC, L" ", 1, &blank);
    switch (nKind)
    {
    case kRectCheckGlyph:
    case kRectRadioGlyph: {
        SIZE glyph = GetGlyphSize(hDC, nKind == kRectCheckGlyph ? kPartCheckBox : kPartRadioButton);
        int h = blank.cy;
        switch (GetAlignment() & BS_VCENTER)
        {
        case BS_TOP:
            rc.top += (h + h / 4 - glyph.cy) / 2;
            break;
        case BS_BOTTOM:
            rc.top = rc.bottom + (h + h / 4 - glyph.cy) / 2 - h - h / 4;
            break;
        default:
            rc.top = (rc.top + rc.bottom - glyph.cy) / 2;
            break;
        }
        rc.bottom = rc.top + glyph.cy;
        if (leftText)
            rc.left = rc.right - glyph.cx;
        else
            rc.right = rc.left + glyph.cx;
        break;
    }
    case kRectCheckText:
    case kRectRadioText: {
        SIZE glyph = GetGlyphSize(hDC, nKind == kRectCheckText ? kPartCheckBox : kPartRadioButton);
        if (leftText)
            rc.right -= glyph.cx + 3;
        else
            rc.left += glyph.cx + 3;
        break;
    }
    case kRectGroupCaption: {
        CString text = WindowText(m_hWnd);
        if (text.IsEmpty())
            return RECT{};
        SIZE extent = {};
        ::GetTextExtentPoint32W(hDC, text, text.GetLength(), &extent);
        int width = extent.cx + 2 * metrics->m_cxEdge;
        if ((style & BS_CENTER) == BS_RIGHT)
        {
            rc.right -= kGroupCaptionRightIndent + metrics->m_cxBorder;
            rc.left = rc.right - width;
        }
        else
        {
            rc.left += metrics->m_cxBorder + kGroupCaptionIndent;
            rc.right = rc.left + width;
        }
        rc.bottom = rc.top + extent.cy;
        break;
    }
    case kRectGroupFrame:
        rc.top += blank.cy / 2;
        break;
    case kRectPushContent:
        ::InflateRect(&rc, -metrics->m_cxEdge, -metrics->m_cyEdge);
        break;
    }
    return rc;
}

RECT CWVPSkinButtonDraw::GetTextRect(HDC hDC) const
{
    int kind = GetButtonStyle();
    if (IsPushButton())
        return CalcRect(hDC, kRectPushContent);
    if (IsCheckKind(kind))
        return CalcRect(hDC, kRectCheckText);
    if (IsRadioKind(kind))
        return CalcRect(hDC, kRectRadioText);
    if (kind == BS_GROUPBOX)
        return CalcRect(hDC, kRectGroupCaption);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

void CWVPSkinButtonDraw::OnDraw(HDC hDC, HBRUSH hBackground, bool bDirectGroupBox)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (GetButtonStyle() == BS_GROUPBOX && bDirectGroupBox)
    {
        CWVPSkinWindowFontDC font(hDC, m_hWnd);
        COLORREF oldBack = ::SetBkColor(hDC, m_pManager->GetMetrics()->GetColor(COLOR_BTNFACE));
        DrawButton(hDC, rc, hBackground);
        ::SetBkColor(hDC, oldBack);
        return;
    }
    CWVPBufferDC buffer(hDC, CRect(rc));
    ::FillRect(buffer.GetSafeHdc(), &rc, hBackground);
    CWVPSkinWindowFontDC font(buffer.GetSafeHdc(), m_hWnd);
    ::SetBkMode(buffer.GetSafeHdc(), TRANSPARENT);
    DrawButton(buffer.GetSafeHdc(), rc, hBackground);
}

void CWVPSkinButtonDraw::DrawButton(HDC hDC, const RECT& rc, HBRUSH hBackground)
{
    const CWVPSkinManagerMetrics* metrics = m_pManager->GetMetrics();
    CWVPSkinManagerClass* cls = GetSkinClass();
    int part = GetPart();
    int state = GetPartState();
    COLORREF text = metrics->GetColor(COLOR_BTNTEXT);
    if (cls && part)
    {
        // A skin without a text colour for the part keeps the button-text colour.
        text = cls->GetThemeColor(part, state, kSkinPropTextColor, text);
        RECT partRect = rc;
        switch (part)
        {
        case kPartCheckBox:
            partRect = CalcRect(hDC, kRectCheckGlyph);
            break;
        case kPartRadioButton:
            partRect = CalcRect(hDC, kRectRadioGlyph);
            break;
        case kPartGroupBox:
            partRect = CalcRect(hDC, kRectGroupFrame);
            break;
        }
        cls->DrawThemeBackground(hDC, part, state, &partRect);
        if (part == kPartGroupBox)
        {
            // The frame line stops under the caption.
            RECT caption = CalcRect(hDC, kRectGroupCaption);
            if (!::IsRectEmpty(&caption))
                ::FillRect(hDC, &caption, hBackground);
        }
    }
    ::SetTextColor(hDC, text);
    DrawButtonText(hDC);
}

void CWVPSkinButtonDraw::DrawButtonText(HDC hDC)
{
    const CWVPSkinManagerMetrics* metrics = m_pManager->GetMetrics();
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    int kind = GetButtonStyle();
    bool push = IsPushButton();
    bool multiLine = (style & BS_MULTILINE) != 0;
    RECT content = GetTextRect(hDC);
    RECT textRect = content;
    CString text = WindowText(m_hWnd);

    SIZE size = {};
    HANDLE image = nullptr;
    UINT imageType = 0;
    UINT format = multiLine ? (DT_WORDBREAK | DT_NOCLIP | DT_EDITCONTROL) : (DT_SINGLELINE | DT_NOCLIP);
    if (style & BS_BITMAP)
    {
        image = reinterpret_cast<HANDLE>(::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP bm = {};
        if (!image || !::GetObjectW(image, sizeof(bm), &bm))
            return;
        size = {bm.bmWidth, bm.bmHeight};
        imageType = DST_BITMAP;
    }
    else if (style & BS_ICON)
    {
        image = reinterpret_cast<HANDLE>(::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0));
        if (!image)
            return;
        int cx = 0, cy = 0;
        WVPSkinGetIconSize(static_cast<HICON>(image), &cx, &cy);
        size = {cx, cy};
        imageType = DST_ICON;
    }
    else
    {
        if (text.IsEmpty())
            return;
        RECT measure = {0, 0, content.right - content.left, 0};
        ::DrawTextW(hDC, text, text.GetLength(), &measure, format | DT_CALCRECT);
        size = {measure.right - measure.left, measure.bottom - measure.top};
    }
    if (push && !multiLine)
        ::InflateRect(&textRect, -metrics->m_cxBorder, -metrics->m_cyBorder);

    int pushX = push ? metrics->m_cxBorder : 0;
    int pushY = push ? metrics->m_cyBorder : 0;
    DWORD alignment = GetAlignment();
    int x, y;
    switch (alignment & BS_CENTER)
    {
    case BS_LEFT:
        x = content.left + pushX;
        break;
    case BS_RIGHT:
        format |= DT_RIGHT;
        x = content.right - size.cx - pushX;
        break;
    default:
        format |= DT_CENTER;
        x = (content.left + content.right - size.cx) / 2;
        break;
    }
    switch (alignment & BS_VCENTER)
    {
    case BS_TOP:
        y = content.top + pushY;
        break;
    case BS_BOTTOM:
        format |= DT_BOTTOM;
        y = content.bottom - size.cy - pushY;
        break;
    default:
        format |= DT_VCENTER;
        y = (content.top + content.bottom - size.cy) / 2;
        break;
    }

    LRESULT uiState = ::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0);
    if (imageType)
        ::DrawStateW(hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(image), 0, x, y, size.cx, size.cy, imageType);
    else if (kind != BS_USERBUTTON)
    {
        if (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_RTLREADING)
            format |= DT_RTLREADING;
        if (uiState & UISF_HIDEACCEL)
            format |= DT_HIDEPREFIX;
        RECT target = multiLine ? RECT{x, y, x + size.cx, y + size.cy} : textRect;
        ::DrawTextW(hDC, text, text.GetLength(), &target, format);
    }

    if (::GetFocus() != m_hWnd || (uiState & UISF_HIDEFOCUS))
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    RECT focus;
    if (push)
    {
        focus = content;
        ::InflateRect(&focus, -metrics->m_cxBorder, -metrics->m_cyBorder);
    }
    else if (kind == BS_USERBUTTON)
        focus = client;
    else
    {
        focus.top = y - metrics->m_cyBorder;
        focus.top = focus.top < client.top ? client.top : focus.top;
        focus.bottom = focus.top + metrics->m_cyEdge + size.cy;
        focus.bottom = focus.bottom > client.bottom ? client.bottom : focus.bottom;
        focus.left = x - metrics->m_cxBorder;
        focus.left = focus.left < client.left ? client.left : focus.left;
        focus.right = focus.left + metrics->m_cxEdge + size.cx;
        focus.right = focus.right > client.right ? client.right : focus.right;
    }
    COLORREF oldText = ::SetTextColor(hDC, RGB(0, 0, 0));
    COLORREF oldBack = ::SetBkColor(hDC, RGB(255, 255, 255));
    ::DrawFocusRect(hDC, &focus);
    ::SetTextColor(hDC, oldText);
    ::SetBkColor(hDC, oldBack);
}
