#include "app/shell/MainFrame.h"

#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "app/core/UpdateDlg.h"
#include "app/core/VideoManager.h"
#include "app/core/Helpers.h"
#include "app/shell/AppLog.h"
#include "app/shell/ConfigSheet.h"
#include "app/shell/ListWnd.h"
#include "app/shell/LocaliseMenu.h"
#include "app/shell/LogDialog.h"
#include "app/shell/MainWnd.h"
#include "app/shell/ParamWnd.h"
#include "app/shell/PlayerWnd.h"
#include "app/shell/ReelwrightApp.h"
#include "app/shell/SkinStyle.h"
#include "engine/Engine.h"
#include "resources/resource.h"
#include "uilib/foundation/BufferDC.h"

#include <shellapi.h>

namespace
{
const DWORD kMenuBarStyle = 0x50002034; // child, visible, top, tooltips, fly-by, dynamic size
const UINT kMenuBarId = 0xE800;
const COLORREF kMagenta = RGB(255, 0, 255);
const int kMenuImageWidth = 4;
const int kMenuImageHeight = 1;
const UINT kMenuImageFlags = 0x19; // 24-bit colour with mask
const int kFirstCommand = 0x8000;
const int kLastCommand = 0xEFFF;

// The shell's notifications about the tray icon (the callback message's lParam).
const LPARAM kTrayMouseMove = WM_MOUSEMOVE;
const LPARAM kTrayLeftUp = WM_LBUTTONUP;
const LPARAM kTrayRightDown = WM_RBUTTONDOWN;
const LPARAM kTrayRightUp = WM_RBUTTONUP;
const LPARAM kTrayBalloonClick = NIN_BALLOONUSERCLICK;

CReelwrightApp* App()
{
    return CReelwrightApp::Get();
}

// A conversion that closing the program would stop: running, paused or waiting for its turn.
bool AnyConversionUnderway()
{
    for (const ConvertTask* task : g_tasks)
        if (task->m_state == kTaskRunning || task->m_state == kTaskPaused || task->m_state == kTaskQueued)
            return true;
    return false;
}
} // namespace

static UINT g_instanceQuery = InstanceMessage();
static UINT g_taskbarCreated = CTrayIcon::TaskbarCreatedMessage();

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SETFOCUS()
ON_WM_GETMINMAXINFO()
ON_WM_SYSCOMMAND()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_RW_COME_TO_FRONT, OnComeToFront)
ON_MESSAGE(WM_RW_ENGINE_LOG, OnEngineLog)
ON_MESSAGE(WM_RW_DOWNLOAD_DONE, OnDownloadDone)
ON_MESSAGE(WM_RW_DOWNLOAD_PROGRESS, OnDownloadProgress)
ON_REGISTERED_MESSAGE(g_instanceQuery, OnInstanceQuery)
ON_MESSAGE(CParamWnd::kParamValueMessage, OnParamValue)
ON_MESSAGE(CParamWnd::kParamChoiceMessage, OnParamChoice)
ON_COMMAND(ID_TOOL_SHOWMENU, OnShowMenu)
ON_UPDATE_COMMAND_UI(ID_TOOL_SHOWMENU, OnUpdateShowMenu)
ON_COMMAND(ID_TRAY_BACKGROUND, OnBackground)
ON_UPDATE_COMMAND_UI(ID_TRAY_BACKGROUND, OnUpdateBackground)
ON_COMMAND_RANGE(ID_LANGUAGE_FIRST, ID_LANGUAGE_LAST, OnLanguageCommand)
ON_COMMAND(ID_HELP_SUPPORT, OnSupport)
ON_COMMAND(ID_HELP_UPDATE, OnCheckUpdate)
// Tray icon.
ON_MESSAGE(CTrayIcon::kCallbackMessage, OnTrayNotify)
ON_REGISTERED_MESSAGE(g_taskbarCreated, OnTaskbarCreated)
ON_COMMAND(ID_TRAY_OPEN, OnTrayOpen)
// Options dialog.
ON_COMMAND(ID_TOOL_OPTION, OnOptions)
// Skin looks and tints.
ON_COMMAND_RANGE(ID_SKIN_NORMAL, ID_SKIN_SIMPLE, OnSkinStyle)
ON_UPDATE_COMMAND_UI_RANGE(ID_SKIN_NORMAL, ID_SKIN_SIMPLE, OnUpdateSkinItem)
ON_COMMAND_RANGE(ID_COLOR_0, ID_COLOR_8, OnSkinTint)
ON_UPDATE_COMMAND_UI_RANGE(ID_COLOR_0, ID_COLOR_8, OnUpdateSkinItem)
// Task list.
ON_MESSAGE(CListWnd::kRowSelectedMessage, OnRowSelected)
ON_MESSAGE(CListWnd::kRowCheckedMessage, OnRowChecked)
ON_MESSAGE(CLogDialog::kToggleMessage, OnLogWindow)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_panels()
{
}

