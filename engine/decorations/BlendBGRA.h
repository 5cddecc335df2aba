// Blending of packed BGRA pictures (4 bytes per pixel, rows without gaps), shared by the text
// watermark and the logo that a job draws into each converted frame.
#pragma once

#include <stdint.h>

struct BgraImage
{
    uint8_t* pixels;
    int width;
    int height;
};

const int kBlendPixelAlpha = -1; // opacity: use each source pixel's own alpha
const int kBlendNoKey = -1;      // colour key: none

// Blends the source into the destination from both top-left corners over at most regionWidth x
// regionHeight pixels (clipped to both pictures). Source pixels whose value shifted right by 8
// equals key are skipped unless fully opaque. 0, or -1 when a size is not positive.
int BlendBGRA(int regionWidth, int regionHeight, const BgraImage& destination, const BgraImage& source, int opacity,
              int key);
