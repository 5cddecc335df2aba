// Draws the program's two skins, "NormalBlue" and "NormalAqua", procedurally: every part's bitmap
// with its state frames, the class-data INI texts (UTF-16LE with a byte-order mark, CR LF after
// every line) and a resource-script fragment that packs them. Built and run on the build machine
// itself (plain C++, no Win32); both skins share one geometry and differ only in palette.
//
//   skingen OUTPUT_DIR RC_DIR   writes OUTPUT_DIR/<skin>/*.bmp, OUTPUT_DIR/<skin>.ini, themes.ini and
//                               skins.rc, which names the files as RC_DIR/... (the resource
//                               compiler finds them through its include path)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace
{

struct Rgb
{
    double r, g, b;
};

const Rgb kMagenta = {255, 0, 255};

Rgb Mix(Rgb a, Rgb b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Grey(Rgb c, double amount)
{
    double y = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
    return Mix(c, {y, y, y}, amount);
}

// One skin's colours; the geometry below uses only these.
struct Palette
{
    const char* name;        // skin and folder name
    const char* displayName; // shown by theme pickers
    Rgb accent, accentLight, accentDark;
    Rgb face, faceLight, faceDark, border;
    Rgb window, text, grayText, inactive, inactiveLight;
};

const Palette kPalettes[] = {
    {"NormalBlue",
     "Reelwright Blue",
     {40, 104, 196},
     {116, 170, 236},
     {22, 64, 140},
     {236, 240, 247},
     {252, 253, 255},
     {205, 214, 228},
     {122, 141, 170},
     {255, 255, 255},
     {24, 32, 46},
     {141, 150, 163},
     {150, 168, 196},
     {204, 214, 230}},
    {"NormalAqua",
     "Reelwright Aqua",
     {18, 146, 158},
     {96, 204, 206},
     {10, 96, 108},
     {234, 245, 245},
     {251, 255, 255},
     {200, 222, 222},
     {108, 150, 154},
     {255, 255, 255},
     {20, 40, 44},
     {138, 158, 160},
     {146, 184, 188},
     {204, 226, 228}},
};

// A picture of 24-bit colours, top-down; magenta is the transparent colour of the skins.
struct Canvas
{
    int w, h;
    std::vector<Rgb> px;
    Canvas(int width, int height) : w(width), h(height), px(size_t(width) * height, kMagenta)
    {
    }
    Rgb& At(int x, int y)
    {
        return px[size_t(y) * w + x];
    }
};

bool IsMagenta(const Rgb& c)
{
    return c.r == 255 && c.g == 0 && c.b == 255;
}

// Paints a shape given by a coverage test, 4x4 supersampled, clipped to a box. Over magenta the
// shape is either there or not (no pink seams around transparent corners); elsewhere it blends.
void Paint(Canvas& c, int x0, int y0, int x1, int y1, const std::function<bool(double, double)>& inside,
           const std::function<Rgb(double, double)>& colour)
{
    for (int y = std::max(0, y0); y < std::min(c.h, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(c.w, x1); ++x)
        {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) ? 1 : 0;
            if (hits == 0)
                continue;
            Rgb want = colour(x + 0.5, y + 0.5);
            Rgb& p = c.At(x, y);
            if (IsMagenta(p))
            {
                if (hits >= 8)
                    p = want;
            }
            else
                p = Mix(p, want, hits / 16.0);
        }
}

std::function<bool(double, double)> RoundRect(double x0, double y0, double x1, double y1, double r)
{
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1)
            return false;
        double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    };
}

std::function<bool(double, double)> Disc(double cx, double cy, double r)
{
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

std::function<bool(double, double)> Stroke(double ax, double ay, double bx, double by, double width)
{
    return [=](double x, double y) {
        double dx = bx - ax, dy = by - ay, len = dx * dx + dy * dy;
        double t = len > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / len, 0.0, 1.0) : 0;
        double px = ax + t * dx - x, py = ay + t * dy - y;
        return px * px + py * py <= width * width / 4;
    };
}

std::function<bool(double, double)> Triangle(double ax, double ay, double bx, double by, double cx, double cy)
{
    return [=](double x, double y) {
        double d1 = (x - bx) * (ay - by) - (ax - bx) * (y - by);
        double d2 = (x - cx) * (by - cy) - (bx - cx) * (y - cy);
        double d3 = (x - ax) * (cy - ay) - (cx - ax) * (y - ay);
        bool neg = d1 < 0 || d2 < 0 || d3<0, pos = d1> 0 || d2 > 0 || d3 > 0;
        return !(neg && pos);
    };
}

std::function<Rgb(double, double)> Solid(Rgb c)
{
    return [=](double, double) { return c; };
}

std::function<Rgb(double, double)> VGradient(double y0, double y1, Rgb top, Rgb bottom)
{
    return [=](double, double y) { return Mix(top, bottom, std::clamp((y - y0) / std::max(1.0, y1 - y0), 0.0, 1.0)); };
}

std::function<Rgb(double, double)> HGradient(double x0, double x1, Rgb left, Rgb right)
{
    return [=](double x, double) { return Mix(left, right, std::clamp((x - x0) / std::max(1.0, x1 - x0), 0.0, 1.0)); };
}

// The state a frame shows; every control's frames are derived from one drawing by this.
enum Tone
{
    Normal,
    Hot,
    Pressed,
    Disabled,
    Defaulted,
    Checked,
    HotChecked,
    Focused,
    Selected
};

struct Frame
{
    Canvas& c;
    int x, y, w, h; // the frame's box inside the picture
};

// A raised, rounded face: the look of buttons, thumbs and tool-bar buttons.
void Face(const Frame& f, const Palette& p, Tone t, double radius, bool vertical = true)
{
    Rgb top = p.faceLight, bottom = p.faceDark, edge = p.border;
    switch (t)
    {
    case Hot:
    case HotChecked:
        top = Mix(p.faceLight, p.accentLight, 0.25), bottom = Mix(p.faceDark, p.accentLight, 0.45);
        edge = Mix(p.border, p.accent, 0.6);
        break;
    case Pressed:
    case Checked:
    case Selected:
        top = Mix(p.faceDark, p.accent, 0.25), bottom = Mix(p.faceLight, p.accentLight, 0.2);
        edge = p.accentDark;
        break;
    case Disabled:
        top = bottom = Grey(p.face, 0.6), edge = Mix(p.border, p.face, 0.55);
        break;
    case Defaulted:
    case Focused:
        edge = p.accent;
        break;
    default:
        break;
    }
    double x0 = f.x, y0 = f.y, x1 = f.x + f.w, y1 = f.y + f.h;
    auto fill = vertical ? VGradient(y0, y1, top, bottom) : HGradient(x0, x1, top, bottom);
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, RoundRect(x0, y0, x1, y1, radius), Solid(edge));
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, std::max(0.0, radius - 1)),
          fill);
    if (t == Defaulted)
        Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, std::max(0.0, radius - 1)),
              Solid(p.accentLight));
    if (t == Defaulted)
        Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, RoundRect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, std::max(0.0, radius - 2)),
              fill);
}

