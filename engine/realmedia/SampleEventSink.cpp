#include "engine/realmedia/SampleEventSink.h"

#include "engine/realmedia/HelixEncoder.h"

#include <stdio.h>

namespace
{
const float kFirstPhaseFactor = 0.45f;
const float kSecondPhaseStart = 45.0f;
const float kSecondPhaseFactor = 0.545f;
} // namespace

CSampleEventSink::CSampleEventSink(CHelixEncoder* owner) : m_owner(owner), m_refCount(0)
{
}

HRESULT CSampleEventSink::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (!GuidsEqual(iid, IID_IHXTEventSink))
        return E_FAIL;
    AddRef();
    *object = static_cast<IHXTEventSink*>(this);
    return S_OK;
}

ULONG CSampleEventSink::AddRef()
{
    return ::InterlockedIncrement(&m_refCount);
}

ULONG CSampleEventSink::Release()
{
    LONG count = ::InterlockedDecrement(&m_refCount);
    if (count == 0)
        delete this;
    return count;
}

HX_RESULT CSampleEventSink::OnEvent(UINT32 type, const UINT32* value, void*, void*)
{
    if (type == kHXTEventEncodingStarted)
    {
        fputs("\nEncoding started..\n", stdout);
        return 0;
    }
    if (type != kHXTEventFirstPassProgress && type != kHXTEventSecondPassProgress)
        return 0;
    if (!value || !m_owner)
        return 0;
    float percent = (float)*value;
    m_owner->m_progress = type == kHXTEventFirstPassProgress ? percent * kFirstPhaseFactor
                                                             : kSecondPhaseStart + percent * kSecondPhaseFactor;
    return 0;
}
