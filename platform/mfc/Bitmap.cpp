#include "platform/mfc/Bitmap.h"

#include "platform/mfc/DC.h"
#include "platform/mfc/WinApp.h"

IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

BOOL CBitmap::LoadBitmap(LPCWSTR name)
{
    return Attach(::LoadBitmapW(AfxFindResourceHandle(name, (LPCWSTR)RT_BITMAP), name));
}

BOOL CBitmap::LoadMappedBitmap(UINT id, UINT flags, LPCOLORMAP map, int mapSize)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(id), (LPCWSTR)RT_BITMAP);
    return Attach(::CreateMappedBitmap(module, id, flags, map, mapSize));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return dc ? Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height)) : FALSE;
}

CSize CBitmap::SetBitmapDimension(int width, int height)
{
    SIZE previous = {0, 0};
    ::SetBitmapDimensionEx((HBITMAP)m_hObject, width, height, &previous);
    return previous;
}

CSize CBitmap::GetBitmapDimension() const
{
    SIZE size = {0, 0};
    ::GetBitmapDimensionEx((HBITMAP)m_hObject, &size);
    return size;
}
