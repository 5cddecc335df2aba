#pragma once
// The paint DC of skin objects: the DC a WM_PAINT or WM_PRINTCLIENT message carries in wParam when
// there is one (a control asked to paint into a given DC), otherwise BeginPaint on the window.
#include <windows.h>

class CWVPSkinObjectPaintDC
{
  public:
    CWVPSkinObjectPaintDC(HWND hWnd, WPARAM wParamDC);
    ~CWVPSkinObjectPaintDC();
    CWVPSkinObjectPaintDC(const CWVPSkinObjectPaintDC&) = delete;
    CWVPSkinObjectPaintDC& operator=(const CWVPSkinObjectPaintDC&) = delete;

    HDC GetSafeHdc() const
    {
        return m_hDC;
    }
    // Whether the DC came with the message rather than from BeginPaint.
    bool IsGiven() const
    {
        return !m_bPainting;
    }

  private:
    HWND m_hWnd;
    HDC m_hDC;
    bool m_bPainting = false;
    PAINTSTRUCT m_ps = {};
};
