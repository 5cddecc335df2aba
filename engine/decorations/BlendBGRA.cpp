#include "engine/decorations/BlendBGRA.h"

#include <algorithm>
#include <cstring>

int BlendBGRA(int regionWidth, int regionHeight, const BgraImage& destination, const BgraImage& source, int opacity,
              int key)
{
    if (regionWidth <= 0 || regionHeight <= 0 || destination.width <= 0 || destination.height <= 0 ||
        source.width <= 0 || source.height <= 0 || !destination.pixels || !source.pixels)
        return -1;
    const int columns = std::min({regionWidth, destination.width, source.width});
    const int rows = std::min({regionHeight, destination.height, source.height});
    for (int y = 0; y < rows; ++y)
    {
        uint8_t* d = destination.pixels + static_cast<size_t>(y) * destination.width * 4;
        const uint8_t* s = source.pixels + static_cast<size_t>(y) * source.width * 4;
        for (int x = 0; x < columns; ++x, d += 4, s += 4)
        {
            const int a = opacity == kBlendPixelAlpha ? s[3] : opacity;
            if (a <= 0)
                continue;
            if (a >= 255)
            {
                std::memcpy(d, s, 4);
                continue;
            }
            if (key != kBlendNoKey)
            {
                const uint32_t value = s[0] | (s[1] << 8) | (s[2] << 16) | (static_cast<uint32_t>(s[3]) << 24);
                if (static_cast<int>(value >> 8) == key)
                    continue;
            }
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<uint8_t>(std::min(255, (s[c] * a + d[c] * (256 - a)) / 256));
        }
    }
    return 0;
}
