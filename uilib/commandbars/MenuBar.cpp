#include "uilib/commandbars/MenuBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/HookManager.h"
#include "uilib/commandbars/MouseManager.h"

IMPLEMENT_DYNCREATE(CWVPMenuBar, CWVPToolBar)

namespace
{
// The system command of the menu key, and its lParam when no character came with it.
const WPARAM kKeyMenuCommand = 0xF100;
const WPARAM kSysCommandMask = 0xFFF0;
} // namespace

CWVPMenuBar::CWVPMenuBar()
    : m_bMDIFrame(FALSE), m_hwndHookedChild(nullptr), m_hMenuDefault(nullptr), m_nResourceId(0), m_nCurrentMenuId(0)
{
    m_barType = wvpBarTypeMenuBar;
    SetBarID(1);
    SetCloseable(FALSE);
    m_dwFlags = WVP_MENUBAR_FLAGS;
}

CWVPMenuBar::~CWVPMenuBar()
{
    WVPHookManager()->RemoveHookable(this);
    if (m_hMenuDefault)
        ::DestroyMenu(m_hMenuDefault);
}

BOOL CWVPMenuBar::LoadMenuBar(UINT id)
{
    if (id)
    {
        HMENU menu = ::LoadMenuW(AfxFindResourceHandle(MAKEINTRESOURCEW(id), RT_MENU), MAKEINTRESOURCEW(id));
        if (!menu)
            return FALSE;
        const BOOL loaded = LoadMenu(CMenu::FromHandle(menu), TRUE);
        ::DestroyMenu(menu);
        if (!loaded)
            return FALSE;
        m_nResourceId = m_nCurrentMenuId = id;
    }
    HookFrameWindows();
    const HWND site = GetSite();
    if (::IsWindow(site))
    {
        if (HMENU frameMenu = ::GetMenu(site))
        {
            if (m_hMenuDefault && m_hMenuDefault != frameMenu)
                ::DestroyMenu(m_hMenuDefault);
            m_hMenuDefault = frameMenu;
        }
        ::SetMenu(site, nullptr);
    }
    return TRUE;
}

void CWVPMenuBar::HookFrameWindows()
{
    const HWND site = GetSite();
    if (!::IsWindow(site))
        return;
    CWnd* pSite = CWnd::FromHandlePermanent(site);
    m_bMDIFrame = pSite && pSite->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd));
    WVPHookManager()->SetHook(site, this);
    if (m_bMDIFrame)
    {
        const HWND client = static_cast<CMDIFrameWnd*>(pSite)->m_hWndMDIClient;
        if (::IsWindow(client))
            WVPHookManager()->SetHook(client, this);
    }
}

BOOL CWVPMenuBar::OnKeyMenu()
{
    CWVPMouseManager* mouse = WVPMouseManagerNA();
    if (!IsBarShown(this) || (mouse && mouse->IsLocked()) || (::GetKeyState(VK_SHIFT) < 0) || IsCustomizeMode())
        return FALSE;
    if (!OnFrameAccel(VK_MENU) && m_pCommandBars)
        m_pCommandBars->SetKeyboardFocus(this, 0);
    return TRUE;
}

int CWVPMenuBar::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    switch (nMessage)
    {
    case WM_SYSCOMMAND:
        if ((wParam & kSysCommandMask) == kKeyMenuCommand && lParam == 0 && OnKeyMenu())
        {
            lResult = 0;
            return HookHandled;
        }
        break;
    case WM_MDISETMENU:
        // The bar stands for the frame's menu: a menu the MDI frame would set is not shown.
        if (IsVisible())
        {
            ::SetMenu(GetSite(), nullptr);
            wParam = 0;
            lResult = 0;
            return HookHandled;
        }
        if (!::GetMenu(GetSite()))
        {
            wParam = 0;
            lResult = 0;
            return HookHandled;
        }
        return HookNotHandled;
    default:
        break;
    }
    return CWVPToolBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}
