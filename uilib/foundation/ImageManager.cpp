#include "uilib/foundation/ImageManager.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "platform/mfc/ExitSequence.h"
#include "platform/mfc/WinApp.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/DibReader.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/foundation/GraphicBitmapPng.h"
#include "uilib/foundation/IconGroupDirectory.h"
#include "uilib/foundation/ImageManagerIcon.h"
#include "uilib/foundation/ImageManagerResource.h"
#include "uilib/foundation/ModuleHandle.h"
#include "uilib/foundation/OSVersionInfo.h"

namespace
{
const BYTE kPngSignature[4] = {0x89, 0x50, 0x4E, 0x47};
const WCHAR kPngType[] = L"PNG";
const int kAlphaBits = 32;
const DWORD kComCtlVersion6 = 0x60000;
const DWORD kNoMirrorBitmap = 0x80000000; // NOMIRRORBITMAP
const UINT kToolBarType = 241;            // RT_TOOLBAR

// An owned bitmap handle.
class OwnedBitmap
{
  public:
    explicit OwnedBitmap(HBITMAP bitmap = nullptr) : m_bitmap(bitmap)
    {
    }
    ~OwnedBitmap()
    {
        if (m_bitmap)
            ::DeleteObject(m_bitmap);
    }
    OwnedBitmap(const OwnedBitmap&) = delete;
    OwnedBitmap& operator=(const OwnedBitmap&) = delete;
    HBITMAP get() const
    {
        return m_bitmap;
    }
    HBITMAP release()
    {
        HBITMAP b = m_bitmap;
        m_bitmap = nullptr;
        return b;
    }

  private:
    HBITMAP m_bitmap;
};

BOOL StartsWithPngSignature(const BYTE* bytes, SIZE_T size)
{
    return bytes && size >= sizeof(kPngSignature) && std::memcmp(bytes, kPngSignature, sizeof(kPngSignature)) == 0;
}

HBITMAP FromImage(const CWVPDibImage& image, BOOL* alpha)
{
    HBITMAP bitmap = CWVPDibReader::CreateDibSection(image);
    if (alpha)
        *alpha = bitmap && image.bitCount == kAlphaBits;
    return bitmap;
}

HBITMAP FromPng(CWVPGraphicBitmapPng& png, BOOL loaded, BOOL* alpha)
{
    if (alpha)
        *alpha = loaded && png.IsAlpha();
    return loaded ? (HBITMAP)png.Detach() : nullptr;
}

BITMAPINFO Info32(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kAlphaBits;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = (DWORD)width * (DWORD)std::abs(height) * 4;
    return info;
}
} // namespace

const WORD* WVPToolBarResourceItems(const WVP_TOOLBAR_RESOURCE* header)
{
    return reinterpret_cast<const WORD*>(header + 1);
}

BOOL CWVPImageManager::IsPngResource(HMODULE module, LPCWSTR name)
{
    HRSRC found = ::FindResourceW(module, name, kPngType);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const BYTE* bytes = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    return StartsWithPngSignature(bytes, bytes ? ::SizeofResource(module, found) : 0);
}

BOOL CWVPImageManager::IsPngFile(LPCWSTR path)
{
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    BYTE head[sizeof(kPngSignature)] = {};
    DWORD read = 0;
    BOOL ok = ::ReadFile(file, head, sizeof(head), &read, nullptr);
    ::CloseHandle(file);
    return ok && StartsWithPngSignature(head, read);
}

BOOL CWVPImageManager::IsAlphaBitmapResource(HMODULE module, LPCWSTR name)
{
    CWVPDibImage image;
    return CWVPDibReader::ReadResource(module, name, image) && image.bitCount == kAlphaBits;
}

BOOL CWVPImageManager::IsAlphaBitmapFile(LPCWSTR path)
{
    CWVPDibImage image;
    return CWVPDibReader::ReadFile(path, image) && image.bitCount == kAlphaBits;
}

HBITMAP CWVPImageManager::LoadBitmapResource(HMODULE module, LPCWSTR name, BOOL* alpha)
{
    if (alpha)
        *alpha = FALSE;
    if (IsPngResource(module, name))
    {
        CWVPGraphicBitmapPng png;
        BOOL loaded = png.LoadFromResource(module, ::FindResourceW(module, name, kPngType));
        return FromPng(png, loaded, alpha);
    }
    CWVPDibImage image;
    if (!CWVPDibReader::ReadResource(module, name, image))
        return nullptr;
    return FromImage(image, alpha);
}

