#include "uilib/markup/MarkupBrush.h"

#include <algorithm>
#include <vector>

#include "uilib/foundation/ImageManager.h"
#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupDependencyProperty.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

CWVPMarkupDependencyProperty* CWVPMarkupSolidColorBrush::s_pColorProperty;
CWVPMarkupDependencyProperty* CWVPMarkupGradientStop::s_pColorProperty;
CWVPMarkupDependencyProperty* CWVPMarkupGradientStop::s_pOffsetProperty;
CWVPMarkupDependencyProperty* CWVPMarkupLinearGradientBrush::s_pStartPointProperty;
CWVPMarkupDependencyProperty* CWVPMarkupLinearGradientBrush::s_pEndPointProperty;

void MarkupFillOpaque(HDC dc, const RECT& rect, COLORREF color)
{
    COLORREF previous = ::SetBkColor(dc, color);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, L"", 0, nullptr);
    ::SetBkColor(dc, previous);
}

// ---- Brush ----------------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupBrush, kTypeBrush)

CWVPMarkupObject* CWVPMarkupBrush::ConvertFrom(CWVPMarkupObject* source)
{
    COLORREF color = 0;
    if (!source || source->GetType() != CWVPMarkupString::Type() ||
        !CWVPMarkupColor::ParseColor(static_cast<CWVPMarkupString*>(source)->GetText(), &color))
        return nullptr;
    return new CWVPMarkupSolidColorBrush(color);
}

void CWVPMarkupBrush::FillRect(CWVPMarkupDrawingContext*, RECT)
{
}

COLORREF CWVPMarkupBrush::GetColor() const
{
    return 0;
}

// ---- Solid colour ---------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupSolidColorBrush, kTypeSolidColorBrush)

CWVPMarkupSolidColorBrush::CWVPMarkupSolidColorBrush(COLORREF color)
{
    SetValue(s_pColorProperty, new CWVPMarkupColor(color));
}

void CWVPMarkupSolidColorBrush::RegisterProperties()
{
    s_pColorProperty = CWVPMarkupDependencyProperty::Register(L"Color", CWVPMarkupColor::Type(), Type());
}

BOOL CWVPMarkupSolidColorBrush::HasColor() const
{
    return GetValue(s_pColorProperty) != nullptr;
}

COLORREF CWVPMarkupSolidColorBrush::GetColor() const
{
    CWVPMarkupObject* v = GetValue(s_pColorProperty);
    return v ? static_cast<CWVPMarkupColor*>(v)->GetValue() : 0;
}

BOOL CWVPMarkupSolidColorBrush::IsEqual(const CWVPMarkupObject* other) const
{
    return other && other->GetType() == Type() &&
           static_cast<const CWVPMarkupSolidColorBrush*>(other)->GetColor() == GetColor();
}

void CWVPMarkupSolidColorBrush::FillRect(CWVPMarkupDrawingContext* dc, RECT rect)
{
    if (!HasColor() || !dc || !dc->GetDC())
        return;
    MarkupFillOpaque(dc->GetDC(), rect, GetColor());
}

// ---- Gradient stops -------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupGradientStop, kTypeGradientStop)

void CWVPMarkupGradientStop::RegisterProperties()
{
    s_pColorProperty = CWVPMarkupDependencyProperty::Register(L"Color", CWVPMarkupColor::Type(), Type());
    s_pOffsetProperty = CWVPMarkupDependencyProperty::Register(L"Offset", CWVPMarkupDouble::Type(), Type());
}

COLORREF CWVPMarkupGradientStop::GetColor() const
{
    CWVPMarkupObject* v = GetValue(s_pColorProperty);
    return v ? static_cast<CWVPMarkupColor*>(v)->GetValue() : 0;
}

double CWVPMarkupGradientStop::GetOffset() const
{
    CWVPMarkupObject* v = GetValue(s_pOffsetProperty);
    return v ? static_cast<CWVPMarkupDouble*>(v)->GetValue() : 0.0;
}

CWVPMarkupGradientStops::CWVPMarkupGradientStops() : CWVPMarkupCollection(CWVPMarkupGradientStop::Type())
{
}

// ---- Linear gradient ------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupLinearGradientBrush, kTypeLinearGradientBrush)

void CWVPMarkupLinearGradientBrush::RegisterProperties()
{
    s_pStartPointProperty = CWVPMarkupDependencyProperty::Register(L"StartPoint", CWVPMarkupPoint::Type(), Type());
    s_pEndPointProperty = CWVPMarkupDependencyProperty::Register(L"EndPoint", CWVPMarkupPoint::Type(), Type());
}

CWVPMarkupLinearGradientBrush::CWVPMarkupLinearGradientBrush() : m_pStops(new CWVPMarkupGradientStops())
{
}

CWVPMarkupLinearGradientBrush::~CWVPMarkupLinearGradientBrush()
{
    m_pStops->Release();
}

void CWVPMarkupLinearGradientBrush::SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content)
{
    m_pStops->SetContentObject(builder, content);
}

