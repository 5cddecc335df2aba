#pragma once
// The behaviour the library's report lists share: a flat header with a sort arrow and a sort hook,
// row and sorted-column colours, minimum and locked column widths, column operations and column
// widths kept in the registry. A list control carries it as a second base and binds it to itself.
#include "platform/mfc/Mfc.h"
#include "uilib/controls/HeaderCtrl.h"

#include <vector>

class CWVListBase
{
  public:
    // A row drawn in its own colours.
    struct ROWCOLOR
    {
        int iRow;
        COLORREF crBack;
        COLORREF crText;
    };

    // The colour value that means "none set".
    static const COLORREF kNoColor = static_cast<COLORREF>(-1);

    CWVListBase();
    virtual ~CWVListBase();
    CWVListBase(const CWVListBase&) = delete;
    CWVListBase& operator=(const CWVListBase&) = delete;

    virtual int SetSortArrow(int iSortCol, BOOL bSortAsc);
    // The persisted width of a column, by column index; 0 when none is stored.
    virtual int LoadColumnWidth(int iCol);
    virtual void RestoreColumnWidth(int iCol);
    virtual void RestoreColumnWidths();
    virtual void SaveColumnWidths();
    // Sizes one column (or every column for a negative one) to its contents and heading.
    virtual void AutoSizeColumn(int iCol = -1);
    // Keeps the column widths under HKCU\Software\<company>\<profile>\<section>, value <entry>.
    virtual void PersistColumnWidths(LPCWSTR lpszSection = nullptr, LPCWSTR lpszEntry = nullptr,
                                     LPCWSTR lpszDefault = nullptr);
    virtual BOOL SubclassHeader(BOOL bBoldFont = FALSE);
    // The sort hook a header click ends in: derived lists sort their rows here.
    virtual BOOL SortList(int nCol, BOOL bAscending);
    virtual DWORD SetExtendedStyle(DWORD dwExStyle);
    virtual DWORD GetExtendedStyle();
    virtual void LockColumnWidths(BOOL bLock);
    // The row under the point, and the display position of the column under it.
    virtual int HitTestEx(CPoint& point, int* pCol) const;
    virtual int AddColumn(LPCWSTR lpszHeading, int nWidth = -1, int nFormat = LVCFMT_LEFT);
    virtual BOOL BuildColumns(int nCols, const int* pWidths, const LPCWSTR* pHeadings);
    virtual BOOL BuildColumnsFromResources(int nCols, const int* pWidths, const UINT* pStringIds);
    virtual int GetColumnCount() const;
    // Copies a row (text, image, item data and sub-item texts) to another position; the source's
    // index after the insertion, or -1.
    virtual int CopyRow(int nFrom, int nTo);
    virtual BOOL MoveRow(int nFrom, int nTo);
    virtual const ROWCOLOR* FindRowColor(int iRow) const;
    virtual BOOL ModifyExtendedStyle(DWORD dwRemove, DWORD dwAdd);
    virtual BOOL InitList();
    // Header notifications: minimum width, locked columns and click sorting. TRUE when the
    // notification is answered here (in *pResult) and must go no further.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // NM_CUSTOMDRAW of the list: row, sorted-column and disabled colours per cell.
    virtual void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);

    // Maximum column width, sorted-column colours: from the system's metrics and colours.
    void RefreshColors();
    COLORREF GetBackColor() const;
    COLORREF GetTextColor() const;
    COLORREF GetSortBackColor() const;
    COLORREF GetSortTextColor() const;
    BOOL IsReportView() const;
    CHeaderCtrl* GetListHeader() const;
    int GetSortColumn() const
    {
        return m_nSortCol;
    }
    BOOL IsSortAscending() const
    {
        return m_bSortAscending;
    }
    CWVFlatHeaderCtrl& GetFlatHeader()
    {
        return m_flatHeader;
    }

    int m_nMinColWidth;
    int m_nMaxColWidth;
    int m_nSortCol;
    bool m_bUseUIFont;
    bool m_bPersistColumns;
    bool m_bCustomColors;
    bool m_bRowColors;
    bool m_bSortColors;
    bool m_bSortAscending;
    bool m_bColumnsLocked;
    CString m_strSection;
    CString m_strEntry;
    CString m_strDefault;
    COLORREF m_crText;
    COLORREF m_crBack;
    COLORREF m_crSortText;
    COLORREF m_crSortBack;
    CList<ROWCOLOR, const ROWCOLOR&> m_arRowColors;

  protected:
    void BindList(CListCtrl* pList)
    {
        m_pList = pList;
    }
    // Fills the sort column's span over the client height (columns in display order, scrolled).
    void FillSortColumn(CDC* pDC, const CRect& rcClient) const;

    CWVFlatHeaderCtrl m_flatHeader;
    CListCtrl* m_pList;

  private:
    // The column index at each display position.
    std::vector<int> ColumnOrder() const;
    int MeasureHeading(int iCol) const;
    bool StoredColumnWidth(int iCol, int& nWidth);
    void OnHeaderItemClick(const NMHEADERW* pNMH);
};
