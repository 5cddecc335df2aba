// A text watermark that a conversion job draws into the top-left corner of every frame: rendered
// once with GDI from the job's font, colours and text, then blended into each frame.
#pragma once

#include "engine/decorations/BlendBGRA.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <vector>

const int kPlacementCount = 7;
const int kPlacementWidth = 2;   // logo: width of the drawn area, 0 or less for the picture's
const int kPlacementHeight = 3;  // logo: height of the drawn area
const int kPlacementOpacity = 4; // both: constant opacity 0 to 255
const int kWatermarkTextSize = 128;
const int kSystemColour = -1;     // text colour: the system's window text colour
const int kTransparentColour = -1; // background colour: none

struct TextWatermarkStyle
{
    int fontHeight;
    int fontStyle; // bits 0-15 weight, bit 16 italic, bit 17 underline, bit 18 strike-out
    WCHAR faceName[kWatermarkTextSize];
    int textColour;       // 0x00RRGGBB as stored in the picture, or kSystemColour
    int backgroundColour; // as the text colour, or kTransparentColour
    WCHAR text[kWatermarkTextSize];
};

class TextWatermark
{
public:
    // 0, or -1 when the font, the drawing context or the bitmap cannot be created.
    int Render(const int placement[kPlacementCount], const TextWatermarkStyle& style);
    int Apply(uint8_t* pixels, int width, int height) const;

    int Width() const
    {
        return m_width;
    }
    int Height() const
    {
        return m_height;
    }
    bool HasPicture() const
    {
        return !m_picture.empty();
    }
    int TextColour() const
    {
        return m_style.textColour;
    }

private:
    int m_placement[kPlacementCount] = {};
    TextWatermarkStyle m_style = {};
    std::vector<uint8_t> m_picture;
    int m_width = 0;
    int m_height = 0;
};
