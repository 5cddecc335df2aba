#include "platform/mfc/ImageList.h"

#include "platform/mfc/Bitmap.h"
#include "platform/mfc/DC.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/Wnd.h"
#include "platform/mfc/WinApp.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace
{
void BindImageList(CImageList* list, HIMAGELIST handle)
{
    list->m_hImageList = handle;
}

CHandleMap<CImageList, HIMAGELIST>* ImageListMap(bool create)
{
    return AfxThreadHandleMap<CImageList, HIMAGELIST, BindImageList>(AfxGetThreadState()->m_pmapHIMAGELIST, create);
}
}

CImageList::~CImageList()
{
    if (AfxWindowLayerTerminated())
        m_hImageList = nullptr;
    DeleteImageList();
}

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST handle)
{
    return ImageListMap(true)->FromHandle(handle);
}

CImageList* PASCAL CImageList::FromHandlePermanent(HIMAGELIST handle)
{
    auto* map = ImageListMap(false);
    return map ? map->LookupPermanent(handle) : nullptr;
}

void PASCAL CImageList::DeleteTempMap()
{
    if (auto* map = ImageListMap(false))
        map->DeleteTemp();
}

BOOL CImageList::Attach(HIMAGELIST handle)
{
    if (!handle)
        return FALSE;
    m_hImageList = handle;
    ImageListMap(true)->SetPermanent(handle, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST handle = m_hImageList;
    if (handle)
    {
        if (auto* map = ImageListMap(false))
            map->RemoveHandle(handle, this);
    }
    m_hImageList = nullptr;
    return handle;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask)
{
    return Create(MAKEINTRESOURCEW(bitmapId), cx, grow, mask);
}

BOOL CImageList::Create(LPCWSTR bitmapName, int cx, int grow, COLORREF mask)
{
    HINSTANCE module = AfxFindResourceHandle(bitmapName, (LPCWSTR)RT_BITMAP);
    return Attach(ImageList_LoadImageW(module, bitmapName, cx, grow, mask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

BOOL CImageList::Create(CImageList* source)
{
    return source ? Attach(ImageList_Duplicate(source->m_hImageList)) : FALSE;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask)
{
    return ImageList_Add(m_hImageList, (HBITMAP)bitmap->GetSafeHandle(), (HBITMAP)mask->GetSafeHandle());
}

int CImageList::Add(CBitmap* bitmap, COLORREF mask)
{
    return ImageList_AddMasked(m_hImageList, (HBITMAP)bitmap->GetSafeHandle(), mask);
}

BOOL CImageList::Replace(int image, CBitmap* bitmap, CBitmap* mask)
{
    return ImageList_Replace(m_hImageList, image, (HBITMAP)bitmap->GetSafeHandle(), (HBITMAP)mask->GetSafeHandle());
}

BOOL CImageList::Draw(CDC* dc, int image, POINT p, UINT style)
{
    return ImageList_Draw(m_hImageList, image, dc->GetSafeHdc(), p.x, p.y, style);
}

BOOL CImageList::DrawEx(CDC* dc, int image, POINT p, SIZE size, COLORREF background, COLORREF foreground, UINT style)
{
    return ImageList_DrawEx(m_hImageList, image, dc->GetSafeHdc(), p.x, p.y, size.cx, size.cy, background,
                            foreground, style);
}

BOOL PASCAL CImageList::DragEnter(CWnd* lock, CPoint p)
{
    return ImageList_DragEnter(lock->GetSafeHwnd(), p.x, p.y);
}

BOOL PASCAL CImageList::DragLeave(CWnd* lock)
{
    return ImageList_DragLeave(lock->GetSafeHwnd());
}
