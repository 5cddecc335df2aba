// Saving and loading the image manager's icons: sets by ascending command id, icons by ascending
// width, each image as device-independent bitmaps (an icon's colour and mask, or an alpha bitmap
// with premultiplied pixels).
#include "uilib/foundation/ImageManager.h"

#include "platform/mfc/Mfc.h"
#include "uilib/foundation/ImageManagerIcon.h"
#include "uilib/foundation/PropExchangeArchive.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace
{
const wchar_t kCheckSum[] = L"CWVPImageManagerIcons";
const int kDefaultWidth = 16;
const UINT kIconSchema = 33;
// Schemas from which a stream holds the checked and the pressed images, and premultiplied pixels.
const UINT kSchemaChecked = 7;
const UINT kSchemaPressed = 16;
const UINT kSchemaPremultiplied = 24;
// The largest bitmap a record may describe: icons are far smaller.
const LONG kMaxSide = 1024;
const DWORD kHeaderBytes = sizeof(BITMAPINFOHEADER);
const UINT kSkipChunk = 4096;

DWORD ColourEntries(WORD bitCount)
{
    return bitCount == 4 ? 16 : bitCount == 8 ? 256 : 3;
}

struct BitmapInfoBuffer
{
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

// Header size, header, pixel size, pixels; a single 0 when the bitmap cannot be read.
void WriteBitmap(CArchive& ar, HBITMAP hBitmap)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectW(hBitmap, sizeof(bm), &bm))
    {
        ar.WriteCount(0);
        return;
    }
    BitmapInfoBuffer info = {};
    info.header.biSize = kHeaderBytes;
    info.header.biWidth = bm.bmWidth;
    info.header.biHeight = bm.bmHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = bm.bmBitsPixel;
    info.header.biCompression = BI_RGB;
    HDC hdc = ::GetDC(nullptr);
    std::vector<BYTE> pixels;
    bool ok =
        ::GetDIBits(hdc, hBitmap, 0, bm.bmHeight, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != 0;
    if (ok)
    {
        const DWORD size = info.header.biSizeImage ? info.header.biSizeImage
                                                   : DWORD(info.header.biWidth) * std::abs(info.header.biHeight) * 4;
        pixels.resize(size);
        ok = ::GetDIBits(hdc, hBitmap, 0, bm.bmHeight, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                         DIB_RGB_COLORS) != 0;
    }
    ::ReleaseDC(nullptr, hdc);
    if (!ok)
    {
        ar.WriteCount(0);
        return;
    }
    const DWORD headerSize = kHeaderBytes + ColourEntries(info.header.biBitCount) * sizeof(RGBQUAD);
    ar.WriteCount(headerSize);
    ar.Write(&info, headerSize);
    ar.WriteCount(pixels.size());
    ar.Write(pixels.data(), static_cast<UINT>(pixels.size()));
}

void ReadExactly(CArchive& ar, void* buffer, UINT bytes)
{
    if (ar.Read(buffer, bytes) != bytes)
        AfxThrowArchiveException(CArchiveException::endOfFile);
}

// A bitmap record: null when absent. A record whose sizes do not describe a sane bitmap fails
// with bad-index; a stream that ends inside it with end-of-file.
HBITMAP ReadBitmap(CArchive& ar, BYTE** ppBits = nullptr)
{
    const DWORD_PTR headerSize = ar.ReadCount();
    if (headerSize == 0)
        return nullptr;
    BitmapInfoBuffer info = {};
    if (headerSize < kHeaderBytes || headerSize > sizeof(info))
        AfxThrowArchiveException(CArchiveException::badIndex);
    ReadExactly(ar, &info, static_cast<UINT>(headerSize));
    BITMAPINFOHEADER& h = info.header;
    const bool bitsKnown = h.biBitCount == 1 || h.biBitCount == 4 || h.biBitCount == 8 || h.biBitCount == 16 ||
                           h.biBitCount == 24 || h.biBitCount == 32;
    if (h.biSize != kHeaderBytes || !bitsKnown || h.biPlanes != 1 || h.biCompression != BI_RGB || h.biWidth <= 0 ||
        h.biWidth > kMaxSide || h.biHeight == 0 || std::abs(h.biHeight) > kMaxSide ||
        headerSize != kHeaderBytes + ColourEntries(h.biBitCount) * sizeof(RGBQUAD))
        AfxThrowArchiveException(CArchiveException::badIndex);
    const DWORD_PTR pixelSize = ar.ReadCount();
    if (pixelSize == 0)
        AfxThrowArchiveException(CArchiveException::badIndex);
    const DWORD stride = ((DWORD(h.biWidth) * h.biBitCount + 31) / 32) * 4;
    const DWORD needed = stride * DWORD(std::abs(h.biHeight));
    h.biSizeImage = needed;
    void* bits = nullptr;
    HBITMAP hBitmap =
        ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!hBitmap)
        AfxThrowArchiveException(CArchiveException::badIndex);
    try
    {
        const DWORD copied = static_cast<DWORD>(std::min<DWORD_PTR>(pixelSize, needed));
        ReadExactly(ar, bits, copied);
        BYTE skip[kSkipChunk];
        for (DWORD_PTR left = pixelSize - copied; left;)
        {
            const UINT n = static_cast<UINT>(std::min<DWORD_PTR>(left, kSkipChunk));
            ReadExactly(ar, skip, n);
            left -= n;
        }
    }
    catch (...)
    {
        ::DeleteObject(hBitmap);
        throw;
    }
    if (ppBits)
        *ppBits = static_cast<BYTE*>(bits);
    return hBitmap;
}

