#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/controls/ToolTipContext.h"
#include "uilib/foundation/ImageManager.h"

IMPLEMENT_DYNCREATE(CWVPCommandBar, CWnd)

BEGIN_MESSAGE_MAP(CWVPCommandBar, CWnd)
ON_WM_MOUSEMOVE()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_INITIALUPDATE, OnIdleUpdateCmdUI)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_WM_MOUSELEAVE()
ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
ON_WM_TIMER()
ON_WM_LBUTTONUP()
ON_WM_RBUTTONUP()
ON_WM_NCMOUSEMOVE()
ON_WM_NCHITTEST()
ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

namespace
{
const CSize kAutoIconSize(16, 16);
const int kButtonPadding = 6;
} // namespace

CWVPCommandBar::CWVPCommandBar()
    : m_barType(wvpBarTypeNormal), m_barPosition(wvpBarNone), m_dwFlags(0), m_nDefaultButtonStyle(0), m_nMRUWidth(0),
      m_nRowSpacing(0), m_pControls(nullptr), m_pCommandBars(nullptr), m_pPaintManager(nullptr),
      m_pImageManager(nullptr), m_szIcons(0, 0), m_szButtons(0, 0), m_bTextBelow(FALSE), m_bCustomizable(TRUE),
      m_hwndOwner(nullptr), m_nSelected(-1), m_nPopuped(-1), m_nTrackingMode(0), m_dwLayoutFlags(0),
      m_bWrapped(FALSE), m_bMultiColumn(FALSE)
{
    m_nLockCount = 0;
    m_bIgnoreMouseLock = FALSE;
    m_bHover = TRUE;
    m_bHideCaret = TRUE;
    m_bRightButtonTracking = m_bNoNotify = m_bRecursiveTracking = FALSE;
    m_bMouseStartedTracking = FALSE;
    m_bListedInManager = FALSE;
    m_dwStyle = WVP_BARSTYLE_GRIPPER;
    m_hwndSite = nullptr;
    m_hwndSavedFocus = nullptr;
    m_bKeyboardSelection = 0;
    m_nRedrawLock = 0;
    m_pToolTipContext = nullptr;
    EnableAutomation();
    m_pControls = static_cast<CWVPControls*>(RUNTIME_CLASS(CWVPControls)->CreateObject());
    m_pControls->SetParent(this);
}

CWVPCommandBar::~CWVPCommandBar()
{
    ReleaseTracking();
    if (m_pControls)
    {
        m_pControls->RemoveAll();
        m_pControls->SetParent(nullptr);
        m_pControls->InternalRelease();
    }
    if (m_pPaintManager)
        m_pPaintManager->InternalRelease();
    if (m_pImageManager)
        m_pImageManager->InternalRelease();
    if (m_pToolTipContext)
        m_pToolTipContext->InternalRelease();
}

CWVPPaintManager* CWVPCommandBar::GetPaintManager() const
{
    if (m_pPaintManager)
        return m_pPaintManager;
    if (m_pCommandBars)
        return m_pCommandBars->GetPaintManager();
    return CWVPPaintManager::GetInstance();
}

void CWVPCommandBar::SetPaintManager(CWVPPaintManager* paintManager)
{
    if (m_pPaintManager)
        m_pPaintManager->InternalRelease();
    m_pPaintManager = paintManager;
}

CWVPImageManager* CWVPCommandBar::GetImageManager() const
{
    if (m_pImageManager)
        return m_pImageManager;
    if (m_pCommandBars)
        return m_pCommandBars->GetImageManager();
    return WVPImageManager();
}

void CWVPCommandBar::SetImageManager(CWVPImageManager* imageManager)
{
    if (m_pImageManager)
        m_pImageManager->InternalRelease();
    m_pImageManager = imageManager;
}

CSize CWVPCommandBar::GetIconSize() const
{
    return m_szIcons.cx > 0 && m_szIcons.cy > 0 ? m_szIcons : kAutoIconSize;
}

CSize CWVPCommandBar::GetButtonSize() const
{
    if (m_szButtons.cx > 0 && m_szButtons.cy > 0)
        return m_szButtons;
    const CSize icon = GetIconSize();
    return CSize(icon.cx + kButtonPadding, icon.cy + kButtonPadding);
}

