// Text elements and inlines: the fonts runs derive from the context's default font, the walk over
// nested spans, embedded elements flowing as words and hit by the mouse, and the hyperlink's click.
#include "MarkupTextFixture.h"

#include <vector>

using texttest::FixedMetrics;

namespace
{
struct FontCase
{
    const wchar_t* content;
    LONG weight; // 0: the context's default
    BYTE italic;
    LONG height;      // 0: the context's default
    const char* face; // null: the context's default
    BYTE quality;     // 0: the context's default
};

const FontCase kFontCases[] = {
    {L"<Run>x</Run>", 0, 0, 0, nullptr},
    {L"<Bold>x</Bold>", 700, 0, 0, nullptr},
    {L"<Italic><Bold>x</Bold></Italic>", 700, 1, 0, nullptr},
    {L"<Bold><Run FontWeight='Normal'>x</Run></Bold>", 400, 0, 0, nullptr},
    {L"<Italic FontStyle='Normal'>x</Italic>", 0, 0, 0, nullptr},
    {L"<Run FontStyle='Italic' FontWeight='Black'>x</Run>", 900, 1, 0, nullptr},
    {L"<Span FontSize='20' FontFamily='Tahoma'><Span>x</Span></Span>", 0, 0, -20, "Tahoma"},
    {L"<Run FontFamily='A face name much longer than a font record holds'>x</Run>", 0, 0, 0,
     "A face name much longer than a "},
    {L"<Span FontQuality='ClearType'><Run>x</Run></Span>", 0, 0, 0, nullptr, CLEARTYPE_QUALITY},
};

// The first run below an object, depth first.
CWVPMarkupRun* FirstRun(CWVPMarkupObject* o)
{
    if (CWVPMarkupRun* run = MarkupCast<CWVPMarkupRun>(o))
        return run;
    for (int i = 0; i < o->GetLogicalChildrenCount(); ++i)
        if (CWVPMarkupRun* run = FirstRun(o->GetLogicalChild(i)))
            return run;
    return nullptr;
}
} // namespace

TEST(MarkupInline, RunFontsDeriveFromTheDefaultFont)
{
    markuptest::Context context;
    const LOGFONTW& base = context->GetDefaultFont();
    for (const FontCase& c : kFontCases)
    {
        WCHAR markup[256];
        wsprintfW(markup, L"<TextBlock>%s</TextBlock>", c.content);
        CWVPMarkupObject* root = context.Parse(markup);
        ASSERT_NE(nullptr, root) << context.Error();
        std::string what = rwtest::Utf8(c.content);
        CWVPMarkupRun* run = FirstRun(root);
        ASSERT_NE(nullptr, run) << what;
        LOGFONTW lf;
        run->GetLogFont(&lf);
        EXPECT_EQ(c.weight ? c.weight : base.lfWeight, lf.lfWeight) << what;
        EXPECT_EQ(c.italic, lf.lfItalic) << what;
        EXPECT_EQ(c.height ? c.height : base.lfHeight, lf.lfHeight) << what;
        EXPECT_EQ(c.face ? std::string(c.face) : rwtest::Utf8(base.lfFaceName), rwtest::Utf8(lf.lfFaceName)) << what;
        EXPECT_EQ(c.quality ? c.quality : base.lfQuality, lf.lfQuality) << what;

        // Measuring takes the font from the context's cache and keeps its descent.
        CWVPMarkupDrawingContext dc;
        run->PrepareMeasure(&dc);
        ASSERT_NE(nullptr, run->GetFont()) << what;
        EXPECT_EQ(rwtest::Utf8(lf.lfFaceName), rwtest::Utf8(run->GetFont()->GetDescription().lfFaceName)) << what;
        root->Release();
    }
}

TEST(MarkupInline, NextInlineWalksOutOfSpans)
{
    markuptest::Context context;
    CWVPMarkupObject* root =
        context.Parse(L"<TextBlock>a<Span>b<Bold>c</Bold><Span/></Span><Italic><Underline>d</Underline></Italic>"
                      L"<LineBreak/>e</TextBlock>");
    CWVPMarkupTextBlock* block = MarkupCast<CWVPMarkupTextBlock>(root);
    ASSERT_NE(nullptr, block) << context.Error();
    std::string walk;
    for (CWVPMarkupInline* inl = block->GetFirstInline(); inl; inl = inl->GetNextInline())
        walk += (walk.empty() ? "" : ",") + markuptest::Dump(inl);
    EXPECT_EQ("Run\"a\",Run\"b\",Run\"c\",Span{InlineCollection},Run\"d\",LineBreak,Run\"e\"", walk);

    // A line break is one position that both breaks words and lines; an empty run has none.
    CWVPMarkupLineBreak* lineBreak = new CWVPMarkupLineBreak();
    MarkupTextPosition p = lineBreak->GetFirstPosition();
    EXPECT_TRUE(lineBreak->IsWordBreakPosition(p));
    EXPECT_TRUE(lineBreak->IsLineBreakPosition(p));
    EXPECT_FALSE(lineBreak->IsWhiteSpacePosition(p));
    lineBreak->GetNextPosition(p);
    EXPECT_NE(kNoTextPosition, p);
    lineBreak->GetNextPosition(p);
    EXPECT_EQ(kNoTextPosition, p);
    lineBreak->Release();
    CWVPMarkupRun* empty = new CWVPMarkupRun();
    EXPECT_EQ(kNoTextPosition, empty->GetFirstPosition());
    CWVPMarkupDrawingContext dc;
    EXPECT_EQ(0, empty->MeasureRange(&dc, 0, kNoTextPosition).cx);
    empty->Release();
    root->Release();
}

