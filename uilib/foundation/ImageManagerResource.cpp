#include "uilib/foundation/ImageManagerResource.h"

#include <cstring>

#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"

CWVPImageManagerResource::CWVPImageManagerResource(CWVPImageManager* owner, CSize extent)
    : m_owner(owner), m_extent(extent), m_usedWidth(0), m_hbmPool(nullptr), m_pPoolBits(nullptr), m_hbmMask(nullptr)
{
}

CWVPImageManagerResource::~CWVPImageManagerResource()
{
    Empty();
}

void CWVPImageManagerResource::Empty()
{
    for (WVP_IMAGERESOURCE_INFO* cell : m_used)
        delete cell;
    for (WVP_IMAGERESOURCE_INFO* cell : m_free)
        delete cell;
    m_used.clear();
    m_free.clear();
    if (m_hbmPool)
        ::DeleteObject(m_hbmPool);
    if (m_hbmMask)
        ::DeleteObject(m_hbmMask);
    m_hbmPool = m_hbmMask = nullptr;
    m_pPoolBits = nullptr;
    m_usedWidth = 0;
}

WVP_IMAGERESOURCE_INFO* CWVPImageManagerResource::AllocBitmap()
{
    if (!m_free.empty())
    {
        WVP_IMAGERESOURCE_INFO* cell = m_free.back();
        m_free.pop_back();
        m_used.push_back(cell);
        return cell;
    }
    int width = m_usedWidth + m_extent.cx, height = m_extent.cy;
    void* bits = nullptr;
    HBITMAP pool = CWVPImageManager::CreateDIBSection32(nullptr, width, height, &bits);
    HBITMAP mask = ::CreateBitmap(width, height, 1, 1, nullptr);
    if (!pool || !mask)
    {
        if (pool)
            ::DeleteObject(pool);
        if (mask)
            ::DeleteObject(mask);
        return nullptr;
    }
    if (m_hbmPool)
    {
        for (int y = 0; y < height; ++y)
            std::memcpy(static_cast<BYTE*>(bits) + (size_t)y * width * 4, m_pPoolBits + (size_t)y * m_usedWidth * 4,
                        (size_t)m_usedWidth * 4);
        CWVPCompatibleDC from((HDC) nullptr, m_hbmMask), to((HDC) nullptr, mask);
        ::BitBlt(to.m_hDC, 0, 0, m_usedWidth, height, from.m_hDC, 0, 0, SRCCOPY);
        ::DeleteObject(m_hbmPool);
        ::DeleteObject(m_hbmMask);
    }
    m_hbmPool = pool;
    m_pPoolBits = static_cast<BYTE*>(bits);
    m_hbmMask = mask;
    WVP_IMAGERESOURCE_INFO* cell = new WVP_IMAGERESOURCE_INFO{FALSE, CRect(m_usedWidth, 0, width, height), this};
    m_usedWidth = width;
    m_used.push_back(cell);
    return cell;
}

