// CClientDC: the client-area device context of a window (GetDC and ReleaseDC).
#pragma once

#include "platform/mfc/DC.h"

class CClientDC : public CDC
{
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    virtual ~CClientDC();

    HWND m_hWnd;
};
