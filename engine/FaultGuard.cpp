#include "engine/FaultGuard.h"

#include <setjmp.h>
#include <stdint.h>

#include <mutex>

// The guard is a vectored exception handler rather than a __TRY frame: Wine's dispatcher unwinds
// through the frames of our code by their unwind tables and calls the C++ personality routine of
// every frame with destructors or catch clauses as if it were an exception handler, which makes
// the dispatch fault again before it reaches the frame of a __TRY further up. The vectored handler
// runs before any frame is looked at; on a guarded thread it resumes the thread in a function that
// jumps back to the guard, leaving the frames in between as they are (their destructors do not run).
namespace
{
struct GuardFrame
{
    jmp_buf jump;
    DWORD code;
    GuardFrame* outer;
};

thread_local GuardFrame* t_guard = nullptr;

// Room left below the faulting frame's stack pointer before the recovery runs (beyond the red
// zone of the faulting function).
const DWORD64 kRecoveryStackGap = 512;
const DWORD64 kStackAlignment = 16;

struct FaultNameEntry
{
    DWORD code;
    const char* name;
};
// The faults the guard catches, with their names for the log.
const FaultNameEntry kFaultNames[] = {
    {EXCEPTION_ACCESS_VIOLATION, "access violation"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "integer division by zero"},
    {EXCEPTION_INT_OVERFLOW, "integer overflow"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "illegal instruction"},
    {EXCEPTION_PRIV_INSTRUCTION, "privileged instruction"},
    {EXCEPTION_IN_PAGE_ERROR, "page read error"},
    {EXCEPTION_DATATYPE_MISALIGNMENT, "misaligned data"},
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "array bounds exceeded"},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, "floating-point division by zero"},
    {EXCEPTION_FLT_INVALID_OPERATION, "invalid floating-point operation"},
};

const FaultNameEntry* FindFault(DWORD code)
{
    for (const FaultNameEntry& entry : kFaultNames)
        if (entry.code == code)
            return &entry;
    return nullptr;
}

// Runs on the faulting thread in place of the faulting instruction.
void RecoverFromFault()
{
    longjmp(t_guard->jump, 1);
}

LONG CALLBACK GuardHandler(EXCEPTION_POINTERS* info)
{
    GuardFrame* frame = t_guard;
    if (!frame || !info || !info->ExceptionRecord || !info->ContextRecord ||
        !FindFault(info->ExceptionRecord->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    frame->code = info->ExceptionRecord->ExceptionCode;
    CONTEXT* context = info->ContextRecord;
    // A function is entered with its stack pointer 8 bytes below a 16-byte boundary.
    context->Rsp = ((context->Rsp - kRecoveryStackGap) & ~(kStackAlignment - 1)) - sizeof(DWORD64);
    context->Rip = reinterpret_cast<DWORD64>(&RecoverFromFault);
    return EXCEPTION_CONTINUE_EXECUTION;
}

void InstallHandler()
{
    static std::once_flag installed;
    std::call_once(installed, [] { ::AddVectoredExceptionHandler(1, GuardHandler); });
}
} // namespace

bool RunFaultGuarded(void (*body)(void*), void* context, DWORD* code)
{
    InstallHandler();
    GuardFrame frame;
    frame.code = 0;
    frame.outer = t_guard;
    volatile bool faulted = false;
    if (setjmp(frame.jump) == 0)
    {
        t_guard = &frame;
        body(context);
    }
    else
        faulted = true;
    t_guard = frame.outer;
    if (code)
        *code = faulted ? frame.code : 0;
    return !faulted;
}

const char* FaultName(DWORD code)
{
    const FaultNameEntry* entry = FindFault(code);
    return entry ? entry->name : "processor exception";
}
