// CMenu: owner of a menu handle, with the item operations the frames, menu bars and command
// bars use; FromHandle wraps foreign menus in temporary objects deleted at idle time.
#pragma once

#include <windows.h>

#include "platform/mfc/Object.h"
#include "platform/mfc/String.h"

class CBitmap;

class CWnd;

class CMenu : public CObject
{
    DECLARE_DYNCREATE(CMenu)
public:
    CMenu() noexcept : m_hMenu(nullptr) {}
    virtual ~CMenu();

    HMENU m_hMenu;
    operator HMENU() const noexcept { return m_hMenu; }
    HMENU GetSafeHmenu() const noexcept { return this ? m_hMenu : nullptr; }
    BOOL operator==(const CMenu& other) const { return m_hMenu == other.m_hMenu; }
    BOOL operator!=(const CMenu& other) const { return m_hMenu != other.m_hMenu; }

    static CMenu* PASCAL FromHandle(HMENU handle);
    static CMenu* PASCAL FromHandlePermanent(HMENU handle);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HMENU handle);
    HMENU Detach();

    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(LPCWSTR name);
    BOOL LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCEW(id)); }
    BOOL LoadMenuIndirect(const void* templ) { return Attach(::LoadMenuIndirectW(templ)); }
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCWSTR item = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, id, item);
    }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCWSTR item = nullptr)
    {
        return ::InsertMenuW(m_hMenu, position, flags, id, item);
    }
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCWSTR item = nullptr)
    {
        return ::ModifyMenuW(m_hMenu, position, flags, id, item);
    }
    BOOL InsertMenuItem(UINT item, LPMENUITEMINFOW info, BOOL byPosition = FALSE)
    {
        return ::InsertMenuItemW(m_hMenu, item, byPosition, info);
    }
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
    UINT CheckMenuItem(UINT id, UINT check) { return ::CheckMenuItem(m_hMenu, id, check); }
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags)
    {
        return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags);
    }
    UINT EnableMenuItem(UINT id, UINT enable) { return ::EnableMenuItem(m_hMenu, id, enable); }
    UINT GetMenuItemCount() const { return (UINT)::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    int GetMenuString(UINT id, LPWSTR text, int max, UINT flags) const
    {
        return ::GetMenuStringW(m_hMenu, id, text, max, flags);
    }
    int GetMenuString(UINT id, CString& text, UINT flags) const;
    BOOL GetMenuItemInfo(UINT item, LPMENUITEMINFOW info, BOOL byPosition = FALSE)
    {
        return ::GetMenuItemInfoW(m_hMenu, item, byPosition, info);
    }
    BOOL SetMenuItemInfo(UINT item, LPMENUITEMINFOW info, BOOL byPosition = FALSE)
    {
        return ::SetMenuItemInfoW(m_hMenu, item, byPosition, info);
    }
    CMenu* GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
    UINT GetDefaultItem(UINT flags, BOOL byPosition = FALSE) { return ::GetMenuDefaultItem(m_hMenu, byPosition, flags); }
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPosition); }
    BOOL SetMenuItemBitmaps(UINT position, UINT flags, const CBitmap* unchecked, const CBitmap* checked);
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, LPCRECT rect = nullptr);
    BOOL TrackPopupMenuEx(UINT flags, int x, int y, CWnd* wnd, LPTPMPARAMS params);
    BOOL SetMenuInfo(LPCMENUINFO info) { return ::SetMenuInfo(m_hMenu, info); }
    BOOL GetMenuInfo(LPMENUINFO info) const { return ::GetMenuInfo(m_hMenu, info); }

    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}

private:
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
};
