#pragma once
// The OLE verbs placeholder of an Edit menu: before each layout of its bar it offers, as one
// popup, the verbs of the item selected in the active view of an OLE document.
#include "uilib/commandbars/ControlButton.h"
#include "uilib/commandbars/Controls.h"

// The verbs take the ids from WVP_ID_OLEVERBS to this one.
const UINT WVP_ID_OLEVERB_LAST = 0xE21F;

class CWVPControlOleItems : public CWVPControlButton
{
    DECLARE_SERIAL(CWVPControlOleItems)

  public:
    CWVPControlOleItems();

    void OnCalcDynamicSize(DWORD mode) override;
    BOOL IsCustomizeDragOverAvail(CWVPCommandBar* pBar) override;

  protected:
    // The selected item of the active view's OLE document, unless it is a static picture.
    virtual COleClientItem* GetSelectedItem() const;
};
