#include "RwTest.h"

#include "platform/mfc/ExitSequence.h"

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
