#pragma once
// Skin objects of controls that keep their own client painting (edit, list box, tree and list
// views): they only keep the skinned scroll bars in step with the control's scroll position, which
// older common controls change without going through the hooked scroll-bar functions.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectUser32Control : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectUser32Control)
  public:
    CWVPSkinObjectUser32Control();
    ~CWVPSkinObjectUser32Control() override;

    BOOL OnHookMessage(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    // Reads the scroll range and position of each shown bar and redraws the bars that changed.
    virtual void CheckScrollBars();
    // Redraws every shown bar in the skin, whatever common controls the process uses: the system
    // draws its own bars over the frame when the window is shown.
    void RedrawScrollBars();

    // The last scroll information seen: 0 horizontal, 1 vertical.
    const SCROLLINFO& GetLastScrollInfo(int nIndex) const
    {
        return m_scrollInfo[nIndex ? 1 : 0];
    }

  protected:
    LRESULT DefaultThenCheck(UINT nMessage, WPARAM wParam, LPARAM lParam);
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnChar(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);

    SCROLLINFO m_scrollInfo[2] = {};

    DECLARE_MESSAGE_MAP()
};

// The common controls' member of the family: their scroll bars follow the hooked scroll-bar
// functions, so only Windows 9x needs the check.
class CWVPSkinObjectComCtl32Control : public CWVPSkinObjectUser32Control
{
    DECLARE_DYNCREATE(CWVPSkinObjectComCtl32Control)
  public:
    void CheckScrollBars() override;
};
