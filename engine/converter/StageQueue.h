// A bounded queue between two stages of the transcode pipeline: Push waits while it is full, Pop
// while it is empty; Close lets Pop drain what is left, Abort wakes both sides at once. A side is
// woken only when it waits, and a full queue's producer only once half of it was taken: a hand-off
// costs a system call only where a thread really sleeps.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

template <typename T> class StageQueue
{
  public:
    explicit StageQueue(size_t capacity) : m_capacity(capacity ? capacity : 1)
    {
    }
    StageQueue(const StageQueue&) = delete;
    StageQueue& operator=(const StageQueue&) = delete;

    // False when the queue was aborted (the item is dropped).
    bool Push(T&& item)
    {
        bool wake;
        {
            std::unique_lock<std::mutex> lock(m_lock);
            while (!m_aborted && m_items.size() >= m_capacity)
            {
                ++m_pushWaiters;
                m_notFull.wait(lock);
                --m_pushWaiters;
            }
            if (m_aborted)
                return false;
            m_items.push_back(std::move(item));
            wake = m_popWaiters > 0;
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
            while (!m_aborted && !m_closed && m_items.empty())
            {
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
    std::mutex m_lock;
    std::condition_variable m_notEmpty, m_notFull;
    std::deque<T> m_items;
    size_t m_capacity;
    int m_popWaiters = 0, m_pushWaiters = 0;
    bool m_closed = false;
    bool m_aborted = false;
};
