/* Draws the command bars' cursors at build time: the horizontal resize cursor (a two-headed
 * arrow across a double bar), a 32 x 32 monochrome .cur with its hot spot in the middle. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

enum { SIDE = 32, ROW = SIDE / 8 };

static int shape[SIDE][SIDE];

static void put16(FILE* f, unsigned v) { fputc(v & 0xFF, f); fputc((v >> 8) & 0xFF, f); }
static void put32(FILE* f, uint32_t v) { put16(f, v & 0xFFFF); put16(f, v >> 16); }

static void draw(void)
{
    /* The shaft and the two heads. */
    for (int x = 6; x <= 25; ++x)
        shape[15][x] = shape[16][x] = 1;
    for (int i = 0; i < 5; ++i)
        for (int y = 15 - i; y <= 16 + i; ++y)
        {
            shape[y][2 + i] = 1;
            shape[y][29 - i] = 1;
        }
    /* The double bar the columns meet at. */
    for (int y = 8; y <= 23; ++y)
        shape[y][14] = shape[y][17] = 1;
}

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    draw();
    uint8_t xorBits[SIDE][ROW], andBits[SIDE][ROW];
    memset(xorBits, 0, sizeof xorBits);
    memset(andBits, 0xFF, sizeof andBits);
    for (int y = 0; y < SIDE; ++y)
        for (int x = 0; x < SIDE; ++x)
        {
            int outline = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                {
                    const int yy = y + dy, xx = x + dx;
                    if (yy >= 0 && yy < SIDE && xx >= 0 && xx < SIDE && shape[yy][xx])
                        outline = 1;
                }
            if (!shape[y][x] && !outline)
                continue;
            /* Rows are stored bottom-up; black inside, a white rim around it. */
            const int row = SIDE - 1 - y;
            andBits[row][x / 8] &= (uint8_t)~(0x80 >> (x % 8));
            if (!shape[y][x])
                xorBits[row][x / 8] |= (uint8_t)(0x80 >> (x % 8));
        }
    FILE* f = fopen(argv[1], "wb");
    if (!f)
        return 1;
    const uint32_t bytes = 40 + 8 + sizeof xorBits + sizeof andBits;
    put16(f, 0); put16(f, 2); put16(f, 1);                   /* directory: a cursor, one image */
    fputc(SIDE, f); fputc(SIDE, f); fputc(2, f); fputc(0, f); /* width, height, colours, reserved */
    put16(f, SIDE / 2); put16(f, SIDE / 2);                   /* hot spot */
    put32(f, bytes); put32(f, 22);
    put32(f, 40); put32(f, SIDE); put32(f, SIDE * 2); put16(f, 1); put16(f, 1); /* header */
    put32(f, 0); put32(f, sizeof xorBits + sizeof andBits); put32(f, 0); put32(f, 0); put32(f, 2); put32(f, 0);
    put32(f, 0x000000); put32(f, 0xFFFFFF);                   /* palette: black, white */
    fwrite(xorBits, 1, sizeof xorBits, f);
    fwrite(andBits, 1, sizeof andBits, f);
    return fclose(f) == 0 ? 0 : 1;
}
