#include "platform/mfc/CmdUI.h"

#include "platform/mfc/Menu.h"
#include "platform/mfc/Wnd.h"

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_pMenu(nullptr), m_pSubMenu(nullptr), m_pParentMenu(nullptr), m_pOther(nullptr),
      m_nIndexMax(0), m_bEnableChanged(FALSE), m_bContinueRouting(FALSE)
{
}

void CCmdUI::Enable(BOOL on)
{
    if (m_pMenu)
    {
        if (!m_pSubMenu)
            m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    }
    else if (m_pOther && m_pOther->m_hWnd)
    {
        // A control losing its enabled state while it has the focus hands the focus on first.
        if (!on && ::GetFocus() == m_pOther->m_hWnd)
        {
            HWND parent = ::GetParent(m_pOther->m_hWnd);
            if (parent)
                ::SendMessageW(parent, WM_NEXTDLGCTL, 0, FALSE);
        }
        ::EnableWindow(m_pOther->m_hWnd, on);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check)
{
    if (m_pMenu)
    {
        if (!m_pSubMenu)
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    }
    else if (m_pOther && m_pOther->m_hWnd)
    {
        if (::SendMessageW(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
            ::SendMessageW(m_pOther->m_hWnd, BM_SETCHECK, (WPARAM)check, 0);
    }
}

void CCmdUI::SetRadio(BOOL on)
{
    if (m_pMenu)
    {
        if (m_pSubMenu)
            return;
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        if (::GetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info))
        {
            info.fType |= MFT_RADIOCHECK;
            ::SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
        }
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_CHECKED : MF_UNCHECKED));
        return;
    }
    SetCheck(on ? 1 : 0);
}

void CCmdUI::SetText(LPCWSTR text)
{
    if (m_pMenu)
    {
        if (m_pSubMenu)
            return;
        UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
        state &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP);
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
    }
    else if (m_pOther && m_pOther->m_hWnd)
    {
        m_pOther->SetWindowText(text);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler)
{
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE; // separators and invalid ids are left alone

    m_bEnableChanged = FALSE;
    m_bContinueRouting = FALSE;
    BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (m_bContinueRouting)
        handled = FALSE;

    if (!handled && disableIfNoHandler && !m_bEnableChanged)
    {
        AFX_CMDHANDLERINFO info = {};
        BOOL hasCommand = target->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(hasCommand);
        m_bEnableChanged = TRUE;
    }
    return handled;
}
