// Plays the program for the hand-off test: started without options it checks for an update at
// the server its settings name, downloads it at once and hands it to the updater beside it; started
// again by the updater it takes the options and records them in its settings. Every start is
// appended to host.log in its folder.
#include "app/core/DownloadThread.h"
#include "app/core/Helpers.h"
#include "app/core/UpdateManager.h"
#include "app/core/XmlDocument.h"

namespace
{
const UINT_PTR kPollTimer = 1;
const UINT kPollMs = 100;
const UINT kGiveUpMs = 60000;

UpdateManager* g_manager = nullptr;

int AlwaysOk(const CString&)
{
    return IDOK;
}

void AppendLine(const CString& text)
{
    const CString path = GetAppDir() + L"host.log";
    HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char line[2048] = {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, line, sizeof line - 2, nullptr, nullptr);
    line[length - 1] = '\n';
    DWORD written = 0;
    ::WriteFile(file, line, DWORD(length), &written, nullptr);
    ::CloseHandle(file);
}

// The settings file's "Update" section, read or written.
bool WithUpdateSection(bool save)
{
    CXmlFile file;
    if (!CXmlDocument::Load(file.Get(), GetAppDir() + L"Reelwright.xml", true))
        return false;
    IXMLDOMNode* root = CXmlDocument::GetOrCreateChild(file.Get(), nullptr, L"Corvantis");
    IXMLDOMNode* section = root ? CXmlDocument::GetOrCreateChild(file.Get(), root, L"Update") : nullptr;
    bool ok = section != nullptr;
    if (ok && save)
        ok = g_manager->SaveSettings(file.Get(), section) && CXmlDocument::Save(file.Get());
    else if (ok)
        g_manager->LoadSettings(file.Get(), section);
    if (section)
        section->Release();
    if (root)
        root->Release();
    return ok;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try
    {
        switch (message)
        {
        case WM_RW_DOWNLOAD_DONE:
            return g_manager->OnDownloadDone(int(wParam));
        case WM_RW_DOWNLOAD_PROGRESS:
            g_manager->OnDownloadProgress(ULONG(wParam), ULONG(lParam));
            return 0;
        case WM_TIMER:
            if (g_manager->m_state != kUpdateChecking && g_manager->m_state != kUpdateDownloading &&
                g_manager->m_state != kUpdateFound)
                ::DestroyWindow(window);
            return 0;
        case WM_CLOSE:
            ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        }
    }
    catch (...)
    {
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

int RunHost()
{
    ::CoInitialize(nullptr);
    UpdateManager manager;
    g_manager = &manager;
    g_updateAsk = AlwaysOk;
    WithUpdateSection(false);
    manager.SetAutoUpdate(true);
    AppendLine(CString(L"start ") + ::GetCommandLineW());
    if (manager.ParseCommandLine())
    {
        WithUpdateSection(true);
        return 0;
    }
    if (manager.ApplyPendingUpdate())
        return 0;

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"RwUpdateHost";
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(0, L"RwUpdateHost", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    update_notify::Get().SetWindow(window);
    if (!manager.StartCheck())
        return manager.m_state;
    ::SetTimer(window, kPollTimer, kPollMs, nullptr);
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0 && ::GetTickCount() - start < kGiveUpMs)
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    update_notify::Get().SetWindow(nullptr);
    manager.StopDownload(true);
    WithUpdateSection(true);
    AppendLine(L"state " + CString(std::to_string(manager.m_state).c_str()));
    return manager.m_state;
}
} // namespace

int main()
{
    int code = -1;
    try
    {
        code = RunHost();
    }
    catch (...)
    {
    }
    AfxRunExitHandlers();
    return code;
}
