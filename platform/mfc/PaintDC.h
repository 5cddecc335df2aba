// CPaintDC: the device context of one WM_PAINT (BeginPaint and EndPaint).
#pragma once

#include "platform/mfc/DC.h"

class CPaintDC : public CDC
{
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    virtual ~CPaintDC();

    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};
