#include "uilib/markup/MarkupFrameworkElement.h"

#include <algorithm>

#include "uilib/markup/MarkupConverters.h"
#include "uilib/markup/MarkupLayoutMath.h"
#include "uilib/markup/MarkupStyle.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

CWVPMarkupDependencyProperty* CWVPMarkupFrameworkElement::s_pMarginProperty;
CWVPMarkupDependencyProperty* CWVPMarkupFrameworkElement::s_pHorizontalAlignmentProperty;
CWVPMarkupDependencyProperty* CWVPMarkupFrameworkElement::s_pVerticalAlignmentProperty;
CWVPMarkupDependencyProperty* CWVPMarkupFrameworkElement::s_pWidthProperty;
CWVPMarkupDependencyProperty* CWVPMarkupFrameworkElement::s_pHeightProperty;
CWVPMarkupDependencyProperty* CWVPMarkupFrameworkElement::s_pMinWidthProperty;
CWVPMarkupDependencyProperty* CWVPMarkupFrameworkElement::s_pMinHeightProperty;
CWVPMarkupDependencyProperty* CWVPMarkupFrameworkElement::s_pMaxWidthProperty;
CWVPMarkupDependencyProperty* CWVPMarkupFrameworkElement::s_pMaxHeightProperty;
CWVPMarkupDependencyProperty* CWVPMarkupFrameworkElement::s_pTagProperty;

namespace
{
const int kNoLimit = 0x7FFFFFFF;
const int kUnboundedAbove = 0x3FFFFFFF;
const int kStretch = 3;
const int kCenter = 1;
const int kFar = 2;
} // namespace

IMPLEMENT_MARKUP_TYPE(CWVPMarkupFrameworkElement, kTypeFrameworkElement)

void CWVPMarkupFrameworkElement::RegisterProperties()
{
    CWVPMarkupStyle::Type()->EnsureRegistered();
    CWVPMarkupType* type = Type();
    CWVPMarkupType* intType = CWVPMarkupInt::Type();
    auto measure = [] { return new CWVPMarkupPropertyMetadata(nullptr, MetadataAffectsMeasure); };
    s_pMarginProperty = CWVPMarkupDependencyProperty::Register(
        L"Margin", CWVPMarkupThickness::Type(), type,
        new CWVPMarkupPropertyMetadata(CWVPMarkupThickness::GetZero(), MetadataAffectsMeasure));
    s_pHorizontalAlignmentProperty = CWVPMarkupDependencyProperty::Register(
        L"HorizontalAlignment", CWVPMarkupEnum::Type(), type,
        new CWVPMarkupPropertyMetadata(nullptr, MarkupConvertHorizontalAlignment, MetadataAffectsArrange));
    s_pVerticalAlignmentProperty = CWVPMarkupDependencyProperty::Register(
        L"VerticalAlignment", CWVPMarkupEnum::Type(), type,
        new CWVPMarkupPropertyMetadata(nullptr, MarkupConvertVerticalAlignment, MetadataAffectsArrange));
    s_pWidthProperty = CWVPMarkupDependencyProperty::Register(L"Width", intType, type, measure());
    s_pHeightProperty = CWVPMarkupDependencyProperty::Register(L"Height", intType, type, measure());
    s_pMinWidthProperty = CWVPMarkupDependencyProperty::Register(L"MinWidth", intType, type, measure());
    s_pMinHeightProperty = CWVPMarkupDependencyProperty::Register(L"MinHeight", intType, type, measure());
    s_pMaxWidthProperty = CWVPMarkupDependencyProperty::Register(L"MaxWidth", intType, type, measure());
    s_pMaxHeightProperty = CWVPMarkupDependencyProperty::Register(L"MaxHeight", intType, type, measure());
    s_pTagProperty = CWVPMarkupDependencyProperty::Register(L"Tag", CWVPMarkupObject::Type(), type);
}

CWVPMarkupFrameworkElement::CWVPMarkupFrameworkElement()
    : m_bNeedsClip(FALSE), m_szUnclipped{0, 0}, m_bUnclippedValid(FALSE), m_limits{kNoLimit, 0, kNoLimit, 0}
{
}

int CWVPMarkupFrameworkElement::GetHorizontalAlignment() const
{
    return CWVPMarkupEnum::ValueOf(GetValue(s_pHorizontalAlignmentProperty), kStretch);
}

int CWVPMarkupFrameworkElement::GetVerticalAlignment() const
{
    return CWVPMarkupEnum::ValueOf(GetValue(s_pVerticalAlignmentProperty), kStretch);
}

const CWVPMarkupThickness* CWVPMarkupFrameworkElement::GetMargin() const
{
    return static_cast<const CWVPMarkupThickness*>(MarkupDynamicCast(CWVPMarkupThickness::Type(),
                                                                     GetValue(s_pMarginProperty)));
}

