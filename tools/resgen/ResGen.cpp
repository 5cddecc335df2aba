// Draws the program's own bitmaps and its icon for the resource script: the status and menu
// image strip, the tool bar and player button strips (four states each), the About picture, the
// error list's picture and the program icon in three sizes. Runs on the build machine itself
// (plain C++, no Win32) and writes BMP/ICO files plus "images.rc", which resources/reelwright.rc
// includes. Magenta 0xFF00FF is the transparent colour of every strip.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace
{
const uint32_t kMagenta = 0xFF00FF;
const int kSuper = 4; // sub-samples per pixel edge for smooth edges

struct Canvas
{
    int w, h;
    std::vector<uint32_t> rgb;  // 0xRRGGBB, top-down
    std::vector<uint8_t> alpha; // used by the icon only
    Canvas(int width, int height, uint32_t fill)
        : w(width), h(height), rgb(width * height, fill), alpha(width * height, 0)
    {
    }
};

// A shape is a predicate over a point in pixel units of the cell.
using Shape = std::function<bool(double, double)>;

uint32_t Mix(uint32_t a, uint32_t b, double t)
{
    auto ch = [&](int s) {
        double v = ((a >> s) & 255) * (1 - t) + ((b >> s) & 255) * t;
        return (uint32_t)std::lround(std::min(255.0, std::max(0.0, v))) << s;
    };
    return ch(16) | ch(8) | ch(0);
}

uint32_t Shade(uint32_t c, double f)
{
    return f >= 1 ? Mix(c, 0xFFFFFF, f - 1) : Mix(0, c, f);
}

// Paints a shape into the cell at (ox, oy) of size (cw, ch). On the magenta key an edge pixel is
// either painted or left (no pink fringe); elsewhere it is blended by its coverage.
void Fill(Canvas& c, int ox, int oy, int cw, int ch, const Shape& s, uint32_t col, bool vertical = false,
          uint32_t col2 = 0xFFFFFFFF)
{
    for (int y = 0; y < ch; y++)
        for (int x = 0; x < cw; x++)
        {
            int inside = 0;
            for (int sy = 0; sy < kSuper; sy++)
                for (int sx = 0; sx < kSuper; sx++)
                    inside += s(x + (sx + 0.5) / kSuper, y + (sy + 0.5) / kSuper);
            if (!inside)
                continue;
            double cover = inside / double(kSuper * kSuper);
            uint32_t paint = col;
            if (col2 != 0xFFFFFFFF)
                paint = Mix(col, col2, vertical ? double(y) / std::max(1, ch - 1) : double(x) / std::max(1, cw - 1));
            size_t i = size_t(oy + y) * c.w + ox + x;
            if (c.alpha[i] == 0 && c.rgb[i] == kMagenta)
            {
                if (cover >= 0.5)
                    c.rgb[i] = paint;
            }
            else
                c.rgb[i] = Mix(c.rgb[i], paint, cover);
        }
}

Shape Box(double x0, double y0, double x1, double y1)
{
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}
Shape RoundBox(double x0, double y0, double x1, double y1, double r)
{
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1)
            return false;
        double dx = std::max({x0 + r - x, 0.0, x - (x1 - r)}), dy = std::max({y0 + r - y, 0.0, y - (y1 - r)});
        return dx * dx + dy * dy <= r * r;
    };
}
Shape Disc(double cx, double cy, double r)
{
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
Shape Ring(double cx, double cy, double r, double t)
{
    return [=](double x, double y) {
        double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
        return d <= r && d >= r - t;
    };
}
// Convex polygon, points given clockwise or anti-clockwise.
Shape Poly(std::vector<std::pair<double, double>> p)
{
    return [=](double x, double y) {
        int sign = 0;
        for (size_t i = 0; i < p.size(); i++)
        {
            auto a = p[i], b = p[(i + 1) % p.size()];
            double cr = (b.first - a.first) * (y - a.second) - (b.second - a.second) * (x - a.first);
            int s = cr > 0 ? 1 : (cr < 0 ? -1 : 0);
            if (s && sign && s != sign)
                return false;
            if (s)
                sign = s;
        }
        return true;
    };
}
Shape Line(double x0, double y0, double x1, double y1, double t)
{
    return [=](double x, double y) {
        double dx = x1 - x0, dy = y1 - y0, l2 = dx * dx + dy * dy;
        double k = std::clamp(((x - x0) * dx + (y - y0) * dy) / l2, 0.0, 1.0);
        double px = x0 + k * dx - x, py = y0 + k * dy - y;
        return px * px + py * py <= t * t / 4;
    };
}

// The pictograms, drawn into a square cell of size s at (ox, oy).
enum Glyph
{
    AddFile,
    AddFolder,
    Delete,
    Start,
    Pause,
    Stop,
    Options,
    Play,
    SoundOn,
    SoundOff,
    Snapshot,
    Stopped,
    Running,
    Done,
    Paused,
    Failed,
    Queued,
    Film,
    Note,
    Folder,
    Help,
    Web,
    Update,
    Info,
    Check,
    Uncheck,
    Properties,
    Log,
    Skin,
    Language,
    Exit,
};

struct Cell
{
    Canvas& c;
    int ox, oy, s;
    void operator()(const Shape& sh, uint32_t col, uint32_t col2 = 0xFFFFFFFF)
    {
        Fill(c, ox, oy, s, s, sh, col, true, col2);
    }
    double u(double f) const
    {
        return f * s;
    }
};

void DrawGlyph(Cell k, Glyph g, uint32_t tone)
{
    auto U = [&](double f) { return k.u(f); };
    const uint32_t paper = 0xFAFCFF, ink = Shade(tone, 0.55), lite = Shade(tone, 1.45);
    auto page = [&]() {
        k(Poly({{U(.2), U(.08)}, {U(.62), U(.08)}, {U(.8), U(.26)}, {U(.8), U(.92)}, {U(.2), U(.92)}}), 0x7A8594);
        k(Poly({{U(.25), U(.13)}, {U(.6), U(.13)}, {U(.75), U(.28)}, {U(.75), U(.87)}, {U(.25), U(.87)}}), paper,
          0xE2E8F0);
    };
    auto plus = [&](uint32_t col) {
        k(Disc(U(.72), U(.72), U(.24)), col, Shade(col, 0.8));
        k(Box(U(.61), U(.69), U(.83), U(.75)), 0xFFFFFF);
        k(Box(U(.69), U(.61), U(.75), U(.83)), 0xFFFFFF);
    };
    auto folder = [&]() {
        k(RoundBox(U(.08), U(.2), U(.5), U(.4), U(.05)), 0xC98F1E);
        k(RoundBox(U(.08), U(.3), U(.92), U(.85), U(.06)), 0xF2C14E, 0xD9961C);
    };
    auto triangle = [&](uint32_t col) {
        k(Poly({{U(.3), U(.2)}, {U(.82), U(.5)}, {U(.3), U(.8)}}), col, Shade(col, 0.75));
    };
    auto bars = [&](uint32_t col) {
        k(RoundBox(U(.26), U(.2), U(.43), U(.8), U(.04)), col, Shade(col, 0.75));
        k(RoundBox(U(.57), U(.2), U(.74), U(.8), U(.04)), col, Shade(col, 0.75));
    };
    auto square = [&](uint32_t col) { k(RoundBox(U(.24), U(.24), U(.76), U(.76), U(.06)), col, Shade(col, 0.75)); };
    auto speaker = [&]() {
        k(Box(U(.12), U(.36), U(.3), U(.64)), ink);
        k(Poly({{U(.28), U(.36)}, {U(.5), U(.16)}, {U(.5), U(.84)}, {U(.28), U(.64)}}), ink);
    };
    switch (g)
    {
    case AddFile:
        page();
        plus(0x2E9A48);
        break;
    case AddFolder:
        folder();
        plus(0x2E9A48);
        break;
    case Delete:
        k(Line(U(.22), U(.22), U(.78), U(.78), U(.16)), 0xD23C32);
        k(Line(U(.78), U(.22), U(.22), U(.78), U(.16)), 0xD23C32);
        break;
    case Start:
    case Play:
    case Running:
        triangle(g == Running ? 0x2E9A48 : 0x2E9A48);
        break;
    case Pause:
    case Paused:
        bars(0xE0A020);
        break;
    case Stop:
    case Stopped:
        square(0xC8382E);
        break;
    case Options:
        for (int i = 0; i < 8; i++)
        {
            double a = i * M_PI / 4;
            k(Line(U(.5), U(.5), U(.5 + .4 * std::cos(a)), U(.5 + .4 * std::sin(a)), U(.16)), 0x5A6878);
        }
        k(Disc(U(.5), U(.5), U(.3)), 0x6E7E90, 0x4A5868);
        k(Disc(U(.5), U(.5), U(.12)), paper);
        break;
    case SoundOn:
        speaker();
        for (double r : {.22, .38})
        {
            Shape ring = Ring(U(.5), U(.5), U(r), U(.07));
            double cut = U(.56);
            k([=](double x, double y) { return x > cut && ring(x, y); }, ink);
        }
        break;
    case SoundOff:
        speaker();
        k(Line(U(.6), U(.36), U(.86), U(.64), U(.09)), 0xC8382E);
        k(Line(U(.86), U(.36), U(.6), U(.64), U(.09)), 0xC8382E);
        break;
    case Snapshot:
        k(RoundBox(U(.1), U(.3), U(.9), U(.82), U(.08)), 0x4A5868, 0x2E3844);
        k(Box(U(.34), U(.2), U(.62), U(.32)), 0x4A5868);
        k(Disc(U(.5), U(.56), U(.18)), 0x9FD4F0, 0x3070B0);
        break;
    case Done:
        k(Line(U(.18), U(.52), U(.42), U(.76), U(.16)), 0x2E9A48);
        k(Line(U(.42), U(.76), U(.84), U(.26), U(.16)), 0x2E9A48);
        break;
    case Failed:
        k(Disc(U(.5), U(.5), U(.42)), 0xD23C32, 0xA8261E);
        k(Box(U(.44), U(.22), U(.56), U(.6)), 0xFFFFFF);
        k(Box(U(.44), U(.67), U(.56), U(.79)), 0xFFFFFF);
        break;
    case Queued:
        k(Disc(U(.5), U(.5), U(.42)), 0x3A78C8, 0x2A5A9A);
        k(Disc(U(.5), U(.5), U(.3)), paper);
        k(Box(U(.46), U(.28), U(.54), U(.54)), ink);
        k(Box(U(.46), U(.46), U(.7), U(.54)), ink);
        break;
    case Film:
        k(Box(U(.08), U(.2), U(.92), U(.8)), 0x3A4450);
        for (int i = 0; i < 4; i++)
        {
            k(Box(U(.14 + i * .2), U(.24), U(.24 + i * .2), U(.32)), paper);
            k(Box(U(.14 + i * .2), U(.68), U(.24 + i * .2), U(.76)), paper);
        }
        k(Box(U(.14), U(.38), U(.86), U(.62)), lite);
        break;
    case Note:
        k(Disc(U(.34), U(.74), U(.16)), tone);
        k(Box(U(.44), U(.12), U(.52), U(.74)), tone);
        k(Box(U(.44), U(.12), U(.8), U(.22)), tone);
        break;
    case Folder:
        folder();
        break;
    case Help:
    case Info:
        k(Disc(U(.5), U(.5), U(.42)), 0x3A78C8, 0x2A5A9A);
        k(Box(U(.44), U(.42), U(.56), U(.78)), 0xFFFFFF);
        k(Disc(U(.5), U(.28), U(.07)), 0xFFFFFF);
        break;
    case Web:
        k(Disc(U(.5), U(.5), U(.42)), 0x3A8AD8, 0x2A5A9A);
        k(Ring(U(.5), U(.5), U(.42), U(.06)), 0xE8F2FF);
        k(Box(U(.1), U(.47), U(.9), U(.53)), 0xE8F2FF);
        k(Box(U(.47), U(.1), U(.53), U(.9)), 0xE8F2FF);
        break;
    case Update:
        k(Ring(U(.5), U(.5), U(.38), U(.12)), 0x2E9A48);
        k(Poly({{U(.62), U(.02)}, {U(.9), U(.2)}, {U(.6), U(.34)}}), 0x2E9A48);
        break;
    case Check:
    case Uncheck:
        k(Box(U(.16), U(.16), U(.84), U(.84)), 0x5A6878);
        k(Box(U(.22), U(.22), U(.78), U(.78)), paper);
        if (g == Check)
        {
            k(Line(U(.3), U(.5), U(.45), U(.66), U(.12)), 0x2E9A48);
            k(Line(U(.45), U(.66), U(.72), U(.32), U(.12)), 0x2E9A48);
        }
        break;
    case Properties:
    case Log:
        page();
        for (int i = 0; i < 4; i++)
            k(Box(U(.32), U(.34 + i * .13), U(.68), U(.38 + i * .13)), g == Log ? 0x3A78C8 : 0x7A8594);
        break;
    case Skin:
        k(Disc(U(.5), U(.5), U(.42)), 0xE8E0D0);
        k(Disc(U(.34), U(.38), U(.1)), 0xD23C32);
        k(Disc(U(.58), U(.3), U(.1)), 0x2E9A48);
        k(Disc(U(.7), U(.54), U(.1)), 0x3A78C8);
        break;
    case Language:
        k(RoundBox(U(.08), U(.14), U(.7), U(.6), U(.08)), 0x3A78C8);
        k(RoundBox(U(.32), U(.4), U(.92), U(.86), U(.08)), 0xE0A020);
        break;
    case Exit:
        k(Box(U(.2), U(.1), U(.6), U(.9)), 0x7A5A3A);
        k(Poly({{U(.55), U(.3)}, {U(.92), U(.5)}, {U(.55), U(.7)}}), 0xD23C32);
        break;
    }
}

// A button strip: four states (normal, hover, pressed, disabled) of one pictogram on a face.
void DrawButtonStrip(Canvas& c, Glyph g, int cell, double glyphScale)
{
    const uint32_t faceTop[4] = {0xFDFEFF, 0xE8F3FF, 0xC8DDF4, 0xF2F2F2};
    const uint32_t faceBottom[4] = {0xDDE6F0, 0xC2DDF8, 0xA8C6E8, 0xE2E2E2};
    const uint32_t border[4] = {0x9AA8B8, 0x4A8AD0, 0x2A64A8, 0xC0C0C0};
    for (int st = 0; st < 4; st++)
    {
        int ox = st * cell;
        Fill(c, ox, 0, cell, cell, RoundBox(0.5, 0.5, cell - 0.5, cell - 0.5, cell * 0.18), border[st]);
        Fill(c, ox, 0, cell, cell, RoundBox(1.5, 1.5, cell - 1.5, cell - 1.5, cell * 0.15), faceTop[st], true,
             faceBottom[st]);
        int gs = int(cell * glyphScale), go = (cell - gs) / 2 + (st == 2 ? 1 : 0);
        DrawGlyph(Cell{c, ox + go, go, gs}, g, 0x3A78C8);
        if (st == 3) // disabled: wash the pictogram out towards grey
            for (int y = 0; y < cell; y++)
                for (int x = ox; x < ox + cell; x++)
                {
                    uint32_t& p = c.rgb[size_t(y) * c.w + x];
                    if (p == kMagenta)
                        continue;
                    int lum = (((p >> 16) & 255) * 3 + ((p >> 8) & 255) * 6 + (p & 255)) / 10;
                    p = Mix(uint32_t(lum << 16 | lum << 8 | lum), 0xF0F0F0, 0.45);
                }
    }
}

void Put16(FILE* f, unsigned v)
{
    fputc(v & 255, f), fputc(v >> 8 & 255, f);
}
void Put32(FILE* f, unsigned v)
{
    Put16(f, v & 0xFFFF), Put16(f, v >> 16);
}

bool WriteBmp(const std::string& path, const Canvas& c)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const int stride = (c.w * 3 + 3) & ~3;
    fputc('B', f), fputc('M', f);
    Put32(f, 54 + stride * c.h), Put32(f, 0), Put32(f, 54);
    Put32(f, 40), Put32(f, c.w), Put32(f, c.h), Put16(f, 1), Put16(f, 24);
    Put32(f, 0), Put32(f, stride * c.h), Put32(f, 2835), Put32(f, 2835), Put32(f, 0), Put32(f, 0);
    for (int y = c.h - 1; y >= 0; y--)
    {
        for (int x = 0; x < c.w; x++)
        {
            uint32_t p = c.rgb[size_t(y) * c.w + x];
            fputc(p & 255, f), fputc(p >> 8 & 255, f), fputc(p >> 16 & 255, f);
        }
        for (int x = c.w * 3; x < stride; x++)
            fputc(0, f);
    }
    return fclose(f) == 0;
}

