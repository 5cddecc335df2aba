// The program's main window: a frame without a window menu holding the menu bar and the five
// panels, laying them out, routing every menu, tool-bar and accelerator command, and receiving
// the program's private messages (second instance, engine log lines, update progress). UI thread
// only; other threads reach it through posted messages.
#pragma once

#include "app/core/PrivateMessages.h"
#include "app/core/ConvertSetting.h"
#include "app/shell/MainPanels.h"
#include "app/shell/MenuBar.h"
#include "app/shell/PreviewSession.h"
#include "app/shell/TrayIcon.h"
#include "platform/mfc/Mfc.h"

#include <vector>

class CListWnd;
class CLogDialog;

// The task counts the tray tooltip shows.
struct TaskCounts
{
    int total = 0;
    int running = 0;
    int done = 0;
};

class CMainFrame : public CFrameWnd
{
  public:
    CMainFrame();
    ~CMainFrame() override;

    // The frame's sizes.
    static constexpr int kToolBarHeight = 43;
    static constexpr int kMinTrackWidth = 780;
    static constexpr int kMinTrackHeight = 580;

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, LPCWSTR menuName,
                DWORD exStyle, CCreateContext* context) override;

    void LayoutPanels(int cx, int cy);
    void ShowPanels();
    bool LoadMainMenu();
    void ReloadTexts();
    void OnLanguage(UINT id);
    CDialog* GetPanel(MainPanel panel) const
    {
        return m_panels[panel];
    }
    bool AllPanelsExist() const;
    // The preview panel's volume, sound and snapshot folder, kept in the settings at shutdown.
    PreviewSettings& Preview()
    {
        return m_preview;
    }
    // The tasks selected in the task list; the parameter panel's edits reach each of them.
    const std::vector<int>& Selection() const
    {
        return m_selection;
    }
    // Called by the task list when its selection changes: the parameter panel shows the selected
    // tasks, the preview panel the first of them (or the given one, -1 for none).
    void SetSelection(const std::vector<int>& ids);
    // The output folder for conversions that start now, from the target panel: validated,
    // created when missing and stored in its history; empty (the error shown) when unusable.
    CString GetOutputFolder();
    // The profile picked in the target panel goes into every selected task that is neither
    // running nor paused, through the task list panel, whose rows and the parameter and preview
    // panels then show it.
    void ApplyProfileToSelected(const ConvertSetting& profile);
    void SetSelection(const std::vector<int>& ids, int shownTaskId);
    // The task list panel, or null while its slot holds another dialog.
    CListWnd* ListPanel() const;
    // The open output log window, or null.
    CLogDialog* LogWindow() const
    {
        return m_logWindow;
    }

    CDialog* m_panels[kMainPanelCount];
    CImageList m_menuImages;
    CTrayIcon m_trayIcon;
    CustomMenuBar m_wndMenuBar;

    // Tray icon: the window hidden in the notification area and brought back.
    void RestoreFromTray();
    void UpdateTrayTip();
    // The rows, converting and done tasks of the task list.
    static TaskCounts CountTasks();
    afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTrayOpen();

    // Options dialog.
    afx_msg void OnOptions();

    // Skin looks and tints.
    afx_msg void OnSkinStyle(UINT id);
    afx_msg void OnSkinTint(UINT id);
    afx_msg void OnUpdateSkinItem(CCmdUI* state);

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    // Asks first while conversions are under way.
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSetFocus(CWnd* old);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
    afx_msg void OnSysCommand(UINT command, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnComeToFront(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEngineLog(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDownloadDone(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDownloadProgress(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInstanceQuery(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnParamValue(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnParamChoice(WPARAM wParam, LPARAM lParam);
    afx_msg void OnShowMenu();
    afx_msg void OnUpdateShowMenu(CCmdUI* state);
    afx_msg void OnBackground();
    afx_msg void OnUpdateBackground(CCmdUI* state);
    afx_msg void OnLanguageCommand(UINT id);
    afx_msg void OnSupport();
    afx_msg void OnCheckUpdate();
    afx_msg LRESULT OnRowSelected(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRowChecked(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLogWindow(WPARAM wParam, LPARAM lParam);

  protected:
    DECLARE_MESSAGE_MAP()

  private:
    void ShowCreateError(LPCWSTR key);
    // Runs or updates a command that the task list serves; false for other commands.
    bool RouteListCommand(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);
    void CloseLogWindow();

    PreviewSettings m_preview;
    std::vector<int> m_selection;
    CLogDialog* m_logWindow = nullptr;
};