void CWVPMarkupFrameworkElement::GetMarginSums(long long* horizontal, long long* vertical) const
{
    const CWVPMarkupThickness* margin = GetMargin();
    *horizontal = margin ? (long long)margin->m_nLeft + margin->m_nRight : 0;
    *vertical = margin ? (long long)margin->m_nTop + margin->m_nBottom : 0;
}

void CWVPMarkupFrameworkElement::ComputeLimits()
{
    CWVPMarkupObject* width = GetValue(s_pWidthProperty);
    CWVPMarkupObject* height = GetValue(s_pHeightProperty);
    int minWidth = CWVPMarkupInt::ValueOf(GetValue(s_pMinWidthProperty), 0);
    int minHeight = CWVPMarkupInt::ValueOf(GetValue(s_pMinHeightProperty), 0);
    int maxWidth = CWVPMarkupInt::ValueOf(GetValue(s_pMaxWidthProperty), kNoLimit);
    int maxHeight = CWVPMarkupInt::ValueOf(GetValue(s_pMaxHeightProperty), kNoLimit);
    m_limits.maxHeight = (std::max)((std::min)(CWVPMarkupInt::ValueOf(height, kNoLimit), maxHeight), minHeight);
    m_limits.minHeight = (std::max)((std::min)(m_limits.maxHeight, CWVPMarkupInt::ValueOf(height, 0)), minHeight);
    m_limits.maxWidth = (std::max)((std::min)(CWVPMarkupInt::ValueOf(width, kNoLimit), maxWidth), minWidth);
    m_limits.minWidth = (std::max)((std::min)(m_limits.maxWidth, CWVPMarkupInt::ValueOf(width, 0)), minWidth);
}

SIZE CWVPMarkupFrameworkElement::MeasureCore(CWVPMarkupDrawingContext* dc, int W, int H)
{
    long long mH, mV;
    GetMarginSums(&mH, &mV);
    int frameW = (W > kUnboundedAbove || -mH > kUnboundedAbove) ? kNoLimit : MarkupSaturate((std::max)(W - mH, 0LL));
    int frameH = (H > kUnboundedAbove || -mV > kUnboundedAbove) ? kNoLimit : MarkupSaturate((std::max)(H - mV, 0LL));
    ComputeLimits();
    frameW = (std::max)((std::min)(frameW, m_limits.maxWidth), m_limits.minWidth);
    frameH = (std::max)((std::min)(frameH, m_limits.maxHeight), m_limits.minHeight);
    SIZE content = MeasureOverride(dc, frameW, frameH);
    int w = (std::max)((int)content.cx, m_limits.minWidth);
    int h = (std::max)((int)content.cy, m_limits.minHeight);
    m_bNeedsClip = FALSE;
    m_bUnclippedValid = FALSE;
    BOOL clipped = FALSE;
    int w1 = w, h1 = h;
    if (w1 > m_limits.maxWidth)
        w1 = m_limits.maxWidth, clipped = TRUE;
    if (h1 > m_limits.maxHeight)
        h1 = m_limits.maxHeight, clipped = TRUE;
    long long w2 = w1 + mH, h2 = h1 + mV;
    if (w2 > W)
        w2 = W, clipped = TRUE;
    if (h2 > H)
        h2 = H, clipped = TRUE;
    if (clipped || w2 < 0 || h2 < 0)
    {
        m_bNeedsClip = TRUE;
        m_bUnclippedValid = TRUE;
        m_szUnclipped = {w, h};
    }
    return {(LONG)(std::max)(w2, 0LL), (LONG)(std::max)(h2, 0LL)};
}

POINT CWVPMarkupFrameworkElement::GetAlignmentOffset(int clientWidth, int clientHeight, int inkWidth,
                                                     int inkHeight) const
{
    POINT offset = {0, 0};
    int h = GetHorizontalAlignment();
    if (h == kStretch && inkWidth > clientWidth)
        h = 0;
    if (h == kCenter || h == kStretch)
        offset.x = (clientWidth - inkWidth) / 2;
    else if (h == kFar)
        offset.x = clientWidth - inkWidth;
    int v = GetVerticalAlignment();
    if (v == kStretch && inkHeight > clientHeight)
        v = 0;
    if (v == kCenter || v == kStretch)
        offset.y = (clientHeight - inkHeight) / 2;
    else if (v == kFar)
        offset.y = clientHeight - inkHeight;
    return offset;
}

