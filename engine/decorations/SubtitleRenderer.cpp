#include "engine/decorations/SubtitleRenderer.h"

#include "engine/UnixPath.h"

#include <algorithm>
#include <cstring>

namespace
{
const char kFontFile[] = "SIMHEI.TTF";
const FT_Int32 kGlyphLoadFlags = FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
const int kFindBufferSize = 1024;

bool IsPrintable(char16_t c)
{
    WORD type = 0;
    WCHAR ch = static_cast<WCHAR>(c);
    return ::GetStringTypeW(CT_CTYPE1, &ch, 1, &type) && (type & C1_DEFINED) && !(type & C1_CNTRL);
}
}

void BlendGlyph(const GlyphCell& cell, uint8_t* pixels, int width, int height)
{
    for (int r = 0; r < cell.rows; ++r)
    {
        const int y = cell.y + r;
        if (y < 0)
            continue;
        if (y >= height)
            break;
        uint8_t* row = pixels + static_cast<size_t>(y) * width * 4;
        for (int c = 0; c < cell.width; ++c)
        {
            const int x = cell.x + c;
            if (x < 0)
                continue;
            if (x >= width)
                break;
            const int g = cell.coverage[r][c];
            uint8_t* pixel = row + static_cast<size_t>(x) * 4;
            if (g == 0)
                continue;
            if (g == 255)
            {
                std::memset(pixel, 255, 4);
                continue;
            }
            for (int k = 0; k < 3; ++k)
                pixel[k] = static_cast<uint8_t>(std::min(255, (g * 255 + pixel[k] * (256 - g)) >> 8));
        }
    }
}

SubtitleRenderer::SubtitleRenderer()
    : m_fileKey(0), m_bottomMargin(kDefaultBottomMargin), m_pixelSize(kDefaultPixelSize), m_face(nullptr),
      m_library(nullptr), m_glyphCount(0), m_lineCount(0), m_ascender(0), m_layouts(0)
{
    m_storedText[0] = 0;
}

SubtitleRenderer::~SubtitleRenderer()
{
    if (m_face)
        FT_Done_Face(m_face);
    if (m_library)
        FT_Done_FreeType(m_library);
}

void SubtitleRenderer::SetPixelSize(int size)
{
    if (size <= 0)
        return;
    m_pixelSize = size;
    if (m_face)
    {
        FT_Set_Pixel_Sizes(m_face, 0, m_pixelSize);
        m_ascender = static_cast<int>(m_face->size->metrics.ascender >> 6);
        m_lastText.clear();
    }
}

void SubtitleRenderer::SetStoredText(const WCHAR* text)
{
    ::lstrcpynW(m_storedText, text ? text : L"", kStoredTextSize);
}

int SubtitleRenderer::Load(int mode, const char* sourcePath, const WCHAR* subtitlePath)
{
    if (mode == kSubtitleModeFile)
        m_fileKey = m_parser.LoadFile(subtitlePath ? subtitlePath : L"");
    else if (mode == kSubtitleModeCompanion)
        m_fileKey = m_parser.LoadCompanion(std::vector<int>{kDefaultLocale}, sourcePath);
    else
        m_fileKey = kSubtitleNoEntries;
    if (m_fileKey > 0)
        OpenFont();
    return m_fileKey;
}

int SubtitleRenderer::OpenFont()
{
    char windows[MAX_PATH];
    UINT length = ::GetWindowsDirectoryA(windows, MAX_PATH - 1);
    if (length == 0 || length >= MAX_PATH - 1)
        return -1;
    std::string path = std::string(windows) + "\\fonts\\" + kFontFile;
    std::string unixPath;
    if (!EngineToUnixPath(path.c_str(), &unixPath))
        return -1;
    if (!m_library && FT_Init_FreeType(&m_library) != 0)
    {
        m_library = nullptr;
        return -1;
    }
    if (m_face)
    {
        FT_Done_Face(m_face);
        m_face = nullptr;
    }
    if (FT_New_Face(m_library, unixPath.c_str(), 0, &m_face) != 0)
    {
        m_face = nullptr;
        return -1;
    }
    FT_Set_Pixel_Sizes(m_face, 0, m_pixelSize);
    m_ascender = static_cast<int>(m_face->size->metrics.ascender >> 6);
    m_cells.assign(kGlyphCellCount, GlyphCell());
    m_glyphCount = 0;
    m_lastText.clear();
    return 0;
}

