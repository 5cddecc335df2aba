// The standard headers come before the Win32 ones, whose min and max macros they cannot take.
#include <algorithm>
#include <climits>
#include <deque>
#include <vector>

#include "uilib/markup/MarkupTextBlock.h"

#include "uilib/markup/MarkupBrush.h"
#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupRun.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
const int kNoCachedWidth = -1;
const WCHAR kEllipsis[] = L"...";
const int kEllipsisLength = 3;

// BaselineAlignment values.
enum
{
    baselineTop = 0,
    baselineCenter = 1,
    baselineBottom = 2,
    baselineBaseline = 3,
    baselineTextTop = 4,
    baselineTextBottom = 5,
    baselineSubscript = 6,
    baselineSuperscript = 7
};

int ClampToInt(long long value)
{
    return (int)(std::max)(0LL, (std::min)(value, (long long)INT_MAX));
}

// The padding as left, top, right and bottom widths.
RECT PaddingOf(const CWVPMarkupObject* block)
{
    const CWVPMarkupThickness* padding =
        MarkupCast<CWVPMarkupThickness>(block->GetValue(CWVPMarkupTextBlock::s_pPaddingProperty));
    if (!padding)
        return {0, 0, 0, 0};
    return {padding->m_nLeft, padding->m_nTop, padding->m_nRight, padding->m_nBottom};
}

// A new element of a type, made through the owner's context when it has one.
CWVPMarkupObject* CreateThrough(CWVPMarkupInputElement* owner, CWVPMarkupType* type)
{
    CWVPMarkupContext* context = owner->GetMarkupContext();
    return context ? context->CreateObject(type) : type->CreateObject();
}
} // namespace

// ---- Pieces ---------------------------------------------------------------------------------
CWVPMarkupTextBlock::Piece::Piece() : Piece(nullptr, kNoTextPosition)
{
}

CWVPMarkupTextBlock::Piece::Piece(CWVPMarkupInline* inl, MarkupTextPosition start)
    : inl(inl), start(start), end(start), x(0), y(0), dx(0), dy(0), width(0), height(0), descent(0)
{
    if (inl)
        inl->AddRef();
}

CWVPMarkupTextBlock::Piece::Piece(const Piece& other) : inl(nullptr)
{
    *this = other;
}

CWVPMarkupTextBlock::Piece& CWVPMarkupTextBlock::Piece::operator=(const Piece& other)
{
    if (other.inl)
        other.inl->AddRef();
    if (inl)
        inl->Release();
    inl = other.inl;
    start = other.start;
    end = other.end;
    x = other.x;
    y = other.y;
    dx = other.dx;
    dy = other.dy;
    width = other.width;
    height = other.height;
    descent = other.descent;
    return *this;
}

CWVPMarkupTextBlock::Piece::~Piece()
{
    if (inl)
        inl->Release();
}

RECT CWVPMarkupTextBlock::Piece::GetRect() const
{
    int left = x + dx, top = y + dy;
    return {left, top, left + width, top + height};
}

// ---- Lines ----------------------------------------------------------------------------------
struct CWVPMarkupTextBlock::Line
{
    std::vector<Piece> pieces;
    int width = 0, height = 0, maxDescent = 0;
};

struct CWVPMarkupTextBlock::Lines
{
    std::vector<Line> lines;
};

int CWVPMarkupTextBlock::GetLineCount() const
{
    return (int)m_pLines->lines.size();
}

CWVPMarkupTextBlock::LineMetrics CWVPMarkupTextBlock::GetLineMetrics(int line) const
{
    if (line < 0 || line >= GetLineCount())
        return {0, 0, 0};
    const Line& l = m_pLines->lines[line];
    return {l.width, l.height, l.maxDescent};
}

