// CWnd: the framework's window object. It binds one window handle through the thread's handle
// map, receives every message through AfxWndProc and its message map, routes commands and
// notifications, reflects notifications back to the controls that sent them, and wraps the
// window operations the rest of the program uses.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/mfc/Object.h"
#include "platform/mfc/String.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Rect.h"
#include "platform/mfc/DC.h"
#include "platform/mfc/Menu.h"

class CFrameWnd;
class CFile;
class COleControlSite;

// The system headers make GetNextWindow a macro, which would rename CWnd's member: a function
// takes its place.
#ifdef GetNextWindow
#undef GetNextWindow
inline HWND GetNextWindow(HWND hWnd, UINT cmd)
{
    return ::GetWindow(hWnd, cmd);
}
#endif
class CScrollBar;
class CDataExchange;
struct CCreateContext;

// Private messages of the window layer.
const UINT WM_QUERYAFXWNDPROC = 0x0360; // answered 1 by every window of the framework
const UINT WM_SIZEPARENT = 0x0361;      // frame layout: lParam is an AFX_SIZEPARENTPARAMS
const UINT WM_SETMESSAGESTRING = 0x0362; // status line: wParam a string id or lParam a text
const UINT WM_IDLEUPDATECMDUI = 0x0363; // idle update: wParam TRUE to disable items without handler
const UINT WM_INITIALUPDATE = 0x0364;
const UINT WM_COMMANDHELP = 0x0365;
const UINT WM_HELPHITTEST = 0x0366;
const UINT WM_EXITHELPMODE = 0x0367;
const UINT WM_RECALCPARENT = 0x0368;
const UINT WM_SIZECHILD = 0x0369;
const UINT WM_KICKIDLE = 0x036A;        // sent to a modal dialog's owner to run its idle work
const UINT WM_QUERYCENTERWND = 0x036B;
const UINT WM_DISABLEMODAL = 0x036C;
const UINT WM_FLOATSTATUS = 0x036D;     // wParam FS_* flags
const UINT WM_ACTIVATETOPLEVEL = 0x036E;
const UINT WM_POPMESSAGESTRING = 0x0375; // status line: restore the previous text

// WM_FLOATSTATUS flags.
const UINT FS_SHOW = 0x01;
const UINT FS_HIDE = 0x02;
const UINT FS_ACTIVATE = 0x04;
const UINT FS_DEACTIVATE = 0x08;
const UINT FS_ENABLE = 0x10;
const UINT FS_DISABLE = 0x20;
const UINT FS_SYNCACTIVE = 0x40;

// The record of WM_SIZEPARENT: the space left for the client and the deferred positions.
struct AFX_SIZEPARENTPARAMS
{
    HDWP hDWP;
    RECT rect;   // space that is still free (parent client coordinates)
    SIZE sizeTotal; // total width and height of the bars laid out so far
    BOOL bStretch;
};

// Window procedure of every framework window, and its address for comparisons.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC AFXAPI AfxGetAfxWndProc();
LRESULT AFXAPI AfxCallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Makes the next window created on this thread belong to the object.
void AFXAPI AfxHookWindowCreate(CWnd* wnd);
BOOL AFXAPI AfxUnhookWindowCreate();
// Registers (once) a window class for the given styles, cursor, background and icon and answers its name.
LPCWSTR AFXAPI AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                   HICON icon = nullptr);
BOOL AFXAPI AfxRegisterClass(WNDCLASSW* wndClass);
// Takes, pre-translates and dispatches one message; false on WM_QUIT.
BOOL AFXAPI AfxPumpMessage();
// The window class of plain framework windows.
extern const wchar_t AFX_WND_CLASS[];

// Ids of the standard repositioning of RepositionBars.
const UINT AFX_IDW_PANE_FIRST = 0xE900;
const UINT AFX_IDW_PANE_LAST = 0xE9FF;
const UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800;
const UINT AFX_IDW_CONTROLBAR_LAST = 0xE8FF;

class CWnd : public CCmdTarget
{
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    explicit CWnd(HWND hWnd);
    virtual ~CWnd();

