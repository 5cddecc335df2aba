#include "app/shell/HyperLink.h"

#include <shellapi.h>

namespace
{
const UINT_PTR kToolId = 1;
const DWORD kRegisteredTextBytes = 260;
const INT_PTR kShellSuccessAbove = 32;
const int kFallbackSuccess = 33;

INT_PTR DefaultShellOpen(HWND owner, LPCWSTR address, int show)
{
    return (INT_PTR)::ShellExecuteW(owner, L"open", address, nullptr, nullptr, show);
}

// Starts a whole command line as the system's program start does; answers its code (33 on success).
UINT DefaultStartCommand(LPCWSTR commandLine, int show)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = (WORD)show;
    PROCESS_INFORMATION process = {};
    CString line(commandLine);
    if (!::CreateProcessW(nullptr, line.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    {
        const DWORD error = ::GetLastError();
        return error <= (DWORD)kShellSuccessAbove ? (UINT)error : 0;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return kFallbackSuccess;
}

// The default value of a key of HKEY_CLASSES_ROOT; false when the key cannot be opened.
bool ReadClassesRootDefault(LPCWSTR keyName, CString& value)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    wchar_t data[kRegisteredTextBytes / sizeof(wchar_t) + 1] = {0};
    DWORD size = kRegisteredTextBytes;
    const LONG result = ::RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(key);
    value = result == ERROR_SUCCESS ? data : L"";
    return true;
}

struct ShellError
{
    INT_PTR code;
    LPCWSTR text;
};

const ShellError kShellErrors[] = {
    {0, L"The operating system is out\nof memory or resources."},
    {SE_ERR_FNF, L"The specified file was not found."},
    {SE_ERR_PNF, L"The specified path was not found."},
    {SE_ERR_ACCESSDENIED, L"The operating system denied\naccess to the specified file."},
    {SE_ERR_OOM, L"There was not enough memory to complete the operation."},
    {ERROR_BAD_FORMAT, L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {SE_ERR_SHARE, L"A sharing violation occurred. "},
    {SE_ERR_ASSOCINCOMPLETE, L"The filename association is\nincomplete or invalid."},
    {SE_ERR_DDETIMEOUT, L"The DDE transaction could not\nbe completed because the request timed out."},
    {SE_ERR_DDEFAIL, L"The DDE transaction failed."},
    {SE_ERR_DDEBUSY, L"The DDE transaction could not\nbe completed because other DDE transactions\nwere being "
                     L"processed."},
    {SE_ERR_NOASSOC, L"There is no application associated\nwith the given filename extension."},
    {SE_ERR_DLLNOTFOUND, L"The specified dynamic-link library was not found."},
};

// The text as UTF-16 text on the clipboard.
void CopyTextToClipboard(HWND owner, LPCWSTR address)
{
    if (!::OpenClipboard(owner))
        return;
    const size_t bytes = ((size_t)::lstrlenW(address) + 1) * sizeof(wchar_t);
    if (HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes))
    {
        if (void* data = ::GlobalLock(block))
        {
            ::CopyMemory(data, address, bytes);
            ::GlobalUnlock(block);
            ::EmptyClipboard();
            if (!::SetClipboardData(CF_UNICODETEXT, block))
                ::GlobalFree(block);
        }
        else
            ::GlobalFree(block);
    }
    ::CloseClipboard();
}

bool StartsWithNoCase(LPCWSTR text, LPCWSTR prefix)
{
    const int length = ::lstrlenW(prefix);
    return ::lstrlenW(text) >= length &&
           ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, text, length, prefix, length) == CSTR_EQUAL;
}
} // namespace

CHyperLink::ShellOpenFn CHyperLink::s_shellOpen = DefaultShellOpen;
CHyperLink::StartCommandFn CHyperLink::s_startCommand = DefaultStartCommand;
CHyperLink::CopyTextFn CHyperLink::s_copyText = CopyTextToClipboard;

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_SETCURSOR()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CHyperLink::CHyperLink() : m_crHoverColour(::GetSysColor(COLOR_HIGHLIGHT))
{
}

CHyperLink::~CHyperLink()
{
    if (m_hLinkCursor)
        ::DestroyCursor(m_hLinkCursor);
}

bool CHyperLink::IsWebAddress(LPCWSTR address)
{
    if (!address || !(StartsWithNoCase(address, L"http://") || StartsWithNoCase(address, L"https://")))
        return false;
    // A quotation mark or a control character could end the quoted address on a command line.
    for (LPCWSTR p = address; *p; ++p)
        if (*p == L'"' || *p < L' ')
            return false;
    return true;
}

CString CHyperLink::BrowserCommand(LPCWSTR registeredCommand, LPCWSTR address)
{
    CString command(registeredCommand);
    int cut = command.Find(L"\"%1\"");
    if (cut < 0)
        cut = command.Find(L"%1");
    if (cut >= 0)
        command = command.Left(cut);
    command += L" \"";
    command += address;
    command += L"\"";
    return command;
}

CString CHyperLink::ErrorText(INT_PTR code)
{
    CString reason;
    for (const ShellError& error : kShellErrors)
        if (error.code == code)
            reason = error.text;
    if (reason.IsEmpty())
        reason.Format(L"Unknown Error (%d) occurred.", (int)code);
    return CString(L"Unable to open hyperlink:\n\n") + reason;
}

