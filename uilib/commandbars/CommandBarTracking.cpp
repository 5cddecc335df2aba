// The command bar while it tracks: entering and leaving tracking, the modal loop, the keys of a
// tracking bar (navigation, Enter, Escape, accelerator letters) and typing into keyboard tips.
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarKeyboardTip.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/KeyMatchesChar.h"
#include "uilib/commandbars/KeyboardManager.h"
#include "uilib/commandbars/MouseManager.h"

namespace
{
// A modifier the user holds: keys the hook eats may never reach the thread's key state.
BOOL IsKeyDown(int vk)
{
    return ::GetKeyState(vk) < 0 || ::GetAsyncKeyState(vk) < 0;
}

BOOL IsPopupControl(CWVPControl* pControl)
{
    return pControl && pControl->IsKindOf(RUNTIME_CLASS(CWVPControlPopup)) && pControl->GetEnabled();
}
} // namespace

BOOL CWVPCommandBar::SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard)
{
    if ((m_nTrackingMode && mode) || mode == m_nTrackingMode)
    {
        m_nTrackingMode = mode;
        return FALSE;
    }
    m_nTrackingMode = mode;
    // Leaving never makes a manager: after the exit sequence there is none to leave.
    CWVPMouseManager* mouse = mode ? WVPMouseManager() : WVPMouseManagerNA();
    if (mode)
    {
        if (m_barType == wvpBarTypeMenuBar)
            if (HWND site = GetSite())
                ::SendMessageW(site, WVP_WM_MENUBARTRACKING, WPARAM(this), 0);
        m_bMouseStartedTracking = !selectFirst && !keyboard;
        m_bKeyboardSelection = keyboard;
        if (m_bHideCaret && !m_hwndSavedFocus)
        {
            m_hwndSavedFocus = ::GetFocus();
            if (!m_hwndSavedFocus)
                m_hwndSavedFocus = GetSite();
            if (m_hwndSavedFocus)
                ::HideCaret(m_hwndSavedFocus);
        }
        mouse->AddTrackedBar(this);
        WVPKeyboardManager()->AddReceiver(this);
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
        if (selectFirst)
            SetSelected(m_pControls->GetNext(-1, 1), 2);
    }
    else
    {
        m_bMouseStartedTracking = FALSE;
        m_bKeyboardSelection = 0;
        if (mouse)
            mouse->RemoveTrackedBar(this);
        if (CWVPKeyboardManager* keyboardManager = WVPKeyboardManagerNA())
            keyboardManager->RemoveReceiver(this);
        SetPopuped(-1, FALSE);
        if (selectFirst)
            SetSelected(-1, FALSE);
        if (m_hwndSavedFocus)
        {
            if (::IsWindow(m_hwndSavedFocus))
                ::ShowCaret(m_hwndSavedFocus);
            m_hwndSavedFocus = nullptr;
        }
        Redraw();
        if (mouse && mouse->GetTrackedCount() == 0)
            mouse->m_bExpandedPopups = FALSE;
        if (m_hWnd && ::GetFocus() == m_hWnd)
            if (HWND parent = ::GetParent(m_hWnd))
                if (HWND next = ::GetNextDlgTabItem(parent, m_hWnd, FALSE))
                    ::SetFocus(next);
        m_nLockCount = 0;
    }
    if (m_pCommandBars)
        m_pCommandBars->OnTrackingModeChanged(this, mode);
    return TRUE;
}

