// CBitmap: a GDI bitmap, loaded from resources or made compatible with a device context.
#pragma once

#include "platform/mfc/GdiObject.h"

class CDC;

class CBitmap : public CGdiObject
{
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap() noexcept {}
    static CBitmap* PASCAL FromHandle(HBITMAP handle)
    {
        return static_cast<CBitmap*>(CGdiObject::FromHandle(handle));
    }
    operator HBITMAP() const noexcept { return static_cast<HBITMAP>(m_hObject); }

    BOOL LoadBitmap(LPCWSTR name);
    BOOL LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEW(id)); }
    BOOL LoadOEMBitmap(UINT id) { return Attach(::LoadBitmapW(nullptr, MAKEINTRESOURCEW(id))); }
    BOOL LoadMappedBitmap(UINT id, UINT flags = 0, LPCOLORMAP map = nullptr, int mapSize = 0);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
    {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    BOOL CreateBitmapIndirect(LPBITMAP bitmap) { return Attach(::CreateBitmapIndirect(bitmap)); }
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL CreateDiscardableBitmap(CDC* dc, int width, int height) { return CreateCompatibleBitmap(dc, width, height); }
    int GetBitmap(BITMAP* bitmap) { return ::GetObjectW(m_hObject, sizeof(BITMAP), bitmap); }
    DWORD SetBitmapBits(DWORD count, const void* bits) { return ::SetBitmapBits((HBITMAP)m_hObject, count, bits); }
    DWORD GetBitmapBits(DWORD count, LPVOID bits) const { return ::GetBitmapBits((HBITMAP)m_hObject, count, bits); }
    CSize SetBitmapDimension(int width, int height);
    CSize GetBitmapDimension() const;
};
