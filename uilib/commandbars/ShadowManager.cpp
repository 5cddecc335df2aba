#include "uilib/commandbars/ShadowManager.h"

#include <vector>

#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/foundation/ImageManager.h"

namespace
{
// Window classes of shadow windows: with CS_SAVEBITS | CS_OWNDC, or with no class style.
const wchar_t kShadowClassStyled[] = L"WVPShadowWnd";
const wchar_t kShadowClassPlain[] = L"WVPShadowWndPlain";
const UINT kShadowClassStyles = CS_SAVEBITS | CS_OWNDC;

// Thickness of a shadow strip with and without alpha shadows.
const int kAlphaThickness = 4;
const int kFlatThickness = 2;
// The fade-in and fade-out blocks at the ends of a strip are this many pixels long.
const int kFadeLength = 4;

// Placing a new shadow on top without moving, sizing or activating it, and showing it.
const UINT kShowShadowFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
// Moving a shadow that follows its owner's size.
const UINT kFollowFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
// Moving a shadow without repainting it.
const UINT kQuietMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOREDRAW;

CRect WindowRect(HWND hWnd)
{
    CRect rc(0, 0, 0, 0);
    if (hWnd)
        ::GetWindowRect(hWnd, &rc);
    return rc;
}

void MoveQuietly(HWND hWnd, const CRect& rc)
{
    ::SetWindowPos(hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(), kQuietMoveFlags);
}

// A pixel of the shadow colour times num / den at the given alpha: alpha in the top byte, then
// red, green and blue, each product truncated.
DWORD ShadowPixel(COLORREF clr, int num, int den, int alpha)
{
    const DWORD r = (DWORD)(GetRValue(clr) * num / den);
    const DWORD g = (DWORD)(GetGValue(clr) * num / den);
    const DWORD b = (DWORD)(GetBValue(clr) * num / den);
    return ((DWORD)alpha << 24) | (r << 16) | (g << 8) | b;
}

// Keeps the manager alive while it walks its own list.
class CManagerReference
{
  public:
    explicit CManagerReference(CCmdTarget* pTarget) : m_pTarget(pTarget)
    {
        m_pTarget->InternalAddRef();
    }
    ~CManagerReference()
    {
        m_pTarget->InternalRelease();
    }
    CManagerReference(const CManagerReference&) = delete;
    CManagerReference& operator=(const CManagerReference&) = delete;

  private:
    CCmdTarget* m_pTarget;
};
} // namespace

// ---------------------------------------------------------------------------------------------
// CWVPShadowManager::CShadowWnd

