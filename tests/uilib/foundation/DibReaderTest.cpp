#include "RwTest.h"
#include "TestPaths.h"
#include "uilib/foundation/DibReader.h"
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace
{
// One bitmap layout to write: the header kind, the pixel format and what goes between header and pixels.
struct Format
{
    const char* name;
    DWORD headerSize; // 12, 40, 108 or 124
    WORD bits;
    DWORD compression;
    DWORD masks[4]; // bit fields (red, green, blue, alpha), also written for the header kinds that hold them
    int colours;    // colour-table entries (biClrUsed for an info header)
    bool topDown;
};

void Put16(std::vector<BYTE>& out, size_t at, DWORD v)
{
    out[at] = BYTE(v);
    out[at + 1] = BYTE(v >> 8);
}

void Put32(std::vector<BYTE>& out, size_t at, DWORD v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = BYTE(v >> (8 * i));
}

// The picture every case holds: a few colours that every format can store exactly.
const DWORD kPalette[4] = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0x800000FF}; // ARGB
DWORD ColourAt(int x, int y, int colours)
{
    return kPalette[(x + 2 * y) % colours % 4];
}

DWORD Pack(DWORD argb, const DWORD masks[4])
{
    DWORD packed = 0;
    const int shifts[4] = {16, 8, 0, 24};
    for (int c = 0; c < 4; ++c)
    {
        if (!masks[c])
            continue;
        const DWORD value = argb >> shifts[c] & 0xFF;
        int low = 0, width = 0;
        while (!(masks[c] >> low & 1))
            ++low;
        while (low + width < 32 && (masks[c] >> (low + width) & 1))
            ++width;
        packed |= ((value >> (8 - (width < 8 ? width : 8))) << low) & masks[c];
    }
    return packed;
}

// A packed DIB of the format, width x height, or a BMP file with fileHeader.
std::vector<BYTE> Write(const Format& f, int width, int height, bool fileHeader, size_t* pixelOffset = nullptr)
{
    const bool core = f.headerSize == 12;
    const bool masksAfter = f.headerSize == 40 && (f.compression == BI_BITFIELDS || f.compression == 6);
    const int maskCount = f.compression == 6 ? 4 : 3;
    const size_t entry = core ? 3 : 4;
    const size_t start = fileHeader ? 14 : 0;
    const size_t tableAt = start + f.headerSize + (masksAfter ? maskCount * 4 : 0);
    const size_t pixelsAt = tableAt + f.colours * entry;
    const size_t stride = (size_t(width) * f.bits + 31) / 32 * 4;
    std::vector<BYTE> out(pixelsAt + stride * height);
    if (pixelOffset)
        *pixelOffset = pixelsAt;
    if (fileHeader)
    {
        Put16(out, 0, 0x4D42);
        Put32(out, 2, DWORD(out.size()));
        Put32(out, 10, DWORD(pixelsAt));
    }
    const size_t h = start;
    Put32(out, h, f.headerSize);
    if (core)
    {
        Put16(out, h + 4, width);
        Put16(out, h + 6, height);
        Put16(out, h + 8, 1);
        Put16(out, h + 10, f.bits);
    }
    else
    {
        Put32(out, h + 4, width);
        Put32(out, h + 8, DWORD(f.topDown ? -height : height));
        Put16(out, h + 12, 1);
        Put16(out, h + 14, f.bits);
        Put32(out, h + 16, f.compression);
        Put32(out, h + 32, f.bits <= 8 ? f.colours : 0);
        if (f.headerSize > 40)
            for (int c = 0; c < 4; ++c)
                Put32(out, h + 40 + 4 * c, f.masks[c]);
        if (masksAfter)
            for (int c = 0; c < maskCount; ++c)
                Put32(out, h + 40 + 4 * c, f.masks[c]);
    }
    for (int i = 0; i < f.colours; ++i)
    {
        const DWORD argb = kPalette[i % 4];
        out[tableAt + i * entry] = BYTE(argb);
        out[tableAt + i * entry + 1] = BYTE(argb >> 8);
        out[tableAt + i * entry + 2] = BYTE(argb >> 16);
    }
    for (int y = 0; y < height; ++y)
    {
        const int row = f.topDown ? y : height - 1 - y;
        BYTE* p = &out[pixelsAt + row * stride];
        for (int x = 0; x < width; ++x)
        {
            const int colours = f.colours ? f.colours : 4;
            const DWORD argb = ColourAt(x, y, colours);
            if (f.bits <= 8)
            {
                const int index = (x + 2 * y) % colours;
                const int perByte = 8 / f.bits;
                p[x / perByte] |= BYTE(index << (8 - f.bits * (x % perByte + 1)));
            }
            else
            {
                const DWORD packed = Pack(argb, f.masks);
                for (int b = 0; b < f.bits / 8; ++b)
                    p[x * (f.bits / 8) + b] = BYTE(packed >> (8 * b));
            }
        }
    }
    return out;
}

