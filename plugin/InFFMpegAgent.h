// The input agent through which the producer SDK reads a source: it opens the program's reader
// whose address arrives as the text "filename", describes the reader's streams to the SDK and hands
// out decoded samples, read straight into the SDK's sample memory.
#pragma once

#include "engine/media/PluginReader.h"
#include "plugin/ConfigurationAgentHelper.h"
#include "plugin/PluginPropertyTable.h"

class CRSInFFMpegAgent : public CHXTConfigurationAgentHelper, public IHXTConnectionAgent, public IHXTInputFilter
{
  public:
    static const int kMaxStreams = 20;
    static const UINT32 kAudioSampleBytes = 0x8000;
    static const char* const kPluginName;
    static const char* const kPluginDescription;
    static const PluginPropertyEntry kPluginProperties[];

    CRSInFFMpegAgent();
    ~CRSInFFMpegAgent() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HX_RESULT ValidateStringProperty(const char* key, const char* value) override;

    // IHXTConnectionAgent
    HX_RESULT STDMETHODCALLTYPE SetConnectionContext(IUnknown* context) override;
    HX_RESULT STDMETHODCALLTYPE GetInputCount(UINT32* count) override;
    HX_RESULT STDMETHODCALLTYPE GetInputProperties(UINT32 index, IHXTPropertyBag** properties) override;
    HX_RESULT STDMETHODCALLTYPE SetInputSource(UINT32 index, IUnknown* source) override;
    HX_RESULT STDMETHODCALLTYPE GetInputSource(UINT32 index, IUnknown** source) override;
    UINT32 STDMETHODCALLTYPE GetOutputCount() override;
    HX_RESULT STDMETHODCALLTYPE GetOutputProperties(UINT32 index, IHXTPropertyBag** properties) override;
    HX_RESULT STDMETHODCALLTYPE GetOutputTarget(UINT32 index, IUnknown** target) override;
    HX_RESULT STDMETHODCALLTYPE GetPreferredOutputProperties(UINT32 index, IHXTPropertyBag** properties) override;
    HX_RESULT STDMETHODCALLTYPE SetOutputTarget(UINT32 index, IUnknown* target) override;

    // IHXTInputFilter
    HX_RESULT STDMETHODCALLTYPE AttachFactory(IHXCommonClassFactory* factory) override;
    HX_RESULT STDMETHODCALLTYPE Prepare() override;
    HX_RESULT STDMETHODCALLTYPE OnInitialize(IUnknown* context) override;
    HX_RESULT STDMETHODCALLTYPE OnFlush() override;
    HX_RESULT STDMETHODCALLTYPE OnUnInitialize(UINT32 index) override;
    HX_RESULT STDMETHODCALLTYPE SetSampleAllocator(UINT32 index, IHXTSampleAllocator* allocator) override;
    HX_RESULT STDMETHODCALLTYPE PullSample(UINT32 index, IHXTMediaSample** sample) override;

    HX_RESULT PrepareStreamOutput(int index);

    // The reader's channel count as the SDK's channel format.
    static UINT32 ChannelFormat(int channels);
    // The reader's bits per sample as the SDK's sample format.
    static UINT32 SampleFormat(int bits);
    // The address text as the C library's atoi reads it, but in 64 bits.
    static INT64 ParseAddress(const char* text);

  private:
    struct StreamSlot
    {
        INT32 kind;
        INT32 source; // the reader's stream this output delivers
        IHXTPropertyBag* streamBag;
        IUnknown* outputTarget;
        IHXTTime* streamDuration;
        IHXTMediaFormat* mediaFormat;
        IHXTPropertyBag* formatBag;
        UINT32 ended;
        INT64 startTime;
        INT64 endTime;
    };

    void ReleaseStreams();
    HX_RESULT DescribeStreams();
    HX_RESULT CreateTime(IHXTTime** time);

    volatile LONG m_refCount;
    IHXTTime* m_duration;
    StreamSlot m_slots[kMaxStreams];
    INT32 m_streamCount;
    UINT32 m_outputsConnected;
    IHXTSampleAllocator* m_allocator;
    IPluginReader* m_reader;
};