const CWVPMarkupTextBlock::Piece* CWVPMarkupTextBlock::GetLinePieces(int line, int* count) const
{
    if (line < 0 || line >= GetLineCount() || m_pLines->lines[line].pieces.empty())
    {
        if (count)
            *count = 0;
        return nullptr;
    }
    const std::vector<Piece>& pieces = m_pLines->lines[line].pieces;
    if (count)
        *count = (int)pieces.size();
    return pieces.data();
}

// ---- Line layout ----------------------------------------------------------------------------
// Breaks the block's inlines into lines for one width: pieces wait in a queue until a word is
// complete, then go onto the current line or, when wrapping and the word does not fit, onto the next.
class CWVPMarkupTextBlock::CLineBuilder
{
  public:
    CLineBuilder(CWVPMarkupTextBlock* block, CWVPMarkupDrawingContext* dc, int width, BOOL wrap, int trimming)
        : m_pBlock(block), m_pDC(dc), m_nWidth(width), m_bWrap(wrap), m_nTrimming(trimming), m_nX(0), m_nTop(0)
    {
    }

    void Run()
    {
        for (CWVPMarkupInline* inl = m_pBlock->GetFirstInline(); inl; inl = inl->GetNextInline())
            LayoutInline(inl);
        Piece none;
        PlacePending(none);
        EndLine();
    }

  private:
    void LayoutInline(CWVPMarkupInline* inl)
    {
        inl->PrepareMeasure(m_pDC);
        MarkupTextPosition position = inl->GetFirstPosition();
        if (position == kNoTextPosition)
            return;
        Piece current(inl, position);
        while (position != kNoTextPosition)
        {
            current.end = position;
            if (m_bWrap && inl->IsWordBreakPosition(position))
                PlacePending(current);
            if (inl->IsLineBreakPosition(position))
            {
                MarkupTextPosition next = position;
                inl->GetNextPosition(next);
                // An empty line keeps its line feed so that it has the font's height.
                if (m_line.pieces.empty() && current.IsEmpty() && m_pending.empty())
                    current.end = next;
                PlacePending(current);
                EndLine();
                current = Piece(inl, next);
                position = next;
                continue;
            }
            inl->GetNextPosition(position);
        }
        if (!current.IsEmpty())
        {
            Measure(current);
            m_pending.push_back(current);
        }
    }

    void Measure(Piece& piece)
    {
        SIZE size = piece.inl->MeasureRange(m_pDC, piece.start, piece.end);
        piece.width = size.cx;
        piece.height = size.cy;
        piece.descent = piece.inl->GetBaselineOffset();
    }

    long long PendingWidth() const
    {
        long long total = 0;
        for (const Piece& p : m_pending)
            total += p.width;
        return total;
    }

    void PlacePending(Piece& current)
    {
        if (!current.IsEmpty())
        {
            Measure(current);
            m_pending.push_back(current);
            current.start = current.end;
        }
        while (!m_pending.empty())
        {
            // A word that does not fit moves to the next line whole; one wider than an empty line stays.
            if (m_bWrap && m_nX > 0 && m_nX + PendingWidth() > m_nWidth)
                EndLine();
            Piece piece = m_pending.front();
            m_pending.pop_front();
            if (m_line.pieces.empty() && !m_pBlock->m_pLines->lines.empty())
            {
                while (piece.start != piece.end && piece.start != kNoTextPosition &&
                       piece.inl->IsWhiteSpacePosition(piece.start))
                    piece.inl->GetNextPosition(piece.start);
                if (piece.start == piece.end || piece.start == kNoTextPosition)
                    continue;
                Measure(piece);
            }
            if (!m_line.pieces.empty())
            {
                Piece& last = m_line.pieces.back();
                if (last.inl == piece.inl && last.end == piece.start)
                {
                    last.end = piece.end;
                    Measure(last);
                    m_nX = last.x + last.width;
                    continue;
                }
            }
            piece.x = m_nX;
            piece.y = m_nTop;
            m_line.pieces.push_back(piece);
            m_nX += piece.width;
        }
    }

