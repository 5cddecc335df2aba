#pragma once
// Guards of the skin objects' painting: one saves a device context's state (its clipping) and
// restores it, the other selects a window's own font (WM_GETFONT) into a device context; both undo
// their work when they end.
#include <windows.h>

class CWVPSkinSavedDC
{
  public:
    explicit CWVPSkinSavedDC(HDC hDC) : m_hDC(hDC), m_nSaved(::SaveDC(hDC))
    {
    }
    ~CWVPSkinSavedDC()
    {
        ::RestoreDC(m_hDC, m_nSaved);
    }
    CWVPSkinSavedDC(const CWVPSkinSavedDC&) = delete;
    CWVPSkinSavedDC& operator=(const CWVPSkinSavedDC&) = delete;

  private:
    HDC m_hDC;
    int m_nSaved;
};

class CWVPSkinWindowFontDC
{
  public:
    CWVPSkinWindowFontDC(HDC hDC, HWND hWnd) : m_hDC(hDC)
    {
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
        m_hOld = font ? ::SelectObject(hDC, font) : nullptr;
    }
    ~CWVPSkinWindowFontDC()
    {
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
    }
    CWVPSkinWindowFontDC(const CWVPSkinWindowFontDC&) = delete;
    CWVPSkinWindowFontDC& operator=(const CWVPSkinWindowFontDC&) = delete;

  private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
