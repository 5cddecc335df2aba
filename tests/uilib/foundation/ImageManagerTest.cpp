// The image helpers: loading with alpha detection (PNG and BMP, files and resources), alpha
// detection in every order of transparent and opaque pixels, premultiplication, splitting and
// mirroring, tool-bar resources, icon sizes, and the emulated transparent copy and alpha blend
// drawing the pixels the system functions draw.
#include "RwTest.h"

#include <vector>

#include "DibCanvas.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/foundation/IconGroupDirectory.h"
#include "uilib/foundation/ImageManager.h"

namespace
{
CString Fixture(const char* name)
{
    return CString(rwtest::ToWin32Path(std::string(RW_FOUNDATION_FIXTURES) + "/" + name).c_str());
}

// A bottom-up 32-bit bitmap of the given BGRA words, row by row from the bottom.
HBITMAP Section(int width, int height, const std::vector<DWORD>& words)
{
    void* bits = nullptr;
    HBITMAP bitmap = CWVPImageManager::CreateDIBSection32(nullptr, width, height, &bits);
    memcpy(bits, words.data(), words.size() * 4);
    return bitmap;
}

std::vector<DWORD> Words(HBITMAP bitmap)
{
    BITMAPINFOHEADER header;
    std::vector<BYTE> pixels;
    EXPECT_TRUE(CWVPImageManager::GetBitmapBits32(bitmap, header, pixels));
    std::vector<DWORD> words(pixels.size() / 4);
    memcpy(words.data(), pixels.data(), pixels.size());
    return words;
}

DWORD Premultiplied(DWORD v)
{
    DWORD a = v >> 24;
    return (a << 24) | (((v >> 16 & 0xFF) * a / 255) << 16) | (((v >> 8 & 0xFF) * a / 255) << 8) |
           ((v & 0xFF) * a / 255);
}

// The system functions stay unbound for the lifetime of the object.
struct NoSystemBlits
{
    NoSystemBlits() : alpha(WVPDrawHelpers()->m_pfnAlphaBlend), transparent(WVPDrawHelpers()->m_pfnTransparentBlt)
    {
        WVPDrawHelpers()->m_pfnAlphaBlend = nullptr;
        WVPDrawHelpers()->m_pfnTransparentBlt = nullptr;
    }
    ~NoSystemBlits()
    {
        WVPDrawHelpers()->m_pfnAlphaBlend = alpha;
        WVPDrawHelpers()->m_pfnTransparentBlt = transparent;
    }
    WVPAlphaBlendProc alpha;
    WVPTransparentBltProc transparent;
};
} // namespace

TEST(ImageHelpers, AlphaIsDetectedInEveryOrder)
{
    const DWORD clear = 0x00102030, solid = 0xFF405060, half = 0x80FF8040;
    struct Case
    {
        const char* name;
        std::vector<DWORD> pixels;
        int state;
    };
    const Case cases[] = {
        {"transparent before opaque", {clear, clear, solid, solid}, 1},
        {"opaque before transparent", {solid, solid, solid, clear}, 1},
        {"interleaved", {solid, clear, solid, clear}, 1},
        {"partial alpha", {solid, solid, half, solid}, 1},
        {"all opaque", {solid, solid, solid, solid}, 0},
        {"all transparent", {clear, clear, clear, clear}, 0},
    };
    for (const Case& c : cases)
    {
        HBITMAP source = Section(2, 2, c.pixels);
        int state = CWVPImageManager::AlphaUndecided;
        HBITMAP made = CWVPImageManager::PremultiplyAlphaBitmap(source, &state);
        ASSERT_NE(nullptr, made) << c.name;
        EXPECT_EQ(c.state, state) << c.name;
        std::vector<DWORD> words = Words(made);
        for (size_t i = 0; i < 4; ++i)
            EXPECT_EQ(c.state ? Premultiplied(c.pixels[i]) : c.pixels[i], words[i]) << c.name << " pixel " << i;
        ::DeleteObject(made);
        ::DeleteObject(source);
    }
    // Any alpha counts: one opaque pixel is enough; all transparent stays undecided but turns black.
    HBITMAP opaque = Section(2, 1, {solid, solid});
    int state = CWVPImageManager::AlphaAny;
    HBITMAP made = CWVPImageManager::PremultiplyAlphaBitmap(opaque, &state);
    EXPECT_EQ(1, state);
    ::DeleteObject(made);
    HBITMAP transparent = Section(2, 1, {clear, clear});
    state = CWVPImageManager::AlphaAny;
    made = CWVPImageManager::PremultiplyAlphaBitmap(transparent, &state);
    EXPECT_EQ(CWVPImageManager::AlphaAny, state);
    EXPECT_EQ(0u, Words(made)[0]);
    ::DeleteObject(made);
    ::DeleteObject(opaque);
    ::DeleteObject(transparent);
}

