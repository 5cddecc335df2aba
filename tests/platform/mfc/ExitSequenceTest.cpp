#include "ProbeProcess.h"
#include "RwTest.h"

#include "platform/mfc/ExitSequence.h"
#include "platform/mfc/String.h"

#include <cstdio>
#include <string>
#include <vector>

static std::vector<int> g_order;

static void Record(void* context)
{
    g_order.push_back(static_cast<int>(reinterpret_cast<INT_PTR>(context)));
}

static void RegisterLate(void*)
{
    g_order.push_back(100);
    AfxRegisterExitHandler(Record, reinterpret_cast<void*>(static_cast<INT_PTR>(7)));
}

TEST(ExitSequence, RunsNewestFirstAndOnce)
{
    g_order.clear();
    AfxRunExitHandlers();
    for (INT_PTR i = 1; i <= 3; ++i)
        AfxRegisterExitHandler(Record, reinterpret_cast<void*>(i));
    AfxRegisterExitHandler(RegisterLate, nullptr);
    AfxRunExitHandlers();
    AfxRunExitHandlers();
    EXPECT_EQ(g_order, (std::vector<int>{100, 7, 3, 2, 1}));
}

// Runs the probe program (process-wide objects of every kind, exit handlers, a thread-local
// object on a thread that ended) and checks its exit code and the order of its clean-up.
TEST(ExitSequence, ExitCodeSurvivesTheHandlers)
{
    std::string dir = rwtest::ScratchDir("exitcode");
    std::string unixLog = dir + "/order.txt";
    std::string probe = std::string(RW_BINARY_DIR) + "/tests/rwexitprobe.exe.so";
    for (int code : {37, 0, 255})
    {
        DWORD exitCode = rwtest::RunProbe(probe, std::to_string(code) + " \"" + rwtest::ToWin32Path(unixLog) + "\"");
        EXPECT_EQ(exitCode, DWORD(code));
        std::string order;
        if (FILE* in = std::fopen(unixLog.c_str(), "rb"))
        {
            char buffer[256];
            order.assign(buffer, std::fread(buffer, 1, sizeof(buffer), in));
            std::fclose(in);
        }
        // The worker's thread-local object goes when its thread ends; the rest in reverse order of
        // registration: the process-local and thread-local slots came with their static objects.
        EXPECT_EQ(order, "thread-local,main,second,first,process-local,thread-local,");
    }
}
