#include "uilib/controls/Button.h"

#include "uilib/controls/ButtonTheme.h"
#include "uilib/foundation/BitmapHandle.h"
#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"

#include <memory>

namespace
{
// The rightmost part of a split button that drops its menu down: the border gap plus this.
const int kSplitPartExtra = 16;
const DWORD kHorzAlignMask = BS_LEFT | BS_RIGHT | BS_CENTER;
const DWORD kVertAlignMask = BS_TOP | BS_BOTTOM | BS_VCENTER;

// Restores WS_VISIBLE when the scope ends.
class HiddenScope
{
  public:
    explicit HiddenScope(HWND hWnd) : m_hWnd(hWnd), m_bVisible(::GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE)
    {
        if (m_bVisible)
            ::SetWindowLongW(m_hWnd, GWL_STYLE, ::GetWindowLongW(m_hWnd, GWL_STYLE) & ~WS_VISIBLE);
    }
    ~HiddenScope()
    {
        if (m_bVisible)
            ::SetWindowLongW(m_hWnd, GWL_STYLE, ::GetWindowLongW(m_hWnd, GWL_STYLE) | WS_VISIBLE);
    }
    HiddenScope(const HiddenScope&) = delete;
    HiddenScope& operator=(const HiddenScope&) = delete;

  private:
    HWND m_hWnd;
    bool m_bVisible;
};
} // namespace

IMPLEMENT_DYNAMIC(CWVPButton, CButton)

CWVPButton::CWVPButton()
    : m_nChecked(0), m_bFlat(FALSE), m_bUseVisualStyle(TRUE), m_dwImageAlignment(BS_CENTER | BS_VCENTER),
      m_nBorderGap(4), m_nPushButtonStyle(pushNormal), m_nImageGap(3), m_nImageTextRelation(relationImageBeforeText),
      m_nGroupBoxStyle(groupFrame), m_bShowFocus(TRUE), m_nPushed(0), m_bHot(FALSE), m_pTheme(new CWVPButtonTheme),
      m_pIcon(nullptr)
{
    m_pTheme->RefreshMetrics(this);
}

CWVPButton::~CWVPButton()
{
    delete m_pIcon;
    delete m_pTheme;
}

BOOL CWVPButton::IsPushLike() const
{
    const UINT nType = GetButtonType();
    return nType == BS_PUSHBUTTON || nType == BS_DEFPUSHBUTTON || nType == BS_OWNERDRAW || (GetStyle() & BS_PUSHLIKE);
}

int CWVPButton::IsPushed() const
{
    return m_nPushed;
}

BOOL CWVPButton::IsHighlighted() const
{
    return m_bHot || (m_hWnd && ::GetCapture() == m_hWnd);
}

int CWVPButton::GetChecked() const
{
    return IsPushLike() ? m_nChecked : static_cast<int>(SendMessage(BM_GETCHECK));
}

DWORD CWVPButton::GetTextAlignment() const
{
    const DWORD dwStyle = GetStyle();
    DWORD dwHorz = dwStyle & kHorzAlignMask;
    DWORD dwVert = dwStyle & kVertAlignMask;
    if (!dwHorz)
        dwHorz = IsPushLike() ? BS_CENTER : BS_LEFT;
    if (!dwVert)
        dwVert = BS_VCENTER;
    return dwHorz | dwVert;
}

DWORD CWVPButton::GetImageAlignment() const
{
    return m_dwImageAlignment;
}

CSize CWVPButton::GetImageSize() const
{
    return m_pIcon ? CSize(m_pIcon->GetWidth(), m_pIcon->GetHeight()) : CSize(0, 0);
}

void CWVPButton::DrawImage(CDC* pDC, const CRect& rc)
{
    if (!m_pIcon)
        return;
    int nState = wvpImageNormal;
    if (!IsWindowEnabled())
        nState = wvpImageDisabled;
    else if (m_bHot || GetChecked() || IsPushed())
        nState = GetChecked() ? wvpImageChecked : IsPushed() ? wvpImagePressed : wvpImageHot;
    m_pIcon->DrawImage(pDC->m_hDC, rc.TopLeft(), m_pIcon->GetIcon(nState), GetImageSize());
}

void CWVPButton::SetButtonIcon(CWVPImageManagerIcon* pIcon, BOOL bRedraw)
{
    delete m_pIcon;
    m_pIcon = pIcon;
    if (bRedraw && m_hWnd)
        Invalidate(FALSE);
}

BOOL CWVPButton::SetIcon(CSize size, HICON hIcon, HICON hIconHot, BOOL bRedraw)
{
    if (!hIcon)
        return FALSE;
    CWVPImageManagerIconImage normal;
    normal.SetIcon(::CopyIcon(hIcon));
    if (normal.IsEmpty())
        return FALSE;
    if (size.cx == 0 || size.cy == 0)
        size = normal.GetExtent();
    auto pIcon = std::make_unique<CWVPImageManagerIcon>(nullptr, 0, size.cx);
    pIcon->SetNormalIcon(normal);
    if (hIconHot)
    {
        CWVPImageManagerIconImage hot;
        hot.SetIcon(::CopyIcon(hIconHot));
        pIcon->SetHotIcon(hot);
    }
    SetButtonIcon(pIcon.release(), bRedraw);
    return TRUE;
}