void CWVPCommandBar::PumpTrackingMessages()
{
    // No mouse capture here: a click outside the tracked bars must reach the window clicked.
    InternalAddRef();
    CWVPMouseManager* mouse = WVPMouseManager();
    const HWND owner = GetOwnerSite();
    while (m_nTrackingMode)
    {
        // A bar or owner that went away ends the tracking and lets every hook go.
        if (!::IsWindow(m_hWnd) || (owner && !::IsWindow(owner)))
        {
            mouse->CloseTrackedBars();
            if (m_nTrackingMode)
                SetTrackingMode(0, TRUE, FALSE);
            break;
        }
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            ::WaitMessage();
            continue;
        }
        if (mouse->IsClickOutsideTrackedBars(this, &msg))
        {
            SetTrackingMode(0, TRUE, FALSE);
            break;
        }
        if (!::GetMessageW(&msg, nullptr, 0, 0))
        {
            // The thread's own loop must still see the quit request.
            ::PostQuitMessage(int(msg.wParam));
            mouse->CloseTrackedBars();
            if (m_nTrackingMode)
                SetTrackingMode(0, TRUE, FALSE);
            break;
        }
        if (!m_nTrackingMode)
        {
            ::PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
            break;
        }
        if (msg.message == WM_KICKIDLE)
            continue;
        try
        {
            CWinThread* thread = AfxGetThread();
            const BOOL consumed =
                thread ? thread->PreTranslateMessage(&msg) : CWnd::WalkPreTranslateTree(nullptr, &msg);
            if (!consumed)
            {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        catch (...)
        {
        }
    }
    InternalRelease();
}

int CWVPCommandBar::OnHookMessage(HWND, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT&)
{
    if (!m_nTrackingMode)
        return HookNotHandled;
    if (nMessage == WM_KEYDOWN)
        return OnHookKeyDown(UINT(wParam), lParam);
    if (nMessage == WM_MOUSEWHEEL)
    {
        CWVPControl* pControl = GetControl(m_nSelected);
        if (pControl && pControl->IsFocused())
        {
            pControl->OnHookMouseWheel(LOWORD(wParam), short(HIWORD(wParam)),
                                       CPoint(short(LOWORD(lParam)), short(HIWORD(lParam))));
            return HookHandled;
        }
    }
    return HookNotHandled;
}

int CWVPCommandBar::OnHookKeyDown(UINT key, LPARAM lParam)
{
    if (IsCustomizeMode() || IsHelpMode())
        return HookStop;
    if (m_nLockCount > 0)
        return HookHandled;
    if (HWND site = GetSite())
    {
        struct
        {
            UINT key;
            LPARAM lParam;
        } keyInfo = {key, lParam};
        InternalAddRef();
        const HWND hwnd = m_hWnd;
        ::SendMessageW(site, WVP_WM_TRACKINGKEYDOWN, WPARAM(&keyInfo), LPARAM(this));
        const BOOL gone = hwnd && !::IsWindow(hwnd);
        InternalRelease();
        if (gone)
            return HookHandled;
    }
    CWVPControl* pSelected = GetControl(m_nSelected);
    if (pSelected && pSelected->IsFocused())
    {
        const int answer = pSelected->OnHookKeyDown(key);
        if (answer == HookHandled || answer == HookStop)
            return answer;
    }
    if (!m_hWnd)
        return HookHandled;

    switch (key)
    {
    case VK_TAB:
        if (IsKeyDown(VK_CONTROL) && m_pCommandBars && GetRootParent()->GetType() == wvpBarTypeNormal)
            return m_pCommandBars->SetKeyboardFocus(this, IsKeyDown(VK_SHIFT) ? -1 : 1) ? HookHandled : HookNotHandled;
        ProcessSpecialKey(IsKeyDown(VK_SHIFT) ? wvpKeyPrev : wvpKeyNext);
        if (CWVPControl* pControl = GetControl(m_nSelected))
            if (pControl->IsFocusable())
                pControl->SetFocused(TRUE);
        return HookHandled;
    case VK_RETURN:
        return ProcessSpecialKey(wvpKeyReturn);
    case VK_ESCAPE:
        return ProcessSpecialKey(wvpKeyEscape);
    case VK_SPACE:
        if (ProcessSpecialKey(wvpKeySysMenu))
            return HookHandled;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END: {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(m_hWnd, focus))
            return HookStop;
        const BOOL horizontal = m_barPosition == wvpBarTop || m_barPosition == wvpBarBottom ||
                                m_barPosition == wvpBarFloating ||
                                (m_barPosition == wvpBarPopup && m_barType == wvpBarTypeNormal);
        const BOOL rtl = IsLayoutRTL();
        int code;
        switch (key)
        {
        case VK_LEFT:
            code = horizontal ? (rtl ? wvpKeyHorzNext : wvpKeyHorzPrev) : (rtl ? wvpKeyExpand : wvpKeyCollapse);
            break;
        case VK_RIGHT:
            code = horizontal ? (rtl ? wvpKeyHorzPrev : wvpKeyHorzNext) : (rtl ? wvpKeyCollapse : wvpKeyExpand);
            break;
        case VK_UP:
            code = horizontal ? wvpKeyCollapse : wvpKeyPrev;
            break;
        case VK_DOWN:
            code = horizontal ? wvpKeyExpand : wvpKeyNext;
            break;
        case VK_HOME:
            code = wvpKeyHome;
            break;
        default:
            code = wvpKeyEnd;
            break;
        }
        return ProcessSpecialKey(code);
    }
    case 0:
        return HookHandled;
    default: {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(m_hWnd, focus))
            return HookStop;
        break;
    }
    }

    // A character key.
    if (LOWORD(::MapVirtualKeyW(key, MAPVK_VK_TO_CHAR)) == 0)
        return HookHandled;
    const BOOL ctrl = IsKeyDown(VK_CONTROL);
    if (GetKeyboardTipsState() > 0 && !ctrl)
    {
        OnKeyboardTipChar(key);
        return HookHandled;
    }
    if (m_barType == wvpBarTypeNormal && m_pCommandBars && m_pCommandBars->OnFrameAccel(key))
        return HookHandled;
    if (!ctrl)
    {
        BOOL ambiguous = FALSE;
        const int index = FindAccelerator(key, &ambiguous);
        if (index != -1)
        {
            SetSelected(index, 2);
            if (!ambiguous)
                if (CWVPControl* pControl = GetControl(index))
                {
                    pControl->InternalAddRef();
                    pControl->ActivateByKeyboard();
                    pControl->InternalRelease();
                }
            return HookHandled;
        }
    }
    if (key != VK_SHIFT && key != VK_CONTROL)
        ::MessageBeep(0);
    return HookHandled;
}

