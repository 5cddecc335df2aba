// The text block: line layout with wrapping, line feeds and trimming in units of the fixed face's
// character width, alignment within the padding, baselines of mixed sizes, and run colours,
// backgrounds and decorations probed in a DIB section.
#include "MarkupTextFixture.h"

using texttest::FixedMetrics;
using texttest::LinesText;
using texttest::ParseBlock;

namespace
{
const int kUnbounded = CWVPMarkupUIElement::kUnbounded;

struct LineCase
{
    const char16_t* attributes;
    const char16_t* content;
    int widthChars; // available width: this many characters...
    int widthExtra; // ...plus this many pixels (kUnbounded characters: no limit)
    const char* lines;
    int laidOutChars; // widest line
    int lineCount;    // laid-out height in line heights
};

const char16_t kWrap[] = u"TextWrapping='Wrap'";
const char16_t kCharEllipsis[] = u"TextTrimming='CharacterEllipsis'";
const char16_t kWordEllipsis[] = u"TextTrimming='WordEllipsis'";

const LineCase kLineCases[] = {
    {u"", u"hello world", 5, 2, "hello world", 11, 1},
    {kWrap, u"aaa bbb ccc", 7, 2, "aaa bbb|ccc", 7, 2},
    {kWrap, u"aaa bbb ccc", 6, 0, "aaa|bbb|ccc", 3, 3},
    {kWrap, u"aaa   bbb", 4, 0, "aaa|bbb", 3, 2},
    {kWrap, u"ab abcdefghijkl cd", 5, 0, "ab|abcdefghijkl|cd", 12, 3},
    {kWrap, u"xx he<Bold>llo</Bold>", 5, 0, "xx|he+llo", 5, 2},
    {u"", u"ab<Run Text='cd'/>", 10, 0, "ab+cd", 4, 1},
    {u"", u"ab<LineBreak/>cd", 10, 0, "ab|cd", 2, 2},
    {u"", u"ab<LineBreak/><LineBreak/>cd", 10, 0, "ab|/|cd", 2, 3},
    {kWrap, u"ab<LineBreak/><LineBreak/>cd", 10, 0, "ab|/|cd", 2, 3},
    {u"", u"<Run/><Run Text=''/>ab", 10, 0, "ab", 2, 1},
    {kCharEllipsis, u"abcdefgh", 6, 1, "abc+...", 6, 1},
    {kCharEllipsis, u"abc", 10, 0, "abc", 3, 1},
    {kCharEllipsis, u"aa bb cc dd", 9, 1, "aa bb +...", 9, 1},
    {kWordEllipsis, u"aa bb cc dd", 9, 1, "aa bb+...", 8, 1},
    {kWordEllipsis, u"<Run Text='aaaa'/><Run Text=' bbbb'/>", 8, 0, "aaaa+...", 7, 1},
    {kCharEllipsis, u"abcdefgh", 2, 0, "...", 3, 1},
    {u"TextWrapping='Wrap' TextTrimming='CharacterEllipsis'", u"aa bb cc dd", 6, 0, "aa bb|cc dd", 5, 2},
    {kWrap, u"aa bb", 0, 0, "aa|bb", 2, 2},
    {kWordEllipsis, u"aa bb", 0, 0, "...", 3, 1},
};
} // namespace

TEST(MarkupTextBlock, LinesWrapAndTrimInCharacterWidths)
{
    markuptest::Context context;
    FixedMetrics m = texttest::MeasureFixed(context.Get());
    for (const LineCase& c : kLineCases)
    {
        CWVPMarkupTextBlock* block = ParseBlock(context, c.attributes, c.content);
        ASSERT_NE(nullptr, block);
        std::string what = rwtest::Utf8(reinterpret_cast<LPCWSTR>(c.content)) + " in " + std::to_string(c.widthChars);
        CWVPMarkupDrawingContext dc;
        block->Measure(&dc, c.widthChars * m.cw + c.widthExtra, 1000);
        EXPECT_EQ(c.lines, LinesText(block)) << what;
        EXPECT_EQ(c.laidOutChars * m.cw, block->GetLaidOutSize().cx) << what;
        EXPECT_EQ(c.lineCount * m.lh, block->GetLaidOutSize().cy) << what;
        block->Release();
    }
}

