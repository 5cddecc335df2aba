// CSortHeaderCtrl: the header of the sortable list, drawing an arrow on the sorted column and
// showing the columns' contents while the user drags a divider.
#pragma once

#include "platform/mfc/Mfc.h"

// Sent by the header to its list after a divider drag, so that cell windows are placed again.
const UINT WM_SUPERLIST_POSITIONBARS = WM_USER + 171;

class CSortHeaderCtrl : public CHeaderCtrl
{
  public:
    int m_nSortColumn = -1;
    BOOL m_bAscending = TRUE;
    BOOL m_bSavedDragFull = FALSE;

    void SetSortArrow(int column, BOOL ascending);
    void DrawItem(LPDRAWITEMSTRUCT item) override;

  protected:
    afx_msg void OnBeginTrack(NMHDR* header, LRESULT* result);
    afx_msg void OnEndTrack(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()
};
