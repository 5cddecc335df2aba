// The ordered exit sequence: process-wide objects register a handler when they are created, and
// the program's entry function runs them, newest first, before it returns. Static destructors
// come too late on Winelib (every DLL is detached by then), so nothing that calls Win32 may wait
// for them.
#pragma once

typedef void (*AFX_EXIT_HANDLER)(void* context);

// Registers a handler; handlers run in reverse order of registration, each once.
void AfxRegisterExitHandler(AFX_EXIT_HANDLER handler, void* context);

// Runs and forgets every registered handler. Safe to call more than once.
void AfxRunExitHandlers();