// An arrow glyph pointing in one of four directions (0 up, 1 down, 2 left, 3 right).
void Arrow(const Frame& f, int direction, Rgb colour, double size)
{
    double cx = f.x + f.w / 2.0, cy = f.y + f.h / 2.0, s = size / 2;
    std::function<bool(double, double)> shape;
    switch (direction)
    {
    case 0:
        shape = Triangle(cx - s, cy + s / 2, cx + s, cy + s / 2, cx, cy - s / 2);
        break;
    case 1:
        shape = Triangle(cx - s, cy - s / 2, cx + s, cy - s / 2, cx, cy + s / 2);
        break;
    case 2:
        shape = Triangle(cx + s / 2, cy - s, cx + s / 2, cy + s, cx - s / 2, cy);
        break;
    default:
        shape = Triangle(cx - s / 2, cy - s, cx - s / 2, cy + s, cx + s / 2, cy);
        break;
    }
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, shape, Solid(colour));
}

Rgb GlyphColour(const Palette& p, Tone t)
{
    return t == Disabled ? p.grayText : p.text;
}

// ---- the parts ----

const int kCaptionHeight = 29;      // caption bar 25 plus a 4-pixel frame above it
const int kSmallCaptionHeight = 23; // small caption bar 19 plus the frame
const int kFrameWidth = 4;
const int kCaptionRadius = 7;

void Caption(const Frame& f, const Palette& p, bool active)
{
    Rgb top = active ? p.accentLight : p.inactiveLight, bottom = active ? p.accent : p.inactive;
    Rgb edge = active ? p.accentDark : Mix(p.inactive, p.border, 0.5);
    double x0 = f.x, y0 = f.y, x1 = f.x + f.w, y1 = f.y + f.h + kCaptionRadius + 1;
    auto clip = [&](const std::function<bool(double, double)>& s) {
        return [=](double x, double y) { return y < f.y + f.h && s(x, y); };
    };
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, clip(RoundRect(x0, y0, x1, y1, kCaptionRadius)), Solid(edge));
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, clip(RoundRect(x0 + 1, y0 + 1, x1 - 1, y1, kCaptionRadius - 1)),
          VGradient(y0, f.y + f.h, top, bottom));
    // A soft gloss over the upper half.
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h,
          clip(RoundRect(x0 + 2, y0 + 2, x1 - 2, y0 + f.h / 2.0, kCaptionRadius - 2)), [=](double, double) {
              return Mix(top, Rgb{255, 255, 255}, 0.18);
          });
}

void FrameSide(const Frame& f, const Palette& p, bool active, bool bottom)
{
    Rgb mid = active ? p.accent : p.inactive, edge = active ? p.accentDark : Mix(p.inactive, p.border, 0.5);
    for (int y = 0; y < f.h; ++y)
        for (int x = 0; x < f.w; ++x)
        {
            int outer = bottom ? f.h - 1 - y : x; // distance from the window's outside
            int inner = bottom ? y : f.w - 1 - x;
            f.c.At(f.x + x, f.y + y) = outer == 0 ? edge : inner == 0 ? Mix(mid, edge, 0.5) : mid;
        }
}

void CaptionButton(const Frame& f, const Palette& p, Tone t, char glyph)
{
    Rgb back = glyph == 'x' ? Rgb{200, 64, 56} : p.accentLight;
    Rgb face = t == Hot ? Mix(back, Rgb{255, 255, 255}, 0.2) : t == Pressed ? Mix(back, Rgb{0, 0, 0}, 0.25) : back;
    if (t == Disabled)
        face = Grey(back, 0.8);
    Rgb ink = t == Disabled ? Rgb{225, 225, 225} : Rgb{255, 255, 255};
    double x0 = f.x, y0 = f.y, x1 = f.x + f.w, y1 = f.y + f.h;
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, RoundRect(x0, y0, x1, y1, 3), Solid(Mix(face, Rgb{0, 0, 0}, 0.3)));
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 2),
          VGradient(y0, y1, Mix(face, Rgb{255, 255, 255}, 0.3), face));
    double m = f.w * 0.3, w = std::max(1.5, f.w / 9.0);
    double a = x0 + m, b = x1 - m, c = y0 + m, d = y1 - m;
    auto ink_ = [&](const std::function<bool(double, double)>& s) { Paint(f.c, f.x, f.y, x1, y1, s, Solid(ink)); };
    switch (glyph)
    {
    case 'x':
        ink_(Stroke(a, c, b, d, w));
        ink_(Stroke(a, d, b, c, w));
        break;
    case '_':
        ink_(Stroke(a, d - w / 2, b, d - w / 2, w));
        break;
    case 'o': // maximize: a window outline with a heavy top
        ink_([=](double x, double y) {
            bool box = x >= a && x < b && y >= c && y < d;
            bool hole = x >= a + w && x < b - w && y >= c + 2 * w && y < d - w;
            return box && !hole;
        });
        break;
    case 'r': // restore: two overlapping windows
        ink_([=](double x, double y) {
            double s = (b - a) * 0.3;
            bool back = x >= a + s && x < b && y >= c && y < d - s;
            bool backHole = x >= a + s + w && x < b - w && y >= c + 2 * w && y < d - s - w;
            bool front = x >= a && x < b - s && y >= c + s && y < d;
            bool frontHole = x >= a + w && x < b - s - w && y >= c + s + 2 * w && y < d - w;
            return (back && !backHole && !front) || (front && !frontHole);
        });
        break;
    case '?':
        ink_([=](double x, double y) {
            double cx = (a + b) / 2, r = (b - a) / 2.8, cy = c + r;
            double dist = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
            bool hook = std::fabs(dist - r) <= w / 2 && !(y > cy && x < cx);
            bool stem = std::fabs(x - cx) <= w / 2 && y >= cy + r * 0.9 && y <= d - 2.2 * w;
            bool dot = (x - cx) * (x - cx) + (y - (d - w)) * (y - (d - w)) <= w * w * 0.5;
            return hook || stem || dot;
        });
        break;
    default:
        break;
    }
}

