#include "platform/mfc/Menu.h"

#include "platform/mfc/Bitmap.h"
#include "platform/mfc/ThreadState.h"
#include "platform/mfc/Wnd.h"
#include "platform/mfc/WinApp.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace
{
void BindMenu(CMenu* menu, HMENU handle)
{
    menu->m_hMenu = handle;
}

CHandleMap<CMenu, HMENU>* MenuMap(bool create)
{
    return AfxThreadHandleMap<CMenu, HMENU, BindMenu>(AfxGetThreadState()->m_pmapHMENU, create);
}
}

CMenu::~CMenu()
{
    if (AfxWindowLayerTerminated())
        m_hMenu = nullptr;
    DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU handle)
{
    return MenuMap(true)->FromHandle(handle);
}

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU handle)
{
    auto* map = MenuMap(false);
    return map && handle ? map->LookupPermanent(handle) : nullptr;
}

void PASCAL CMenu::DeleteTempMap()
{
    if (auto* map = MenuMap(false))
        map->DeleteTemp();
}

BOOL CMenu::Attach(HMENU handle)
{
    if (!handle)
        return FALSE;
    m_hMenu = handle;
    MenuMap(true)->SetPermanent(handle, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU handle = m_hMenu;
    if (handle)
    {
        if (auto* map = MenuMap(false))
            map->RemoveHandle(handle, this);
    }
    m_hMenu = nullptr;
    return handle;
}

BOOL CMenu::LoadMenu(LPCWSTR name)
{
    return Attach(::LoadMenuW(AfxFindResourceHandle(name, (LPCWSTR)RT_MENU), name));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const
{
    int length = ::GetMenuStringW(m_hMenu, id, nullptr, 0, flags);
    if (length <= 0)
    {
        text.Empty();
        return length;
    }
    length = ::GetMenuStringW(m_hMenu, id, text.GetBuffer(length + 1), length + 1, flags);
    text.ReleaseBuffer();
    return length;
}

BOOL CMenu::SetMenuItemBitmaps(UINT position, UINT flags, const CBitmap* unchecked, const CBitmap* checked)
{
    return ::SetMenuItemBitmaps(m_hMenu, position, flags, (HBITMAP)unchecked->GetSafeHandle(),
                                (HBITMAP)checked->GetSafeHandle());
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, LPCRECT rect)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, wnd->GetSafeHwnd(), rect);
}

BOOL CMenu::TrackPopupMenuEx(UINT flags, int x, int y, CWnd* wnd, LPTPMPARAMS params)
{
    return ::TrackPopupMenuEx(m_hMenu, flags, x, y, wnd->GetSafeHwnd(), params);
}
