#include "app/shell/ListWnd.h"

#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "app/core/VideoManager.h"
#include "app/shell/MainFrame.h"
#include "app/shell/ParamWnd.h"
#include "app/shell/PropertyDlg.h"
#include "app/shell/ReelwrightApp.h"
#include "app/shell/TaskCells.h"
#include "uilib/controls/HeaderCtrlTheme.h"

#include <shellapi.h>

#include <algorithm>
#include <map>

namespace
{
const DWORD kListExStyles = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP; // 0x424
const int kMinColumnWidth = 10;
const UINT kReservedMessage = WM_USER + 1001;
const int kDropNameCapacity = 520;
const int kFileBufferCapacity = 0x40000;
const DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
const WCHAR kNoValue[] = L"-";
const WCHAR kKeyMediaProbe[] = L"err_media_probe";
const int kCompletionClose = 1;
const int kCompletionShutdown = 2;

struct ColumnSpec
{
    const WCHAR* key;
    int format;
    int width;
};
const ColumnSpec kColumns[CListWnd::kColumnCount] = {
    {L"filename", LVCFMT_CENTER, 135},   {L"length", LVCFMT_CENTER, 72}, {L"distype", LVCFMT_CENTER, 90},
    {L"output_size", LVCFMT_CENTER, 90}, {L"status", LVCFMT_CENTER, 90}, {L"timeleft", LVCFMT_CENTER, 80},
    {L"filepath", LVCFMT_LEFT, 400},
};

// How a row shows a task state that is not running: its image, the status text (null: kept),
// whether the row loses its check and whether the progress bar goes.
struct StateLook
{
    int state;
    int image;
    const WCHAR* statusKey;
    bool uncheck;
    bool hideBar;
};
const StateLook kStateLooks[] = {
    {kTaskDone, 5, L"complete", true, true}, {kTaskFailed, 7, L"iderror", true, true},
    {kTaskPaused, 6, nullptr, false, false}, {kTaskQueued, 8, nullptr, false, false},
    {kTaskStopped, 3, L"stop", false, true},
};
const int kRunningImage = 4;

const StateLook* LookOf(int state)
{
    for (const StateLook& look : kStateLooks)
        if (look.state == state)
            return &look;
    return nullptr;
}

bool IsRunning(int state)
{
    return state == kTaskRunning;
}
bool IsNotRunning(int state)
{
    return state != kTaskRunning;
}
bool IsBusy(int state)
{
    return state == kTaskRunning || state == kTaskPaused || state == kTaskQueued;
}
bool IsStartable(int state)
{
    return state != kTaskRunning && state != kTaskQueued;
}
bool IsRunningOrQueued(int state)
{
    return state == kTaskRunning || state == kTaskQueued;
}
bool IsDone(int state)
{
    return state == kTaskDone;
}

int CheckValue(UINT state)
{
    const int image = int((state & LVIS_STATEIMAGEMASK) >> 12);
    return image > 0 ? image - 1 : 0;
}

CString DisplayNameOf(const CString& path)
{
    const int slash = path.ReverseFind(L'\\');
    return slash < 0 ? CString() : path.Mid(slash + 1);
}

bool ChooseFilesWithDialog(std::vector<CString>& paths)
{
    const CString filter = LangMgr::GetText(L"file_all") + L"(*.*)|*.*||";
    CFileDialog dialog(TRUE, nullptr, nullptr, kOpenFlags, filter, nullptr, 0, TRUE);
    std::vector<WCHAR> buffer(kFileBufferCapacity, 0);
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = kFileBufferCapacity;
    if (dialog.DoModal() != IDOK)
        return false;
    POSITION position = dialog.GetStartPosition();
    while (position)
        paths.push_back(dialog.GetNextPathName(position));
    return true;
}

// The column sort's comparison: the rows' records lead to their cell texts.
struct SortContext
{
    std::map<LPARAM, CString> texts;
    int column;
    bool ascending;
};

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM data)
{
    try
    {
        const SortContext& context = *reinterpret_cast<const SortContext*>(data);
        const int order = CompareTaskCells(context.column, context.texts.at(first), context.texts.at(second));
        return context.ascending ? order : -order;
    }
    catch (...)
    {
        return 0;
    }
}

