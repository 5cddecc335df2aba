#pragma once
// A label with a transparent background: a new text repaints the parent's area under it, so the
// old text never shows through. The parameter panel's labels.
#include "platform/mfc/Mfc.h"

class CTransparentStatic : public CStatic
{
  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
