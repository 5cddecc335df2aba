// The window-layer tests' application object: bound to the test process on first use, it keeps
// message boxes from waiting for a person (their texts are recorded instead) and offers helpers
// that run the message loop until the queue is empty or a condition holds.
#pragma once

#include "platform/mfc/Mfc.h"

#include <ostream>
#include <string>
#include <vector>

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp(L"RwWindowTests") {}

    std::vector<CString> m_messageBoxes;
    int m_nextMessageBoxAnswer = IDOK;
    std::vector<UINT> m_appCommands; // commands of the test range that reached the application

    // Commands from this range are the application's own in the tests.
    static const UINT kFirstAppCommand = 0x8F00;
    static const UINT kLastAppCommand = 0x8F0F;
    afx_msg void OnAppCommand(UINT id) { m_appCommands.push_back(id); }
    afx_msg void OnUpdateAppCommand(CCmdUI* ui) { ui->Enable(TRUE); }

    int DoMessageBox(LPCWSTR prompt, UINT, UINT) override
    {
        m_messageBoxes.push_back(CString(prompt));
        return m_nextMessageBoxAnswer;
    }

    // Binds the object to the process once (as AfxWinMain would).
    static CTestApp& Get();

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
ON_COMMAND_RANGE(CTestApp::kFirstAppCommand, CTestApp::kLastAppCommand, OnAppCommand)
ON_UPDATE_COMMAND_UI_RANGE(CTestApp::kFirstAppCommand, CTestApp::kLastAppCommand, OnUpdateAppCommand)
END_MESSAGE_MAP()

inline CTestApp& TestApp()
{
    return CTestApp::Get();
}

// Dispatches everything that is queued now (through the framework's pre-translation).
inline void PumpPending()
{
    CWinThread* thread = AfxGetThread();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
    {
        if (msg.message == WM_QUIT)
            break;
        thread->PumpMessage();
    }
}

// Runs the idle work of the loop as it runs when the queue empties.
inline void RunIdle()
{
    CWinThread* thread = AfxGetThread();
    for (LONG count = 0; thread->OnIdle(count); ++count)
    {
    }
}

// Rectangles in failure messages.
inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

// Narrow text of a wide framework string, for test messages.
inline std::string Narrow(LPCWSTR text)
{
    char buffer[512] = {0};
    ::WideCharToMultiByte(CP_UTF8, 0, text ? text : L"", -1, buffer, sizeof(buffer), nullptr, nullptr);
    return buffer;
}

// Builds a dialog template in memory: one dialog and its controls, in dialog units.
class DialogTemplate
{
public:
    DialogTemplate(DWORD style, short cx, short cy, LPCWSTR title)
    {
        Align(4);
        DLGTEMPLATE header = {};
        header.style = style | DS_SETFONT;
        header.cx = cx;
        header.cy = cy;
        Append(&header, sizeof(header));
        Word(0); // no menu
        Word(0); // default class
        Text(title);
        Word(8);
        Text(L"MS Shell Dlg");
    }

    void AddControl(LPCWSTR className, LPCWSTR text, DWORD style, short x, short y, short cx, short cy, WORD id)
    {
        Align(4);
        DLGITEMTEMPLATE item = {};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Append(&item, sizeof(item));
        Text(className);
        Text(text);
        Word(0); // no creation data
        ++reinterpret_cast<DLGTEMPLATE*>(m_data.data())->cdit;
    }

    LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(m_data.data()); }

private:
    std::vector<BYTE> m_data;

    void Append(const void* data, size_t size)
    {
        const BYTE* bytes = static_cast<const BYTE*>(data);
        m_data.insert(m_data.end(), bytes, bytes + size);
    }
    void Word(WORD value) { Append(&value, sizeof(value)); }
    void Text(LPCWSTR text) { Append(text, ((size_t)::lstrlenW(text) + 1) * sizeof(wchar_t)); }
    void Align(size_t to)
    {
        while (m_data.size() % to)
            m_data.push_back(0);
    }
};

inline CTestApp& CTestApp::Get()
{
    static CTestApp* app = nullptr;
    if (!app)
    {
        // The application object lives for the whole test program (as a global would).
        app = new CTestApp;
        AfxWinInit(::GetModuleHandleW(nullptr), nullptr, ::GetCommandLineW(), SW_SHOW);
    }
    return *app;
}