HBITMAP CWVPImageManager::LoadBitmapResourceDefault(LPCWSTR name, BOOL* alpha)
{
    return LoadBitmapResource(AfxGetResourceHandle(), name, alpha);
}

HBITMAP CWVPImageManager::LoadBitmapFile(LPCWSTR path, BOOL* alpha)
{
    if (alpha)
        *alpha = FALSE;
    if (IsPngFile(path))
    {
        CWVPGraphicBitmapPng png;
        BOOL loaded = png.LoadFromFile(path);
        return FromPng(png, loaded, alpha);
    }
    CWVPDibImage image;
    if (!CWVPDibReader::ReadFile(path, image))
        return nullptr;
    return FromImage(image, alpha);
}

HBITMAP CWVPImageManager::LoadAlphaBitmapResource(HMODULE module, LPCWSTR name)
{
    CWVPDibImage image;
    if (!CWVPDibReader::ReadResource(module, name, image) || image.bitCount != kAlphaBits)
        return nullptr;
    return CWVPDibReader::CreateDibSection(image);
}

HBITMAP CWVPImageManager::CreateDIBSection32(HDC dc, int width, int height, void** bits)
{
    if (bits)
        *bits = nullptr;
    if (width <= 0 || height <= 0)
        return nullptr;
    BITMAPINFO info = Info32(width, height);
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap && bits)
        *bits = pixels;
    return bitmap;
}

BOOL CWVPImageManager::GetBitmapBits32(HBITMAP bitmap, BITMAPINFOHEADER& header, std::vector<BYTE>& pixels)
{
    BITMAP info = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info) || info.bmBitsPixel != kAlphaBits || info.bmWidth <= 0 ||
        info.bmHeight <= 0)
        return FALSE;
    BITMAPINFO dib = Info32(info.bmWidth, info.bmHeight);
    pixels.assign((size_t)info.bmWidth * info.bmHeight * 4, 0);
    HDC screen = ::GetDC(nullptr);
    int lines = ::GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &dib, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    header = dib.bmiHeader;
    return lines == info.bmHeight;
}

namespace
{
// A new bottom-up 32-bit DIB section of the header's size holding the pixels.
HBITMAP NewSection(const BITMAPINFOHEADER& header, const std::vector<BYTE>& pixels, void** bits)
{
    void* target = nullptr;
    HBITMAP copy = CWVPImageManager::CreateDIBSection32(nullptr, header.biWidth, header.biHeight, &target);
    if (!copy)
        return nullptr;
    std::memcpy(target, pixels.data(), pixels.size());
    if (bits)
        *bits = target;
    return copy;
}
} // namespace