    void EndLine()
    {
        if (m_line.pieces.empty())
            return;
        if (m_nTrimming != trimNone && m_nX > m_nWidth)
            Trim();
        Line& line = m_line;
        line.width = line.height = line.maxDescent = 0;
        for (const Piece& p : line.pieces)
        {
            line.width += p.width;
            line.maxDescent = (std::max)(line.maxDescent, p.descent);
        }
        for (const Piece& p : line.pieces)
            line.height = (std::max)(line.height, line.maxDescent + p.height - p.descent);
        m_pBlock->m_nLaidOutWidth = (std::max)(m_pBlock->m_nLaidOutWidth, line.width);
        m_nX = 0;
        m_nTop += line.height;
        m_pBlock->m_pLines->lines.push_back(line);
        m_line = Line();
    }

    // Cuts the line where the text and an ellipsis still fit and puts the ellipsis there.
    void Trim()
    {
        CWVPMarkupRun* ellipsis = static_cast<CWVPMarkupRun*>(CreateThrough(m_pBlock, CWVPMarkupRun::Type()));
        if (!ellipsis)
            return;
        ellipsis->SetValue(CWVPMarkupRun::s_pTextProperty, CWVPMarkupString::CreateValue(kEllipsis, kEllipsisLength));
        ellipsis->SetLogicalParent(m_pBlock);
        ellipsis->PrepareMeasure(m_pDC);
        Piece dots(ellipsis, ellipsis->GetFirstPosition());
        ellipsis->Release();
        for (int i = 0; i < kEllipsisLength; ++i)
            ellipsis->GetNextPosition(dots.end);
        Measure(dots);
        long long room = (long long)m_nWidth - dots.width;

        std::vector<Piece>& pieces = m_line.pieces;
        long long c = 0;
        for (size_t i = 0; i < pieces.size(); ++i)
        {
            Piece& piece = pieces[i];
            if (c + piece.width <= room)
            {
                c += piece.width;
                continue;
            }
            // The widths of longer stretches never shrink: search the longest one that fits.
            std::vector<MarkupTextPosition> ends;
            for (MarkupTextPosition p = piece.start; p != kNoTextPosition; piece.inl->GetNextPosition(p))
            {
                ends.push_back(p);
                if (p == piece.end)
                    break;
            }
            size_t fits = 0, over = ends.size();
            while (over - fits > 1)
            {
                size_t middle = (fits + over) / 2;
                if (c + piece.inl->MeasureRange(m_pDC, piece.start, ends[middle]).cx > room)
                    over = middle;
                else
                    fits = middle;
            }
            MarkupTextPosition keep = ends[fits], wordBreak = kNoTextPosition;
            for (size_t k = fits + 1; k-- > 0 && wordBreak == kNoTextPosition;)
                if (piece.inl->IsWordBreakPosition(ends[k]) && (k > 0 || i > 0))
                    wordBreak = ends[k];
            piece.end = m_nTrimming == trimWordEllipsis && wordBreak != kNoTextPosition ? wordBreak : keep;
            Measure(piece);
            pieces.resize(i + 1);
            if (pieces.back().IsEmpty())
                pieces.pop_back();
            else
                c += pieces.back().width;
            break;
        }
        dots.x = (int)c;
        dots.y = m_nTop;
        m_nX = (int)c + dots.width;
        pieces.push_back(dots);
    }

    CWVPMarkupTextBlock* m_pBlock;
    CWVPMarkupDrawingContext* m_pDC;
    int m_nWidth;
    BOOL m_bWrap;
    int m_nTrimming;
    int m_nX;
    int m_nTop;
    Line m_line;
    std::deque<Piece> m_pending;
};

// ---- Text block -----------------------------------------------------------------------------
CWVPMarkupTextBlock::CWVPMarkupTextBlock()
    : m_pLines(new Lines()), m_nCachedWidth(kNoCachedWidth), m_nLaidOutWidth(0), m_nLaidOutHeight(0)
{
}

