#include "app/shell/MenuBar.h"

#include "app/shell/ModuleVersion.h"
#include "uilib/foundation/BufferDC.h"
#include "uilib/skin/SkinManager.h"

namespace
{
const int kItemTextCapacity = 64; // 63 characters and the terminator
const int kLowestVersion = 470;
const DWORD kFlatTransparent = TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
const UINT kFrameChangedOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED; // 0x37
const int kMinInsetX = 2;
const int kMinInsetY = 1;
const UINT kLastButtonUpdate = 256;

// The bar whose popup is open, and its message-filter hook; null while no popup is open.
CMenuBar* g_trackingBar = nullptr;
HHOOK g_menuFilterHook = nullptr;

bool IsAccessKey(UINT key)
{
    return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
}
} // namespace

LRESULT CMenuBarFrameHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MENUSELECT && m_pMenuBar && m_pMenuBar->GetTrackingState() > CMenuBar::kStateNone)
    {
        const UINT flags = HIWORD(wParam);
        m_pMenuBar->m_bProcessRightArrow = !(flags & MF_POPUP);
        m_pMenuBar->m_bProcessLeftArrow = HMENU(lParam) == m_pMenuBar->m_hMenuTracking;
    }
    return CSubclassWnd::WindowProc(message, wParam, lParam);
}

BEGIN_MESSAGE_MAP(CMenuBar, CFlatToolBar)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_SIZE()
ON_UPDATE_COMMAND_UI_RANGE(0, kLastButtonUpdate, OnUpdateMenuButton)
ON_MESSAGE(WM_RW_MENUBAR_SETMENU, OnSetMenu)
END_MESSAGE_MAP()

CMenuBar::CMenuBar()
    : m_frameHook(this), m_hmenu(nullptr), m_bAutoRemoveFrameMenu(true), m_iPopupTracking(-1), m_iNewPopup(-1),
      m_bProcessRightArrow(false), m_bProcessLeftArrow(false), m_bEscapeWasPressed(false), m_ptMouse(0, 0),
      m_hMenuTracking(nullptr), m_iTrackingState(kStateNone)
{
    m_bKeepWrappedDropDownWidth = true;
    if (ComCtlVersion() <= kLowestVersion)
        AfxMessageBox(L"Warning: This program requires comctl32.dll version 4.71 or greater.", MB_OK);
}

CMenuBar::~CMenuBar()
{
    if (g_trackingBar == this)
        g_trackingBar = nullptr;
}

CWnd* CMenuBar::OwnerWindow() const
{
    CWnd* owner = GetOwner();
    return owner ? owner : GetParent();
}

int CMenuBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CFlatToolBar::OnCreate(cs) == -1)
        return -1;
    ModifyStyle(0, TBSTYLE_FLAT);
    if (CWnd* owner = OwnerWindow())
        m_frameHook.HookWindow(owner->m_hWnd);
    return 0;
}

HMENU CMenuBar::LoadMenu(HMENU menu)
{
    CFrameWnd* frame = GetParentFrame();
    if (m_bAutoRemoveFrameMenu && frame && ::GetMenu(frame->m_hWnd))
        PostMessage(WM_RW_MENUBAR_SETMENU, WPARAM(frame->m_hWnd), 0);
    HMENU previous = m_hmenu;
    m_hmenu = menu;

    while (SendMessage(TB_DELETEBUTTON, 0, 0))
        ;
    SendMessage(TB_SETIMAGELIST, 0, 0);
    const DWORD style = GetStyle();
    const bool strip = (style & kFlatTransparent) != 0;
    if (strip)
        ::SetWindowLongW(m_hWnd, GWL_STYLE, LONG(style & ~kFlatTransparent));
    const int count = menu ? ::GetMenuItemCount(menu) : 0;
    for (int pos = 0; pos < count; pos++)
    {
        WCHAR text[kItemTextCapacity + 1] = {};
        if (::GetMenuStringW(menu, UINT(pos), text, kItemTextCapacity, MF_BYPOSITION) <= 0)
            continue;
        INT_PTR index = -1;
        for (INT_PTR i = 0; i < m_arStrings.GetSize() && index < 0; i++)
            if (m_arStrings[i] == text)
                index = i;
        if (index < 0)
        {
            // The pool takes a list ended by an empty text.
            text[lstrlenW(text) + 1] = 0;
            SendMessage(TB_ADDSTRINGW, 0, LPARAM(text));
            index = m_arStrings.Add(text);
        }
        TBBUTTON button = {};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = pos;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_AUTOSIZE;
        button.iString = index;
        SendMessage(TB_ADDBUTTONSW, 1, LPARAM(&button));
    }
    if (strip)
        ::SetWindowLongW(m_hWnd, GWL_STYLE, LONG(style));
    if (menu)
    {
        SendMessage(TB_AUTOSIZE, 0, 0);
        CWnd* owner = OwnerWindow();
        if (owner && owner->IsFrameWnd())
            static_cast<CFrameWnd*>(owner)->RecalcLayout();
        if (frame && frame != owner)
            frame->RecalcLayout();
    }
    return previous;
}

