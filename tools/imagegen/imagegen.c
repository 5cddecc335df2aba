/* Draws the profile picker's category and profile pictures, the profile button's icon and the
 * preview area's idle picture as 24-bit BMP files into a program folder. Built and run on the
 * build machine itself (plain C, no Win32), so the repository holds only this table. White is
 * the transparent colour of the picker, so every picture is drawn on white. */
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum Glyph { FILM, DISC, PHONE, SMARTPHONE, PLAYER, HANDHELD, CONSOLE, REEL, NOTE, WAVE, DEVICE };

struct Picture
{
    const char* path; /* relative to the program folder */
    int size;         /* width and height; the device picture is wider */
    enum Glyph glyph;
    uint32_t colour;  /* 0xRRGGBB */
};

static const struct Picture kPictures[] = {
    {"icons/general video_16.bmp", 16, FILM, 0x2E6FD0},
    {"devicepic/device.bmp", 180, DEVICE, 0x404850},
    {"icons/cat_general.bmp", 24, FILM, 0x2E6FD0},
    {"icons/cat_mobile.bmp", 24, PHONE, 0x3A9A48},
    {"icons/cat_mp4player.bmp", 24, PLAYER, 0xD07A20},
    {"icons/cat_psp.bmp", 24, CONSOLE, 0x303840},
    {"icons/cat_handheld.bmp", 24, HANDHELD, 0xB03040},
    {"icons/cat_realmedia.bmp", 24, REEL, 0x2060A0},
    {"icons/cat_audio.bmp", 24, NOTE, 0x8040B0},
    {"icons/divx.bmp", 40, FILM, 0x1F5FB8},
    {"icons/xvid.bmp", 40, FILM, 0xC03A2A},
    {"icons/mp4.bmp", 40, FILM, 0x2A8A70},
    {"icons/flv.bmp", 40, FILM, 0xD0402A},
    {"icons/wmv.bmp", 40, FILM, 0x3070D0},
    {"icons/mov.bmp", 40, FILM, 0x607080},
    {"icons/vcd.bmp", 40, DISC, 0x5090C0},
    {"icons/dvd.bmp", 40, DISC, 0x404A90},
    {"icons/phone.bmp", 40, PHONE, 0x3A9A48},
    {"icons/smartphone.bmp", 40, SMARTPHONE, 0x285080},
    {"icons/mp4player.bmp", 40, PLAYER, 0xD07A20},
    {"icons/ipod.bmp", 40, PLAYER, 0x808890},
    {"icons/iphone.bmp", 40, SMARTPHONE, 0x202428},
    {"icons/psp.bmp", 40, CONSOLE, 0x303840},
    {"icons/dpg.bmp", 40, HANDHELD, 0xB03040},
    {"icons/realmedia.bmp", 40, REEL, 0x2060A0},
    {"icons/realaudio.bmp", 40, REEL, 0x3090C0},
    {"icons/mp3.bmp", 40, NOTE, 0x8040B0},
    {"icons/aac.bmp", 40, NOTE, 0x2A8A70},
    {"icons/wav.bmp", 40, WAVE, 0x4060C0},
    {"icons/ogg.bmp", 40, WAVE, 0xB08020},
    {"icons/ac3.bmp", 40, WAVE, 0x303840},
};

struct Canvas
{
    int w, h;
    uint32_t* px; /* 0xRRGGBB, top-down */
};

static uint32_t Shade(uint32_t c, double f)
{
    int r = (int)(((c >> 16) & 255) * f), g = (int)(((c >> 8) & 255) * f), b = (int)((c & 255) * f);
    r = r > 255 ? 255 : r;
    g = g > 255 ? 255 : g;
    b = b > 255 ? 255 : b;
    return (uint32_t)(r << 16 | g << 8 | b);
}