const Format kFormats[] = {
    {"24-bit", 40, 24, BI_RGB, {0xFF0000, 0xFF00, 0xFF, 0}, 0, false},
    {"32-bit top-down", 40, 32, BI_RGB, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, 0, true},
    {"V5 RGBA masks", 124, 32, BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, 0, false},
    {"V4 565", 108, 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F, 0}, 0, false},
    {"565 masks after header", 40, 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F, 0}, 0, true},
    {"16-bit 555", 40, 16, BI_RGB, {0x7C00, 0x03E0, 0x001F, 0}, 0, false},
    {"8-bit, 3 colours", 40, 8, BI_RGB, {}, 3, false},
    {"4-bit", 40, 4, BI_RGB, {}, 16, false},
    {"1-bit", 40, 1, BI_RGB, {}, 2, false},
    {"core 8-bit", 12, 8, BI_RGB, {}, 256, false},
    {"core 24-bit", 12, 24, BI_RGB, {0xFF0000, 0xFF00, 0xFF, 0}, 0, false},
};

std::string WriteTemp(const std::string& name, const std::vector<BYTE>& bytes)
{
    const std::string path = rwtest::ScratchDir("DibReader") + "/" + name + ".bmp";
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

// GDI's own drawing of a packed DIB into a 32-bit top-down section: the independent view of the bytes.
std::vector<BYTE> GdiPixels(const std::vector<BYTE>& dib, size_t pixelOffset, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, section);
    const int rows = ::StretchDIBits(dc, 0, 0, width, height, 0, 0, width, height, dib.data() + pixelOffset,
                                     reinterpret_cast<const BITMAPINFO*>(dib.data()), DIB_RGB_COLORS, SRCCOPY);
    ::GdiFlush();
    std::vector<BYTE> pixels(static_cast<const BYTE*>(bits), static_cast<const BYTE*>(bits) + width * height * 4);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(section);
    return rows > 0 ? pixels : std::vector<BYTE>();
}
} // namespace

// Every layout decodes to the picture that was written, and to what GDI itself reads from the file.
TEST(DibReaderTest, EveryLayoutDecodesToThePictureGdiSees)
{
    const int width = 7, height = 3; // odd width: rows are padded in every depth
    for (const Format& f : kFormats)
    {
        SCOPED_TRACE(f.name);
        CWVPDibImage packed;
        size_t pixelOffset = 0;
        const std::vector<BYTE> dib = Write(f, width, height, false, &pixelOffset);
        ASSERT_TRUE(CWVPDibReader::ReadPacked(dib.data(), dib.size(), packed));
        EXPECT_EQ(width, packed.width);
        EXPECT_EQ(height, packed.height);
        EXPECT_EQ(f.bits, packed.bitCount);
        EXPECT_EQ(f.masks[3] != 0, bool(packed.hasAlphaChannel));

        CWVPDibImage fromFile;
        const std::vector<BYTE> file = Write(f, width, height, true);
        ASSERT_TRUE(CWVPDibReader::ReadFileBytes(file.data(), file.size(), fromFile));
        EXPECT_EQ(packed.pixels, fromFile.pixels);

        const std::vector<BYTE> gdi = GdiPixels(dib, pixelOffset, width, height);
        ASSERT_EQ(packed.pixels.size(), gdi.size());
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const BYTE* p = &packed.pixels[(y * width + x) * 4];
                const DWORD argb = ColourAt(x, y, f.colours ? f.colours : 4);
                EXPECT_EQ(BYTE(argb), p[0]) << x << "," << y;
                EXPECT_EQ(BYTE(argb >> 8), p[1]) << x << "," << y;
                EXPECT_EQ(BYTE(argb >> 16), p[2]) << x << "," << y;
                EXPECT_EQ(f.masks[3] ? BYTE(argb >> 24) : 0, p[3]) << x << "," << y;
                EXPECT_EQ(0, std::memcmp(p, &gdi[(y * width + x) * 4], 3)) << x << "," << y;
            }
    }
}

