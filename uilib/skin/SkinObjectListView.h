#pragma once
// The skin object of list views ("SysListView32"): the list paints itself; the object gives it the
// skin's window and text colours and keeps its skinned frame and scroll bars up to date.
#include "uilib/skin/SkinObjectUser32Control.h"

class CWVPSkinObjectListView : public CWVPSkinObjectComCtl32Control
{
    DECLARE_DYNCREATE(CWVPSkinObjectListView)
  public:
    CWVPSkinObjectListView();

    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;

  protected:
    // The skin's colours while a skin is loaded, else the system's.
    void ApplyColors(bool bSkinned);
    // Windows 9x lists do not follow a dragged thumb of the skinned scroll bar by themselves.
    LRESULT OnScroll(UINT nMessage, WPARAM wParam, LPARAM lParam);

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnListHScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnListVScroll(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
