// A 32-bit top-down DIB section selected into a memory DC, with direct pixel access: drawing
// tests paint into it and read the pixels back.
#pragma once

#include <windows.h>

#include <functional>

#include "RwTest.h"

class DibCanvas
{
  public:
    DibCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~DibCanvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    void Fill(COLORREF color, BYTE alpha = 0)
    {
        m_fill = Raw(color, 0);
        ::GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            m_bits[i] = Raw(color, alpha);
    }
    // The pixel as a COLORREF (alpha dropped).
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        DWORD v = m_bits[y * m_width + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    DWORD RawAt(int x, int y) const
    {
        ::GdiFlush();
        return m_bits[y * m_width + x];
    }
    // The pixel as 0xRRGGBB.
    DWORD Rgb(int x, int y) const
    {
        return RawAt(x, y) & 0xFFFFFF;
    }
    // Pixels that no longer hold the last fill colour.
    int Painted() const
    {
        ::GdiFlush();
        int n = 0;
        for (int i = 0; i < m_width * m_height; ++i)
            n += (m_bits[i] & 0xFFFFFF) != m_fill;
        return n;
    }
    // Compares every pixel with the expected 0xRRGGBB function; reports the first few differences.
    int Differences(const std::function<DWORD(int, int)>& expected) const
    {
        int differences = 0;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (Rgb(x, y) != (expected(x, y) & 0xFFFFFF) && ++differences <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << Rgb(x, y) << " expected "
                                  << (expected(x, y) & 0xFFFFFF) << std::dec;
        return differences;
    }
    // Whether the pixels already show what the drawing paints: drawing it over a copy changes
    // nothing (parts with transparent pixels compare only where they paint).
    bool Shows(const std::function<void(HDC)>& draw) const
    {
        DibCanvas copy(m_width, m_height);
        ::BitBlt(copy.dc(), 0, 0, m_width, m_height, m_dc, 0, 0, SRCCOPY);
        draw(copy.dc());
        ::GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            if ((copy.m_bits[i] & 0xFFFFFF) != (m_bits[i] & 0xFFFFFF))
                return false;
        return true;
    }
    void Set(int x, int y, COLORREF color, BYTE alpha = 0)
    {
        ::GdiFlush();
        m_bits[y * m_width + x] = Raw(color, alpha);
    }
    static DWORD Raw(COLORREF color, BYTE alpha)
    {
        return ((DWORD)alpha << 24) | ((DWORD)GetRValue(color) << 16) | ((DWORD)GetGValue(color) << 8) |
               GetBValue(color);
    }

    HDC dc() const
    {
        return m_dc;
    }
    HBITMAP bitmap() const
    {
        return m_bitmap;
    }
    DWORD* bits() const
    {
        return m_bits;
    }
    int width() const
    {
        return m_width;
    }
    int height() const
    {
        return m_height;
    }

  private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits = nullptr;
    DWORD m_fill = 0;
};
