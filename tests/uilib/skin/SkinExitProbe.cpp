// A console program for the skin's clean-exit test: loads the program's skin from its own
// resources as the program does, skins windows on the main thread and on a thread started after
// the load, shuts the skin down as the program's exit does and returns the exit code given on its
// command line. A check that fails returns a code of its own (90 and up) instead.
#include "ImportSlot.h"
#include "platform/mfc/ExitSequence.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerApiHook.h"
#include "uilib/skin/SkinObject.h"

#include <commctrl.h>

#include <cstdlib>

namespace
{

enum Failure
{
    kNoSkin = 90,
    kNotHooked,
    kNotSkinned,
    kSlotLeft,
    kProcedureLeft,
    kThreadFailed,
};

DWORD WINAPI SkinnedThread(LPVOID)
{
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    bool skinned = window && WVPSkinManager()->Lookup(window);
    if (window)
        ::DestroyWindow(window);
    return skinned ? 0 : 1;
}

int Run()
{
    ::InitCommonControls();
    HMODULE self = ::GetModuleHandleW(nullptr);
    if (!WVPSkinLoadFromResources(self, L"NORMALBLUE_INI"))
        return kNoSkin;
    FARPROC real = WVPSkinManagerApiHook()->GetOriginalFunction(kApiGetSysColor);
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    FARPROC replacement = ::GetProcAddress(user32, "GetSysColor");
    if (!real || replacement == real)
        return kNotHooked;

    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
    HWND status = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD, 0, 0, 0, 0, window, nullptr, nullptr, nullptr);
    CWVPSkinObject* object = window ? WVPSkinManager()->Lookup(window) : nullptr;
    if (!status || !object)
        return kNotSkinned;
    WNDPROC own = object->GetPreviousWndProc();
    HANDLE thread = ::CreateThread(nullptr, 0, &SkinnedThread, nullptr, 0, nullptr);
    DWORD threadResult = 1;
    if (thread)
    {
        ::WaitForSingleObject(thread, INFINITE);
        ::GetExitCodeThread(thread, &threadResult);
        ::CloseHandle(thread);
    }
    if (threadResult != 0)
        return kThreadFailed;

    WVPSkinShutdown();
    HMODULE comctl32 = ::GetModuleHandleW(L"comctl32.dll");
    if (rwtest::ImportSlotValue(self, "user32.dll", real, replacement) != real ||
        rwtest::ImportSlotValue(comctl32, "user32.dll", real, replacement) != real)
        return kSlotLeft;
    if (::GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(own))
        return kProcedureLeft;
    ::DestroyWindow(window);
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    int code = argc > 1 ? std::atoi(argv[1]) : 0;
    int failure = Run();
    // As the program's entry function: the exit handlers run before it returns.
    AfxRunExitHandlers();
    return failure >= 0 ? failure : code;
}
