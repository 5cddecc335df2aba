#pragma once
// What the list controls of a menu share (the window list, the tool-bars list, the recent files,
// the OLE verbs, the workspace actions): the numbered captions of their generated items and the
// removal of the items they generated at the previous layout.
#include "platform/mfc/Mfc.h"

class CWVPControl;
class CWVPCommandBar;

// The caption of a generated item: the text's ampersands doubled; numbers 1 to 9 become the
// accelerator ("&3 name"), 10 gives "1&0 name", larger numbers are shown plain and 0 adds none.
CString WVPFormatMenuCaption(LPCWSTR text, int number);

// Removes, one after the other, the controls directly after the list control that the test
// recognises as its own generated items; stops at the first one it does not.
typedef BOOL (*WVPGeneratedItemTest)(const CWVPControl* pList, const CWVPControl* pItem);
void WVPRemoveGeneratedItems(CWVPControl* pList, WVPGeneratedItemTest isGenerated);
// The start of a rebuild: removes the old items; in customize mode the list control shows itself
// as its own placeholder and FALSE says that nothing is to be generated.
BOOL WVPBeginListRebuild(CWVPControl* pList, WVPGeneratedItemTest isGenerated);

// The drag-over answer the list controls share in customize mode: they only go onto menus.
BOOL WVPListControlDropAllowed(CWVPCommandBar* pTarget);