void CheckBox(const Frame& f, const Palette& p, Tone t, int mark /* 0 none, 1 check, 2 mixed */, bool round)
{
    Rgb edge = t == Disabled ? Mix(p.border, p.face, 0.5) : t == Hot || t == Pressed ? p.accent : p.border;
    Rgb top = t == Pressed ? Mix(p.faceDark, p.accentLight, 0.3)
              : t == Hot   ? Mix(p.window, p.accentLight, 0.18)
                           : p.window;
    Rgb bottom = t == Disabled ? Grey(p.face, 0.5) : t == Pressed ? p.window : Mix(p.window, p.faceDark, 0.5);
    if (t == Disabled)
        top = bottom;
    double x0 = f.x, y0 = f.y, x1 = f.x + f.w, y1 = f.y + f.h;
    if (round)
    {
        Paint(f.c, f.x, f.y, x1, y1, Disc(x0 + f.w / 2.0, y0 + f.h / 2.0, f.w / 2.0), Solid(edge));
        Paint(f.c, f.x, f.y, x1, y1, Disc(x0 + f.w / 2.0, y0 + f.h / 2.0, f.w / 2.0 - 1),
              VGradient(y0, y1, top, bottom));
    }
    else
    {
        Paint(f.c, f.x, f.y, x1, y1, RoundRect(x0, y0, x1, y1, 2), Solid(edge));
        Paint(f.c, f.x, f.y, x1, y1, RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 1), VGradient(y0, y1, top, bottom));
    }
    Rgb ink = t == Disabled ? p.grayText : p.accentDark;
    if (mark == 1 && round)
        Paint(f.c, f.x, f.y, x1, y1, Disc(x0 + f.w / 2.0, y0 + f.h / 2.0, f.w / 4.5),
              VGradient(y0 + 3, y1 - 3, t == Disabled ? ink : p.accentLight, ink));
    else if (mark == 1)
    {
        double w = 2.0;
        Paint(f.c, f.x, f.y, x1, y1, Stroke(x0 + 3.2, y0 + 6.5, x0 + 5.5, y0 + 9, w), Solid(ink));
        Paint(f.c, f.x, f.y, x1, y1, Stroke(x0 + 5.5, y0 + 9, x0 + 9.8, y0 + 3.8, w), Solid(ink));
    }
    else if (mark == 2)
        Paint(f.c, f.x, f.y, x1, y1, RoundRect(x0 + 3, y0 + 3, x1 - 3, y1 - 3, 1), Solid(Mix(ink, p.accentLight, 0.4)));
}

// A flat rounded frame: group boxes and the tab pane.
void Outline(const Frame& f, Rgb edge, Rgb fill, double radius)
{
    double x0 = f.x, y0 = f.y, x1 = f.x + f.w, y1 = f.y + f.h;
    Paint(f.c, f.x, f.y, x1, y1, RoundRect(x0, y0, x1, y1, radius), Solid(edge));
    Paint(f.c, f.x, f.y, x1, y1, RoundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, std::max(0.0, radius - 1)), Solid(fill));
}

void Track(const Frame& f, const Palette& p, Tone t, bool vertical)
{
    Rgb a = Mix(p.face, p.faceDark, 0.5), b = p.face;
    if (t == Pressed)
        a = Mix(a, p.accentLight, 0.4), b = Mix(b, p.accentLight, 0.3);
    else if (t == Hot)
        a = Mix(a, p.accentLight, 0.15);
    else if (t == Disabled)
        a = b = Grey(p.face, 0.6);
    auto g = vertical ? HGradient(f.x, f.x + f.w, a, b) : VGradient(f.y, f.y + f.h, a, b);
    Paint(
        f.c, f.x, f.y, f.x + f.w, f.y + f.h, [](double, double) { return true; }, g);
}

void Grip(const Frame& f, Rgb dark, Rgb light, bool vertical)
{
    for (int i = -1; i <= 1; ++i)
    {
        double cx = f.x + f.w / 2.0 + (vertical ? 0 : i * 3), cy = f.y + f.h / 2.0 + (vertical ? i * 3 : 0);
        double ax = vertical ? cx - 3 : cx, ay = vertical ? cy : cy - 3, bx = vertical ? cx + 3 : cx,
               by = vertical ? cy : cy + 3;
        Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, Stroke(ax + 0.5, ay + 0.5, bx + 0.5, by + 0.5, 1), Solid(light));
        Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, Stroke(ax, ay, bx, by, 1), Solid(dark));
    }
}

void SizeBox(const Frame& f, const Palette& p, bool left)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j)
        {
            double x = left ? f.x + 2 + j * 4 : f.x + f.w - 4 - j * 4, y = f.y + f.h - 4 - (2 - i) * 4;
            Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, RoundRect(x + 1, y + 1, x + 3, y + 3, 0.5), Solid(p.faceLight));
            Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, RoundRect(x, y, x + 2, y + 2, 0.5), Solid(p.border));
        }
}

void Tab(const Frame& f, const Palette& p, Tone t)
{
    Rgb edge = t == Disabled ? Mix(p.border, p.face, 0.5) : p.border;
    Rgb top = t == Selected ? p.window : t == Hot ? Mix(p.faceLight, p.accentLight, 0.3) : p.faceLight;
    Rgb bottom = t == Selected ? p.window : t == Disabled ? Grey(p.face, 0.6) : p.face;
    double x0 = f.x, y0 = f.y, x1 = f.x + f.w, y1 = f.y + f.h + 4;
    auto clip = [&](const std::function<bool(double, double)>& s) {
        return [=](double x, double y) { return y < f.y + f.h && s(x, y); };
    };
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, clip(RoundRect(x0, y0, x1, y1, 3)), Solid(edge));
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, clip(RoundRect(x0 + 1, y0 + 1, x1 - 1, y1, 2)),
          VGradient(y0, y1, top, bottom));
    if (t == Selected || t == Hot || t == Focused)
        Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, clip(RoundRect(x0 + 1, y0, x1 - 1, y0 + 3, 1.5)),
              Solid(t == Hot ? p.accentLight : p.accent));
}

