// Burns a job's subtitles into its video: finds the text shown at each frame's time, lays it out
// with FreeType in the subtitle font, centred above the frame's bottom, and blends it in white.
#pragma once

#include "engine/decorations/SubtitleParse.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdint.h>
#include <vector>

const int kSubtitleModeNone = 0;
const int kSubtitleModeFile = 1;
const int kSubtitleModeCompanion = 3;
const int kStoredTextSize = 128;

// One rendered glyph placed in the frame: position, bitmap size and up to 64 x 64 coverage bytes.
struct GlyphCell
{
    static constexpr int kSize = 64;
    int x;
    int y;
    int width;
    int rows;
    int reserved[2];
    uint8_t coverage[kSize][kSize];
};

// Blends one glyph in white into a BGRA frame, clipped to the frame.
void BlendGlyph(const GlyphCell& cell, uint8_t* pixels, int width, int height);

class SubtitleRenderer
{
public:
    static constexpr int kGlyphCellCount = 500;
    static constexpr int kDefaultBottomMargin = 10;
    static constexpr int kDefaultPixelSize = 16;

    SubtitleRenderer();
    ~SubtitleRenderer();
    SubtitleRenderer(const SubtitleRenderer&) = delete;
    SubtitleRenderer& operator=(const SubtitleRenderer&) = delete;

    // The loaded file's key (> 0), or the parser's negative result. Opens the font on success.
    int Load(int mode, const char* sourcePath, const WCHAR* subtitlePath);
    // 0, or -1 when the subtitle font cannot be opened (then nothing is drawn).
    int OpenFont();
    void Draw(int height, uint8_t* pixels, int width, int timeMs);

    void SetBottomMargin(int margin)
    {
        m_bottomMargin = margin;
    }
    // Also resizes the glyphs of an open font, so that glyphs and line height agree.
    void SetPixelSize(int size);
    void SetStoredText(const WCHAR* text);

    bool HasFont() const
    {
        return m_face != nullptr;
    }
    int GlyphCount() const
    {
        return m_glyphCount;
    }
    int LineCount() const
    {
        return m_lineCount;
    }
    const GlyphCell& Cell(int i) const
    {
        return m_cells[i];
    }
    int LayoutCount() const
    {
        return m_layouts;
    }

private:
    void LayoutText(const WideText& text, int width, int height);
    void BlendGlyphs(uint8_t* pixels, int width, int height) const;
    void CentreGlyphRun(int runStart, int penX, int frameWidth);

    CSubtitleParse m_parser;
    int m_fileKey;
    int m_bottomMargin;
    int m_pixelSize;
    WCHAR m_storedText[kStoredTextSize];
    FT_Face m_face;
    FT_Library m_library;
    std::vector<GlyphCell> m_cells;
    int m_glyphCount;
    int m_lineCount;
    int m_ascender;
    WideText m_lastText;
    int m_layouts;
};
