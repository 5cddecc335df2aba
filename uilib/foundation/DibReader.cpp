#include "uilib/foundation/DibReader.h"
#include <cstring>
#include <memory>

namespace
{
const DWORD kCoreHeaderSize = 12;        // BITMAPCOREHEADER
const DWORD kInfoHeaderSize = 40;        // BITMAPINFOHEADER
const DWORD kMasksInHeaderSize = 52;     // BITMAPV2INFOHEADER: red, green and blue masks in the header
const DWORD kAlphaMaskInHeaderSize = 56; // BITMAPV3INFOHEADER: and the alpha mask
const DWORD kAlphaBitFields = 6;         // BI_ALPHABITFIELDS
const SIZE_T kFileHeaderSize = 14;
const WORD kFileSignature = 0x4D42; // "BM"

DWORD ReadDword(const BYTE* p)
{
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}

WORD ReadWord(const BYTE* p)
{
    return WORD(p[0] | p[1] << 8);
}

// One channel of a bit-field pixel scaled to 8 bits.
struct Channel
{
    DWORD mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(DWORD m) : mask(m)
    {
        if (!mask)
            return;
        while (!(mask >> shift & 1))
            ++shift;
        while (shift + bits < 32 && (mask >> (shift + bits) & 1))
            ++bits;
    }

    BYTE Get(DWORD pixel) const
    {
        if (!bits)
            return 0;
        const DWORD value = (pixel & mask) >> shift;
        if (bits >= 8)
            return BYTE(value >> (bits - 8));
        const DWORD top = (1u << bits) - 1;
        return BYTE((value & top) * 255 / top);
    }
};

} // namespace

BOOL CWVPDibReader::ReadLayout(const void* data, SIZE_T size, CWVPDibLayout& layout)
{
    layout = CWVPDibLayout();
    const BYTE* bytes = static_cast<const BYTE*>(data);
    if (!bytes || size < 4)
        return FALSE;
    const DWORD headerSize = ReadDword(bytes);
    if (headerSize > size)
        return FALSE;
    LONGLONG width = 0;
    LONGLONG height = 0;
    WORD planes = 0;
    DWORD clrUsed = 0;
    if (headerSize == kCoreHeaderSize)
    {
        width = ReadWord(bytes + 4);
        height = ReadWord(bytes + 6);
        planes = ReadWord(bytes + 8);
        layout.bitCount = ReadWord(bytes + 10);
        layout.colourEntrySize = 3;
    }
    else if (headerSize >= kInfoHeaderSize)
    {
        width = LONG(ReadDword(bytes + 4));
        height = LONG(ReadDword(bytes + 8));
        planes = ReadWord(bytes + 12);
        layout.bitCount = ReadWord(bytes + 14);
        layout.compression = ReadDword(bytes + 16);
        clrUsed = ReadDword(bytes + 32);
    }
    else
        return FALSE;

    if (planes != 1 || width <= 0 || height == 0)
        return FALSE;
    if (height < 0)
    {
        layout.topDown = TRUE;
        height = -height;
    }
    if (width > kMaxSide || height > kMaxSide || ULONGLONG(width) * ULONGLONG(height) > kMaxPixels)
        return FALSE;
    layout.width = int(width);
    layout.height = int(height);

    SIZE_T next = headerSize;
    switch (layout.bitCount)
    {
    case 1:
    case 4:
    case 8:
        if (layout.compression != BI_RGB)
            return FALSE;
        layout.colourCount = clrUsed ? int(clrUsed > 256 ? 256 : clrUsed) : 1 << layout.bitCount;
        break;
    case 16:
    case 24:
    case 32:
        if (layout.compression == BI_RGB)
        {
            if (layout.bitCount == 16)
            {
                layout.masks[0] = 0x7C00;
                layout.masks[1] = 0x03E0;
                layout.masks[2] = 0x001F;
            }
            else
            {
                layout.masks[0] = 0xFF0000;
                layout.masks[1] = 0x00FF00;
                layout.masks[2] = 0x0000FF;
                layout.masks[3] = layout.bitCount == 32 ? 0xFF000000 : 0;
            }
        }
        else if ((layout.compression == BI_BITFIELDS || layout.compression == kAlphaBitFields) && layout.bitCount != 24)
        {
            // Masks sit inside a V2 or later header, or follow a 40-byte one.
            const int count = layout.compression == kAlphaBitFields ? 4 : 3;
            SIZE_T at = kInfoHeaderSize;
            if (headerSize == kInfoHeaderSize)
                next += SIZE_T(count) * 4;
            if (at + SIZE_T(count) * 4 > size)
                return FALSE;
            for (int i = 0; i < count; ++i)
                layout.masks[i] = ReadDword(bytes + at + i * 4);
            if (headerSize >= kAlphaMaskInHeaderSize && count == 3)
                layout.masks[3] = ReadDword(bytes + kInfoHeaderSize + 12);
            else if (headerSize < kMasksInHeaderSize && headerSize != kInfoHeaderSize)
                return FALSE;
            if (!layout.masks[0] && !layout.masks[1] && !layout.masks[2])
                return FALSE;
        }
        else
            return FALSE;
        // A colour table may still be present (an optimisation hint for palette devices): skip it.
        layout.colourCount = clrUsed > 256 ? 0 : int(clrUsed);
        if (clrUsed > 256)
            return FALSE;
        break;
    default:
        return FALSE;
    }

    layout.colourOffset = next;
    next += SIZE_T(layout.colourCount) * SIZE_T(layout.colourEntrySize);
    layout.pixelOffset = next;
    layout.stride = SIZE_T((ULONGLONG(layout.width) * ULONGLONG(layout.bitCount) + 31) / 32 * 4);
    const ULONGLONG need = ULONGLONG(layout.pixelOffset) + ULONGLONG(layout.stride) * ULONGLONG(layout.height);
    return need <= size && layout.colourOffset + SIZE_T(layout.colourCount) * layout.colourEntrySize <= size;
}

