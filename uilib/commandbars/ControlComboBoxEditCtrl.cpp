#include "uilib/commandbars/ControlComboBoxEditCtrl.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/ControlComboBox.h"
#include "uilib/commandbars/ControlEdit.h"

#include <windowsx.h>

namespace
{
// Asked by tooltip windows: the answer 1 makes them treat the edit as part of its parent.
const UINT kTooltipParentQuery = 10824;
} // namespace

void CWVPControlComboBoxEditCtrl::UpdateCharFormat()
{
    if (!m_pControl || !::IsWindow(m_hWnd))
        return;
    CHARFORMAT2W cf;
    m_pControl->FillCharFormat(cf);
    cf.cbSize = WVPRichEdit().bRich20 ? sizeof(CHARFORMAT2W) : sizeof(CHARFORMATW);
    SendMessage(EM_SETCHARFORMAT, 0, LPARAM(&cf));
    SendMessage(EM_SETBKGNDCOLOR, 0, LPARAM(cf.crBackColor));
}

BOOL CWVPControlComboBoxEditCtrl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWVPControlComboBox* pControl = m_pControl;
    CWVPCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    const BOOL customize = pControl && pControl->IsCustomizeMode();
    switch (message)
    {
    case kTooltipParentQuery:
        *pResult = 1;
        return TRUE;
    case WVP_WM_SHELLDROPDOWNSHOWN:
        if (pControl && pControl->GetCommandBar())
            pControl->GetCommandBar()->SetTrackingMode(0);
        *pResult = 0;
        return TRUE;
    case WM_SETFOCUS:
        if (!pControl || customize)
            break;
        pControl->OnSetFocus(HWND(wParam));
        *pResult = DefWindowProc(message, wParam, lParam);
        SendMessage(EM_SETSEL, 0, 0);
        SendMessage(EM_SCROLLCARET);
        PostMessage(EM_SETSEL, 0, -1);
        return TRUE;
    case WM_KILLFOCUS:
        m_bComposition = FALSE;
        *pResult = DefWindowProc(message, wParam, lParam);
        if (pControl)
            pControl->OnKillFocus();
        return TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN && pControl && ::GetFocus() == m_hWnd)
        {
            pControl->OnExecute();
            *pResult = 0;
            return TRUE;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r' || wParam == L'\n')
        {
            *pResult = 0;
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (pControl && customize)
        {
            if (pControl->IsCustomizeMovable())
            {
                CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
                MapWindowPoints(pBar, &pt, 1);
                pControl->OnClick(FALSE, pt);
            }
            *pResult = 0;
            return TRUE;
        }
        break;
    case WM_RBUTTONDOWN:
        if (pControl && pBar && !customize)
        {
            // The list closes before the menu shows.
            if (pControl->GetCommandBar())
                pControl->GetCommandBar()->SetTrackingMode(0);
            SetFocus();
            if (ShowContextMenu(pControl, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))
            {
                *pResult = 0;
                return TRUE;
            }
        }
        else if (pControl && pBar)
        {
            CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            MapWindowPoints(pBar, &pt, 1);
            pBar->SendMessage(WM_RBUTTONDOWN, wParam, MAKELPARAM(pt.x, pt.y));
            *pResult = 0;
            return TRUE;
        }
        break;
    case WM_CONTEXTMENU:
        *pResult = 0;
        return TRUE;
    case WM_MOUSEMOVE:
        if (pBar && pBar->GetSafeHwnd())
        {
            CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            MapWindowPoints(pBar, &pt, 1);
            pBar->OnMouseMove(UINT(wParam), pt);
        }
        break;
    case WM_DESTROY:
        if (pControl)
            pControl->StoreWindowText();
        break;
    default:
        break;
    }
    return CWVPEdit::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CWVPControlComboBoxEditCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (!m_pControl || message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE)
        return CWVPEdit::OnChildNotify(message, wParam, lParam, pResult);
    m_pControl->MarkTextStale();
    // Text the combo box sets from a new selection is no user change either.
    if (::GetFocus() == m_hWnd && !m_bSettingText && !m_pControl->m_bUpdating)
        m_pControl->OnEditTextChanged();
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    UpdateCharFormat();
    if (pResult)
        *pResult = 0;
    return TRUE;
}
