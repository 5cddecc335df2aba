#pragma once
// The usual drop-down of a combo box: its popup window is a real list box holding the strings. The
// window exists from the combo box's construction on (hidden) and shows only while the list tracks;
// the items live in the window and travel with the bar's saved state under "Items".
#include "uilib/commandbars/ControlComboBoxPopupBar.h"

class CWVPPropExchange;

// The list's bar position (neither docked nor an ordinary popup).
const int WVP_COMBO_LIST_POSITION = 6;

class CWVPControlComboBoxList : public CWVPControlComboBoxPopupBar
{
    DECLARE_SERIAL(CWVPControlComboBoxList)

  public:
    CWVPControlComboBoxList();

    // Creates the list box window when it is missing: a popup of the site window for owner-drawn
    // lists, else a top-level popup. The bar style (less the gripper bit) adds list-box styles.
    virtual BOOL CreateListWindow();
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

    int GetCurSel() const override;
    int FindString(int start, LPCWSTR text) const override;
    int FindStringExact(int start, LPCWSTR text) const override;
    int SetTopIndex(int index) override;
    void SetCurSel(int index) override;
    void GetText(int index, CString& text) const override;

    // The strings of the list box (the window is made when missing).
    int AddString(LPCWSTR text);
    int GetCount() const;
    void ResetContent();

    int GetListIconId() const
    {
        return m_nListIconId;
    }
    void SetListIconId(int id)
    {
        m_nListIconId = id;
    }
    // The list box style bits of the bar "Style" (owner drawing and the like).
    void SetListStyle(DWORD style)
    {
        m_dwStyle = style;
    }

    BOOL Popup(CWVPControl* pControl, BOOL keyboard) override;
    BOOL SetTrackingMode(int mode, BOOL selectFirst = TRUE, BOOL keyboard = FALSE) override;
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    void DrawCommandBar(CDC* pDC, CRect rcClip) override;
    // "ListIconId" (newer streams) and the "Items" section. A stored count that the stream cannot
    // hold, or items missing from the stream, fail with the archive exception before any item is
    // added.
    virtual void DoPropExchange(CWVPPropExchange* pPX);
    void Copy(CWVPControlComboBoxList* pSource);

  protected:
    void ForwardComboKey(UINT key, BOOL editable) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcPaint();
    afx_msg LRESULT OnNcHitTest(CPoint pt);
    afx_msg void OnMouseMove(UINT flags, CPoint pt);
    afx_msg void OnLButtonDown(UINT flags, CPoint pt);
    afx_msg void OnLButtonUp(UINT flags, CPoint pt);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint pt);
    afx_msg void OnRButtonUp(UINT flags, CPoint pt);
    afx_msg void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

    int m_nListIconId;
};