HBITMAP CWVPImageManager::CopyAlphaBitmap(HBITMAP bitmap, void** bits)
{
    BITMAPINFOHEADER header;
    std::vector<BYTE> pixels;
    try
    {
        if (!GetBitmapBits32(bitmap, header, pixels))
            return nullptr;
        return NewSection(header, pixels, bits);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

HBITMAP CWVPImageManager::MirrorBitmap(HBITMAP bitmap)
{
    BITMAPINFOHEADER header;
    std::vector<BYTE> pixels;
    try
    {
        if (!GetBitmapBits32(bitmap, header, pixels))
            return nullptr;
        DWORD* words = reinterpret_cast<DWORD*>(pixels.data());
        for (int y = 0; y < header.biHeight; ++y)
            std::reverse(words + (size_t)y * header.biWidth, words + (size_t)(y + 1) * header.biWidth);
        return NewSection(header, pixels, nullptr);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

int CWVPImageManager::DetectAlpha(const BYTE* pixels, size_t count, int state)
{
    bool transparent = false, opaque = false;
    for (size_t i = 0; i < count && state != AlphaUsed; ++i)
    {
        BYTE alpha = pixels[i * 4 + 3];
        if (alpha == 0)
            transparent = true;
        else if (alpha < 255 || state == AlphaAny)
            state = AlphaUsed;
        else
            opaque = true;
        if (transparent && opaque)
            state = AlphaUsed;
    }
    return state;
}

HBITMAP CWVPImageManager::PremultiplyAlphaBitmap(HBITMAP bitmap, int* alphaState, void** bits)
{
    BITMAPINFOHEADER header;
    std::vector<BYTE> pixels;
    try
    {
        if (!GetBitmapBits32(bitmap, header, pixels))
            return nullptr;
        size_t count = pixels.size() / 4;
        int state = alphaState ? DetectAlpha(pixels.data(), count, *alphaState) : AlphaUsed;
        // An image without alpha keeps its colours; all-transparent images turn black.
        if (state != AlphaUndecided)
        {
            for (size_t i = 0; i < count; ++i)
            {
                BYTE* p = &pixels[i * 4];
                for (int c = 0; c < 3; ++c)
                    p[c] = (BYTE)(p[c] * p[3] / 255);
            }
        }
        if (alphaState)
            *alphaState = state == AlphaUsed ? AlphaUsed : state;
        return NewSection(header, pixels, bits);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

BOOL CWVPImageManager::SplitBitmap(HBITMAP bitmap, int count, std::vector<HBITMAP>& parts)
{
    parts.clear();
    BITMAPINFOHEADER header;
    std::vector<BYTE> pixels;
    if (count <= 0 || !GetBitmapBits32(bitmap, header, pixels) || header.biWidth / count == 0)
        return FALSE;
    int width = header.biWidth / count;
    for (int i = 0; i < count; ++i)
    {
        void* target = nullptr;
        HBITMAP part = CreateDIBSection32(nullptr, width, header.biHeight, &target);
        if (!part)
        {
            for (HBITMAP made : parts)
                ::DeleteObject(made);
            parts.clear();
            return FALSE;
        }
        for (int y = 0; y < header.biHeight; ++y)
            std::memcpy(static_cast<BYTE*>(target) + (size_t)y * width * 4,
                        pixels.data() + ((size_t)y * header.biWidth + (size_t)i * width) * 4, (size_t)width * 4);
        parts.push_back(part);
    }
    return TRUE;
}

COLORREF CWVPImageManager::GetBitmapPixel(HBITMAP bitmap, int x, int y)
{
    CWVPCompatibleDC selected((HDC) nullptr, bitmap);
    return selected.HasBitmap() ? ::GetPixel(selected.m_hDC, x, y) : CLR_INVALID;
}

CSize CWVPImageManager::GetIconSize(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info))
        return CSize(0, 0);
    BITMAP mask = {};
    ::GetObjectW(info.hbmMask, sizeof(mask), &mask);
    CSize size(mask.bmWidth, info.hbmColor ? mask.bmHeight : mask.bmHeight / 2);
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return size;
}

HICON CWVPImageManager::ScaleIcon(HICON icon, int width, int height, int newWidth)
{
    if (!icon || newWidth == 0 || (width == 0 && height == 0))
        return nullptr;
    if (newWidth == width)
        return ::CopyIcon(icon);
    int newHeight = ::MulDiv(height, newWidth, width);
    HIMAGELIST list = ::ImageList_Create(newWidth, newHeight, ILC_COLOR32 | ILC_MASK, 0, 1);
    if (!list)
        return nullptr;
    HICON scaled = nullptr;
    if (::ImageList_AddIcon(list, icon) >= 0)
        scaled = ::ImageList_GetIcon(list, 0, ILD_NORMAL);
    ::ImageList_Destroy(list);
    return scaled;
}

BOOL CWVPImageManager::LoadToolBarResource(UINT id, std::vector<UINT>& ids, CSize& size)
{
    ids.clear();
    HMODULE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kToolBarType));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* header = loaded ? static_cast<const WVP_TOOLBAR_RESOURCE*>(::LockResource(loaded)) : nullptr;
    DWORD bytes = found ? ::SizeofResource(module, found) : 0;
    if (!header || bytes < sizeof(WVP_TOOLBAR_RESOURCE) ||
        bytes < sizeof(WVP_TOOLBAR_RESOURCE) + (DWORD)header->count * sizeof(WORD))
        return FALSE;
    const WORD* items = WVPToolBarResourceItems(header);
    for (WORD i = 0; i < header->count; ++i)
        if (items[i] != 0)
            ids.push_back(items[i]);
    size = CSize(header->width, header->height);
    return TRUE;
}

BOOL CWVPImageManager::IsAlphaBlendSupported()
{
    return WVPOSVersionInfo().IsWin2KOrGreater();
}

BOOL CWVPImageManager::IsComCtl6()
{
    return WVPGetComCtlVersion() >= kComCtlVersion6;
}

BOOL CWVPImageManager::TransparentBlt(HDC dest, const CRect& destRect, HDC source, const CRect& sourceRect,
                                      COLORREF transparent)
{
    WVPTransparentBltProc system = WVPDrawHelpers()->m_pfnTransparentBlt;
    if (system && WVPOSVersionInfo().IsWin2KOrGreater())
        return system(dest, destRect.left, destRect.top, destRect.Width(), destRect.Height(), source, sourceRect.left,
                      sourceRect.top, sourceRect.Width(), sourceRect.Height(), transparent);
    return MaskedTransparentBlt(dest, destRect, source, sourceRect, transparent);
}

BOOL CWVPImageManager::MaskedTransparentBlt(HDC dest, const CRect& destRect, HDC source, const CRect& sourceRect,
                                            COLORREF transparent)
{
    int width = sourceRect.Width(), height = sourceRect.Height();
    if (width <= 0 || height <= 0)
        return FALSE;
    COLORREF oldBack = ::SetBkColor(dest, RGB(255, 255, 255));
    COLORREF oldText = ::SetTextColor(dest, RGB(0, 0, 0));
    BOOL ok = FALSE;
    {
        OwnedBitmap copyBitmap(::CreateCompatibleBitmap(dest, width, height));
        OwnedBitmap maskBitmap(::CreateBitmap(width, height, 1, 1, nullptr));
        CWVPCompatibleDC copy(dest, copyBitmap.get()), mask(dest, maskBitmap.get());
        ok = copy.HasBitmap() && mask.HasBitmap() &&
             ::BitBlt(copy.m_hDC, 0, 0, width, height, source, sourceRect.left, sourceRect.top, SRCCOPY);
        if (ok)
        {
            // Transparent pixels become 1 in the mask, the others 0.
            COLORREF oldCopyBack = ::SetBkColor(copy.m_hDC, transparent);
            ok = ::BitBlt(mask.m_hDC, 0, 0, width, height, copy.m_hDC, 0, 0, SRCCOPY);
            ::SetBkColor(copy.m_hDC, oldCopyBack);
        }
        if (ok && transparent != RGB(0, 0, 0))
        {
            // Clear the transparent pixels of the copy to black: copy AND (NOT mask).
            COLORREF oldCopyBack = ::SetBkColor(copy.m_hDC, RGB(255, 255, 255));
            COLORREF oldCopyText = ::SetTextColor(copy.m_hDC, RGB(0, 0, 0));
            ok = ::BitBlt(copy.m_hDC, 0, 0, width, height, mask.m_hDC, 0, 0, 0x00220326); // DSna
            ::SetBkColor(copy.m_hDC, oldCopyBack);
            ::SetTextColor(copy.m_hDC, oldCopyText);
        }
        if (ok)
        {
            ok = ::StretchBlt(dest, destRect.left, destRect.top, destRect.Width(), destRect.Height(), mask.m_hDC, 0, 0,
                              width, height, SRCAND) &&
                 ::StretchBlt(dest, destRect.left, destRect.top, destRect.Width(), destRect.Height(), copy.m_hDC, 0, 0,
                              width, height, SRCPAINT);
        }
    }
    ::SetBkColor(dest, oldBack);
    ::SetTextColor(dest, oldText);
    return ok;
}

BOOL CWVPImageManager::AlphaBlend(HDC dest, const CRect& destRect, HDC source, const CRect& sourceRect)
{
    WVPAlphaBlendProc system = WVPDrawHelpers()->m_pfnAlphaBlend;
    const CWVPOSVersionInfo& os = WVPOSVersionInfo();
    bool rightToLeft = WVPGetLayout(dest) != 0;
    bool emulate = (rightToLeft && os.IsWin9x()) || !system ||
                   (!os.IsWin2KOrGreater() && (sourceRect.left != 0 || sourceRect.top != 0 || destRect.top < 0));
    if (emulate)
        return EmulateAlphaBlend(dest, destRect, source, sourceRect);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return system(dest, destRect.left, destRect.top, destRect.Width(), destRect.Height(), source, sourceRect.left,
                  sourceRect.top, sourceRect.Width(), sourceRect.Height(), blend);
}

BOOL CWVPImageManager::EmulateAlphaBlend(HDC dest, const CRect& destRect, HDC source, const CRect& sourceRect)
{
    int width = destRect.Width(), height = destRect.Height();
    if (width <= 0 || height <= 0)
        return FALSE;
    void *sourceBits = nullptr, *destBits = nullptr, *resultBits = nullptr;
    OwnedBitmap sourceCopy(CreateDIBSection32(dest, width, height, &sourceBits));
    OwnedBitmap destCopy(CreateDIBSection32(dest, width, height, &destBits));
    OwnedBitmap result(CreateDIBSection32(dest, width, height, &resultBits));
    if (!sourceBits || !destBits || !resultBits)
        return FALSE;
    CWVPCompatibleDC sourceDC(dest, sourceCopy.get()), destDC(dest, destCopy.get()), resultDC(dest, result.get());
    if (!sourceDC.HasBitmap() || !destDC.HasBitmap() || !resultDC.HasBitmap())
        return FALSE;
    for (HDC dc : {sourceDC.m_hDC, destDC.m_hDC, resultDC.m_hDC})
        WVPSetLayout(dc, 0);
    int oldMode = ::SetStretchBltMode(sourceDC.m_hDC, COLORONCOLOR);
    BOOL ok = ::StretchBlt(sourceDC.m_hDC, 0, 0, width, height, source, sourceRect.left, sourceRect.top,
                           sourceRect.Width(), sourceRect.Height(), SRCCOPY) &&
              ::BitBlt(destDC.m_hDC, 0, 0, width, height, dest, destRect.left, destRect.top, SRCCOPY);
    ::SetStretchBltMode(sourceDC.m_hDC, oldMode);
    if (!ok)
        return FALSE;
    ::GdiFlush();
    bool sourceMirrored = WVPGetLayout(source) != 0, destMirrored = WVPGetLayout(dest) != 0;
    const BYTE* s = static_cast<const BYTE*>(sourceBits);
    const BYTE* d = static_cast<const BYTE*>(destBits);
    BYTE* r = static_cast<BYTE*>(resultBits);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const BYTE* sp = s + ((size_t)y * width + (sourceMirrored ? width - 1 - x : x)) * 4;
            const BYTE* dp = d + ((size_t)y * width + (destMirrored ? width - 1 - x : x)) * 4;
            BYTE* rp = r + ((size_t)y * width + x) * 4;
            for (int c = 0; c < 3; ++c)
                rp[c] = (BYTE)std::min(dp[c] * (255 - sp[3]) / 255 + sp[c], 255);
        }
    }
    return ::BitBlt(dest, destRect.left, destRect.top, width, height, resultDC.m_hDC, 0, 0,
                    SRCCOPY | (destMirrored ? kNoMirrorBitmap : 0));
}