CMainFrame::~CMainFrame()
{
    if (m_trayIcon.IsShown())
        m_trayIcon.RemoveIcon();
    for (int i = kMainPanelCount - 1; i >= 0; i--)
        delete m_panels[i];
}

BOOL CMainFrame::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, LPCWSTR,
                        DWORD exStyle, CCreateContext* context)
{
    return CFrameWnd::Create(className, windowName, style, rect, parent, nullptr, exStyle, context);
}

void CMainFrame::ShowCreateError(LPCWSTR key)
{
    AfxMessageBox(LangMgr::GetText(key), MB_OK);
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
    {
        ShowCreateError(L"err_create_mainframe");
        return -1;
    }
    if (!m_wndMenuBar.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_LIST, kMenuBarStyle, CRect(0, 0, 0, 0), kMenuBarId))
    {
        ShowCreateError(L"err_create_menubar");
        return -1;
    }
    if (!LoadMainMenu())
        return -1;
    if (m_menuImages.Create(kMenuImageWidth, kMenuImageHeight, kMenuImageFlags, 0, 1))
    {
        CBitmap strip;
        if (strip.LoadBitmap(IDB_STATUS))
            m_menuImages.Add(&strip, kMagenta);
        m_wndMenuBar.SendMessage(TB_SETIMAGELIST, 0, LPARAM(m_menuImages.GetSafeHandle()));
    }
    if (CReelwrightApp* app = App())
    {
        m_preview.volume = CPreviewSession::ClampVolume(app->m_settings.voice_volume);
        m_preview.silent = app->m_settings.voice_enable;
        m_preview.snapshotPath = app->m_settings.snap_path;
    }
    for (int i = 0; i < kMainPanelCount; i++)
    {
        m_panels[i] = CreateMainPanel(MainPanel(i), this);
        if (!m_panels[i])
        {
            ShowCreateError(GetMainPanelSlot(MainPanel(i)).errorKey);
            return -1;
        }
    }
    m_trayIcon.SetIcon();
    m_trayIcon.Create(this);
    ShowPanels();
    if (CReelwrightApp* app = App())
        CSkinStyle::ApplySkinColor(app->m_settings.skinstyle, app->m_settings.skincolor);
    return 0;
}

bool CMainFrame::LoadMainMenu()
{
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINMENU));
    CReelwrightApp* app = App();
    if (!menu || !LocaliseMenu(menu, app ? app->m_settings.language : CString()))
    {
        if (menu)
            ::DestroyMenu(menu);
        return false;
    }
    HMENU previous = m_wndMenuBar.LoadMenu(menu);
    if (previous)
        ::DestroyMenu(previous);
    if (m_menuImages.GetSafeHandle())
        m_wndMenuBar.SendMessage(TB_SETIMAGELIST, 0, LPARAM(m_menuImages.GetSafeHandle()));
    return true;
}

bool CMainFrame::AllPanelsExist() const
{
    for (CDialog* panel : m_panels)
        if (!panel || !panel->m_hWnd)
            return false;
    return true;
}

