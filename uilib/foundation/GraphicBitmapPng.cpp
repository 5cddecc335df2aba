#include "uilib/foundation/GraphicBitmapPng.h"

#include "uilib/foundation/LibPng.h"

#include <cstring>
#include <memory>
#include <vector>

#include "platform/mfc/Exception.h"
#include "platform/mfc/File.h"
#include "platform/mfc/MemFile.h"
#include "uilib/foundation/DibReader.h"

namespace
{
const int kSignatureSize = 8;
const DWORD kShortestResource = 9; // a resource this short cannot hold a PNG
const double kScreenGamma = 2.2;

// Reads from the framework file; a short read or a file error ends the decoding as an error.
void PNGCBAPI ReadFromFile(png_structp png, png_bytep data, png_size_t length)
{
    CFile* file = static_cast<CFile*>(png_get_io_ptr(png));
    UINT got = 0;
    try
    {
        got = file->Read(data, (UINT)length);
    }
    catch (CException* e)
    {
        e->Delete();
        got = 0;
    }
    if (got != length)
        png_error(png, "end of file");
}

// Owns libpng's read and info structures.
struct PngReadStructs
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadStructs()
    {
        if (png)
            png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

// The libpng part of a load, behind the signature: header, transformations, the whole image.
// Returns false on any libpng error; nothing here has a destructor that the error's jump could
// skip (the buffers belong to the caller).
bool DecodePng(png_structp png, png_infop info, std::vector<png_byte>& data, std::vector<png_bytep>& rowTable,
               CWVPDibImage& image)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_sig_bytes(png, kSignatureSize);
    png_read_info(png, info);
    int bitDepth = png_get_bit_depth(png, info);
    int colorType = png_get_color_type(png, info);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_expand(png);
    if (bitDepth < 8)
        png_set_expand(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_expand(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_color_16p background = nullptr;
    if (png_get_bKGD(png, info, &background))
        png_set_background(png, background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    double fileGamma = 0;
    if (png_get_gAMA(png, info, &fileGamma))
        png_set_gamma(png, kScreenGamma, fileGamma);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    int channels = png_get_channels(png, info);
    png_size_t rowBytes = png_get_rowbytes(png, info);
    if (width == 0 || height == 0 || width > (png_uint_32)CWVPDibReader::kMaxSide ||
        height > (png_uint_32)CWVPDibReader::kMaxSide || (ULONGLONG)width * height > CWVPDibReader::kMaxPixels ||
        (channels != 3 && channels != 4) || rowBytes != (png_size_t)width * channels)
        return false;
    data.resize(rowBytes * height);
    rowTable.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rowTable[y] = data.data() + rowBytes * y;
    png_read_image(png, rowTable.data());
    png_read_end(png, nullptr);

    image.width = (int)width;
    image.height = (int)height;
    image.bitCount = 32;
    image.hasAlphaChannel = channels == 4;
    image.pixels.resize((size_t)width * height * 4);
    const png_byte* source = data.data();
    BYTE* target = image.pixels.data();
    for (size_t i = 0, count = (size_t)width * height; i < count; ++i, source += channels, target += 4)
    {
        target[0] = source[2];
        target[1] = source[1];
        target[2] = source[0];
        target[3] = channels == 4 ? source[3] : 0;
    }
    return true;
}
} // namespace

BOOL CWVPGraphicBitmapPng::LoadFromFile(LPCWSTR path)
{
    CFile file;
    if (!path || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
    {
        m_bAlpha = FALSE;
        DeleteObject();
        return FALSE;
    }
    return LoadFromStream(&file);
}

BOOL CWVPGraphicBitmapPng::LoadFromResource(HMODULE module, HRSRC resource)
{
    m_bAlpha = FALSE;
    DeleteObject();
    if (!resource)
        return FALSE;
    HGLOBAL handle = ::LoadResource(module, resource);
    const BYTE* bytes = handle ? static_cast<const BYTE*>(::LockResource(handle)) : nullptr;
    DWORD size = ::SizeofResource(module, resource);
    if (!bytes || size <= kShortestResource)
        return FALSE;
    CMemFile file(const_cast<BYTE*>(bytes), size);
    return LoadFromStream(&file);
}

BOOL CWVPGraphicBitmapPng::LoadFromStream(CFile* file)
{
    m_bAlpha = FALSE;
    DeleteObject();
    if (!file)
        return FALSE;
    png_byte signature[kSignatureSize];
    UINT got = 0;
    try
    {
        got = file->Read(signature, kSignatureSize);
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
    if (got != kSignatureSize || png_sig_cmp(signature, 0, kSignatureSize) != 0)
        return FALSE;

    PngReadStructs structs;
    structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!structs.png)
        return FALSE;
    structs.info = png_create_info_struct(structs.png);
    if (!structs.info)
        return FALSE;
    png_set_read_fn(structs.png, file, &ReadFromFile);

    CWVPDibImage image;
    try
    {
        std::vector<png_byte> data;
        std::vector<png_bytep> rowTable;
        if (!DecodePng(structs.png, structs.info, data, rowTable, image))
            return FALSE;
    }
    catch (const std::bad_alloc&)
    {
        return FALSE;
    }
    HBITMAP bitmap = CWVPDibReader::CreateDibSection(image);
    if (!bitmap)
        return FALSE;
    Attach(bitmap);
    m_bAlpha = image.hasAlphaChannel;
    return TRUE;
}
