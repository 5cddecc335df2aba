#include "RwTest.h"
#include "ArchiveBytes.h"
#include "DibCanvas.h"
#include "platform/mfc/Mfc.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
using Bytes = std::vector<BYTE>;

Bytes Store(CWVPImageManager& manager)
{
    return StoreArchiveBytes([&](CArchive& ar) { manager.Serialize(ar); });
}

// Loads the bytes; the cause of an archive exception, or -1.
int Load(CWVPImageManager& manager, const Bytes& bytes)
{
    return LoadArchiveBytes(bytes, [&](CArchive& ar) { manager.Serialize(ar); });
}

// A 16x16 bottom-up 32-bit bitmap: an opaque square of the colour inside transparent black.
HBITMAP AlphaSquare(COLORREF colour)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = 16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    DWORD* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            bits[y * 16 + x] = (x >= 4 && x < 12 && y >= 4 && y < 12) ? DibCanvas::Raw(colour, 255) : 0;
    return bitmap;
}

// A 16x16 icon (colour and mask): a square of the colour, transparent around it.
HICON MaskedSquare(COLORREF colour)
{
    std::vector<DWORD> pixels(16 * 16, 0);
    std::vector<WORD> mask(16, 0xFFFF);
    for (int y = 4; y < 12; ++y)
    {
        mask[y] = 0x0FF0 ^ 0xFFFF; // bits 4..11 of each row clear (drawn); bytes read MSB first
        for (int x = 4; x < 12; ++x)
            pixels[y * 16 + x] = DibCanvas::Raw(colour, 0);
    }
    for (WORD& row : mask)
        row = WORD((row >> 8) | (row << 8));
    HBITMAP colourBitmap = ::CreateBitmap(16, 16, 1, 32, pixels.data());
    HBITMAP maskBitmap = ::CreateBitmap(16, 16, 1, 1, mask.data());
    ICONINFO info = {TRUE, 0, 0, maskBitmap, colourBitmap};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(colourBitmap);
    ::DeleteObject(maskBitmap);
    return icon;
}

void Draw(CWVPImageManager& manager, UINT id, int width, DibCanvas& canvas)
{
    canvas.Fill(RGB(7, 8, 9));
    CWVPImageManagerIcon* icon = manager.GetImage(id, width);
    ASSERT_NE(nullptr, icon);
    icon->Draw(canvas.dc(), CPoint(0, 0));
}

void AddAlphaIcon(CWVPImageManager& manager, UINT id, COLORREF colour)
{
    CWVPImageManagerIconImage image;
    image.SetBitmap(AlphaSquare(colour));
    ASSERT_TRUE(manager.SetIcon(image, id, 16, 16));
}
} // namespace

// A manager without icons stores a zero count; one alpha icon for id 100 stores exactly the set,
// the check text, the icon's size and schema, its premultiplied pixels and four empty images.
TEST(ImageManagerSerializeTest, StoresTheDocumentedBytes)
{
    CWVPImageManager empty;
    EXPECT_EQ(Bytes({0, 0}), Store(empty));

    CWVPImageManager manager;
    AddAlphaIcon(manager, 100, RGB(200, 100, 50));
    const Bytes bytes = Store(manager);
    Bytes expected = {1, 0, 100, 0, 0, 0, 0xFF, 0xFE, 0xFF, 21};
    for (const char* p = "CWVPImageManagerIcons"; *p; ++p)
        expected.insert(expected.end(), {BYTE(*p), 0});
    expected.insert(expected.end(), {1, 0, 16, 0, 0, 0, 16, 0, 0, 0, 33, 0, 0, 0, 52, 0});
    ASSERT_GE(bytes.size(), expected.size() + 52 + 2 + 1024 + 2 + 16);
    EXPECT_EQ(expected, Bytes(bytes.begin(), bytes.begin() + expected.size()));
    BITMAPINFOHEADER header = {};
    std::memcpy(&header, &bytes[expected.size()], sizeof(header));
    EXPECT_EQ(40u, header.biSize);
    EXPECT_EQ(16, header.biWidth);
    EXPECT_EQ(16, header.biHeight);
    EXPECT_EQ(32, header.biBitCount);
    size_t at = expected.size() + 52;
    EXPECT_EQ(Bytes({0, 4}), Bytes(bytes.begin() + at, bytes.begin() + at + 2));
    at += 2;
    // Pixel (5, 5) of the bottom-up rows: the opaque colour; (0, 0) transparent black.
    DWORD pixel = 0;
    std::memcpy(&pixel, &bytes[at + (5 * 16 + 5) * 4], 4);
    EXPECT_EQ(DibCanvas::Raw(RGB(200, 100, 50), 255), pixel);
    std::memcpy(&pixel, &bytes[at], 4);
    EXPECT_EQ(0u, pixel);
    at += 1024;
    EXPECT_EQ(Bytes(2 + 16, 0), Bytes(bytes.begin() + at, bytes.end()));
}

