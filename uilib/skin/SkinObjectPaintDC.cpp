#include "uilib/skin/SkinObjectPaintDC.h"

CWVPSkinObjectPaintDC::CWVPSkinObjectPaintDC(HWND hWnd, WPARAM wParamDC)
    : m_hWnd(hWnd), m_hDC(reinterpret_cast<HDC>(wParamDC))
{
    if (!m_hDC)
    {
        m_hDC = ::BeginPaint(hWnd, &m_ps);
        m_bPainting = true;
    }
}

CWVPSkinObjectPaintDC::~CWVPSkinObjectPaintDC()
{
    if (m_bPainting)
        ::EndPaint(m_hWnd, &m_ps);
}
