#pragma once
// The skin object of up-down controls ("msctls_updown32"): the control keeps its logic (pressing,
// repeating, the buddy); the object draws its two arrows from the skin's SPIN class with their hot
// and pressed looks, joined to the border of a buddy edit.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectSpin : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectSpin)
  public:
    // The halves of the control.
    enum Half
    {
        kHalfNone = 0,
        kHalfDecrement = 1, // bottom, or left with UDS_HORZ
        kHalfIncrement = 2, // top, or right
    };
    // Parts of the schema's SPIN class.
    enum Part
    {
        kPartUp = 1,
        kPartDown = 2,
        kPartUpHorz = 3,
        kPartDownHorz = 4,
    };

    CWVPSkinObjectSpin();

    void DrawSpin(HDC hDC);
    // The half under a client point.
    int HitTest(POINT pt) const;
    // The state the half draws in.
    int GetHalfState(int nHalf, bool bEnabled) const;

    int GetHotHalf() const
    {
        return m_nHotHalf;
    }
    int GetPressedHalf() const
    {
        return m_nPressedHalf;
    }

  protected:
    void SetHotHalf(int nHalf);

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);

    int m_nHotHalf = kHalfNone;
    int m_nPressedHalf = kHalfNone;

    DECLARE_MESSAGE_MAP()
};
