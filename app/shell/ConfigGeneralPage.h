#pragma once
// The Options dialog's general page: tray, update and menu-bar behaviour and the snapshot folder,
// which is created when OK is pressed (or the user is told, and the dialog stays).
#include "app/shell/AppSettings.h"

class CConfigGeneralPage : public CPropertyPage
{
  public:
    enum
    {
        IDD = 102,
        kTrayId = 1240,
        kAutoUpdateId = 1038,
        kShowMenuId = 1241,
        kSnapLabelId = 1103,
        kSnapPathId = 1200,
        kBrowseId = 1023,
        kOpenId = 1026,
    };
    explicit CConfigGeneralPage(AppSettings* settings);
    ~CConfigGeneralPage() override;

    // The folder picker; tests replace it.
    typedef CString (*BrowseFunction)();
    static BrowseFunction s_browse;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    afx_msg void OnBrowse();
    afx_msg void OnOpen();
    DECLARE_MESSAGE_MAP()

  private:
    AppSettings* m_settings;
    CString m_title;
    int m_tray;
    int m_autoUpdate;
    int m_showMenu;
};
