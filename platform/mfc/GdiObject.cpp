#include "platform/mfc/GdiObject.h"

#include "platform/mfc/ThreadState.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)

namespace
{
void BindGdiObject(CGdiObject* object, HGDIOBJ handle)
{
    object->m_hObject = handle;
}

CHandleMap<CGdiObject, HGDIOBJ>* GdiMap(bool create)
{
    return AfxThreadHandleMap<CGdiObject, HGDIOBJ, BindGdiObject>(AfxGetThreadState()->m_pmapHGDIOBJ, create);
}
}

CGdiObject::~CGdiObject()
{
    if (AfxWindowLayerTerminated())
    {
        m_hObject = nullptr; // the process is ending: the system frees it
        return;
    }
    DeleteObject();
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ handle)
{
    return GdiMap(true)->FromHandle(handle);
}

void PASCAL CGdiObject::DeleteTempMap()
{
    if (auto* map = GdiMap(false))
        map->DeleteTemp();
}

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (!handle)
        return FALSE;
    m_hObject = handle;
    GdiMap(true)->SetPermanent(handle, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ handle = m_hObject;
    if (handle)
    {
        if (auto* map = GdiMap(false))
            map->RemoveHandle(handle, this);
    }
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int index)
{
    return Attach(::GetStockObject(index));
}
