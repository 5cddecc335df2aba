#pragma once
// The window along one side of a frame that holds docked tool bars in rows: it answers the frame's
// layout message with its size, lays each row out (keeping where the user dropped each bar,
// removing overlaps, squeezing bars that may shrink, moving what still does not fit into an extra
// row) and places every bar window in one deferred pass. The command-bar manager makes four.
#include "platform/mfc/Mfc.h"

#include <vector>

class CWVPToolBar;
class CWVPCommandBarManager;
class CWVPPaintManager;

class CWVPDockBar : public CWnd
{
    DECLARE_DYNCREATE(CWVPDockBar)

  public:
    // One bar of a row while the row is laid out.
    struct DOCK_INFO
    {
        CWVPToolBar* pBar;
        CRect rcBar;
        CRect rcWanted;
        int index;
        int minLength;
        int precedingMin;
    };
    typedef std::vector<DOCK_INFO> CDockInfoArray;

    CWVPDockBar();
    ~CWVPDockBar() override;

    // Creates the dock bar's window in the frame for a side (CBRS_ALIGN_TOP, _BOTTOM, _LEFT,
    // _RIGHT), listening to the manager.
    BOOL Create(CWnd* pFrame, DWORD alignment, CWVPCommandBarManager* pManager);
    // 0 top, 1 bottom, 2 left, 3 right.
    int GetPosition() const;
    BOOL IsHorizontal() const
    {
        return GetPosition() <= 1;
    }
    DWORD GetDockStyle() const
    {
        return m_dwDockStyle;
    }

    // The rows: bars in order, a null entry closing each row (the first entry is always null).
    int GetCount() const
    {
        return int(m_arrBars.size());
    }
    CWVPToolBar* GetAt(int index) const
    {
        return index >= 0 && index < GetCount() ? m_arrBars[index] : nullptr;
    }
    int FindBar(CWVPToolBar* pBar, int skipIndex = -1) const;

    // Docks the bar at a screen rectangle (its drop place), or at a new last row without one.
    void DockCommandBar(CWVPToolBar* pBar, LPCRECT lpRect = nullptr);
    BOOL RemoveCommandBar(CWVPToolBar* pBar, int skipIndex = -1);
    // Inserts the bar by its drop rectangle (client coordinates) and centre; its index.
    int InsertBar(CWVPToolBar* pBar, CRect rc, CPoint ptMid);

    // Puts back saved rows (bars with a null entry closing each row); the bars' windows must be
    // docked windows of the site already.
    void RestoreRows(const std::vector<CWVPToolBar*>& rows);

    CSize CalcFixedLayout(int length, DWORD mode, AFX_SIZEPARENTPARAMS* lpLayout);
    DWORD GetDockMode(BOOL horizontal, CWVPToolBar* pBar) const;
    // The manager's paint manager (the process-wide one without a manager).
    CWVPPaintManager* GetPaintManager() const;

  protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int LayoutRow(std::vector<CWVPToolBar*>& row, int offset, int length, BOOL horizontal,
                  AFX_SIZEPARENTPARAMS* lpLayout);
    // Places one row; the row's thickness, or -1 with `pOverflow` set to the bar that must leave.
    int AdjustRow(std::vector<CWVPToolBar*>& row, int offset, int length, BOOL horizontal,
                  AFX_SIZEPARENTPARAMS* lpLayout, CWVPToolBar*& pOverflow);
    void SeparateStretchedBars();
    void RelayoutFrame();

    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg void OnRButtonDown(UINT flags, CPoint pt);
    afx_msg LRESULT OnNcHitTest(CPoint pt);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    DWORD m_dwDockStyle;
    std::vector<CWVPToolBar*> m_arrBars;
    CWVPCommandBarManager* m_pCommandBars;
};
