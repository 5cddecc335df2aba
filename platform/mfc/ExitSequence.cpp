#include "ExitSequence.h"

#include <mutex>
#include <utility>
#include <vector>

namespace
{
struct ExitEntry
{
    AFX_EXIT_HANDLER handler;
    void* context;
};

std::mutex& ExitLock()
{
    static std::mutex lock;
    return lock;
}

std::vector<ExitEntry>& ExitEntries()
{
    // Never destroyed: a static destructor would run after Wine has detached its DLLs.
    static std::vector<ExitEntry>* entries = new std::vector<ExitEntry>;
    return *entries;
}
}

void AfxRegisterExitHandler(AFX_EXIT_HANDLER handler, void* context)
{
    if (!handler)
        return;
    std::lock_guard<std::mutex> guard(ExitLock());
    ExitEntries().push_back({handler, context});
}

void AfxRunExitHandlers()
{
    for (;;)
    {
        ExitEntry entry;
        {
            std::lock_guard<std::mutex> guard(ExitLock());
            if (ExitEntries().empty())
                return;
            entry = ExitEntries().back();
            ExitEntries().pop_back();
        }
        // A handler may register further handlers; they run next.
        entry.handler(entry.context);
    }
}