// The program icon: a film frame with a play mark over a device, 32-bit with alpha plus mask.
Canvas DrawIcon(int s)
{
    Canvas c(s, s, 0);
    auto paint = [&](const Shape& sh, uint32_t top, uint32_t bottom) {
        for (int y = 0; y < s; y++)
            for (int x = 0; x < s; x++)
            {
                int inside = 0;
                for (int sy = 0; sy < kSuper; sy++)
                    for (int sx = 0; sx < kSuper; sx++)
                        inside += sh(x + (sx + 0.5) / kSuper, y + (sy + 0.5) / kSuper);
                if (!inside)
                    continue;
                double a = inside / double(kSuper * kSuper);
                size_t i = size_t(y) * s + x;
                uint32_t col = Mix(top, bottom, double(y) / (s - 1));
                double da = c.alpha[i] / 255.0, oa = a + da * (1 - a);
                c.rgb[i] = oa > 0 ? Mix(c.rgb[i], col, a / oa) : col;
                c.alpha[i] = uint8_t(std::lround(oa * 255));
            }
    };
    double u = s / 48.0;
    paint(RoundBox(2 * u, 4 * u, 46 * u, 44 * u, 7 * u), 0x3A8AD8, 0x1C4E94);
    paint(RoundBox(6 * u, 10 * u, 42 * u, 38 * u, 4 * u), 0xE8F2FF, 0xB8D0EC);
    for (int i = 0; i < 5; i++)
    {
        paint(Box((7 + i * 7.2) * u, 5.5 * u, (11 + i * 7.2) * u, 8.5 * u), 0xE8F2FF, 0xE8F2FF);
        paint(Box((7 + i * 7.2) * u, 39.5 * u, (11 + i * 7.2) * u, 42.5 * u), 0xE8F2FF, 0xE8F2FF);
    }
    paint(Poly({{18 * u, 15 * u}, {34 * u, 24 * u}, {18 * u, 33 * u}}), 0xF08A24, 0xD0641A);
    return c;
}

