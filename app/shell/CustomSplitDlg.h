#pragma once
// The small modal dialog in which the user types a custom split size (megabytes) or time
// (minutes) for the parameter panel's split list. The panel sets the mode, runs it and reads
// the value; values below 1 are refused with a message.
#include "platform/mfc/Mfc.h"

class CCustomSplitDlg : public CDialog
{
  public:
    enum
    {
        IDD = 414,
        kPromptId = 1203,
        kValueId = 1205,
        kUnitId = 1208,
    };
    enum Mode
    {
        kSizeMode = 0,
        kTimeMode = 1,
    };

    explicit CCustomSplitDlg(CWnd* parent = nullptr);
    ~CCustomSplitDlg() override;

    int m_mode;
    CString m_value;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    DECLARE_MESSAGE_MAP()
};