void TrackThumb(const Frame& f, const Palette& p, Tone t, int pointing /* -1 none, 0 up, 1 down, 2 left, 3 right */)
{
    Rgb edge = t == Disabled ? Mix(p.border, p.face, 0.5) : t == Normal ? p.accentDark : p.accent;
    Rgb top = t == Disabled ? Grey(p.face, 0.6) : t == Hot ? p.accentLight : t == Pressed ? p.accent : p.faceLight;
    Rgb bottom = t == Disabled ? top : t == Pressed ? p.accentDark : Mix(p.faceDark, p.accentLight, 0.5);
    double x0 = f.x, y0 = f.y, x1 = f.x + f.w, y1 = f.y + f.h, cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    std::function<bool(double, double)> shape;
    auto box = [](double a, double b, double c, double d) {
        return [=](double x, double y) { return x >= a && x < b && y >= c && y < d; };
    };
    auto join = [](std::function<bool(double, double)> a, std::function<bool(double, double)> b) {
        return [=](double x, double y) { return a(x, y) || b(x, y); };
    };
    double tip = 5;
    switch (pointing)
    {
    case 0:
        shape = join(Triangle(x0, y0 + tip, x1, y0 + tip, cx, y0), box(x0, x1, y0 + tip, y1));
        break;
    case 1:
        shape = join(Triangle(x0, y1 - tip, x1, y1 - tip, cx, y1), box(x0, x1, y0, y1 - tip));
        break;
    case 2:
        shape = join(Triangle(x0 + tip, y0, x0 + tip, y1, x0, cy), box(x0 + tip, x1, y0, y1));
        break;
    case 3:
        shape = join(Triangle(x1 - tip, y0, x1 - tip, y1, x1, cy), box(x0, x1 - tip, y0, y1));
        break;
    default:
        shape = RoundRect(x0, y0, x1, y1, 2);
        break;
    }
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, shape, Solid(edge));
    auto innerShape = [=](double x, double y) {
        return shape(x - 1, y) && shape(x + 1, y) && shape(x, y - 1) && shape(x, y + 1);
    };
    Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, innerShape, VGradient(y0, y1, top, bottom));
}

// ---- the table of parts ----

// One bitmap of the skin and the INI section that uses it.
struct Part
{
    const char* section;       // INI section header, "Class.Part"
    const char* file;          // bitmap file name inside the skin's folder
    int frameW, frameH, count; // one state's size and the number of states stacked vertically
    const char* properties;    // further INI lines, '\n'-separated
    std::function<void(const Frame&, const Palette&, int state)> draw; // state counts from 0
};

const Tone kButtonTones[] = {Normal, Hot, Pressed, Disabled, Defaulted};
const Tone kFourTones[] = {Normal, Hot, Pressed, Disabled};
const Tone kToolbarTones[] = {Normal, Hot, Pressed, Disabled, Checked, HotChecked};
const Tone kTabTones[] = {Normal, Hot, Selected, Disabled, Focused};
const Tone kThumbTones[] = {Normal, Hot, Pressed, Focused, Disabled};

