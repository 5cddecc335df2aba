#include "uilib/controls/ToolTipContext.h"

#include "uilib/foundation/ModuleHandle.h"

// Skeleton: the message filter and the tooltip window handling are still to come.

LRESULT CWVPToolTipContext::CStandardToolTip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CToolTipCtrl::WindowProc(message, wParam, lParam);
}

CWVPToolTipContext::CWVPToolTipContext()
    : m_bShowTitleAndDescription(FALSE), m_bShowImage(FALSE), m_nImageWidth(1), m_nImageBase(0), m_nStyle(0),
      m_dwComCtlVersion(WVPGetComCtlVersion()), m_nTitleIcon(1), m_nMaxTipWidth(::GetSystemMetrics(SM_CXSCREEN) / 2),
      m_dwStyleFlags(TTS_NOPREFIX), m_rcMargin(), m_nInitialDelay(-1), m_nReshowDelay(-1), m_nAutoPopDelay(-1),
      m_pToolTip(nullptr), m_lastInfo(), m_clrTipBack(CLR_NONE), m_clrTipText(CLR_NONE)
{
}

CWVPToolTipContext::~CWVPToolTipContext()
{
    DestroyToolTip();
}

BOOL CWVPToolTipContext::SetStyle(int style)
{
    if (style == m_nStyle)
        return FALSE;
    m_nStyle = style;
    DestroyToolTip();
    return TRUE;
}

void CWVPToolTipContext::SetStyleFlags(DWORD mask, DWORD value)
{
    m_dwStyleFlags = value | (m_dwStyleFlags & ~mask);
}

COLORREF CWVPToolTipContext::GetTipBkColor() const
{
    return m_clrTipBack == CLR_NONE ? ::GetSysColor(COLOR_INFOBK) : m_clrTipBack;
}

COLORREF CWVPToolTipContext::GetTipTextColor() const
{
    return m_clrTipText == CLR_NONE ? ::GetSysColor(COLOR_INFOTEXT) : m_clrTipText;
}

void CWVPToolTipContext::RelayToolTipMessage(CWnd*, UINT, WPARAM, LPARAM)
{
}

void CWVPToolTipContext::FilterToolTipMessage(CWnd*, MSG*)
{
}

void CWVPToolTipContext::CancelToolTips()
{
}

void CWVPToolTipContext::InitToolInfo(TOOLINFOW*, HWND, int, int, int, int, INT_PTR, LPCWSTR)
{
}

void CWVPToolTipContext::InitToolInfoEx(TOOLINFOW*, HWND, const RECT&, INT_PTR, LPCWSTR, LPCWSTR, LPCWSTR,
                                        CWVPImageManager*)
{
}

HWND CWVPToolTipContext::WindowFromPoint(POINT point)
{
    return ::WindowFromPoint(point);
}

CWnd* CWVPToolTipContext::CreateToolTip(CWnd*)
{
    return nullptr;
}

INT_PTR CWVPToolTipContext::OnToolHitTest(CWnd* owner, CPoint point, TOOLINFOW* info)
{
    return owner ? owner->OnToolHitTest(point, info) : -1;
}

void CWVPToolTipContext::DestroyToolTip()
{
    delete m_pToolTip;
    m_pToolTip = nullptr;
}