TEST(ImageHelpers, LoadingReportsAlpha)
{
    struct Case
    {
        const char* file;
        BOOL alpha;
        int width;
    };
    const Case cases[] = {{"alpha32.bmp", TRUE, 32},
                          {"strip24.bmp", FALSE, 48},
                          {"rgba.png", TRUE, 6},
                          {"rgba-background.png", FALSE, 6}};
    for (const Case& c : cases)
    {
        BOOL alpha = !c.alpha;
        HBITMAP bitmap = CWVPImageManager::LoadBitmapFile(Fixture(c.file), &alpha);
        ASSERT_NE(nullptr, bitmap) << c.file;
        EXPECT_EQ(c.alpha, alpha) << c.file;
        BITMAP info = {};
        ::GetObjectW(bitmap, sizeof(info), &info);
        EXPECT_EQ(c.width, info.bmWidth) << c.file;
        ::DeleteObject(bitmap);
    }
    BOOL alpha = TRUE;
    EXPECT_EQ(nullptr, CWVPImageManager::LoadBitmapFile(Fixture("truncated.png"), &alpha));
    EXPECT_FALSE(alpha);
    EXPECT_EQ(nullptr, CWVPImageManager::LoadBitmapFile(Fixture("no-such.bmp"), &alpha));
    EXPECT_TRUE(CWVPImageManager::IsPngFile(Fixture("rgba.png")));
    EXPECT_FALSE(CWVPImageManager::IsPngFile(Fixture("bad-signature.png")));
    EXPECT_TRUE(CWVPImageManager::IsAlphaBitmapFile(Fixture("alpha32.bmp")));
    EXPECT_FALSE(CWVPImageManager::IsAlphaBitmapFile(Fixture("strip24.bmp")));

    HMODULE module = ::GetModuleHandleW(nullptr);
    struct Resource
    {
        UINT id;
        BOOL alpha;
    };
    for (Resource r : {Resource{700, TRUE}, Resource{702, TRUE}, Resource{600, FALSE}})
    {
        alpha = !r.alpha;
        HBITMAP bitmap = CWVPImageManager::LoadBitmapResource(module, MAKEINTRESOURCEW(r.id), &alpha);
        ASSERT_NE(nullptr, bitmap) << r.id;
        EXPECT_EQ(r.alpha, alpha) << r.id;
        ::DeleteObject(bitmap);
    }
    EXPECT_TRUE(CWVPImageManager::IsPngResource(module, MAKEINTRESOURCEW(700)));
    EXPECT_TRUE(CWVPImageManager::IsAlphaBitmapResource(module, MAKEINTRESOURCEW(702)));
    HBITMAP alphaBitmap = CWVPImageManager::LoadAlphaBitmapResource(module, MAKEINTRESOURCEW(702));
    ASSERT_NE(nullptr, alphaBitmap);
    // The pattern's pixel (1, 0) from the top: alpha 255, red 8, green 0, blue 0x80.
    COLORREF pixel = CWVPImageManager::GetBitmapPixel(alphaBitmap, 1, 0);
    EXPECT_EQ(RGB(8, 0, 0x80), pixel);
    ::DeleteObject(alphaBitmap);
    EXPECT_EQ(nullptr, CWVPImageManager::LoadAlphaBitmapResource(module, MAKEINTRESOURCEW(600)));
    EXPECT_EQ(nullptr, CWVPImageManager::LoadBitmapResource(module, MAKEINTRESOURCEW(9999), &alpha));
}