// ---- The icon store ---------------------------------------------------------------------------

namespace
{
const UINT kFirstFreeCommand = 68266; // the highest command id exchanged before any was read

CWVPImageManager* g_imageManager = nullptr;

void DestroyImageManager(void*)
{
    if (g_imageManager)
        g_imageManager->InternalRelease();
    g_imageManager = nullptr;
}

// The image list's images under the ids: every id takes an image when there are as many ids as
// images (or none); otherwise an id of 0 is a separator that takes none.
template <typename AddOne> BOOL DistributeImages(const UINT* ids, int count, int images, AddOne addOne)
{
    bool everyIdTakesOne = !ids || count == images;
    int image = 0;
    for (int i = 0; i < count && image < images; ++i)
    {
        UINT id = ids ? ids[i] : (UINT)i;
        if (ids && id == 0 && !everyIdTakesOne)
            continue;
        if (!addOne(image++, id))
            return FALSE;
    }
    return TRUE;
}
} // namespace

CWVPImageManager::CWVPImageManager()
    : m_clrMask((COLORREF)-1), m_nMaxCommand(kFirstFreeCommand), m_nDrawReverted(DrawRevertedRightToLeft),
      m_bUseResources(TRUE)
{
}

CWVPImageManager::~CWVPImageManager()
{
    RemoveAll();
}

