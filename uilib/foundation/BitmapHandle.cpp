#include "uilib/foundation/BitmapHandle.h"

#include <commctrl.h>

#include "uilib/foundation/DCGuards.h"

COLORREF CWVPBitmapHandle::GetCornerColor() const
{
    if (!m_hBitmap || ::GetObjectType(m_hBitmap) != OBJ_BITMAP)
        return (COLORREF)-1;
    CWVPCompatibleDC dc((HDC) nullptr, m_hBitmap);
    return ::GetPixel(dc.m_hDC, 0, 0);
}

HICON CWVPBitmapHandle::CreateIcon() const
{
    BITMAP info = {};
    if (!m_hBitmap || !::GetObjectW(m_hBitmap, sizeof(info), &info) || info.bmWidth == 0 || info.bmHeight == 0)
        return nullptr;
    HIMAGELIST list = ::ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 0, 1);
    if (!list)
        return nullptr;
    HICON icon = nullptr;
    if (::ImageList_AddMasked(list, m_hBitmap, GetCornerColor()) >= 0)
        icon = ::ImageList_GetIcon(list, 0, ILD_NORMAL);
    ::ImageList_Destroy(list);
    return icon;
}
