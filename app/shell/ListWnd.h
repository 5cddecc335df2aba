// CListWnd: the main window's task list panel, one row per task of the task manager. It adds files
// as tasks (file dialog, folder, drop), starts, pauses, stops and removes them for the main frame's
// commands, polls the running tasks once a second and tells the frame about selection and checks.
#pragma once

#include "app/core/PrivateMessages.h"
#include "app/shell/ItemList.h"
#include "app/shell/TaskRows.h"
#include "resources/resource.h"
#include "uilib/controls/HeaderCtrl.h"

#include <vector>

class ConvertSetting;
class ConvertTask;

class CListWnd : public CDialog, public TaskRows
{
  public:
    static constexpr UINT kTemplateId = IDD_LISTWND;
    static constexpr UINT kListId = IDC_TASKLIST;
    static constexpr UINT_PTR kProgressTimer = 101;
    static constexpr UINT_PTR kSelectionTimer = 102;
    static constexpr UINT kProgressPeriodMs = 1000;
    static constexpr UINT kSelectionDelayMs = 300;
    // To the main window: a row's selection (wParam row, lParam 1 selected / 0 not) and check.
    static constexpr UINT kRowSelectedMessage = WM_RW_ROW_SELECTED;
    static constexpr UINT kRowCheckedMessage = WM_RW_ROW_CHECKED;
    static constexpr int kColumnCount = 7;
    enum Column
    {
        kColumnName,
        kColumnLength,
        kColumnProfile,
        kColumnSize,
        kColumnStatus,
        kColumnTimeLeft,
        kColumnPath,
    };

    // Where the file dialog and the folder picker come from; tests replace them. The chooser
    // appends the chosen paths and returns false when the user cancelled.
    typedef bool (*FileChooser)(std::vector<CString>& paths);
    typedef CString (*FolderChooser)();
    static FileChooser s_chooseFiles;
    static FolderChooser s_chooseFolder;

    CListWnd();
    ~CListWnd() override;

    BOOL Create(CWnd* parent);
    CItemList& List()
    {
        return m_list;
    }

    // Commands of the main frame.
    void AddFiles();
    void AddFolder();
    void DeleteSelected();
    void SetAllChecks(bool checked);
    bool HasUnchecked() const;
    bool HasChecked() const;
    void StartChecked(const CString& outputFolder);
    void PauseChecked();
    void StopChecked();
    bool CanStartChecked() const;
    bool CanPauseChecked() const;
    bool CanStopChecked() const;
    void StartSelected(const CString& outputFolder);
    void PauseSelected();
    void StopSelected();
    bool CanStartSelected() const;
    bool CanPauseSelected() const;
    bool CanStopSelected() const;
    int GetSelectedTaskIds(std::vector<int>& ids) const;
    void PlayOutput();
    bool CanPlayOutput() const;
    void ShowProperties();
    bool CanShowProperties() const;
    void SetParamChoice(const CString& key, int index);
    void SetParamValue(const CString& key, const CString& value);
    // The number of rows; adds the running and the done tasks to the counts.
    int CountTasks(int& running, int& done) const;
    void ReloadTexts();
    void UpdatePanels();

    // Adds one file as a task and a row; false (no row) when it cannot become a task.
    bool AddTaskRow(const CString& path, CString& displayName);
    void ApplyProfileToSelected(const ConvertSetting& profile);
    void SelectAll();
    void SortByColumn(int column, bool ascending);
    void RefreshRows();
    // 1 when the row's task runs, 0 when not, -1 for a row without a task or a state unknown.
    int RefreshRow(int row);
    void SetSizeText(int row, INT64 bytes);
    bool ConfirmReconvert();
    int GetCheckedTaskIds(std::vector<int>& ids) const;
    bool ProgressTimerRunning() const
    {
        return m_bProgressTimer != 0;
    }

    // TaskRows.
    int TaskIdOfRow(int row) const override;
    void SelectRow(int row) override;

    int m_nLastSortColumn = -1;
    int m_bSortAscending = 0;
    CWVHeaderCtrl m_header;
    CItemList m_list;
    CImageList m_statusImages;
    int m_bProgressTimer = 0;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnOK() override
    {
    }
    void OnCancel() override
    {
    }

  protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnContextMenu(CWnd* window, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnDropFiles(HDROP drop);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnListItemChanged(NMHDR* header, LRESULT* result);
    afx_msg LRESULT OnReserved(WPARAM, LPARAM);
    afx_msg LRESULT OnReloadTexts(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

  private:
    // The task of a row, or null.
    ConvertTask* TaskOfRow(int row) const;
    // True when some row (of the selected or checked ones only, when asked) has a task whose state passes.
    bool AnyRow(bool selectedOnly, bool checkedOnly, bool (*test)(int state)) const;
    void CollectIds(bool selected, std::vector<int>& ids) const;
    bool AnyCheck(bool checked) const;
    // Applies an edit to the profile of every selected row's task and shows the new size.
    template <class Edit> void EditSelectedProfiles(Edit edit);
    void StartProgressTimer();
    void RunCompletionAction();
    // Adds the paths as rows, collecting "name|reason" entries for those that fail.
    void AddPaths(const std::vector<CString>& paths, CStringArray& errors);
    void SetCell(int row, int column, const CString& text);
    void SetRowImage(int row, int image);
    void SendToMain(UINT message, WPARAM wParam, LPARAM lParam);
};
