#include "uilib/skin/SkinObjectMDIClient.h"

#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerSchema.h"

namespace
{

// The MDI client's own message that recalculates its scroll ranges.
const UINT kMessageCalcChildScroll = 0x3F;

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectMDIClient, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectMDIClient, CWVPSkinObjectFrame)
ON_MESSAGE(WM_HSCROLL, OnHScroll)
ON_MESSAGE(WM_VSCROLL, OnVScroll)
ON_MESSAGE(kMessageCalcChildScroll, OnCalcChildScroll)
ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
ON_MESSAGE(WM_SIZE, OnSize)
ON_MESSAGE(WM_MDITILE, OnMDITile)
ON_MESSAGE(WM_MDICASCADE, OnMDICascade)
ON_MESSAGE(WM_MDIICONARRANGE, OnMDIIconArrange)
END_MESSAGE_MAP()

CWVPSkinObjectMDIClient::CWVPSkinObjectMDIClient()
{
}

CWVPSkinObjectMDIClient::~CWVPSkinObjectMDIClient()
{
    if (m_pParentFrame)
        m_pParentFrame->InternalRelease();
}

void CWVPSkinObjectMDIClient::OnHookAttached(LPCREATESTRUCTW lpcs, BOOL bAuto)
{
    HWND parent = lpcs ? lpcs->hwndParent : ::GetParent(m_hWnd);
    if (m_pManager && parent && !m_pParentFrame)
    {
        CWVPSkinObject* object = m_pManager->LookupAddRef(parent);
        m_pParentFrame = dynamic_cast<CWVPSkinObjectFrame*>(object);
        if (m_pParentFrame)
            m_pParentFrame->SetMDIClient(this);
        else if (object)
            object->InternalRelease();
    }
    CWVPSkinObjectFrame::OnHookAttached(lpcs, bAuto);
}

void CWVPSkinObjectMDIClient::OnHookDetached(BOOL bAuto)
{
    if (CWVPSkinObjectFrame* parent = m_pParentFrame)
    {
        m_pParentFrame = nullptr;
        if (parent->GetMDIClient() == this)
            parent->SetMDIClient(nullptr);
        parent->InternalRelease();
    }
    CWVPSkinObjectFrame::OnHookDetached(bAuto);
}

BOOL CWVPSkinObjectMDIClient::IsDefWindowProcAvail(int nMessage) const
{
    return UINT(nMessage) == WVPSkinQueryStateMessage();
}

LRESULT CWVPSkinObjectMDIClient::DefaultThenRedrawBars(UINT nMessage, WPARAM wParam, LPARAM lParam, bool bHorizontal,
                                                       bool bVertical)
{
    LRESULT result = DefWindowProc(nMessage, wParam, lParam);
    if (bVertical)
        RedrawScrollBarIndex(1);
    if (bHorizontal)
        RedrawScrollBarIndex(0);
    return result;
}

LRESULT CWVPSkinObjectMDIClient::OnHScroll(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenRedrawBars(WM_HSCROLL, wParam, lParam, true, false);
}

LRESULT CWVPSkinObjectMDIClient::OnVScroll(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenRedrawBars(WM_VSCROLL, wParam, lParam, false, true);
}

LRESULT CWVPSkinObjectMDIClient::OnCalcChildScroll(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenRedrawBars(kMessageCalcChildScroll, wParam, lParam, true, true);
}

LRESULT CWVPSkinObjectMDIClient::OnNcActivate(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = OnNcActivateMessage(wParam, lParam);
    RedrawScrollBarIndex(1);
    RedrawScrollBarIndex(0);
    return result;
}

LRESULT CWVPSkinObjectMDIClient::OnSize(WPARAM wParam, LPARAM lParam)
{
    if (m_pManager && (m_pManager->GetApplyOptions() & CWVPSkinManager::kApplyMetrics) && m_pManager->GetSchema())
    {
        HWND active = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, WM_MDIGETACTIVE, 0, 0));
        CWVPSkinObject* object = active && ::IsZoomed(active) ? m_pManager->Lookup(active) : nullptr;
        if (object && object->IsSkinEnabled() && dynamic_cast<CWVPSkinObjectFrame*>(object))
        {
            // The child's skinned frame lies just outside the client, its client area fills it.
            RECT borders = m_pManager->GetSchema()->CalcFrameBorders(active);
            int cx = short(LOWORD(lParam)), cy = short(HIWORD(lParam));
            ::MoveWindow(active, -borders.left, -borders.top, cx + borders.left + borders.right,
                         cy + borders.top + borders.bottom, TRUE);
            return 0;
        }
    }
    return DefWindowProc(WM_SIZE, wParam, lParam);
}

LRESULT CWVPSkinObjectMDIClient::OnArrange(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (m_bArranging)
        return DefWindowProc(nMessage, wParam, lParam);
    m_bArranging = true;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        CWVPSkinObjectFrame* frame = dynamic_cast<CWVPSkinObjectFrame*>(m_pManager->Lookup(child));
        if (!frame)
            continue;
        RECT rc;
        ::GetWindowRect(child, &rc);
        ++frame->GetSuppressCounter();
        ::SendMessageW(child, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&rc));
        --frame->GetSuppressCounter();
        ::SetTimer(child, CWVPSkinObjectFrame::kRepairTimerId, CWVPSkinObjectFrame::kRepairTimerDelay, nullptr);
    }
    LRESULT result = DefWindowProc(nMessage, wParam, lParam);
    m_bArranging = false;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (CWVPSkinObjectFrame* frame = dynamic_cast<CWVPSkinObjectFrame*>(m_pManager->Lookup(child)))
            frame->RedrawFrame();
    return result;
}

LRESULT CWVPSkinObjectMDIClient::OnMDITile(WPARAM wParam, LPARAM lParam)
{
    return OnArrange(WM_MDITILE, wParam, lParam);
}

LRESULT CWVPSkinObjectMDIClient::OnMDICascade(WPARAM wParam, LPARAM lParam)
{
    return OnArrange(WM_MDICASCADE, wParam, lParam);
}

LRESULT CWVPSkinObjectMDIClient::OnMDIIconArrange(WPARAM wParam, LPARAM lParam)
{
    return OnArrange(WM_MDIICONARRANGE, wParam, lParam);
}
