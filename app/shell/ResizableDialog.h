// CResizableDialog: the dialog base of the shell's resizable windows (tool bar and target panels,
// log window, error list). Each anchored control keeps its corners at fixed distances from points
// given as percentages of the client area; a size grip sits in the bottom-right corner.
#pragma once

#include "platform/mfc/Mfc.h"

#include <memory>
#include <vector>

// A point of the client area as percentages of its width and height.
struct CResizableAnchor
{
    int x;
    int y;
};

const CResizableAnchor kAnchorTopLeft = {0, 0};
const CResizableAnchor kAnchorBottomCenter = {50, 100};
const CResizableAnchor kAnchorBottomRight = {100, 100};
// As the bottom-right anchor: the same point as the top-left anchor.
const CResizableAnchor kAnchorNone = {-1, -1};

class CResizableDialog : public CDialog
{
    DECLARE_DYNAMIC(CResizableDialog)
  public:
    CResizableDialog();
    explicit CResizableDialog(UINT templateId, CWnd* parent = nullptr);
    ~CResizableDialog() override;

    BOOL m_bShowGrip = TRUE;
    BOOL m_bUseMaxTrack = FALSE;
    BOOL m_bUseMinTrack = TRUE;
    BOOL m_bUseMaxRect = FALSE;
    BOOL m_bSavePlacement = FALSE;
    CString m_sSection;
    CString m_sEntry;
    BOOL m_bInitDone = FALSE;
    CSize m_szGrip;
    CRect m_rcGrip;
    CSize m_szMinTrack;
    CSize m_szMaxTrack;
    CPoint m_ptMaxPos;
    CSize m_szMaxSize;

    // Anchors a control; call after the dialog has its initial size (in OnInitDialog).
    void AddAnchor(HWND control, CResizableAnchor topLeft, CResizableAnchor bottomRight = kAnchorNone);
    void AddAnchor(UINT controlId, CResizableAnchor topLeft, CResizableAnchor bottomRight = kAnchorNone);
    // Places every anchored control for the current client size.
    void ArrangeLayout();

    BOOL OnInitDialog() override;

  protected:
    afx_msg void OnPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

  private:
    struct LayoutEntry
    {
        HWND hwnd;
        BOOL repaintOnScroll;
        BOOL repaintAlways;
        CResizableAnchor topLeft;
        CSize marginTopLeft;
        CResizableAnchor bottomRight;
        CSize marginBottomRight;
    };
    std::vector<std::unique_ptr<LayoutEntry>> m_layout;

    void UpdateGripRect();
    bool ShouldShowGrip() const;
};