TEST(ImageHelpers, SplitMirrorAndToolBarIds)
{
    std::vector<DWORD> words = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    HBITMAP strip = Section(6, 2, words);
    std::vector<HBITMAP> parts;
    ASSERT_TRUE(CWVPImageManager::SplitBitmap(strip, 3, parts));
    ASSERT_EQ(3u, parts.size());
    EXPECT_EQ((std::vector<DWORD>{3, 4, 9, 10}), Words(parts[1]));
    for (HBITMAP part : parts)
        ::DeleteObject(part);
    HBITMAP mirrored = CWVPImageManager::MirrorBitmap(strip);
    EXPECT_EQ((std::vector<DWORD>{6, 5, 4, 3, 2, 1, 12, 11, 10, 9, 8, 7}), Words(mirrored));
    ::DeleteObject(mirrored);
    HBITMAP copy = CWVPImageManager::CopyAlphaBitmap(strip);
    EXPECT_EQ(words, Words(copy));
    ::DeleteObject(copy);
    ::DeleteObject(strip);
    EXPECT_FALSE(CWVPImageManager::SplitBitmap(nullptr, 3, parts));

    std::vector<UINT> ids;
    CSize size;
    ASSERT_TRUE(CWVPImageManager::LoadToolBarResource(600, ids, size));
    EXPECT_EQ((std::vector<UINT>{100, 101, 102}), ids);
    EXPECT_EQ(16, size.cx);
    EXPECT_EQ(15, size.cy);
    EXPECT_FALSE(CWVPImageManager::LoadToolBarResource(601, ids, size));
}

