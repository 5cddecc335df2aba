#include "RwTest.h"

#include "platform/mfc/Mfc.h"

#include <atomic>
#include <set>

namespace
{
std::atomic<int> g_created{0};
std::atomic<int> g_deleted{0};

struct CState : CNoTrackObject
{
    // A serial number tells objects apart even when a freed one's address is reused.
    CState() : serial(++g_created)
    {
    }
    ~CState() override
    {
        ++g_deleted;
    }
    int serial;
    int value = 0;
};

CThreadLocal<CState> g_threadState;
CThreadLocal<CState> g_otherState;
CProcessLocal<CState> g_processState;

struct Seen
{
    int nThreadSerial = 0;
    CState* pProcessState = nullptr;
};

UINT UseState(LPVOID pParam)
{
    Seen* pSeen = static_cast<Seen*>(pParam);
    CState* pState = g_threadState.GetData();
    pSeen->nThreadSerial = pState->serial;
    pState->value = 5;
    // The same object on every call of this thread.
    if (g_threadState.GetData() != pState || g_threadState->value != 5)
        return 1;
    pSeen->pProcessState = g_processState.GetData();
    return 0;
}

void RunThreads(Seen* seen, int count)
{
    std::vector<CWinThread*> threads;
    for (int i = 0; i < count; ++i)
    {
        CWinThread* t = AfxBeginThread(UseState, &seen[i], THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        t->m_bAutoDelete = FALSE;
        t->ResumeThread();
        threads.push_back(t);
    }
    for (CWinThread* t : threads)
    {
        EXPECT_EQ(::WaitForSingleObject(t->m_hThread, 10000), WAIT_OBJECT_0);
        DWORD code = 1;
        ::GetExitCodeThread(t->m_hThread, &code);
        EXPECT_EQ(code, 0u);
        delete t;
    }
}
} // namespace

TEST(ThreadLocal, EachThreadHasItsOwnObjectUntilItEnds)
{
    EXPECT_EQ(g_threadState.GetDataNA(), nullptr);
    CState* mine = g_threadState.GetData();
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(g_otherState.GetDataNA(), nullptr);
    EXPECT_NE(g_otherState.GetData(), mine);

    int deletedBefore = g_deleted;
    Seen seen[4];
    RunThreads(seen, 4);
    std::set<int> threadSerials;
    for (const Seen& s : seen)
    {
        threadSerials.insert(s.nThreadSerial);
        EXPECT_EQ(s.pProcessState, g_processState.GetData());
    }
    EXPECT_EQ(threadSerials.size(), 4u);
    EXPECT_EQ(threadSerials.count(mine->serial), 0u);
    // Every ended thread's object is gone; this thread's objects and the process object remain.
    EXPECT_EQ(g_deleted - deletedBefore, 4);
    EXPECT_EQ(g_threadState.GetData(), mine);

    g_threadState.ReleaseSlot();
    EXPECT_EQ(g_threadState.GetDataNA(), nullptr);
    EXPECT_EQ(g_deleted - deletedBefore, 5);
}

TEST(ThreadLocal, ExitHandlersReleaseEverySlot)
{
    g_threadState.GetData();
    g_otherState.GetData();
    g_processState.GetData();
    AfxRunExitHandlers();
    EXPECT_EQ(g_created.load(), g_deleted.load());
    EXPECT_EQ(g_threadState.GetDataNA(), nullptr);
    EXPECT_EQ(g_processState.GetDataNA(), nullptr);
}
