#pragma once
// The library's column header: painted through a header theme, with hot and pressed columns, a
// sort arrow, fixed columns, a minimum width, columns fitted to the window and a right-click
// menu to sort by a column or align it. List controls subclass their header into the flat one.
#include "platform/mfc/Mfc.h"
#include "uilib/foundation/ThemeManager.h"

class CWVHeaderCtrlTheme;

class CWVHeaderCtrl : public CHeaderCtrl, public CWVThemeManagerStyleHost
{
    DECLARE_DYNAMIC(CWVHeaderCtrl)

  public:
    // Commands of the header's right-click menu.
    enum
    {
        idSortAscending = 9325,
        idSortDescending = 9326,
        idAlignLeft = 9327,
        idAlignCenter = 9328,
        idAlignRight = 9329,
        idHeaderMenu = 9316,
        idHeaderToolBar = 9307,
    };

    CWVHeaderCtrl();
    ~CWVHeaderCtrl() override;

    CWVHeaderCtrlTheme* GetTheme() const;
    int HitTest(int x, int y, UINT* pFlags = nullptr) const;
    int SetSortArrow(int iSortCol, BOOL bSortAsc);
    int GetSortColumn(BOOL* pbSortAsc = nullptr) const;
    void SetAutoFitColumns(BOOL bAutoFit = TRUE);
    void SetMinColumnWidth(int nMinWidth);
    void AddFixedColumn(int iCol);
    void RemoveFixedColumn(int iCol);
    BOOL IsFixedColumn(int iCol) const;
    void UpdateLayout();
    void SendItemClick(int iCol);
    void EnablePopupMenus(BOOL bEnable);

    virtual BOOL IsItemPressed(int iItem) const;
    virtual void InitializeHeader(BOOL bBoldFont);
    virtual void SetPopupMenu(int nMenuID, int nSubMenuIndex = 0);
    virtual void SetFontBold(BOOL bBoldFont = TRUE);
    virtual void ShowSortArrow(BOOL bShowSortArrow);
    virtual void SetColumnAlignment(int nFormat);
    virtual BOOL IsRightToLeftReading() const;
    virtual void DistributeWidth(int nWidth);
    virtual void FitColumnsToWidth(int nWidth = -1);
    virtual int GetFixedColumnsWidth() const;

    void OnThemeChanged() override;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  private:
    // The parent when it is a list (a list view window), else null.
    HWND ParentList() const;
    void OnPaint();
    void OnTimer();
    BOOL OnSetCursor();
    void OnRButtonDown(CPoint point);
    BOOL OnMenuCommand(UINT nID);
    void SortFromMenu(BOOL bAscending);
    BOOL OnWindowPosChanging(WINDOWPOS* pPos);

    int m_nMinColWidth;
    int m_nSubMenuIndex;
    int m_iHotItem;
    int m_iSortCol;
    bool m_bRTL;
    bool m_bAutoFitColumns;
    BOOL m_bEnableMenus;
    BOOL m_bSortAsc;
    BOOL m_bLBtnDown;
    BOOL m_bPainted;
    int m_nMenuID;
    CPoint m_pt;
    CList<int, int> m_arrFixedCols;
};

// The header every library list owns: the same control with a private Office XP theme.
class CWVFlatHeaderCtrl : public CWVHeaderCtrl
{
    DECLARE_DYNAMIC(CWVFlatHeaderCtrl)

  public:
    CWVFlatHeaderCtrl();
};
