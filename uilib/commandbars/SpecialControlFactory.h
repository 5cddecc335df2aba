#pragma once
// Makes the ready-made controls that the control collection creates by type and command id: the
// list placeholders of menus (windows, tool bars, OLE verbs, recent files, workspace actions),
// labels, check boxes and radio buttons. Null for every other type and id.
#include "platform/mfc/Mfc.h"

class CWVPControl;

// fromMenu: the control comes from a menu item (with its caption), not from a program's call.
CWVPControl* WVPCreateSpecialControl(int type, int id, LPCWSTR caption, BOOL fromMenu);
