// CPoint: a POINT with arithmetic against points and sizes.
#pragma once

#include "platform/mfc/Size.h"

class CPoint : public tagPOINT
{
public:
    CPoint() noexcept { x = y = 0; }
    CPoint(int ix, int iy) noexcept { x = ix; y = iy; }
    CPoint(POINT p) noexcept { x = p.x; y = p.y; }
    CPoint(SIZE s) noexcept { x = s.cx; y = s.cy; }
    // From a packed mouse position (signed 16-bit halves).
    CPoint(LPARAM packed) noexcept { x = (short)LOWORD(packed); y = (short)HIWORD(packed); }

    void Offset(int dx, int dy) noexcept { x += dx; y += dy; }
    void Offset(POINT p) noexcept { x += p.x; y += p.y; }
    void Offset(SIZE s) noexcept { x += s.cx; y += s.cy; }
    void SetPoint(int ix, int iy) noexcept { x = ix; y = iy; }

    BOOL operator==(POINT p) const noexcept { return x == p.x && y == p.y; }
    BOOL operator!=(POINT p) const noexcept { return !(*this == p); }
    void operator+=(SIZE s) noexcept { x += s.cx; y += s.cy; }
    void operator-=(SIZE s) noexcept { x -= s.cx; y -= s.cy; }
    void operator+=(POINT p) noexcept { x += p.x; y += p.y; }
    void operator-=(POINT p) noexcept { x -= p.x; y -= p.y; }

    CPoint operator+(SIZE s) const noexcept { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const noexcept { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator-() const noexcept { return CPoint(-x, -y); }
    CPoint operator+(POINT p) const noexcept { return CPoint(x + p.x, y + p.y); }
    CSize operator-(POINT p) const noexcept { return CSize(x - p.x, y - p.y); }
    CRect operator+(const RECT* r) const noexcept;
    CRect operator-(const RECT* r) const noexcept;
};

inline CPoint CSize::operator+(POINT p) const noexcept
{
    return CPoint(cx + p.x, cy + p.y);
}

inline CPoint CSize::operator-(POINT p) const noexcept
{
    return CPoint(cx - p.x, cy - p.y);
}