COLORREF CWVPImageManager::SetMaskColor(COLORREF color)
{
    COLORREF previous = m_clrMask;
    m_clrMask = color;
    return previous;
}

BOOL CWVPImageManager::IsDrawReverted(HDC dc) const
{
    if (m_nDrawReverted == DrawRevertedAlways)
        return TRUE;
    return m_nDrawReverted == DrawRevertedRightToLeft && dc && WVPGetLayout(dc) != 0;
}

CWVPImageManagerResource* CWVPImageManager::GetResource(CSize extent)
{
    DWORD key = ((DWORD)extent.cy << 16) | (DWORD)(extent.cx & 0xFFFF);
    auto found = m_resources.find(key);
    if (found != m_resources.end())
        return found->second;
    CWVPImageManagerResource* pool = new CWVPImageManagerResource(this, extent);
    m_resources[key] = pool;
    return pool;
}

BOOL CWVPImageManager::SetIcon(const CWVPImageManagerIconImage& image, UINT id, int width, int height, int state)
{
    if (image.IsEmpty() || width < 0 || height < 0)
        return FALSE;
    if (width == 0 && height == 0)
    {
        CSize size = image.GetExtent();
        width = size.cx;
        height = size.cy;
        if (width == 0)
            return FALSE;
    }
    CWVPImageManagerIconSet* set = GetIconSet(id);
    if (!set)
    {
        if (state != wvpImageNormal)
            return FALSE;
        set = new CWVPImageManagerIconSet(this, id);
        m_sets[id] = set;
    }
    CWVPImageManagerIcon* icon = set->GetOrCreateIcon(width);
    switch (state)
    {
    case wvpImageDisabled:
        icon->SetDisabledIcon(image);
        break;
    case wvpImageHot:
        icon->SetHotIcon(image);
        break;
    case wvpImageChecked:
        icon->SetCheckedIcon(image);
        break;
    case wvpImagePressed:
        icon->SetPressedIcon(image);
        break;
    default:
        icon->SetNormalIcon(image);
        break;
    }
    return TRUE;
}

