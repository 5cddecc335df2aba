// One encoding job of the SDK library: its input, output profiles and event subscribers. Starting
// it runs an encode session on a thread of its own and waits for it; Cancel may come from any thread.
#pragma once

#include "platform/producer/ComPtr.h"
#include "platform/producer/HostObjects.h"
#include "platform/producer/PropertyStore.h"

#include <atomic>
#include <mutex>
#include <vector>

class CEventManager : public CUnknownImpl<IHXTEventManager>
{
  public:
    CEventManager() : CUnknownImpl<IHXTEventManager>(IID_IUnknownId)
    {
    }
    ~CEventManager() override;
    HX_RESULT STDMETHODCALLTYPE Subscribe(IHXTEventSink* sink) override;
    HX_RESULT STDMETHODCALLTYPE Unsubscribe(IHXTEventSink* sink) override;
    void Fire(UINT32 type, UINT32 value);

  private:
    std::mutex m_lock;
    std::vector<IHXTEventSink*> m_sinks; // one reference each
};

class CEncodingJob : public CBagObject<IHXTEncodingJob>
{
  public:
    CEncodingJob();
    ~CEncodingJob() override;

    HX_RESULT STDMETHODCALLTYPE GetEventManager(IHXTEventManager** manager) override;
    HX_RESULT STDMETHODCALLTYPE SetInput(IHXTInput* input) override;
    HX_RESULT STDMETHODCALLTYPE GetInput(IHXTInput** input) override;
    HX_RESULT STDMETHODCALLTYPE AddOutputProfile(IHXTOutputProfile* profile) override;
    HX_RESULT STDMETHODCALLTYPE GetOutputProfile(UINT32 index, IHXTOutputProfile** profile) override;
    HX_RESULT STDMETHODCALLTYPE StartEncoding(BOOL wait) override;
    HX_RESULT STDMETHODCALLTYPE CancelEncoding() override;

  private:
    static DWORD WINAPI SessionThread(LPVOID param);
    HX_RESULT RunSession();
    HX_RESULT Fail(HX_RESULT code, const char* text);

    ComPtr<CEventManager> m_events;
    ComPtr<IHXTInput> m_input;
    std::vector<IHXTOutputProfile*> m_profiles; // one reference each
    std::atomic<bool> m_cancel;
    HX_RESULT m_sessionResult;
};
