#include "app/shell/FlatToolBar.h"

namespace
{
const WCHAR kReBarClass[] = L"ReBarWindow32";
const int kClassNameCapacity = 64;
} // namespace

BEGIN_MESSAGE_MAP(CFlatToolBar, CFixMFCToolBar)
ON_WM_CREATE()
ON_WM_NCCREATE()
ON_WM_NCCALCSIZE()
ON_WM_WINDOWPOSCHANGING()
ON_WM_WINDOWPOSCHANGED()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_NOTIFY_REFLECT(TBN_DROPDOWN, OnToolBarDropDown)
END_MESSAGE_MAP()

CFlatToolBar::CFlatToolBar() : m_bInReBar(false), m_rcOldPos(0, 0, 0, 0)
{
}

CFlatToolBar::~CFlatToolBar()
{
}

int CFlatToolBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CFixMFCToolBar::OnCreate(cs) == -1)
        return -1;
    ModifyStyle(0, TBSTYLE_FLAT);
    return 0;
}

BOOL CFlatToolBar::OnNcCreate(LPCREATESTRUCT cs)
{
    WCHAR name[kClassNameCapacity] = {};
    HWND parent = ::GetParent(m_hWnd);
    if (parent && ::GetClassNameW(parent, name, kClassNameCapacity) && lstrcmpW(name, kReBarClass) == 0)
    {
        CWnd* frame = GetParentFrame();
        if (frame)
        {
            SetOwner(frame);
            ::SendMessageW(m_hWnd, TB_SETPARENT, WPARAM(frame->m_hWnd), 0);
        }
        m_bInReBar = true;
    }
    return BOOL(Default());
}

void CFlatToolBar::OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params)
{
    if (m_bInReBar)
    {
        Default();
        return;
    }
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    RECT& client = params->rgrc[0];
    client.left += inside.left;
    client.top += inside.top;
    client.right += inside.right;
    client.bottom += inside.bottom;
}

void CFlatToolBar::OnWindowPosChanging(WINDOWPOS* pos)
{
    if (m_bInReBar)
    {
        Default();
        return;
    }
    CFixMFCToolBar::OnWindowPosChanging(pos);
    if (!(pos->flags & SWP_NOMOVE))
        GetWindowRect(&m_rcOldPos);
}

void CFlatToolBar::OnWindowPosChanged(WINDOWPOS* pos)
{
    Default();
    if (m_bInReBar)
        return;
    if (!(pos->flags & SWP_NOMOVE) && !m_rcOldPos.IsRectEmpty())
    {
        RepaintOldArea(m_rcOldPos);
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

BOOL CFlatToolBar::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CFlatToolBar::OnPaint()
{
    if (!m_bInReBar && m_bDelayedButtonLayout)
        Layout();
    Default();
}

void CFlatToolBar::OnToolBarDropDown(NMHDR* header, LRESULT* result)
{
    NMTOOLBARW* notify = reinterpret_cast<NMTOOLBARW*>(header);
    RECT item = {};
    ::SendMessageW(m_hWnd, TB_GETRECT, WPARAM(notify->iItem), LPARAM(&item));
    CRect rect(item);
    ClientToScreen(&rect);
    OnDropDown(notify, UINT(notify->iItem), rect);
    *result = TBDDRET_DEFAULT;
}

void CFlatToolBar::OnDropDown(NMTOOLBARW*, UINT buttonId, const CRect& buttonRect)
{
    for (const DropDown& entry : m_dropDowns)
    {
        if (entry.buttonId != buttonId)
            continue;
        HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(entry.menuId));
        HMENU popup = menu ? ::GetSubMenu(menu, 0) : nullptr;
        if (popup)
        {
            CWnd* owner = GetOwner() ? GetOwner() : GetParent();
            TPMPARAMS exclude = {sizeof exclude, buttonRect};
            ::TrackPopupMenuEx(popup, TPM_VERTICAL, buttonRect.left, buttonRect.bottom, owner->GetSafeHwnd(), &exclude);
        }
        if (menu)
            ::DestroyMenu(menu);
        return;
    }
}

void CFlatToolBar::RepaintOldArea(const CRect& screenRect)
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CRect inParent = screenRect;
    parent->ScreenToClient(&inParent);
    parent->InvalidateRect(&inParent, TRUE);
    for (HWND child = ::GetWindow(parent->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        RECT childRect = {}, overlap = {};
        ::GetWindowRect(child, &childRect);
        if (!::IntersectRect(&overlap, &childRect, &screenRect))
            continue;
        POINT corner = {overlap.left, overlap.top};
        ::ScreenToClient(child, &corner);
        RECT local = {corner.x, corner.y, corner.x + overlap.right - overlap.left,
                      corner.y + overlap.bottom - overlap.top};
        ::InvalidateRect(child, &local, TRUE);
        ::SendMessageW(child, WM_NCPAINT, 1, 0);
    }
}