int CWVPCommandBar::FindAccelerator(UINT key, BOOL* ambiguous) const
{
    *ambiguous = FALSE;
    const int count = GetControlCount();
    int accel = -1, firstLetter = -1;
    for (int step = 1; step <= count; ++step)
    {
        const int index = ((m_nSelected < 0 ? -1 : m_nSelected) + step + count) % count;
        CWVPControl* pControl = GetControl(index);
        if (!pControl->IsVisible(0) || !pControl->GetEnabled())
            continue;
        const CString caption = pControl->GetCaption();
        if (caption.IsEmpty())
            continue;
        BOOL marked = FALSE;
        const WCHAR ch = WVPCaptionAccelerator(caption, &marked);
        if (!ch || !WVPKeyMatchesChar(ch, key))
            continue;
        if (marked)
        {
            if (accel != -1)
            {
                *ambiguous = TRUE;
                return accel;
            }
            accel = index;
        }
        else if (firstLetter == -1)
            firstLetter = index;
        else
            *ambiguous = TRUE;
    }
    if (accel != -1)
    {
        *ambiguous = FALSE;
        return accel;
    }
    return firstLetter;
}

BOOL CWVPCommandBar::ProcessSpecialKey(int code)
{
    if (code == wvpKeySysMenu)
    {
        if (m_barType != wvpBarTypeMenuBar)
            return FALSE;
        WVPMouseManager()->CloseTrackedBars();
        if (HWND site = GetSite())
            ::SendMessageW(site, WM_SYSCOMMAND, SC_KEYMENU, L' ');
        return TRUE;
    }
    if (code == wvpKeyHorzPrev)
        code = wvpKeyPrev;
    else if (code == wvpKeyHorzNext)
        code = wvpKeyNext;
    if (code == wvpKeyNext || code == wvpKeyPrev)
        HideKeyboardTips();

    const BOOL popupToolBar = m_barPosition == wvpBarPopup && m_barType == wvpBarTypeNormal;
    CWVPControl* pSelected = GetControl(m_nSelected);
    if (popupToolBar && pSelected && m_nPopuped == m_nSelected)
    {
        if (code == wvpKeyNext)
            return FALSE;
        if (code == wvpKeyPrev)
            code = wvpKeyCollapse;
    }
    if (code == wvpKeyCollapse && m_nPopuped == -1 && (!GetParentCommandBar() || popupToolBar) &&
        IsPopupControl(pSelected))
        code = wvpKeyExpand;

    if ((code == wvpKeyCollapse || code == wvpKeyExpand) && m_nPopuped == -1 &&
        (popupToolBar || m_barPosition == wvpBarFloating) && !IsPopupControl(pSelected))
    {
        const int direction = code == wvpKeyExpand ? 1 : -1;
        if (!pSelected)
        {
            SetSelected(m_pControls->GetNext(-1, direction), 2);
            return TRUE;
        }
        const CRect selRow = pSelected->GetRowRect();
        const int selLeft = pSelected->GetRect().left;
        int candidate = -1;
        for (int i = m_pControls->GetNext(m_nSelected, direction); i != -1 && i != m_nSelected;
             i = m_pControls->GetNext(i, direction))
        {
            CWVPControl* pControl = GetControl(i);
            const CRect row = pControl->GetRowRect();
            if (candidate == -1)
            {
                if (row != selRow && !row.IsRectEmpty())
                    candidate = i;
                continue;
            }
            if (row != GetControl(candidate)->GetRowRect())
                break;
            const int left = pControl->GetRect().left, candLeft = GetControl(candidate)->GetRect().left;
            if ((left <= selLeft && left > candLeft) || (left >= selLeft && left < candLeft))
                candidate = i;
            else
                break;
        }
        if (candidate != -1)
            SetSelected(candidate, direction > 0 ? 2 : 3);
        return TRUE;
    }

    switch (code)
    {
    case wvpKeyNext:
        SetSelected(m_pControls->GetNext(m_nSelected, 1), 2);
        return TRUE;
    case wvpKeyPrev:
        SetSelected(m_pControls->GetNext(m_nSelected, -1), 3);
        return TRUE;
    case wvpKeyCollapse:
        if (m_nPopuped == -1)
            return FALSE;
        SetPopuped(-1, FALSE);
        SetTrackingMode(1, FALSE, FALSE);
        return TRUE;
    case wvpKeyExpand:
        if (pSelected && m_nSelected != m_nPopuped)
        {
            pSelected->OnSetSelected(2);
            return SetPopuped(m_nSelected, TRUE);
        }
        return FALSE;
    case wvpKeyEscape:
        if (GetKeyboardTipsState() >= 2)
        {
            m_pCommandBars->ShowKeyboardTips(m_pCommandBars->GetKeyboardTipsWindow(), GetKeyboardTipsState() - 1);
            return TRUE;
        }
        HideKeyboardTips();
        if (CWVPCommandBar* pParent = GetParentCommandBar())
            pParent->SetTrackingMode(1, FALSE, FALSE);
        SetTrackingMode(0, TRUE, FALSE);
        return TRUE;
    case wvpKeyReturn:
        if (pSelected)
        {
            pSelected->InternalAddRef();
            pSelected->OnSetSelected(2);
            pSelected->OnClick(TRUE);
            pSelected->InternalRelease();
        }
        return TRUE;
    case wvpKeyHome:
        SetSelected(m_pControls->GetNext(-1, 1), 2);
        return TRUE;
    case wvpKeyEnd:
        SetSelected(m_pControls->GetNext(-1, -1), 3);
        return TRUE;
    default:
        return FALSE;
    }
}

