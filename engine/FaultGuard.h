// Runs a piece of work so that a processor fault inside it (an access violation, a division by
// zero) ends only that work instead of the thread: the bodies of the engine's threads run this
// way, so that a job that faults ends as failed with the fault in its log.
#pragma once

#include <windows.h>

#include <exception>

// Runs body(context): true when it returned, false after a fault (its exception code in *code).
// The body must not let a C++ exception escape; FaultGuarded below takes care of that. A fault
// inside the body is taken by the guard before any handler of the body's own: the body must not
// rely on catching faults itself.
bool RunFaultGuarded(void (*body)(void*), void* context, DWORD* code);

// The fault's name for a log line ("access violation", ...).
const char* FaultName(DWORD code);

// Runs body() under the guard. A C++ exception it throws leaves the guarded frame first and is
// thrown again from here.
template <typename Body> bool FaultGuarded(Body& body, DWORD* code)
{
    struct Call
    {
        Body* body;
        std::exception_ptr thrown;
    } call{&body, nullptr};
    bool returned = RunFaultGuarded(
        [](void* context) {
            Call* call = static_cast<Call*>(context);
            try
            {
                (*call->body)();
            }
            catch (...)
            {
                call->thrown = std::current_exception();
            }
        },
        &call, code);
    if (call.thrown)
        std::rethrow_exception(call.thrown);
    return returned;
}