int CMenuBar::GetNextButton(int index, bool backwards) const
{
    const int count = int(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    if (count <= 0)
        return -1;
    index += backwards ? -1 : 1;
    if (index < 0)
        index = count - 1;
    if (index >= count)
        index = 0;
    return index;
}

int CMenuBar::HitTestButton(CPoint client) const
{
    POINT point = client;
    const int index = int(::SendMessageW(m_hWnd, TB_HITTEST, 0, LPARAM(&point)));
    RECT inside = {};
    ::GetClientRect(m_hWnd, &inside);
    if (index < 0 || !::PtInRect(&inside, client))
        return -1;
    return index;
}

int CMenuBar::GetHotButton() const
{
    return int(::SendMessageW(m_hWnd, TB_GETHOTITEM, 0, 0));
}

void CMenuBar::SetTrackingState(int state, int button)
{
    if (state == kStateButton)
    {
        m_iPopupTracking = button;
        SendMessage(TB_SETHOTITEM, WPARAM(button), 0);
    }
    else if (state == kStateNone)
    {
        m_iPopupTracking = -1;
        SendMessage(TB_SETHOTITEM, WPARAM(-1), 0);
    }
    m_iTrackingState = state;
}

void CMenuBar::ToggleTrackButtonMode()
{
    if (m_iTrackingState == kStateNone)
        SetTrackingState(kStateButton, 0);
    else if (m_iTrackingState == kStateButton)
        SetTrackingState(kStateNone);
}

void CMenuBar::CancelMenuAndTrackNewOne(int button)
{
    m_iNewPopup = button;
    // Ends the open popup; TrackPopup then opens the next one.
    ::EndMenu();
}

void CMenuBar::TrackPopup(int button)
{
    while (button >= 0 && m_hmenu)
    {
        m_iNewPopup = -1;
        SendMessage(TB_PRESSBUTTON, WPARAM(button), TRUE);
        UpdateWindow();
        SendMessage(TB_SETHOTITEM, WPARAM(button), 0);
        m_bEscapeWasPressed = false;
        m_bProcessRightArrow = m_bProcessLeftArrow = true;
        m_iPopupTracking = button;
        m_iTrackingState = kStatePopup;

        g_trackingBar = this;
        g_menuFilterHook = ::SetWindowsHookExW(WH_MSGFILTER, MenuInputFilter, nullptr, ::GetCurrentThreadId());

        RECT item = {};
        SendMessage(TB_GETITEMRECT, WPARAM(button), LPARAM(&item));
        CRect rect(item);
        ClientToScreen(&rect);
        TPMPARAMS params = {sizeof params};
        ::GetWindowRect(::GetDesktopWindow(), &params.rcExclude);
        CPoint at(rect.left, rect.bottom);
        const DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
        if (align & CBRS_ALIGN_LEFT)
            at = CPoint(rect.right, rect.top), params.rcExclude.right = rect.right;
        else if (align & CBRS_ALIGN_RIGHT)
            at = CPoint(rect.left, rect.top), params.rcExclude.left = rect.left;
        else if (align & CBRS_ALIGN_BOTTOM)
            at = CPoint(rect.left, rect.top), params.rcExclude.top = rect.top;
        m_hMenuTracking = ::GetSubMenu(m_hmenu, button);
        CWnd* owner = OwnerWindow();
        if (m_hMenuTracking)
            ::TrackPopupMenuEx(m_hMenuTracking, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_VERTICAL, at.x, at.y,
                               owner ? owner->m_hWnd : m_hWnd, &params);

        if (g_menuFilterHook)
            ::UnhookWindowsHookEx(g_menuFilterHook);
        g_menuFilterHook = nullptr;
        g_trackingBar = nullptr;
        if (!::IsWindow(m_hWnd))
            return;
        SendMessage(TB_PRESSBUTTON, WPARAM(button), FALSE);
        UpdateWindow();
        const int state = m_bEscapeWasPressed ? kStateButton : kStateNone;
        if (state != m_iTrackingState)
            SetTrackingState(state, button);
        button = m_iNewPopup;
    }
}

LRESULT CALLBACK CMenuBar::MenuInputFilter(int code, WPARAM wParam, LPARAM lParam)
{
    try
    {
        if (code == MSGF_MENU && g_trackingBar && lParam && g_trackingBar->OnMenuInput(*reinterpret_cast<MSG*>(lParam)))
            return TRUE;
    }
    catch (...)
    {
    }
    return ::CallNextHookEx(g_menuFilterHook, code, wParam, lParam);
}

BOOL CMenuBar::OnMenuInput(MSG& msg)
{
    switch (msg.message)
    {
    case WM_KEYDOWN: {
        const UINT key = UINT(msg.wParam);
        if ((key == VK_LEFT && m_bProcessLeftArrow) || (key == VK_RIGHT && m_bProcessRightArrow))
        {
            const int next = GetNextButton(m_iPopupTracking, key == VK_LEFT);
            if (next != m_iPopupTracking)
                CancelMenuAndTrackNewOne(next);
            return TRUE;
        }
        if (key == VK_ESCAPE)
            m_bEscapeWasPressed = true;
        return FALSE;
    }
    case WM_MOUSEMOVE: {
        CPoint point(msg.pt);
        ScreenToClient(&point);
        if (point != m_ptMouse)
        {
            const int hit = HitTestButton(point);
            if (hit >= 0 && hit != m_iPopupTracking)
                CancelMenuAndTrackNewOne(hit);
            m_ptMouse = point;
        }
        return FALSE;
    }
    case WM_LBUTTONDOWN: {
        CPoint point(msg.pt);
        ScreenToClient(&point);
        if (HitTestButton(point) == m_iPopupTracking && m_iPopupTracking >= 0)
        {
            CancelMenuAndTrackNewOne(-1);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

BOOL CMenuBar::TranslateFrameMessage(MSG* msg)
{
    const UINT message = msg->message;
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP)
    {
        const UINT key = UINT(msg->wParam);
        const bool alt = (msg->lParam & (1 << 29)) != 0;
        if (key == VK_MENU)
        {
            if (message == WM_SYSKEYUP)
                ToggleTrackButtonMode();
            return TRUE;
        }
        const bool shift = ::GetKeyState(VK_SHIFT) < 0, control = ::GetKeyState(VK_CONTROL) < 0;
        if (key == VK_F10 && !shift && !control && !alt)
        {
            if (message == WM_SYSKEYUP)
                ToggleTrackButtonMode();
            return TRUE;
        }
        if (message == WM_SYSKEYUP)
            return FALSE;
        if (m_iTrackingState == kStateButton)
        {
            switch (key)
            {
            case VK_ESCAPE:
                SetTrackingState(kStateNone);
                return TRUE;
            case VK_SPACE:
            case VK_UP:
            case VK_DOWN:
                TrackPopup(GetHotButton());
                return TRUE;
            case VK_LEFT:
            case VK_RIGHT:
                SetTrackingState(kStateButton, GetNextButton(GetHotButton(), key == VK_LEFT));
                return TRUE;
            default:
                break;
            }
        }
        if ((alt || m_iTrackingState == kStateButton) && IsAccessKey(key))
        {
            UINT id = 0;
            if (SendMessage(TB_MAPACCELERATORW, WPARAM(key), LPARAM(&id)))
            {
                TrackPopup(int(SendMessage(TB_COMMANDTOINDEX, WPARAM(id), 0)));
                return TRUE;
            }
            if (m_iTrackingState == kStateButton && !alt)
            {
                ::MessageBeep(0);
                return TRUE;
            }
        }
        if (m_iTrackingState > kStateNone)
            SetTrackingState(kStateNone);
        return FALSE;
    }
    if (message >= WM_LBUTTONDOWN && message <= 0x20E && msg->hwnd != m_hWnd && m_iTrackingState > kStateNone)
        SetTrackingState(kStateNone);
    return FALSE;
}

void CMenuBar::OnLButtonDown(UINT, CPoint point)
{
    const int hit = HitTestButton(point);
    if (hit >= 0)
        TrackPopup(hit);
    else
        Default();
}

void CMenuBar::OnMouseMove(UINT, CPoint point)
{
    if (m_iTrackingState == kStateButton && point != m_ptMouse)
    {
        const int hit = HitTestButton(point);
        if (hit >= 0 && hit != GetHotButton())
            SetTrackingState(kStateButton, hit);
    }
    m_ptMouse = point;
    Default();
}

void CMenuBar::RecomputeFrame()
{
    SetWindowPos(nullptr, 0, 0, 0, 0, kFrameChangedOnly);
}

void CMenuBar::OnSize(UINT, int, int)
{
    Default();
    RecomputeFrame();
}

void CMenuBar::OnBarStyleChange(DWORD oldStyle, DWORD newStyle)
{
    CFlatToolBar::OnBarStyleChange(oldStyle, newStyle);
    RecomputeFrame();
}

void CMenuBar::OnUpdateMenuButton(CCmdUI* state)
{
    state->Enable(SendMessage(TB_COMMANDTOINDEX, WPARAM(state->m_nID), 0) >= 0);
}

LRESULT CMenuBar::OnSetMenu(WPARAM wParam, LPARAM)
{
    if (wParam)
        ::SetMenu(HWND(wParam), nullptr);
    return 0;
}

COLORREF MenuBarFaceColor()
{
    CWVPSkinManager* skins = WVPSkinManager();
    if (skins->IsSkinLoaded())
        return skins->GetMetrics()->GetColor(COLOR_BTNFACE);
    return ::GetSysColor(COLOR_BTNFACE);
}

BEGIN_MESSAGE_MAP(CustomMenuBar, CMenuBar)
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_PAINT()
END_MESSAGE_MAP()

CustomMenuBar::CustomMenuBar() : m_insets(0, 0, 0, 0)
{
}

void CustomMenuBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    m_insets.left = std::max<LONG>(inside.left - 1, kMinInsetX);
    m_insets.top = std::max<LONG>(inside.top - 1, kMinInsetY);
    m_insets.right = std::max<LONG>(-inside.right - 1, kMinInsetX);
    m_insets.bottom = std::max<LONG>(-inside.bottom - 1, kMinInsetY);
    RECT& client = params->rgrc[0];
    client.left += m_insets.left;
    client.top += m_insets.top;
    client.right -= m_insets.right;
    client.bottom -= m_insets.bottom;
}

void CustomMenuBar::OnNcPaint()
{
    HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc)
        return;
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    HBRUSH face = ::CreateSolidBrush(MenuBarFaceColor());
    const RECT strips[4] = {{0, 0, w, m_insets.top},
                            {0, h - m_insets.bottom, w, h},
                            {0, 0, m_insets.left, h},
                            {w - m_insets.right, 0, w, h}};
    for (const RECT& strip : strips)
        ::FillRect(dc, &strip, face);
    ::DeleteObject(face);
    ::ReleaseDC(m_hWnd, dc);
}

void CustomMenuBar::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CWVPBufferDC buffer(paint);
    buffer.FillSolidRect(&client, MenuBarFaceColor());
    DefWindowProc(WM_PAINT, WPARAM(buffer.m_hDC), 0);
}
