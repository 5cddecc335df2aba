// CButtonST: the push button of the tool bar panel and the player controls. With a bitmap of four
// side-by-side pictures (normal, hover, pressed, disabled) it shows the one for its state; without
// one it draws a classic or flat 3-D button with its caption. It tracks hover and can carry a tooltip.
#pragma once

#include "platform/mfc/Mfc.h"

class CButtonST : public CButton
{
  public:
    CButtonST();
    ~CButtonST() override;

    // Picture states, one image each in the bitmap, in this order.
    enum State
    {
        kNormal = 1,
        kHover = 2,
        kPressed = 3,
        kDisabled = 4,
    };

    CBitmap m_bitmap;
    BOOL m_bTransparent = FALSE;
    COLORREF m_crTransparent = 0;
    CToolTipCtrl* m_pToolTip = nullptr;
    BOOL m_bPushed = FALSE;
    BOOL m_bHover = FALSE;
    BOOL m_bPushedLook = FALSE;
    BOOL m_bOwnerDrawOnSubclass = TRUE;
    // The bitmap outlives the context it is selected into.
    CBitmap m_bmpBackground;
    CDC m_dcBackground;
    BOOL m_bFlat = FALSE;
    BOOL m_bDrawFocus = TRUE;

    // Loads a bitmap resource; false (and the old bitmap kept) when it is missing.
    bool SetBitmap(UINT resourceId);
    // Takes over a bitmap handle of four pictures.
    bool SetBitmap(HBITMAP bitmap);
    void SizeToBitmap();
    bool SetTooltipText(LPCWSTR text);
    // Keeps a copy of the parent's pixels under the button, drawn behind a transparent picture.
    void SaveParentBackground(CDC* parentDC);
    // A disabled window gets no mouse messages and is skipped when the window under the pointer is
    // looked for: its parent gets them. The parent hands its mouse messages on here, and while the
    // button is disabled the tooltip shows them to a tool on the parent that covers the button.
    bool RelayToolTipForDisabled(const MSG* msg);
    // The state whose picture the button shows for an owner-draw state.
    int PictureState(UINT itemState) const;

    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(LPDRAWITEMSTRUCT item) override;

  protected:
    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSetFocus(CWnd* old);
    afx_msg void OnKillFocus(CWnd* next);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM dc, LPARAM flags);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnEnable(BOOL enable);
    afx_msg void OnCancelMode();
    afx_msg LRESULT OnSetStyle(WPARAM style, LPARAM redraw);
    afx_msg LRESULT OnSetState(WPARAM pushed, LPARAM);
    afx_msg LRESULT OnMouseLeaveMessage(WPARAM, LPARAM);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    afx_msg LRESULT OnSetCheck(WPARAM check, LPARAM);
    DECLARE_MESSAGE_MAP()

  private:
    void MakeOwnerDrawn();
    CString m_tooltipText;
    bool m_hasParentTool = false;
    void PaintSelf(HDC dc);
    void DrawPlain(LPDRAWITEMSTRUCT item);
    void DrawBackground(LPDRAWITEMSTRUCT item, int state);
    void UpdateHover(CPoint point);

    BOOL m_bFocusLostToDisable = FALSE;
};
