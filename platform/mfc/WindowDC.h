// CWindowDC: the whole-window device context of a window, frame included.
#pragma once

#include "platform/mfc/DC.h"

class CWindowDC : public CDC
{
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* wnd);
    virtual ~CWindowDC();

    HWND m_hWnd;
};
