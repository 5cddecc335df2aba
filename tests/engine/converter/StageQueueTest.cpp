#define NOMINMAX
#include "RwTest.h"

#include "engine/converter/StageQueue.h"

#include <windows.h>

#include <atomic>
#include <vector>

namespace
{
const int kItems = 20000;

struct Consumer
{
    StageQueue<int>* queue;
    std::vector<int> received;
    std::atomic<bool> popping{false};
};

DWORD WINAPI ConsumeAll(LPVOID param)
{
    Consumer* consumer = static_cast<Consumer*>(param);
    try
    {
        int item = 0;
        consumer->popping = true;
        while (consumer->queue->Pop(&item))
            consumer->received.push_back(item);
    }
    catch (...)
    {
    }
    return 0;
}

struct Producer
{
    StageQueue<int>* queue;
    int pushed = 0;
    bool refused = false;
};

DWORD WINAPI ProduceUntilRefused(LPVOID param)
{
    Producer* producer = static_cast<Producer*>(param);
    try
    {
        for (int i = 0; !producer->refused; ++i)
        {
            int item = i;
            if (producer->queue->Push(std::move(item)))
                ++producer->pushed;
            else
                producer->refused = true;
        }
    }
    catch (...)
    {
    }
    return 0;
}

struct ThreadHandle
{
    HANDLE handle;
    ~ThreadHandle()
    {
        ::CloseHandle(handle);
    }
};
} // namespace

// Every item arrives once and in order through queues small enough that both sides sleep often
// (a lost wake-up hangs the test), and Close lets the consumer drain what is left.
TEST(StageQueueTest, CarriesEveryItemInOrderAndDrainsOnClose)
{
    for (size_t capacity : {1u, 2u, 5u})
    {
        StageQueue<int> queue(capacity);
        Consumer consumer;
        consumer.queue = &queue;
        ThreadHandle thread{::CreateThread(nullptr, 0, ConsumeAll, &consumer, 0, nullptr)};
        ASSERT_TRUE(thread.handle);
        for (int i = 0; i < kItems; ++i)
        {
            int item = i;
            ASSERT_TRUE(queue.Push(std::move(item)));
        }
        queue.Close();
        ASSERT_EQ(::WaitForSingleObject(thread.handle, INFINITE), WAIT_OBJECT_0);
        ASSERT_EQ(consumer.received.size(), static_cast<size_t>(kItems)) << capacity;
        for (int i = 0; i < kItems; ++i)
            ASSERT_EQ(consumer.received[i], i) << capacity;
    }
}

// Abort wakes a producer blocked on a full queue and a consumer blocked on an empty one; both
// are refused from then on.
TEST(StageQueueTest, AbortWakesBothSides)
{
    StageQueue<int> full(3);
    for (int i = 0; i < 3; ++i)
    {
        int item = i;
        ASSERT_TRUE(full.Push(std::move(item)));
    }
    Producer producer;
    producer.queue = &full;
    ThreadHandle pushing{::CreateThread(nullptr, 0, ProduceUntilRefused, &producer, 0, nullptr)};
    StageQueue<int> empty(3);
    Consumer consumer;
    consumer.queue = &empty;
    ThreadHandle popping{::CreateThread(nullptr, 0, ConsumeAll, &consumer, 0, nullptr)};
    ASSERT_TRUE(pushing.handle && popping.handle);
    // Neither thread can end on its own: the producer waits for room, the consumer for a first item.
    EXPECT_EQ(::WaitForSingleObject(pushing.handle, 100), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(::WaitForSingleObject(popping.handle, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    full.Abort();
    empty.Abort();
    ASSERT_EQ(::WaitForSingleObject(pushing.handle, INFINITE), WAIT_OBJECT_0);
    ASSERT_EQ(::WaitForSingleObject(popping.handle, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(producer.pushed, 0);
    EXPECT_TRUE(producer.refused);
    EXPECT_TRUE(consumer.received.empty());
    int item = 0;
    EXPECT_FALSE(full.Pop(&item));
    EXPECT_FALSE(empty.Push(std::move(item)));
}

namespace
{
// Two queues in a row with batched wake-ups, as in the pipeline: the relay pops from the first
// and pushes into the second; every thread pays its owed wakes before it sleeps.
struct Relay : WaitHook
{
    StageQueue<int> first{8, 4, this};
    StageQueue<int> second{16, 8, this};
    HANDLE arrived = ::CreateSemaphoreW(nullptr, 0, kItems, nullptr);
    std::vector<int> received;

    ~Relay()
    {
        ::CloseHandle(arrived);
    }
    void BeforeWait() override
    {
        first.WakeOwed();
        second.WakeOwed();
    }
};

DWORD WINAPI RelayItems(LPVOID param)
{
    Relay* relay = static_cast<Relay*>(param);
    int item = 0;
    while (relay->first.Pop(&item))
        relay->second.Push(std::move(item));
    relay->second.Close();
    return 0;
}

DWORD WINAPI ReceiveItems(LPVOID param)
{
    Relay* relay = static_cast<Relay*>(param);
    int item = 0;
    while (relay->second.Pop(&item))
    {
        relay->received.push_back(item);
        ::ReleaseSemaphore(relay->arrived, 1, nullptr);
    }
    return 0;
}
} // namespace

// A consumer asleep on fewer items than its batch is still woken by the producer's next wait:
// one item at a time goes through both queues, each waited for at the far end (a wake put off
// and never paid hangs the test), and a few at a time in between.
TEST(StageQueueTest, BatchedWakesArePaidBeforeAnyThreadWaits)
{
    Relay relay;
    ThreadHandle relaying{::CreateThread(nullptr, 0, RelayItems, &relay, 0, nullptr)};
    ThreadHandle receiving{::CreateThread(nullptr, 0, ReceiveItems, &relay, 0, nullptr)};
    ASSERT_TRUE(relaying.handle && receiving.handle && relay.arrived);
    const int kRounds = 2000;
    int next = 0;
    for (int round = 0; round < kRounds; ++round)
    {
        int burst = 1 + round % 6; // below, at and above the batches
        for (int i = 0; i < burst; ++i)
        {
            int item = next++;
            ASSERT_TRUE(relay.first.Push(std::move(item)));
        }
        relay.BeforeWait();
        for (int i = 0; i < burst; ++i)
            ASSERT_EQ(::WaitForSingleObject(relay.arrived, INFINITE), WAIT_OBJECT_0);
    }
    relay.first.Close();
    ASSERT_EQ(::WaitForSingleObject(relaying.handle, INFINITE), WAIT_OBJECT_0);
    ASSERT_EQ(::WaitForSingleObject(receiving.handle, INFINITE), WAIT_OBJECT_0);
    ASSERT_EQ(relay.received.size(), static_cast<size_t>(next));
    for (int i = 0; i < next; ++i)
        ASSERT_EQ(relay.received[i], i);
}