TEST(MarkupTextBlock, DesiredSizeAddsPaddingAndFollowsChanges)
{
    markuptest::Context context;
    FixedMetrics m = texttest::MeasureFixed(context.Get());
    CWVPMarkupTextBlock* block = ParseBlock(context, u"Padding='3,1,4,2'", u"hello");
    ASSERT_NE(nullptr, block);
    CWVPMarkupDrawingContext dc;
    block->Measure(&dc, kUnbounded, kUnbounded);
    EXPECT_EQ(5 * m.cw + 7, block->GetDesiredSize().cx);
    EXPECT_EQ(m.lh + 3, block->GetDesiredSize().cy);

    // Text replaces every inline with one run; the block lays itself out again.
    block->SetValue(CWVPMarkupTextBlock::s_pTextProperty, CWVPMarkupString::CreateValue(L"abcdefgh"));
    EXPECT_EQ("TextBlock{InlineCollection{Run\"abcdefgh\"}}", markuptest::Dump(block));
    EXPECT_EQ(8 * m.cw + 7, block->GetDesiredSize().cx);

    // A run's font change reaches the block that hosts it.
    FixedMetrics big = texttest::MeasureFixed(context.Get(), 32);
    CWVPMarkupObject* run = block->GetInlines()->GetItem(0);
    run->SetValue(CWVPMarkupTextElement::s_pFontSizeProperty, new CWVPMarkupInt(32));
    EXPECT_EQ(8 * big.cw + 7, block->GetDesiredSize().cx);
    EXPECT_EQ(big.lh + 3, block->GetDesiredSize().cy);
    block->Release();
}

TEST(MarkupTextBlock, DefaultFontChangeReachesRunsOnTheNextLayout)
{
    markuptest::Context context;
    FixedMetrics m = texttest::MeasureFixed(context.Get());
    CWVPMarkupObject* root = context.Parse(L"<TextBlock>iiiii</TextBlock>");
    CWVPMarkupTextBlock* block = MarkupCast<CWVPMarkupTextBlock>(root);
    ASSERT_NE(nullptr, block);
    CWVPMarkupDrawingContext dc;
    block->Measure(&dc, kUnbounded, kUnbounded);
    LOGFONTW lf = context->GetDefaultFont();
    lf.lfHeight = -texttest::kFixedSize;
    ::lstrcpynW(lf.lfFaceName, texttest::W(texttest::kFixedFace), LF_FACESIZE);
    HFONT fixed = ::CreateFontIndirectW(&lf);
    context->SetDefaultFont(fixed);
    block->UpdateLayout(&dc);
    EXPECT_EQ(5 * m.cw, block->GetLaidOutSize().cx);
    EXPECT_EQ(m.lh, block->GetLaidOutSize().cy);
    block->Release();
    ::DeleteObject(fixed);
}

namespace
{
enum Align
{
    left,
    right,
    center
};
struct AlignCase
{
    const char16_t* attributes;
    Align align;
    int padLeft, padTop, padRight;
};
const AlignCase kAlignCases[] = {
    {u"", left, 0, 0, 0},
    {u"Padding='5,3,7,0'", left, 5, 3, 7},
    {u"TextAlignment='Right'", right, 0, 0, 0},
    {u"TextAlignment='Right' Padding='5,3,7,0'", right, 5, 3, 7},
    {u"TextAlignment='Center' Padding='4,0,10,0'", center, 4, 0, 10},
    {u"TextAlignment='Center' Padding='11,2,0,0'", center, 11, 2, 0},
};
} // namespace

