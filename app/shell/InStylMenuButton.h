// CInStylMenuButton: the invisible child window that forms one scroll zone of a style menu list.
// Hovering over it asks the list to scroll; it never presses and never paints itself.
#pragma once

#include "platform/mfc/Mfc.h"

// Sent by a zone to its list with the zone's id: the mouse came in, or left.
const UINT WM_STYLEMENU_SCROLLSTART = WM_USER + 4352;
const UINT WM_STYLEMENU_SCROLLSTOP = WM_USER + 4353;

class CInStylMenuButton : public CButton
{
  public:
    BOOL m_bMouseInside = FALSE;

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  protected:
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg LRESULT OnMouseLeaveMessage(WPARAM, LPARAM);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
