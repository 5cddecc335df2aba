// CRect: a RECT with the geometry the windows and drawing code use (size, centre, offsets,
// intersections, normalising, point tests).
#pragma once

#include "platform/mfc/Point.h"

class CRect : public tagRECT
{
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) noexcept { ::CopyRect(this, &r); }
    CRect(const RECT* r) noexcept { ::CopyRect(this, r); }
    CRect(POINT p, SIZE s) noexcept { left = p.x; top = p.y; right = p.x + s.cx; bottom = p.y + s.cy; }
    CRect(POINT tl, POINT br) noexcept { left = tl.x; top = tl.y; right = br.x; bottom = br.y; }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint& TopLeft() noexcept { return *reinterpret_cast<CPoint*>(this); }
    CPoint& BottomRight() noexcept { return *(reinterpret_cast<CPoint*>(this) + 1); }
    const CPoint& TopLeft() const noexcept { return *reinterpret_cast<const CPoint*>(this); }
    const CPoint& BottomRight() const noexcept { return *(reinterpret_cast<const CPoint*>(this) + 1); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }
    void SwapLeftRight() noexcept { LONG t = left; left = right; right = t; }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }

    BOOL IsRectEmpty() const noexcept { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const noexcept { return left == 0 && right == 0 && top == 0 && bottom == 0; }
    BOOL PtInRect(POINT p) const noexcept { return ::PtInRect(this, p); }

    void SetRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    void SetRect(POINT tl, POINT br) noexcept { SetRect(tl.x, tl.y, br.x, br.y); }
    void SetRectEmpty() noexcept { left = top = right = bottom = 0; }
    void CopyRect(const RECT* r) noexcept { ::CopyRect(this, r); }
    BOOL EqualRect(const RECT* r) const noexcept { return ::EqualRect(this, r); }

    void InflateRect(int x, int y) noexcept { ::InflateRect(this, x, y); }
    void InflateRect(SIZE s) noexcept { ::InflateRect(this, s.cx, s.cy); }
    void InflateRect(const RECT* r) noexcept
    {
        left -= r->left;
        top -= r->top;
        right += r->right;
        bottom += r->bottom;
    }
    void InflateRect(int l, int t, int r, int b) noexcept
    {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int x, int y) noexcept { ::InflateRect(this, -x, -y); }
    void DeflateRect(SIZE s) noexcept { ::InflateRect(this, -s.cx, -s.cy); }
    void DeflateRect(const RECT* r) noexcept
    {
        left += r->left;
        top += r->top;
        right -= r->right;
        bottom -= r->bottom;
    }
    void DeflateRect(int l, int t, int r, int b) noexcept
    {
        left += l;
        top += t;
        right -= r;
        bottom -= b;
    }

    void OffsetRect(int x, int y) noexcept { ::OffsetRect(this, x, y); }
    void OffsetRect(POINT p) noexcept { ::OffsetRect(this, p.x, p.y); }
    void OffsetRect(SIZE s) noexcept { ::OffsetRect(this, s.cx, s.cy); }
    void MoveToY(int y) noexcept { bottom = Height() + y; top = y; }
    void MoveToX(int x) noexcept { right = Width() + x; left = x; }
    void MoveToXY(int x, int y) noexcept { MoveToX(x); MoveToY(y); }
    void MoveToXY(POINT p) noexcept { MoveToXY(p.x, p.y); }
    void NormalizeRect() noexcept
    {
        if (left > right)
            SwapLeftRight();
        if (top > bottom)
        {
            LONG t = top;
            top = bottom;
            bottom = t;
        }
    }

    BOOL IntersectRect(const RECT* a, const RECT* b) noexcept { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(const RECT* a, const RECT* b) noexcept { return ::UnionRect(this, a, b); }
    BOOL SubtractRect(const RECT* a, const RECT* b) noexcept { return ::SubtractRect(this, a, b); }

    void operator=(const RECT& r) noexcept { ::CopyRect(this, &r); }
    BOOL operator==(const RECT& r) const noexcept { return ::EqualRect(this, &r); }
    BOOL operator!=(const RECT& r) const noexcept { return !::EqualRect(this, &r); }
    void operator+=(POINT p) noexcept { OffsetRect(p); }
    void operator+=(SIZE s) noexcept { OffsetRect(s); }
    void operator+=(const RECT* r) noexcept { InflateRect(r); }
    void operator-=(POINT p) noexcept { OffsetRect(-p.x, -p.y); }
    void operator-=(SIZE s) noexcept { OffsetRect(-s.cx, -s.cy); }
    void operator-=(const RECT* r) noexcept { DeflateRect(r); }
    void operator&=(const RECT& r) noexcept { ::IntersectRect(this, this, &r); }
    void operator|=(const RECT& r) noexcept { ::UnionRect(this, this, &r); }

    CRect operator+(POINT p) const noexcept { CRect r(*this); r.OffsetRect(p); return r; }
    CRect operator-(POINT p) const noexcept { CRect r(*this); r.OffsetRect(-p.x, -p.y); return r; }
    CRect operator+(SIZE s) const noexcept { CRect r(*this); r.OffsetRect(s); return r; }
    CRect operator-(SIZE s) const noexcept { CRect r(*this); r.OffsetRect(-s.cx, -s.cy); return r; }
    CRect operator+(const RECT* d) const noexcept { CRect r(*this); r.InflateRect(d); return r; }
    CRect operator-(const RECT* d) const noexcept { CRect r(*this); r.DeflateRect(d); return r; }
    CRect operator&(const RECT& o) const noexcept { CRect r; ::IntersectRect(&r, this, &o); return r; }
    CRect operator|(const RECT& o) const noexcept { CRect r; ::UnionRect(&r, this, &o); return r; }
    CRect MulDiv(int mul, int div) const noexcept
    {
        return CRect(::MulDiv(left, mul, div), ::MulDiv(top, mul, div), ::MulDiv(right, mul, div),
                     ::MulDiv(bottom, mul, div));
    }
};

inline CRect CSize::operator+(const RECT* r) const noexcept
{
    return CRect(r) + *this;
}

inline CRect CSize::operator-(const RECT* r) const noexcept
{
    return CRect(r) - *this;
}

inline CRect CPoint::operator+(const RECT* r) const noexcept
{
    return CRect(r) + *this;
}

inline CRect CPoint::operator-(const RECT* r) const noexcept
{
    return CRect(r) - *this;
}
