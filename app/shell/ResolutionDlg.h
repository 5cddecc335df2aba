#pragma once
// The modal dialog in which the user enters a custom output frame size for the parameter
// panel's resolution list: width and height in pixels, with a list of the named reference sizes
// that fills both numbers when one is chosen and follows the numbers as they are typed.
#include "platform/mfc/Mfc.h"

class CResolutionDlg : public CDialog
{
    DECLARE_DYNAMIC(CResolutionDlg)

  public:
    enum
    {
        IDD = 415,
        kWidthId = 1206,
        kHeightId = 1209,
        kWidthLabelId = 1211,
        kHeightLabelId = 1106,
        kReferenceLabelId = 1213,
        kReferenceId = 1214,
    };
    static const int kMaxSide = 65535;

    explicit CResolutionDlg(CWnd* parent = nullptr);
    ~CResolutionDlg() override;

    int m_width;
    int m_height;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnReferenceChange();
    afx_msg void OnSizeChanged();
    DECLARE_MESSAGE_MAP()

  private:
    int ReadEdit(int id) const;
};