// Headers that lie about their bytes, or describe what no bitmap can be, are refused without reading
// past the data.
TEST(DibReaderTest, DamagedHeadersAreRefused)
{
    const Format& f = kFormats[0];
    const std::vector<BYTE> good = Write(f, 5, 4, false);
    struct Case
    {
        const char* name;
        size_t at;
        DWORD value;
        int width;
    } cases[] = {
        {"header size too small", 0, 30, 4},
        {"header size past the data", 0, 100000, 4},
        {"zero width", 4, 0, 4},
        {"negative width", 4, DWORD(-5), 4},
        {"zero height", 8, 0, 4},
        {"most negative height", 8, DWORD(INT_MIN), 4},
        {"two planes", 12, 0x00180002, 2},
        {"7 bits per pixel", 14, 7, 2},
        {"run-length compression", 16, BI_RLE8, 4},
        {"huge width", 4, 100000, 4},
        {"too many pixels", 4, 30000, 4},
        {"more pixels than bytes", 8, 400, 4},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> bad = good;
        if (c.width == 2)
            Put16(bad, c.at, WORD(c.value));
        else
            Put32(bad, c.at, c.value);
        if (std::string(c.name) == "too many pixels")
            Put32(bad, 8, 30000);
        CWVPDibImage image;
        EXPECT_FALSE(CWVPDibReader::ReadPacked(bad.data(), bad.size(), image));
        EXPECT_TRUE(image.pixels.empty());
    }
    // Every truncation fails.
    for (size_t size = 0; size < good.size(); ++size)
    {
        CWVPDibImage image;
        EXPECT_FALSE(CWVPDibReader::ReadPacked(good.data(), size, image)) << size;
    }
    // A colour table larger than any depth allows.
    std::vector<BYTE> table = Write(kFormats[6], 5, 4, false);
    Put32(table, 32, 1000);
    CWVPDibImage image;
    EXPECT_FALSE(CWVPDibReader::ReadPacked(table.data(), table.size(), image));
    // A file without the signature.
    std::vector<BYTE> file = Write(f, 5, 4, true);
    file[0] = 'X';
    EXPECT_FALSE(CWVPDibReader::ReadFileBytes(file.data(), file.size(), image));
}

// A file header whose pixel offset points nowhere useful still reads the pixels behind the header.
TEST(DibReaderTest, UnusableFileOffsetFallsBackToThePackedLayout)
{
    std::vector<BYTE> file = Write(kFormats[0], 5, 4, true);
    CWVPDibImage expected, image;
    ASSERT_TRUE(CWVPDibReader::ReadFileBytes(file.data(), file.size(), expected));
    for (DWORD offset : {DWORD(0), DWORD(20), DWORD(file.size()), DWORD(0xFFFFFFF0)})
    {
        Put32(file, 10, offset);
        ASSERT_TRUE(CWVPDibReader::ReadFileBytes(file.data(), file.size(), image)) << offset;
        EXPECT_EQ(expected.pixels, image.pixels) << offset;
    }
}

// The DIB section holds the decoded pixels top-down; files and resources go through the same checks.
TEST(DibReaderTest, SectionsFilesAndResources)
{
    const std::vector<BYTE> file = Write(kFormats[2], 6, 5, true);
    const std::string path = WriteTemp("v5", file);
    WCHAR wpath[MAX_PATH] = {};
    const std::string dos = rwtest::ToWin32Path(path);
    ::MultiByteToWideChar(CP_UTF8, 0, dos.c_str(), -1, wpath, MAX_PATH);
    CWVPDibImage image;
    ASSERT_TRUE(CWVPDibReader::ReadFile(wpath, image));
    void* bits = nullptr;
    HBITMAP section = CWVPDibReader::CreateDibSection(image, &bits);
    ASSERT_NE(nullptr, section);
    DIBSECTION info = {};
    ASSERT_EQ(int(sizeof info), ::GetObjectW(section, sizeof info, &info));
    EXPECT_EQ(6, info.dsBm.bmWidth);
    EXPECT_EQ(5, info.dsBm.bmHeight);
    EXPECT_EQ(32, info.dsBm.bmBitsPixel);
    EXPECT_EQ(0, std::memcmp(bits, image.pixels.data(), image.pixels.size()));
    // The bottom-left pixel in memory order comes last: row 4 holds ColourAt(0, 4).
    const BYTE* last = static_cast<const BYTE*>(bits) + (4 * 6) * 4;
    EXPECT_EQ(BYTE(ColourAt(0, 4, 4) >> 16), last[2]);
    ::DeleteObject(section);

    EXPECT_FALSE(CWVPDibReader::ReadFile(L"Z:\\no\\such\\file.bmp", image));
    EXPECT_FALSE(CWVPDibReader::ReadResource(::GetModuleHandleW(nullptr), L"NO_SUCH_BITMAP", image));
    EXPECT_EQ(nullptr, CWVPDibReader::CreateDibSection(CWVPDibImage()));
}