bool WriteIcon(const std::string& path, const std::vector<Canvas>& sizes)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    Put16(f, 0), Put16(f, 1), Put16(f, unsigned(sizes.size()));
    unsigned offset = 6 + 16 * unsigned(sizes.size());
    auto bytesOf = [](const Canvas& c) {
        return 40u + unsigned(c.w * c.h * 4) + unsigned(((c.w + 31) / 32) * 4 * c.h);
    };
    for (const Canvas& c : sizes)
    {
        fputc(c.w, f), fputc(c.h, f), fputc(0, f), fputc(0, f);
        Put16(f, 1), Put16(f, 32), Put32(f, bytesOf(c)), Put32(f, offset);
        offset += bytesOf(c);
    }
    for (const Canvas& c : sizes)
    {
        Put32(f, 40), Put32(f, c.w), Put32(f, c.h * 2), Put16(f, 1), Put16(f, 32);
        Put32(f, 0), Put32(f, c.w * c.h * 4), Put32(f, 0), Put32(f, 0), Put32(f, 0), Put32(f, 0);
        for (int y = c.h - 1; y >= 0; y--)
            for (int x = 0; x < c.w; x++)
            {
                size_t i = size_t(y) * c.w + x;
                uint32_t p = c.rgb[i];
                fputc(p & 255, f), fputc(p >> 8 & 255, f), fputc(p >> 16 & 255, f), fputc(c.alpha[i], f);
            }
        const int maskStride = ((c.w + 31) / 32) * 4;
        for (int y = c.h - 1; y >= 0; y--)
            for (int b = 0; b < maskStride; b++)
            {
                unsigned bits = 0;
                for (int k = 0; k < 8; k++)
                {
                    int x = b * 8 + k;
                    if (x < c.w && c.alpha[size_t(y) * c.w + x] < 128)
                        bits |= 0x80 >> k;
                }
                fputc(int(bits), f);
            }
    }
    return fclose(f) == 0;
}

