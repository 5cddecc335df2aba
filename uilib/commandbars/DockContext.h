#pragma once
// Moves a tool bar with the mouse between its frame's dock bars and a floating window, resizes a
// floating bar from its edges, and toggles a bar between docked and floating. Each tool bar owns
// one; a drag runs the shared capture loop on the bar window.
#include "platform/mfc/Mfc.h"

class CWVPToolBar;

// Drag modes: moving, or resizing from the edge of a hit-test code (HTLEFT ... HTBOTTOMRIGHT).
const int WVP_DRAG_MOVE = 1;
// A dock bar takes a dragged bar whose pointer comes this close to it.
const int WVP_DOCK_REACH = 20;
// A floating bar keeps at least this much of itself inside the work area.
const int WVP_FLOAT_KEEP_VISIBLE = 10;

class CWVPDockContext
{
  public:
    explicit CWVPDockContext(CWVPToolBar* pBar);
    virtual ~CWVPDockContext() = default;

    virtual void StartDrag(CPoint pt);
    virtual void StartResize(int hitTest, CPoint pt);
    // TRUE when the bar changed between docked and floating.
    virtual BOOL ToggleDocking();
    // The modal loop of both drags.
    virtual void Track();

    CWVPToolBar* GetBar() const
    {
        return m_pBar;
    }
    // Written by the dock bar while it lays out its rows.
    int m_nLastDockIndex;
    CRect m_rcLastDocked;
    // Where the bar last floated (screen; 0, 0 when it never did).
    CPoint m_ptFloating;
    // The bar's floating size for a new floating window.
    CSize m_szFloating;

  protected:
    void OnMove(CPoint pt);
    void OnResize(CPoint pt);
    // Keeps the floating rectangle at least a little inside the work area under the cursor.
    static void KeepInWorkArea(CRect& rc, const CRect& workArea);
    friend class CWVPDockContextLoop;

    CWVPToolBar* m_pBar;
    int m_nDragMode;
    CPoint m_ptLast;
    CRect m_rcDockTest;
    CRect m_rcDrag;
};
