#include "uilib/commandbars/DockContext.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/CommandBarManagerOptions.h"
#include "uilib/commandbars/DockBar.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/ToolBar.h"
#include "uilib/foundation/CaptureLoop.h"
#include "uilib/foundation/MonitorHelper.h"

namespace
{
const DWORD kFloatingLayout = LM_HORZ | LM_MRUWIDTH | LM_COMMIT;
const DWORD kResizeWidth = LM_HORZ | LM_COMMIT;
const DWORD kResizeHeight = LM_HORZ | LM_LENGTHY | LM_COMMIT;
const CSize kInitialFloatingSize(100, 100);

// Offsets the rectangle by the least that brings the point onto it.
void BringPointInto(CRect& rc, CPoint pt)
{
    if (pt.x < rc.left)
        rc.OffsetRect(pt.x - rc.left, 0);
    else if (pt.x > rc.right)
        rc.OffsetRect(pt.x - rc.right, 0);
    if (pt.y < rc.top)
        rc.OffsetRect(0, pt.y - rc.top);
    else if (pt.y > rc.bottom)
        rc.OffsetRect(0, pt.y - rc.bottom);
}

DWORD DockFlagOf(int position)
{
    return DWORD(1) << position;
}
} // namespace

// The drag's message loop: moves or resizes on every new pointer position, stops on button-up or
// Escape, drops other keys.
class CWVPDockContextLoop : public CWVPCaptureLoop
{
  public:
    CWVPDockContextLoop(CWVPDockContext* context, HWND hwnd) : CWVPCaptureLoop(hwnd), m_pContext(context)
    {
    }

  protected:
    BOOL OnMessage(MSG& msg) override
    {
        BOOL handled = TRUE;
        switch (msg.message)
        {
        case WM_LBUTTONUP:
            Stop();
            break;
        case WM_MOUSEMOVE:
        {
            CPoint pt;
            ::GetCursorPos(&pt);
            if (pt == m_pContext->m_ptLast)
                handled = FALSE;
            else if (m_pContext->m_nDragMode == WVP_DRAG_MOVE)
                m_pContext->OnMove(pt);
            else
                m_pContext->OnResize(pt);
            break;
        }
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
                Stop();
            break;
        case WM_KEYUP:
        case WM_CHAR:
            break;
        default:
            handled = FALSE;
            break;
        }
        if (CWVPCommandBarManager* manager = m_pContext->m_pBar->GetCommandBars())
            manager->RecalcFrameLayout();
        return handled;
    }

  private:
    CWVPDockContext* m_pContext;
};

CWVPDockContext::CWVPDockContext(CWVPToolBar* pBar)
    : m_nLastDockIndex(wvpBarTop), m_rcLastDocked(0, 0, 0, 0), m_ptFloating(0, 0), m_szFloating(kInitialFloatingSize),
      m_pBar(pBar), m_nDragMode(0), m_ptLast(0, 0), m_rcDockTest(0, 0, 0, 0), m_rcDrag(0, 0, 0, 0)
{
}

void CWVPDockContext::StartDrag(CPoint pt)
{
    const int lastIndex = m_nLastDockIndex;
    const CRect lastDocked = m_rcLastDocked;
    m_nDragMode = WVP_DRAG_MOVE;
    const BOOL wasFloating = m_pBar->IsFloating();
    CRect rc;
    m_pBar->GetWindowRect(&rc);
    BringPointInto(rc, pt);
    m_rcDockTest = m_rcDrag = rc;
    m_ptLast = pt;
    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
    CWVPMouseManager* mouse = WVPMouseManager();
    ++mouse->m_nLock;
    Track();
    --mouse->m_nLock;
    if (!m_pBar->IsFloating())
        return;
    m_ptFloating = m_rcDrag.TopLeft();
    if (!wasFloating)
    {
        m_nLastDockIndex = lastIndex;
        m_rcLastDocked = lastDocked;
    }
}

void CWVPDockContext::StartResize(int hitTest, CPoint pt)
{
    m_nDragMode = hitTest;
    m_ptLast = pt;
    m_pBar->GetWindowRect(&m_rcDrag);
    Track();
    if (!m_pBar->IsFloating())
        return;
    CRect rc;
    m_pBar->GetWindowRect(&rc);
    m_ptFloating = rc.TopLeft();
    m_pBar->m_nMRUFloatWidth = rc.Width();
}

void CWVPDockContext::KeepInWorkArea(CRect& rc, const CRect& workArea)
{
    if (rc.right < workArea.left + WVP_FLOAT_KEEP_VISIBLE)
        rc.OffsetRect(workArea.left + WVP_FLOAT_KEEP_VISIBLE - rc.right, 0);
    if (rc.left > workArea.right - WVP_FLOAT_KEEP_VISIBLE)
        rc.OffsetRect(workArea.right - WVP_FLOAT_KEEP_VISIBLE - rc.left, 0);
    if (rc.bottom < workArea.top + WVP_FLOAT_KEEP_VISIBLE)
        rc.OffsetRect(0, workArea.top + WVP_FLOAT_KEEP_VISIBLE - rc.bottom);
    if (rc.top > workArea.bottom - WVP_FLOAT_KEEP_VISIBLE)
        rc.OffsetRect(0, workArea.bottom - WVP_FLOAT_KEEP_VISIBLE - rc.top);
}

