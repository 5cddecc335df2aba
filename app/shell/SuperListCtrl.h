// CSuperListCtrl: a report list that sorts itself when a column title is clicked (numeric, date or
// text order, chosen from the cell texts) and keeps progress-bar windows over their cells while
// the list scrolls, resizes, sorts and loses rows.
#pragma once

#include "app/shell/SortHeaderCtrl.h"

#include <map>
#include <memory>
#include <vector>

// Sent to the list's parent with the clicked column, before and after a sort.
const UINT WM_SUPERLIST_SORTSTART = WM_USER + 172;
const UINT WM_SUPERLIST_SORTDONE = WM_USER + 173;

class CSuperListCtrl : public CListCtrl
{
    DECLARE_DYNCREATE(CSuperListCtrl)
  public:
    // A window lying over cell (row, column); the entry owns the window.
    class CProgressEntry
    {
      public:
        CProgressEntry(int row, int column, HWND bar) : m_nRow(row), m_nColumn(column), m_hBar(bar)
        {
        }
        virtual ~CProgressEntry();
        int m_nRow;
        int m_nColumn;
        HWND m_hBar;
    };

    CSuperListCtrl();
    ~CSuperListCtrl() override;

    int m_nSortColumn = -1;
    BOOL m_bAscending = TRUE;
    CSortHeaderCtrl m_header;
    // Entries by row; the list owns them.
    std::map<int, std::unique_ptr<CProgressEntry>> m_progressEntries;

    // Puts an entry in the map under its row (replacing one there).
    void AddProgressEntry(std::unique_ptr<CProgressEntry> entry);
    void PositionProgressBars();
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM list);
    // The order of two cell texts; the kind of comparison follows the first text alone.
    static int CompareTexts(const CString& first, const CString& second);

  protected:
    void PreSubclassWindow() override;
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnWindowPosChanged(WINDOWPOS* pos);
    afx_msg void OnDeleteAllItems(NMHDR* header, LRESULT* result);
    afx_msg void OnDeleteItem(NMHDR* header, LRESULT* result);
    afx_msg LRESULT OnPositionBars(WPARAM, LPARAM);
    afx_msg void OnColumnClick(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

  private:
    // The sort column's texts by the rows' indices before the sort.
    std::vector<CString> m_sortTexts;
};
