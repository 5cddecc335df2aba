#include "uilib/commandbars/Edit.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlEdit.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/foundation/ResourceManager.h"

IMPLEMENT_DYNCREATE(CWVPEdit, CEdit)

namespace
{
const DWORD kRtlLayoutStyle = 0x400000;
const DWORD kRightAlignedStyle = 0x1000;
// Rich edits report text changes and keep plain text with multi-level undo.
const LPARAM kRichEventMask = ENM_CHANGE;
const WPARAM kRichTextMode = TM_PLAINTEXT | TM_MULTILEVELUNDO;
} // namespace

CWVPEdit::CWVPEdit() : m_bComposition(FALSE), m_bGlass(FALSE), m_bSettingText(FALSE)
{
}

BOOL CWVPEdit::CreateEditWindow(DWORD style, CWnd* pParent)
{
    const WVPRichEditLibrary& rich = WVPRichEdit();
    const CRect empty(0, 0, 0, 0);
    if (rich.hModule && rich.pClassName)
    {
        if (!CreateEx(0, *rich.pClassName, L"", style, empty, pParent, 0))
            return FALSE;
        SendMessage(EM_SETEVENTMASK, 0, kRichEventMask);
        SendMessage(EM_SETTEXTMODE, kRichTextMode, 0);
        return TRUE;
    }
    return CreateEx(0, L"EDIT", L"", style, empty, pParent, 0);
}

void CWVPEdit::SetEditWindowText(LPCWSTR text)
{
    m_bSettingText = TRUE;
    ::SetWindowTextW(m_hWnd, L"");
    m_bSettingText = FALSE;
    ::SetWindowTextW(m_hWnd, text ? text : L"");
}

BOOL CWVPEdit::IsCommandEnabled(UINT id) const
{
    int start = 0, end = 0;
    GetSel(start, end);
    const BOOL selection = start != end;
    const DWORD style = GetStyle();
    const BOOL writable = !(style & ES_READONLY) && !(style & WS_DISABLED);
    switch (id)
    {
    case WVP_ID_EDIT_COPY:
        return selection;
    case WVP_ID_EDIT_CUT:
        return selection && writable;
    case WVP_ID_EDIT_PASTE:
        return writable && ::IsClipboardFormatAvailable(CF_TEXT);
    default:
        return TRUE;
    }
}

BOOL CWVPEdit::OnCmdMsg(UINT id, int code, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (code == CN_UPDATE_COMMAND_UI && pExtra &&
        (id == WVP_ID_EDIT_COPY || id == WVP_ID_EDIT_CUT || id == WVP_ID_EDIT_PASTE))
    {
        static_cast<CCmdUI*>(pExtra)->Enable(IsCommandEnabled(id));
        return TRUE;
    }
    return CEdit::OnCmdMsg(id, code, pExtra, pHandlerInfo);
}

BOOL CWVPEdit::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case WVP_ID_EDIT_COPY:
        SendMessage(WM_COPY);
        return TRUE;
    case WVP_ID_EDIT_CUT:
        SendMessage(WM_CUT);
        return TRUE;
    case WVP_ID_EDIT_PASTE:
        SendMessage(WM_PASTE);
        return TRUE;
    default:
        return CEdit::OnCommand(wParam, lParam);
    }
}

BOOL CWVPEdit::ShowContextMenu(CWVPControl* pControl, CPoint pt)
{
    CString cut;
    if (!WVPResourceManager()->LoadString(&cut, WVP_ID_EDIT_CUT))
        return FALSE;
    CWVPCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    CWVPMouseManager* pMouse = WVPMouseManager();
    pMouse->m_nLock--;
    ClientToScreen(&pt);
    MSG pending;
    if (::PeekMessageW(&pending, m_hWnd, EM_SETSEL, EM_SETSEL, PM_NOREMOVE))
        SetSel(0, -1, TRUE);

    CWVPPopupBar* pPopup = CWVPPopupBar::CreatePopupBar(pBar ? pBar->GetCommandBars() : nullptr);
    static const UINT kCommands[] = {WVP_ID_EDIT_CUT, WVP_ID_EDIT_COPY, WVP_ID_EDIT_PASTE};
    for (UINT id : kCommands)
    {
        CWVPControl* pButton = pPopup->GetControls()->AddByType(wvpControlButton, int(id));
        pButton->SetEnabled(IsCommandEnabled(id));
        pButton->SetFlags(pButton->GetFlags() | WVP_CONTROLFLAG_MANUALUPDATE);
    }
    pPopup->m_bHideCaret = FALSE;
    UINT flags = WVP_TRACK_RECURSE | WVP_TRACK_NONOTIFY | WVP_TRACK_RETURNCMD;
    if (pBar && pBar->GetSafeHwnd() && (pBar->GetExStyle() & (kRtlLayoutStyle | kRightAlignedStyle)))
        flags |= WVP_TRACK_RIGHTALIGN;
    const int command = CWVPPopupBar::TrackPopupBar(pPopup, flags, pt.x, pt.y, m_hWnd);
    if (command > 0 && ::IsWindow(m_hWnd))
        OnCommand(WPARAM(command), 0);

    pMouse->m_nLock++;
    pPopup->InternalRelease();
    if (pBar && pBar->GetSafeHwnd())
        pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    return TRUE;
}

int CWVPEdit::ProcessEditKey(UINT key)
{
    const BOOL control = ::GetKeyState(VK_CONTROL) < 0;
    const BOOL clipboardKey = control && (key == 'C' || key == 'V' || key == 'X' || key == 'Z');
    if (clipboardKey || key == VK_BACK || (key >= VK_PRIOR && key <= VK_DELETE))
    {
        MSG msg = {m_hWnd, WM_KEYDOWN, WPARAM(key), 0, 0, {0, 0}};
        ::IsDialogMessageW(m_hWnd, &msg);
        return 1;
    }
    return 2;
}

BOOL CWVPEdit::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message)
    {
    case WM_PAINT:
        *pResult = DefWindowProc(message, wParam, lParam);
        if (m_bGlass)
        {
            CClientDC dc(this);
            CRect rc;
            GetClientRect(rc);
            CWVPPaintManager::MakeOpaque(&dc, rc);
        }
        return TRUE;
    case WM_IME_STARTCOMPOSITION:
        *pResult = DefWindowProc(message, wParam, lParam);
        m_bComposition = TRUE;
        return TRUE;
    case WM_IME_ENDCOMPOSITION:
        *pResult = DefWindowProc(message, wParam, lParam);
        m_bComposition = FALSE;
        return TRUE;
    default:
        return CEdit::OnWndMsg(message, wParam, lParam, pResult);
    }
}
