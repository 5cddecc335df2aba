// Drives the real program in-process: a program folder of its own (languages and profiles copied
// from the build's program folder), the application object started and stopped as the program's
// entry does, the message loop pumped by hand, and small readers for the files it writes.
#pragma once

// The C++ streams first: windows.h defines min and max macros that break them.
#include <fstream>
#include <sstream>
#include <vector>

#include "RwTest.h"
#include "WideText.h"

#include "app/shell/ListWnd.h"
#include "app/shell/MainFrame.h"
#include "app/shell/ReelwrightApp.h"

namespace shelltest
{
inline CString Wide(const std::string& utf8)
{
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    CString out;
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.GetBuffer(size), size);
    out.ReleaseBuffer();
    return out;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline bool Exists(const std::string& path)
{
    return ::GetFileAttributesW(Wide(rwtest::ToWin32Path(path))) != INVALID_FILE_ATTRIBUTES;
}

// The text of one element of an XML file (the first one of that name), or "<missing>".
inline std::string ElementText(const std::string& xml, const std::string& name)
{
    const std::string open = "<" + name + ">", close = "</" + name + ">";
    const size_t at = xml.find(open);
    if (at == std::string::npos)
        return xml.find("<" + name + "/>") != std::string::npos ? "" : "<missing>";
    const size_t end = xml.find(close, at);
    return end == std::string::npos ? "<missing>" : xml.substr(at + open.size(), end - at - open.size());
}

// A language file with the given name and texts ("<key>text</key>...").
inline std::string LanguageFile(const std::string& name, const std::string& texts)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><langfile><langinfo><name>" + name +
           "</name><localid>9999</localid></langinfo><language>" + texts + "</language></langfile>";
}

// The messages the program would show, collected instead of shown.
inline std::vector<std::string>& ShownMessages()
{
    static std::vector<std::string> messages;
    return messages;
}
inline int CollectMessage(const CString& text)
{
    ShownMessages().push_back(rwtest::Utf8(text));
    return IDOK;
}

// Adds the file as a task through the main window's task list; its task id, or -1.
inline int AddListTask(CMainFrame* frame, const CString& path)
{
    CListWnd* list = frame ? frame->ListPanel() : nullptr;
    CString name;
    if (!list || !list->AddTaskRow(path, name))
        return -1;
    return list->TaskIdOfRow(list->m_list.GetItemCount() - 1);
}

// Selects exactly the rows of these tasks in the main window's task list, as a user would.
inline void SelectListTasks(CMainFrame* frame, const std::vector<int>& ids)
{
    CListWnd* list = frame ? frame->ListPanel() : nullptr;
    if (!list)
        return;
    list->m_list.SetItemState(-1, 0, LVIS_SELECTED);
    for (int row = 0; row < list->m_list.GetItemCount(); ++row)
        for (int id : ids)
            if (list->TaskIdOfRow(row) == id)
                list->m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    list->UpdatePanels();
}

class ShellHarness
{
  public:
    // A fresh program folder under the scratch root; languages and profiles unless told not to.
    explicit ShellHarness(const std::string& name, bool withProfiles = true)
    {
        m_dir = rwtest::ScratchDir("Shell_" + name);
        CopyFolder(rwtest::ProgramDir() + "/lang", m_dir + "/lang");
        if (withProfiles)
            CopyFolder(rwtest::ProgramDir() + "/profiles", m_dir + "/profiles");
        else
            ::CreateDirectoryW(Wide(rwtest::ToWin32Path(m_dir + "/profiles")), nullptr);
        g_appMessage = CollectMessage;
        ShownMessages().clear();
    }
    ~ShellHarness()
    {
        Stop();
    }

    const std::string& Dir() const
    {
        return m_dir;
    }
    std::string Path(const std::string& name) const
    {
        return m_dir + "/" + name;
    }
    CReelwrightApp* App() const
    {
        return m_app;
    }
    CMainFrame* Frame() const
    {
        return m_app ? static_cast<CMainFrame*>(m_app->m_pMainWnd) : nullptr;
    }

    // Starts the program with the given options; the result of InitInstance.
    BOOL Start(const std::string& options = "")
    {
        m_app = new CReelwrightApp();
        m_app->m_programDir = Wide(rwtest::ToWin32Path(m_dir)) + L"\\";
        m_app->m_commandLine = Wide("Reelwright.exe " + options);
        AfxWinInit(::GetModuleHandleW(nullptr), nullptr, const_cast<LPWSTR>(L""), SW_SHOWNORMAL);
        m_started = m_app->InitInstance();
        Pump();
        return m_started;
    }

    // Runs the message loop until the queue is empty, with the idle updates the real loop runs.
    void Pump(int rounds = 3)
    {
        for (int round = 0; round < rounds; round++)
        {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            {
                if (!m_app || !m_app->PreTranslateMessage(&msg))
                {
                    ::TranslateMessage(&msg);
                    ::DispatchMessageW(&msg);
                }
            }
            if (m_app)
                for (LONG idle = 0; m_app->OnIdle(idle); idle++)
                    ;
        }
    }

    // Ends the program as the framework does: the main window goes, then the shutdown steps.
    int Stop()
    {
        if (!m_app)
            return 0;
        if (m_app->m_pMainWnd && m_app->m_pMainWnd->m_hWnd)
            m_app->m_pMainWnd->DestroyWindow();
        Pump(1);
        const int code = m_app->ExitInstance();
        delete m_app;
        m_app = nullptr;
        return code;
    }

    std::string Settings() const
    {
        return ReadFile(Path("Reelwright.xml"));
    }

    // The log as UTF-8, with its byte-order mark reported apart.
    std::string Log(bool* hasMark = nullptr) const
    {
        const std::string bytes = ReadFile(Path("log.txt"));
        if (hasMark)
            *hasMark = bytes.size() >= 2 && BYTE(bytes[0]) == 0xFF && BYTE(bytes[1]) == 0xFE;
        if (bytes.size() < 2)
            return std::string();
        return rwtest::Utf8(reinterpret_cast<LPCWSTR>(bytes.data() + 2), int((bytes.size() - 2) / 2));
    }

  private:
    static void CopyFolder(const std::string& from, const std::string& to)
    {
        const CString source = Wide(rwtest::ToWin32Path(from)), target = Wide(rwtest::ToWin32Path(to));
        ::CreateDirectoryW(target, nullptr);
        WIN32_FIND_DATAW found;
        HANDLE find = ::FindFirstFileW(source + L"\\*.xml", &found);
        if (find == INVALID_HANDLE_VALUE)
            return;
        do
            ::CopyFileW(source + L"\\" + found.cFileName, target + L"\\" + found.cFileName, FALSE);
        while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }

    std::string m_dir;
    CReelwrightApp* m_app = nullptr;
    BOOL m_started = FALSE;
};
} // namespace shelltest
