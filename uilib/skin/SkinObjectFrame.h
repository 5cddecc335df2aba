#pragma once
// The skin object of every window without a skin object of its own, and the base of the control
// objects: draws and runs the non-client area (borders, caption and its buttons, the window's
// scroll bars, the region of the frame's shape) and hands out the skin's control-colour brushes.
#include "uilib/skin/SkinObject.h"

class CWVPSkinObjectFrame : public CWVPSkinObject
{
    DECLARE_DYNCREATE(CWVPSkinObjectFrame)
  public:
    // What the manager found the window to be.
    enum WindowKind
    {
        kWindowOrdinary = 1,
        kWindowDialog = 2,
        kWindowPropertyPage = 6,
    };

    CWVPSkinObjectFrame();
    ~CWVPSkinObjectFrame() override;

    // The brush the window's client area is filled with.
    virtual HBRUSH GetClientBrush(HDC hDC);
    // The WM_CTLCOLOR* message that asks the parent for that brush.
    virtual UINT GetClientBrushMessage();
    // Draws the whole non-client area into the window DC.
    virtual void DrawFrame(HDC hDC);

    // Redraws one of the window's own scroll bars: 0 horizontal, 1 vertical.
    void RedrawScrollBarIndex(int nIndex);
    // The tracking position while a thumb of the bar (SB_HORZ or SB_VERT) is dragged.
    BOOL GetTrackPos(int nBar, int& nTrackPos) const;

    int GetWindowKind() const
    {
        return m_nWindowKind;
    }
    void SetWindowKind(int nKind)
    {
        m_nWindowKind = nKind;
    }

  protected:
    int m_nWindowKind = kWindowOrdinary;
    UINT m_nCtlColorMessage = WM_CTLCOLORDLG;

    DECLARE_MESSAGE_MAP()
};