std::vector<Part> Parts()
{
    std::vector<Part> parts;
    auto caption = [](const Frame& f, const Palette& p, int s) { Caption(f, p, s == 0); };
    const char* captionProps = "SizingMargins = 10, 10, 9, 4\nTransparent = true\nContentMargins = 6, 6, 4, 2\n"
                               "TextColor = 255 255 255\nTextShadowType = Single\nTextShadowOffset = 1, 1\n"
                               "TextShadowColor = @accentDark\n";
    parts.push_back({"Window.Caption", "Caption.bmp", 64, kCaptionHeight, 2, captionProps, caption});
    parts.push_back({"Window.SmallCaption", "SmallCaption.bmp", 48, kSmallCaptionHeight, 2, captionProps, caption});
    parts.push_back({"Window.MinCaption", "Caption.bmp", 64, kCaptionHeight, 2, captionProps, caption});
    parts.push_back({"Window.SmallMinCaption", "SmallCaption.bmp", 48, kSmallCaptionHeight, 2, captionProps, caption});
    parts.push_back({"Window.SmallMaxCaption", "SmallCaption.bmp", 48, kSmallCaptionHeight, 2, captionProps, caption});
    parts.push_back({"Window.MaxCaption", "Caption.bmp", 64, kCaptionHeight, 2, captionProps, caption});
    auto side = [](bool bottom) {
        return [bottom](const Frame& f, const Palette& p, int s) { FrameSide(f, p, s == 0, bottom); };
    };
    auto mirror = [](std::function<void(const Frame&, const Palette&, int)> draw) {
        return [draw](const Frame& f, const Palette& p, int s) {
            draw(f, p, s);
            for (int y = f.y; y < f.y + f.h; ++y)
                std::reverse(&f.c.At(f.x, y), &f.c.At(f.x, y) + f.w);
        };
    };
    const char* sideProps = "SizingMargins = 0, 0, 2, 2\n";
    const char* bottomProps = "SizingMargins = 4, 4, 0, 0\n";
    parts.push_back({"Window.FrameLeft", "FrameLeft.bmp", kFrameWidth, 16, 2, sideProps, side(false)});
    parts.push_back({"Window.FrameRight", "FrameRight.bmp", kFrameWidth, 16, 2, sideProps, mirror(side(false))});
    parts.push_back({"Window.FrameBottom", "FrameBottom.bmp", 16, kFrameWidth, 2, bottomProps, side(true)});
    parts.push_back({"Window.SmallFrameLeft", "FrameLeft.bmp", kFrameWidth, 16, 2, sideProps, side(false)});
    parts.push_back({"Window.SmallFrameRight", "FrameRight.bmp", kFrameWidth, 16, 2, sideProps, mirror(side(false))});
    parts.push_back({"Window.SmallFrameBottom", "FrameBottom.bmp", 16, kFrameWidth, 2, bottomProps, side(true)});

    const char* capButtonProps = "SizingMargins = 4, 4, 4, 4\nTransparent = true\n";
    struct CapButton
    {
        const char* section;
        const char* file;
        char glyph;
        int size;
    };
    const CapButton capButtons[] = {
        {"Window.CloseButton", "CloseButton.bmp", 'x', 21},
        {"Window.MaxButton", "MaxButton.bmp", 'o', 21},
        {"Window.MinButton", "MinButton.bmp", '_', 21},
        {"Window.RestoreButton", "RestoreButton.bmp", 'r', 21},
        {"Window.HelpButton", "HelpButton.bmp", '?', 21},
        {"Window.SmallCloseButton", "SmallClose.bmp", 'x', 15},
        {"Window.MdiCloseButton", "SmallClose.bmp", 'x', 15},
        {"Window.MdiMinButton", "SmallMin.bmp", '_', 15},
        {"Window.MdiRestoreButton", "SmallRestore.bmp", 'r', 15},
        {"Window.MdiHelpButton", "SmallHelp.bmp", '?', 15},
    };
    for (const CapButton& b : capButtons)
    {
        char glyph = b.glyph;
        parts.push_back(
            {b.section, b.file, b.size, b.size, 4, capButtonProps,
             [glyph](const Frame& f, const Palette& p, int s) { CaptionButton(f, p, kFourTones[s], glyph); }});
    }

    parts.push_back({"Button.PushButton", "PushButton.bmp", 24, 22, 5,
                     "SizingMargins = 5, 5, 5, 5\nContentMargins = 4, 4, 3, 3\nTransparent = true\nTextColor = @text\n",
                     [](const Frame& f, const Palette& p, int s) { Face(f, p, kButtonTones[s], 3); }});
    parts.push_back({"Button.CheckBox", "CheckBox.bmp", 13, 13, 12, "SizingType = TrueSize\nTransparent = true\n",
                     [](const Frame& f, const Palette& p, int s) { CheckBox(f, p, kFourTones[s % 4], s / 4, false); }});
    parts.push_back({"Button.RadioButton", "RadioButton.bmp", 13, 13, 8, "SizingType = TrueSize\nTransparent = true\n",
                     [](const Frame& f, const Palette& p, int s) { CheckBox(f, p, kFourTones[s % 4], s / 4, true); }});
    parts.push_back({"Button.GroupBox", "GroupBox.bmp", 12, 12, 1,
                     "SizingMargins = 4, 4, 4, 4\nBorderOnly = true\nTransparent = true\nTextColor = @accentDark\n",
                     [](const Frame& f, const Palette& p, int) { Outline(f, Mix(p.border, p.face, 0.3), p.face, 3); }});

    parts.push_back({"Scrollbar.ArrowBtn", "ArrowBtn.bmp", 17, 17, 16,
                     "SizingMargins = 4, 4, 4, 4\nTransparent = true\n", [](const Frame& f, const Palette& p, int s) {
                         Tone t = kFourTones[s % 4];
                         Face(f, p, t, 2, (s / 4) < 2);
                         Arrow(f, s / 4, GlyphColour(p, t), 7);
                     }});
    parts.push_back({"Scrollbar.ThumbBtnHorz", "ScrollThumbHorz.bmp", 24, 17, 4,
                     "SizingMargins = 5, 5, 4, 4\nTransparent = true\n",
                     [](const Frame& f, const Palette& p, int s) { Face(f, p, kFourTones[s], 3, true); }});
    parts.push_back({"Scrollbar.ThumbBtnVert", "ScrollThumbVert.bmp", 17, 24, 4,
                     "SizingMargins = 4, 4, 5, 5\nTransparent = true\n",
                     [](const Frame& f, const Palette& p, int s) { Face(f, p, kFourTones[s], 3, false); }});
    for (const char* track : {"Scrollbar.LowerTrackHorz", "Scrollbar.UpperTrackHorz"})
        parts.push_back({track, "TrackHorz.bmp", 8, 17, 4, "SizingMargins = 0, 0, 0, 0\nSizingType = Tile\n",
                         [](const Frame& f, const Palette& p, int s) { Track(f, p, kFourTones[s], false); }});
    for (const char* track : {"Scrollbar.LowerTrackVert", "Scrollbar.UpperTrackVert"})
        parts.push_back({track, "TrackVert.bmp", 17, 8, 4, "SizingMargins = 0, 0, 0, 0\nSizingType = Tile\n",
                         [](const Frame& f, const Palette& p, int s) { Track(f, p, kFourTones[s], true); }});
    parts.push_back({"Scrollbar.GripperHorz", "GripperHorz.bmp", 10, 10, 4,
                     "SizingType = TrueSize\nTransparent = true\n", [](const Frame& f, const Palette& p, int s) {
                         Grip(f, kFourTones[s] == Disabled ? p.grayText : p.border, p.faceLight, false);
                     }});
    parts.push_back({"Scrollbar.GripperVert", "GripperVert.bmp", 10, 10, 4,
                     "SizingType = TrueSize\nTransparent = true\n", [](const Frame& f, const Palette& p, int s) {
                         Grip(f, kFourTones[s] == Disabled ? p.grayText : p.border, p.faceLight, true);
                     }});
    parts.push_back({"Scrollbar.SizeBox", "SizeBox.bmp", 17, 17, 2, "SizingType = TrueSize\nTransparent = true\n",
                     [](const Frame& f, const Palette& p, int s) { SizeBox(f, p, s == 1); }});

    parts.push_back({"ComboBox.DropDownButton", "DropDown.bmp", 17, 20, 4,
                     "SizingMargins = 4, 4, 4, 4\nTransparent = true\n", [](const Frame& f, const Palette& p, int s) {
                         Face(f, p, kFourTones[s], 2);
                         Arrow(f, 1, GlyphColour(p, kFourTones[s]), 7);
                     }});
    struct Spin
    {
        const char* section;
        const char* file;
        int w, h, direction;
    };
    const Spin spins[] = {{"Spin.Up", "SpinUp.bmp", 15, 10, 0},
                          {"Spin.Down", "SpinDown.bmp", 15, 10, 1},
                          {"Spin.UpHorz", "SpinRight.bmp", 10, 15, 3},
                          {"Spin.DownHorz", "SpinLeft.bmp", 10, 15, 2}};
    for (const Spin& sp : spins)
    {
        int direction = sp.direction;
        parts.push_back({sp.section, sp.file, sp.w, sp.h, 4, "SizingMargins = 3, 3, 3, 3\nTransparent = true\n",
                         [direction](const Frame& f, const Palette& p, int s) {
                             Face(f, p, kFourTones[s], 2, direction < 2);
                             Arrow(f, direction, GlyphColour(p, kFourTones[s]), 5);
                         }});
    }

    parts.push_back({"Header.HeaderItem", "HeaderItem.bmp", 16, 22, 3,
                     "SizingMargins = 3, 3, 3, 3\nContentMargins = 4, 4, 2, 2\n",
                     [](const Frame& f, const Palette& p, int s) {
                         Tone t = kFourTones[s];
                         Rgb top = t == Hot ? Mix(p.faceLight, p.accentLight, 0.25) : p.faceLight;
                         Rgb bottom = t == Pressed ? Mix(p.faceDark, p.accent, 0.2) : p.face;
                         Paint(
                             f.c, f.x, f.y, f.x + f.w, f.y + f.h, [](double, double) { return true; },
                             VGradient(f.y, f.y + f.h, top, bottom));
                         Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h,
                               Stroke(f.x + f.w - 1.5, f.y + 3, f.x + f.w - 1.5, f.y + f.h - 3, 1), Solid(p.border));
                         Paint(
                             f.c, f.x, f.y, f.x + f.w, f.y + f.h, [&](double, double y) { return y >= f.y + f.h - 1; },
                             Solid(p.border));
                     }});
    parts.push_back({"Header.HeaderSortArrow", "SortArrow.bmp", 9, 5, 2, "SizingType = TrueSize\nTransparent = true\n",
                     [](const Frame& f, const Palette& p, int s) { Arrow(f, s == 0 ? 0 : 1, p.border, 9); }});

    parts.push_back({"Progress.Bar", "ProgressBar.bmp", 16, 16, 1,
                     "SizingMargins = 3, 3, 3, 3\nTransparent = true\n"
                     "ContentMargins = 2, 2, 2, 2\nProgressChunkSize = 8\nProgressSpaceSize = 2\n",
                     [](const Frame& f, const Palette& p, int) { Outline(f, p.border, p.window, 3); }});
    parts.push_back({"Progress.BarVert", "ProgressBar.bmp", 16, 16, 1,
                     "SizingMargins = 3, 3, 3, 3\nTransparent = true\nContentMargins = 2, 2, 2, 2\n",
                     [](const Frame& f, const Palette& p, int) { Outline(f, p.border, p.window, 3); }});
    parts.push_back({"Progress.Chunk", "ProgressChunk.bmp", 8, 12, 1, "SizingMargins = 0, 0, 4, 4\n",
                     [](const Frame& f, const Palette& p, int) {
                         Paint(
                             f.c, f.x, f.y, f.x + f.w, f.y + f.h, [](double, double) { return true; },
                             VGradient(f.y, f.y + f.h, p.accentLight, p.accent));
                     }});
    parts.push_back({"Progress.ChunkVert", "ProgressChunkVert.bmp", 12, 8, 1, "SizingMargins = 4, 4, 0, 0\n",
                     [](const Frame& f, const Palette& p, int) {
                         Paint(
                             f.c, f.x, f.y, f.x + f.w, f.y + f.h, [](double, double) { return true; },
                             HGradient(f.x, f.x + f.w, p.accentLight, p.accent));
                     }});

    auto trackLine = [](bool vertical) {
        return [vertical](const Frame& f, const Palette& p, int) {
            Outline(f, p.border, Mix(p.faceDark, p.face, 0.3), 1.5);
            (void)vertical;
        };
    };
    parts.push_back(
        {"Trackbar.Track", "Track.bmp", 8, 4, 1, "SizingMargins = 2, 2, 1, 1\nTransparent = true\n", trackLine(false)});
    parts.push_back({"Trackbar.TrackVert", "TrackBarVert.bmp", 4, 8, 1,
                     "SizingMargins = 1, 1, 2, 2\nTransparent = true\n", trackLine(true)});
    struct Thumb
    {
        const char* section;
        const char* file;
        int w, h, pointing;
    };
    const Thumb thumbs[] = {{"Trackbar.Thumb", "TrackThumb.bmp", 11, 20, -1},
                            {"Trackbar.ThumbBottom", "TrackThumbBottom.bmp", 11, 20, 1},
                            {"Trackbar.ThumbTop", "TrackThumbTop.bmp", 11, 20, 0},
                            {"Trackbar.ThumbVert", "TrackThumbVert.bmp", 20, 11, -1},
                            {"Trackbar.ThumbLeft", "TrackThumbLeft.bmp", 20, 11, 2},
                            {"Trackbar.ThumbRight", "TrackThumbRight.bmp", 20, 11, 3}};
    for (const Thumb& th : thumbs)
    {
        int pointing = th.pointing;
        parts.push_back(
            {th.section, th.file, th.w, th.h, 5, "SizingType = TrueSize\nTransparent = true\n",
             [pointing](const Frame& f, const Palette& p, int s) { TrackThumb(f, p, kThumbTones[s], pointing); }});
    }

    const char* tabProps = "SizingMargins = 4, 4, 4, 1\nContentMargins = 4, 4, 3, 1\nTransparent = true\n";
    auto tab = [](const Frame& f, const Palette& p, int s) { Tab(f, p, kTabTones[s]); };
    for (const char* section :
         {"Tab.TabItem", "Tab.TabItemLeftEdge", "Tab.TabItemRightEdge", "Tab.TabItemBothEdge", "Tab.TopTabItem",
          "Tab.TopTabItemLeftEdge", "Tab.TopTabItemRightEdge", "Tab.TopTabItemBothEdge"})
        parts.push_back({section, "TabItem.bmp", 24, 21, 5, tabProps, tab});
    parts.push_back({"Tab.Pane", "TabPane.bmp", 16, 16, 1, "SizingMargins = 3, 3, 3, 3\nTransparent = true\n",
                     [](const Frame& f, const Palette& p, int) { Outline(f, p.border, p.window, 2); }});
    parts.push_back({"Tab.Body", "TabBody.bmp", 8, 64, 1, "SizingType = Tile\nStockImageFile = @file\n",
                     [](const Frame& f, const Palette& p, int) {
                         Paint(
                             f.c, f.x, f.y, f.x + f.w, f.y + f.h, [](double, double) { return true; },
                             VGradient(f.y, f.y + f.h, p.window, Mix(p.window, p.face, 0.6)));
                     }});

    const char* toolProps = "SizingMargins = 4, 4, 4, 4\nContentMargins = 3, 3, 3, 3\nTransparent = true\n";
    auto toolButton = [](const Frame& f, const Palette& p, int s) {
        if (kToolbarTones[s] != Normal && kToolbarTones[s] != Disabled)
            Face(f, p, kToolbarTones[s], 3);
    };
    for (const char* section : {"Toolbar.Button", "Toolbar.DropDownButton", "Toolbar.SplitButton"})
        parts.push_back({section, "ToolButton.bmp", 22, 22, 6, toolProps, toolButton});
    // The arrow half of a split button shows its arrow in every state.
    parts.push_back({"Toolbar.SplitButtonDropDown", "ToolSplitArrow.bmp", 13, 22, 6,
                     "SizingMargins = 3, 3, 4, 4\nContentMargins = 1, 1, 3, 3\nTransparent = true\n",
                     [toolButton](const Frame& f, const Palette& p, int s) {
                         toolButton(f, p, s);
                         Arrow(f, 1, GlyphColour(p, kToolbarTones[s]), 5);
                     }});
    parts.push_back({"Toolbar.Separator", "Separator.bmp", 6, 16, 1, "SizingMargins = 0, 0, 3, 3\nTransparent = true\n",
                     [](const Frame& f, const Palette& p, int) {
                         Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h,
                               Stroke(f.x + 2.5, f.y + 2, f.x + 2.5, f.y + f.h - 2, 1), Solid(p.border));
                         Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h,
                               Stroke(f.x + 3.5, f.y + 2, f.x + 3.5, f.y + f.h - 2, 1), Solid(p.faceLight));
                     }});
    parts.push_back({"Toolbar.SeparatorVert", "SeparatorVert.bmp", 16, 6, 1,
                     "SizingMargins = 3, 3, 0, 0\nTransparent = true\n", [](const Frame& f, const Palette& p, int) {
                         Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h,
                               Stroke(f.x + 2, f.y + 2.5, f.x + f.w - 2, f.y + 2.5, 1), Solid(p.border));
                         Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h,
                               Stroke(f.x + 2, f.y + 3.5, f.x + f.w - 2, f.y + 3.5, 1), Solid(p.faceLight));
                     }});

    parts.push_back({"TreeView.Glyph", "TreeGlyph.bmp", 9, 9, 2, "SizingType = TrueSize\nTransparent = true\n",
                     [](const Frame& f, const Palette& p, int s) {
                         Outline(f, p.border, p.window, 1);
                         Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h, Stroke(f.x + 2, f.y + 4.5, f.x + 7, f.y + 4.5, 1),
                               Solid(p.text));
                         if (s == 0)
                             Paint(f.c, f.x, f.y, f.x + f.w, f.y + f.h,
                                   Stroke(f.x + 4.5, f.y + 2, f.x + 4.5, f.y + 7, 1), Solid(p.text));
                     }});
    parts.push_back({"Status.Gripper", "StatusGripper.bmp", 17, 17, 1, "SizingType = TrueSize\nTransparent = true\n",
                     [](const Frame& f, const Palette& p, int) { SizeBox(f, p, false); }});
    return parts;
}

