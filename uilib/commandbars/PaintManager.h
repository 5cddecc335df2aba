#pragma once
// The command bars' paint manager. Its triangle routine is the one drawing routine of the command
// bars that the rest of the program uses without a paint manager: style menus, themed buttons and
// the skin framework draw their arrows with it.
#include "platform/mfc/Mfc.h"

class CWVPPaintManager
{
  public:
    // Fills the triangle of the three points in the colour, outline included; the device
    // context's pen and brush are selected again afterwards.
    static void AFX_CDECL DrawTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);
};