void CWVPDockContext::OnMove(CPoint pt)
{
    CWVPCommandBarManager* manager = m_pBar->GetCommandBars();
    if (!manager)
        return;
    const CSize delta = pt - m_ptLast;
    m_rcDrag.OffsetRect(delta);
    m_rcDockTest.OffsetRect(delta);
    CWVPDockBar* pDockBar = manager->CanDock(pt, m_pBar->GetDockBar());
    const DWORD flags = m_pBar->GetFlags();
    if (pDockBar && (flags & DockFlagOf(pDockBar->GetPosition())))
    {
        const BOOL changed = pDockBar != m_pBar->GetDockBar();
        manager->DockCommandBar(m_pBar, &m_rcDockTest, pDockBar);
        if (changed)
        {
            manager->RecalcFrameLayoutNow();
            m_pBar->GetWindowRect(&m_rcDockTest);
        }
    }
    else if (flags & WVP_BARFLAG_FLOATING)
    {
        if (!m_pBar->IsFloating())
        {
            manager->FloatCommandBar(m_pBar);
            const CSize size = m_pBar->CalcDynamicLayout(0, kFloatingLayout);
            m_rcDrag = CRect(m_rcDrag.TopLeft(), size);
            BringPointInto(m_rcDrag, pt);
        }
        KeepInWorkArea(m_rcDrag, WVPMonitorHelper().GetWorkAreaAtCursor());
        m_pBar->MoveWindow(&m_rcDrag, TRUE);
    }
    m_ptLast = pt;
}

void CWVPDockContext::OnResize(CPoint pt)
{
    const CSize delta = pt - m_ptLast;
    int length;
    DWORD mode;
    switch (m_nDragMode)
    {
    case HTLEFT:
        m_rcDrag.left += delta.cx;
        length = m_rcDrag.Width(), mode = kResizeWidth;
        break;
    case HTRIGHT:
        m_rcDrag.right += delta.cx;
        length = m_rcDrag.Width(), mode = kResizeWidth;
        break;
    case HTTOP:
        m_rcDrag.top += delta.cy;
        length = m_rcDrag.Height(), mode = kResizeHeight;
        break;
    case HTBOTTOM:
        m_rcDrag.bottom += delta.cy;
        length = m_rcDrag.Height(), mode = kResizeHeight;
        break;
    default:
        m_ptLast = pt;
        return;
    }
    const CSize size = m_pBar->CalcDynamicLayout(length > 0 ? length : 0, mode);
    CRect rcWindow;
    m_pBar->GetWindowRect(&rcWindow);
    if (size == rcWindow.Size())
    {
        m_ptLast = pt;
        return;
    }
    CRect rc(rcWindow.TopLeft(), size);
    if (m_nDragMode == HTLEFT)
        rc.OffsetRect(rcWindow.right - rc.right, 0);
    else if (m_nDragMode == HTTOP)
        rc.OffsetRect(0, rcWindow.bottom - rc.bottom);
    const CRect work = WVPMonitorHelper().GetWorkAreaOfWnd(m_pBar);
    if (rc.right <= work.left)
        rc.OffsetRect(work.left - rc.right + 1, 0);
    else if (rc.left >= work.right)
        rc.OffsetRect(work.right - rc.left - 1, 0);
    if (rc.bottom <= work.top)
        rc.OffsetRect(0, work.top - rc.bottom + 1);
    else if (rc.top >= work.bottom)
        rc.OffsetRect(0, work.bottom - rc.top - 1);
    m_pBar->MoveWindow(&rc, TRUE);
    m_pBar->Redraw();
    m_ptLast = pt;
}

void CWVPDockContext::Track()
{
    if (::GetCapture() || !::IsWindow(m_pBar->m_hWnd))
        return;
    CWVPCommandBarManager* manager = m_pBar->GetCommandBars();
    if (!manager)
        return;
    CWVPDockContextLoop loop(this, m_pBar->m_hWnd);
    loop.Run();
    manager->GetCommandBarsOptions()->bLayoutChanged = TRUE;
}

BOOL CWVPDockContext::ToggleDocking()
{
    CWVPCommandBarManager* manager = m_pBar->GetCommandBars();
    if (!manager)
        return FALSE;
    const DWORD flags = m_pBar->GetFlags();
    if (m_pBar->IsFloating())
    {
        if (!(flags & WVP_BARFLAG_DOCKANY))
            return FALSE;
        CWVPDockBar* pDockBar = manager->GetDockBar(m_nLastDockIndex);
        if (!pDockBar)
            return FALSE;
        CRect rc = m_rcLastDocked;
        pDockBar->ClientToScreen(&rc);
        manager->DockCommandBar(m_pBar, &rc, pDockBar);
        manager->RecalcFrameLayoutNow();
    }
    else
    {
        if (!(flags & WVP_BARFLAG_FLOATING) || !manager->GetCommandBarsOptions()->bDblClickFloat)
            return FALSE;
        CPoint pt = m_ptFloating;
        if (pt.x <= 0 || pt.y <= 0)
        {
            pt = m_rcLastDocked.TopLeft();
            if (HWND parent = ::GetParent(m_pBar->m_hWnd))
                ::ClientToScreen(parent, &pt);
        }
        manager->FloatCommandBar(m_pBar);
        const CSize size = m_pBar->CalcDynamicLayout(0, kFloatingLayout);
        m_pBar->MoveWindow(CRect(pt, size), TRUE);
    }
    manager->GetCommandBarsOptions()->bLayoutChanged = TRUE;
    return TRUE;
}
