#pragma once
// A grid picker for a popup (rows and columns of a table, say): the pointer selects a block of
// cells from the top-left corner, dragging past the edge with the button held grows the grid, and
// the release executes with the chosen size. Derived classes draw the cells' content.
#include "uilib/commandbars/Control.h"

// The owner hears of every change of the selection with this notification.
const UINT WVP_NOTIFY_SELECTOR_SELCHANGE = 4102;

class CWVPControlSelector : public CWVPControl
{
    DECLARE_SERIAL(CWVPControlSelector)

  public:
    CWVPControlSelector();

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnCalcDynamicSize(DWORD mode) override;
    void DoPropExchange(CWVPPropExchange* pPX) override;
    void Copy(CWVPControl* pSource, BOOL recursive = FALSE) override;
    void OnLButtonUp(CPoint pt) override;
    void OnMouseMove(CPoint pt) override;
    BOOL OnSetSelected(int state) override;

    // Selects the first columns and rows; tells the owner when it changed (or when forced).
    void SetSelection(int columns, int rows, BOOL force = FALSE);
    CSize GetSelection() const
    {
        return m_szSelection;
    }
    // The selection when the control last executed: what the owner reads.
    CSize GetChosen() const
    {
        return m_szChosen;
    }
    CSize GetGrid() const
    {
        return m_szGrid;
    }

    CSize m_szItemsCount; // the grid when the menu opens
    CSize m_szItemsMax;   // the largest grid dragging reaches
    CSize m_szItemSize;   // one cell in pixels

  protected:
    // The content of one cell, in the colour given; nothing in the base.
    virtual void DrawItem(CDC* pDC, CRect rc, COLORREF color);

  private:
    CSize m_szSelection;
    CSize m_szChosen;
    CSize m_szGrid;
    BOOL m_bGrowing;
};