// Stored, loaded and stored again the bytes are the same, whatever order the icons were added in
// (ids ascending, then widths); the reloaded icons draw the same pixels, masked icons included.
TEST(ImageManagerSerializeTest, RoundTripKeepsBytesAndPixels)
{
    CWVPImageManager manager;
    AddAlphaIcon(manager, 300, RGB(10, 200, 30));
    HICON masked = MaskedSquare(RGB(40, 50, 220));
    CWVPImageManagerIconImage maskedImage;
    maskedImage.SetIcon(masked);
    ASSERT_TRUE(manager.SetIcon(maskedImage, 100, 16, 16));
    AddAlphaIcon(manager, 200, RGB(250, 250, 0));
    const Bytes first = Store(manager);

    DibCanvas before100(16, 16), before300(16, 16), after100(16, 16), after300(16, 16);
    Draw(manager, 100, 16, before100);
    Draw(manager, 300, 16, before300);

    CWVPImageManager reloaded;
    AddAlphaIcon(reloaded, 999, RGB(1, 1, 1)); // replaced by the load
    ASSERT_EQ(-1, Load(reloaded, first));
    EXPECT_EQ(nullptr, reloaded.GetIconSet(999));
    EXPECT_EQ(first, Store(reloaded));
    Draw(reloaded, 100, 16, after100);
    Draw(reloaded, 300, 16, after300);
    EXPECT_EQ(0, after100.Differences([&](int x, int y) { return before100.Rgb(x, y); }));
    EXPECT_EQ(0, after300.Differences([&](int x, int y) { return before300.Rgb(x, y); }));
    EXPECT_EQ(RGB(40, 50, 220), after100.At(6, 6));
    EXPECT_EQ(RGB(7, 8, 9), after100.At(1, 1));
    EXPECT_EQ(RGB(10, 200, 30), after300.At(6, 6));
}

// A wrong check text fails with bad-class; an older schema without checked and pressed images
// loads; a bitmap record with impossible sizes fails that icon alone, without a huge allocation.
TEST(ImageManagerSerializeTest, CheckTextSchemaAndBadRecords)
{
    CWVPImageManager manager;
    AddAlphaIcon(manager, 100, RGB(200, 100, 50));
    const Bytes good = Store(manager);
    const size_t checkText = 10;
    for (size_t i = 0; i < 21; ++i)
    {
        Bytes bad = good;
        bad[checkText + 2 * i] ^= 0x20;
        CWVPImageManager loaded;
        EXPECT_EQ(CArchiveException::badClass, Load(loaded, bad)) << i;
    }

    const size_t schemaAt = checkText + 42 + 2 + 4 + 4;
    ASSERT_EQ(33, good[schemaAt]);
    Bytes older = good;
    older[schemaAt] = 7;
    older.resize(older.size() - 8); // no checked and pressed blocks
    CWVPImageManager loaded;
    ASSERT_EQ(-1, Load(loaded, older));
    EXPECT_EQ(good, Store(loaded));

    Bytes huge = good;
    const size_t pixelSizeAt = schemaAt + 4 + 2 + 52;
    huge[pixelSizeAt] = 0xFF; // pixel size 0xFFFF: a 32-bit count follows
    huge[pixelSizeAt + 1] = 0xFF;
    huge.insert(huge.begin() + pixelSizeAt + 2, {0xFF, 0xFF, 0xFF, 0x7F});
    CWVPImageManager truncated;
    EXPECT_EQ(-1, Load(truncated, huge)); // the icon's failure stays inside it
    ASSERT_NE(nullptr, truncated.GetIconSet(100));

    Bytes wrongHeader = good;
    wrongHeader[schemaAt + 4] = 0x30; // header size 48 does not match a 32-bit bitmap
    CWVPImageManager rejected;
    EXPECT_EQ(-1, Load(rejected, wrongHeader));
    CWVPImageManagerIcon* icon = rejected.GetImage(100, 16);
    ASSERT_NE(nullptr, icon);
    EXPECT_TRUE(icon->GetNormalIcon().IsEmpty());
}
