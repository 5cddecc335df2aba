// Reference count and QueryInterface for an SDK object with one interface I, which answers
// IUnknown and up to two further ids with that interface.
#pragma once

#include "platform/producer/ProducerSdk.h"

template <typename I> class CUnknownImpl : public I
{
  public:
    explicit CUnknownImpl(REFIID id, REFIID otherId = IID_IUnknownId) : m_refCount(0), m_id(id), m_otherId(otherId)
    {
    }
    virtual ~CUnknownImpl() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!GuidsEqual(iid, IID_IUnknownId) && !GuidsEqual(iid, m_id) && !GuidsEqual(iid, m_otherId))
            return E_NOINTERFACE;
        *object = static_cast<I*>(this);
        this->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return ::InterlockedIncrement(&m_refCount);
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG count = ::InterlockedDecrement(&m_refCount);
        if (count == 0)
            delete this;
        return count;
    }

  private:
    volatile LONG m_refCount;
    GUID m_id;
    GUID m_otherId;
};