WVP_IMAGERESOURCE_INFO* CWVPImageManagerResource::Add(const CWVPImageManagerIconImage& image)
{
    if (image.IsEmpty() || image.GetExtent() != m_extent || (!image.GetIcon() && !image.GetBitmap()))
        return nullptr;
    CWVPLockGuard lock(m_lock);
    WVP_IMAGERESOURCE_INFO* cell = AllocBitmap();
    if (!cell)
        return nullptr;
    cell->bAlpha = FALSE;
    const CRect& r = cell->rcImage;
    HBITMAP alphaPixels = nullptr;
    if (image.GetIcon() && CWVPImageManager::IsComCtl6())
    {
        ICONINFO info = {};
        if (::GetIconInfo(image.GetIcon(), &info))
        {
            int state = CWVPImageManager::AlphaAny;
            HBITMAP premultiplied =
                info.hbmColor ? CWVPImageManager::PremultiplyAlphaBitmap(info.hbmColor, &state) : nullptr;
            if (premultiplied && state == CWVPImageManager::AlphaUsed)
                alphaPixels = premultiplied;
            else if (premultiplied)
                ::DeleteObject(premultiplied);
            ::DeleteObject(info.hbmMask);
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
        }
    }
    else if (!image.GetIcon() && image.GetBitmap())
    {
        alphaPixels = image.m_pBits ? CWVPImageManager::CopyAlphaBitmap(image.GetBitmap())
                                    : CWVPImageManager::PremultiplyAlphaBitmap(image.GetBitmap());
    }
    ::GdiFlush();
    if (alphaPixels)
    {
        BITMAPINFOHEADER header;
        std::vector<BYTE> pixels;
        if (CWVPImageManager::GetBitmapBits32(alphaPixels, header, pixels))
        {
            for (int y = 0; y < m_extent.cy; ++y)
                std::memcpy(m_pPoolBits + ((size_t)y * m_usedWidth + r.left) * 4,
                            pixels.data() + (size_t)y * m_extent.cx * 4, (size_t)m_extent.cx * 4);
            cell->bAlpha = TRUE;
        }
        ::DeleteObject(alphaPixels);
        return cell;
    }
    CWVPCompatibleDC pool((HDC) nullptr, m_hbmPool), mask((HDC) nullptr, m_hbmMask);
    ::PatBlt(pool.m_hDC, r.left, r.top, r.Width(), r.Height(), BLACKNESS);
    ::DrawIconEx(pool.m_hDC, r.left, r.top, image.GetIcon(), r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
    ::PatBlt(mask.m_hDC, r.left, r.top, r.Width(), r.Height(), BLACKNESS);
    ::DrawIconEx(mask.m_hDC, r.left, r.top, image.GetIcon(), r.Width(), r.Height(), 0, nullptr, DI_MASK);
    return cell;
}

void CWVPImageManagerResource::CopyImage(CWVPImageManagerIconImage& target, const WVP_IMAGERESOURCE_INFO* cell)
{
    CWVPLockGuard lock(m_lock);
    target.Clear();
    if (!cell || !m_hbmPool)
        return;
    void* bits = nullptr;
    HBITMAP dib = CWVPImageManager::CreateDIBSection32(nullptr, m_extent.cx, m_extent.cy, &bits);
    if (!dib)
        return;
    ::GdiFlush();
    for (int y = 0; y < m_extent.cy; ++y)
        std::memcpy(static_cast<BYTE*>(bits) + (size_t)y * m_extent.cx * 4,
                    m_pPoolBits + ((size_t)y * m_usedWidth + cell->rcImage.left) * 4, (size_t)m_extent.cx * 4);
    if (cell->bAlpha)
    {
        target.SetBitmap(dib);
        target.m_pBits = static_cast<BYTE*>(bits);
        return;
    }
    HBITMAP mask = ::CreateBitmap(m_extent.cx, m_extent.cy, 1, 1, nullptr);
    {
        CWVPCompatibleDC from((HDC) nullptr, m_hbmMask), to((HDC) nullptr, mask);
        ::BitBlt(to.m_hDC, 0, 0, m_extent.cx, m_extent.cy, from.m_hDC, cell->rcImage.left, 0, SRCCOPY);
    }
    ICONINFO info = {TRUE, 0, 0, mask, dib};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(mask);
    ::DeleteObject(dib);
    if (icon)
        target.SetIcon(icon);
}

void CWVPImageManagerResource::DrawImage(HDC dc, const WVP_IMAGERESOURCE_INFO* cell, int x, int y, int width,
                                         int height, BOOL composited)
{
    CWVPLockGuard lock(m_lock);
    if (!cell || !m_hbmPool)
        return;
    const CRect& r = cell->rcImage;
    CWVPCompatibleDC pool((HDC) nullptr, m_hbmPool);
    if (cell->bAlpha)
    {
        CWVPImageManager::AlphaBlend(dc, CRect(x, y, x + width, y + height), pool.m_hDC, r);
        return;
    }
    CWVPCompatibleDC mask((HDC) nullptr, m_hbmMask);
    if (composited)
    {
        // A 32-bit picture whose opaque pixels carry alpha 255, blended like an alpha image.
        void* bits = nullptr;
        HBITMAP picture = CWVPImageManager::CreateDIBSection32(nullptr, width, height, &bits);
        if (!picture)
            return;
        {
            CWVPCompatibleDC target((HDC) nullptr, picture);
            ::StretchBlt(target.m_hDC, 0, 0, width, height, mask.m_hDC, r.left, r.top, r.Width(), r.Height(), SRCCOPY);
            ::GdiFlush();
            DWORD* words = static_cast<DWORD*>(bits);
            for (int i = 0; i < width * height; ++i)
                words[i] = (words[i] & 0x00FFFFFF) == 0 ? 0xFF000000 : 0;
            ::StretchBlt(target.m_hDC, 0, 0, width, height, pool.m_hDC, r.left, r.top, r.Width(), r.Height(),
                         SRCINVERT);
            ::GdiFlush();
            CWVPImageManager::AlphaBlend(dc, CRect(x, y, x + width, y + height), target.m_hDC,
                                         CRect(0, 0, width, height));
        }
        ::DeleteObject(picture);
        return;
    }
    if (m_owner && m_owner->IsDrawReverted(dc))
    {
        x += width;
        width = -width;
    }
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    ::StretchBlt(dc, x, y, width, height, mask.m_hDC, r.left, r.top, r.Width(), r.Height(), SRCAND);
    ::StretchBlt(dc, x, y, width, height, pool.m_hDC, r.left, r.top, r.Width(), r.Height(), SRCINVERT);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

void CWVPImageManagerResource::FreeBitmap(WVP_IMAGERESOURCE_INFO* cell)
{
    CWVPLockGuard lock(m_lock);
    for (auto it = m_used.begin(); it != m_used.end(); ++it)
    {
        if (*it == cell)
        {
            m_used.erase(it);
            m_free.push_back(cell);
            break;
        }
    }
    if ((int)m_free.size() * m_extent.cx == m_usedWidth)
        Empty();
}
