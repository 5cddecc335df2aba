// Shared pieces of the update tests: a stand-in main window that hands the download reports to
// the update manager, and a bounded message loop.
#pragma once

#include "CoreTestUtil.h"
#include "app/core/DownloadThread.h"
#include "app/core/UpdateManager.h"

namespace updatetest
{
// A hidden window playing the main window: the download messages go to the manager.
class NotifyWindow
{
  public:
    NotifyWindow()
    {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"RwUpdateTestWindow";
        ::RegisterClassW(&windowClass);
        m_window = ::CreateWindowExW(0, L"RwUpdateTestWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
        update_notify::Get().SetWindow(m_window);
    }
    ~NotifyWindow()
    {
        update_notify::Get().SetWindow(nullptr);
        ::DestroyWindow(m_window);
    }
    NotifyWindow(const NotifyWindow&) = delete;
    NotifyWindow& operator=(const NotifyWindow&) = delete;
    HWND Get() const
    {
        return m_window;
    }

    static int s_closeCount;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        try
        {
            UpdateManager* manager = UpdateManager::Get();
            if (message == WM_RW_DOWNLOAD_DONE && manager)
                return manager->OnDownloadDone(int(wParam));
            if (message == WM_RW_DOWNLOAD_PROGRESS && manager)
            {
                manager->OnDownloadProgress(ULONG(wParam), ULONG(lParam));
                return 0;
            }
            if (message == WM_CLOSE)
            {
                ++s_closeCount;
                return 0;
            }
        }
        catch (...)
        {
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_window;
};
inline int NotifyWindow::s_closeCount = 0;

// Dispatches messages until the condition holds or the time is up; the condition's last value.
template <typename Condition> bool PumpUntil(Condition condition, DWORD limitMs = 20000)
{
    const DWORD start = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - start > limitMs)
            return condition();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return true;
}

inline bool IsUnixFile(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f)
        std::fclose(f);
    return f != nullptr;
}
} // namespace updatetest
