// A paragraph of rich text: its inlines are broken into lines (optionally wrapped at word breaks
// or trimmed with an ellipsis), each line is aligned within the padded width, each piece sits on
// its line by its baseline alignment and is drawn with its inline's font, brushes and decorations.
#pragma once

#include "uilib/markup/MarkupFrameworkElement.h"
#include "uilib/markup/MarkupInline.h"

class CWVPMarkupTextBlock : public CWVPMarkupInlineContent<CWVPMarkupFrameworkElement>
{
    DECLARE_MARKUP_TYPE()
  public:
    // TextWrapping, TextTrimming and TextAlignment values.
    enum
    {
        wrapNone = 0,
        wrapWrap = 1
    };
    enum
    {
        trimNone = 0,
        trimCharacterEllipsis = 1,
        trimWordEllipsis = 2
    };
    enum
    {
        alignLeft = 0,
        alignRight = 1,
        alignCenter = 2
    };

    // One inline's stretch of text on one line; it holds a reference to the inline.
    struct Piece
    {
        Piece();
        Piece(CWVPMarkupInline* inl, MarkupTextPosition start);
        Piece(const Piece& other);
        Piece& operator=(const Piece& other);
        ~Piece();
        BOOL IsEmpty() const
        {
            return start == end;
        }
        RECT GetRect() const;

        CWVPMarkupInline* inl;
        MarkupTextPosition start, end;
        int x, y;   // from the line's left, and the line's top from the block's top
        int dx, dy; // offsets given by the arrangement
        int width, height, descent;
    };
    // Sizes of a laid-out line.
    struct LineMetrics
    {
        int width, height, maxDescent;
    };

    CWVPMarkupTextBlock();
    ~CWVPMarkupTextBlock() override;
    void OnPropertyChanged(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                           CWVPMarkupObject* newValue) override;
    void OnRender(CWVPMarkupDrawingContext* dc) override;
    CWVPMarkupInputElement* InputHitTestCore(POINT point) override;
    void UpdateLayout(CWVPMarkupDrawingContext* dc) override;
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    SIZE ArrangeOverride(int finalWidth, int finalHeight) override;

    // The first leaf inline of the paragraph, or null; the rest follow by GetNextInline.
    CWVPMarkupInline* GetFirstInline() const;
    int GetLineCount() const;
    LineMetrics GetLineMetrics(int line) const;
    // The pieces of a line in order, or null; count receives their number.
    const Piece* GetLinePieces(int line, int* count) const;
    SIZE GetLaidOutSize() const
    {
        return {m_nLaidOutWidth, m_nLaidOutHeight};
    }

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pTextWrappingProperty;
    static CWVPMarkupDependencyProperty* s_pTextTrimmingProperty;
    static CWVPMarkupDependencyProperty* s_pTextAlignmentProperty;
    static CWVPMarkupDependencyProperty* s_pPaddingProperty;
    static CWVPMarkupDependencyProperty* s_pTextProperty;

  private:
    class CLineBuilder;
    friend class CLineBuilder;
    struct Line;
    struct Lines;

    void LayoutLines(CWVPMarkupDrawingContext* dc, int width);
    void SetTextContent(CWVPMarkupObject* text);
    void DrawDecoration(CWVPMarkupDrawingContext* dc, const Piece& piece, const Line& line, const RECT& rect);

    Lines* m_pLines;
    int m_nCachedWidth;
    int m_nLaidOutWidth;
    int m_nLaidOutHeight;
};
