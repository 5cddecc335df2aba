// CSize: a SIZE with arithmetic, used wherever the window classes pass extents.
#pragma once

#include <windows.h>

class CPoint;
class CRect;

class CSize : public tagSIZE
{
public:
    CSize() noexcept { cx = cy = 0; }
    CSize(int x, int y) noexcept { cx = x; cy = y; }
    CSize(SIZE s) noexcept { cx = s.cx; cy = s.cy; }
    explicit CSize(POINT p) noexcept { cx = p.x; cy = p.y; }
    explicit CSize(DWORD packed) noexcept { cx = (short)LOWORD(packed); cy = (short)HIWORD(packed); }

    BOOL operator==(SIZE s) const noexcept { return cx == s.cx && cy == s.cy; }
    BOOL operator!=(SIZE s) const noexcept { return !(*this == s); }
    void operator+=(SIZE s) noexcept { cx += s.cx; cy += s.cy; }
    void operator-=(SIZE s) noexcept { cx -= s.cx; cy -= s.cy; }
    void SetSize(int x, int y) noexcept { cx = x; cy = y; }
    CSize operator+(SIZE s) const noexcept { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const noexcept { return CSize(cx - s.cx, cy - s.cy); }
    CSize operator-() const noexcept { return CSize(-cx, -cy); }
    CPoint operator+(POINT p) const noexcept;
    CPoint operator-(POINT p) const noexcept;
    CRect operator+(const RECT* r) const noexcept;
    CRect operator-(const RECT* r) const noexcept;
};
