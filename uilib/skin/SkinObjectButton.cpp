#include "uilib/skin/SkinObjectButton.h"

#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectPaintDC.h"

#include <commctrl.h>

namespace
{

// Takes WS_VISIBLE off the window while alive, so that the system's own drawing of the message in
// between paints nothing; the style is put back as it was.
class HiddenStyleGuard
{
  public:
    explicit HiddenStyleGuard(HWND hWnd) : m_hWnd(hWnd)
    {
        m_bWasVisible = (::GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
        if (m_bWasVisible)
            ::SetWindowLongW(hWnd, GWL_STYLE, ::GetWindowLongW(hWnd, GWL_STYLE) & ~WS_VISIBLE);
    }
    ~HiddenStyleGuard()
    {
        if (m_bWasVisible && ::IsWindow(m_hWnd))
            ::SetWindowLongW(m_hWnd, GWL_STYLE, ::GetWindowLongW(m_hWnd, GWL_STYLE) | WS_VISIBLE);
    }
    HiddenStyleGuard(const HiddenStyleGuard&) = delete;
    HiddenStyleGuard& operator=(const HiddenStyleGuard&) = delete;

  private:
    HWND m_hWnd;
    bool m_bWasVisible;
};

bool IsCtlColorMessage(int nMessage)
{
    return nMessage >= WM_CTLCOLORMSGBOX && nMessage <= WM_CTLCOLORSTATIC;
}

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectButton, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectButton, CWVPSkinObjectFrame)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
ON_MESSAGE(BM_SETSTATE, OnSetState)
ON_MESSAGE(BM_SETCHECK, OnSetCheck)
ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_MESSAGE(WM_ENABLE, OnEnable)
ON_MESSAGE(WM_UPDATEUISTATE, OnUpdateUIState)
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

CWVPSkinObjectButton::CWVPSkinObjectButton()
{
    m_strClassName = L"BUTTON";
    m_nCtlColorMessage = WM_CTLCOLORBTN;
}

CWVPSkinObjectButton::~CWVPSkinObjectButton()
{
}

bool CWVPSkinObjectButton::IsSkinnedKind() const
{
    return MakeDraw().GetButtonStyle() <= CWVPSkinButtonDraw::kLastSkinnedKind;
}

CWVPSkinButtonDraw CWVPSkinObjectButton::MakeDraw() const
{
    CWVPSkinButtonDraw draw(m_hWnd, m_pManager);
    draw.m_bHot = m_bHot;
    draw.m_bPushed = m_bPushed;
    draw.m_nKindOverride = m_nKindOverride;
    return draw;
}

void CWVPSkinObjectButton::Invalidate()
{
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT CWVPSkinObjectButton::DefaultThenInvalidate(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(nMessage, wParam, lParam);
    Invalidate();
    return result;
}

void CWVPSkinObjectButton::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    CWVPSkinObjectFrame::OnSkinChanged(bPrevState, bNewState);
    m_bHot = false;
    m_bPushed = false;
}

BOOL CWVPSkinObjectButton::IsDefWindowProcAvail(int nMessage) const
{
    if (nMessage == WM_TIMER)
        return FALSE;
    if (m_bNoSubclass && !IsCtlColorMessage(nMessage))
        return FALSE;
    return CWVPSkinObjectFrame::IsDefWindowProcAvail(nMessage);
}

BOOL CWVPSkinObjectButton::OnHookMessage(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (!IsSkinnedKind())
        return FALSE;
    return CWVPSkinObjectFrame::OnHookMessage(nMessage, wParam, lParam, lResult);
}

BOOL CWVPSkinObjectButton::OnHookDefWindowProc(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (!IsSkinnedKind())
        return FALSE;
    if ((nMessage == WM_PAINT || nMessage == WM_PRINTCLIENT) && wParam)
    {
        OnDraw(reinterpret_cast<HDC>(wParam));
        lResult = nMessage == WM_PRINTCLIENT;
        return TRUE;
    }
    return CWVPSkinObjectFrame::OnHookDefWindowProc(nMessage, wParam, lParam, lResult);
}

void CWVPSkinObjectButton::OnDraw(HDC hDC)
{
    // Windows Forms group boxes paint their own background under ours, so they go through the buffer.
    MakeDraw().OnDraw(hDC, GetClientBrush(hDC), !m_bNoSubclass);
}

void CWVPSkinObjectButton::DrawButton(HDC hDC, const RECT& rc)
{
    MakeDraw().DrawButton(hDC, rc, GetClientBrush(hDC));
}

LRESULT CWVPSkinObjectButton::OnPaint(WPARAM wParam, LPARAM)
{
    CWVPSkinObjectPaintDC dc(m_hWnd, wParam);
    OnDraw(dc.GetSafeHdc());
    return 0;
}

LRESULT CWVPSkinObjectButton::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (!(lParam & PRF_CLIENT))
        return DefWindowProc(WM_PRINTCLIENT, wParam, lParam);
    OnDraw(reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CWVPSkinObjectButton::OnEraseBkgnd(WPARAM, LPARAM)
{
    return TRUE;
}

LRESULT CWVPSkinObjectButton::OnCreate(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_CREATE, wParam, lParam);
    Invalidate();
    // A creation the button refused stays refused.
    return result == -1 ? -1 : 0;
}

void CWVPSkinObjectButton::SetHot(bool bHot)
{
    if (bHot == m_bHot)
        return;
    m_bHot = bHot;
    Invalidate();
    if (m_bHot)
    {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::_TrackMouseEvent(&tme);
    }
}

LRESULT CWVPSkinObjectButton::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (MakeDraw().GetButtonStyle() == BS_GROUPBOX)
        return 0;
    LRESULT result = DefWindowProc(WM_MOUSEMOVE, wParam, lParam);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    SetHot(::PtInRect(&rc, pt) != FALSE);
    return result;
}

LRESULT CWVPSkinObjectButton::OnMouseLeave(WPARAM wParam, LPARAM)
{
    return OnMouseMove(wParam, MAKELPARAM(-1, -1));
}

LRESULT CWVPSkinObjectButton::OnSetFocus(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(WM_SETFOCUS, wParam, lParam);
}

LRESULT CWVPSkinObjectButton::OnKillFocus(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(WM_KILLFOCUS, wParam, lParam);
}

LRESULT CWVPSkinObjectButton::OnSetState(WPARAM wParam, LPARAM lParam)
{
    {
        HiddenStyleGuard hidden(m_hWnd);
        DefWindowProc(BM_SETSTATE, wParam, lParam);
    }
    m_bPushed = wParam != 0;
    Invalidate();
    return 0;
}

LRESULT CWVPSkinObjectButton::OnSetCheck(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(BM_SETCHECK, wParam, lParam);
}

LRESULT CWVPSkinObjectButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(BM_SETSTYLE, wParam, lParam);
}

LRESULT CWVPSkinObjectButton::OnCaptureChanged(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(WM_CAPTURECHANGED, wParam, lParam);
}

LRESULT CWVPSkinObjectButton::OnEnable(WPARAM, LPARAM)
{
    Invalidate();
    return 0;
}

LRESULT CWVPSkinObjectButton::OnUpdateUIState(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = ::DefWindowProcW(m_hWnd, WM_UPDATEUISTATE, wParam, lParam);
    Invalidate();
    return result;
}

LRESULT CWVPSkinObjectButton::OnSetText(WPARAM wParam, LPARAM lParam)
{
    LRESULT result;
    {
        HiddenStyleGuard hidden(m_hWnd);
        result = DefWindowProc(WM_SETTEXT, wParam, lParam);
    }
    Invalidate();
    return result;
}