/* Rectangle in fractions of the canvas (so one table of shapes serves every size). */
static void Rect(struct Canvas* c, double x0, double y0, double x1, double y1, uint32_t col)
{
    int ax = (int)lround(x0 * c->w), ay = (int)lround(y0 * c->h), bx = (int)lround(x1 * c->w), by = (int)lround(y1 * c->h);
    for (int y = ay; y < by && y < c->h; y++)
        for (int x = ax; x < bx && x < c->w; x++)
            if (x >= 0 && y >= 0)
                c->px[y * c->w + x] = col;
}

static void Circle(struct Canvas* c, double cx, double cy, double r, uint32_t col)
{
    for (int y = 0; y < c->h; y++)
        for (int x = 0; x < c->w; x++)
        {
            double dx = (x + 0.5) / c->w - cx, dy = (y + 0.5) / c->h - cy;
            if (dx * dx + dy * dy <= r * r)
                c->px[y * c->w + x] = col;
        }
}

/* A triangle pointing right, for "play" marks. */
static void Play(struct Canvas* c, double x0, double y0, double x1, double y1, uint32_t col)
{
    for (int y = 0; y < c->h; y++)
        for (int x = 0; x < c->w; x++)
        {
            double fx = (x + 0.5) / c->w, fy = (y + 0.5) / c->h;
            if (fx < x0 || fx > x1 || fy < y0 || fy > y1)
                continue;
            double t = (fx - x0) / (x1 - x0), mid = (y0 + y1) / 2, half = (y1 - y0) / 2 * (1 - t);
            if (fy >= mid - half && fy <= mid + half)
                c->px[y * c->w + x] = col;
        }
}

static void Draw(struct Canvas* c, enum Glyph g, uint32_t col)
{
    const uint32_t light = Shade(col, 1.6), dark = Shade(col, 0.6), screen = 0x9FD4F0, white = 0xFFFFFE;
    switch (g)
    {
    case FILM:
        Rect(c, 0.05, 0.15, 0.95, 0.85, col);
        for (int i = 0; i < 5; i++)
        {
            Rect(c, 0.1 + i * 0.17, 0.2, 0.2 + i * 0.17, 0.28, white);
            Rect(c, 0.1 + i * 0.17, 0.72, 0.2 + i * 0.17, 0.8, white);
        }
        Rect(c, 0.15, 0.33, 0.85, 0.67, light);
        Play(c, 0.4, 0.37, 0.62, 0.63, dark);
        break;
    case DISC:
        Circle(c, 0.5, 0.5, 0.45, col);
        Circle(c, 0.5, 0.5, 0.3, light);
        Circle(c, 0.5, 0.5, 0.12, dark);
        Circle(c, 0.5, 0.5, 0.06, white);
        break;
    case PHONE:
        Rect(c, 0.28, 0.05, 0.72, 0.95, col);
        Rect(c, 0.33, 0.12, 0.67, 0.45, screen);
        for (int r = 0; r < 3; r++)
            for (int k = 0; k < 3; k++)
                Rect(c, 0.34 + k * 0.11, 0.52 + r * 0.13, 0.42 + k * 0.11, 0.6 + r * 0.13, light);
        break;
    case SMARTPHONE:
        Rect(c, 0.25, 0.04, 0.75, 0.96, col);
        Rect(c, 0.3, 0.12, 0.7, 0.84, screen);
        Circle(c, 0.5, 0.9, 0.035, light);
        Play(c, 0.43, 0.38, 0.6, 0.58, dark);
        break;
    case PLAYER:
        Rect(c, 0.22, 0.05, 0.78, 0.95, col);
        Rect(c, 0.28, 0.1, 0.72, 0.45, screen);
        Circle(c, 0.5, 0.7, 0.18, light);
        Circle(c, 0.5, 0.7, 0.07, col);
        break;
    case HANDHELD:
        Rect(c, 0.2, 0.04, 0.8, 0.48, col);
        Rect(c, 0.2, 0.52, 0.8, 0.96, col);
        Rect(c, 0.28, 0.1, 0.72, 0.42, screen);
        Rect(c, 0.28, 0.58, 0.72, 0.9, screen);
        break;
    case CONSOLE:
        Rect(c, 0.04, 0.28, 0.96, 0.72, col);
        Circle(c, 0.1, 0.5, 0.22, col);
        Circle(c, 0.9, 0.5, 0.22, col);
        Rect(c, 0.26, 0.33, 0.74, 0.67, screen);
        Rect(c, 0.1, 0.47, 0.2, 0.53, light);
        Circle(c, 0.86, 0.5, 0.05, light);
        break;
    case REEL:
        Circle(c, 0.5, 0.5, 0.46, col);
        Circle(c, 0.5, 0.5, 0.36, light);
        Play(c, 0.4, 0.3, 0.7, 0.7, col);
        break;
    case NOTE:
        Circle(c, 0.35, 0.75, 0.16, col);
        Rect(c, 0.45, 0.12, 0.53, 0.75, col);
        Rect(c, 0.45, 0.12, 0.8, 0.22, col);
        break;
    case WAVE:
        for (int i = 0; i < 9; i++)
        {
            double h = 0.1 + 0.35 * fabs(sin(i * 0.9 + 0.4));
            Rect(c, 0.08 + i * 0.095, 0.5 - h, 0.14 + i * 0.095, 0.5 + h, i % 2 ? col : dark);
        }
        break;
    case DEVICE:
        Rect(c, 0.1, 0.08, 0.9, 0.92, col);
        Rect(c, 0.15, 0.14, 0.85, 0.78, 0x1C2024);
        Play(c, 0.44, 0.34, 0.58, 0.58, 0x5A6470);
        Circle(c, 0.5, 0.85, 0.04, Shade(col, 1.5));
        break;
    }
}

