#include "platform/producer/EncodingJob.h"

#include "platform/producer/EncodeSession.h"
#include "platform/producer/JobObjects.h"

#include <string.h>

#include <algorithm>
#include <string>

namespace
{
struct HandleOwner
{
    HANDLE handle;
    explicit HandleOwner(HANDLE h) : handle(h)
    {
    }
    ~HandleOwner()
    {
        if (handle)
            ::CloseHandle(handle);
    }
};

bool EndsWithNoCase(const std::string& text, const char* tail)
{
    size_t length = strlen(tail);
    return text.size() >= length && ::lstrcmpiA(text.c_str() + text.size() - length, tail) == 0;
}

// Finds the first stream of the audience with the given "pluginType".
IHXTStreamConfig* FindStream(IHXTAudience* audience, const char* type)
{
    for (UINT32 i = 0; i < audience->GetStreamCount(); ++i)
    {
        ComPtr<IHXTStreamConfig> stream;
        const char* text = nullptr;
        if (audience->GetStream(i, stream.Out()) >= 0 && stream->GetString("pluginType", &text) >= 0 &&
            strcmp(text, type) == 0)
            return stream.Get();
    }
    return nullptr;
}
} // namespace

CEventManager::~CEventManager()
{
    for (IHXTEventSink* sink : m_sinks)
        sink->Release();
}

HX_RESULT CEventManager::Subscribe(IHXTEventSink* sink)
{
    if (!sink)
        return E_POINTER;
    std::lock_guard<std::mutex> guard(m_lock);
    sink->AddRef();
    m_sinks.push_back(sink);
    return HXR_OK;
}

HX_RESULT CEventManager::Unsubscribe(IHXTEventSink* sink)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = std::find(m_sinks.begin(), m_sinks.end(), sink);
    if (found == m_sinks.end())
        return E_FAIL;
    (*found)->Release();
    m_sinks.erase(found);
    return HXR_OK;
}

void CEventManager::Fire(UINT32 type, UINT32 value)
{
    std::vector<IHXTEventSink*> sinks;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        for (IHXTEventSink* sink : m_sinks)
        {
            sink->AddRef();
            sinks.push_back(sink);
        }
    }
    for (IHXTEventSink* sink : sinks)
    {
        sink->OnEvent(type, &value, nullptr, nullptr);
        sink->Release();
    }
}

CEncodingJob::CEncodingJob() : CBagObject<IHXTEncodingJob>(CLSID_HXTEncodingJob), m_cancel(false), m_sessionResult(0)
{
    CreateObject<CEventManager>(m_events.Out());
}

CEncodingJob::~CEncodingJob()
{
    ReleaseAll(m_profiles);
}

HX_RESULT CEncodingJob::GetEventManager(IHXTEventManager** manager)
{
    if (!manager)
        return E_POINTER;
    *manager = m_events.Get();
    if (!*manager)
        return E_OUTOFMEMORY;
    (*manager)->AddRef();
    return HXR_OK;
}

HX_RESULT CEncodingJob::SetInput(IHXTInput* input)
{
    if (!input)
        return E_POINTER;
    if (!dynamic_cast<CInput*>(input))
        return E_INVALIDARG;
    input->AddRef();
    *m_input.Out() = input;
    return HXR_OK;
}

HX_RESULT CEncodingJob::GetInput(IHXTInput** input)
{
    if (!input)
        return E_POINTER;
    *input = m_input.Get();
    if (!*input)
        return E_FAIL;
    (*input)->AddRef();
    return HXR_OK;
}

HX_RESULT CEncodingJob::AddOutputProfile(IHXTOutputProfile* profile)
{
    if (!profile)
        return E_POINTER;
    if (!dynamic_cast<COutputProfile*>(profile))
        return E_INVALIDARG;
    profile->AddRef();
    m_profiles.push_back(profile);
    return HXR_OK;
}

HX_RESULT CEncodingJob::GetOutputProfile(UINT32 index, IHXTOutputProfile** profile)
{
    return GetListItem(m_profiles, index, profile);
}

HX_RESULT CEncodingJob::CancelEncoding()
{
    m_cancel = true;
    return HXR_OK;
}