void CMainFrame::LayoutPanels(int cx, int cy)
{
    if (!AllPanelsExist() || !m_wndMenuBar.m_hWnd)
        return;
    CRect menuBar, param, preview, target;
    m_wndMenuBar.GetWindowRect(&menuBar);
    m_panels[kParamPanel]->GetWindowRect(&param);
    m_panels[kPreviewPanel]->GetWindowRect(&preview);
    m_panels[kTargetPanel]->GetWindowRect(&target);
    const int mb = menuBar.Height(), pw = param.Width(), ph = preview.Height(), pww = preview.Width();
    const int th = target.Height(), lw = cx - pw;
    const bool menuShown = (m_wndMenuBar.GetStyle() & WS_VISIBLE) != 0;
    const int top = menuShown ? mb : 0;
    const int tbh = menuShown ? kToolBarHeight : mb + kToolBarHeight;
    const UINT move = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
    m_panels[kToolBarPanel]->SetWindowPos(nullptr, 0, top, lw, tbh, move);
    m_panels[kTaskListPanel]->SetWindowPos(nullptr, 0, top + tbh, lw, cy - th - tbh - top, move);
    m_panels[kTargetPanel]->SetWindowPos(nullptr, 0, cy - th, lw, th, move);
    m_panels[kParamPanel]->SetWindowPos(nullptr, lw, top, pw, cy - ph - top, move);
    m_panels[kParamPanel]->SendMessage(WM_RW_PANEL_SHIFT, WPARAM(-top), 0);
    m_panels[kPreviewPanel]->SetWindowPos(nullptr, lw, cy - ph, pww, ph, move);
    m_wndMenuBar.SetWindowPos(nullptr, 0, 0, cx, mb, move);
    for (CDialog* panel : m_panels)
        panel->Invalidate(TRUE);
}

void CMainFrame::ShowPanels()
{
    CReelwrightApp* app = App();
    const bool show = app && app->m_settings.showmenu;
    const bool shown = (m_wndMenuBar.GetStyle() & WS_VISIBLE) != 0;
    if (show == shown)
        return;
    m_wndMenuBar.ShowWindow(show ? SW_SHOW : SW_HIDE);
    CRect client;
    GetClientRect(&client);
    LayoutPanels(client.Width(), client.Height());
}

void CMainFrame::OnSize(UINT type, int cx, int cy)
{
    CFrameWnd::OnSize(type, cx, cy);
    if (AllPanelsExist())
        LayoutPanels(cx, cy);
}

void CMainFrame::OnPaint()
{
    CPaintDC paint(this);
    if (paint.m_ps.rcPaint.right <= paint.m_ps.rcPaint.left || paint.m_ps.rcPaint.bottom <= paint.m_ps.rcPaint.top)
        return;
    CWVPBufferDC buffer(paint);
    CRect clip;
    buffer.GetClipBox(&clip);
    buffer.FillSolidRect(&clip, ::GetSysColor(COLOR_WINDOW));
    DefWindowProc(WM_PAINT, WPARAM(buffer.m_hDC), 0);
}

BOOL CMainFrame::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CMainFrame::OnSetFocus(CWnd* old)
{
    CFrameWnd::OnSetFocus(old);
    if (m_panels[kTaskListPanel] && m_panels[kTaskListPanel]->m_hWnd)
        m_panels[kTaskListPanel]->SetFocus();
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* info)
{
    info->ptMinTrackSize.x = kMinTrackWidth;
    info->ptMinTrackSize.y = kMinTrackHeight;
    Default();
}

void CMainFrame::OnSysCommand(UINT command, LPARAM lParam)
{
    CReelwrightApp* app = App();
    const bool toTray = app && app->m_settings.istray;
    if ((command & 0xFFF0) == SC_MINIMIZE && toTray)
    {
        // When the shell refuses the icon the window goes to the task bar instead: hidden without
        // an icon, only a second start could bring it back.
        if (!m_trayIcon.MinimiseToTray())
            Default();
        return;
    }
    if ((command & 0xFFF0) == SC_CLOSE && toTray)
        m_trayIcon.RemoveIcon();
    if ((command & 0xFFF0) == SC_MAXIMIZE && app)
    {
        // Kept as the normal rectangle (the placement's), never the maximised one.
        WINDOWPLACEMENT placement = {sizeof placement};
        if (GetWindowPlacement(&placement))
            app->m_settings.mainwndpos = placement.rcNormalPosition;
    }
    Default();
}