    HWND m_hWnd;
    HWND m_hWndOwner;  // owner of a child window (SetOwner)
    WNDPROC m_pfnSuper; // the window's previous procedure
    UINT m_nFlags;      // WF_* flags below
    int m_nModalResult;
    COleControlSite* m_pCtrlSite; // the ActiveX control this window hosts (CreateControl)

    enum
    {
        WF_TOOLTIPS = 0x0001,   // EnableToolTips is on
        WF_TEMPHIDE = 0x0002,
        WF_STAYDISABLED = 0x0004,
        WF_MODALLOOP = 0x0008,  // RunModalLoop is running
        WF_CONTINUEMODAL = 0x0010,
        WF_STAYACTIVE = 0x0020, // a frame keeps its active caption (its floating window is active)
        WF_OLECTLCONTAINER = 0x0100,
        WF_TRACKINGTOOLTIPS = 0x0400,
        WF_NOPOPMSG = 0x4000,
    };

    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    operator HWND() const noexcept { return this ? m_hWnd : nullptr; }
    HWND GetSafeHwnd() const noexcept { return this ? m_hWnd : nullptr; }
    BOOL operator==(const CWnd& other) const { return other.m_hWnd == m_hWnd; }
    BOOL operator!=(const CWnd& other) const { return other.m_hWnd != m_hWnd; }