CSize CWVPCommandBar::GetLargeIconSize() const
{
    if (m_szIcons.cx > 0 && m_szIcons.cy > 0)
        return CSize(m_szIcons.cx * 2, m_szIcons.cy * 2);
    return CSize(32, 32);
}

BOOL CWVPCommandBar::IsKeyboardCuesVisible() const
{
    return m_pCommandBars ? m_pCommandBars->IsKeyboardCuesVisible() : TRUE;
}

BOOL CWVPCommandBar::IsCustomizeMode() const
{
    return m_pCommandBars && m_pCommandBars->IsCustomizeMode();
}

HWND CWVPCommandBar::GetOwnerSite() const
{
    for (const CWVPCommandBar* pBar = this; pBar; pBar = pBar->GetParentCommandBar())
    {
        if (pBar->m_hwndOwner)
            return pBar->m_hwndOwner;
        if (pBar->m_hWnd && ::IsWindow(pBar->m_hWnd))
            if (HWND owner = ::GetWindow(pBar->m_hWnd, GW_OWNER))
                return owner;
    }
    return GetSite();
}

HWND CWVPCommandBar::GetSite() const
{
    if (m_pCommandBars)
        return m_pCommandBars->GetSite();
    const CWVPCommandBar* pRoot = GetRootParent();
    if (pRoot->m_hwndSite)
        return pRoot->m_hwndSite;
    if (pRoot->m_hWnd && ::IsWindow(pRoot->m_hWnd))
    {
        if (HWND owner = ::GetWindow(pRoot->m_hWnd, GW_OWNER))
            return owner;
        if (HWND parent = ::GetParent(pRoot->m_hWnd))
            return parent;
    }
    CWnd* pMain = AfxGetMainWnd();
    return pMain ? pMain->GetSafeHwnd() : nullptr;
}

CWVPCommandBar* CWVPCommandBar::GetRootParent() const
{
    const CWVPCommandBar* pBar = this;
    while (CWVPCommandBar* pParent = pBar->GetParentCommandBar())
        pBar = pParent;
    return const_cast<CWVPCommandBar*>(pBar);
}

int CWVPCommandBar::GetControlCount() const
{
    return m_pControls ? m_pControls->GetCount() : 0;
}

CWVPControl* CWVPCommandBar::GetControl(int index) const
{
    return m_pControls ? m_pControls->GetAt(index) : nullptr;
}

BOOL CWVPCommandBar::IsLayoutRTL() const
{
    return m_hWnd && (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0;
}

void CWVPCommandBar::OnControlsReset()
{
    DelayLayout();
    m_nSelected = -1;
    m_nPopuped = -1;
}

BOOL CWVPCommandBar::LoadMenu(CMenu* pMenu, BOOL replace)
{
    const HMENU hMenu = pMenu ? pMenu->GetSafeHmenu() : nullptr;
    if (!hMenu || !::IsMenu(hMenu))
        return FALSE;
    const int count = ::GetMenuItemCount(hMenu);
    if (count < 0)
        return FALSE;
    if (replace)
        m_pControls->RemoveAll();
    BOOL beginGroup = FALSE, breakColumn = FALSE;
    for (int i = 0; i < count; ++i)
    {
        MENUITEMINFOW info = {sizeof info};
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        ::GetMenuItemInfoW(hMenu, UINT(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR)
        {
            beginGroup = TRUE;
            continue;
        }
        if (info.fType & (MFT_MENUBREAK | MFT_MENUBARBREAK))
            breakColumn = TRUE;
        CWVPControl* pControl = m_pControls->AddMenuItem(pMenu, i);
        if (!pControl)
            continue;
        if (beginGroup)
            pControl->SetBeginGroup(TRUE);
        if (breakColumn)
            pControl->SetFlags(pControl->GetFlags() | WVP_CONTROLFLAG_WRAPROW);
        // The menu's own check marks and disabled items show as they are.
        if (info.fState & MFS_CHECKED)
            pControl->SetChecked(TRUE);
        if (info.fState & MFS_DISABLED)
            pControl->SetEnabled(FALSE);
        beginGroup = breakColumn = FALSE;
    }
    return TRUE;
}