// ---- output ----

void Put16(FILE* f, unsigned v)
{
    fputc(v & 255, f);
    fputc(v >> 8 & 255, f);
}

void Put32(FILE* f, unsigned v)
{
    Put16(f, v & 0xFFFF);
    Put16(f, v >> 16);
}

bool WriteBmp(const std::string& path, const Canvas& c)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    unsigned stride = (unsigned(c.w) * 3 + 3) & ~3u, size = stride * c.h;
    fputs("BM", f);
    Put32(f, 54 + size), Put32(f, 0), Put32(f, 54);
    Put32(f, 40), Put32(f, c.w), Put32(f, c.h), Put16(f, 1), Put16(f, 24), Put32(f, 0), Put32(f, size);
    Put32(f, 3780), Put32(f, 3780), Put32(f, 0), Put32(f, 0);
    for (int y = c.h - 1; y >= 0; --y)
    {
        for (int x = 0; x < c.w; ++x)
        {
            const Rgb& p = c.px[size_t(y) * c.w + x];
            auto byte = [](double v) { return int(std::lround(std::clamp(v, 0.0, 255.0))); };
            fputc(byte(p.b), f), fputc(byte(p.g), f), fputc(byte(p.r), f);
        }
        for (unsigned pad = c.w * 3; pad < stride; ++pad)
            fputc(0, f);
    }
    return fclose(f) == 0;
}

