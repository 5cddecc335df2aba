// Drives a modal dialog from inside its own loop: the steps run one per tick of a thread timer
// against the dialog window that is open on the thread (the first visible "#32770" top-level
// window), so a test can type, press and check as a user would while DoModal runs.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "RwTest.h"

namespace rwtest
{
typedef std::function<void(HWND)> ModalStep;

struct ModalScriptState
{
    std::vector<ModalStep> steps;
    size_t next = 0;
    DWORD thread = 0;
};

inline ModalScriptState*& CurrentModalScript()
{
    static ModalScriptState* script = nullptr;
    return script;
}

inline BOOL CALLBACK FindModalDialog(HWND hwnd, LPARAM lParam)
{
    WCHAR name[16] = {};
    ::GetClassNameW(hwnd, name, 16);
    if (::IsWindowVisible(hwnd) && ::lstrcmpW(name, L"#32770") == 0)
    {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

inline void CALLBACK RunModalStep(HWND, UINT, UINT_PTR timer, DWORD)
{
    ModalScriptState* script = CurrentModalScript();
    if (!script || script->next >= script->steps.size())
    {
        ::KillTimer(nullptr, timer);
        return;
    }
    HWND dialog = nullptr;
    ::EnumThreadWindows(script->thread, FindModalDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog)
        script->steps[script->next++](dialog);
}

// Runs `modal` (which enters a modal loop) while the steps run; its result.
template <class Modal> INT_PTR RunModalScript(Modal modal, std::vector<ModalStep> steps)
{
    ModalScriptState script;
    script.steps = std::move(steps);
    script.thread = ::GetCurrentThreadId();
    CurrentModalScript() = &script;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, RunModalStep);
    const INT_PTR result = modal();
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(script.steps.size(), script.next) << "not every step ran";
    CurrentModalScript() = nullptr;
    return result;
}
} // namespace rwtest