static void Put16(FILE* f, unsigned v) { fputc(v & 255, f), fputc(v >> 8 & 255, f); }
static void Put32(FILE* f, unsigned v) { Put16(f, v & 0xFFFF), Put16(f, v >> 16); }

static int WriteBmp(const char* path, const struct Canvas* c)
{
    FILE* f = fopen(path, "wb");
    if (!f)
        return -1;
    const int stride = (c->w * 3 + 3) & ~3;
    fputc('B', f), fputc('M', f);
    Put32(f, 54 + stride * c->h), Put32(f, 0), Put32(f, 54);
    Put32(f, 40), Put32(f, c->w), Put32(f, c->h), Put16(f, 1), Put16(f, 24);
    Put32(f, 0), Put32(f, stride * c->h), Put32(f, 2835), Put32(f, 2835), Put32(f, 0), Put32(f, 0);
    for (int y = c->h - 1; y >= 0; y--)
    {
        int x = 0;
        for (; x < c->w; x++)
        {
            uint32_t p = c->px[y * c->w + x];
            fputc(p & 255, f), fputc(p >> 8 & 255, f), fputc(p >> 16 & 255, f);
        }
        for (x *= 3; x < stride; x++)
            fputc(0, f);
    }
    return fclose(f) == 0 ? 0 : -1;
}

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        fprintf(stderr, "usage: imagegen PROGRAM-FOLDER\n");
        return 2;
    }
    for (size_t i = 0; i < sizeof kPictures / sizeof kPictures[0]; i++)
    {
        const struct Picture* p = &kPictures[i];
        struct Canvas c = {p->glyph == DEVICE ? p->size * 4 / 3 : p->size, p->size, NULL};
        c.px = malloc(sizeof(uint32_t) * c.w * c.h);
        if (!c.px)
            return 1;
        for (int k = 0; k < c.w * c.h; k++)
            c.px[k] = 0xFFFFFF;
        Draw(&c, p->glyph, p->colour);
        char path[4096];
        snprintf(path, sizeof path, "%s/%s", argv[1], p->path);
        int rc = WriteBmp(path, &c);
        free(c.px);
        if (rc != 0)
        {
            fprintf(stderr, "imagegen: cannot write %s\n", path);
            return 1;
        }
    }
    return 0;
}
