// CStyleMenu: the owner-painted list the profile picker is built from: a column of items with a
// picture, a title and an optional description, one item hot under the mouse, scrolled by hovering
// over zones at its top and bottom edges or by the wheel. It reports hot changes and clicks to its
// parent through WM_COMMAND (code 1 and 0). An item is the list's item height tall, or taller when
// its title and description need more lines at the list's width.
#pragma once

#include "app/shell/InStylMenuButton.h"

#include <algorithm>
#include <vector>

class CStyleMenu : public CWnd
{
  public:
    // Notification codes of WM_COMMAND to the parent.
    static constexpr WORD kNotifyClick = 0;
    static constexpr WORD kNotifyHot = 1;
    static constexpr UINT kUpZoneId = 100;
    static constexpr UINT kDownZoneId = 200;

    struct Item
    {
        int imageKind; // 0 bitmap, 1 icon, -1 none
        HANDLE image;
        int imageWidth;
        int imageHeight;
        CString title;
        CString description;
        CString extra;
        int top;    // of the item in the content, in pixels
        int height; // the item height, or what its texts need
    };

    CStyleMenu();
    ~CStyleMenu() override;

    int m_nItemHeight = 50;
    std::vector<Item> m_items;
    CInStylMenuButton m_upZone;
    CInStylMenuButton m_downZone;
    int m_nHot = -1;
    COLORREF m_crBackground = 0xFFFEF3;
    COLORREF m_crHot = 0xD49F28;
    COLORREF m_crText = 0x513D28;
    int m_nScrollOffset = 0;
    int m_nContentHeight = 0;
    BOOL m_bScrollingUp = FALSE;
    BOOL m_bScrollingDown = FALSE;
    BOOL m_bFastUp = FALSE;
    BOOL m_bFastDown = FALSE;

    BOOL Create(const RECT& rect, CWnd* parent, UINT id);
    // Adds an item with the picture of the file (a bitmap, else an icon, else none); the item count.
    int AddItem(LPCWSTR imagePath, LPCWSTR title, LPCWSTR description, LPCWSTR extra);
    void RemoveAll();
    // Makes the item hot and scrolls it into view; sends no notification.
    void SelectItem(int index);
    int GetHotItem() const
    {
        return m_nHot;
    }
    void ScrollBy(int pixels);
    void UpdateScrollButtons();
    // The item at a height of the content; -1 below the last item.
    int ItemAtContentY(int y) const;

  protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg LRESULT OnMouseLeaveMessage(WPARAM, LPARAM);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg LRESULT OnScrollStart(WPARAM zone, LPARAM);
    afx_msg LRESULT OnScrollStop(WPARAM zone, LPARAM);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

  private:
    // Places every item from the top: heights from the texts at the current width.
    void LayoutItems();
    int MeasureItem(HDC dc, const Item& item, int width, HFONT normal, HFONT bold) const;
    void NotifyParent(WORD code);
    void ScrollUp(int pixels);
    void DrawItem(HDC dc, int index, int width, HFONT normal, HFONT bold);
    void DrawScrollZones(HDC dc);
    void TrackLeave();
};
