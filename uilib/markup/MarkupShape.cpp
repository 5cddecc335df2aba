#include "uilib/markup/MarkupShape.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
const int kDefaultStrokeWidth = 1;
const int kStretchNone = 0;

// A pen of the stroke colour (the null pen without stroke or width) and a solid brush of the fill
// colour (the null brush without fill) selected into a device context for one figure; the
// previous objects come back and the made ones are deleted when it goes.
class FigureTools
{
  public:
    FigureTools(HDC dc, CWVPMarkupBrush* stroke, int width, CWVPMarkupBrush* fill)
        : m_dc(dc), m_pen(stroke && width > 0 ? ::CreatePen(PS_SOLID, width, stroke->GetColor()) : nullptr),
          m_brush(fill ? ::CreateSolidBrush(fill->GetColor()) : nullptr),
          m_oldPen(::SelectObject(dc, m_pen ? (HGDIOBJ)m_pen : ::GetStockObject(NULL_PEN))),
          m_oldBrush(::SelectObject(dc, m_brush ? (HGDIOBJ)m_brush : ::GetStockObject(NULL_BRUSH)))
    {
    }
    ~FigureTools()
    {
        ::SelectObject(m_dc, m_oldBrush);
        ::SelectObject(m_dc, m_oldPen);
        if (m_brush)
            ::DeleteObject(m_brush);
        if (m_pen)
            ::DeleteObject(m_pen);
    }
    FigureTools(const FigureTools&) = delete;
    FigureTools& operator=(const FigureTools&) = delete;

  private:
    HDC m_dc;
    HPEN m_pen;
    HBRUSH m_brush;
    HGDIOBJ m_oldPen;
    HGDIOBJ m_oldBrush;
};

HDC TargetOf(CWVPMarkupDrawingContext* dc)
{
    return dc ? dc->GetDC() : nullptr;
}

int Saturate(long long value)
{
    return (int)(std::min)(value, (long long)INT_MAX);
}

SIZE BoundsSize(const CWVPMarkupPointCollection* points)
{
    if (!points || points->GetCount() == 0)
        return {0, 0};
    const RECT& bounds = points->GetBounds();
    return {bounds.right, bounds.bottom};
}

// One integer of a point list at pos: spaces, an optional "-", digits, then a single separator
// (space or comma) that is consumed, or the end of the text.
BOOL ReadCoordinate(LPCWSTR text, int length, int& pos, LONG& value)
{
    while (pos < length && text[pos] == ' ')
        ++pos;
    BOOL negative = pos < length && text[pos] == '-';
    if (negative)
        ++pos;
    long long magnitude = 0;
    int digits = 0;
    for (; pos < length && text[pos] >= '0' && text[pos] <= '9'; ++pos, ++digits)
    {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > (long long)INT_MAX + 1)
            return FALSE;
    }
    if (digits == 0 || (!negative && magnitude > INT_MAX))
        return FALSE;
    if (pos < length)
    {
        if (text[pos] != ' ' && text[pos] != ',')
            return FALSE;
        ++pos;
    }
    value = (LONG)(negative ? -magnitude : magnitude);
    return TRUE;
}
} // namespace

// ---- Shape ----------------------------------------------------------------------------------
CWVPMarkupBrush* CWVPMarkupShape::GetFill() const
{
    return static_cast<CWVPMarkupBrush*>(MarkupDynamicCast(CWVPMarkupBrush::Type(), GetValue(s_pFillProperty)));
}

CWVPMarkupBrush* CWVPMarkupShape::GetStroke() const
{
    return static_cast<CWVPMarkupBrush*>(MarkupDynamicCast(CWVPMarkupBrush::Type(), GetValue(s_pStrokeProperty)));
}

int CWVPMarkupShape::GetStrokeWidth() const
{
    return CWVPMarkupInt::ValueOf(GetValue(s_pStrokeThicknessProperty), kDefaultStrokeWidth);
}

// ---- Point list -----------------------------------------------------------------------------
CWVPMarkupPointCollection::CWVPMarkupPointCollection() : m_pPoints(nullptr), m_nCount(0), m_rcBounds{0, 0, 0, 0}
{
}

CWVPMarkupPointCollection::~CWVPMarkupPointCollection()
{
    delete[] m_pPoints;
}