BEGIN_MESSAGE_MAP(CWVPShadowManager::CShadowWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CWVPShadowManager::CShadowWnd::CShadowWnd(CWVPShadowManager* pManager)
    : m_nSide(ShadowRight), m_bHasRegion(FALSE), m_pShadowOwner(nullptr), m_bControlShadow(FALSE), m_pManager(pManager)
{
    if (m_pManager)
        m_pManager->InternalAddRef();
}

CWVPShadowManager::CShadowWnd::~CShadowWnd()
{
    // A shadow deleted while still hooked to its owner must not stay among the owner's receivers.
    if (m_pShadowOwner && m_pShadowOwner->GetSafeHwnd())
        WVPHookManager()->RemoveHook(m_pShadowOwner->GetSafeHwnd(), this);
    if (m_hWnd)
        DestroyWindow();
    if (m_pManager)
        m_pManager->InternalRelease();
}

BOOL CWVPShadowManager::CShadowWnd::Create(int nSide, int nLeft, int nTop, int nRight, int nBottom)
{
    const BOOL bAlpha = m_pManager && m_pManager->IsAlphaShadow();
    if (!m_hWnd)
    {
        const BOOL bStyled = !m_pManager || m_pManager->GetUseClassStyle();
        LPCWSTR pszClass = bStyled ? kShadowClassStyled : kShadowClassPlain;
        if (!CWVPDrawHelpers::RegisterWindowClass(AfxGetInstanceHandle(), pszClass, bStyled ? kShadowClassStyles : 0))
            return FALSE;
        HWND hOwner = m_pShadowOwner ? m_pShadowOwner->GetSafeHwnd() : nullptr;
        HWND hParent = hOwner ? ::GetParent(hOwner) : nullptr;
        const DWORD dwExStyle = WS_EX_TOOLWINDOW | (bAlpha ? WS_EX_LAYERED : 0);
        if (!CreateEx(dwExStyle, pszClass, nullptr, WS_POPUP, CRect(0, 0, 0, 0), CWnd::FromHandle(hParent), 0))
            return FALSE;
    }
    ::SetWindowRgn(m_hWnd, nullptr, FALSE);
    m_bHasRegion = FALSE;
    m_nSide = nSide;

    const int t = bAlpha ? kAlphaThickness : kFlatThickness;
    CRect rc;
    switch (nSide)
    {
    case ShadowRight:
        rc.SetRect(nRight, nTop + t, nRight + t, nBottom);
        break;
    case ShadowBottom:
        rc.SetRect(nLeft + t, nBottom, nRight + t, nBottom + t);
        break;
    default:
        rc.SetRect(nRight - 1, nBottom - 1, nRight, nBottom);
        break;
    }
    MoveQuietly(m_hWnd, rc);
    return TRUE;
}

void CWVPShadowManager::CShadowWnd::ExcludeRect(CRect rcExclude)
{
    const CRect rcWindow = WindowRect(m_hWnd);
    CRect rcCut;
    if (!rcCut.IntersectRect(rcWindow, rcExclude))
        return;
    rcCut.OffsetRect(-rcWindow.TopLeft());
    CRgn rgn, rgnCut;
    if (!rgn.CreateRectRgn(0, 0, rcWindow.Width(), rcWindow.Height()) || !rgnCut.CreateRectRgnIndirect(&rcCut))
        return;
    rgn.CombineRgn(&rgn, &rgnCut, RGN_DIFF);
    // The window owns the region from here on.
    if (::SetWindowRgn(m_hWnd, static_cast<HRGN>(rgn.Detach()), FALSE))
        m_bHasRegion = TRUE;
}

void CWVPShadowManager::CShadowWnd::MergeWithNeighbours(CShadowList* pList)
{
    if (!pList || !m_hWnd || m_nSide == ShadowCorner)
        return;
    for (POSITION pos = pList->GetHeadPosition(); pos;)
    {
        CShadowWnd* pOther = pList->GetNext(pos);
        if (pOther == this || !pOther->m_hWnd)
            continue;
        const CRect r = WindowRect(m_hWnd);
        const CRect o = WindowRect(pOther->m_hWnd);
        if (m_nSide == ShadowRight && pOther->m_nSide != ShadowRight)
        {
            if (r.top == o.bottom - 1 && o.left < r.right && r.right < o.right)
                MoveQuietly(m_hWnd, CRect(r.left, r.top - 2 * o.Height(), r.right, r.bottom));
        }
        else if (m_nSide == ShadowBottom && pOther->m_nSide == ShadowRight)
        {
            if (r.left == o.right - 1 && o.top < r.top && r.bottom < o.bottom)
                MoveQuietly(m_hWnd, CRect(r.left - 2 * o.Width() - 1, r.top, r.right, r.bottom));
        }
    }
}

int CWVPShadowManager::CShadowWnd::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& /*lParam*/,
                                                 LRESULT& /*lResult*/)
{
    switch (nMessage)
    {
    case WM_SHOWWINDOW:
        if (m_hWnd)
            ::ShowWindow(m_hWnd, wParam ? SW_SHOWNA : SW_HIDE);
        break;
    case WM_DESTROY:
        // This object is gone after the call: nothing of it may be touched any more.
        WVPHookManager()->RemoveHook(hWnd, this);
        if (m_pManager)
            m_pManager->DestroyShadow(this);
        break;
    default:
        break;
    }
    return HookNotHandled;
}

