#pragma once
// Guards of the skin's painting, each undoing its work when it ends: a device context's saved
// state (its clipping), a window's own font (WM_GETFONT) selected into a device context, a window
// DC, a memory DC holding a bitmap, and a 32-bit bitmap with its pixels at hand.
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

// Releases a window DC when the scope ends.
class CWVPSkinWindowDC
{
  public:
    explicit CWVPSkinWindowDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetWindowDC(hWnd))
    {
    }
    ~CWVPSkinWindowDC()
    {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CWVPSkinWindowDC(const CWVPSkinWindowDC&) = delete;
    CWVPSkinWindowDC& operator=(const CWVPSkinWindowDC&) = delete;
    HDC Get() const
    {
        return m_hDC;
    }

  private:
    HWND m_hWnd;
    HDC m_hDC;
};

// A memory DC holding a bitmap for the scope's life.
class CWVPSkinSelectedBitmapDC
{
  public:
    CWVPSkinSelectedBitmapDC(HDC hReference, HBITMAP hBitmap)
        : m_hDC(::CreateCompatibleDC(hReference)), m_hOld(m_hDC ? ::SelectObject(m_hDC, hBitmap) : nullptr)
    {
    }
    ~CWVPSkinSelectedBitmapDC()
    {
        if (m_hDC)
        {
            ::SelectObject(m_hDC, m_hOld);
            ::DeleteDC(m_hDC);
        }
    }
    CWVPSkinSelectedBitmapDC(const CWVPSkinSelectedBitmapDC&) = delete;
    CWVPSkinSelectedBitmapDC& operator=(const CWVPSkinSelectedBitmapDC&) = delete;
    operator HDC() const
    {
        return m_hDC;
    }

  private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// A 32-bit top-down bitmap with its pixels at hand.
class CWVPSkinPixelBitmap
{
  public:
    CWVPSkinPixelBitmap(int width, int height) : m_width(width)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_hDC = ::CreateCompatibleDC(nullptr);
        m_hBitmap = ::CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pBits), nullptr, 0);
        m_hOld = m_hBitmap ? ::SelectObject(m_hDC, m_hBitmap) : nullptr;
    }
    ~CWVPSkinPixelBitmap()
    {
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    CWVPSkinPixelBitmap(const CWVPSkinPixelBitmap&) = delete;
    CWVPSkinPixelBitmap& operator=(const CWVPSkinPixelBitmap&) = delete;
    bool IsValid() const
    {
        return m_pBits != nullptr;
    }
    HDC Dc() const
    {
        return m_hDC;
    }
    COLORREF At(int x, int y) const
    {
        DWORD v = m_pBits[y * m_width + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

  private:
    int m_width;
    HDC m_hDC;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    DWORD* m_pBits = nullptr;
};