BOOL CWVPImageManager::SetIconFromResource(LPCWSTR name, UINT id, int width, int height, int state)
{
    HMODULE module = AfxGetResourceHandle();
    HRSRC group = ::FindResourceW(module, name, (LPCWSTR)RT_GROUP_ICON);
    if (!group)
    {
        CWVPImageManagerIconImage image;
        return image.LoadFromResource(module, name, width, height, FALSE) && SetIcon(image, id, 0, 0, state);
    }
    std::vector<WVPIconGroupEntry> entries;
    if (!WVPReadIconGroupDirectory(module, group, entries))
        return FALSE;
    for (const WVPIconGroupEntry& entry : entries)
    {
        if ((width || height) && (entry.width != width || entry.height != height))
            continue;
        CWVPImageManagerIconImage image;
        if (!image.LoadFromResource(module, MAKEINTRESOURCEW(entry.iconId), entry.width, entry.height, FALSE) ||
            !SetIcon(image, id, entry.width, entry.height, state))
            return FALSE;
    }
    return TRUE;
}

BOOL CWVPImageManager::SetIconsFromGroupIconResource(LPCWSTR name, UINT id, int size, int state)
{
    return SetIconFromResource(name, id, size, size, state);
}

BOOL CWVPImageManager::SetIconsFromImageList(HIMAGELIST list, const UINT* ids, int count, int width, int height,
                                             int state)
{
    if (count < 0 || width < 0 || height < 0)
        return FALSE;
    int images = ::ImageList_GetImageCount(list);
    if (count == 0 && !ids)
        count = images;
    if (width == 0 && height == 0)
        ::ImageList_GetIconSize(list, &width, &height);
    return DistributeImages(ids, count, images, [&](int index, UINT id) {
        HICON icon = ::ImageList_GetIcon(list, index, ILD_NORMAL);
        if (!icon)
            return false;
        CWVPImageManagerIconImage image;
        image.SetIcon(icon);
        return SetIcon(image, id, width, height, state) != FALSE;
    });
}