CMainFrame* MainFrameOf(CWnd* panel)
{
    return dynamic_cast<CMainFrame*>(panel->GetParent());
}
} // namespace

CListWnd::FileChooser CListWnd::s_chooseFiles = ChooseFilesWithDialog;
CListWnd::FolderChooser CListWnd::s_chooseFolder = BrowseForFolder;

BEGIN_MESSAGE_MAP(CListWnd, CDialog)
ON_WM_SIZE()
ON_WM_CONTEXTMENU()
ON_WM_ERASEBKGND()
ON_WM_DROPFILES()
ON_WM_TIMER()
ON_NOTIFY(LVN_ITEMCHANGED, CListWnd::kListId, OnListItemChanged)
ON_MESSAGE(kReservedMessage, OnReserved)
ON_MESSAGE(WM_RW_PANEL_RELOADTEXTS, OnReloadTexts)
END_MESSAGE_MAP()

CListWnd::CListWnd() : CDialog(kTemplateId)
{
}

CListWnd::~CListWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CListWnd::Create(CWnd* parent)
{
    return CDialog::Create(kTemplateId, parent);
}

void CListWnd::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kListId, m_list);
}

BOOL CListWnd::OnInitDialog()
{
    CDialog::OnInitDialog();
    HIMAGELIST images = nullptr;
    if (CreateStatusImageList(&images))
    {
        m_statusImages.Attach(images);
        m_list.SetImageList(&m_statusImages, LVSIL_SMALL);
    }
    m_list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, kListExStyles, kListExStyles);
    for (int column = 0; column < kColumnCount; ++column)
        m_list.InsertColumn(column, LangMgr::GetText(kColumns[column].key), kColumns[column].format,
                            kColumns[column].width);
    if (HWND header = ::GetDlgItem(m_list.m_hWnd, 0))
    {
        m_header.SubclassWindow(header);
        m_header.SetMinColumnWidth(kMinColumnWidth);
        m_header.SetTheme(new CWVHeaderCtrlThemeExplorer);
        m_header.EnablePopupMenus(FALSE);
    }
    m_list.LoadBackground();
    return TRUE;
}

