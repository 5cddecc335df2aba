/* Writes the tool-bar test bitmaps: 24-bit strips of 16 x 16 cells, each cell a colour inside a 2-pixel frame of the
   transparent magenta
   (cell n is red n * 40 + 40, green 0x80, blue 255 - n * 40), so a test can tell the icons apart.
   Usage: toolbarbitmaps DIR */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void put16(unsigned char* p, unsigned v) { p[0] = v & 0xFF; p[1] = (v >> 8) & 0xFF; }
static void put32(unsigned char* p, unsigned v) { put16(p, v & 0xFFFF); put16(p + 2, v >> 16); }

static int write_strip(const char* dir, const char* name, int cells)
{
    const int width = cells * 16, height = 16, stride = (width * 3 + 3) & ~3;
    const unsigned size = 54 + (unsigned)(stride * height);
    unsigned char* data = calloc(1, size);
    char path[1024];
    FILE* f;
    if (!data)
        return 1;
    data[0] = 'B';
    data[1] = 'M';
    put32(data + 2, size);
    put32(data + 10, 54);
    put32(data + 14, 40);
    put32(data + 18, (unsigned)width);
    put32(data + 22, (unsigned)height);
    put16(data + 26, 1);
    put16(data + 28, 24);
    put32(data + 34, (unsigned)(stride * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            unsigned char* px = data + 54 + y * stride + x * 3;
            const int cell = x / 16, cx = x % 16;
            const int edge = cx < 2 || cx > 13 || y < 2 || y > 13;
            px[0] = edge ? 255 : (unsigned char)(255 - cell * 40);
            px[1] = edge ? 0 : 0x80;
            px[2] = edge ? 255 : (unsigned char)(cell * 40 + 40);
        }
    snprintf(path, sizeof path, "%s/%s", dir, name);
    f = fopen(path, "wb");
    if (!f || fwrite(data, 1, size, f) != size)
        return 1;
    fclose(f);
    free(data);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    return write_strip(argv[1], "strip3.bmp", 3) || write_strip(argv[1], "strip2.bmp", 2);
}
