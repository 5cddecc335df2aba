// Makes the memory block of a file drop (DROPFILES with wide names), as the shell hands it to a
// window with WM_DROPFILES; the receiver frees it with DragFinish.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <vector>

namespace rwtest
{
template <class Text> HDROP MakeDrop(const std::vector<Text>& paths)
{
    size_t chars = 1;
    for (const Text& path : paths)
        chars += size_t(::lstrlenW(path)) + 1;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(WCHAR));
    DROPFILES* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    WCHAR* at = reinterpret_cast<WCHAR*>(drop + 1);
    for (const Text& path : paths)
    {
        ::lstrcpyW(at, path);
        at += ::lstrlenW(path) + 1;
    }
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
} // namespace rwtest