TEST(MarkupInline, EmbeddedElementFlowsAsAWordAndTakesHits)
{
    markuptest::Context context;
    FixedMetrics m = texttest::MeasureFixed(context.Get());
    CWVPMarkupTextBlock* block = texttest::ParseBlock(context, u"", u"ab<FrameworkElement Width='30' Height='10'/>cd");
    ASSERT_NE(nullptr, block);
    CWVPMarkupDrawingContext dc;
    block->Measure(&dc, CWVPMarkupUIElement::kUnbounded, CWVPMarkupUIElement::kUnbounded);
    block->Arrange({0, 0, 300, 100});
    EXPECT_EQ("ab+#+cd", texttest::LinesText(block));
    EXPECT_EQ(4 * m.cw + 30, block->GetLaidOutSize().cx);
    int lineHeight = block->GetLineMetrics(0).height;
    EXPECT_EQ((std::max)(m.lh, m.descent + 10), lineHeight);

    CWVPMarkupInlineUIContainer* container = MarkupCast<CWVPMarkupInlineUIContainer>(block->GetInlines()->GetItem(1));
    ASSERT_NE(nullptr, container);
    CWVPMarkupUIElement* child = container->GetChild();
    ASSERT_NE(nullptr, child);
    // The element stands on the baseline.
    EXPECT_EQ(2 * m.cw, child->GetVisualOffset().x);
    EXPECT_EQ(lineHeight - m.descent - 10, child->GetVisualOffset().y);
    EXPECT_EQ(30, child->GetRenderSize().cx);

    POINT onChild = {2 * m.cw + 15, child->GetVisualOffset().y + 5};
    EXPECT_EQ(child, block->InputHitTest(onChild));
    CWVPMarkupInputElement* onText = block->InputHitTest({m.cw / 2, lineHeight - 2});
    ASSERT_NE(nullptr, onText);
    EXPECT_EQ("Run\"ab\"", markuptest::Dump(onText));
    EXPECT_EQ(block, block->InputHitTest({250, 5}));

    // Wrapped in a narrow block the element moves to its own line whole.
    block->SetValue(CWVPMarkupTextBlock::s_pTextWrappingProperty, CWVPMarkupEnum::CreateValue(1));
    block->Measure(&dc, 3 * m.cw, 100);
    EXPECT_EQ("ab|#|cd", texttest::LinesText(block));
    block->Release();
}

namespace
{
class ClickCounter : public CWVPMarkupDelegate
{
  public:
    int clicks = 0;
    CWVPMarkupInputElement* source = nullptr;
    void OnEvent(CWVPMarkupObject*, CWVPMarkupRoutedEventArgs* args) override
    {
        ++clicks;
        source = args->m_pSource;
    }
};
} // namespace

TEST(MarkupInline, HyperlinkClicksOnPressAndRelease)
{
    markuptest::Context context;
    CWVPMarkupObject* root = context.Parse(L"<TextBlock>see <Hyperlink>this</Hyperlink></TextBlock>");
    CWVPMarkupTextBlock* block = MarkupCast<CWVPMarkupTextBlock>(root);
    ASSERT_NE(nullptr, block) << context.Error();
    CWVPMarkupHyperlink* link = nullptr;
    for (int i = 0; i < block->GetInlines()->GetCount() && !link; ++i)
        link = MarkupCast<CWVPMarkupHyperlink>(block->GetInlines()->GetItem(i));
    ASSERT_NE(nullptr, link);
    ClickCounter* counter = new ClickCounter();
    block->AddHandler(CWVPMarkupButtonBase::s_pClickEvent, counter);

    CWVPMarkupMouseEventArgs up(CWVPMarkupInputElement::s_pMouseLeftButtonUpEvent, link, nullptr, 0, 0);
    link->OnMouseLeftButtonUp(&up);
    EXPECT_EQ(0, counter->clicks);
    EXPECT_FALSE(up.m_bHandled);

    CWVPMarkupMouseEventArgs down(CWVPMarkupInputElement::s_pMouseLeftButtonDownEvent, link, nullptr, 0, 0);
    link->OnMouseLeftButtonDown(&down);
    EXPECT_TRUE(down.m_bHandled);
    link->OnMouseLeftButtonUp(&up);
    EXPECT_TRUE(up.m_bHandled);
    EXPECT_EQ(1, counter->clicks);
    EXPECT_EQ(link, counter->source);
    link->OnMouseLeftButtonUp(&up);
    EXPECT_EQ(1, counter->clicks);
    counter->Release();
    root->Release();
}

namespace
{
// Records which elements asked their host window to be redrawn.
class RecordingContext : public CWVPMarkupContext
{
  public:
    std::vector<CWVPMarkupInputElement*> redrawn;
    void OnInvalidateVisual(CWVPMarkupInputElement* element) override
    {
        redrawn.push_back(element);
    }
};
} // namespace

TEST(MarkupInline, ChangesOfTextPropertiesRedrawTheHostBlock)
{
    RecordingContext* context = new RecordingContext();
    CWVPMarkupObject* root = context->Parse(L"<TextBlock>a <Italic>b</Italic></TextBlock>");
    CWVPMarkupTextBlock* block = MarkupCast<CWVPMarkupTextBlock>(root);
    ASSERT_NE(nullptr, block);
    CWVPMarkupDrawingContext dc;
    block->Measure(&dc, 200, 100);
    block->Arrange({0, 0, 200, 100});
    CWVPMarkupObject* italic = block->GetInlines()->GetItem(1);
    context->redrawn.clear();
    italic->SetValue(CWVPMarkupTextElement::s_pForegroundProperty, new CWVPMarkupSolidColorBrush(RGB(1, 2, 3)));
    ASSERT_FALSE(context->redrawn.empty());
    for (CWVPMarkupInputElement* e : context->redrawn)
        EXPECT_EQ(block, e);
    root->Release();
    context->Release();
}
