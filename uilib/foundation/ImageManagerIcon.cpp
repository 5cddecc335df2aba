#include "uilib/foundation/ImageManagerIcon.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "uilib/foundation/ColorManager.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/IconGroupDirectory.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerResource.h"

namespace
{
const DWORD kIconFormatVersion = 0x30000;
const COLORREF kComposeKey = RGB(255, 0, 255);
const double kFadeWeight = 0.3;
const int kLowColorBits = 8;

// Changes the colour of every opaque pixel (black in the mask) of an icon; a new icon, or null.
HICON MapIconPixels(HICON icon, const std::function<COLORREF(COLORREF)>& map)
{
    ICONINFO info = {};
    if (!icon || !::GetIconInfo(icon, &info))
        return nullptr;
    HICON made = nullptr;
    BITMAP colorInfo = {};
    if (info.hbmColor && ::GetObjectW(info.hbmColor, sizeof(colorInfo), &colorInfo))
    {
        int w = colorInfo.bmWidth, h = colorInfo.bmHeight;
        BITMAPINFO dib = {};
        dib.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        dib.bmiHeader.biWidth = w;
        dib.bmiHeader.biHeight = h;
        dib.bmiHeader.biPlanes = 1;
        dib.bmiHeader.biBitCount = 32;
        std::vector<DWORD> color((size_t)w * h), mask((size_t)w * h);
        HDC screen = ::GetDC(nullptr);
        ::GetDIBits(screen, info.hbmColor, 0, h, color.data(), &dib, DIB_RGB_COLORS);
        BITMAPINFO maskInfo = dib;
        ::GetDIBits(screen, info.hbmMask, 0, h, mask.data(), &maskInfo, DIB_RGB_COLORS);
        for (size_t i = 0; i < color.size(); ++i)
        {
            if ((mask[i] & 0x00FFFFFF) != 0)
                continue;
            DWORD v = color[i];
            COLORREF mapped = map(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
            color[i] = (v & 0xFF000000) | ((DWORD)GetRValue(mapped) << 16) | ((DWORD)GetGValue(mapped) << 8) |
                       GetBValue(mapped);
        }
        HBITMAP newColor = ::CreateCompatibleBitmap(screen, w, h);
        ::SetDIBits(screen, newColor, 0, h, color.data(), &dib, DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, screen);
        ICONINFO rebuilt = {TRUE, 0, 0, info.hbmMask, newColor};
        made = ::CreateIconIndirect(&rebuilt);
        ::DeleteObject(newColor);
    }
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return made;
}

// Changes every premultiplied pixel of an alpha image in place.
void MapAlphaPixels(BYTE* bits, int count, const std::function<void(BYTE*)>& map)
{
    ::GdiFlush();
    for (int i = 0; i < count; ++i)
        map(bits + (size_t)i * 4);
}

double Luminance(int r, int g, int b)
{
    return (0.299 * r + 0.587 * g + 0.114 * b) / 255.0;
}

// The disabled look of one colour: between the dark and the light colour by luminance, or a
// grey of the luminance's square root.
COLORREF DisabledColor(COLORREF c, COLORREF light, COLORREF dark)
{
    double l = Luminance(GetRValue(c), GetGValue(c), GetBValue(c));
    if (light == (COLORREF)-1 || dark == (COLORREF)-1)
    {
        int grey = (int)(std::sqrt(l) * 255);
        return RGB(grey, grey, grey);
    }
    auto mix = [l](int d, int li) { return (int)(d * (1 - l) + li * l); };
    return RGB(mix(GetRValue(dark), GetRValue(light)), mix(GetGValue(dark), GetGValue(light)),
               mix(GetBValue(dark), GetBValue(light)));
}
} // namespace

// ---- CWVPImageManagerIconImage ----------------------------------------------------------------

CWVPImageManagerIconImage::CWVPImageManagerIconImage(CWVPImageManager* owner)
    : m_hIcon(nullptr), m_hBitmap(nullptr), m_pBits(nullptr), m_bOwns(FALSE), m_pOwner(owner), m_pCell(nullptr),
      m_width(0), m_height(0)
{
}

CWVPImageManagerIconImage::~CWVPImageManagerIconImage()
{
    Clear();
}

void CWVPImageManagerIconImage::InitFromIcon(HICON icon)
{
    Clear();
    m_hIcon = icon;
    CSize size = CWVPImageManager::GetIconSize(icon);
    m_width = size.cx;
    m_height = size.cy;
}

void CWVPImageManagerIconImage::InitFromBitmap(HBITMAP bitmap)
{
    Clear();
    m_hBitmap = bitmap;
    BITMAP info = {};
    if (bitmap && ::GetObjectW(bitmap, sizeof(info), &info))
    {
        m_width = info.bmWidth;
        m_height = std::abs(info.bmHeight);
    }
}

void CWVPImageManagerIconImage::SetIcon(HICON icon)
{
    InitFromIcon(icon);
    m_bOwns = TRUE;
}

void CWVPImageManagerIconImage::SetBitmap(HBITMAP bitmap)
{
    InitFromBitmap(bitmap);
    m_bOwns = TRUE;
}

void CWVPImageManagerIconImage::SetPremultipliedBitmap(HBITMAP bitmap, BYTE* bits)
{
    SetBitmap(bitmap);
    m_pBits = bitmap ? bits : nullptr;
}

void CWVPImageManagerIconImage::Clear()
{
    if (m_bOwns)
    {
        if (m_hIcon)
            ::DestroyIcon(m_hIcon);
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
        if (m_pCell)
            m_pCell->pResource->FreeBitmap(m_pCell);
    }
    m_hIcon = nullptr;
    m_hBitmap = nullptr;
    m_pBits = nullptr;
    m_pCell = nullptr;
    m_bOwns = FALSE;
}

CSize CWVPImageManagerIconImage::GetExtent() const
{
    if (m_pCell)
        return m_pCell->pResource->GetExtent();
    if (m_hIcon)
        return CWVPImageManager::GetIconSize(m_hIcon);
    if (m_hBitmap)
    {
        BITMAP info = {};
        ::GetObjectW(m_hBitmap, sizeof(info), &info);
        return CSize(info.bmWidth, std::abs(info.bmHeight));
    }
    return CSize(0, 0);
}

BOOL CWVPImageManagerIconImage::IsEmpty() const
{
    if (!m_hIcon && !m_hBitmap && !m_pCell)
        return TRUE;
    CSize size = GetExtent();
    return size.cx == 0 || size.cy == 0;
}

BOOL CWVPImageManagerIconImage::IsAlpha() const
{
    return m_hBitmap != nullptr || (m_pCell && m_pCell->bAlpha);
}

BYTE* CWVPImageManagerIconImage::GetPremultipliedBits()
{
    if (m_pBits || !m_hBitmap)
        return m_pBits;
    void* bits = nullptr;
    HBITMAP premultiplied = CWVPImageManager::PremultiplyAlphaBitmap(m_hBitmap, nullptr, &bits);
    if (!premultiplied)
        return nullptr;
    if (m_bOwns)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = premultiplied;
    m_bOwns = TRUE;
    m_pBits = static_cast<BYTE*>(bits);
    return m_pBits;
}

void CWVPImageManagerIconImage::Copy(const CWVPImageManagerIconImage& source)
{
    Clear();
    if (source.IsEmpty())
        return;
    CSize size = source.GetExtent();
    if (m_pOwner && m_pOwner->IsUseResources())
    {
        CWVPImageManagerResource* pool = m_pOwner->GetResource(size);
        if (source.m_pCell)
        {
            CWVPImageManagerIconImage standalone;
            source.m_pCell->pResource->CopyImage(standalone, source.m_pCell);
            m_pCell = pool->Add(standalone);
        }
        else
        {
            m_pCell = pool->Add(source);
        }
        if (m_pCell)
        {
            m_bOwns = TRUE;
            m_width = size.cx;
            m_height = size.cy;
            return;
        }
    }
    if (source.m_hIcon)
        m_hIcon = ::CopyIcon(source.m_hIcon);
    else if (source.m_hBitmap)
    {
        void* bits = nullptr;
        m_hBitmap = CWVPImageManager::CopyAlphaBitmap(source.m_hBitmap, &bits);
        if (source.m_pBits)
            m_pBits = static_cast<BYTE*>(bits);
    }
    else if (source.m_pCell)
    {
        source.m_pCell->pResource->CopyImage(*this, source.m_pCell);
    }
    m_bOwns = TRUE;
    m_width = size.cx;
    m_height = size.cy;
}

BOOL CWVPImageManagerIconImage::LoadFromResource(HMODULE module, LPCWSTR name, int width, int height, BOOL directory)
{
    Clear();
    HRSRC group = directory ? ::FindResourceW(module, name, (LPCWSTR)RT_GROUP_ICON) : nullptr;
    if (group)
    {
        std::vector<WVPIconGroupEntry> entries;
        if (!WVPReadIconGroupDirectory(module, group, entries))
            return FALSE;
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        {
            if (entry->width == width && entry->height == height &&
                LoadFromResource(module, MAKEINTRESOURCEW(entry->iconId), width, height, FALSE))
                return TRUE;
        }
        return FALSE;
    }
    HRSRC found = ::FindResourceW(module, name, (LPCWSTR)RT_ICON);
    const BYTE* bits = found ? static_cast<const BYTE*>(::LockResource(::LoadResource(module, found))) : nullptr;
    DWORD size = found ? ::SizeofResource(module, found) : 0;
    if (!bits || size < sizeof(BITMAPINFOHEADER))
        return FALSE;
    HICON icon = ::CreateIconFromResourceEx(const_cast<BYTE*>(bits), size, TRUE, kIconFormatVersion, width, height,
                                            LR_DEFAULTCOLOR);
    if (icon)
        SetIcon(icon);
    return !IsEmpty();
}

void CWVPImageManagerIconImage::Draw(HDC dc, int x, int y, int width, int height, BOOL composited) const
{
    if (IsEmpty())
        return;
    if (m_pCell)
    {
        m_pCell->pResource->DrawImage(dc, m_pCell, x, y, width, height, composited);
        return;
    }
    if (m_hBitmap)
    {
        CWVPImageManagerIconImage* self = const_cast<CWVPImageManagerIconImage*>(this);
        if (!self->GetPremultipliedBits())
            return;
        HDC source = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(source, m_hBitmap);
        if (y < 0 && height == m_height)
        {
            // Only the rows below the top edge.
            if (-y < height)
                CWVPImageManager::AlphaBlend(dc, CRect(x, 0, x + width, y + height), source,
                                             CRect(0, -y, m_width, m_height));
        }
        else
        {
            CWVPImageManager::AlphaBlend(dc, CRect(x, y, x + width, y + height), source,
                                         CRect(0, 0, m_width, m_height));
        }
        ::SelectObject(source, old);
        ::DeleteDC(source);
        return;
    }
    CWVPImageManager* manager = m_pOwner ? m_pOwner : WVPImageManager();
    if (manager->IsDrawReverted(dc))
    {
        x += width;
        width = -width;
    }
    if (!composited)
    {
        ::DrawIconEx(dc, x, y, m_hIcon, width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    int w = std::abs(width);
    void* bits = nullptr;
    HBITMAP picture = CWVPImageManager::CreateDIBSection32(nullptr, w, height, &bits);
    if (!picture)
        return;
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, picture);
    HBRUSH key = ::CreateSolidBrush(kComposeKey);
    RECT all = {0, 0, w, height};
    ::FillRect(memory, &all, key);
    ::DeleteObject(key);
    ::DrawIconEx(memory, 0, 0, m_hIcon, w, height, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
    DWORD* words = static_cast<DWORD*>(bits);
    for (int i = 0; i < w * height; ++i)
        words[i] = (words[i] & 0x00FFFFFF) == 0x00FF00FF ? 0 : (words[i] | 0xFF000000);
    CWVPImageManager::AlphaBlend(dc, CRect(std::min(x, x + width), y, std::min(x, x + width) + w, y + height), memory,
                                 CRect(0, 0, w, height));
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(picture);
}

// ---- CWVPImageManagerIcon ---------------------------------------------------------------------

CWVPImageManagerIcon::CWVPImageManagerIcon(CWVPImageManagerIconSet* set, UINT id, int width)
    : m_bDrawComposited(FALSE), m_id(id), m_width(width), m_height(15), m_pSet(set)
{
    CWVPImageManager* manager = set ? set->GetManager() : nullptr;
    for (auto& image : m_images)
        image = new CWVPImageManagerIconImage(manager);
}

CWVPImageManagerIcon::~CWVPImageManagerIcon()
{
    for (auto& image : m_images)
        delete image;
}

CWVPImageManagerIconImage& CWVPImageManagerIcon::GetNormalIcon()
{
    return *m_images[ImageNormal];
}

CWVPImageManagerIconImage& CWVPImageManagerIcon::GetHotIcon()
{
    return m_images[ImageHot]->IsEmpty() ? GetNormalIcon() : *m_images[ImageHot];
}

CWVPImageManagerIconImage& CWVPImageManagerIcon::GetCheckedIcon()
{
    return m_images[ImageChecked]->IsEmpty() ? GetHotIcon() : *m_images[ImageChecked];
}

CWVPImageManagerIconImage& CWVPImageManagerIcon::GetPressedIcon()
{
    return m_images[ImagePressed]->IsEmpty() ? GetHotIcon() : *m_images[ImagePressed];
}

CWVPImageManagerIconImage& CWVPImageManagerIcon::GetDisabledIcon(BOOL make)
{
    if (!m_images[ImageDisabled]->IsEmpty())
        return *m_images[ImageDisabled];
    if (make)
        CreateDisabledIcon();
    return *m_images[ImageDisabledMade];
}

BOOL CWVPImageManagerIcon::HasDisabledIcon() const
{
    return !m_images[ImageDisabled]->IsEmpty();
}

CWVPImageManagerIconImage& CWVPImageManagerIcon::GetFadedIcon()
{
    if (m_images[ImageFaded]->IsEmpty())
        CreateFadedIcon();
    return m_images[ImageFaded]->IsEmpty() ? GetNormalIcon() : *m_images[ImageFaded];
}

CWVPImageManagerIconImage& CWVPImageManagerIcon::GetShadowIcon()
{
    if (m_images[ImageShadow]->IsEmpty())
        CreateShadowIcon();
    return *m_images[ImageShadow];
}

CWVPImageManagerIconImage& CWVPImageManagerIcon::GetIcon(int state)
{
    switch (state)
    {
    case wvpImageDisabled:
        return GetDisabledIcon(TRUE);
    case wvpImageHot:
        return GetHotIcon();
    case wvpImageChecked:
        return GetCheckedIcon();
    case wvpImagePressed:
        return GetPressedIcon();
    default:
        return GetNormalIcon();
    }
}

BOOL CWVPImageManagerIcon::IsAlpha() const
{
    return m_images[ImageNormal]->IsAlpha();
}

CSize CWVPImageManagerIcon::GetExtent() const
{
    return m_images[ImageNormal]->GetExtent();
}

void CWVPImageManagerIcon::SetNormalIcon(const CWVPImageManagerIconImage& image)
{
    for (auto& slot : m_images)
        slot->Clear();
    m_images[ImageNormal]->Copy(image);
    CSize size = m_images[ImageNormal]->GetExtent();
    m_width = size.cx;
    m_height = size.cy;
    if (m_pSet)
        m_pSet->RefreshAll();
}

void CWVPImageManagerIcon::SetStateImage(int slot, const CWVPImageManagerIconImage& image)
{
    ClearVariants();
    m_images[slot]->Copy(image);
}

void CWVPImageManagerIcon::SetHotIcon(const CWVPImageManagerIconImage& image)
{
    SetStateImage(ImageHot, image);
}

void CWVPImageManagerIcon::SetCheckedIcon(const CWVPImageManagerIconImage& image)
{
    SetStateImage(ImageChecked, image);
}

void CWVPImageManagerIcon::SetPressedIcon(const CWVPImageManagerIconImage& image)
{
    SetStateImage(ImagePressed, image);
}

void CWVPImageManagerIcon::SetDisabledIcon(const CWVPImageManagerIconImage& image)
{
    SetStateImage(ImageDisabled, image);
}

void CWVPImageManagerIcon::ClearVariants()
{
    m_images[ImageFaded]->Clear();
    m_images[ImageShadow]->Clear();
    m_images[ImageDisabledMade]->Clear();
}

void CWVPImageManagerIcon::DrawImage(HDC dc, CPoint point, const CWVPImageManagerIconImage& image, CSize size)
{
    int width = size.cx ? size.cx : m_width;
    int height = size.cy ? size.cy : (m_width ? width * m_height / m_width : m_height);
    image.Draw(dc, point.x, point.y, width, height, m_bDrawComposited);
}

void CWVPImageManagerIcon::DrawScaled(HDC dc, CPoint point, CSize size)
{
    DrawImage(dc, point, GetNormalIcon(), size);
}

void CWVPImageManagerIcon::Draw(HDC dc, CPoint point)
{
    DrawImage(dc, point, GetNormalIcon(), CSize(0, 0));
}

void CWVPImageManagerIcon::DrawMono(HDC dc, CPoint point, const CWVPImageManagerIconImage& image, CSize size,
                                    COLORREF color)
{
    if (image.IsAlpha() || image.IsEmpty())
        return;
    const int width = size.cx ? size.cx : m_width;
    const int height = size.cy ? size.cy : (m_width ? width * m_height / m_width : m_height);
    if (width <= 0 || height <= 0)
        return;
    // The image on white; DrawState then paints every pixel that is not white in the brush.
    CBitmap white;
    if (!white.Attach(::CreateCompatibleBitmap(dc, width, height)))
        return;
    {
        CWVPCompatibleDC memDC(dc, (HBITMAP)white.GetSafeHandle());
        RECT all = {0, 0, width, height};
        ::FillRect(memDC.GetSafeHdc(), &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
        image.Draw(memDC.GetSafeHdc(), 0, 0, width, height, FALSE);
    }
    CBrush brush;
    if (!brush.CreateSolidBrush(color))
        return;
    ::DrawStateW(dc, (HBRUSH)brush.GetSafeHandle(), nullptr, (LPARAM)white.GetSafeHandle(), 0, point.x, point.y, width,
                 height, DST_BITMAP | DSS_MONO);
}

namespace
{
// Makes a variant from a free-standing copy of an image: alpha images change their premultiplied
// pixels, icons their opaque pixels; the result goes into the slot.
void MakeVariant(const CWVPImageManagerIconImage& from, CWVPImageManagerIconImage& slot,
                 const std::function<void(BYTE*)>& alphaPixel, const std::function<COLORREF(COLORREF)>& iconPixel)
{
    CWVPImageManagerIconImage copy;
    copy.Copy(from);
    if (copy.IsEmpty())
        return;
    if (copy.GetBitmap())
    {
        BYTE* bits = copy.GetPremultipliedBits();
        if (!bits)
            return;
        CSize size = copy.GetExtent();
        MapAlphaPixels(bits, size.cx * size.cy, alphaPixel);
    }
    else if (iconPixel)
    {
        HICON made = MapIconPixels(copy.GetIcon(), iconPixel);
        if (!made)
            return;
        copy.SetIcon(made);
    }
    else
    {
        return;
    }
    slot.Copy(copy);
}
} // namespace

void CWVPImageManagerIcon::CreateFadedIcon()
{
    bool deepScreen = !CWVPColorManager::IsLowColorDisplay(nullptr);
    (void)kLowColorBits;
    MakeVariant(
        GetNormalIcon(), *m_images[ImageFaded],
        [](BYTE* p) {
            if (p[3] == 0)
                return;
            for (int c = 0; c < 3; ++c)
                p[c] = (BYTE)(kFadeWeight * p[3] + (1 - kFadeWeight) * p[c]);
        },
        deepScreen ? std::function<COLORREF(COLORREF)>([](COLORREF c) {
            auto lighten = [](int v) { return (int)(kFadeWeight * 255 + (1 - kFadeWeight) * v); };
            return RGB(lighten(GetRValue(c)), lighten(GetGValue(c)), lighten(GetBValue(c)));
        })
                   : std::function<COLORREF(COLORREF)>());
}

void CWVPImageManagerIcon::CreateShadowIcon()
{
    COLORREF base = WVPColorManager()->GetColor(31);
    COLORREF shadow = RGB((int)(GetRValue(base) * 0.75), (int)(GetGValue(base) * 0.75), (int)(GetBValue(base) * 0.75));
    MakeVariant(
        GetHotIcon(), *m_images[ImageShadow],
        [shadow](BYTE* p) {
            p[0] = (BYTE)(GetBValue(shadow) * p[3] / 255);
            p[1] = (BYTE)(GetGValue(shadow) * p[3] / 255);
            p[2] = (BYTE)(GetRValue(shadow) * p[3] / 255);
        },
        [shadow](COLORREF) { return shadow; });
}

void CWVPImageManagerIcon::CreateDisabledIcon(COLORREF light, COLORREF dark)
{
    if (!m_images[ImageDisabledMade]->IsEmpty())
        return;
    MakeVariant(
        GetNormalIcon(), *m_images[ImageDisabledMade],
        [light, dark](BYTE* p) {
            int a = p[3];
            if (a == 0)
                return;
            COLORREF plain = RGB(p[2] * 255 / a, p[1] * 255 / a, p[0] * 255 / a);
            COLORREF mapped = DisabledColor(plain, light, dark);
            p[0] = (BYTE)(GetBValue(mapped) * a / 255);
            p[1] = (BYTE)(GetGValue(mapped) * a / 255);
            p[2] = (BYTE)(GetRValue(mapped) * a / 255);
        },
        [light, dark](COLORREF c) { return DisabledColor(c, light, dark); });
}

// ---- CWVPImageManagerIconSet ------------------------------------------------------------------

CWVPImageManagerIconSet::CWVPImageManagerIconSet(CWVPImageManager* manager, UINT id) : m_id(id), m_pManager(manager)
{
}

CWVPImageManagerIconSet::~CWVPImageManagerIconSet()
{
    RemoveAll();
}

CWVPImageManagerIcon* CWVPImageManagerIconSet::GetIcon(int width, BOOL allowNearest)
{
    if (m_icons.empty())
        return nullptr;
    if (width == 0)
        return m_icons.begin()->second;
    if (width == 1)
        return m_icons.rbegin()->second;
    auto exact = m_icons.find(width);
    if (exact != m_icons.end())
        return exact->second;
    if (!allowNearest)
        return nullptr;
    CWVPImageManagerIcon* best = nullptr;
    int bestDistance = 0;
    for (auto& entry : m_icons)
    {
        int distance = std::abs(entry.first - width);
        if (!best || distance < bestDistance)
        {
            best = entry.second;
            bestDistance = distance;
        }
    }
    return best;
}

CWVPImageManagerIcon* CWVPImageManagerIconSet::GetOrCreateIcon(int width)
{
    auto found = m_icons.find(width);
    if (found != m_icons.end())
        return found->second;
    CWVPImageManagerIcon* icon = new CWVPImageManagerIcon(this, m_id, width);
    m_icons[width] = icon;
    return icon;
}

void CWVPImageManagerIconSet::SetIconAt(int width, CWVPImageManagerIcon* icon)
{
    auto found = m_icons.find(width);
    if (found != m_icons.end() && found->second != icon)
        found->second->InternalRelease();
    m_icons[width] = icon;
}

void CWVPImageManagerIconSet::RemoveAll()
{
    for (auto& entry : m_icons)
        entry.second->InternalRelease();
    m_icons.clear();
}

void CWVPImageManagerIconSet::RefreshAll()
{
    for (auto& entry : m_icons)
        entry.second->ClearVariants();
}
