#pragma once
// The skin object of scroll-bar controls: draws the control from the skin and runs its arrows,
// page areas and thumb with the frame's scroll-bar engine.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectScrollBar : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectScrollBar)
  public:
    CWVPSkinObjectScrollBar();

    void DrawScrollBarControl(HDC hDC);
    SCROLLBARPOSINFO* GetControlInfo()
    {
        return &m_spiCtl;
    }

  protected:
    BOOL IsSizeBox() const;
    void PaintNow();

    afx_msg LRESULT OnCreateMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPaintMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPrintClientMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEnableMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseMoveMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseLeaveMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLButtonDownMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetScrollInfoMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetPosMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetScrollInfoMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetFocusMessage(WPARAM wParam, LPARAM lParam);

    SCROLLBARPOSINFO m_spiCtl = {};

    DECLARE_MESSAGE_MAP()
};
