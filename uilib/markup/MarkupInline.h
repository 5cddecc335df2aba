// Inlines: the pieces of a paragraph that a text block lays out. Each hands out opaque text
// positions (a run's are the addresses of its characters, so they are pointer-sized), answers
// where lines may or must break, and measures, arranges and draws a stretch between two positions.
// The inline collection holds a span's or a text block's inlines and turns markup content into them.
#pragma once

#include "uilib/markup/MarkupCollection.h"
#include "uilib/markup/MarkupTextElement.h"

class CWVPMarkupDrawingContext;

// A position within an inline; kNoTextPosition marks none (an empty inline, or past the end).
typedef INT_PTR MarkupTextPosition;
const MarkupTextPosition kNoTextPosition = -1;

class CWVPMarkupInline : public CWVPMarkupTextElement
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupInline();

    // The first leaf inline of this one in document order.
    virtual CWVPMarkupInline* GetFirstInline();
    virtual MarkupTextPosition GetFirstPosition() const;
    // Advances the position; kNoTextPosition after the last one.
    virtual void GetNextPosition(MarkupTextPosition& position) const;
    virtual BOOL IsWordBreakPosition(MarkupTextPosition position) const;
    virtual BOOL IsLineBreakPosition(MarkupTextPosition position) const;
    virtual BOOL IsWhiteSpacePosition(MarkupTextPosition position) const;
    virtual void ArrangeRange(const RECT& rect, MarkupTextPosition first, MarkupTextPosition last);
    // Size of the stretch from first up to (not including) last.
    virtual SIZE MeasureRange(CWVPMarkupDrawingContext* dc, MarkupTextPosition first, MarkupTextPosition last);
    virtual void RenderRange(CWVPMarkupDrawingContext* dc, const RECT& rect, MarkupTextPosition first,
                             MarkupTextPosition last);
    // Called once per layout before the inline's stretches are measured.
    virtual void PrepareMeasure(CWVPMarkupDrawingContext* dc);
    // Distance of the baseline from the bottom of the inline's box.
    virtual int GetBaselineOffset() const;

    // The next leaf inline in document order after this one, walking out of spans; null at the end
    // of the outermost collection.
    CWVPMarkupInline* GetNextInline() const;
    int GetIndex() const
    {
        return m_nIndex;
    }
    void SetIndex(int index)
    {
        m_nIndex = index;
    }

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pBaselineAlignmentProperty;

  protected:
    // Position in the inline collection that holds it, -1 until added.
    int m_nIndex;
};

class CWVPMarkupInlineCollection : public CWVPMarkupCollection
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupInlineCollection();
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    void OnItemAdded(CWVPMarkupObject* item, int index) override;
    CWVPMarkupInline* GetInline(int index) const;
};

// Content held in an inline collection that is the element's one logical child: spans and the
// text block turn text and elements into inlines through it.
template <class Base> class CWVPMarkupInlineContent : public Base
{
  public:
    CWVPMarkupInlineContent() : m_pInlines(new CWVPMarkupInlineCollection())
    {
        m_pInlines->SetLogicalParent(this);
    }
    ~CWVPMarkupInlineContent() override
    {
        m_pInlines->SetLogicalParent(nullptr);
        m_pInlines->Release();
    }
    int GetLogicalChildrenCount() const override
    {
        return 1;
    }
    CWVPMarkupObject* GetLogicalChild(int index) const override
    {
        return index == 0 ? m_pInlines : nullptr;
    }
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override
    {
        m_pInlines->SetContentObject(builder, content);
    }
    BOOL HasContentObject() const override
    {
        return m_pInlines->HasContentObject();
    }
    BOOL AllowWhiteSpaceContent() const override
    {
        return TRUE;
    }
    CWVPMarkupInlineCollection* GetInlines() const
    {
        return m_pInlines;
    }

  protected:
    CWVPMarkupInlineCollection* m_pInlines;
};
