#pragma once
// The skin object of tree views ("SysTreeView32"): the tree paints itself; the object gives it the
// skin's window, text and line colours and keeps its skinned frame and scroll bars up to date.
#include "uilib/skin/SkinObjectUser32Control.h"

class CWVPSkinObjectTreeView : public CWVPSkinObjectComCtl32Control
{
    DECLARE_DYNCREATE(CWVPSkinObjectTreeView)
  public:
    CWVPSkinObjectTreeView();

    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;

  protected:
    // The skin's colours while a skin is loaded, else the tree's own defaults.
    void ApplyColors(bool bSkinned);

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
