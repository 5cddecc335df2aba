#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/ImageManager.h"

IMPLEMENT_DYNCREATE(CWVPCommandBar, CWnd)

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
    EnableAutomation();
    m_pControls = static_cast<CWVPControls*>(RUNTIME_CLASS(CWVPControls)->CreateObject());
    m_pControls->SetParent(this);
}

CWVPCommandBar::~CWVPCommandBar()
{
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
    return TRUE;
}

BOOL CWVPCommandBar::IsCustomizeMode() const
{
    return m_pCommandBars && m_pCommandBars->IsCustomizeMode();
}

HWND CWVPCommandBar::GetOwnerSite() const
{
    if (m_hwndOwner)
        return m_hwndOwner;
    return m_pCommandBars ? m_pCommandBars->GetSite() : nullptr;
}

BOOL CWVPCommandBar::SetSelected(int index, BOOL keyboard)
{
    if (index == m_nSelected)
        return FALSE;
    const int previous = m_nSelected;
    m_nSelected = index;
    if (CWVPControl* pOld = m_pControls->GetAt(previous))
        pOld->OnSetSelected(0);
    if (CWVPControl* pNew = m_pControls->GetAt(index))
        pNew->OnSetSelected(keyboard ? 2 : 1);
    return TRUE;
}

BOOL CWVPCommandBar::SetPopuped(int index, BOOL keyboard)
{
    if (index == m_nPopuped)
        return TRUE;
    if (CWVPControl* pOpen = m_pControls->GetAt(m_nPopuped))
    {
        m_nPopuped = -1;
        pOpen->OnSetPopup(FALSE);
    }
    m_nPopuped = -1;
    CWVPControl* pControl = m_pControls->GetAt(index);
    if (!pControl)
        return FALSE;
    m_nTrackingMode = 2;
    SetSelected(index, keyboard);
    m_nPopuped = index;
    if (!pControl->OnSetPopup(TRUE))
    {
        m_nPopuped = -1;
        return FALSE;
    }
    return TRUE;
}

BOOL CWVPCommandBar::SetTrackingMode(int mode, BOOL, BOOL)
{
    if (mode == 0)
    {
        SetPopuped(-1);
        SetSelected(-1);
    }
    m_nTrackingMode = mode;
    return TRUE;
}

BOOL CWVPCommandBar::Popup(CWVPControl*, BOOL)
{
    // Showing a bar as a popup needs its window, which the popup bar's window code provides.
    return FALSE;
}

void CWVPCommandBar::Redraw(LPCRECT rc, BOOL)
{
    if (::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, rc, FALSE);
    else
        DelayRedraw();
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