BOOL CWVPButton::SetIcon(CSize size, LPCWSTR lpszNormal, LPCWSTR lpszHot, BOOL bRedraw)
{
    HINSTANCE hInstance = AfxGetResourceHandle();
    auto load = [&](LPCWSTR name) {
        return name ? static_cast<HICON>(::LoadImageW(hInstance, name, IMAGE_ICON, size.cx, size.cy, 0)) : nullptr;
    };
    HICON hNormal = load(lpszNormal);
    HICON hHot = load(lpszHot);
    const BOOL bResult = SetIcon(size, hNormal, hHot, bRedraw);
    if (hNormal)
        ::DestroyIcon(hNormal);
    if (hHot)
        ::DestroyIcon(hHot);
    return bResult;
}

BOOL CWVPButton::SetIcon(CSize size, UINT nNormalId, UINT nHotId, BOOL bRedraw)
{
    return SetIcon(size, MAKEINTRESOURCEW(nNormalId), nHotId ? MAKEINTRESOURCEW(nHotId) : nullptr, bRedraw);
}

BOOL CWVPButton::SetBitmap(CSize size, UINT nId)
{
    BOOL bAlpha = FALSE;
    HBITMAP hBitmap = CWVPImageManager::LoadBitmapResourceDefault(MAKEINTRESOURCEW(nId), &bAlpha);
    if (!hBitmap)
        return FALSE;
    CWVPImageManagerIconImage image;
    if (bAlpha)
        image.SetBitmap(hBitmap);
    else
    {
        image.SetIcon(CWVPBitmapHandle(hBitmap).CreateIcon());
        ::DeleteObject(hBitmap);
    }
    if (image.IsEmpty())
        return FALSE;
    if (size.cx == 0 || size.cy == 0)
        size = image.GetExtent();
    auto pIcon = std::make_unique<CWVPImageManagerIcon>(nullptr, 0, size.cx);
    pIcon->SetNormalIcon(image);
    SetButtonIcon(pIcon.release(), TRUE);
    return TRUE;
}

CString CWVPButton::GetButtonText()
{
    CString text;
    GetWindowText(text);
    return text;
}

COLORREF CWVPButton::GetTextColor()
{
    return ::GetSysColor(COLOR_BTNTEXT);
}

COLORREF CWVPButton::GetBackColor()
{
    return ::GetSysColor(COLOR_BTNFACE);
}

void CWVPButton::NotifyClick()
{
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent)
        ::SendMessageW(hParent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), kDropDownCode),
                       reinterpret_cast<LPARAM>(m_hWnd));
}

void CWVPButton::OnDraw(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (GetButtonType() == BS_GROUPBOX)
    {
        CWVPFontDC font(pDC, CFont::FromHandle(hFont));
        pDC->SetBkColor(::GetSysColor(COLOR_BTNFACE));
        pDC->SetBkMode(TRANSPARENT);
        DrawButton(pDC);
        return;
    }
    CWVPBufferDC dc(pDC->m_hDC, rcClient);
    HWND hParent = ::GetParent(m_hWnd);
    HBRUSH hBrush =
        hParent ? reinterpret_cast<HBRUSH>(::SendMessageW(hParent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.m_hDC),
                                                          reinterpret_cast<LPARAM>(m_hWnd)))
                : nullptr;
    if (hBrush)
        ::FillRect(dc.m_hDC, &rcClient, hBrush);
    else
        dc.FillSolidRect(&rcClient, ::GetSysColor(COLOR_BTNFACE));
    CWVPFontDC font(&dc, CFont::FromHandle(hFont));
    dc.SetBkMode(TRANSPARENT);
    DrawButton(&dc);
}

void CWVPButton::UpdateMarkupText()
{
}

void CWVPButton::DrawButton(CDC* pDC)
{
    if (IsPushLike())
    {
        m_pTheme->DrawButtonBackground(pDC, this);
        m_pTheme->DrawPushContent(pDC, this);
        if (m_nPushButtonStyle != pushNormal)
            m_pTheme->DrawDropDownArrow(pDC, this);
        if (::GetFocus() == m_hWnd && m_bShowFocus)
            m_pTheme->DrawPushFocus(pDC, this);
        return;
    }
    switch (GetButtonType())
    {
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        m_pTheme->DrawRadioMark(pDC, this);
        break;
    case BS_GROUPBOX:
        if (m_nGroupBoxStyle == groupNone)
            return;
        m_pTheme->DrawGroupBox(pDC, this);
        break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        m_pTheme->DrawCheckMark(pDC, this);
        break;
    default:
        return; // BS_USERBUTTON and the types the button does not draw
    }
    m_pTheme->DrawCheckText(pDC, this);
}