int CWVPCommandBar::GetKeyboardTipsState() const
{
    CWVPCommandBarManager* manager = GetCommandBars();
    if (!manager || manager->GetKeyboardTipsWindow() != this)
        return 0;
    return manager->GetKeyboardTipsLevel();
}

void CWVPCommandBar::HideKeyboardTips()
{
    if (CWVPCommandBarManager* manager = GetCommandBars())
        if (manager->GetKeyboardTipsWindow())
            manager->HideKeyboardTips();
}

void CWVPCommandBar::CreateKeyboardTips()
{
    CWVPCommandBarManager* manager = GetCommandBars();
    if (!manager)
        return;
    // Tips sit near the bottom-left corner of their controls.
    const int kTipOffsetX = 12, kTipOffsetY = 11;
    for (int i = 0; i < GetControlCount(); ++i)
    {
        CWVPControl* pControl = GetControl(i);
        const CString caption = pControl->GetCaption();
        if (!pControl->IsVisible(0) || caption.IsEmpty() || (pControl->GetFlags() & WVP_CONTROLFLAG_SKIPFOCUS) ||
            pControl->GetType() == wvpControlGallery)
            continue;
        const CRect rc = pControl->GetRect();
        CWVPCommandBarKeyboardTip* pTip = new CWVPCommandBarKeyboardTip(
            manager, pControl, caption, rc.left + kTipOffsetX, rc.bottom - kTipOffsetY, 0, pControl->GetEnabled() != 0);
        pTip->m_strExplicitTip = pControl->GetKeyboardTip();
        manager->GetKeyboardTips().Add(pTip);
    }
    if (GetParentCommandBar())
        return;
    // The other shown bars get a tip at their top-left corner that moves the keyboard to them.
    for (int i = 0; i < manager->GetBarCount(); ++i)
    {
        CWVPCommandBar* pBar = manager->GetBar(i);
        if (pBar == this || !pBar->GetSafeHwnd() || !pBar->IsVisible())
            continue;
        CRect rc;
        ::GetWindowRect(pBar->GetSafeHwnd(), &rc);
        manager->GetKeyboardTips().Add(
            new CWVPCommandBarKeyboardTip(manager, pBar, pBar->GetTitle(), rc.left, rc.top, 0, TRUE));
    }
}