// The About picture and the task list's background: a tall gradient band with soft rings and
// the program's play mark.
Canvas DrawBanner()
{
    Canvas c(93, 223, 0);
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++)
            c.rgb[size_t(y) * c.w + x] = Mix(0x2A6CC0, 0x102A50, double(y) / (c.h - 1));
    for (int i = 0; i < 5; i++)
        Fill(c, 0, 0, c.w, c.h, Ring(80 - i * 6, 40 + i * 38, 30 + i * 6, 2), 0x4A8AD8);
    Fill(c, 0, 0, c.w, c.h, Disc(46, 180, 24), 0xE8F2FF);
    Fill(c, 0, 0, c.w, c.h, Poly({{38, 166}, {60, 180}, {38, 194}}), 0xF08A24);
    return c;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        fprintf(stderr, "usage: resgen OUTPUT-FOLDER\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::string rc = "// Generated by resgen: the program's bitmaps and icon.\n";
    bool ok = true;
    auto save = [&](const std::string& id, const std::string& name, const Canvas& c) {
        ok = ok && WriteBmp(dir + "/" + name, c);
        rc += id + " BITMAP \"shellres/" + name + "\"\n";
    };

    // 133: thirty 16 x 16 images; 3 to 8 are the task states of the task list.
    const Glyph strip[30] = {AddFile, AddFolder, Delete, Stopped,  Running, Done,       Paused, Failed,
                             Queued,  Start,     Pause,  Stop,     Options, Properties, Log,    Folder,
                             Film,    Note,      Play,   Snapshot, SoundOn, SoundOff,   Help,   Web,
                             Update,  Info,      Check,  Uncheck,  Skin,    Language};
    Canvas status(16 * 30, 16, kMagenta);
    for (int i = 0; i < 30; i++)
        DrawGlyph(Cell{status, i * 16, 0, 16}, strip[i], i == 17 ? 0x8040B0 : 0x3A78C8);
    save("133", "status.bmp", status);

    // 420-426: the tool bar panel's buttons, 128 x 32.
    const Glyph tools[7] = {AddFile, AddFolder, Delete, Start, Pause, Stop, Options};
    for (int i = 0; i < 7; i++)
    {
        Canvas b(128, 32, kMagenta);
        DrawButtonStrip(b, tools[i], 32, 0.72);
        save(std::to_string(420 + i), "tool" + std::to_string(i) + ".bmp", b);
    }
    // The player's buttons, 96 x 24.
    const struct
    {
        int id;
        Glyph g;
    } player[] = {{148, Play}, {149, SoundOn}, {427, Pause}, {428, Stop}, {429, SoundOff}, {430, Snapshot}};
    for (auto& p : player)
    {
        Canvas b(96, 24, kMagenta);
        DrawButtonStrip(b, p.g, 24, 0.66);
        save(std::to_string(p.id), "player" + std::to_string(p.id) + ".bmp", b);
    }
    save("159", "banner.bmp", DrawBanner());
    Canvas warn(32, 32, kMagenta);
    DrawGlyph(Cell{warn, 0, 0, 32}, Info, 0x3A78C8);
    save("418", "tip.bmp", warn);

    ok = ok && WriteIcon(dir + "/reelwright.ico", {DrawIcon(16), DrawIcon(32), DrawIcon(48)});
    rc += "128 ICON \"shellres/reelwright.ico\"\n";

    FILE* f = fopen((dir + "/images.rc").c_str(), "wb");
    ok = ok && f && fwrite(rc.data(), 1, rc.size(), f) == rc.size();
    if (f)
        ok = (fclose(f) == 0) && ok;
    if (!ok)
    {
        fprintf(stderr, "resgen: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