BOOL CWVPShadowManager::CShadowWnd::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

void CWVPShadowManager::CShadowWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    const BOOL bAlpha = m_pManager && m_pManager->IsAlphaShadow();
    dc.FillSolidRect(&rc, bAlpha ? RGB(0, 0, 0) : WVPColorManager()->GetColor(COLOR_BTNSHADOW));
}

void CWVPShadowManager::CShadowWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (cx <= 0 || cy <= 0 || !m_pManager || !m_pManager->IsAlphaShadow() || !m_pShadowOwner)
        return;
    PFNUPDATELAYEREDWINDOW pfnUpdate = m_pManager->GetUpdateLayeredWindow();
    if (!pfnUpdate)
        return;

    CClientDC dcWindow(this);
    CDC dcMem;
    if (!dcMem.CreateCompatibleDC(&dcWindow))
        return;
    void* pBits = nullptr;
    CBitmap bmp;
    if (!bmp.Attach(CWVPImageManager::CreateDIBSection32(dcWindow.GetSafeHdc(), cx, cy, &pBits)) || !pBits)
        return;
    FillShadowPixels(static_cast<DWORD*>(pBits), cx, cy, m_nSide, m_pManager->GetShadowColor(),
                     m_pManager->GetShadowOptions());
    CBitmap* pOld = dcMem.SelectObject(&bmp);
    SIZE size = {cx, cy};
    POINT ptSrc = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    pfnUpdate(m_hWnd, nullptr, nullptr, &size, dcMem.GetSafeHdc(), &ptSrc, 0, &blend, ULW_ALPHA);
    dcMem.SelectObject(pOld);
}

LRESULT CWVPShadowManager::CShadowWnd::OnNcHitTest(CPoint /*point*/)
{
    return HTTRANSPARENT;
}

// ---------------------------------------------------------------------------------------------
// CWVPShadowManager

CWVPShadowManager::CWVPShadowManager()
    : m_bUseClassStyle(TRUE), m_pfnUpdateLayeredWindow(nullptr), m_bAlphaShadow(FALSE), m_nShadowOptions(0),
      m_clrShadow(0)
{
    if (HMODULE hUser = ::GetModuleHandleW(L"user32.dll"))
        m_pfnUpdateLayeredWindow =
            reinterpret_cast<PFNUPDATELAYEREDWINDOW>(::GetProcAddress(hUser, "UpdateLayeredWindow"));
    m_bAlphaShadow = IsAlphaShadowAvailable();
}

CWVPShadowManager::~CWVPShadowManager()
{
    // Shadows hold references on their manager, so none should be left; any that are go without
    // touching the manager again.
    while (!m_lstShadow.IsEmpty())
    {
        CShadowWnd* pShadow = m_lstShadow.RemoveHead();
        pShadow->m_pManager = nullptr;
        delete pShadow;
    }
}

BOOL CWVPShadowManager::IsAlphaShadowAvailable() const
{
    return !CWVPColorManager::IsLowColorDisplay(nullptr) && m_pfnUpdateLayeredWindow != nullptr;
}

void CWVPShadowManager::SetShadow(CWnd* pOwner, const CRect& rcExclude)
{
    HWND hOwner = pOwner ? pOwner->GetSafeHwnd() : nullptr;
    if (!hOwner)
        return;
    if (!(m_nShadowOptions & ShadowOptionForce))
    {
        BOOL bDropShadow = FALSE;
        if (!m_bAlphaShadow || !::SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &bDropShadow, 0) || !bDropShadow)
            return;
    }
    const CRect rcOwner = WindowRect(hOwner);
    CreateShadow(ShadowBottom, rcOwner, rcExclude, pOwner, FALSE);
    CreateShadow(ShadowRight, rcOwner, rcExclude, pOwner, FALSE);
    CRgn rgn;
    if (rgn.CreateRectRgn(0, 0, 0, 0) &&
        ::GetWindowRgn(hOwner, static_cast<HRGN>(rgn.GetSafeHandle())) == COMPLEXREGION)
        CreateShadow(ShadowCorner, rcOwner, rcExclude, pOwner, FALSE);
}