// Writes text as UTF-16LE with a byte-order mark; every '\n' becomes CR LF (the text is ASCII).
bool WriteUtf16(const std::string& path, const std::string& text)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    Put16(f, 0xFEFF);
    for (char ch : text)
    {
        if (ch == '\n')
            Put16(f, '\r');
        Put16(f, static_cast<unsigned char>(ch));
    }
    return fclose(f) == 0;
}

std::string Colour(Rgb c)
{
    char text[32];
    snprintf(text, sizeof text, "%d %d %d", int(std::lround(c.r)), int(std::lround(c.g)), int(std::lround(c.b)));
    return text;
}

// Replaces the "@name" palette references of a property text by colour values.
// A part's extra properties with the palette's colours and the part's own image file ("@file").
std::string Expand(std::string text, const Palette& p, const std::string& file)
{
    const std::pair<const char*, Rgb> names[] = {{"@text", p.text}, {"@accentDark", p.accentDark}};
    for (const auto& n : names)
        for (size_t at; (at = text.find(n.first)) != std::string::npos;)
            text.replace(at, strlen(n.first), Colour(n.second));
    for (size_t at; (at = text.find("@file")) != std::string::npos;)
        text.replace(at, 5, file);
    return text;
}

std::string Upper(std::string s)
{
    for (char& ch : s)
        ch = char(toupper(static_cast<unsigned char>(ch)));
    return s;
}

// The resource name of an INI-relative file name: '.' and '\' become '_'.
std::string ResourceName(const std::string& file)
{
    std::string name = Upper(file);
    std::replace(name.begin(), name.end(), '.', '_');
    std::replace(name.begin(), name.end(), '\\', '_');
    return name;
}

std::string SysMetrics(const Palette& p)
{
    // The 31 system colours in COLOR_ order.
    const Rgb colours[31] = {
        p.face,                         // Scrollbar
        p.accentDark,                   // Background
        p.accent,                       // ActiveCaption
        p.inactive,                     // InactiveCaption
        p.window,                       // Menu
        p.window,                       // Window
        p.accentDark,                   // WindowFrame
        p.text,                         // MenuText
        p.text,                         // WindowText
        {255, 255, 255},                // CaptionText
        p.accent,                       // ActiveBorder
        p.inactive,                     // InactiveBorder
        Mix(p.face, p.faceDark, 0.5),   // AppWorkspace
        p.accent,                       // Highlight
        {255, 255, 255},                // HighlightText
        p.face,                         // BtnFace
        Mix(p.border, p.faceDark, 0.4), // BtnShadow
        p.grayText,                     // GrayText
        p.text,                         // BtnText
        {236, 240, 244},                // InactiveCaptionText
        p.faceLight,                    // BtnHighlight
        Mix(p.border, p.text, 0.4),     // DkShadow3d
        Mix(p.face, p.faceDark, 0.3),   // Light3d
        p.text,                         // InfoText
        {255, 255, 231},                // InfoBk
        Mix(p.face, p.faceDark, 0.5),   // ButtonAlternateFace
        p.accentDark,                   // HotTracking
        p.accentLight,                  // GradientActiveCaption
        p.inactiveLight,                // GradientInactiveCaption
        p.accent,                       // MenuHilight
        p.face,                         // MenuBar
    };
    const char* names[31] = {"Scrollbar",
                             "Background",
                             "ActiveCaption",
                             "InactiveCaption",
                             "Menu",
                             "Window",
                             "WindowFrame",
                             "MenuText",
                             "WindowText",
                             "CaptionText",
                             "ActiveBorder",
                             "InactiveBorder",
                             "AppWorkspace",
                             "Highlight",
                             "HighlightText",
                             "BtnFace",
                             "BtnShadow",
                             "GrayText",
                             "BtnText",
                             "InactiveCaptionText",
                             "BtnHighlight",
                             "DkShadow3d",
                             "Light3d",
                             "InfoText",
                             "InfoBk",
                             "ButtonAlternateFace",
                             "HotTracking",
                             "GradientActiveCaption",
                             "GradientInactiveCaption",
                             "MenuHilight",
                             "MenuBar"};
    std::string s = "[SysMetrics]\n";
    for (int i = 0; i < 31; ++i)
        s += std::string(names[i]) + " = " + Colour(colours[i]) + "\n";
    s += "CaptionFont = Tahoma, 8, Bold\nSmallCaptionFont = Tahoma, 8, Bold\nMenuFont = Tahoma, 8\n"
         "StatusFont = Tahoma, 8\nMsgBoxFont = Tahoma, 8\nIconTitleFont = Tahoma, 8\n"
         "CaptionBarHeight = 24\nSmCaptionBarHeight = 18\nCaptionBarWidth = 21\nSmCaptionBarWidth = 15\n"
         "ScrollbarWidth = 17\nScrollbarHeight = 17\nSizingBorderWidth = 4\nMenuBarWidth = 18\nMenuBarHeight = 20\n"
         "FlatMenus = false\n";
    return s;
}

