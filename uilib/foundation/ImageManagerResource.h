// The bitmap pool: many images of one size side by side in one wide 32-bit DIB with a matching
// mask, so that an application's icons cost one bitmap per size. The image manager keeps one pool
// per size; cells are handed out, freed for reuse, and the pool empties when every cell is free.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/mfc/Rect.h"
#include "uilib/foundation/CriticalSection.h"

class CWVPImageManager;
class CWVPImageManagerIconImage;
class CWVPImageManagerResource;

// One cell of a pool.
struct WVP_IMAGERESOURCE_INFO
{
    BOOL bAlpha; // premultiplied alpha pixels rather than an icon's colour and mask
    CRect rcImage;
    CWVPImageManagerResource* pResource;
};

class CWVPImageManagerResource
{
  public:
    CWVPImageManagerResource(CWVPImageManager* owner, CSize extent);
    ~CWVPImageManagerResource();
    CWVPImageManagerResource(const CWVPImageManagerResource&) = delete;
    CWVPImageManagerResource& operator=(const CWVPImageManagerResource&) = delete;

    // Stores a copy of an image of exactly the cell size; null for anything else.
    WVP_IMAGERESOURCE_INFO* Add(const CWVPImageManagerIconImage& image);
    // Rebuilds a free-standing image from a cell.
    void CopyImage(CWVPImageManagerIconImage& target, const WVP_IMAGERESOURCE_INFO* cell);
    void DrawImage(HDC dc, const WVP_IMAGERESOURCE_INFO* cell, int x, int y, int width, int height, BOOL composited);
    void FreeBitmap(WVP_IMAGERESOURCE_INFO* cell);
    CSize GetExtent() const
    {
        return m_extent;
    }
    int GetUsedWidth() const
    {
        return m_usedWidth;
    }

  private:
    WVP_IMAGERESOURCE_INFO* AllocBitmap();
    void Empty();

    CWVPImageManager* m_owner;
    CSize m_extent;
    int m_usedWidth;
    HBITMAP m_hbmPool;
    BYTE* m_pPoolBits;
    HBITMAP m_hbmMask;
    std::vector<WVP_IMAGERESOURCE_INFO*> m_used;
    std::vector<WVP_IMAGERESOURCE_INFO*> m_free;
    CWVPCriticalSection m_lock;
};