void CWVPCommandBar::OnKeyboardTipChar(UINT key)
{
    CWVPCommandBarManager* manager = GetCommandBars();
    if (!manager)
        return;
    CArray<CWVPCommandBarKeyboardTip*, CWVPCommandBarKeyboardTip*>& tips = manager->GetKeyboardTips();
    const int prefix = manager->m_nKeyboardTipsPrefix;
    for (INT_PTR i = 0; i < tips.GetSize(); ++i)
    {
        CWVPCommandBarKeyboardTip* pTip = tips[i];
        const CString text = pTip->GetTipText();
        if (text.GetLength() <= prefix || !WVPKeyMatchesChar(text[prefix], key))
            continue;
        if (prefix + 1 == text.GetLength())
        {
            if (!pTip->IsEnabled())
                ::MessageBeep(0);
            else
                OnKeyboardTip(pTip);
            return;
        }
        const CString typed = text.Left(prefix + 1);
        manager->m_nKeyboardTipsPrefix = prefix + 1;
        for (INT_PTR j = tips.GetSize() - 1; j >= 0; --j)
        {
            if (tips[j]->GetTipText().Left(prefix + 1) == typed)
                continue;
            CWVPCommandBarKeyboardTip* pGone = tips[j];
            tips.RemoveAt(j);
            pGone->DestroyWindow();
            delete pGone;
        }
        return;
    }
    if (key != VK_SHIFT && key != VK_CONTROL)
        ::MessageBeep(0);
}

void CWVPCommandBar::OnKeyboardTip(CWVPCommandBarKeyboardTip* pTip)
{
    CCmdTarget* pOwner = pTip->GetOwner();
    if (!pOwner)
        return;
    if (pOwner->IsKindOf(RUNTIME_CLASS(CWVPControl)))
    {
        CWVPControl* pControl = static_cast<CWVPControl*>(pOwner);
        pControl->InternalAddRef();
        HideKeyboardTips();
        pControl->ActivateByKeyboard();
        pControl->InternalRelease();
    }
    else if (pOwner->IsKindOf(RUNTIME_CLASS(CWVPCommandBar)) && m_pCommandBars)
    {
        HideKeyboardTips();
        m_pCommandBars->SetKeyboardFocus(static_cast<CWVPCommandBar*>(pOwner), 0);
    }
}