    // Handle maps
    static CWnd* PASCAL FromHandle(HWND hWnd);
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Creation and destruction
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                        CCreateContext* context = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int cx,
                          int cy, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                          CWnd* parent, UINT id, LPVOID param = nullptr);
    // Hosts an ActiveX control (by class id) in a new child window that it fills; FALSE, with no
    // window left, where the control is not installed or cannot be activated.
    virtual BOOL CreateControl(REFCLSID clsid, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                               UINT id, CFile* persist = nullptr, BOOL storage = FALSE, BSTR licenseKey = nullptr);
    LPUNKNOWN GetControlUnknown();
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();
    virtual void CalcWindowRect(LPRECT clientRect, UINT adjustType = 0);

    // Message handling
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual WNDPROC* GetSuperWndProcAddr();
    LRESULT Default();
    static const MSG* PASCAL GetCurrentMessage();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers a message to every window from its target up to hWndStop; true when one took it.
    static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int result);
    int RunModalLoop(DWORD flags = 0);
    enum
    {
        MLF_NOIDLEMSG = 0x0001,
        MLF_NOKICKIDLE = 0x0002,
        MLF_SHOWONIDLE = 0x0004,
    };

    // Family
    virtual BOOL IsFrameWnd() const { return FALSE; }
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    CWnd* GetParentOwner() const;
    CWnd* GetOwner() const;
    void SetOwner(CWnd* owner) { m_hWndOwner = owner->GetSafeHwnd(); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, parent->GetSafeHwnd())); }
    static CWnd* PASCAL GetSafeOwner(CWnd* parent = nullptr, HWND* topLevel = nullptr);
    CWnd* GetDescendantWindow(int id, BOOL onlyPermanent = FALSE) const;
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE,
                                  BOOL onlyPermanent = FALSE);
    void UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler);
    void CenterWindow(CWnd* alternateOwner = nullptr);
    void RepositionBars(UINT idFirst, UINT idLast, UINT idLeftOver, UINT flags = 0, LPRECT paramRect = nullptr,
                        LPCRECT clientRect = nullptr, BOOL stretch = TRUE);
    enum
    {
        reposDefault = 0,
        reposQuery = 1,
        reposExtra = 2,
        reposNoPosLeftOver = 0x8000,
    };
    CWnd* GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
    CWnd* GetNextWindow(UINT flag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, flag)); }
    CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
    BOOL IsChild(const CWnd* wnd) const { return ::IsChild(m_hWnd, wnd->GetSafeHwnd()); }
    CWnd* ChildWindowFromPoint(POINT p) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, p)); }
    CWnd* ChildWindowFromPoint(POINT p, UINT flags) const
    {
        return FromHandle(::ChildWindowFromPointEx(m_hWnd, p, flags));
    }
    static CWnd* PASCAL WindowFromPoint(POINT p) { return FromHandle(::WindowFromPoint(p)); }
    static CWnd* PASCAL GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* PASCAL FindWindow(LPCWSTR className, LPCWSTR windowName)
    {
        return FromHandle(::FindWindowW(className, windowName));
    }
    static CWnd* PASCAL FindWindowEx(HWND parent, HWND after, LPCWSTR className, LPCWSTR windowName)
    {
        return FromHandle(::FindWindowExW(parent, after, className, windowName));
    }

    // Dialog items
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    void GetDlgItem(int id, HWND* hWnd) const { *hWnd = ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return (int)::SetWindowLongPtrW(m_hWnd, GWLP_ID, id); }
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
    }
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
    int GetDlgItemText(int id, LPWSTR text, int max) const { return ::GetDlgItemTextW(m_hWnd, id, text, max); }
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemText(int id, LPCWSTR text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }
    int GetCheckedRadioButton(int first, int last) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
    }
    CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const
    {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, control->GetSafeHwnd(), previous));
    }
    CWnd* GetNextDlgGroupItem(CWnd* control, BOOL previous = FALSE) const
    {
        return FromHandle(::GetNextDlgGroupItem(m_hWnd, control->GetSafeHwnd(), previous));
    }
    BOOL IsDialogMessage(LPMSG msg) { return ::IsDialogMessageW(m_hWnd, msg); }

    // Data exchange of dialogs and panels
    virtual void DoDataExchange(CDataExchange* dx);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Geometry
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(LPRECT r) const;
    void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(LPRECT r) const;
    void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const
    {
        ::MapWindowPoints(m_hWnd, to->GetSafeHwnd(), points, count);
    }
    void MapWindowPoints(CWnd* to, LPRECT rect) const { ::MapWindowPoints(m_hWnd, to->GetSafeHwnd(), (LPPOINT)rect, 2); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void MoveWindow(LPCRECT r, BOOL repaint = TRUE)
    {
        ::MoveWindow(m_hWnd, r->left, r->top, r->right - r->left, r->bottom - r->top, repaint);
    }
    BOOL SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, after->GetSafeHwnd(), x, y, cx, cy, flags);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const
    {
        placement->length = sizeof(WINDOWPLACEMENT);
        return ::GetWindowPlacement(m_hWnd, placement);
    }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement) { return ::SetWindowPlacement(m_hWnd, placement); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    int SetWindowRgn(HRGN region, BOOL redraw) { return ::SetWindowRgn(m_hWnd, region, redraw); }
    int GetWindowRgn(HRGN region) const { return ::GetWindowRgn(m_hWnd, region); }

    // State
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int show) { return ::ShowWindow(m_hWnd, show); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* PASCAL GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    static CWnd* PASCAL GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    static CWnd* PASCAL GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* PASCAL GetCapture() { return FromHandle(::GetCapture()); }
    BOOL FlashWindow(BOOL invert) { return ::FlashWindow(m_hWnd, invert); }
    void DragAcceptFiles(BOOL accept = TRUE);

    // Style
    DWORD GetStyle() const { return (DWORD)::GetWindowLongW(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongW(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0) { return ModifyStyle(m_hWnd, remove, add, flags); }
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0) { return ModifyStyleEx(m_hWnd, remove, add, flags); }
    static BOOL PASCAL ModifyStyle(HWND hWnd, DWORD remove, DWORD add, UINT flags);
    static BOOL PASCAL ModifyStyleEx(HWND hWnd, DWORD remove, DWORD add, UINT flags);

    // Text and font
    void SetWindowText(LPCWSTR text);
    int GetWindowText(LPWSTR text, int max) const { return ::GetWindowTextW(m_hWnd, text, max); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void SetFont(CFont* font, BOOL redraw = TRUE)
    {
        ::SendMessageW(m_hWnd, WM_SETFONT, (WPARAM)font->GetSafeHandle(), redraw);
    }
    CFont* GetFont() const { return CFont::FromHandle((HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }
    HICON SetIcon(HICON icon, BOOL big) { return (HICON)::SendMessageW(m_hWnd, WM_SETICON, big, (LPARAM)icon); }
    HICON GetIcon(BOOL big) const { return (HICON)::SendMessageW(m_hWnd, WM_GETICON, big, 0); }

    // Messages
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        return ::SendNotifyMessageW(m_hWnd, message, wParam, lParam);
    }
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK);

    // Painting
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    CDC* GetDCEx(CRgn* clip, DWORD flags) { return CDC::FromHandle(::GetDCEx(m_hWnd, (HRGN)clip->GetSafeHandle(), flags)); }
    int ReleaseDC(CDC* dc) { return ::ReleaseDC(m_hWnd, dc->GetSafeHdc()); }
    CDC* BeginPaint(LPPAINTSTRUCT paint) { return CDC::FromHandle(::BeginPaint(m_hWnd, paint)); }
    void EndPaint(LPPAINTSTRUCT paint) { ::EndPaint(m_hWnd, paint); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void InvalidateRgn(CRgn* region, BOOL erase = TRUE) { ::InvalidateRgn(m_hWnd, (HRGN)region->GetSafeHandle(), erase); }
    void ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
    void ValidateRgn(CRgn* region) { ::ValidateRgn(m_hWnd, (HRGN)region->GetSafeHandle()); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT rect = nullptr, CRgn* region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, rect, (HRGN)region->GetSafeHandle(), flags);
    }
    BOOL GetUpdateRect(LPRECT rect, BOOL erase = FALSE) { return ::GetUpdateRect(m_hWnd, rect, erase); }
    int GetUpdateRgn(CRgn* region, BOOL erase = FALSE)
    {
        return ::GetUpdateRgn(m_hWnd, (HRGN)region->GetSafeHandle(), erase);
    }
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }
    void SetRedraw(BOOL redraw = TRUE) { ::SendMessageW(m_hWnd, WM_SETREDRAW, redraw, 0); }
    void ScrollWindow(int dx, int dy, LPCRECT rect = nullptr, LPCRECT clip = nullptr)
    {
        ::ScrollWindow(m_hWnd, dx, dy, rect, clip);
    }
    int ScrollWindowEx(int dx, int dy, LPCRECT scroll, LPCRECT clip, CRgn* update, LPRECT updateRect, UINT flags)
    {
        return ::ScrollWindowEx(m_hWnd, dx, dy, scroll, clip, (HRGN)update->GetSafeHandle(), updateRect, flags);
    }
    void Print(CDC* dc, DWORD flags) const { ::SendMessageW(m_hWnd, WM_PRINT, (WPARAM)dc->GetSafeHdc(), flags); }
    void PrintClient(CDC* dc, DWORD flags) const
    {
        ::SendMessageW(m_hWnd, WM_PRINTCLIENT, (WPARAM)dc->GetSafeHdc(), flags);
    }

    // Scrolling
    int GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }
    void GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const { ::GetScrollRange(m_hWnd, bar, minPos, maxPos); }
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw);
    }
    BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL);
    BOOL SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
    int GetScrollLimit(int bar);
    void ShowScrollBar(UINT bar, BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, bar, show); }
    BOOL EnableScrollBar(int bar, UINT arrows = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, bar, arrows); }
    virtual CScrollBar* GetScrollBarCtrl(int bar) const;

    // Timers
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    // Menus
    CMenu* GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
    BOOL SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu->GetSafeHmenu()); }
    CMenu* GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

    // Caret
    void CreateSolidCaret(int width, int height) { ::CreateCaret(m_hWnd, nullptr, width, height); }
    void ShowCaret() { ::ShowCaret(m_hWnd); }
    void HideCaret() { ::HideCaret(m_hWnd); }
    static void PASCAL SetCaretPos(POINT p) { ::SetCaretPos(p.x, p.y); }

    // Colours a gray dialog background for a control-colour message: sets the device context's
    // background (from the brush) and text colour (-1: the window text colour); false where a
    // control keeps its own colours (edits, message boxes, list boxes other than a drop-down combo's).
    static BOOL PASCAL GrayCtlColor(HDC hDC, HWND hWnd, UINT ctlColor, HBRUSH gray, COLORREF text);

    // Tool tips
    BOOL EnableToolTips(BOOL enable = TRUE);
    BOOL EnableTrackingToolTips(BOOL enable = TRUE);
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOW* info) const;
    static void PASCAL CancelToolTips(BOOL keys = FALSE);
    void FilterToolTipMessage(MSG* msg);

    // Handlers with the default behaviour; derived classes call them as the base handling.
    afx_msg int OnCreate(LPCREATESTRUCT) { return (int)Default(); }
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT) { return (BOOL)Default(); }
    afx_msg void OnDestroy() { Default(); }
    afx_msg void OnNcDestroy();
    afx_msg void OnClose() { Default(); }
    afx_msg void OnSize(UINT, int, int) { Default(); }
    afx_msg void OnSizing(UINT, LPRECT) { Default(); }
    afx_msg void OnMove(int, int) { Default(); }
    afx_msg void OnMoving(UINT, LPRECT) { Default(); }
    afx_msg void OnEnterSizeMove() { Default(); }
    afx_msg void OnExitSizeMove() { Default(); }
    afx_msg void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
    afx_msg void OnWindowPosChanging(WINDOWPOS*) { Default(); }
    afx_msg void OnWindowPosChanged(WINDOWPOS*) { Default(); }
    afx_msg void OnShowWindow(BOOL, UINT) { Default(); }
    afx_msg void OnStyleChanging(int, LPSTYLESTRUCT) { Default(); }
    afx_msg void OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
    afx_msg void OnPaint() { Default(); }
    afx_msg void OnNcPaint() { Default(); }
    afx_msg BOOL OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
    afx_msg void OnSetFocus(CWnd*) { Default(); }
    afx_msg void OnKillFocus(CWnd*) { Default(); }
    afx_msg void OnEnable(BOOL) { Default(); }
    afx_msg void OnCancelMode() { Default(); }
    afx_msg UINT OnGetDlgCode() { return (UINT)Default(); }
    afx_msg void OnCaptureChanged(CWnd*) { Default(); }
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT, LPCWSTR);
    afx_msg void OnWinIniChange(LPCWSTR) { Default(); }
    afx_msg void OnFontChange() { Default(); }
    afx_msg void OnTimeChange() { Default(); }
    afx_msg void OnTimer(UINT_PTR) { Default(); }
    afx_msg void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    afx_msg void OnActivateApp(BOOL, DWORD) { Default(); }
    afx_msg BOOL OnNcActivate(BOOL) { return (BOOL)Default(); }
    afx_msg int OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
    afx_msg void OnChildActivate() { Default(); }
    afx_msg BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
    afx_msg void OnMouseMove(UINT, CPoint) { Default(); }
    afx_msg void OnLButtonDown(UINT, CPoint) { Default(); }
    afx_msg void OnLButtonUp(UINT, CPoint) { Default(); }
    afx_msg void OnLButtonDblClk(UINT, CPoint) { Default(); }
    afx_msg void OnRButtonDown(UINT, CPoint) { Default(); }
    afx_msg void OnRButtonUp(UINT, CPoint) { Default(); }
    afx_msg void OnRButtonDblClk(UINT, CPoint) { Default(); }
    afx_msg void OnMButtonDown(UINT, CPoint) { Default(); }
    afx_msg void OnMButtonUp(UINT, CPoint) { Default(); }
    afx_msg void OnMButtonDblClk(UINT, CPoint) { Default(); }
    afx_msg BOOL OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
    afx_msg void OnMouseHWheel(UINT, short, CPoint) { Default(); }
    afx_msg void OnMouseLeave() { Default(); }
    afx_msg void OnMouseHover(UINT, CPoint) { Default(); }
    afx_msg void OnNcMouseLeave() { Default(); }
    afx_msg void OnKeyDown(UINT, UINT, UINT) { Default(); }
    afx_msg void OnKeyUp(UINT, UINT, UINT) { Default(); }
    afx_msg void OnChar(UINT, UINT, UINT) { Default(); }
    afx_msg void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
    afx_msg void OnSysKeyUp(UINT, UINT, UINT) { Default(); }
    afx_msg void OnSysChar(UINT, UINT, UINT) { Default(); }
    afx_msg void OnSysCommand(UINT, LPARAM) { Default(); }
    afx_msg LRESULT OnNcHitTest(CPoint) { return Default(); }
    afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
    afx_msg void OnNcMouseMove(UINT, CPoint) { Default(); }
    afx_msg void OnNcLButtonDown(UINT, CPoint) { Default(); }
    afx_msg void OnNcLButtonUp(UINT, CPoint) { Default(); }
    afx_msg void OnNcLButtonDblClk(UINT, CPoint) { Default(); }
    afx_msg void OnNcRButtonDown(UINT, CPoint) { Default(); }
    afx_msg void OnNcRButtonUp(UINT, CPoint) { Default(); }
    afx_msg void OnNcRButtonDblClk(UINT, CPoint)
    {
        Default();
    }
    afx_msg void OnNcMButtonDown(UINT, CPoint)
    {
        Default();
    }
    afx_msg void OnNcMButtonUp(UINT, CPoint)
    {
        Default();
    }
    afx_msg void OnNcMButtonDblClk(UINT, CPoint)
    {
        Default();
    }
    afx_msg HCURSOR OnQueryDragIcon()
    {
        return (HCURSOR)Default();
    }
    afx_msg void OnMDIActivate(BOOL, CWnd*, CWnd*)
    {
        Default();
    }
    afx_msg void OnUpdateUIState(UINT, UINT)
    {
        Default();
    }
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlType);
    afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    afx_msg void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);
    afx_msg int OnCompareItem(int id, LPCOMPAREITEMSTRUCT item);
    afx_msg void OnDeleteItem(int id, LPDELETEITEMSTRUCT item);
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnContextMenu(CWnd*, CPoint) { Default(); }
    afx_msg void OnDropFiles(HDROP) { Default(); }
    afx_msg void OnPaletteChanged(CWnd*) { Default(); }
    afx_msg void OnPaletteIsChanging(CWnd*) { Default(); }
    afx_msg BOOL OnQueryNewPalette() { return (BOOL)Default(); }
    afx_msg void OnInitMenu(CMenu*) { Default(); }
    afx_msg void OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
    afx_msg void OnMenuSelect(UINT, UINT, HMENU) { Default(); }
    afx_msg LRESULT OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
    afx_msg void OnEnterMenuLoop(BOOL) { Default(); }
    afx_msg void OnExitMenuLoop(BOOL) { Default(); }
    afx_msg void OnEnterIdle(UINT, CWnd*) { Default(); }
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg BOOL OnHelpInfo(HELPINFO*) { return (BOOL)Default(); }
    afx_msg BOOL OnCopyData(CWnd*, COPYDATASTRUCT*) { return (BOOL)Default(); }
    afx_msg BOOL OnQueryEndSession() { return (BOOL)Default(); }
    afx_msg void OnEndSession(BOOL) { Default(); }
    afx_msg LRESULT OnDisplayChange(WPARAM, LPARAM);
    afx_msg LRESULT OnThemeChanged() { return Default(); }
    afx_msg LRESULT OnPrintClient(WPARAM, LPARAM) { return Default(); }
    afx_msg LRESULT OnSetText(WPARAM, LPARAM) { return Default(); }
    afx_msg void OnSetFont(CFont*, BOOL) { Default(); }
    afx_msg HFONT OnGetFont() { return (HFONT)Default(); }
    afx_msg UINT OnNotifyFormat(CWnd*, UINT) { return (UINT)Default(); }

protected:
    DECLARE_MESSAGE_MAP()

    // Handles the messages whose default needs the framework: idle update, help, tool tips.
    afx_msg LRESULT OnQueryAfxWndProc(WPARAM, LPARAM) { return 1; }

    friend LRESULT AFXAPI AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend class CWinThread;

private:
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
};

// The owner of a modal window: disabled while the window runs, enabled and activated again after.
class CModalOwner
{
public:
    explicit CModalOwner(CWnd* parent);
    ~CModalOwner() { Release(nullptr); }
    CModalOwner(const CModalOwner&) = delete;
    CModalOwner& operator=(const CModalOwner&) = delete;

    HWND m_hWnd;
    CWnd* GetOwner() const { return CWnd::FromHandle(m_hWnd); }
    // Enables the owner again and gives it the activation the modal window had.
    void Release(HWND modal);

private:
    BOOL m_bReenable;
};

// Window classes used by the framework's own windows.
const UINT AFX_WNDCOMMCTLS_REG = 0x3FC000;
BOOL AFXAPI AfxDeferRegisterClass(LONG toRegister);

// The wParam of WM_IDLEUPDATECMDUI and the frames' idle flags.
