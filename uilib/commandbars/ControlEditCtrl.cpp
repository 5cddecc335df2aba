#include "uilib/commandbars/ControlEditCtrl.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/ControlEdit.h"
#include "uilib/commandbars/PaintManager.h"

#include <windowsx.h>

#include <algorithm>

namespace
{
// Asked by tooltip windows: the answer 1 makes them treat the edit as part of its parent.
const UINT kTooltipParentQuery = 10824;
// The sizes of the rich edit's character format records, 2.0 and 1.0.
const UINT kCharFormat2Size = sizeof(CHARFORMAT2W);
const UINT kCharFormat1Size = sizeof(CHARFORMATW);
} // namespace

void CWVPControlEditCtrl::UpdateCharFormat()
{
    if (!m_pControl || !::IsWindow(m_hWnd))
        return;
    CHARFORMAT2W cf;
    m_pControl->FillCharFormat(cf);
    cf.cbSize = WVPRichEdit().bRich20 ? kCharFormat2Size : kCharFormat1Size;
    SendMessage(EM_SETCHARFORMAT, 0, LPARAM(&cf));
    SendMessage(EM_SETBKGNDCOLOR, 0, LPARAM(cf.crBackColor));
}

BOOL CWVPControlEditCtrl::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWVPControlEdit* pControl = m_pControl;
    CWVPCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    const BOOL customize = pControl && pControl->IsCustomizeMode();
    switch (message)
    {
    case kTooltipParentQuery:
        *pResult = 1;
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
        // A single-line field takes no line breaks from the keyboard.
        if ((wParam == L'\r' || wParam == L'\n') && !(GetStyle() & ES_MULTILINE))
        {
            *pResult = 0;
            return TRUE;
        }
        break;
    case WM_PASTE:
        if (!(GetStyle() & ES_MULTILINE) && PasteFirstLine())
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
        if (pControl && pBar)
        {
            CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (customize)
            {
                MapWindowPoints(pBar, &pt, 1);
                pBar->SendMessage(WM_RBUTTONDOWN, wParam, MAKELPARAM(pt.x, pt.y));
                *pResult = 0;
                return TRUE;
            }
            SetFocus();
            if (ShowContextMenu(pControl, pt))
            {
                *pResult = 0;
                return TRUE;
            }
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

BOOL CWVPControlEditCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && m_pControl)
    {
        m_pControl->MarkTextStale();
        if (::GetFocus() == m_hWnd && !m_bSettingText)
            m_pControl->OnEditTextChanged();
        SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        UpdateCharFormat();
        if (pResult)
            *pResult = 0;
        return TRUE;
    }
    return CWVPEdit::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWVPControlEditCtrl::PasteFirstLine()
{
    if (!::OpenClipboard(m_hWnd))
        return FALSE;
    CString line;
    BOOL found = FALSE;
    HANDLE hData = ::GetClipboardData(CF_UNICODETEXT);
    if (hData)
    {
        const SIZE_T bytes = ::GlobalSize(hData);
        LPCWSTR text = static_cast<LPCWSTR>(::GlobalLock(hData));
        if (text)
        {
            // Up to the first NUL or line break, and never past the clipboard block.
            const SIZE_T limit = bytes / sizeof(WCHAR);
            SIZE_T length = 0;
            while (length < limit && text[length] && text[length] != L'\r' && text[length] != L'\n')
                ++length;
            line = CString(text, int(length));
            found = TRUE;
            ::GlobalUnlock(hData);
        }
    }
    ::CloseClipboard();
    if (!found)
        return FALSE;
    // Not beyond the field's limit (a rich edit would take the whole text from a replacement).
    int start = 0, end = 0;
    GetSel(start, end);
    const int kept = ::GetWindowTextLengthW(m_hWnd) - (end - start);
    const int room = std::max(0, int(GetLimitText()) - kept);
    if (line.GetLength() > room)
        line = line.Left(room);
    ReplaceSel(line, TRUE);
    return TRUE;
}