BOOL CWVPImageManager::SetIconsFromBitmap(HBITMAP bitmap, const UINT* ids, int count, int width, int height, int state,
                                          BOOL alpha)
{
    BITMAP info = {};
    if (!bitmap || count < 0 || width < 0 || height < 0 || !::GetObjectW(bitmap, sizeof(info), &info))
        return FALSE;
    if (width == 0 && height == 0 && count > 0)
    {
        width = info.bmWidth / count;
        height = std::abs(info.bmHeight);
    }
    if (width <= 0)
        return FALSE;
    if (count == 0)
        count = info.bmWidth / width;
    if (height == 0)
        height = std::abs(info.bmHeight);
    if (!alpha)
    {
        HIMAGELIST list = ::ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 0, 1);
        if (!list)
            return FALSE;
        COLORREF mask = m_clrMask != (COLORREF)-1 ? m_clrMask : GetBitmapPixel(bitmap, 0, 0);
        BOOL ok = ::ImageList_AddMasked(list, bitmap, mask) >= 0 &&
                  SetIconsFromImageList(list, ids, count, width, height, state);
        ::ImageList_Destroy(list);
        return ok;
    }
    if (info.bmWidth % width != 0)
        return FALSE;
    std::vector<HBITMAP> cells;
    if (!SplitBitmap(bitmap, info.bmWidth / width, cells))
        return FALSE;
    BOOL ok = DistributeImages(ids, count, (int)cells.size(), [&](int index, UINT id) {
        CWVPImageManagerIconImage image;
        image.InitFromBitmap(cells[index]);
        return SetIcon(image, id, width, height, state) != FALSE;
    });
    for (HBITMAP cell : cells)
        ::DeleteObject(cell);
    return ok;
}

BOOL CWVPImageManager::SetIconsFromBitmap(HBITMAP bitmap, const UINT* ids, int count, CSize size, int state, BOOL alpha)
{
    return SetIconsFromBitmap(bitmap, ids, count, size.cx, size.cy, state, alpha);
}

BOOL CWVPImageManager::SetIconsFromBitmapResource(LPCWSTR name, const UINT* ids, int count, int width, int height,
                                                  int state)
{
    BOOL alpha = FALSE;
    HBITMAP bitmap = LoadBitmapResourceDefault(name, &alpha);
    if (!bitmap)
        return FALSE;
    BOOL ok = SetIconsFromBitmap(bitmap, ids, count, width, height, state, alpha);
    ::DeleteObject(bitmap);
    return ok;
}

BOOL CWVPImageManager::SetIcons(UINT bitmapId, const UINT* ids, int count, CSize size, int state)
{
    return SetIconsFromBitmapResource(MAKEINTRESOURCEW(bitmapId), ids, count, size.cx, size.cy, state);
}

BOOL CWVPImageManager::LoadToolbar(UINT toolBarId, UINT bitmapId, int state)
{
    std::vector<UINT> ids;
    CSize size;
    if (!LoadToolBarResource(toolBarId, ids, size) || ids.empty())
        return FALSE;
    return SetIcons(bitmapId, ids.data(), (int)ids.size(), CSize(0, 0), state);
}

BOOL CWVPImageManager::LoadToolbar(UINT id, int state)
{
    return LoadToolbar(id, id, state);
}

CWVPImageManagerIconSet* CWVPImageManager::GetIconSet(UINT id)
{
    auto found = m_sets.find(id);
    return found == m_sets.end() ? nullptr : found->second;
}

CWVPImageManagerIcon* CWVPImageManager::GetImage(UINT id, int width)
{
    CWVPImageManagerIconSet* set = GetIconSet(id);
    return set ? set->GetIcon(width, TRUE) : nullptr;
}

BOOL CWVPImageManager::Lookup(UINT id, int width)
{
    CWVPImageManagerIconSet* set = GetIconSet(id);
    if (!set)
        return FALSE;
    return set->GetIcon(width, width == 0 || width == 1) != nullptr;
}

void CWVPImageManager::RemoveAll()
{
    for (auto& entry : m_sets)
    {
        entry.second->RemoveAll();
        entry.second->InternalRelease();
    }
    m_sets.clear();
    for (auto& entry : m_resources)
        delete entry.second;
    m_resources.clear();
}

void CWVPImageManager::RefreshAll()
{
    for (auto& entry : m_sets)
        entry.second->RefreshAll();
}

CWVPImageManager* WVPImageManager()
{
    if (!g_imageManager)
    {
        g_imageManager = new CWVPImageManager;
        AfxRegisterExitHandler(&DestroyImageManager, nullptr);
    }
    return g_imageManager;
}