// The border-filled classes (edits, list boxes and views, the combo box's field) and the states
// that differ only in colour.
std::string BorderFills(const Palette& p)
{
    std::string s;
    std::string border = Colour(p.border), fill = Colour(p.window), text = Colour(p.text);
    for (const char* cls : {"Edit", "ListBox", "ListView", "TreeView", "ComboBox"})
        s += std::string("\n[") + cls + "]\nBgType = BorderFill\nBorderSize = 1\nBorderColor = " + border +
             "\nFillColor = " + fill + "\nTextColor = " + text + "\n";
    s += "\n[Edit.EditText(Hot)]\nBorderColor = " + Colour(Mix(p.border, p.accent, 0.6)) + "\n";
    s += "\n[Edit.EditText(Focused)]\nBorderColor = " + Colour(p.accent) + "\n";
    s += "\n[Edit.EditText(Disabled)]\nFillColor = " + Colour(p.face) + "\nTextColor = " + Colour(p.grayText) + "\n";
    s += "\n[Edit.EditText(ReadOnly)]\nFillColor = " + Colour(Mix(p.window, p.face, 0.5)) + "\n";
    for (const char* caption : {"Window.Caption", "Window.MinCaption", "Window.MaxCaption"})
        s += std::string("\n[") + caption + "(Inactive)]\nTextColor = 236 240 244\nTextShadowType = None\n";
    s += "\n[Trackbar.Tics]\nBgType = BorderFill\nFillColor = " + Colour(p.border) + "\n";
    s += "\n[Trackbar.TicsVert]\nBgType = BorderFill\nFillColor = " + Colour(p.border) + "\n";
    s += "\n[Tooltip]\nBgType = BorderFill\nBorderColor = " + border +
         "\nFillColor = 255 255 231\nTextColor = " + text + "\n";
    return s;
}

// The label colour of every state of the button parts: a disabled label in the grey text colour,
// the others in the part's own text colour.
std::string ButtonStateTexts(const Palette& p)
{
    struct ButtonPart
    {
        const char* section;
        std::vector<std::string> checks; // the check states each tone comes in
        const char* const* tones;
        int toneCount;
        Rgb text;
    };
    static const char* const kPushTones[] = {"Normal", "Hot", "Pressed", "Disabled", "Defaulted"};
    static const char* const kMarkTones[] = {"Normal", "Hot", "Pressed", "Disabled"};
    static const char* const kGroupTones[] = {"Normal", "Disabled"};
    const ButtonPart parts[] = {
        {"Button.PushButton", {""}, kPushTones, 5, p.text},
        {"Button.CheckBox", {"Unchecked", "Checked", "Mixed"}, kMarkTones, 4, p.text},
        {"Button.RadioButton", {"Unchecked", "Checked"}, kMarkTones, 4, p.text},
        {"Button.GroupBox", {""}, kGroupTones, 2, p.accentDark},
    };
    std::string s;
    for (const ButtonPart& part : parts)
        for (const std::string& check : part.checks)
            for (int t = 0; t < part.toneCount; ++t)
            {
                bool disabled = std::string(part.tones[t]) == "Disabled";
                s += std::string("\n[") + part.section + "(" + check + part.tones[t] +
                     ")]\nTextColor = " + Colour(disabled ? p.grayText : part.text) + "\n";
            }
    return s;
}

bool WriteSkin(const std::string& out, const std::string& rcDir, const Palette& p, const std::vector<Part>& parts,
               std::string& rc)
{
    std::string folder = p.name;
    std::string ini = "; Class data of the " + std::string(p.displayName) +
                      " skin, drawn by skingen.\n\n"
                      "[Documentation]\nDisplayName = " +
                      p.displayName +
                      "\nAuthor = Reelwright\nTooltip = Rounded frames and soft gradients\n\n"
                      "[Globals]\nTextColor = " +
                      Colour(p.text) + "\nFillColor = " + Colour(p.face) +
                      "\nTransparentColor = 255 0 255\nImageLayout = Vertical\n\n" + SysMetrics(p);
    std::vector<std::string> written;
    for (const Part& part : parts)
    {
        std::string file = folder + "\\" + part.file;
        ini += "\n[" + std::string(part.section) + "]\nBgType = ImageFile\nImageFile = " + file +
               "\nImageCount = " + std::to_string(part.count) + "\nImageLayout = Vertical\n" +
               Expand(part.properties, p, file);
        if (std::find(written.begin(), written.end(), file) != written.end())
            continue;
        written.push_back(file);
        Canvas c(part.frameW, part.frameH * part.count);
        for (int s = 0; s < part.count; ++s)
            part.draw(Frame{c, 0, s * part.frameH, part.frameW, part.frameH}, p, s);
        std::string path = out + "/" + folder + "/" + part.file;
        if (!WriteBmp(path, c))
        {
            fprintf(stderr, "skingen: cannot write %s\n", path.c_str());
            return false;
        }
        rc += ResourceName(file) + " BITMAP \"" + rcDir + "/" + folder + "/" + part.file + "\"\n";
    }
    ini += BorderFills(p);
    ini += ButtonStateTexts(p);
    std::string iniPath = out + "/" + folder + ".ini";
    if (!WriteUtf16(iniPath, ini))
        return false;
    rc += ResourceName(folder + ".ini") + " TEXTFILE \"" + rcDir + "/" + folder + ".ini\"\n";
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        fprintf(stderr, "usage: skingen OUTPUT_DIR RC_DIR\n");
        return 2;
    }
    std::string out = argv[1], rcDir = argv[2];
    std::vector<Part> parts = Parts();
    std::string rc = "// Generated by skingen: the program's skins.\n";
    std::string themes = "; The skins of Reelwright; the first file entry is the default.\n\n"
                         "[Documentation]\nDisplayName = Reelwright\n";
    for (const Palette& p : kPalettes)
    {
        std::string dir = out + "/" + p.name;
        if (system(("mkdir -p '" + dir + "'").c_str()) != 0 || !WriteSkin(out, rcDir, p, parts, rc))
            return 1;
        themes += "\n[File." + std::string(p.name) + "]\nDisplayName = " + p.displayName + "\n";
    }
    std::string themesPath = out + "/themes.ini";
    if (!WriteUtf16(themesPath, themes))
        return 1;
    rc += "THEMES_INI TEXTFILE \"" + rcDir + "/themes.ini\"\n";
    FILE* f = fopen((out + "/skins.rc").c_str(), "w");
    if (!f || fputs(rc.c_str(), f) < 0 || fclose(f) != 0)
        return 1;
    return 0;
}