void CWVPShadowManager::SetControlShadow(const CRect& rcControl, CWnd* pOwner)
{
    if ((m_nShadowOptions & ShadowOptionControl) != ShadowOptionControl || !pOwner || !pOwner->GetSafeHwnd())
        return;
    const CRect rcEmpty(0, 0, 0, 0);
    CreateShadow(ShadowBottom, rcControl, rcEmpty, pOwner, TRUE);
    CreateShadow(ShadowRight, rcControl, rcEmpty, pOwner, TRUE);
}

CWVPShadowManager::CShadowWnd* CWVPShadowManager::CreateShadow(int nSide, const CRect& rcOwner, const CRect& rcExclude,
                                                               CWnd* pOwner, BOOL bControlShadow)
{
    HWND hOwner = pOwner ? pOwner->GetSafeHwnd() : nullptr;
    if (!hOwner)
        return nullptr;
    CShadowWnd* pShadow = new CShadowWnd(this);
    pShadow->m_bControlShadow = bControlShadow;
    pShadow->m_pShadowOwner = pOwner;
    if (!pShadow->Create(nSide, rcOwner.left, rcOwner.top, rcOwner.right, rcOwner.bottom))
    {
        pShadow->m_pShadowOwner = nullptr;
        delete pShadow;
        return nullptr;
    }
    pShadow->MergeWithNeighbours(&m_lstShadow);
    m_lstShadow.AddTail(pShadow);

    if (m_nShadowOptions & ShadowOptionExclude)
        pShadow->ExcludeRect(rcExclude);
    // No shadow falls on a popup: cut every shadowed window out of the new shadow, except the
    // corner's own owner, inside which the corner pixel lies.
    for (POSITION pos = m_lstShadow.GetHeadPosition(); pos;)
    {
        CShadowWnd* pOther = m_lstShadow.GetNext(pos);
        HWND hOther = pOther->m_pShadowOwner ? pOther->m_pShadowOwner->GetSafeHwnd() : nullptr;
        if (!hOther || (nSide == ShadowCorner && hOther == hOwner))
            continue;
        pShadow->ExcludeRect(WindowRect(hOther));
    }

    const HWND hAfter = (::GetWindowLongPtrW(hOwner, GWL_EXSTYLE) & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_TOP;
    ::SetWindowPos(pShadow->m_hWnd, hAfter, 0, 0, 0, 0, kShowShadowFlags);
    WVPHookManager()->SetHook(hOwner, pShadow);
    return pShadow;
}

void CWVPShadowManager::RemoveShadows(CWnd* pOwner)
{
    if (!pOwner)
        return;
    CManagerReference keep(this);
    std::vector<CShadowWnd*> shadows;
    for (POSITION pos = m_lstShadow.GetHeadPosition(); pos;)
    {
        CShadowWnd* pShadow = m_lstShadow.GetNext(pos);
        if (pShadow->m_pShadowOwner == pOwner)
            shadows.push_back(pShadow);
    }
    for (CShadowWnd* pShadow : shadows)
        DestroyShadow(pShadow);
}

void CWVPShadowManager::DestroyShadow(CShadowWnd* pShadow)
{
    if (!pShadow)
        return;
    POSITION pos = m_lstShadow.Find(pShadow);
    if (!pos)
        return;
    if (pShadow->m_hWnd)
        ::ShowWindow(pShadow->m_hWnd, SW_HIDE);
    // The owner's hook must not keep a receiver that is about to go.
    if (HWND hOwner = pShadow->m_pShadowOwner ? pShadow->m_pShadowOwner->GetSafeHwnd() : nullptr)
        WVPHookManager()->RemoveHook(hOwner, pShadow);
    pShadow->m_pShadowOwner = nullptr;
    m_lstShadow.RemoveAt(pos);
    pShadow->DestroyWindow();
    // The shadow's reference may be the manager's last: nothing of this object is used after it.
    delete pShadow;
}

void CWVPShadowManager::OffsetShadows(CWnd* pOwner, int dx, int dy)
{
    HWND hOwner = pOwner ? pOwner->GetSafeHwnd() : nullptr;
    if (!hOwner)
        return;
    const BOOL bRTL = (::GetWindowLongPtrW(hOwner, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    for (POSITION pos = m_lstShadow.GetHeadPosition(); pos;)
    {
        CShadowWnd* pShadow = m_lstShadow.GetNext(pos);
        if (pShadow->m_pShadowOwner != pOwner || !pShadow->m_hWnd || pShadow->m_bControlShadow)
            continue;
        ::SetWindowRgn(pShadow->m_hWnd, nullptr, FALSE);
        pShadow->m_bHasRegion = FALSE;
        CRect rc = WindowRect(pShadow->m_hWnd);
        switch (pShadow->m_nSide)
        {
        case ShadowBottom:
            if (bRTL)
                rc.left -= dx;
            else
                rc.right += dx;
            rc.OffsetRect(0, dy);
            break;
        case ShadowRight:
            if (!bRTL)
                rc.OffsetRect(dx, 0);
            rc.bottom += dy;
            break;
        default:
            rc.OffsetRect(bRTL ? 0 : dx, dy);
            break;
        }
        ::SetWindowPos(pShadow->m_hWnd, nullptr, rc.left, rc.top, rc.Width(), rc.Height(), kFollowFlags);
    }
}

void AFX_CDECL CWVPShadowManager::FillShadowPixels(DWORD* pBits, int cx, int cy, int nSide, COLORREF clrShadow,
                                                   int nOptions)
{
    if (!pBits || cx <= 0 || cy <= 0)
        return;
    // Half the opacity when shadows are forced.
    const int k = (nOptions & ShadowOptionForce) ? 1 : 2;
    // Rows of a bottom-up DIB: y counts from the top.
    auto at = [&](int x, int y) -> DWORD& { return pBits[(size_t)(cy - 1 - y) * cx + x]; };
    for (int i = 0; i < cx * cy; ++i)
        pBits[i] = 0;

    switch (nSide)
    {
    case ShadowCorner:
        at(0, 0) = ShadowPixel(clrShadow, 1, 1, 60 * k);
        break;
    case ShadowRight:
        // Column i counts from the outer edge (1) to the owner; the top rows fade in.
        for (int y = 0; y < cy; ++y)
        {
            const int n = y + 1;
            for (int x = 0; x < cx; ++x)
            {
                const int i = cx - x;
                at(x, y) = n <= kFadeLength ? ShadowPixel(clrShadow, i * n, 20, 3 * k * i * n)
                                            : ShadowPixel(clrShadow, i, 4, 15 * k * i);
            }
        }
        break;
    default:
        // Row n counts from the outer edge (1) to the owner; both ends fade, the right end last so
        // that it wins where a short strip's ends overlap.
        for (int y = 0; y < cy; ++y)
        {
            const int n = cy - y;
            for (int x = kFadeLength; x < cx - kFadeLength; ++x)
                at(x, y) = ShadowPixel(clrShadow, n, 4, 15 * k * n);
            for (int j = 1; j <= kFadeLength && j <= cx; ++j)
                at(j - 1, y) = ShadowPixel(clrShadow, j * n, 20, 3 * k * j * n);
            for (int j = 1; j <= kFadeLength && j <= cx; ++j)
                at(cx - j, y) = ShadowPixel(clrShadow, j * n, 20, 3 * k * j * n);
        }
        break;
    }
}
