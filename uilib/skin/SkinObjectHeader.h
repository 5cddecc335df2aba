#pragma once
// The skin object of header controls ("SysHeader32", the list views' column headers among them):
// paints the items from the skin's HEADER class with their texts, images and sort arrows, and
// follows the cursor for the hot and pressed looks.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectHeader : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectHeader)
  public:
    CWVPSkinObjectHeader();
    ~CWVPSkinObjectHeader() override;

    // The whole control into the DC through a double buffer.
    void OnDraw(HDC hDC);
    // One item's content (owner drawing, image, sort arrow, text) over its background.
    void DrawItem(HDC hDC, int nIndex, const RECT& rc, int nState);
    // The state an item is drawn in: normal, hot, or pressed while hot.
    int GetItemState(int nIndex) const;

    int GetHotItem() const
    {
        return m_nHotItem;
    }
    bool IsPressed() const
    {
        return m_bPressed;
    }

  protected:
    // The item under a client point, or -1; pFlags receives the hit-test flags.
    int HitTest(POINT pt, UINT* pFlags = nullptr) const;
    void SetHotItem(int nItem);

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);

    bool m_bPressed = false;
    int m_nHotItem = -1;

    DECLARE_MESSAGE_MAP()
};
