// A bounded queue between two stages of the transcode pipeline: Push waits while it is full, Pop
// while it is empty; Close lets Pop drain what is left, Abort wakes both sides at once.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

template <typename T> class StageQueue
{
  public:
    explicit StageQueue(size_t capacity) : m_capacity(capacity)
    {
    }
    StageQueue(const StageQueue&) = delete;
    StageQueue& operator=(const StageQueue&) = delete;

    // False when the queue was aborted (the item is dropped).
    bool Push(T&& item)
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_changed.wait(lock, [this] { return m_aborted || m_items.size() < m_capacity; });
        if (m_aborted)
            return false;
        m_items.push_back(std::move(item));
        m_changed.notify_all();
        return true;
    }

    // False when the queue was aborted, or closed and empty.
    bool Pop(T* item)
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_changed.wait(lock, [this] { return m_aborted || m_closed || !m_items.empty(); });
        if (m_aborted || m_items.empty())
            return false;
        *item = std::move(m_items.front());
        m_items.pop_front();
        m_changed.notify_all();
        return true;
    }

    void Close()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_closed = true;
        m_changed.notify_all();
    }

    void Abort()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_aborted = true;
        m_changed.notify_all();
    }

  private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<T> m_items;
    size_t m_capacity;
    bool m_closed = false;
    bool m_aborted = false;
};
