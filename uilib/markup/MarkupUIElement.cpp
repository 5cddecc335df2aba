#include "uilib/markup/MarkupUIElement.h"

#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupConverters.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

CWVPMarkupDependencyProperty* CWVPMarkupUIElement::s_pClipToBoundsProperty;
CWVPMarkupDependencyProperty* CWVPMarkupUIElement::s_pVisibilityProperty;
CWVPMarkupDependencyProperty* CWVPMarkupUIElement::s_pFocusableProperty;
CWVPMarkupDependencyProperty* CWVPMarkupUIElement::s_pIsEnabledProperty;

namespace
{
const int kCollapsed = 2;
}

IMPLEMENT_MARKUP_TYPE(CWVPMarkupUIElement, kTypeUIElement)

void CWVPMarkupUIElement::RegisterProperties()
{
    CWVPMarkupType* type = Type();
    s_pClipToBoundsProperty = CWVPMarkupDependencyProperty::Register(L"ClipToBounds", CWVPMarkupBool::Type(), type);
    s_pVisibilityProperty = CWVPMarkupDependencyProperty::Register(
        L"Visibility", CWVPMarkupEnum::Type(), type,
        new CWVPMarkupPropertyMetadata(nullptr, MarkupConvertVisibility, MetadataAffectsMeasure));
    s_pFocusableProperty = CWVPMarkupDependencyProperty::Register(
        L"Focusable", CWVPMarkupBool::Type(), type, new CWVPMarkupPropertyMetadata(CWVPMarkupBool::CreateFalseValue(), 0));
    s_pIsEnabledProperty = CWVPMarkupDependencyProperty::Register(
        L"IsEnabled", CWVPMarkupBool::Type(), type, new CWVPMarkupPropertyMetadata(CWVPMarkupBool::CreateTrueValue(), 0));
}

CWVPMarkupUIElement::CWVPMarkupUIElement()
    : m_szDesired{0, 0}, m_rcFinal{0, 0, 0, 0}, m_bMeasureDirty(FALSE), m_bNeverMeasured(TRUE),
      m_szPreviousAvailable{0, 0}, m_bArrangeDirty(FALSE), m_bNeverArranged(TRUE), m_bInArrange(FALSE),
      m_bInMeasure(FALSE), m_nFontGeneration(0)
{
}

int CWVPMarkupUIElement::GetVisibility() const
{
    return CWVPMarkupEnum::ValueOf(GetValue(s_pVisibilityProperty), 0);
}

BOOL CWVPMarkupUIElement::GetLayoutClip(RECT* clip)
{
    if (GetVisibility() != 0)
    {
        ::SetRectEmpty(clip);
        return TRUE;
    }
    return FALSE;
}

void CWVPMarkupUIElement::Measure(CWVPMarkupDrawingContext* dc, int aw, int ah)
{
    if (GetVisibility() == kCollapsed)
    {
        m_szPreviousAvailable = {aw, ah};
        m_bMeasureDirty = TRUE;
        m_bNeverMeasured = FALSE;
        m_szDesired = {0, 0};
        return;
    }
    BOOL uncached = dc->IsUncachedContext();
    LONG fontGeneration = m_pContext ? m_pContext->GetFontGeneration() : 0;
    if (!m_bMeasureDirty && !m_bNeverMeasured && m_szPreviousAvailable.cx == aw && m_szPreviousAvailable.cy == ah &&
        !uncached && fontGeneration == m_nFontGeneration)
        return;
    m_nFontGeneration = fontGeneration;
    m_bArrangeDirty = TRUE;
    m_bInMeasure = TRUE;
    m_bNeverMeasured = FALSE;
    m_szDesired = MeasureCore(dc, aw, ah);
    m_szPreviousAvailable = {aw, ah};
    m_bInMeasure = FALSE;
    m_bMeasureDirty = uncached;
}

void CWVPMarkupUIElement::Arrange(const RECT& r)
{
    if (GetVisibility() == kCollapsed)
    {
        m_rcFinal = r;
        m_bNeverArranged = FALSE;
        m_bArrangeDirty = FALSE;
        return;
    }
    if (m_bNeverMeasured)
    {
        CWVPMarkupDrawingContext dc;
        Measure(&dc, r.right - r.left, r.bottom - r.top);
    }
    if (m_bArrangeDirty || m_bNeverArranged || !::EqualRect(&r, &m_rcFinal))
    {
        m_bNeverArranged = FALSE;
        m_bInArrange = TRUE;
        ArrangeCore(r);
        m_bInArrange = FALSE;
        UpdateBoundingBox();
    }
    m_rcFinal = r;
    m_bArrangeDirty = FALSE;
}

void CWVPMarkupUIElement::InvalidateArrange()
{
    if (m_bInArrange || m_bNeverArranged)
        return;
    m_bArrangeDirty = TRUE;
    // The element may move: repaint where it was as well as where it lands.
    InvalidateVisual();
    RECT r = m_rcFinal;
    Arrange(r);
    InvalidateVisual();
}

void CWVPMarkupUIElement::InvalidateVisual()
{
    if (m_pContext)
        m_pContext->OnInvalidateVisual(this);
}

void CWVPMarkupUIElement::InvalidateMeasure()
{
    CWVPMarkupDrawingContext dc;
    UpdateLayout(&dc);
}

void CWVPMarkupUIElement::ArrangeCore(const RECT& r)
{
    m_szRender = {r.right - r.left, r.bottom - r.top};
}

SIZE CWVPMarkupUIElement::MeasureCore(CWVPMarkupDrawingContext*, int, int)
{
    return {0, 0};
}

void CWVPMarkupUIElement::UpdateLayout(CWVPMarkupDrawingContext* dc)
{
    if (m_bInMeasure || m_bNeverMeasured)
        return;
    SIZE available = m_szPreviousAvailable;
    SIZE desired = m_szDesired;
    m_bMeasureDirty = TRUE;
    m_bArrangeDirty = TRUE;
    Measure(dc, available.cx, available.cy);
    if (m_szDesired.cx == desired.cx && m_szDesired.cy == desired.cy)
    {
        // Same size, but possibly another place (a margin moved): repaint both.
        InvalidateVisual();
        RECT r = m_rcFinal;
        Arrange(r);
        InvalidateVisual();
        return;
    }
    m_bMeasureDirty = TRUE;
    m_bArrangeDirty = TRUE;
    CWVPMarkupVisual* parent = GetVisualParent();
    if (parent && parent->IsKindOf(CWVPMarkupUIElement::Type()))
        static_cast<CWVPMarkupUIElement*>(parent)->UpdateLayout(dc);
    else if (m_pContext)
        m_pContext->OnInvalidateArrange(this);
}
