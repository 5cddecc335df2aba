// CImageList: owner of a common-control image list.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/mfc/Object.h"
#include "platform/mfc/String.h"
#include "platform/mfc/Rect.h"

class CBitmap;
class CDC;
class CWnd;

class CImageList : public CObject
{
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() noexcept : m_hImageList(nullptr) {}
    virtual ~CImageList();

    HIMAGELIST m_hImageList;
    operator HIMAGELIST() const noexcept { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const noexcept { return this ? m_hImageList : nullptr; }

    static CImageList* PASCAL FromHandle(HIMAGELIST handle);
    static CImageList* PASCAL FromHandlePermanent(HIMAGELIST handle);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HIMAGELIST handle);
    HIMAGELIST Detach();

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL Create(LPCWSTR bitmapName, int cx, int grow, COLORREF mask);
    BOOL Create(CImageList* source);
    BOOL DeleteImageList();

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL SetImageCount(UINT count) { return ImageList_SetImageCount(m_hImageList, count); }
    COLORREF SetBkColor(COLORREF color) { return ImageList_SetBkColor(m_hImageList, color); }
    COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
    BOOL GetImageInfo(int image, IMAGEINFO* info) const { return ImageList_GetImageInfo(m_hImageList, image, info); }
    BOOL GetIconSize(int* cx, int* cy) const { return ImageList_GetIconSize(m_hImageList, cx, cy); }
    BOOL SetIconSize(int cx, int cy) { return ImageList_SetIconSize(m_hImageList, cx, cy); }

    int Add(CBitmap* bitmap, CBitmap* mask);
    int Add(CBitmap* bitmap, COLORREF mask);
    int Add(HICON icon) { return ImageList_ReplaceIcon(m_hImageList, -1, icon); }
    BOOL Remove(int image) { return ImageList_Remove(m_hImageList, image); }
    BOOL Replace(int image, CBitmap* bitmap, CBitmap* mask);
    int Replace(int image, HICON icon) { return ImageList_ReplaceIcon(m_hImageList, image, icon); }
    HICON ExtractIcon(int image) { return ImageList_ExtractIcon(nullptr, m_hImageList, image); }
    BOOL Draw(CDC* dc, int image, POINT p, UINT style);
    BOOL DrawEx(CDC* dc, int image, POINT p, SIZE size, COLORREF background, COLORREF foreground, UINT style);
    BOOL DrawIndirect(IMAGELISTDRAWPARAMS* params) { return ImageList_DrawIndirect(params); }
    BOOL SetOverlayImage(int image, int overlay) { return ImageList_SetOverlayImage(m_hImageList, image, overlay); }
    BOOL Copy(int dest, int source, UINT flags = ILCF_MOVE)
    {
        return ImageList_Copy(m_hImageList, dest, m_hImageList, source, flags);
    }
    BOOL BeginDrag(int image, CPoint hotSpot) { return ImageList_BeginDrag(m_hImageList, image, hotSpot.x, hotSpot.y); }
    static void PASCAL EndDrag() { ImageList_EndDrag(); }
    static BOOL PASCAL DragMove(CPoint p) { return ImageList_DragMove(p.x, p.y); }
    static BOOL PASCAL DragEnter(CWnd* lock, CPoint p);
    static BOOL PASCAL DragLeave(CWnd* lock);
    static BOOL PASCAL DragShowNolock(BOOL show) { return ImageList_DragShowNolock(show); }

private:
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
};