CWVPMarkupTextBlock::~CWVPMarkupTextBlock()
{
    delete m_pLines;
}

CWVPMarkupInline* CWVPMarkupTextBlock::GetFirstInline() const
{
    CWVPMarkupInline* first = m_pInlines->GetInline(0);
    return first ? first->GetFirstInline() : nullptr;
}

void CWVPMarkupTextBlock::SetTextContent(CWVPMarkupObject* text)
{
    m_pInlines->RemoveAll();
    if (!text)
        return;
    CWVPMarkupObject* run = CreateThrough(this, CWVPMarkupRun::Type());
    if (!run)
        return;
    text->AddRef();
    run->SetValue(CWVPMarkupRun::s_pTextProperty, text);
    m_pInlines->Add(run);
}

void CWVPMarkupTextBlock::OnPropertyChanged(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                                            CWVPMarkupObject* newValue)
{
    if (property == s_pTextProperty)
        SetTextContent(newValue);
    CWVPMarkupFrameworkElement::OnPropertyChanged(property, oldValue, newValue);
}

void CWVPMarkupTextBlock::UpdateLayout(CWVPMarkupDrawingContext* dc)
{
    m_nCachedWidth = kNoCachedWidth;
    CWVPMarkupFrameworkElement::UpdateLayout(dc);
}

void CWVPMarkupTextBlock::LayoutLines(CWVPMarkupDrawingContext* dc, int width)
{
    BOOL wrap = CWVPMarkupEnum::ValueOf(GetValue(s_pTextWrappingProperty), wrapNone) == wrapWrap;
    int trimming = wrap ? trimNone : CWVPMarkupEnum::ValueOf(GetValue(s_pTextTrimmingProperty), trimNone);
    BOOL uncached = dc->IsUncachedContext();
    if (!uncached && m_nCachedWidth != kNoCachedWidth && (width == m_nCachedWidth || (!wrap && trimming == trimNone)))
        return;
    m_nCachedWidth = uncached ? kNoCachedWidth : width;
    m_pLines->lines.clear();
    m_nLaidOutWidth = 0;
    CLineBuilder(this, dc, width, wrap, trimming).Run();
    m_nLaidOutHeight = 0;
    for (const Line& line : m_pLines->lines)
        m_nLaidOutHeight += line.height;
}

SIZE CWVPMarkupTextBlock::MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int)
{
    RECT padding = PaddingOf(this);
    long long across = (long long)padding.left + padding.right;
    long long down = (long long)padding.top + padding.bottom;
    LayoutLines(dc, ClampToInt(availableWidth - across));
    return {ClampToInt(across + m_nLaidOutWidth), ClampToInt(down + m_nLaidOutHeight)};
}

SIZE CWVPMarkupTextBlock::ArrangeOverride(int finalWidth, int finalHeight)
{
    int alignment = CWVPMarkupEnum::ValueOf(GetValue(s_pTextAlignmentProperty), alignLeft);
    RECT padding = PaddingOf(this);
    // Lines align within the width inside both paddings.
    long long inner = (long long)finalWidth - padding.left - padding.right;
    for (Line& line : m_pLines->lines)
    {
        long long offset = 0;
        if (alignment == alignRight)
            offset = inner - line.width;
        else if (alignment == alignCenter)
            offset = (inner - line.width) / 2;
        int dx = (int)(offset + padding.left);
        for (Piece& piece : line.pieces)
        {
            int dy = line.height - piece.height + padding.top;
            switch (CWVPMarkupEnum::ValueOf(piece.inl->GetValue(CWVPMarkupInline::s_pBaselineAlignmentProperty),
                                            baselineBaseline))
            {
            case baselineTop:
            case baselineTextTop:
                dy += piece.height - line.height;
                break;
            case baselineCenter:
                dy += (piece.height - line.height) / 2;
                break;
            case baselineBaseline:
                dy += piece.descent - line.maxDescent;
                break;
            case baselineSubscript:
                dy += piece.descent - line.maxDescent / 2;
                break;
            case baselineSuperscript:
                dy += line.maxDescent / 2 + piece.height - piece.descent - line.height;
                break;
            default:
                break;
            }
            piece.dx = dx;
            piece.dy = dy;
            piece.inl->ArrangeRange(piece.GetRect(), piece.start, piece.end);
        }
    }
    return {finalWidth, finalHeight};
}

