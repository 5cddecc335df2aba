#include "uilib/controls/ListCtrl.h"

#include "uilib/foundation/BufferDC.h"

IMPLEMENT_DYNAMIC(CWVListCtrlBase, CListCtrl)

CWVListCtrlBase::CWVListCtrlBase() : m_bInitPending(TRUE)
{
}

CWVListCtrlBase::~CWVListCtrlBase() = default;

BOOL CWVListCtrlBase::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    HWND hHeader = ::GetDlgItem(m_hWnd, 0);
    if (hHeader && pNMHDR->hwndFrom == hHeader && CWVListBase::OnNotify(wParam, lParam, pResult))
        return TRUE;
    return CListCtrl::OnNotify(wParam, lParam, pResult);
}

IMPLEMENT_DYNAMIC(CWVListCtrl, CWVListCtrlBase)

CWVListCtrl::CWVListCtrl()
{
    BindList(this);
}

CWVListCtrl::~CWVListCtrl() = default;

BOOL CWVListCtrl::PreCreateWindow(CREATESTRUCTW& cs)
{
    // WM_CREATE initialises the list part of a control made here.
    m_bInitPending = FALSE;
    return CWVListCtrlBase::PreCreateWindow(cs);
}

void CWVListCtrl::PreSubclassWindow()
{
    CWVListCtrlBase::PreSubclassWindow();
    if (m_bInitPending)
    {
        m_bInitPending = FALSE;
        InitList();
    }
}

void CWVListCtrl::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (CHeaderCtrl* pHeader = GetListHeader())
    {
        CRect rcHeader;
        pHeader->GetWindowRect(&rcHeader);
        ScreenToClient(&rcHeader);
        dcPaint.ExcludeClipRect(&rcHeader);
    }
    {
        CWVPBufferDC dc(dcPaint);
        dc.FillSolidRect(&rcClient, IsWindowEnabled() ? GetBackColor() : ::GetSysColor(COLOR_BTNFACE));
        if (GetListHeader())
            FillSortColumn(&dc, rcClient);
        DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
        if (CHeaderCtrl* pHeader = GetListHeader())
        {
            pHeader->Invalidate();
            pHeader->UpdateWindow();
        }
    }
}

BOOL CWVListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == NM_CUSTOMDRAW)
    {
        LRESULT result = CDRF_DODEFAULT;
        OnCustomDraw(reinterpret_cast<NMHDR*>(lParam), &result);
        if (pResult)
            *pResult = result;
        return TRUE;
    }
    return CWVListCtrlBase::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CWVListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CREATE: {
        const LRESULT result = CWVListCtrlBase::WindowProc(message, wParam, lParam);
        if (result != -1)
            InitList();
        return result;
    }
    case WM_SETTINGCHANGE: {
        const LRESULT result = CWVListCtrlBase::WindowProc(message, wParam, lParam);
        RefreshColors();
        return result;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        if (wParam)
            break; // painting into a given DC is the list's own
        OnPaint();
        return 0;
    case WM_PRINTCLIENT:
        DefWindowProc(WM_ERASEBKGND, wParam, 0);
        return DefWindowProc(WM_PRINTCLIENT, wParam, lParam);
    case WM_DESTROY:
        if (m_bPersistColumns)
            SaveColumnWidths();
        break;
    default:
        break;
    }
    return CWVListCtrlBase::WindowProc(message, wParam, lParam);
}
