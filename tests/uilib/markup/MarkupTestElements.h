// Elements of the markup suites that measure and draw with plain GDI, so that the context and the
// entry points can be tested apart from the element kinds: a swatch fills its arranged area, a
// frame holds one child at an inset, and a font probe measures a text in the context's default
// font, as text runs do, and counts its measures.
#pragma once

#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupFrameworkElement.h"

namespace markuptest
{
// Gives an element made outside the builder to a context, as the context's CreateObject does: the
// element holds a reference to the context until its final release.
template <class T> T* Adopt(CWVPMarkupContext* context, T* element)
{
    element->SetMarkupContext(context);
    context->AddRef();
    return element;
}

class Swatch : public CWVPMarkupFrameworkElement
{
  public:
    Swatch(COLORREF color, SIZE size) : m_color(color), m_size(size)
    {
    }
    SIZE MeasureOverride(CWVPMarkupDrawingContext*, int, int) override
    {
        return m_size;
    }
    void OnRender(CWVPMarkupDrawingContext* dc) override
    {
        dc->FillSolidRect({0, 0, m_szRender.cx, m_szRender.cy}, m_color);
    }

  private:
    COLORREF m_color;
    SIZE m_size;
};

// Holds one element (taking over the caller's reference) at a fixed inset on every side.
class Frame : public CWVPMarkupFrameworkElement
{
  public:
    Frame(CWVPMarkupUIElement* child, int inset) : m_child(child), m_inset(inset)
    {
        m_child->SetLogicalParent(this);
    }
    ~Frame() override
    {
        m_child->SetLogicalParent(nullptr);
        m_child->Release();
    }
    int GetVisualChildrenCount() const override
    {
        return 1;
    }
    CWVPMarkupVisual* GetVisualChild(int) const override
    {
        return m_child;
    }
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int width, int height) override
    {
        m_child->Measure(dc, width - 2 * m_inset, height - 2 * m_inset);
        SIZE child = m_child->GetDesiredSize();
        return {child.cx + 2 * m_inset, child.cy + 2 * m_inset};
    }
    SIZE ArrangeOverride(int width, int height) override
    {
        m_child->Arrange({m_inset, m_inset, width - m_inset, height - m_inset});
        return {width, height};
    }

  private:
    CWVPMarkupUIElement* m_child;
    int m_inset;
};

class FontProbe : public CWVPMarkupFrameworkElement
{
  public:
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int, int) override
    {
        ++m_measures;
        CWVPMarkupFont* font = m_pContext->GetFont(m_pContext->GetDefaultFont());
        dc->SetFont(font);
        font->Release();
        return dc->GetTextExtent(L"MMMM", 4);
    }
    int Measures() const
    {
        return m_measures;
    }

  private:
    int m_measures = 0;
};
} // namespace markuptest