TEST(MarkupTextBlock, LinesAlignWithinThePaddedWidth)
{
    markuptest::Context context;
    FixedMetrics m = texttest::MeasureFixed(context.Get());
    const int width = 20 * m.cw + 1;
    for (const AlignCase& c : kAlignCases)
    {
        CWVPMarkupTextBlock* block = ParseBlock(context, c.attributes, u"abc<LineBreak/>a");
        ASSERT_NE(nullptr, block);
        std::string what = rwtest::Utf8(reinterpret_cast<LPCWSTR>(c.attributes));
        CWVPMarkupDrawingContext dc;
        block->Measure(&dc, width, 200);
        block->Arrange({0, 0, width, 200});
        const int inner = width - c.padLeft - c.padRight;
        const int lineChars[] = {3, 1};
        ASSERT_EQ(2, block->GetLineCount()) << what;
        for (int line = 0; line < 2; ++line)
        {
            int count = 0;
            const CWVPMarkupTextBlock::Piece* piece = block->GetLinePieces(line, &count);
            ASSERT_NE(nullptr, piece) << what;
            int lineWidth = lineChars[line] * m.cw;
            int x = c.padLeft;
            if (c.align == right)
                x += inner - lineWidth;
            else if (c.align == center)
                x += (inner - lineWidth) / 2;
            RECT rect = piece->GetRect();
            EXPECT_EQ(x, rect.left) << what << " line " << line;
            EXPECT_EQ(c.padTop + line * m.lh, rect.top) << what << " line " << line;
        }
        block->Release();
    }
}

TEST(MarkupTextBlock, MixedSizesShareTheBaseline)
{
    markuptest::Context context;
    FixedMetrics big = texttest::MeasureFixed(context.Get(), 32);
    FixedMetrics little = texttest::MeasureFixed(context.Get(), 12);
    CWVPMarkupTextBlock* block = ParseBlock(context, u"",
                                            u"<Run FontSize='32'>ab</Run><Run FontSize='12'>cd</Run><Run FontSize='12' "
                                            u"BaselineAlignment='Top'>ef</Run>");
    ASSERT_NE(nullptr, block);
    CWVPMarkupDrawingContext dc;
    block->Measure(&dc, kUnbounded, kUnbounded);
    block->Arrange({0, 0, 400, 200});
    ASSERT_EQ(1, block->GetLineCount());
    int count = 0;
    const CWVPMarkupTextBlock::Piece* p = block->GetLinePieces(0, &count);
    ASSERT_EQ(3, count);
    int descent = (std::max)(big.descent, little.descent);
    EXPECT_EQ(big.lh - big.descent + descent, block->GetLineMetrics(0).height);
    EXPECT_EQ(p[0].GetRect().bottom - big.descent, p[1].GetRect().bottom - little.descent);
    EXPECT_EQ(0, p[2].GetRect().top);
    EXPECT_EQ(2 * big.cw, p[1].GetRect().left);
    block->Release();
}

namespace
{
const COLORREF kDefaultText = RGB(0, 0, 128);
const COLORREF kBlockFill = RGB(192, 192, 192);

// Renders a block arranged at (left, top) with its desired size into the canvas.
void RenderAt(CWVPMarkupTextBlock* block, DibCanvas& canvas, int left, int top)
{
    CWVPMarkupDrawingContext dc(canvas.dc());
    block->Measure(&dc, kUnbounded, kUnbounded);
    SIZE size = block->GetDesiredSize();
    block->Arrange({left, top, left + size.cx, top + size.cy});
    block->Render(&dc);
}
} // namespace

TEST(MarkupTextBlock, RunsDrawTheirForegroundAndBackground)
{
    markuptest::Context context;
    context->SetDefaultTextColor(kDefaultText);
    FixedMetrics m = texttest::MeasureFixed(context.Get());
    CWVPMarkupTextBlock* block = ParseBlock(
        context, u"Background='#C0C0C0'",
        u"<Run Foreground='#FF0000' Background='#00FF00' Text='\u2588 '/><Run Text='\u2588'/><Run Text=' '/>");
    ASSERT_NE(nullptr, block);
    DibCanvas canvas(200, 60);
    RenderAt(block, canvas, 10, 5);
    const int mid = 5 + m.lh / 2;
    auto cell = [&](int i) { return 10 + i * m.cw + m.cw / 2; };
    EXPECT_EQ(0xFF0000u, canvas.Rgb(cell(0), mid));
    EXPECT_EQ(0x00FF00u, canvas.Rgb(cell(1), mid));
    EXPECT_EQ(0x00FF00u, canvas.Rgb(cell(1), 5));
    EXPECT_EQ(0x000080u, canvas.Rgb(cell(2), mid));
    EXPECT_EQ(0xC0C0C0u, canvas.Rgb(cell(3), mid));
    EXPECT_EQ(0xC0C0C0u, canvas.Rgb(cell(3), 5 + m.lh - 1));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(5, mid));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(cell(0), 5 + m.lh + 1));
    block->Release();
}