void WriteImageBlock(CArchive& ar, const CWVPImageManagerIconImage& image)
{
    CWVPImageManagerIconImage standalone;
    standalone.Copy(image);
    if (standalone.GetIcon())
    {
        ICONINFO info = {};
        if (::GetIconInfo(standalone.GetIcon(), &info))
        {
            WriteBitmap(ar, info.hbmColor);
            WriteBitmap(ar, info.hbmMask);
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
            if (info.hbmMask)
                ::DeleteObject(info.hbmMask);
            return;
        }
    }
    else if (standalone.GetBitmap() && standalone.GetPremultipliedBits())
    {
        WriteBitmap(ar, standalone.GetBitmap());
        ar.WriteCount(0);
        return;
    }
    ar.WriteCount(0);
    ar.WriteCount(0);
}

// One image block into the image: an icon rebuilt from colour and mask, or an alpha bitmap.
void ReadImageBlock(CArchive& ar, UINT schema, CWVPImageManagerIconImage& image)
{
    BYTE* bits = nullptr;
    HBITMAP hColour = ReadBitmap(ar, &bits);
    HBITMAP hMask = nullptr;
    try
    {
        hMask = ReadBitmap(ar);
    }
    catch (...)
    {
        if (hColour)
            ::DeleteObject(hColour);
        throw;
    }
    if (hColour && hMask)
    {
        BITMAP bm = {};
        ::GetObjectW(hColour, sizeof(bm), &bm);
        HIMAGELIST list = ImageList_Create(bm.bmWidth, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
        HICON hIcon = nullptr;
        if (list)
        {
            if (ImageList_Add(list, hColour, hMask) >= 0)
                hIcon = ImageList_GetIcon(list, 0, ILD_NORMAL);
            ImageList_Destroy(list);
        }
        ::DeleteObject(hColour);
        ::DeleteObject(hMask);
        if (hIcon)
            image.SetIcon(hIcon);
    }
    else if (hColour && schema > kSchemaPremultiplied)
        image.SetPremultipliedBitmap(hColour, bits);
    else if (hColour)
        image.SetBitmap(hColour);
    else if (hMask)
        ::DeleteObject(hMask);
}
} // namespace

void CWVPImageManagerIcon::Serialize(CArchive& ar)
{
    // The images in stream order: normal, disabled, hot, checked, pressed.
    const int slots[] = {ImageNormal, ImageDisabled, ImageHot, ImageChecked, ImagePressed};
    if (ar.IsStoring())
    {
        ar << static_cast<int>(m_height) << kIconSchema;
        for (int slot : slots)
            WriteImageBlock(ar, *m_images[slot]);
        return;
    }
    int height = 0;
    UINT schema = 0;
    ar >> height >> schema;
    m_height = height;
    for (int slot : slots)
    {
        if ((slot == ImageChecked && schema <= kSchemaChecked) || (slot == ImagePressed && schema <= kSchemaPressed))
            continue;
        CWVPImageManagerIconImage image;
        ReadImageBlock(ar, schema, image);
        m_images[slot]->Copy(image);
    }
}

void CWVPImageManager::Serialize(CArchive& ar)
{
    CWVPPropExchangeArchive px(ar);
    DoPropExchange(&px);
}

void CWVPImageManager::DoPropExchange(CWVPPropExchange* pPX)
{
    if (pPX->IsLoading())
        RemoveAll();
    CWVPPropExchangeEnumeratorRef sets(pPX->GetEnumerator(L"IconSet"));
    // std::map keeps the sets by ascending id, so a reload stores the same bytes again.
    POSITION pos = sets->GetPosition(static_cast<DWORD>(m_sets.size()));
    auto next = m_sets.begin();
    while (pos)
    {
        CWVPPropExchangeSectionRef section(sets->GetNext(pos));
        long id = 0;
        if (pPX->IsStoring())
            id = static_cast<long>((next++)->first);
        WVPExchangeLong(section, L"Id", id, 0);
        DoPropExchangeIcons(static_cast<UINT>(id), section);
    }
}

void CWVPImageManager::DoPropExchangeIcons(UINT id, CWVPPropExchange* pPX)
{
    m_nMaxCommand = std::max(m_nMaxCommand, id);
    CString checkSum = kCheckSum;
    WVPExchangeString(pPX, L"CheckSum", checkSum, kCheckSum);
    CWVPPropExchangeEnumeratorRef icons(pPX->GetEnumerator(L"Icon"));
    if (pPX->IsStoring())
    {
        CWVPImageManagerIconSet* set = GetIconSet(id);
        POSITION pos = icons->GetPosition(set ? static_cast<DWORD>(set->GetIcons().size()) : 0);
        if (!set)
            return;
        for (const auto& entry : set->GetIcons())
        {
            if (!pos)
                break;
            CWVPPropExchangeSectionRef section(icons->GetNext(pos));
            long width = entry.first;
            WVPExchangeLong(section, L"Width", width, kDefaultWidth);
            WVPExchangeSerialized(section, L"Data", entry.second);
        }
        return;
    }
    if (checkSum != kCheckSum)
        AfxThrowArchiveException(CArchiveException::badClass);
    CWVPImageManagerIconSet* set = GetIconSet(id);
    if (set)
        set->RemoveAll();
    else
    {
        set = new CWVPImageManagerIconSet(this, id);
        m_sets[id] = set;
    }
    POSITION pos = icons->GetPosition();
    while (pos)
    {
        CWVPPropExchangeSectionRef section(icons->GetNext(pos));
        long width = kDefaultWidth;
        WVPExchangeLong(section, L"Width", width, kDefaultWidth);
        auto* icon = new CWVPImageManagerIcon(set, id, static_cast<int>(width));
        WVPExchangeSerialized(section, L"Data", icon);
        set->SetIconAt(static_cast<int>(width), icon);
    }
}