void CWVPMarkupFrameworkElement::ArrangeCore(const RECT& r)
{
    const CWVPMarkupThickness* margin = GetMargin();
    long long mH, mV;
    GetMarginSums(&mH, &mV);
    long long fw = (long long)r.right - r.left, fh = (long long)r.bottom - r.top;
    int aw = MarkupSaturate((std::max)(fw - mH, 0LL)), ah = MarkupSaturate((std::max)(fh - mV, 0LL));
    int uw, uh;
    if (m_bUnclippedValid)
        uw = m_szUnclipped.cx, uh = m_szUnclipped.cy;
    else
        uw = MarkupSaturate(m_szDesired.cx - mH), uh = MarkupSaturate(m_szDesired.cy - mV);
    if (aw < uw)
        m_bNeedsClip = TRUE, aw = uw;
    if (ah < uh)
        m_bNeedsClip = TRUE, ah = uh;
    if (GetHorizontalAlignment() != kStretch)
        aw = uw;
    if (GetVerticalAlignment() != kStretch)
        ah = uh;
    int limitW = (std::max)(uw, m_limits.maxWidth), limitH = (std::max)(uh, m_limits.maxHeight);
    if (limitW < aw)
        m_bNeedsClip = TRUE, aw = limitW;
    if (limitH < ah)
        m_bNeedsClip = TRUE, ah = limitH;
    SIZE render = ArrangeOverride(aw, ah);
    m_szRender = render;
    int cw = (std::min)((int)render.cx, m_limits.maxWidth), ch = (std::min)((int)render.cy, m_limits.maxHeight);
    if (cw < render.cx || ch < render.cy)
        m_bNeedsClip = TRUE;
    int clientW = MarkupSaturate((std::max)(fw - mH, 0LL)), clientH = MarkupSaturate((std::max)(fh - mV, 0LL));
    if (clientW < cw || clientH < ch)
        m_bNeedsClip = TRUE;
    POINT o = GetAlignmentOffset(clientW, clientH, cw, ch);
    m_ptOffset = {MarkupSaturate((long long)r.left + (margin ? margin->m_nLeft : 0) + o.x),
                  MarkupSaturate((long long)r.top + (margin ? margin->m_nTop : 0) + o.y)};
}

SIZE CWVPMarkupFrameworkElement::MeasureOverride(CWVPMarkupDrawingContext*, int, int)
{
    return {0, 0};
}

SIZE CWVPMarkupFrameworkElement::ArrangeOverride(int finalWidth, int finalHeight)
{
    return {finalWidth, finalHeight};
}

BOOL CWVPMarkupFrameworkElement::GetLayoutClip(RECT* clip)
{
    if (CWVPMarkupUIElement::GetLayoutClip(clip))
        return TRUE;
    BOOL clipToBounds = CWVPMarkupBool::ValueOf(GetValue(s_pClipToBoundsProperty), FALSE);
    if (!clipToBounds && !m_bNeedsClip)
        return FALSE;
    int clipW = m_limits.maxWidth == kNoLimit ? m_szRender.cx : m_limits.maxWidth;
    int clipH = m_limits.maxHeight == kNoLimit ? m_szRender.cy : m_limits.maxHeight;
    BOOL toLimits = clipToBounds || clipW < m_szRender.cx || clipH < m_szRender.cy;
    int cw = (std::min)((int)m_szRender.cx, m_limits.maxWidth), ch = (std::min)((int)m_szRender.cy, m_limits.maxHeight);
    long long mH, mV;
    GetMarginSums(&mH, &mV);
    int slotW = MarkupSaturate((std::max)((long long)m_rcFinal.right - m_rcFinal.left - mH, 0LL));
    int slotH = MarkupSaturate((std::max)((long long)m_rcFinal.bottom - m_rcFinal.top - mV, 0LL));
    BOOL toSlot = clipToBounds || slotW < cw || slotH < ch;
    if (toLimits && !toSlot)
    {
        ::SetRect(clip, 0, 0, clipW, clipH);
        return TRUE;
    }
    if (!toLimits && !toSlot)
        return FALSE;
    POINT o = GetAlignmentOffset(slotW, slotH, cw, ch);
    ::SetRect(clip, -o.x, -o.y, slotW - o.x, slotH - o.y);
    if (toLimits)
    {
        RECT limits = {0, 0, clipW, clipH};
        ::IntersectRect(clip, clip, &limits);
    }
    return TRUE;
}

void CWVPMarkupFrameworkElement::OnPropertyChanged(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                                                   CWVPMarkupObject* newValue)
{
    CWVPMarkupObject::OnPropertyChanged(property, oldValue, newValue);
    UpdateTriggers(property, newValue);
    DWORD flags = property->GetFlags();
    if (flags & MetadataAffectsMeasure)
        InvalidateMeasure();
    if (flags & MetadataAffectsArrange)
        InvalidateArrange();
    if (flags & MetadataAffectsRender)
        InvalidateVisual();
}