CWVPMarkupInputElement* CWVPMarkupTextBlock::InputHitTestCore(POINT point)
{
    for (const Line& line : m_pLines->lines)
    {
        for (const Piece& piece : line.pieces)
        {
            RECT rect = piece.GetRect();
            if (!::PtInRect(&rect, point))
                continue;
            CWVPMarkupInputElement* hit = piece.inl->InputHitTest(point);
            return hit ? hit : this;
        }
    }
    return this;
}

void CWVPMarkupTextBlock::OnRender(CWVPMarkupDrawingContext* dc)
{
    CWVPMarkupBrush* background = CWVPMarkupTextElement::GetBackground(this);
    if (background)
        dc->FillRect(background, {0, 0, m_szRender.cx, m_szRender.cy});
    CWVPMarkupContext* context = GetMarkupContext();
    COLORREF defaultColor = context ? context->GetDefaultTextColor() : ::GetSysColor(COLOR_WINDOWTEXT);
    HDC hdc = dc->GetDC();
    COLORREF savedColor = ::GetTextColor(hdc);
    RECT clip = dc->GetClipBox();
    for (const Line& line : m_pLines->lines)
    {
        for (const Piece& piece : line.pieces)
        {
            RECT rect = piece.GetRect(), visible;
            if (!::IntersectRect(&visible, &rect, &clip))
                continue;
            CWVPMarkupBrush* fill = CWVPMarkupTextElement::GetBackground(piece.inl);
            if (fill && fill != background)
                dc->FillRect(fill, rect);
            CWVPMarkupBrush* foreground = CWVPMarkupTextElement::GetForeground(piece.inl);
            ::SetTextColor(hdc, foreground ? foreground->GetColor() : defaultColor);
            piece.inl->RenderRange(dc, rect, piece.start, piece.end);
            DrawDecoration(dc, piece, line, rect);
        }
    }
    ::SetTextColor(hdc, savedColor);
}

void CWVPMarkupTextBlock::DrawDecoration(CWVPMarkupDrawingContext* dc, const Piece& piece, const Line& line,
                                         const RECT& rect)
{
    int decoration = CWVPMarkupEnum::ValueOf(piece.inl->GetValue(CWVPMarkupTextElement::s_pTextDecorationsProperty),
                                             CWVPMarkupTextElement::decorationNone);
    if (decoration != CWVPMarkupTextElement::decorationUnderline &&
        decoration != CWVPMarkupTextElement::decorationStrikethrough)
        return;
    int descent = line.maxDescent;
    int thickness = (std::max)(1, descent / 3);
    int top = decoration == CWVPMarkupTextElement::decorationUnderline
                  ? rect.bottom - piece.descent + thickness
                  : rect.bottom + descent - (line.height - descent) / 2 - piece.descent;
    RECT bar = {rect.left, top, rect.right, top + thickness};
    // The bar takes the colour of the element that asks for it, not of the runs it crosses.
    CWVPMarkupBrush* brush = CWVPMarkupTextElement::GetForeground(
        piece.inl->FindValueSource(CWVPMarkupTextElement::s_pTextDecorationsProperty));
    if (brush)
        dc->FillRect(brush, bar);
    else
    {
        CWVPMarkupContext* context = GetMarkupContext();
        dc->FillSolidRect(bar, context ? context->GetDefaultTextColor() : ::GetSysColor(COLOR_WINDOWTEXT));
    }
}
