// Helpers of the text suites: text blocks in the fixed test font, whose character width and line
// height are measured with GDI so that expected geometry is written in characters and lines, and
// the laid-out lines of a block as text.
#pragma once

#include "MarkupFixture.h"

#include <string>

#include "DibCanvas.h"
#include "uilib/markup/MarkupDrawingContext.h"

namespace texttest
{
// A fixed-pitch face present in the test prefix.
const char16_t kFixedFace[] = u"DejaVu Sans Mono";
const int kFixedSize = 16;

inline LPCWSTR W(const std::u16string& s)
{
    return reinterpret_cast<LPCWSTR>(s.c_str());
}

struct FixedMetrics
{
    int cw;      // advance of one character
    int lh;      // line height
    int descent; // below the baseline
};

// The fixed face at a pixel size, measured without the markup code.
inline FixedMetrics MeasureFixed(CWVPMarkupContext* context, int size = kFixedSize)
{
    LOGFONTW lf = context->GetDefaultFont();
    lf.lfHeight = -size;
    ::lstrcpynW(lf.lfFaceName, W(kFixedFace), LF_FACESIZE);
    HFONT font = ::CreateFontIndirectW(&lf);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE ten = {0, 0};
    ::GetTextExtentPoint32W(dc, L"MMMMMMMMMM", 10, &ten);
    TEXTMETRICW tm = {};
    ::GetTextMetricsW(dc, &tm);
    WCHAR face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(font);
    EXPECT_EQ(std::string("DejaVu Sans Mono"), rwtest::Utf8(face)) << "the fixed test face is missing";
    EXPECT_EQ(0, ten.cx % 10) << "character advances are not whole pixels";
    return {(int)ten.cx / 10, (int)tm.tmHeight, (int)tm.tmDescent};
}

// A text block in the fixed face with extra attributes and content; the caller releases it.
inline CWVPMarkupTextBlock* ParseBlock(markuptest::Context& context, const std::u16string& attributes,
                                       const std::u16string& content)
{
    std::u16string markup = u"<TextBlock FontFamily='" + std::u16string(kFixedFace) + u"' FontSize='" +
                            std::u16string(u"16") + u"' " + attributes + u">" + content + u"</TextBlock>";
    CWVPMarkupObject* root = context.Parse(W(markup));
    EXPECT_NE(nullptr, root) << context.Error();
    return MarkupCast<CWVPMarkupTextBlock>(root);
}

// The text of a piece: a run's characters (a line feed shows as '/'), '#' for any other inline.
inline std::string PieceText(const CWVPMarkupTextBlock::Piece& piece)
{
    if (!piece.inl->IsKindOf(CWVPMarkupRun::Type()))
        return "#";
    LPCWSTR first = reinterpret_cast<LPCWSTR>(piece.start);
    int length = (int)((piece.end - piece.start) / (MarkupTextPosition)sizeof(WCHAR));
    std::string text = rwtest::Utf8(first, length);
    for (char& c : text)
        if (c == '\n')
            c = '/';
    return text;
}

// The laid-out lines: pieces joined with '+', lines separated by '|'.
inline std::string LinesText(const CWVPMarkupTextBlock* block)
{
    std::string out;
    for (int line = 0; line < block->GetLineCount(); ++line)
    {
        int count = 0;
        const CWVPMarkupTextBlock::Piece* pieces = block->GetLinePieces(line, &count);
        out += line ? "|" : "";
        for (int i = 0; i < count; ++i)
            out += (i ? "+" : "") + PieceText(pieces[i]);
    }
    return out;
}
} // namespace texttest
