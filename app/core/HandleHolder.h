// An owner for one Win32 handle of any kind (files, searches, modules, menus), closed with its
// own function when the holder ends.
#pragma once

#include <windows.h>

template <typename Handle, BOOL(WINAPI* Close)(Handle), INT_PTR Invalid = 0> class CHandleHolder
{
public:
    explicit CHandleHolder(Handle h) : m_h(h) {}
    ~CHandleHolder()
    {
        if (Valid())
            Close(m_h);
    }
    CHandleHolder(const CHandleHolder&) = delete;
    CHandleHolder& operator=(const CHandleHolder&) = delete;

    Handle Get() const { return m_h; }
    bool Valid() const { return m_h != (Handle)Invalid; }

private:
    Handle m_h;
};

typedef CHandleHolder<HANDLE, ::CloseHandle, (INT_PTR)-1> CFileHandle;
typedef CHandleHolder<HANDLE, ::FindClose, (INT_PTR)-1> CFindHandle;
typedef CHandleHolder<HMODULE, ::FreeLibrary> CModuleHandle;
typedef CHandleHolder<HMENU, ::DestroyMenu> CMenuHandle;