void CMainFrame::OnClose()
{
    // Closing stops the conversions and removes their unfinished files: only when the user says so.
    if (AnyConversionUnderway() &&
        AfxMessageBox(LangMgr::GetText(L"ask_close_converting"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CFrameWnd::OnClose();
}

void CMainFrame::OnDestroy()
{
    CReelwrightApp* app = App();
    if (app)
    {
        WINDOWPLACEMENT placement = {sizeof placement};
        if (GetWindowPlacement(&placement))
        {
            // The normal rectangle, also while minimised or maximised: a minimised one would
            // lie off the screen at the next start.
            app->m_settings.mainwndpos = placement.rcNormalPosition;
            app->m_settings.mainwndstate = IsZoomed() ? 1 : 0;
        }
        app->m_settings.voice_volume = m_preview.volume;
        app->m_settings.voice_enable = m_preview.silent;
    }
    CloseLogWindow();
    SetEngineLogWindow(nullptr);
    CFrameWnd::OnDestroy();
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg)
{
    if (m_wndMenuBar.m_hWnd && m_wndMenuBar.TranslateFrameMessage(msg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(msg);
}

BOOL CMainFrame::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    if (CFrameWnd::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    if (RouteListCommand(id, code, extra, handlerInfo))
        return TRUE;
    // Commands the frame does not handle itself go to the panels that serve them (the task list
    // and the target panel); a placeholder serves none, so its commands stay disabled.
    for (MainPanel panel : {kTaskListPanel, kTargetPanel})
    {
        CDialog* p = m_panels[panel];
        if (p && p->m_hWnd && p->CWnd::OnCmdMsg(id, code, extra, handlerInfo))
            return TRUE;
    }
    return FALSE;
}

namespace
{
// Enables or disables one control of a panel by the frame's update handlers.
class CPanelButtonCmdUI : public CCmdUI
{
  public:
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        if (m_pOther && bool(m_pOther->IsWindowEnabled()) != bool(on))
            m_pOther->EnableWindow(on);
    }
};
} // namespace

LRESULT CMainFrame::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
    CDialog* bar = m_panels[kToolBarPanel];
    if (!bar || !bar->m_hWnd)
        return result;
    for (HWND child = ::GetWindow(bar->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        const int id = ::GetDlgCtrlID(child);
        if (id < kFirstCommand || id > kLastCommand)
            continue;
        CPanelButtonCmdUI state;
        state.m_nID = UINT(id);
        state.m_pOther = CWnd::FromHandle(child);
        // A button whose command nobody serves yet is disabled.
        state.DoUpdate(this, TRUE);
    }
    return result;
}

LRESULT CMainFrame::OnComeToFront(WPARAM, LPARAM)
{
    if (App() && App()->m_settings.istray)
        RestoreFromTray();
    if (IsIconic())
        ShowWindow(SW_RESTORE);
    else if (!IsWindowVisible())
        ShowWindow(SW_SHOW);
    SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(&CWnd::wndNoTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(m_hWnd);
    FlashWindow(TRUE);
    return 0;
}

LRESULT CMainFrame::OnEngineLog(WPARAM wParam, LPARAM lParam)
{
    WCHAR* text = reinterpret_cast<WCHAR*>(lParam);
    try
    {
        if (text)
            CVideoManager::AppendLog(int(wParam), text);
    }
    catch (...)
    {
    }
    delete[] text;
    return 0;
}

LRESULT CMainFrame::OnDownloadDone(WPARAM wParam, LPARAM)
{
    if (CReelwrightApp* app = App())
        app->m_update.OnDownloadDone(int(wParam));
    return 0;
}

LRESULT CMainFrame::OnDownloadProgress(WPARAM wParam, LPARAM lParam)
{
    if (CReelwrightApp* app = App())
        app->m_update.OnDownloadProgress(ULONG(wParam), ULONG(lParam));
    return 0;
}

LRESULT CMainFrame::OnInstanceQuery(WPARAM, LPARAM)
{
    return LRESULT(InstanceMessage());
}

void CMainFrame::SetSelection(const std::vector<int>& ids)
{
    SetSelection(ids, ids.empty() ? -1 : ids.front());
}

void CMainFrame::SetSelection(const std::vector<int>& ids, int shownTaskId)
{
    m_selection = ids;
    if (CParamWnd* param = dynamic_cast<CParamWnd*>(m_panels[kParamPanel]))
        param->SetTasks(ids);
    if (CPlayerWnd* player = dynamic_cast<CPlayerWnd*>(m_panels[kPreviewPanel]))
        player->ShowTask(shownTaskId);
}

CString CMainFrame::GetOutputFolder()
{
    CMainWnd* target = dynamic_cast<CMainWnd*>(m_panels[kTargetPanel]);
    return target && target->m_hWnd ? target->GetOutputFolder() : CString();
}

void CMainFrame::ApplyProfileToSelected(const ConvertSetting& profile)
{
    if (CListWnd* list = ListPanel())
        list->ApplyProfileToSelected(profile);
}

LRESULT CMainFrame::OnParamValue(WPARAM wParam, LPARAM lParam)
{
    const LPCWSTR name = reinterpret_cast<LPCWSTR>(wParam);
    const LPCWSTR value = reinterpret_cast<LPCWSTR>(lParam);
    if (!name || !value)
        return 0;
    // The texts are the sender's, valid only during the call.
    const CString key(name), text(value);
    if (CListWnd* list = ListPanel())
        list->SetParamValue(key, text);
    return 0;
}

LRESULT CMainFrame::OnParamChoice(WPARAM wParam, LPARAM lParam)
{
    const LPCWSTR name = reinterpret_cast<LPCWSTR>(wParam);
    if (!name)
        return 0;
    const CString key(name);
    if (CListWnd* list = ListPanel())
        list->SetParamChoice(key, int(lParam));
    return 0;
}

void CMainFrame::OnShowMenu()
{
    if (CReelwrightApp* app = App())
        app->m_settings.showmenu = !app->m_settings.showmenu;
    ShowPanels();
}

void CMainFrame::OnUpdateShowMenu(CCmdUI* state)
{
    CReelwrightApp* app = App();
    state->SetCheck(app && app->m_settings.showmenu);
}

void CMainFrame::OnBackground()
{
    if (CReelwrightApp* app = App())
    {
        app->m_settings.background = !app->m_settings.background;
        g_backgroundConversion = app->m_settings.background ? 1 : 0;
    }
}

void CMainFrame::OnUpdateBackground(CCmdUI* state)
{
    CReelwrightApp* app = App();
    state->SetCheck(app && app->m_settings.background);
}

void CMainFrame::OnLanguageCommand(UINT id)
{
    OnLanguage(id);
}

void CMainFrame::OnLanguage(UINT id)
{
    const int index = int(id) - ID_LANGUAGE_FIRST;
    CReelwrightApp* app = App();
    if (app && index >= 0 && index < LangMgr::GetLanguageCount())
    {
        const CString name = LangMgr::GetLanguageName(index);
        if (!name.IsEmpty() && name.CompareNoCase(app->m_settings.language) != 0 && LangMgr::SelectLanguage(name))
        {
            app->m_settings.language = name;
            ReloadTexts();
        }
    }
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CMainFrame::ReloadTexts()
{
    LoadMainMenu();
    for (CDialog* panel : m_panels)
        if (panel && panel->m_hWnd)
            panel->SendMessage(WM_RW_PANEL_RELOADTEXTS, 0, 0);
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CMainFrame::OnSupport()
{
    const CString url = LangMgr::GetText(L"feedback_url");
    if (!url.IsEmpty())
        ::ShellExecuteW(m_hWnd, L"open", url, nullptr, nullptr, SW_SHOW);
}

void CMainFrame::OnCheckUpdate()
{
    UpdateDlg dialog(this);
    dialog.DoModal();
}

// Tray icon.

TaskCounts CMainFrame::CountTasks()
{
    TaskCounts counts;
    for (const ConvertTask* task : g_tasks)
    {
        counts.total++;
        counts.running += task->m_state == kTaskRunning;
        counts.done += task->m_state == kTaskDone;
    }
    return counts;
}

void CMainFrame::UpdateTrayTip()
{
    CReelwrightApp* app = App();
    CString head = LangMgr::GetText(L"product_name");
    if (app && app->m_settings.background)
        head += L"(" + LangMgr::GetText(L"menu_tray_background") + L")";
    const TaskCounts counts = CountTasks();
    CString tip;
    tip.Format(L"%s\n%s%d\n%s%d\n%s%d", static_cast<LPCWSTR>(head),
               static_cast<LPCWSTR>(LangMgr::GetText(L"menu_tip_total")), counts.total,
               static_cast<LPCWSTR>(LangMgr::GetText(L"menu_tip_running")), counts.running,
               static_cast<LPCWSTR>(LangMgr::GetText(L"menu_tip_completed")), counts.done);
    m_trayIcon.SetTooltip(tip);
}

void CMainFrame::RestoreFromTray()
{
    m_trayIcon.RemoveIcon();
    ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    BringWindowToTop();
}

LRESULT CMainFrame::OnTrayNotify(WPARAM, LPARAM lParam)
{
    switch (lParam)
    {
    case kTrayMouseMove:
        UpdateTrayTip();
        break;
    case kTrayLeftUp:
    case kTrayBalloonClick:
        RestoreFromTray();
        break;
    case kTrayRightDown:
        ::GetCursorPos(&m_trayIcon.m_lastRightClick);
        break;
    case kTrayRightUp:
    {
        POINT at = {};
        ::GetCursorPos(&at);
        ShowPopupMenu(m_hWnd, IDR_TRAYMENU, at.x, at.y);
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT CMainFrame::OnTaskbarCreated(WPARAM, LPARAM)
{
    m_trayIcon.OnTaskbarCreated();
    return 0;
}

void CMainFrame::OnTrayOpen()
{
    RestoreFromTray();
}

// Options dialog.

void CMainFrame::OnOptions()
{
    CReelwrightApp* app = App();
    if (!app)
        return;
    CConfigSheet sheet(&app->m_settings);
    if (sheet.DoModal() != IDOK)
        return;
    m_preview.snapshotPath = app->m_settings.snap_path;
    ShowPanels();
}

// Skin looks and tints.

void CMainFrame::OnSkinStyle(UINT id)
{
    if (CReelwrightApp* app = App())
        CSkinStyle::RunStyleCommand(id, app->m_settings.skinstyle, app->m_settings.skincolor);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CMainFrame::OnSkinTint(UINT id)
{
    if (CReelwrightApp* app = App())
        CSkinStyle::RunTintCommand(id, app->m_settings.skinstyle, app->m_settings.skincolor);
}

void CMainFrame::OnUpdateSkinItem(CCmdUI* state)
{
    if (CReelwrightApp* app = App())
        CSkinStyle::UpdateItem(state, app->m_settings.skinstyle, app->m_settings.skincolor);
}

// The task list's commands: the frame's command table entries that the task list panel serves.

CListWnd* CMainFrame::ListPanel() const
{
    CListWnd* list = dynamic_cast<CListWnd*>(m_panels[kTaskListPanel]);
    return list && list->m_hWnd ? list : nullptr;
}

namespace
{
void StartChecked(CMainFrame& frame, CListWnd& list)
{
    const CString folder = frame.GetOutputFolder();
    if (!folder.IsEmpty())
        list.StartChecked(folder);
}

void StartSelected(CMainFrame& frame, CListWnd& list)
{
    const CString folder = frame.GetOutputFolder();
    if (!folder.IsEmpty())
        list.StartSelected(folder);
}

void EmptyList(CMainFrame&, CListWnd& list)
{
    list.List().DeleteAllItems();
    CVideoManager::RemoveAll();
    list.UpdatePanels();
}

// Shows the first selected task's output, when it is done, selected in its folder.
void ShowOutputInFolder(CMainFrame&, CListWnd& list)
{
    std::vector<int> ids;
    ConvertTask* task = nullptr;
    if (list.GetSelectedTaskIds(ids) == 0 || !CVideoManager::FindTask(ids.front(), &task) ||
        task->m_state != kTaskDone)
        return;
    WCHAR path[MAX_PATH] = {};
    if (::MultiByteToWideChar(CP_ACP, 0, task->m_job.outputPath, -1, path, MAX_PATH) > 0)
        OpenFolderAndSelect(path);
}

bool Always(const CListWnd&)
{
    return true;
}

bool HasSelection(const CListWnd& list)
{
    return list.m_list.GetSelectedCount() > 0;
}

bool HasRows(const CListWnd& list)
{
    return list.m_list.GetItemCount() > 0;
}

struct ListCommand
{
    UINT id;
    void (*run)(CMainFrame& frame, CListWnd& list);
    bool (*enabled)(const CListWnd& list);
};

// clang-format off
const ListCommand kListCommands[] = {
    {ID_FILE_ADDFILE, [](CMainFrame&, CListWnd& l) { l.AddFiles(); }, Always},
    {ID_FILE_ADDDIR, [](CMainFrame&, CListWnd& l) { l.AddFolder(); }, Always},
    {ID_EDIT_DELETE, [](CMainFrame&, CListWnd& l) { l.DeleteSelected(); }, HasSelection},
    {ID_EDIT_EMPTY, EmptyList, HasRows},
    {ID_EDIT_CHECKALL, [](CMainFrame&, CListWnd& l) { l.SetAllChecks(true); }, [](const CListWnd& l) { return l.HasUnchecked(); }},
    {ID_EDIT_UNCHECKALL, [](CMainFrame&, CListWnd& l) { l.SetAllChecks(false); }, [](const CListWnd& l) { return l.HasChecked(); }},
    {ID_ACTION_START, StartChecked, [](const CListWnd& l) { return l.CanStartChecked(); }},
    {ID_ACTION_PAUSE, [](CMainFrame&, CListWnd& l) { l.PauseChecked(); }, [](const CListWnd& l) { return l.CanPauseChecked(); }},
    {ID_ACTION_STOP, [](CMainFrame&, CListWnd& l) { l.StopChecked(); }, [](const CListWnd& l) { return l.CanStopChecked(); }},
    {ID_ITEM_START, StartSelected, [](const CListWnd& l) { return l.CanStartSelected(); }},
    {ID_ITEM_PAUSE, [](CMainFrame&, CListWnd& l) { l.PauseSelected(); }, [](const CListWnd& l) { return l.CanPauseSelected(); }},
    {ID_ITEM_STOP, [](CMainFrame&, CListWnd& l) { l.StopSelected(); }, [](const CListWnd& l) { return l.CanStopSelected(); }},
    {ID_FILE_PROPERTY, [](CMainFrame&, CListWnd& l) { l.ShowProperties(); }, [](const CListWnd& l) { return l.CanShowProperties(); }},
    {ID_FILE_PLAYOUTPUT, [](CMainFrame&, CListWnd& l) { l.PlayOutput(); }, [](const CListWnd& l) { return l.CanPlayOutput(); }},
    {ID_FILE_DESTFILE, ShowOutputInFolder, [](const CListWnd& l) { return l.CanPlayOutput(); }},
};
// clang-format on
} // namespace

bool CMainFrame::RouteListCommand(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    CListWnd* list = ListPanel();
    if (!list || (code != CN_COMMAND && code != CN_UPDATE_COMMAND_UI))
        return false;
    for (const ListCommand& command : kListCommands)
    {
        if (command.id != id)
            continue;
        if (handlerInfo)
            return true;
        if (code == CN_UPDATE_COMMAND_UI)
            static_cast<CCmdUI*>(extra)->Enable(command.enabled(*list) ? TRUE : FALSE);
        else
            command.run(*this, *list);
        return true;
    }
    return false;
}

LRESULT CMainFrame::OnRowSelected(WPARAM wParam, LPARAM lParam)
{
    CListWnd* list = ListPanel();
    if (m_logWindow && m_logWindow->m_hWnd && lParam && list)
        m_logWindow->ShowTaskLog(list->TaskIdOfRow(int(wParam)));
    return 0;
}

LRESULT CMainFrame::OnRowChecked(WPARAM, LPARAM)
{
    return 0;
}

void CMainFrame::CloseLogWindow()
{
    if (!m_logWindow)
        return;
    if (m_logWindow->m_hWnd)
        m_logWindow->DestroyWindow();
    delete m_logWindow;
    m_logWindow = nullptr;
}

LRESULT CMainFrame::OnLogWindow(WPARAM wParam, LPARAM)
{
    if (!wParam)
    {
        CloseLogWindow();
        return 0;
    }
    if (m_logWindow && m_logWindow->m_hWnd)
    {
        m_logWindow->BringWindowToTop();
        return 0;
    }
    CloseLogWindow();
    m_logWindow = new CLogDialog(this);
    if (!m_logWindow->Create(CLogDialog::kTemplateId, this))
    {
        CloseLogWindow();
        return 0;
    }
    m_logWindow->CenterWindow();
    m_logWindow->ShowWindow(SW_SHOW);
    // The focused selected row's task, else the first selected row's.
    if (CListWnd* list = ListPanel())
    {
        int row = list->m_list.GetNextItem(-1, LVNI_SELECTED | LVNI_FOCUSED);
        if (row < 0)
            row = list->m_list.GetNextItem(-1, LVNI_SELECTED);
        if (row >= 0)
            m_logWindow->ShowTaskLog(list->TaskIdOfRow(row));
    }
    return 0;
}
