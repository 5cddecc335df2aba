#pragma once
// The skin object of tab controls ("SysTabControl32"): the control keeps its layout and selection;
// the object draws the pane, the tabs with their hot and selected looks, images and texts from the
// skin's TAB class.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectTab : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectTab)
  public:
    // Parts and states of the schema's TAB class.
    enum Part
    {
        kPartTopTabItem = 5,
        kPartTopTabItemLeftEdge = 6,
        kPartTopTabItemRightEdge = 7,
        kPartPane = 9,
    };
    enum State
    {
        kStateNormal = 1,
        kStateHot = 2,
        kStateSelected = 3,
        kStateDisabled = 4,
    };

    CWVPSkinObjectTab();

    // The strip of the client rectangle that holds the tabs.
    RECT GetHeaderRect() const;
    // The rectangle's background: the parent's static brush, the pane over what lies outside the
    // tab strip.
    void DrawBackground(HDC hDC, const RECT& rc);
    void DrawTabs(HDC hDC);
    void DrawItem(HDC hDC, int nIndex);
    void DrawTab(HDC hDC, RECT rc, int nIndex, int nCount, bool bSelected);
    void DrawItemImage(HDC hDC, RECT& rcText, int nIndex);
    void DrawItemText(HDC hDC, RECT rc, int nIndex, int nCount, bool bSelected);
    // The part a tab draws with: the first, the last unselected, or any other.
    static int GetTabPart(int nIndex, int nCount, bool bSelected);

    int GetHotTab() const
    {
        return m_nHotTab;
    }

  protected:
    int GetTabState(int nIndex, bool bSelected) const;
    void SetHotTab(POINT pt);

    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);

    int m_nHotTab = -1;

    DECLARE_MESSAGE_MAP()
};