void CListWnd::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (m_list.m_hWnd)
    {
        m_list.MoveWindow(0, 0, cx, cy, FALSE);
        // The list does not always widen its header with itself (the error list shows the same).
        CRect client, header;
        m_list.GetClientRect(&client);
        if (m_header.m_hWnd)
        {
            m_header.GetWindowRect(&header);
            if (header.Width() < client.Width())
                m_header.SetWindowPos(nullptr, 0, 0, client.Width(), header.Height(),
                                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        m_list.Invalidate(TRUE);
    }
}

void CListWnd::OnContextMenu(CWnd* window, CPoint point)
{
    if (window && window->m_hWnd == m_list.m_hWnd)
        ShowPopupMenu(m_hWnd, IDR_LISTMENU, point.x, point.y);
}

BOOL CListWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

LRESULT CListWnd::OnReserved(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CListWnd::OnReloadTexts(WPARAM, LPARAM)
{
    ReloadTexts();
    return 0;
}

void CListWnd::SendToMain(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* main = AfxGetMainWnd())
        if (main->m_hWnd)
            main->SendMessage(message, wParam, lParam);
}

ConvertTask* CListWnd::TaskOfRow(int row) const
{
    ConvertTask* task = nullptr;
    const int id = TaskIdOfRow(row);
    return id > 0 && CVideoManager::FindTask(id, &task) ? task : nullptr;
}

int CListWnd::TaskIdOfRow(int row) const
{
    const CItemList::AppendData* record = m_list.RecordOf(row);
    return record ? record->taskId : 0;
}

bool CListWnd::AnyRow(bool selectedOnly, bool checkedOnly, bool (*test)(int state)) const
{
    if (!m_list.m_hWnd)
        return false;
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
    {
        if (selectedOnly && !(m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        if (checkedOnly && !m_list.GetCheck(row))
            continue;
        if (const ConvertTask* task = TaskOfRow(row))
            if (test(task->m_state))
                return true;
    }
    return false;
}

void CListWnd::CollectIds(bool selected, std::vector<int>& ids) const
{
    if (!m_list.m_hWnd)
        return;
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
    {
        const bool taken =
            selected ? (m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0 : m_list.GetCheck(row) != FALSE;
        if (taken && TaskOfRow(row))
            ids.push_back(TaskIdOfRow(row));
    }
}

int CListWnd::GetCheckedTaskIds(std::vector<int>& ids) const
{
    CollectIds(false, ids);
    return int(ids.size());
}

int CListWnd::GetSelectedTaskIds(std::vector<int>& ids) const
{
    CollectIds(true, ids);
    return int(ids.size());
}

void CListWnd::SetCell(int row, int column, const CString& text)
{
    // Only a changed text is written, so that a tick repaints only the cells that changed.
    if (m_list.GetItemText(row, column) != text)
        m_list.SetItemText(row, column, text);
}

void CListWnd::SetRowImage(int row, int image)
{
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    if (m_list.SendMessage(LVM_GETITEMW, 0, LPARAM(&item)) && item.iImage == image)
        return;
    item.iImage = image;
    m_list.SendMessage(LVM_SETITEMW, 0, LPARAM(&item));
}

void CListWnd::SetSizeText(int row, INT64 bytes)
{
    SetCell(row, kColumnSize, FormatTaskSize(bytes));
}

bool CListWnd::AddTaskRow(const CString& path, CString& displayName)
{
    displayName = DisplayNameOf(path);
    if (path.Find(L'\\') < 0)
        return false;
    CReelwrightApp* app = CReelwrightApp::Get();
    if (!app)
        return false;
    const int id = CVideoManager::AddTask(displayName, path, app->m_currentProfile);
    if (id <= 0)
        return false;
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = m_list.GetItemCount();
    item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(displayName));
    const int row = m_list.InsertRow(item);
    if (row < 0)
    {
        CVideoManager::RemoveTask(id);
        return false;
    }
    m_list.RecordOf(row)->taskId = id;
    ConvertTask* task = nullptr;
    if (!CVideoManager::FindTask(id, &task))
        return false;
    m_list.SetItemText(row, kColumnLength, task->m_durationText);
    m_list.SetItemText(row, kColumnProfile, LangMgr::GetNameText(task->m_setting.m_name));
    m_list.InitProgressData(row);
    m_list.SetItemText(row, kColumnStatus, kNoValue);
    m_list.SetItemText(row, kColumnPath, path);
    if (CanStopChecked())
        m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    else
        m_list.SetCheck(row, TRUE);
    SetSizeText(row, task->EstimateOutputSize());
    return true;
}

void CListWnd::AddPaths(const std::vector<CString>& paths, CStringArray& errors)
{
    // The list repaints once, after the batch.
    m_list.SetRedraw(FALSE);
    for (const CString& path : paths)
    {
        CString name;
        if (AddTaskRow(path, name))
            continue;
        CString reason = path.Find(L'\\') < 0 ? CString() : CVideoManager::LastAddError();
        if (reason.IsEmpty())
            reason = kKeyMediaProbe;
        AddErrorEntry(name.IsEmpty() ? path : name, LangMgr::GetText(reason), errors);
    }
    m_list.SetRedraw(TRUE);
    m_list.Invalidate(FALSE);
}

void CListWnd::AddFiles()
{
    std::vector<CString> paths;
    if (!s_chooseFiles || !s_chooseFiles(paths))
        return;
    CWaitCursor wait;
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    CStringArray errors;
    AddPaths(paths, errors);
    ShowErrorList(errors);
}

void CListWnd::AddFolder()
{
    const CString folder = s_chooseFolder ? s_chooseFolder() : CString();
    if (folder.IsEmpty())
        return;
    CWaitCursor wait;
    std::vector<CString> paths;
    if (FindFilesRecursive(folder, paths) <= 0)
        return;
    SetRedraw(FALSE);
    CStringArray errors;
    AddPaths(paths, errors);
    SetRedraw(TRUE);
    Invalidate(FALSE);
    m_list.Invalidate(FALSE);
    ShowErrorList(errors);
}

void CListWnd::OnDropFiles(HDROP drop)
{
    CWaitCursor wait;
    std::vector<CString> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i)
    {
        WCHAR name[kDropNameCapacity] = {};
        if (::DragQueryFileW(drop, i, name, kDropNameCapacity))
            paths.push_back(name);
    }
    ::DragFinish(drop);
    CStringArray errors;
    AddPaths(paths, errors);
    ShowErrorList(errors);
}

bool CListWnd::ConfirmReconvert()
{
    if (!AnyRow(false, true, IsDone))
        return true;
    return AfxMessageBox(LangMgr::GetText(L"retrans"), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CListWnd::StartProgressTimer()
{
    if (!m_bProgressTimer)
        SetTimer(kProgressTimer, kProgressPeriodMs, nullptr);
    m_bProgressTimer = 1;
}

void CListWnd::StartChecked(const CString& outputFolder)
{
    if (!ConfirmReconvert())
        return;
    std::vector<int> ids;
    bool touchesSelection = false;
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
        if (m_list.GetCheck(row) && TaskOfRow(row))
        {
            ids.push_back(TaskIdOfRow(row));
            touchesSelection = touchesSelection || m_list.GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED) != 0;
        }
    if (ids.empty())
        return;
    CVideoManager::StartTasks(outputFolder, ids);
    StartProgressTimer();
    RefreshRows();
    if (touchesSelection)
        if (CMainFrame* frame = MainFrameOf(this))
            if (CParamWnd* param = dynamic_cast<CParamWnd*>(frame->GetPanel(kParamPanel)))
                param->EnableControls(false);
}

void CListWnd::StartSelected(const CString& outputFolder)
{
    std::vector<int> ids;
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
    {
        if (!(m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        if (!m_list.GetCheck(row))
            m_list.SetCheck(row, TRUE);
        const ConvertTask* task = TaskOfRow(row);
        if (!task)
            continue;
        if (task->m_state == kTaskDone &&
            AfxMessageBox(LangMgr::GetText(L"retrans"), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        ids.push_back(task->m_id);
    }
    if (ids.empty())
        return;
    CVideoManager::StartTasks(outputFolder, ids);
    StartProgressTimer();
    RefreshRows();
    if (CMainFrame* frame = MainFrameOf(this))
        if (CParamWnd* param = dynamic_cast<CParamWnd*>(frame->GetPanel(kParamPanel)))
            param->EnableControls(false);
}

void CListWnd::PauseChecked()
{
    std::vector<int> ids;
    if (GetCheckedTaskIds(ids) > 0)
    {
        CVideoManager::PauseTasks(ids);
        RefreshRows();
    }
}

void CListWnd::StopChecked()
{
    std::vector<int> ids;
    if (GetCheckedTaskIds(ids) > 0)
    {
        CVideoManager::StopTasks(ids);
        RefreshRows();
    }
}

void CListWnd::PauseSelected()
{
    std::vector<int> ids;
    if (GetSelectedTaskIds(ids) > 0)
        CVideoManager::PauseTasks(ids);
}

void CListWnd::StopSelected()
{
    std::vector<int> ids;
    if (GetSelectedTaskIds(ids) > 0)
    {
        CVideoManager::StopTasks(ids);
        RefreshRows();
    }
}

bool CListWnd::CanStartChecked() const
{
    return AnyRow(false, true, IsNotRunning);
}

bool CListWnd::CanPauseChecked() const
{
    return AnyRow(false, true, IsRunning);
}

bool CListWnd::CanStopChecked() const
{
    return AnyRow(false, true, IsBusy);
}

bool CListWnd::CanStartSelected() const
{
    return AnyRow(true, false, IsStartable);
}

bool CListWnd::CanPauseSelected() const
{
    return AnyRow(true, false, IsRunningOrQueued);
}

bool CListWnd::CanStopSelected() const
{
    return AnyRow(true, false, IsBusy);
}

bool CListWnd::AnyCheck(bool checked) const
{
    const int count = m_list.m_hWnd ? m_list.GetItemCount() : 0;
    for (int row = 0; row < count; ++row)
        if ((m_list.GetCheck(row) != FALSE) == checked)
            return true;
    return false;
}

bool CListWnd::HasUnchecked() const
{
    return AnyCheck(false);
}

bool CListWnd::HasChecked() const
{
    return AnyCheck(true);
}

void CListWnd::SetAllChecks(bool checked)
{
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
        m_list.SetCheck(row, checked ? TRUE : FALSE);
}

void CListWnd::DeleteSelected()
{
    std::vector<int> rows;
    for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    if (rows.empty())
        return;
    m_list.SetRedraw(FALSE);
    for (auto at = rows.rbegin(); at != rows.rend(); ++at)
    {
        const int id = TaskIdOfRow(*at);
        if (*at < m_list.GetItemCount())
            m_list.DeleteRow(*at);
        CVideoManager::RemoveTask(id);
    }
    m_list.SetRedraw(TRUE);
    m_list.Invalidate(TRUE);
    UpdatePanels();
}

int CListWnd::RefreshRow(int row)
{
    ConvertTask* task = TaskOfRow(row);
    CItemList::AppendData* record = m_list.RecordOf(row);
    if (!task || !record)
        return -1;
    const int state = task->m_state;
    if (state == kTaskRunning)
    {
        SetCell(row, kColumnTimeLeft, FormatDuration(TaskSecondsLeft(::GetTickCount() - task->m_startClock, task->m_progress)));
        SetRowImage(row, kRunningImage);
        if (!record->barShown)
            m_list.ShowProgress(row, 1);
        m_list.SetProgress(row, task->m_progress);
        record->shownState = state;
        return 1;
    }
    if (state == kTaskIdle)
        return 0;
    const StateLook* look = LookOf(state);
    if (!look)
        return -1;
    // A row is rewritten whenever its task's state changed, also for a task that failed before it
    // ever ran (its log says why).
    if (record->shownState == state)
        return 0;
    record->shownState = state;
    SetRowImage(row, look->image);
    SetCell(row, kColumnTimeLeft, kNoValue);
    if (look->statusKey)
        SetCell(row, kColumnStatus, LangMgr::GetText(look->statusKey));
    if (look->hideBar)
        m_list.ShowProgress(row, 0);
    if (look->uncheck && m_list.GetCheck(row))
        m_list.SetCheck(row, FALSE);
    return 0;
}

void CListWnd::RefreshRows()
{
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
        RefreshRow(row);
}

void CListWnd::RunCompletionAction()
{
    CReelwrightApp* app = CReelwrightApp::Get();
    if (!app)
        return;
    switch (app->m_settings.action_completed)
    {
    case kCompletionClose:
        if (CWnd* main = AfxGetMainWnd())
            main->PostMessage(WM_CLOSE);
        break;
    case kCompletionShutdown:
        // The session ends with the system: the settings would otherwise be lost.
        app->save_config();
        ShutdownSystem();
        break;
    default:
        break;
    }
}

void CListWnd::OnTimer(UINT_PTR id)
{
    if (id == kProgressTimer)
    {
        CVideoManager::PollProgress();
        bool running = false;
        const int count = m_list.GetItemCount();
        for (int row = 0; row < count; ++row)
            running = RefreshRow(row) > 0 || running;
        if (running)
            return;
        KillTimer(kProgressTimer);
        m_bProgressTimer = 0;
        if (CVideoManager::AllFinished())
            RunCompletionAction();
        return;
    }
    if (id == kSelectionTimer)
    {
        if (::GetKeyState(VK_LBUTTON) < 0)
            return;
        KillTimer(kSelectionTimer);
        UpdatePanels();
        return;
    }
    Default();
}

void CListWnd::OnListItemChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if (!(change->uChanged & LVIF_STATE))
        return;
    if ((change->uOldState ^ change->uNewState) & LVIS_SELECTED)
    {
        SetTimer(kSelectionTimer, kSelectionDelayMs, nullptr);
        if (change->iItem >= 0)
            SendToMain(kRowSelectedMessage, WPARAM(change->iItem), (change->uNewState & LVIS_SELECTED) ? 1 : 0);
    }
    const int before = CheckValue(change->uOldState), after = CheckValue(change->uNewState);
    if (change->iItem < 0 || before == after)
        return;
    const UINT marks = LVIS_SELECTED | LVIS_FOCUSED;
    m_list.SetItemState(change->iItem, after ? marks : 0, marks);
    SendToMain(kRowCheckedMessage, WPARAM(change->iItem), after ? 1 : 0);
}

void CListWnd::UpdatePanels()
{
    std::vector<int> ids;
    bool busySelected = false;
    int current = -1;
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
    {
        const UINT state = m_list.GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED);
        const ConvertTask* task = (state & LVIS_SELECTED) ? TaskOfRow(row) : nullptr;
        if (!task)
            continue;
        if (task->m_state == kTaskRunning || task->m_state == kTaskPaused)
        {
            busySelected = true;
            break;
        }
        ids.push_back(task->m_id);
        if (current < 0 && (state & LVIS_FOCUSED))
            current = task->m_id;
    }
    if (current < 0 && !ids.empty())
        current = ids.front();
    if (CMainFrame* frame = MainFrameOf(this))
    {
        frame->SetSelection(ids, current);
        CParamWnd* param = dynamic_cast<CParamWnd*>(frame->GetPanel(kParamPanel));
        ConvertTask* task = nullptr;
        if (param && busySelected)
            param->EnableControls(false);
        if (param && current > 0 && CVideoManager::FindTask(current, &task))
            param->SetDlgItemText(CParamWnd::kFileNameId, task->m_displayName);
    }
    RefreshRows();
}

void CListWnd::ApplyProfileToSelected(const ConvertSetting& profile)
{
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
    {
        if (!(m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        ConvertTask* task = TaskOfRow(row);
        if (!task || task->m_state == kTaskRunning || task->m_state == kTaskPaused)
            continue;
        task->m_setting.CopyFrom(profile);
        SetSizeText(row, task->EstimateOutputSize());
        SetCell(row, kColumnProfile, LangMgr::GetNameText(profile.m_name));
    }
    UpdatePanels();
}

template <class Edit> void CListWnd::EditSelectedProfiles(Edit edit)
{
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
        if (m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED)
            if (ConvertTask* task = TaskOfRow(row))
            {
                edit(task->m_setting);
                SetSizeText(row, task->EstimateOutputSize());
            }
}

void CListWnd::SetParamChoice(const CString& key, int index)
{
    EditSelectedProfiles([&](ConvertSetting& setting) { setting.SetParamChoice(key, index); });
}

void CListWnd::SetParamValue(const CString& key, const CString& value)
{
    EditSelectedProfiles([&](ConvertSetting& setting) { setting.SetParamValue(key, value); });
}

BOOL CListWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    // The list turns its header's clicks into column clicks.
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && m_list.m_hWnd && header->hwndFrom == m_list.m_hWnd && header->code == LVN_COLUMNCLICK)
    {
        const int column = reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem;
        BOOL ascending = TRUE;
        if (column == m_nLastSortColumn)
            ascending = !m_bSortAscending;
        else if (m_nLastSortColumn >= 0 && m_header.m_hWnd)
            m_header.GetSortColumn(&ascending);
        SortByColumn(column, ascending != FALSE);
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

void CListWnd::SortByColumn(int column, bool ascending)
{
    if (column < 0 || column >= kColumnCount)
        return;
    m_nLastSortColumn = column;
    m_bSortAscending = ascending ? 1 : 0;
    if (m_header.m_hWnd)
        m_header.SetSortArrow(column, ascending);
    SortContext context;
    context.column = column;
    context.ascending = ascending;
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
        context.texts[LPARAM(m_list.GetItemData(row))] = m_list.GetItemText(row, column);
    m_list.SortItems(CompareRows, DWORD_PTR(&context));
    std::vector<int> ids;
    for (int row = 0; row < count; ++row)
    {
        if (CItemList::AppendData* record = m_list.RecordOf(row))
            record->row = row;
        ids.push_back(TaskIdOfRow(row));
    }
    CVideoManager::ReorderTasks(ids);
}

void CListWnd::ReloadTexts()
{
    // An empty translation leaves a text as it was.
    for (int column = 0; column < kColumnCount; ++column)
    {
        const CString title = LangMgr::GetText(kColumns[column].key);
        if (!title.IsEmpty())
            SetHeaderItemText(column, ::GetDlgItem(m_list.m_hWnd, 0), title);
    }
    const int count = m_list.GetItemCount();
    for (int row = 0; row < count; ++row)
    {
        const ConvertTask* task = TaskOfRow(row);
        if (!task)
            continue;
        const StateLook* look = LookOf(task->m_state);
        const CString status = look && look->statusKey ? LangMgr::GetText(look->statusKey) : CString();
        if (!status.IsEmpty())
            SetCell(row, kColumnStatus, status);
        SetCell(row, kColumnProfile, LangMgr::GetNameText(task->m_setting.m_name));
    }
}

void CListWnd::PlayOutput()
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    const ConvertTask* task = TaskOfRow(row);
    if (!task || task->m_state != kTaskDone)
        return;
    WCHAR path[MAX_PATH] = {};
    if (::MultiByteToWideChar(CP_ACP, 0, task->m_job.outputPath, -1, path, MAX_PATH) > 0)
        ::ShellExecuteW(nullptr, L"Open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

bool CListWnd::CanPlayOutput() const
{
    if (!m_list.m_hWnd || m_list.GetSelectedCount() != 1)
        return false;
    const ConvertTask* task = TaskOfRow(m_list.GetNextItem(-1, LVNI_SELECTED));
    return task && task->m_state == kTaskDone;
}

void CListWnd::ShowProperties()
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
        return;
    CPropertyDlg dialog(*this, AfxGetMainWnd());
    dialog.m_nCurrentRow = row;
    dialog.m_nRowCount = m_list.GetItemCount();
    dialog.DoModal();
}

bool CListWnd::CanShowProperties() const
{
    return m_list.m_hWnd && m_list.GetSelectedCount() == 1;
}

int CListWnd::CountTasks(int& running, int& done) const
{
    const int count = m_list.m_hWnd ? m_list.GetItemCount() : 0;
    for (int row = 0; row < count; ++row)
        if (const ConvertTask* task = TaskOfRow(row))
        {
            done += task->m_state == kTaskDone ? 1 : 0;
            running += task->m_state == kTaskRunning ? 1 : 0;
        }
    return count;
}

void CListWnd::SelectAll()
{
    // The list refuses to focus every row at once: the focus stays where it is.
    m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}

void CListWnd::SelectRow(int row)
{
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(row, FALSE);
}

BOOL CListWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN)
    {
        const bool control = ::GetKeyState(VK_CONTROL) < 0;
        if (control && msg->wParam == 'A')
        {
            SelectAll();
            return TRUE;
        }
        if (!control && msg->wParam == VK_DELETE)
            DeleteSelected();
    }
    return CDialog::PreTranslateMessage(msg);
}
