// Receives the producer SDK's events for one RealMedia job and turns its two progress phases into
// the job's progress: 0 to 45 for the first, 45 to 99.5 for the second.
#pragma once

#include "platform/producer/ProducerSdk.h"

class CHelixEncoder;

class CSampleEventSink : public IHXTEventSink
{
  public:
    explicit CSampleEventSink(CHelixEncoder* owner);
    virtual ~CSampleEventSink() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HX_RESULT STDMETHODCALLTYPE OnEvent(UINT32 type, const UINT32* value, void* reserved1, void* reserved2) override;

  private:
    CHelixEncoder* m_owner;
    volatile LONG m_refCount;
};