CWVPMarkupObject* CWVPMarkupPointCollection::ConvertFrom(CWVPMarkupObject* source)
{
    if (!source || source->GetType() != CWVPMarkupString::Type())
        return nullptr;
    const CWVPMarkupString* text = static_cast<const CWVPMarkupString*>(source);
    CWVPMarkupPointCollection* points = new CWVPMarkupPointCollection();
    if (!points->Parse(text->GetText(), text->GetLength()))
    {
        points->Release();
        return nullptr;
    }
    return points;
}

BOOL CWVPMarkupPointCollection::Parse(LPCWSTR text, int length)
{
    delete[] m_pPoints;
    m_pPoints = nullptr;
    m_nCount = 0;
    m_rcBounds = {0, 0, 0, 0};
    if (!text)
        return FALSE;
    std::vector<POINT> points;
    int pos = 0;
    while (pos < length)
    {
        POINT point;
        if (!ReadCoordinate(text, length, pos, point.x) || !ReadCoordinate(text, length, pos, point.y))
            return FALSE;
        while (pos < length && text[pos] == ' ')
            ++pos;
        points.push_back(point);
    }
    if (points.empty())
        return TRUE;
    m_pPoints = new POINT[points.size()];
    m_nCount = (int)points.size();
    for (int i = 0; i < m_nCount; ++i)
    {
        m_pPoints[i] = points[i];
        m_rcBounds.right = (std::max)(m_rcBounds.right, points[i].x);
        m_rcBounds.bottom = (std::max)(m_rcBounds.bottom, points[i].y);
    }
    return TRUE;
}

// ---- Polygon --------------------------------------------------------------------------------
CWVPMarkupPointCollection* CWVPMarkupPolygon::GetPoints() const
{
    return static_cast<CWVPMarkupPointCollection*>(
        MarkupDynamicCast(CWVPMarkupPointCollection::Type(), GetValue(s_pPointsProperty)));
}

SIZE CWVPMarkupPolygon::MeasureOverride(CWVPMarkupDrawingContext*, int, int)
{
    return BoundsSize(GetPoints());
}

void CWVPMarkupPolygon::OnRender(CWVPMarkupDrawingContext* dc)
{
    CWVPMarkupPointCollection* points = GetPoints();
    CWVPMarkupBrush* stroke = GetStroke();
    CWVPMarkupBrush* fill = GetFill();
    HDC target = TargetOf(dc);
    if (!target || (!stroke && !fill) || !points || points->GetCount() == 0)
        return;
    FigureTools tools(target, stroke, GetStrokeWidth(), fill);
    ::Polygon(target, points->GetPoints(), points->GetCount());
}

// ---- Polyline -------------------------------------------------------------------------------
CWVPMarkupPointCollection* CWVPMarkupPolyline::GetPoints() const
{
    return static_cast<CWVPMarkupPointCollection*>(
        MarkupDynamicCast(CWVPMarkupPointCollection::Type(), GetValue(s_pPointsProperty)));
}

SIZE CWVPMarkupPolyline::MeasureOverride(CWVPMarkupDrawingContext*, int, int)
{
    CWVPMarkupPointCollection* points = GetPoints();
    SIZE size = BoundsSize(points);
    if (!points || points->GetCount() == 0 || !GetStroke())
        return size;
    int width = GetStrokeWidth();
    return {Saturate((long long)size.cx + width), Saturate((long long)size.cy + width)};
}

void CWVPMarkupPolyline::OnRender(CWVPMarkupDrawingContext* dc)
{
    CWVPMarkupPointCollection* points = GetPoints();
    CWVPMarkupBrush* stroke = GetStroke();
    HDC target = TargetOf(dc);
    if (!target || !stroke || !points || points->GetCount() == 0)
        return;
    std::vector<POINT> drawn(points->GetPoints(), points->GetPoints() + points->GetCount());
    if (CWVPMarkupEnum::ValueOf(GetValue(s_pStretchProperty), kStretchNone) != kStretchNone)
    {
        const RECT& bounds = points->GetBounds();
        long long spanX = (long long)bounds.right - bounds.left, spanY = (long long)bounds.bottom - bounds.top;
        for (POINT& point : drawn)
        {
            if (spanX != 0)
                point.x = (LONG)((long long)point.x * m_szRender.cx / spanX);
            if (spanY != 0)
                point.y = (LONG)((long long)point.y * m_szRender.cy / spanY);
        }
    }
    FigureTools tools(target, stroke, GetStrokeWidth(), nullptr);
    ::Polyline(target, drawn.data(), (int)drawn.size());
}

