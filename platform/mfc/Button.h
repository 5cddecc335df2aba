// CButton: push buttons, check boxes, radio buttons and group boxes; owner-drawn buttons draw
// through DrawItem, reached by reflection from the parent's WM_DRAWITEM.
#pragma once

#include "platform/mfc/Wnd.h"

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    CButton() {}
    virtual BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, (WPARAM)check); }
    UINT GetButtonStyle() const { return (UINT)GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    HICON SetIcon(HICON icon) { return (HICON)SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)icon); }
    HICON GetIcon() const { return (HICON)SendMessage(BM_GETIMAGE, IMAGE_ICON); }
    HBITMAP SetBitmap(HBITMAP bitmap) { return (HBITMAP)SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap); }
    HBITMAP GetBitmap() const { return (HBITMAP)SendMessage(BM_GETIMAGE, IMAGE_BITMAP); }
    HCURSOR SetCursor(HCURSOR cursor) { return (HCURSOR)SendMessage(BM_SETIMAGE, IMAGE_CURSOR, (LPARAM)cursor); }
    void Click() { SendMessage(BM_CLICK); }

    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