BOOL CWVPDibReader::Decode(const BYTE* data, SIZE_T size, const CWVPDibLayout& layout, CWVPDibImage& image)
{
    image = CWVPDibImage();
    if (!data || layout.width <= 0 || layout.height <= 0)
        return FALSE;
    const ULONGLONG need = ULONGLONG(layout.pixelOffset) + ULONGLONG(layout.stride) * ULONGLONG(layout.height);
    if (need > size || layout.colourOffset + SIZE_T(layout.colourCount) * layout.colourEntrySize > size)
        return FALSE;

    image.width = layout.width;
    image.height = layout.height;
    image.bitCount = layout.bitCount;
    image.hasAlphaChannel = layout.masks[3] != 0;
    image.pixels.assign(SIZE_T(layout.width) * SIZE_T(layout.height) * 4, 0);

    const Channel channels[4] = {Channel(layout.masks[0]), Channel(layout.masks[1]), Channel(layout.masks[2]),
                                 Channel(layout.masks[3])};
    const BYTE* table = data + layout.colourOffset;
    for (int y = 0; y < layout.height; ++y)
    {
        const int sourceRow = layout.topDown ? y : layout.height - 1 - y;
        const BYTE* in = data + layout.pixelOffset + SIZE_T(sourceRow) * layout.stride;
        BYTE* out = image.pixels.data() + SIZE_T(y) * SIZE_T(layout.width) * 4;
        for (int x = 0; x < layout.width; ++x, out += 4)
        {
            if (layout.bitCount <= 8)
            {
                const int perByte = 8 / layout.bitCount;
                const int shift = 8 - layout.bitCount * (x % perByte + 1);
                const int index = (in[x / perByte] >> shift) & ((1 << layout.bitCount) - 1);
                if (index < layout.colourCount)
                    std::memcpy(out, table + SIZE_T(index) * layout.colourEntrySize, 3);
                continue;
            }
            DWORD pixel = 0;
            if (layout.bitCount == 16)
                pixel = ReadWord(in + SIZE_T(x) * 2);
            else if (layout.bitCount == 24)
                pixel = DWORD(in[x * 3]) | DWORD(in[x * 3 + 1]) << 8 | DWORD(in[x * 3 + 2]) << 16;
            else
                pixel = ReadDword(in + SIZE_T(x) * 4);
            out[0] = channels[2].Get(pixel);
            out[1] = channels[1].Get(pixel);
            out[2] = channels[0].Get(pixel);
            out[3] = channels[3].Get(pixel);
        }
    }
    return TRUE;
}

BOOL CWVPDibReader::ReadPacked(const void* data, SIZE_T size, CWVPDibImage& image)
{
    CWVPDibLayout layout;
    if (!ReadLayout(data, size, layout))
    {
        image = CWVPDibImage();
        return FALSE;
    }
    return Decode(static_cast<const BYTE*>(data), size, layout, image);
}

BOOL CWVPDibReader::ReadFileBytes(const void* data, SIZE_T size, CWVPDibImage& image)
{
    image = CWVPDibImage();
    const BYTE* bytes = static_cast<const BYTE*>(data);
    if (!bytes || size < kFileHeaderSize + 4 || ReadWord(bytes) != kFileSignature)
        return FALSE;
    const BYTE* dib = bytes + kFileHeaderSize;
    const SIZE_T dibSize = size - kFileHeaderSize;
    CWVPDibLayout layout;
    if (!ReadLayout(dib, dibSize, layout))
        return FALSE;
    // The file header's offset wins when the pixels fit behind it and it does not point into the
    // header or colour table.
    const DWORD offBits = ReadDword(bytes + 10);
    if (offBits >= kFileHeaderSize + layout.pixelOffset)
    {
        const ULONGLONG end = ULONGLONG(offBits - kFileHeaderSize) + ULONGLONG(layout.stride) * layout.height;
        if (end <= dibSize)
            layout.pixelOffset = offBits - kFileHeaderSize;
    }
    return Decode(dib, dibSize, layout, image);
}

BOOL CWVPDibReader::ReadFile(LPCWSTR path, CWVPDibImage& image)
{
    image = CWVPDibImage();
    if (!path)
        return FALSE;
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> owner(file, ::CloseHandle);
    LARGE_INTEGER length = {};
    // A bitmap of the largest accepted size, with header and table, stays well below this.
    const LONGLONG kMaxFile = LONGLONG(kMaxPixels) * 4 + 65536;
    if (!::GetFileSizeEx(file, &length) || length.QuadPart <= 0 || length.QuadPart > kMaxFile)
        return FALSE;
    std::vector<BYTE> bytes(SIZE_T(length.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) || read != bytes.size())
        return FALSE;
    return ReadFileBytes(bytes.data(), bytes.size(), image);
}

BOOL CWVPDibReader::ReadResource(HMODULE module, LPCWSTR name, CWVPDibImage& image)
{
    image = CWVPDibImage();
    HRSRC resource = ::FindResourceW(module, name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    if (!resource)
        return FALSE;
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data)
        return FALSE;
    return ReadPacked(data, ::SizeofResource(module, resource), image);
}

HBITMAP CWVPDibReader::CreateDibSection(const CWVPDibImage& image, void** bits)
{
    if (bits)
        *bits = nullptr;
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() != SIZE_T(image.width) * SIZE_T(image.height) * 4)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = DWORD(image.pixels.size());
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap || !pixels)
    {
        if (bitmap)
            ::DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(pixels, image.pixels.data(), image.pixels.size());
    if (bits)
        *bits = pixels;
    return bitmap;
}