namespace
{
// The rows of an underline under a piece of a single-font line.
int UnderlineTop(const FixedMetrics& m, int top)
{
    return top + m.lh - m.descent + (std::max)(1, m.descent / 3);
}
} // namespace

TEST(MarkupTextBlock, HyperlinkIsBlueUnderlinedAndRedUnderTheMouse)
{
    markuptest::Context context;
    FixedMetrics m = texttest::MeasureFixed(context.Get());
    CWVPMarkupTextBlock* block = ParseBlock(context, u"", u"<Hyperlink><Run Text='\u2588 \u2588'/></Hyperlink>");
    ASSERT_NE(nullptr, block);
    CWVPMarkupObject* link = MarkupCast<CWVPMarkupHyperlink>(block->GetInlines()->GetItem(0));
    ASSERT_NE(nullptr, link);
    EXPECT_EQ("Int:32649", markuptest::ValueText(link->GetValue(CWVPMarkupInputElement::s_pCursorProperty)));

    DibCanvas canvas(120, 40);
    RenderAt(block, canvas, 0, 0);
    const int mid = m.lh / 2, bar = UnderlineTop(m, 0);
    const int space = m.cw + m.cw / 2;
    EXPECT_EQ(0x0000FFu, canvas.Rgb(m.cw / 2, mid));
    EXPECT_EQ(0x0000FFu, canvas.Rgb(space, bar));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(space, mid));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(space, bar - 1));

    link->SetValue(CWVPMarkupInputElement::s_pIsMouseOverProperty, CWVPMarkupBool::CreateTrueValue());
    canvas.Fill(RGB(255, 255, 255));
    CWVPMarkupDrawingContext dc(canvas.dc());
    block->Render(&dc);
    EXPECT_EQ(0xFF0000u, canvas.Rgb(m.cw / 2, mid));
    EXPECT_EQ(0xFF0000u, canvas.Rgb(space, bar));
    block->Release();
}

TEST(MarkupTextBlock, DecorationsTakeTheForegroundOfTheElementThatSetsThem)
{
    markuptest::Context context;
    context->SetDefaultTextColor(kDefaultText);
    FixedMetrics m = texttest::MeasureFixed(context.Get());
    CWVPMarkupTextBlock* block =
        ParseBlock(context, u"",
                   u"<Underline Foreground='#00FF00'><Run Foreground='#FF0000' Text='\u2588 '/></Underline><Run "
                   u"TextDecorations='Underline' Text=' '/><Run TextDecorations='Strikethrough' Text=' '/>");
    ASSERT_NE(nullptr, block);
    DibCanvas canvas(120, 40);
    RenderAt(block, canvas, 0, 0);
    const int bar = UnderlineTop(m, 0);
    auto cell = [&](int i) { return i * m.cw + m.cw / 2; };
    EXPECT_EQ(0xFF0000u, canvas.Rgb(cell(0), m.lh / 2));
    EXPECT_EQ(0x00FF00u, canvas.Rgb(cell(1), bar));
    // Without a foreground anywhere the bar has the default text colour.
    EXPECT_EQ(0x000080u, canvas.Rgb(cell(2), bar));
    int strike = m.lh + m.descent - (m.lh - m.descent) / 2 - m.descent;
    EXPECT_EQ(0x000080u, canvas.Rgb(cell(3), strike));
    EXPECT_EQ(0xFFFFFFu, canvas.Rgb(cell(3), bar));
    block->Release();
}