void SubtitleRenderer::Draw(int height, uint8_t* pixels, int width, int timeMs)
{
    if (!m_library || !m_face || !pixels || width <= 0 || height <= 0)
        return;
    WCHAR text[kFindBufferSize];
    int capacity = kFindBufferSize - 1;
    if (m_parser.FindText(m_fileKey, timeMs, text, &capacity) != 0 || capacity == 0)
        return;
    WideText shown = ToWideText(text);
    if (shown != m_lastText)
    {
        LayoutText(shown, width, height);
        m_lastText = shown;
    }
    BlendGlyphs(pixels, width, height);
}

void SubtitleRenderer::CentreGlyphRun(int runStart, int penX, int frameWidth)
{
    const int shift = (frameWidth - penX) / 2;
    for (int i = runStart; i < m_glyphCount; ++i)
        m_cells[i].x += shift;
}

void SubtitleRenderer::LayoutText(const WideText& text, int width, int height)
{
    ++m_layouts;
    int penX = 0;
    int lineOffset = 0;
    int lines = 1;
    int runStart = 0;
    m_glyphCount = 0;
    for (char16_t c : text)
    {
        if (!IsPrintable(c))
        {
            CentreGlyphRun(runStart, penX, width);
            runStart = m_glyphCount;
            if (c == u'\n')
            {
                lineOffset += m_pixelSize;
                ++lines;
                penX = 0;
            }
            continue;
        }
        FT_UInt index = FT_Get_Char_Index(m_face, c);
        if (FT_Load_Glyph(m_face, index, kGlyphLoadFlags) != 0)
            continue;
        FT_GlyphSlot slot = m_face->glyph;
        if (slot->format != FT_GLYPH_FORMAT_OUTLINE || FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
            continue;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.width == 0 || bitmap.rows == 0)
        {
            // A blank has no pixels but still separates the words around it.
            penX += static_cast<int>(slot->advance.x >> 6);
            continue;
        }
        const int glyphWidth = static_cast<int>(bitmap.width);
        const int glyphRows = static_cast<int>(bitmap.rows);
        if (m_glyphCount < static_cast<int>(m_cells.size()))
        {
            // Glyphs beyond the cells are dropped; a glyph larger than a cell keeps its top-left part.
            GlyphCell& cell = m_cells[m_glyphCount++];
            cell.width = std::min(glyphWidth, GlyphCell::kSize);
            cell.rows = std::min(glyphRows, GlyphCell::kSize);
            cell.x = slot->bitmap_left + penX;
            if (m_ascender - slot->bitmap_top + glyphRows > m_pixelSize)
                cell.y = lineOffset + m_pixelSize - glyphRows;
            else
                cell.y = lineOffset + m_ascender - slot->bitmap_top;
            cell.reserved[0] = cell.reserved[1] = 0;
            for (int r = 0; r < cell.rows; ++r)
                std::memcpy(cell.coverage[r], bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch, cell.width);
        }
        penX += slot->bitmap_left + glyphWidth + 1;
    }
    CentreGlyphRun(runStart, penX, width);
    const int drop = height - lines * m_pixelSize - m_bottomMargin;
    if (drop > 0)
        for (int i = 0; i < m_glyphCount; ++i)
            m_cells[i].y += drop;
    m_lineCount = lines;
}

void SubtitleRenderer::BlendGlyphs(uint8_t* pixels, int width, int height) const
{
    for (int i = 0; i < m_glyphCount; ++i)
        BlendGlyph(m_cells[i], pixels, width, height);
}
