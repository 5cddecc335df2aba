// Owner of one reference to a reference-counted interface, released when the owner ends.
#pragma once

#include <unknwn.h>

template <typename T> class ComPtr
{
  public:
    ComPtr() : m_p(nullptr)
    {
    }
    // Takes over a reference the caller already holds.
    explicit ComPtr(T* p) : m_p(p)
    {
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr()
    {
        Reset();
    }

    void Reset()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }
    // For out-parameters: releases what is held and gives the slot to fill.
    T** Out()
    {
        Reset();
        return &m_p;
    }
    void** OutVoid()
    {
        return reinterpret_cast<void**>(Out());
    }
    T* Get() const
    {
        return m_p;
    }
    T* operator->() const
    {
        return m_p;
    }
    explicit operator bool() const
    {
        return m_p != nullptr;
    }
    // Hands the reference to the caller.
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }

  private:
    T* m_p;
};
