#pragma once
// The modal About box: product picture and icon, name, the running version (the update
// manager's current one), two text lines and the web link, all in the chosen language. OK,
// Escape and the caption's close button fade it out in ten steps and end it with 1.
#include "app/shell/HyperLink.h"
#include "platform/mfc/Mfc.h"

class CAboutDlg : public CDialog
{
  public:
    enum
    {
        IDD = 100,
        kWebLinkId = 1223,
        kVersionId = 1225,
        kRightId = 1226,
        kCopyrightId = 1228,
        kProductId = 1229,
    };
    static const UINT_PTR kFadeTimer = 1224;
    static const UINT kFadeStepMs = 20;
    static const int kFadeStep = 10;
    typedef BOOL(WINAPI* AlphaFunction)(HWND, COLORREF, BYTE, DWORD);

    explicit CAboutDlg(CWnd* parent = nullptr);
    ~CAboutDlg() override;

    // The version shown: the update manager's current version, or the program's own.
    static CString CurrentVersion();

    AlphaFunction m_setAlpha;
    bool m_fadeArmed;
    int m_opacity;
    CHyperLink m_webLink;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

  private:
    void StartFade();
};
