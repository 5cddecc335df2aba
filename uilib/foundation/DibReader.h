#pragma once
// The one reader of device-independent bitmaps for the user-interface library and the skin
// framework: BMP files and RT_BITMAP resources are checked field by field against the bytes they
// have (header size, colour masks, colour table, sizes in 64 bits) and handed out as top-down
// 32-bit BGRA pixels, so that no loader reads past a bitmap or trusts its header.
#include <windows.h>
#include <vector>

// A decoded bitmap: width x height pixels, rows top-down, each pixel blue, green, red, alpha.
struct CWVPDibImage
{
    int width = 0;
    int height = 0;
    int bitCount = 0;             // depth of the source
    BOOL hasAlphaChannel = FALSE; // the source carries alpha (32 bits, or an alpha mask)
    std::vector<BYTE> pixels;     // width * height * 4 bytes; alpha 0 where the source has none
};

// What the header of a bitmap says, after its checks: where the pixels start and how they are laid.
struct CWVPDibLayout
{
    int width = 0;
    int height = 0; // positive
    BOOL topDown = FALSE;
    int bitCount = 0;
    DWORD compression = BI_RGB;
    DWORD masks[4] = {}; // red, green, blue, alpha (bit fields and the default layouts)
    int colourCount = 0; // entries of the colour table
    int colourEntrySize = 4;
    SIZE_T colourOffset = 0;
    SIZE_T pixelOffset = 0;
    SIZE_T stride = 0; // bytes per source row, padded to 4
};

class CWVPDibReader
{
  public:
    // Largest width or height accepted, and the most pixels one bitmap may hold.
    static const int kMaxSide = 32768;
    static const ULONGLONG kMaxPixels = 64ull * 1024 * 1024;

    // A packed DIB (info header, masks, colour table, pixels): the layout of an RT_BITMAP resource.
    static BOOL ReadPacked(const void* data, SIZE_T size, CWVPDibImage& image);
    // A BMP file's bytes: the 14-byte file header, then a packed DIB whose pixels start at the
    // file header's offset (or right behind the colour table when that offset is unusable).
    static BOOL ReadFileBytes(const void* data, SIZE_T size, CWVPDibImage& image);
    static BOOL ReadFile(LPCWSTR path, CWVPDibImage& image);
    // An RT_BITMAP resource of a module.
    static BOOL ReadResource(HMODULE module, LPCWSTR name, CWVPDibImage& image);

    // Checks a packed DIB's header against its size and lays out where its parts are. The pixel
    // offset is the packed one; a file reader may move it.
    static BOOL ReadLayout(const void* data, SIZE_T size, CWVPDibLayout& layout);
    // Decodes pixels laid out as the layout says; the layout's pixel offset must leave room for them.
    static BOOL Decode(const BYTE* data, SIZE_T size, const CWVPDibLayout& layout, CWVPDibImage& image);

    // A 32-bit top-down DIB section with the image's pixels, or null; bits receives its pixels.
    static HBITMAP CreateDibSection(const CWVPDibImage& image, void** bits = nullptr);
};