// Icon group directories: sizes as stored (0 meaning 256) with their icon ids, in order; a
// directory shorter than its count, or none, is refused.
TEST(ImageHelpers, IconGroupDirectories)
{
    HMODULE module = ::GetModuleHandleW(nullptr);
    std::vector<WVPIconGroupEntry> entries;
    ASSERT_TRUE(WVPReadIconGroupDirectory(module, ::FindResourceW(module, MAKEINTRESOURCEW(800), RT_GROUP_ICON),
                                          entries));
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(16, entries[0].width);
    EXPECT_EQ(16, entries[0].height);
    EXPECT_EQ(17, entries[0].iconId);
    EXPECT_EQ(256, entries[1].width);
    EXPECT_EQ(48, entries[1].height);
    EXPECT_EQ(18, entries[1].iconId);
    EXPECT_FALSE(WVPReadIconGroupDirectory(module, ::FindResourceW(module, MAKEINTRESOURCEW(801), RT_GROUP_ICON),
                                           entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(WVPReadIconGroupDirectory(module, nullptr, entries));
    // The icon images named there do not exist: loading the group finds nothing and stores nothing.
    CWVPImageManager manager;
    EXPECT_FALSE(manager.SetIconFromResource(MAKEINTRESOURCEW(800), 5, 16, 16));
    EXPECT_EQ(nullptr, manager.GetIconSet(5));
}

TEST(ImageHelpers, IconSizeAndScaling)
{
    HBITMAP color = CWVPImageManager::CreateDIBSection32(nullptr, 16, 16, nullptr);
    HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, nullptr);
    ICONINFO info = {TRUE, 0, 0, mask, color};
    HICON icon = ::CreateIconIndirect(&info);
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(CSize(16, 16), CWVPImageManager::GetIconSize(icon));
    HICON scaled = CWVPImageManager::ScaleIcon(icon, 16, 16, 24);
    ASSERT_NE(nullptr, scaled);
    EXPECT_EQ(CSize(24, 24), CWVPImageManager::GetIconSize(scaled));
    EXPECT_EQ(nullptr, CWVPImageManager::ScaleIcon(icon, 16, 16, 0));
    HICON same = CWVPImageManager::ScaleIcon(icon, 16, 16, 16);
    EXPECT_NE(nullptr, same);
    for (HICON made : {icon, scaled, same})
        ::DestroyIcon(made);
    ::DeleteObject(color);
    ::DeleteObject(mask);
    // A monochrome icon's mask holds both halves.
    HBITMAP both = ::CreateBitmap(16, 32, 1, 1, nullptr);
    ICONINFO mono = {TRUE, 0, 0, both, nullptr};
    HICON monoIcon = ::CreateIconIndirect(&mono);
    EXPECT_EQ(CSize(16, 16), CWVPImageManager::GetIconSize(monoIcon));
    ::DestroyIcon(monoIcon);
    ::DeleteObject(both);
}

TEST(ImageHelpers, MaskedTransparentCopyDrawsWhatTheSystemDraws)
{
    DibCanvas source(8, 6, RGB(255, 0, 255));
    for (int y = 1; y < 5; ++y)
        for (int x = 2; x < 7; ++x)
            source.Set(x, y, RGB(x * 30, y * 40, 0)); // (2..6, 1) includes black at none; (0,*) stays magenta
    source.Set(3, 3, RGB(0, 0, 0));
    for (COLORREF transparent : {RGB(255, 0, 255), RGB(0, 0, 0)})
    {
        for (CRect target : {CRect(1, 2, 9, 8), CRect(0, 0, 16, 12)})
        {
            DibCanvas system(20, 14, RGB(10, 200, 10)), emulated(20, 14, RGB(10, 200, 10));
            ASSERT_TRUE(
                CWVPImageManager::TransparentBlt(system.dc(), target, source.dc(), CRect(0, 0, 8, 6), transparent));
            {
                NoSystemBlits absent;
                ASSERT_TRUE(CWVPImageManager::TransparentBlt(emulated.dc(), target, source.dc(), CRect(0, 0, 8, 6),
                                                             transparent));
            }
            for (int y = 0; y < 14; ++y)
                for (int x = 0; x < 20; ++x)
                    ASSERT_EQ(system.At(x, y), emulated.At(x, y)) << x << "," << y << " key " << transparent;
            if (transparent == RGB(255, 0, 255))
                EXPECT_EQ(RGB(10, 200, 10), emulated.At(target.left, target.top));
        }
    }
}

TEST(ImageHelpers, AlphaBlendEmulationDrawsWhatTheSystemDraws)
{
    DibCanvas source(6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
        {
            BYTE alpha = (BYTE)(x * 51);
            source.Set(x, y, RGB(200 * alpha / 255, (y * 60) * alpha / 255, 90 * alpha / 255), alpha);
        }
    for (CRect target : {CRect(2, 1, 8, 5), CRect(0, 0, 12, 8)})
    {
        DibCanvas system(14, 10, RGB(30, 100, 250)), emulated(14, 10, RGB(30, 100, 250));
        ASSERT_TRUE(CWVPImageManager::AlphaBlend(system.dc(), target, source.dc(), CRect(0, 0, 6, 4)));
        {
            NoSystemBlits absent;
            ASSERT_TRUE(CWVPImageManager::AlphaBlend(emulated.dc(), target, source.dc(), CRect(0, 0, 6, 4)));
        }
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 14; ++x)
            {
                COLORREF a = system.At(x, y), b = emulated.At(x, y);
                ASSERT_LE(abs((int)GetRValue(a) - GetRValue(b)), 1) << x << "," << y;
                ASSERT_LE(abs((int)GetGValue(a) - GetGValue(b)), 1) << x << "," << y;
                ASSERT_LE(abs((int)GetBValue(a) - GetBValue(b)), 1) << x << "," << y;
            }
        EXPECT_EQ(RGB(30, 100, 250), emulated.At(target.left, target.top)); // alpha 0 leaves the target
    }
}
