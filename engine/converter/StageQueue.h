// A bounded queue between two stages of the transcode pipeline: Push waits while it is full, Pop
// while it is empty; Close lets Pop drain what is left, Abort wakes both sides at once.
// Each sleep and wake-up of a thread costs about as much as the work of a small frame, so a
// sleeping consumer is woken once a batch is queued, not for every item. The wake it is owed
// meanwhile is paid by WakeOwed, which the pipeline calls before any of its threads waits for
// anything (WaitHook): a thread never sleeps while another sleeps on items it queued.
#pragma once

#include "engine/converter/WaitHook.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

template <typename T> class StageQueue
{
  public:
    // A consumer asleep on the empty queue wakes when `batch` items are queued (or at the next
    // WakeOwed); a producer waiting on a full one once half of it was taken.
    explicit StageQueue(size_t capacity, size_t batch = 1, WaitHook* hook = nullptr)
        : m_capacity(capacity ? capacity : 1), m_batch(batch ? std::min(batch, m_capacity) : 1), m_hook(hook)
    {
    }
    StageQueue(const StageQueue&) = delete;
    StageQueue& operator=(const StageQueue&) = delete;

    // False when the queue was aborted (the item is dropped).
    bool Push(T&& item)
    {
        bool wake = false;
        {
            std::unique_lock<std::mutex> lock(m_lock);
            bool paid = false;
            while (!m_aborted && m_items.size() >= m_capacity)
            {
                if (PayBeforeWait(lock, &paid))
                    continue;
                ++m_pushWaiters;
                m_notFull.wait(lock);
                --m_pushWaiters;
            }
            if (m_aborted)
                return false;
            m_items.push_back(std::move(item));
            if (m_popWaiters > 0)
            {
                wake = m_items.size() >= m_batch;
                m_owed = !wake;
            }
        }
        if (wake)
            m_notEmpty.notify_one();
        return true;
    }

    // False when the queue was aborted, or closed and empty.
    bool Pop(T* item)
    {
        bool wake;
        {
            std::unique_lock<std::mutex> lock(m_lock);
            bool paid = false;
            while (!m_aborted && !m_closed && m_items.empty())
            {
                if (PayBeforeWait(lock, &paid))
                    continue;
                ++m_popWaiters;
                m_notEmpty.wait(lock);
                --m_popWaiters;
            }
            if (m_aborted || m_items.empty())
                return false;
            *item = std::move(m_items.front());
            m_items.pop_front();
            wake = m_pushWaiters > 0 && m_items.size() <= m_capacity / 2;
        }
        if (wake)
            m_notFull.notify_all();
        return true;
    }

    // Wakes the consumer that sleeps on items queued without waking it.
    void WakeOwed()
    {
        bool wake;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            wake = m_owed && m_popWaiters > 0 && !m_items.empty();
            m_owed = false;
        }
        if (wake)
            m_notEmpty.notify_one();
    }

    void Close()
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_closed = true;
        }
        m_notEmpty.notify_all();
    }

    void Abort()
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_aborted = true;
        }
        m_notEmpty.notify_all();
        m_notFull.notify_all();
    }

  private:
    // Runs the hook outside the lock before the first sleep of a wait; true when it ran (the
    // caller looks at the queue again before it sleeps).
    bool PayBeforeWait(std::unique_lock<std::mutex>& lock, bool* paid)
    {
        if (!m_hook || *paid)
            return false;
        *paid = true;
        lock.unlock();
        m_hook->BeforeWait();
        lock.lock();
        return true;
    }

    std::mutex m_lock;
    std::condition_variable m_notEmpty, m_notFull;
    std::deque<T> m_items;
    size_t m_capacity;
    size_t m_batch;
    WaitHook* m_hook;
    int m_popWaiters = 0, m_pushWaiters = 0;
    bool m_owed = false;
    bool m_closed = false;
    bool m_aborted = false;
};
