#include "engine/decorations/TextWatermark.h"

#include <algorithm>
#include <cstring>

namespace
{
const int kColourMask = 0xFFFFFF;
const int kWeightMask = 0xFFFF;
const int kItalicBit = 1 << 16;
const int kUnderlineBit = 1 << 17;
const int kStrikeOutBit = 1 << 18;
const BYTE kFontCharset = DEFAULT_CHARSET;
const uint32_t kTransparentPixel = 0x00FFFFFF; // white, alpha 0

struct FontOwner
{
    HFONT font;
    ~FontOwner()
    {
        if (font)
            ::DeleteObject(font);
    }
};
struct DcOwner
{
    HDC dc;
    ~DcOwner()
    {
        if (dc)
            ::DeleteDC(dc);
    }
};
struct BitmapOwner
{
    HBITMAP bitmap;
    ~BitmapOwner()
    {
        if (bitmap)
            ::DeleteObject(bitmap);
    }
};
// Selects an object into a context for the guard's life.
struct Selection
{
    HDC dc;
    HGDIOBJ previous;
    Selection(HDC d, HGDIOBJ object) : dc(d), previous(::SelectObject(d, object))
    {
    }
    ~Selection()
    {
        if (previous)
            ::SelectObject(dc, previous);
    }
};

void CopyBounded(WCHAR* destination, const WCHAR* source)
{
    ::lstrcpynW(destination, source, kWatermarkTextSize);
}

uint32_t PixelOf(int colour, int opacity)
{
    return (static_cast<uint32_t>(colour) & kColourMask) | (static_cast<uint32_t>(opacity) << 24);
}
}

int TextWatermark::Render(const int placement[kPlacementCount], const TextWatermarkStyle& style)
{
    std::memcpy(m_placement, placement, sizeof(m_placement));
    m_style = style;
    CopyBounded(m_style.faceName, style.faceName);
    CopyBounded(m_style.text, style.text);
    m_picture.clear();
    m_width = m_height = 0;

    int& textColour = m_style.textColour;
    const int background = m_style.backgroundColour;
    // Text in the colour of its box would be invisible; a transparent background has no colour.
    if (background != kTransparentColour && ((textColour ^ background) & kColourMask) == 0)
        textColour = ~background & kColourMask;
    if (textColour == kSystemColour)
        textColour = static_cast<int>(::GetSysColor(COLOR_WINDOWTEXT));

    const int fontStyle = m_style.fontStyle;
    FontOwner font{::CreateFontW(m_style.fontHeight, 0, 0, 0, fontStyle & kWeightMask, (fontStyle & kItalicBit) != 0,
                                 (fontStyle & kUnderlineBit) != 0, (fontStyle & kStrikeOutBit) != 0, kFontCharset, 0,
                                 0, 0, 0, m_style.faceName)};
    if (!font.font)
        return -1;
    DcOwner dc{::CreateCompatibleDC(nullptr)};
    if (!dc.dc)
        return -1;
    Selection fontSelection(dc.dc, font.font);
    RECT bounds = {0, 0, 0, 0};
    ::DrawTextW(dc.dc, m_style.text, -1, &bounds, DT_CALCRECT);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0)
        return 0; // nothing to draw
    BitmapOwner bitmap{::CreateCompatibleBitmap(dc.dc, width, height)};
    if (!bitmap.bitmap)
        return -1;
    {
        Selection bitmapSelection(dc.dc, bitmap.bitmap);
        ::PatBlt(dc.dc, 0, 0, width, height, BLACKNESS);
        ::SetBkColor(dc.dc, RGB(0, 0, 0));
        ::SetTextColor(dc.dc, RGB(255, 255, 255));
        ::SetBkMode(dc.dc, TRANSPARENT);
        RECT area = {0, 0, width, height};
        ::DrawTextW(dc.dc, m_style.text, -1, &area, 0);
    }
    BITMAP info;
    if (!::GetObjectA(bitmap.bitmap, sizeof(info), &info) || info.bmBitsPixel != 1)
        return 0;
    std::vector<uint8_t> bits(static_cast<size_t>(info.bmWidthBytes) * height);
    if (!::GetBitmapBits(bitmap.bitmap, static_cast<LONG>(bits.size()), bits.data()))
        return 0;

    const int opacity = std::clamp(m_placement[kPlacementOpacity], 0, 255);
    const uint32_t ink = PixelOf(textColour, opacity);
    const uint32_t paper = background == kTransparentColour ? kTransparentPixel : PixelOf(background, opacity);
    m_picture.resize(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
    {
        const uint8_t* row = bits.data() + static_cast<size_t>(y) * info.bmWidthBytes;
        for (int x = 0; x < width; ++x)
        {
            const uint32_t value = (row[x / 8] & (0x80 >> (x % 8))) ? ink : paper;
            uint8_t* pixel = &m_picture[(static_cast<size_t>(y) * width + x) * 4];
            pixel[0] = value & 0xFF;
            pixel[1] = (value >> 8) & 0xFF;
            pixel[2] = (value >> 16) & 0xFF;
            pixel[3] = value >> 24;
        }
    }
    m_width = width;
    m_height = height;
    return 0;
}

int TextWatermark::Apply(uint8_t* pixels, int width, int height) const
{
    if (m_picture.empty())
        return 0;
    BgraImage frame = {pixels, width, height};
    BgraImage picture = {const_cast<uint8_t*>(m_picture.data()), m_width, m_height};
    BlendBGRA(m_width, m_height, frame, picture, kBlendPixelAlpha, 0);
    return 0;
}