// ---- Rectangle ------------------------------------------------------------------------------
void CWVPMarkupRectangle::OnRender(CWVPMarkupDrawingContext* dc)
{
    CWVPMarkupBrush* stroke = GetStroke();
    CWVPMarkupBrush* fill = GetFill();
    int t = stroke ? GetStrokeWidth() : 0;
    int w = m_szRender.cx, h = m_szRender.cy;
    if (!dc || (!stroke && !fill) || w <= 0 || h <= 0)
        return;
    if (fill)
        dc->FillRect(fill, {0, 0, w, h});
    if (t <= 0)
        return;
    const RECT bands[] = {{0, 0, t, h}, {w - t, 0, w, h}, {0, 0, w, t}, {0, h - t, w, h}};
    for (const RECT& band : bands)
        dc->FillRect(stroke, band);
}

// ---- Ellipse --------------------------------------------------------------------------------
void CWVPMarkupEllipse::OnRender(CWVPMarkupDrawingContext* dc)
{
    CWVPMarkupBrush* stroke = GetStroke();
    CWVPMarkupBrush* fill = GetFill();
    HDC target = TargetOf(dc);
    if (!target || (!stroke && !fill))
        return;
    FigureTools tools(target, stroke, GetStrokeWidth(), fill);
    ::Ellipse(target, 0, 0, m_szRender.cx, m_szRender.cy);
}

CWVPMarkupInputElement* CWVPMarkupEllipse::InputHitTestCore(POINT point)
{
    // A figure one pixel thin has no inside to speak of: its whole box counts.
    int a = m_szRender.cx / 2, b = m_szRender.cy / 2;
    if (a < 1 || b < 1)
        return this;
    double dx = point.x - a, dy = point.y - b;
    return dx * dx / ((double)a * a) + dy * dy / ((double)b * b) <= 1.0 ? this : nullptr;
}

// ---- Line -----------------------------------------------------------------------------------
POINT CWVPMarkupLine::GetStart() const
{
    return {CWVPMarkupInt::ValueOf(GetValue(s_pX1Property), 0), CWVPMarkupInt::ValueOf(GetValue(s_pY1Property), 0)};
}

POINT CWVPMarkupLine::GetEnd() const
{
    return {CWVPMarkupInt::ValueOf(GetValue(s_pX2Property), 0), CWVPMarkupInt::ValueOf(GetValue(s_pY2Property), 0)};
}

SIZE CWVPMarkupLine::MeasureOverride(CWVPMarkupDrawingContext*, int, int)
{
    POINT start = GetStart(), end = GetEnd();
    return {(std::max)(start.x, end.x), (std::max)(start.y, end.y)};
}

void CWVPMarkupLine::OnRender(CWVPMarkupDrawingContext* dc)
{
    CWVPMarkupBrush* stroke = GetStroke();
    POINT start = GetStart(), end = GetEnd();
    int width = GetStrokeWidth();
    HDC target = TargetOf(dc);
    if (!target || !stroke || width <= 0 || (start.x == 0 && start.y == 0 && end.x == 0 && end.y == 0))
        return;
    FigureTools tools(target, stroke, width, nullptr);
    ::MoveToEx(target, start.x, start.y, nullptr);
    ::LineTo(target, end.x, end.y);
}

CWVPMarkupInputElement* CWVPMarkupLine::InputHitTestCore(POINT point)
{
    int width = GetStrokeWidth();
    if (!GetStroke() || width <= 0)
        return nullptr;
    POINT start = GetStart(), end = GetEnd();
    double h = width * 0.5;
    double dx = (double)end.x - start.x, dy = (double)end.y - start.y;
    double px = (double)point.x - start.x, py = (double)point.y - start.y;
    // Outside the line's box grown by half the stroke.
    if (px + h < (std::min)(dx, 0.0) || px - h > (std::max)(dx, 0.0) || py + h < (std::min)(dy, 0.0) ||
        py - h > (std::max)(dy, 0.0))
        return nullptr;
    if (dx == 0)
        return std::fabs(px) <= h ? this : nullptr;
    // The vertical distance from the line against the stroke band measured vertically.
    double slope = dy / dx;
    return std::fabs(h / std::cos(std::atan(slope))) >= std::fabs(px * slope - py) ? this : nullptr;
}
