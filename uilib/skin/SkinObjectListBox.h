#pragma once
// The skin object of list boxes and of combo boxes' drop-down lists: the list paints its items;
// the object frames it in the skin and keeps its scroll bars in step.
#include "uilib/skin/SkinObjectUser32Control.h"

class CWVPSkinObjectListBox : public CWVPSkinObjectUser32Control
{
    DECLARE_DYNCREATE(CWVPSkinObjectListBox)
  public:
    CWVPSkinObjectListBox();
};
