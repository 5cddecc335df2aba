#pragma once
// The skin object of combo boxes ("ComboBox"): the control paints its text and selection into the
// skin's buffer; the object replaces its frame and drop button with the skin's COMBOBOX parts in
// the hot, pressed and disabled looks.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectComboBox : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectComboBox)
  public:
    // Parts and states of the schema's COMBOBOX class.
    enum Part
    {
        kPartFrame = 0,
        kPartDropDownButton = 1,
    };
    enum State
    {
        kStateNormal = 1,
        kStateHot = 2,
        kStatePressed = 3,
        kStateDisabled = 4,
    };

    CWVPSkinObjectComboBox();

    UINT GetClientBrushMessage() override;
    // The whole control into the DC.
    virtual void DrawComboBox(HDC hDC);
    // The state the frame and the drop button draw in.
    virtual int GetComboState() const;

    bool IsHot() const
    {
        return m_bHot;
    }

  protected:
    void DrawDropDown(HDC hDC);
    void DrawSimple(HDC hDC);
    void Invalidate();
    LRESULT DefaultThenInvalidate(UINT nMessage, WPARAM wParam, LPARAM lParam);

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnable(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateUIState(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);

    bool m_bHot = false;
    bool m_bOwnPaint = false; // the control paints itself into the skin's buffer

    DECLARE_MESSAGE_MAP()
};