HX_RESULT CEncodingJob::Fail(HX_RESULT code, const char* text)
{
    SetString("errorText", text);
    return code;
}

DWORD WINAPI CEncodingJob::SessionThread(LPVOID param)
{
    CEncodingJob* job = static_cast<CEncodingJob*>(param);
    try
    {
        job->m_sessionResult = job->RunSession();
    }
    catch (...)
    {
        job->m_sessionResult = job->Fail(E_FAIL, "the encoder failed unexpectedly");
    }
    return 0;
}

HX_RESULT CEncodingJob::StartEncoding(BOOL)
{
    if (m_cancel)
        return Fail(HXR_CANCELLED, "the encoding was cancelled");
    // The input plug-in and the reader behind it are called on this Win32 thread only.
    HandleOwner thread(::CreateThread(nullptr, 0, SessionThread, this, 0, nullptr));
    if (!thread.handle)
        return Fail(E_FAIL, "the encoding thread cannot be started");
    ::WaitForSingleObject(thread.handle, INFINITE);
    return m_sessionResult;
}

HX_RESULT CEncodingJob::RunSession()
{
    CInput* input = dynamic_cast<CInput*>(m_input.Get());
    if (!input || !input->Connection() || !input->Filter())
        return Fail(E_FAIL, "the job has no input");
    COutputProfile* profile = m_profiles.empty() ? nullptr : dynamic_cast<COutputProfile*>(m_profiles[0]);
    IHXTDestination* destination = profile ? profile->Destination(0) : nullptr;
    IHXTMediaProfile* media = profile ? profile->MediaProfile() : nullptr;
    if (!destination || !media)
        return Fail(E_FAIL, "the job has no destination");
    ComPtr<IHXTAudience> audience;
    if (media->GetAudience(0, audience.Out()) < 0)
        return Fail(E_FAIL, "no audience of the wanted name was found");

    EncodeSettings settings;
    settings.input = input;
    settings.outputTarget = static_cast<IHXTEncodingJob*>(this);
    const char* text = nullptr;
    if (destination->GetString("filename", &text) < 0)
        return Fail(E_FAIL, "the destination has no file name");
    settings.outputPath = text;
    UINT32 rollSize = 0;
    settings.rollSize = destination->GetUINT("destinationRollSize", &rollSize) >= 0 ? rollSize : 0;
    settings.rollTimeMs = 0;
    ComPtr<IUnknown> rollObject;
    ComPtr<IHXTTime> rollTime;
    if (destination->GetObjectValue("destinationRollTime", rollObject.Out()) >= 0 && rollObject &&
        rollObject->QueryInterface(IID_IHXTTime, rollTime.OutVoid()) >= 0)
        rollTime->GetTime(&settings.rollTimeMs);
    settings.audioOnly = EndsWithNoCase(settings.outputPath, ".ra");
    const char* videoMode = nullptr;
    settings.withoutAudio = media->GetString("videoMode", &videoMode) >= 0 && strcmp(videoMode, "disableAudio") == 0;

    IHXTStreamConfig* videoStream = FindStream(audience.Get(), "videoStream");
    IHXTStreamConfig* audioStream = FindStream(audience.Get(), "audioStream");
    UINT32 number = 0;
    double seconds = 0;
    settings.videoBitRate = videoStream && videoStream->GetUINT("bitrate", &number) >= 0 ? (int)number : 0;
    settings.keyFrameSeconds =
        videoStream && videoStream->GetDouble("maxKeyFrameInterval", &seconds) >= 0 ? seconds : 0;
    settings.videoCodec = videoStream && videoStream->GetString("codec", &text) >= 0 ? text : "";
    settings.audioBitRate = audioStream && audioStream->GetUINT("bitrate", &number) >= 0 ? (int)number : 0;
    settings.audioCodec = audioStream && audioStream->GetString("codec", &text) >= 0 ? text : "";

    CEncodeSession session(settings, &m_cancel, [this](UINT32 type, UINT32 value) { m_events->Fire(type, value); });
    HX_RESULT result = session.Run();
    if (result < 0)
        Fail(result, session.Error().c_str());
    return result;
}