void CWVPButton::DropDownClick()
{
    m_nPushed = 2;
    Invalidate(FALSE);
    NotifyClick();
    m_nPushed = 0;
    Invalidate(FALSE);
}

void CWVPButton::OnMouseMove(CPoint point)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    const BOOL bHot = rcClient.PtInRect(point);
    if (bHot == m_bHot)
        return;
    m_bHot = bHot;
    Invalidate(FALSE);
    if (m_bHot)
    {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
}

BOOL CWVPButton::IsDropDownKey(UINT nKey, bool) const
{
    const bool bDropDown = m_nPushButtonStyle >= pushDropDown && m_nPushButtonStyle <= pushSplitDropDown;
    const bool bArrowDown = m_nPushButtonStyle == pushDropDown || m_nPushButtonStyle == pushDropDownRight;
    return (nKey == VK_SPACE && bDropDown) || (nKey == VK_RETURN && bArrowDown);
}

LRESULT CWVPButton::DefaultHidden(UINT message, WPARAM wParam, LPARAM lParam)
{
    HiddenScope hidden(m_hWnd);
    return CButton::WindowProc(message, wParam, lParam);
}

LRESULT CWVPButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT: {
        if (wParam)
        {
            OnDraw(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
            return 0;
        }
        CPaintDC dc(this);
        OnDraw(&dc);
        return 0;
    }
    case WM_PRINTCLIENT:
        if (!(lParam & PRF_CLIENT))
            break;
        OnDraw(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        return 1;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_MOUSEMOVE:
        if (GetButtonType() == BS_GROUPBOX)
            return 0;
        {
            const LRESULT result = CButton::WindowProc(message, wParam, lParam);
            OnMouseMove(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
            return result;
        }
    case WM_MOUSELEAVE:
        OnMouseMove(CPoint(-1, -1));
        return 0;
    case WM_LBUTTONDOWN:
        if (m_nPushButtonStyle == pushSplitDropDown)
        {
            CRect rcClient;
            GetClientRect(&rcClient);
            if (static_cast<short>(LOWORD(lParam)) >= rcClient.right - m_nBorderGap - kSplitPartExtra)
            {
                DropDownClick();
                return 0;
            }
        }
        break;
    case WM_KEYDOWN:
        if (IsDropDownKey(static_cast<UINT>(wParam), true))
            return 0;
        break;
    case WM_CHAR:
        if (IsDropDownKey(static_cast<UINT>(wParam), false))
        {
            DropDownClick();
            return 0;
        }
        break;
    case WM_GETDLGCODE: {
        LRESULT codes = CButton::WindowProc(message, wParam, lParam);
        const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
        if (pMsg && pMsg->message == WM_CHAR && pMsg->wParam == VK_SPACE && IsDropDownKey(VK_SPACE, false))
            codes |= DLGC_WANTCHARS;
        if (pMsg && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_CHAR) && pMsg->wParam == VK_RETURN &&
            IsDropDownKey(VK_RETURN, false))
            codes |= DLGC_WANTMESSAGE;
        return codes;
    }
    case BM_SETSTATE: {
        if (m_nPushed == 2)
            return 0;
        const LRESULT result = DefaultHidden(message, wParam, lParam);
        const int nWasPushed = m_nPushed;
        m_nPushed = wParam ? 1 : 0;
        Invalidate(FALSE);
        if (m_nPushed && !nWasPushed && IsPushLike() &&
            (m_nPushButtonStyle == pushDropDown || m_nPushButtonStyle == pushDropDownRight))
            DropDownClick();
        return result;
    }
    case BM_SETCHECK:
        if (IsPushLike())
            m_nChecked = static_cast<int>(wParam);
        {
            const LRESULT result = DefaultHidden(message, wParam, lParam);
            Invalidate(FALSE);
            return result;
        }
    case BM_SETSTYLE:
    case WM_CAPTURECHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_UPDATEUISTATE: {
        const LRESULT result = CButton::WindowProc(message, wParam, lParam);
        Invalidate(FALSE);
        return result;
    }
    case WM_SETTEXT: {
        const LRESULT result = DefaultHidden(message, wParam, lParam);
        UpdateMarkupText();
        Invalidate(FALSE);
        return result;
    }
    case WM_SYSCOLORCHANGE: {
        const LRESULT result = CButton::WindowProc(message, wParam, lParam);
        m_pTheme->RefreshMetrics(this);
        Invalidate(FALSE);
        SendMessageToDescendants(WM_SYSCOLORCHANGE, wParam, lParam);
        return result;
    }
    default:
        break;
    }
    return CButton::WindowProc(message, wParam, lParam);
}