void CHyperLink::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    CString text;
    GetWindowText(text);
    if (m_strURL.IsEmpty())
        m_strURL = text;
    if (text.IsEmpty())
        SetWindowText(m_strURL);
    SetUnderline(m_bUnderline);
    PositionWindow();
    LoadHandCursor();
    if (m_ToolTip.Create(this))
    {
        CRect client;
        GetClientRect(&client);
        m_ToolTip.AddTool(this, m_strURL, &client, kToolId);
    }
    CStatic::PreSubclassWindow();
}

BOOL CHyperLink::PreTranslateMessage(MSG* msg)
{
    if (m_ToolTip.m_hWnd)
        m_ToolTip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

void CHyperLink::SetURL(LPCWSTR address)
{
    m_strURL = address;
    if (!::IsWindow(m_hWnd))
        return;
    PositionWindow();
    if (m_ToolTip.m_hWnd)
        m_ToolTip.UpdateTipText(m_strURL, this, kToolId);
}

void CHyperLink::SetUnderline(BOOL underline)
{
    m_bUnderline = underline;
    if (!::IsWindow(m_hWnd))
        return;
    HFONT current = (HFONT)SendMessage(WM_GETFONT);
    LOGFONTW font = {};
    ::GetObjectW(current ? (HGDIOBJ)current : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    font.lfUnderline = (BYTE)(underline ? TRUE : FALSE);
    // The window keeps using the old font until it has the new one.
    CFont replacement;
    if (!replacement.CreateFontIndirect(&font))
        return;
    SendMessage(WM_SETFONT, (WPARAM)replacement.m_hObject, TRUE);
    m_Font.DeleteObject();
    m_Font.Attach(replacement.Detach());
}

void CHyperLink::PositionWindow()
{
    if (!m_bAdjustToFit || !::IsWindow(m_hWnd))
        return;
    CRect rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&rect);

    CString text;
    GetWindowText(text);
    CClientDC dc(this);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, (HGDIOBJ)SendMessage(WM_GETFONT));
    SIZE extent = {};
    ::GetTextExtentPoint32W(dc.m_hDC, text, text.GetLength(), &extent);
    ::SelectObject(dc.m_hDC, old);

    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE)
    {
        const int spare = rect.Height() - extent.cy;
        rect.top += spare / 2;
        rect.bottom = rect.top + extent.cy;
    }
    else
        rect.bottom = rect.top + extent.cy;

    const DWORD alignment = style & 0x3;
    if (alignment == SS_CENTER)
    {
        const int spare = rect.Width() - extent.cx;
        rect.left += spare / 2;
        rect.right = rect.left + extent.cx;
    }
    else if (alignment == SS_RIGHT)
        rect.left = rect.right - extent.cx;
    else
        rect.right = rect.left + extent.cx;
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHyperLink::LoadHandCursor()
{
    if (m_hLinkCursor)
        return;
    if (HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND))
        m_hLinkCursor = (HCURSOR)::CopyIcon(hand);
}

BOOL CHyperLink::OnSetCursor(CWnd*, UINT, UINT)
{
    if (!m_hLinkCursor)
        return FALSE;
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

void CHyperLink::OnMouseMove(UINT, CPoint point)
{
    Default();
    const UINT redraw = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
    if (m_bOverControl)
    {
        CRect client;
        GetClientRect(&client);
        if (!client.PtInRect(point))
        {
            m_bOverControl = FALSE;
            ::ReleaseCapture();
            ::RedrawWindow(m_hWnd, nullptr, nullptr, redraw);
        }
    }
    else
    {
        m_bOverControl = TRUE;
        ::RedrawWindow(m_hWnd, nullptr, nullptr, redraw);
        ::SetCapture(m_hWnd);
    }
}

HBRUSH CHyperLink::CtlColor(CDC* dc, UINT)
{
    COLORREF colour = m_bOverControl ? m_crHoverColour : m_bVisited ? m_crVisitedColour : m_crLinkColour;
    ::SetTextColor(dc->m_hDC, colour);
    ::SetBkMode(dc->m_hDC, TRANSPARENT);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

void CHyperLink::OnClicked()
{
    const INT_PTR result = GotoURL(m_strURL, SW_SHOW);
    if (result > kShellSuccessAbove)
    {
        m_bVisited = TRUE;
        Invalidate(TRUE);
        return;
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    ReportError(result);
    s_copyText(m_hWnd, m_strURL);
}

INT_PTR CHyperLink::GotoURL(LPCWSTR address, int show)
{
    if (!IsWebAddress(address))
        return SE_ERR_ACCESSDENIED;
    const INT_PTR shellResult = s_shellOpen(m_hWnd, address, show);
    if (shellResult > kShellSuccessAbove)
        return shellResult;

    CString fileClass;
    if (!ReadClassesRootDefault(L".htm", fileClass) || fileClass.IsEmpty())
        return shellResult;
    CString registered;
    if (!ReadClassesRootDefault(fileClass + L"\\shell\\open\\command", registered) || registered.IsEmpty())
        return shellResult;
    return (INT_PTR)s_startCommand(BrowserCommand(registered, address), show);
}

void CHyperLink::ReportError(INT_PTR code)
{
    AfxMessageBox(ErrorText(code), MB_ICONEXCLAMATION);
}