BOOL CWVPMarkupLinearGradientBrush::HasContentObject() const
{
    return m_pStops->HasContentObject();
}

namespace
{
struct Stop
{
    BYTE b, g, r;
    double offset;
    int position;
    double gap;
};

DWORD ColorAt(const std::vector<Stop>& stops, double t)
{
    auto pack = [](const Stop& s) { return (DWORD)s.b | ((DWORD)s.g << 8) | ((DWORD)s.r << 16); };
    if (t <= stops.front().offset)
        return pack(stops.front());
    if (t >= stops.back().offset)
        return pack(stops.back());
    for (size_t i = 1; i < stops.size(); ++i)
    {
        if (t < stops[i].offset && stops[i].gap != 0)
        {
            double f = (stops[i].offset - t) / stops[i].gap;
            const Stop& a = stops[i - 1];
            const Stop& b = stops[i];
            int r = (int)(f * a.r + (1 - f) * b.r);
            int g = (int)(f * a.g + (1 - f) * b.g);
            int bl = (int)(f * a.b + (1 - f) * b.b);
            return (DWORD)bl | ((DWORD)g << 8) | ((DWORD)r << 16);
        }
    }
    return pack(stops.back());
}
} // namespace

void CWVPMarkupLinearGradientBrush::FillRect(CWVPMarkupDrawingContext* dc, RECT rect)
{
    int count = m_pStops->GetCount();
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!dc || !dc->GetDC() || count == 0 || w < 1 || h < 1)
        return;
    if (count == 1)
    {
        MarkupFillOpaque(dc->GetDC(), rect, static_cast<CWVPMarkupGradientStop*>(m_pStops->GetItem(0))->GetColor());
        return;
    }
    const CWVPMarkupPoint* start = static_cast<const CWVPMarkupPoint*>(GetValue(s_pStartPointProperty));
    const CWVPMarkupPoint* end = static_cast<const CWVPMarkupPoint*>(GetValue(s_pEndPointProperty));
    double sx = (start ? start->m_dX : 0.0) * w, sy = (start ? start->m_dY : 0.0) * h;
    double ex = (end ? end->m_dX : 1.0) * w, ey = (end ? end->m_dY : 1.0) * h;
    if (sx == ex && sy == ey)
        return;
    RECT visible = dc->GetClipBox();
    if (dc->IsUncachedContext())
        ::InflateRect(&visible, 1, 1);
    ::OffsetRect(&visible, -rect.left, -rect.top);
    RECT whole = {0, 0, w, h};
    if (!::IntersectRect(&visible, &visible, &whole))
        return;
    void* bits = nullptr;
    HBITMAP bitmap = CWVPImageManager::CreateDIBSection32(nullptr, w, h, &bits);
    if (!bitmap || !bits)
    {
        if (bitmap)
            ::DeleteObject(bitmap);
        return;
    }
    std::vector<Stop> stops;
    for (int i = 0; i < count; ++i)
    {
        const CWVPMarkupGradientStop* s = static_cast<const CWVPMarkupGradientStop*>(m_pStops->GetItem(i));
        COLORREF c = s->GetColor();
        stops.push_back({GetBValue(c), GetGValue(c), GetRValue(c), s->GetOffset(), i, 0.0});
    }
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) { return a.offset < b.offset; });
    for (size_t i = 1; i < stops.size(); ++i)
        stops[i].gap = stops[i].offset - stops[i - 1].offset;

    double dx = ex - sx, dy = ey - sy, length2 = dx * dx + dy * dy;
    auto param = [&](int x, int y) { return ((x - sx) * dx + (y + 1 - sy) * dy) / length2; };
    DWORD* pixels = static_cast<DWORD*>(bits);
    // Row 0 of the bitmap's memory is the bottom row of the picture.
    auto row = [&](int y) { return pixels + (size_t)(h - 1 - y) * w; };
    if (sx == ex)
    {
        for (int y = visible.top; y < visible.bottom; ++y)
        {
            DWORD c = ColorAt(stops, param(0, y));
            std::fill(row(y), row(y) + w, c);
        }
    }
    else if (sy == ey)
    {
        DWORD* first = pixels;
        for (int x = visible.left; x < visible.right; ++x)
            first[x] = ColorAt(stops, param(x, 0));
        for (int y = visible.top; y < visible.bottom; ++y)
            if (row(y) != first)
                ::CopyMemory(row(y), first, w * sizeof(DWORD));
    }
    else
    {
        for (int y = visible.top; y < visible.bottom; ++y)
            for (int x = visible.left; x < visible.right; ++x)
                row(y)[x] = ColorAt(stops, param(x, y));
    }
    HDC memory = ::CreateCompatibleDC(dc->GetDC());
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(dc->GetDC(), rect.left + visible.left, rect.top + visible.top, visible.right - visible.left,
             visible.bottom - visible.top, memory, visible.left, visible.top, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(bitmap);
}
