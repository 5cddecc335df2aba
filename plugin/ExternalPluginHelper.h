// The plug-in object the producer SDK creates first: it describes the plug-in, lists its static
// property table, and hands every other interface request to the one agent of type T it creates
// on first demand. T provides kPluginDescription and kPluginProperties.
#pragma once

#include "platform/producer/ComPtr.h"
#include "platform/producer/ProducerSdk.h"
#include "plugin/PluginPropertyTable.h"

#include <string.h>

#include <new>

template <typename T> class CHXTExternalPluginHelper : public IHXPlugin, public IHXPluginProperties
{
  public:
    CHXTExternalPluginHelper() : m_context(nullptr), m_refCount(0), m_agent(nullptr)
    {
    }
    virtual ~CHXTExternalPluginHelper()
    {
        if (m_context)
            m_context->Release();
        if (m_agent)
            m_agent->Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (GuidsEqual(iid, IID_IUnknownId) || GuidsEqual(iid, IID_IHXPlugin))
        {
            *object = static_cast<IHXPlugin*>(this);
            AddRef();
            return S_OK;
        }
        if (GuidsEqual(iid, IID_IHXPluginProperties))
        {
            *object = static_cast<IHXPluginProperties*>(this);
            AddRef();
            return S_OK;
        }
        if (!m_agent)
        {
            m_agent = new (std::nothrow) T();
            if (!m_agent)
                return E_OUTOFMEMORY;
            m_agent->AddRef();
        }
        return m_agent->QueryInterface(iid, object);
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

    HX_RESULT STDMETHODCALLTYPE GetPluginInfo(BOOL* loadMultiple, const char** description, const char** copyright,
                                              const char** moreInfoUrl, UINT32* version) override
    {
        if (!loadMultiple || !description || !copyright || !moreInfoUrl || !version)
            return E_POINTER;
        *loadMultiple = FALSE;
        *description = T::kPluginDescription;
        *copyright = "(c) Reelwright developers";
        *moreInfoUrl = "http://reelwright.invalid/";
        *version = 0;
        return HXR_OK;
    }

    HX_RESULT STDMETHODCALLTYPE InitPlugin(IUnknown* context) override
    {
        if (!context)
            return E_POINTER;
        context->AddRef();
        if (m_context)
            m_context->Release();
        m_context = context;
        return HXR_OK;
    }

    HX_RESULT STDMETHODCALLTYPE GetPluginExtension(void**) override
    {
        return E_FAIL;
    }

    // Fills a values collection with the static property table, in table order.
    HX_RESULT STDMETHODCALLTYPE GetProperties(IHXValues** values) override
    {
        if (!values)
            return E_POINTER;
        *values = nullptr;
        if (!m_context)
            return E_FAIL;
        ComPtr<IHXCommonClassFactory> factory;
        HX_RESULT result = m_context->QueryInterface(IID_IHXCommonClassFactory, factory.OutVoid());
        if (result < 0)
            return result;
        result = factory->CreateInstance(CLSID_IHXValues, reinterpret_cast<void**>(values));
        if (result < 0)
            return result;
        if (!*values)
            return E_FAIL;
        for (const PluginPropertyEntry* entry = T::kPluginProperties; entry->kind != kPluginPropertyEnd; ++entry)
        {
            if (entry->kind == kPluginPropertyText)
            {
                ComPtr<IHXBuffer> buffer;
                result = factory->CreateInstance(CLSID_IHXBuffer, buffer.OutVoid());
                if (result >= 0)
                {
                    const char* text = static_cast<const char*>(entry->value);
                    buffer->Set(reinterpret_cast<const UCHAR*>(text), (UINT32)strlen(text) + 1);
                    result = (*values)->SetPropertyCString(entry->key, buffer.Get());
                }
            }
            else if (entry->kind == kPluginPropertyUInt32)
            {
                result = (*values)->SetPropertyULONG32(entry->key, (UINT32)(UINT_PTR)entry->value);
            }
            else if (entry->kind == kPluginPropertyBuffer)
            {
                // A buffer that cannot be made is left out without failing the list.
                ComPtr<IHXBuffer> first;
                ComPtr<IHXBuffer> buffer;
                if (factory->CreateInstance(CLSID_IHXBuffer, first.OutVoid()) >= 0 && first &&
                    first->QueryInterface(IID_IHXBuffer, buffer.OutVoid()) >= 0)
                {
                    first.Reset();
                    buffer->Set(static_cast<const UCHAR*>(entry->value), entry->length);
                    (*values)->SetPropertyBuffer(entry->key, buffer.Get());
                }
                continue;
            }
            if (result < 0)
                break;
        }
        return result;
    }

  private:
    IUnknown* m_context;
    volatile LONG m_refCount;
    T* m_agent;
};
