#include "engine/realmedia/HelixEncoder.h"

#include "engine/Engine.h"
#include "engine/EncoderFactory.h"
#include "engine/decorations/FrameDecorations.h"
#include "engine/realmedia/SampleEventSink.h"
#include "platform/producer/ComPtr.h"

#include <algorithm>
#include <stdio.h>
#include <string.h>

namespace
{
const char kProgramLabel[] = "reelwright";
const int kCommandLineCapacity = 8192;
const char kSdkFolder[] = "helixsdk\\";
const char kSdkLibrary[] = "tools\\encsession.dll";
const char kAudienceFolder[] = "helixsdk\\audiences";
const char kPluginName[] = "tovrin-ffmpeg-helix-plugin";
const char kPluginType[] = "avFileInput";
const INT64 kMinimumRollSize = 1025;
const INT64 kMinimumRollTime = 1000; // microseconds
const UINT32 kWriteSize = 0x20000;
const double kAudioGain = 6.0;
const double kMaxStartupLatency = 4.0;
const double kMaxKeyFrameInterval = 8.0;
const int kMicrosecondsPerMillisecond = 1000;
const float kFrameRateEpsilon = 9e-6f;

// The access-path entries: key and subfolder of the SDK folder.
const char* const kAccessPaths[][2] = {
    {"DT_Plugins", "plugins"}, {"DT_Codecs", "codecs"}, {"DT_EncSDK", "tools"}, {"DT_Common", "common"}};

const char* const kVideoModes[] = {"normal", "smooth", "sharp", "slideshow"};

std::string HexResult(HX_RESULT result)
{
    char text[16];
    snprintf(text, sizeof(text), "0x%08X", (unsigned)result);
    return text;
}
} // namespace

CEncoder* CreateHelixEncoder()
{
    return new CHelixEncoder();
}

CHelixEncoder::CHelixEncoder()
    : m_jobFactory(nullptr), m_encodingJob(nullptr), m_eventSink(nullptr), m_sdkLibrary(nullptr),
      m_blackLevelPrefilter(1), m_audioGainPrefilter(1), m_videoMode(0), m_audioMode(0), m_twoPass(1),
      m_destinationPlugin("rn-file-realmedia"), m_textWatermark(nullptr), m_logo(nullptr), m_subtitles(nullptr),
      m_stopFlag(false)
{
    memset(m_accessPaths, 0, sizeof(m_accessPaths));
    InitRealMediaSettings(&m_realMedia);
}

CHelixEncoder::~CHelixEncoder()
{
    try
    {
        // A worker that was never stopped would still use the job.
        m_stopFlag = true;
        {
            std::lock_guard<std::mutex> guard(m_sdkLock);
            if (m_encodingJob)
                m_encodingJob->CancelEncoding();
        }
        CThread::Stop(-1);
        DestroyDecorations(m_textWatermark, m_logo, m_subtitles);
        ReleaseProducerSdk();
    }
    catch (...)
    {
    }
}

int CHelixEncoder::Start(const JobSettings* settings)
{
    if (!settings)
        return -1;
    m_settings = *settings;
    TerminateJobTexts(&m_settings);
    // A failed parse leaves the defaults: the job runs with them.
    if (ParseRealMediaOptions() < 0)
        Log(std::string("RealMedia: the options cannot be read, the defaults are used: ") + m_settings.argumentText);
    if (!CThread::Start())
    {
        m_state = kEncoderFailed;
        m_progress = kProgressFailed;
        return -1;
    }
    return 0;
}

int CHelixEncoder::ParseRealMediaOptions()
{
    char commandLine[kCommandLineCapacity];
    snprintf(commandLine, sizeof(commandLine), "%s %s", kProgramLabel, m_settings.argumentText);
    std::lock_guard<std::mutex> guard(g_optionParserLock);
    return ParseRealMediaCommandLine(commandLine, &m_realMedia) < 0 ? -1 : 0;
}

int CHelixEncoder::Stop()
{
    // A stop before the SDK job exists keeps the worker from starting one.
    m_stopFlag = true;
    {
        std::lock_guard<std::mutex> guard(m_sdkLock);
        if (m_encodingJob)
            m_encodingJob->CancelEncoding();
    }
    CThread::Stop(-1);
    m_state = kEncoderStopped;
    return 0;
}

int CHelixEncoder::OwnsLogContext(void* context)
{
    return context == static_cast<IPluginReader*>(this) ? 1 : 0;
}

void CHelixEncoder::Log(const std::string& line)
{
    std::lock_guard<std::mutex> guard(m_logLock);
    m_pendingLog.push_back(line + "\n");
}

HX_RESULT CHelixEncoder::Fail(HX_RESULT result, const std::string& line)
{
    Log(line + " (" + HexResult(result) + ")");
    return result;
}

std::vector<std::string> CHelixEncoder::TakePendingLog()
{
    std::vector<std::string> lines;
    std::lock_guard<std::mutex> guard(m_logLock);
    lines.swap(m_pendingLog);
    return lines;
}

float CHelixEncoder::GetProgress()
{
    for (const std::string& line : TakePendingLog())
        EngineDispatchLog(static_cast<IPluginReader*>(this), line.c_str());
    return m_progress;
}

std::string CHelixEncoder::ProgramFolder() const
{
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return std::string();
    char* slash = strrchr(path, '\\');
    if (!slash)
        return std::string();
    slash[1] = 0;
    return path;
}

std::string CHelixEncoder::AudienceName() const
{
    char name[64];
    snprintf(name, sizeof(name), "%s - %d", m_realMedia.realMediaPlatform != 0 ? "mobile" : "computer",
             m_realMedia.videoBitRate / 1000);
    return name;
}

int CHelixEncoder::CreateOverlays()
{
    int result = CreateDecorations(m_settings, m_textWatermark, m_logo, m_overlayLog);
    CreateSubtitleDecoration(m_settings, m_subtitles, m_overlayLog);
    return result;
}

void CHelixEncoder::ApplyOutputWishes()
{
    if (m_realMedia.width > 0 && m_realMedia.height > 0)
    {
        // Letterboxing asks for a smaller picture with pad bands that make up the frame size.
        m_insetLeft = (std::max)(0, m_realMedia.padLeft);
        m_insetTop = (std::max)(0, m_realMedia.padTop);
        m_insetRight = (std::max)(0, m_realMedia.padRight);
        m_insetBottom = (std::max)(0, m_realMedia.padBottom);
        m_outputWidth = m_realMedia.width + m_insetLeft + m_insetRight;
        m_outputHeight = m_realMedia.height + m_insetTop + m_insetBottom;
    }
    float rate = (float)m_realMedia.frameRate;
    if (rate >= kFrameRateEpsilon || rate <= -kFrameRateEpsilon)
        m_outputFrameRate = m_realMedia.frameRate;
}

int CHelixEncoder::Run()
{
    HX_RESULT result = E_FAIL;
    CreateOverlays();
    try
    {
        SetPath(m_settings.sourcePath);
        ApplyOutputWishes();
        if (m_stopFlag)
            result = HXR_CANCELLED;
        else
            result = SetupEncodingJob();
        if (result >= 0)
            result = m_stopFlag ? HXR_CANCELLED : Encode();
        CloseFile();
    }
    catch (...)
    {
        result = E_ACCESSDENIED;
    }
    ReleaseProducerSdk();
    {
        std::lock_guard<std::mutex> guard(m_logLock);
        for (const std::string& line : m_overlayLog)
            m_pendingLog.push_back(line + "\n");
        m_overlayLog.clear();
    }
    if (result == E_ACCESSDENIED)
    {
        m_state = kEncoderException;
        m_progress = kProgressFailed;
        return -1;
    }
    if (result < 0)
    {
        m_state = kEncoderFailed;
        m_progress = kProgressFailed;
        return -1;
    }
    m_state = kEncoderDone;
    m_progress = kProgressDone;
    return 0;
}

HX_RESULT CHelixEncoder::SetupEncodingJob()
{
    HX_RESULT result = LoadProducerSdk();
    if (result >= 0)
        result = CreateEncodingJob();
    if (result >= 0)
        result = AddInputPlugin();
    if (result >= 0)
        result = AddPrefilters();
    if (result >= 0)
        result = AddFileDestination();
    if (result >= 0)
        result = SetEncodingModes();
    if (result >= 0)
        result = AddAudiences();
    if (result >= 0 && m_twoPass)
        result = m_encodingJob->SetBool("enableTwoPass", TRUE);
    return result;
}

HX_RESULT CHelixEncoder::LoadProducerSdk()
{
    std::string program = ProgramFolder();
    if (program.empty())
        return Fail(E_FAIL, "RealMedia: the program folder cannot be found");
    std::string folder = program + kSdkFolder;
    memset(m_accessPaths, 0, sizeof(m_accessPaths));
    size_t used = 0;
    for (const auto& entry : kAccessPaths)
    {
        int written = snprintf(m_accessPaths + used, sizeof(m_accessPaths) - used - 1, "%s=%s%s", entry[0],
                               folder.c_str(), entry[1]);
        if (written < 0 || used + written + 2 > sizeof(m_accessPaths))
            return Fail(E_FAIL, "RealMedia: the program folder's path is too long");
        used += (size_t)written + 1;
    }
    std::string library = folder + kSdkLibrary;
    // Only the file itself: Wine would otherwise hand out a library of the same name from elsewhere.
    DWORD attributes = ::GetFileAttributesA(library.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        m_sdkLibrary = ::LoadLibraryA(library.c_str());
    if (!m_sdkLibrary)
        return Fail(E_FAIL, "RealMedia: the producer SDK cannot be loaded from " + library);
    // A Winelib library cannot be loaded again once it was unloaded: keep it mapped for good.
    HMODULE pinned = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, library.c_str(), &pinned);
    auto setAccessPath = reinterpret_cast<SetDLLAccessPathFunc>(::GetProcAddress(m_sdkLibrary, "SetDLLAccessPath"));
    auto createFactory =
        reinterpret_cast<HXTCreateJobFactoryFunc>(::GetProcAddress(m_sdkLibrary, "HXTCreateJobFactory"));
    if (!setAccessPath || !createFactory)
        return Fail(E_FAIL, "RealMedia: the producer SDK library is not usable: " + library);
    HX_RESULT result = setAccessPath(m_accessPaths);
    if (result < 0)
        return Fail(result, "RealMedia: the producer SDK refused its folders");
    result = createFactory(&m_jobFactory);
    if (result < 0)
        return Fail(result, "RealMedia: the producer SDK has no job factory");
    return result;
}

HX_RESULT CHelixEncoder::CreateEncodingJob()
{
    IHXTEncodingJob* job = nullptr;
    HX_RESULT result = m_jobFactory->CreateInstance(CLSID_HXTEncodingJob, reinterpret_cast<void**>(&job));
    if (result < 0 || !job)
        return Fail(result < 0 ? result : E_FAIL, "RealMedia: the encoding job cannot be made");
    {
        std::lock_guard<std::mutex> guard(m_sdkLock);
        m_encodingJob = job;
    }
    m_eventSink = new CSampleEventSink(this);
    m_eventSink->AddRef();
    ComPtr<IHXTEventManager> events;
    result = m_encodingJob->GetEventManager(events.Out());
    if (result >= 0)
        result = events->Subscribe(m_eventSink);
    if (result < 0)
        return Fail(result, "RealMedia: the job's events cannot be followed");
    return result;
}

HX_RESULT CHelixEncoder::AddInputPlugin()
{
    ComPtr<IHXTPropertyBag> bag;
    HX_RESULT result = m_jobFactory->CreateInstance(CLSID_HXTPropertyBag, bag.OutVoid());
    // The reader's address as signed decimal text of the full pointer width.
    char address[32];
    snprintf(address, sizeof(address), "%lld", (long long)(INT_PTR) static_cast<IPluginReader*>(this));
    if (result >= 0)
        result = bag->SetString("pluginName", kPluginName);
    if (result >= 0)
        result = bag->SetString("pluginType", kPluginType);
    if (result >= 0)
        result = bag->SetString("filename", address);
    ComPtr<IHXTInput> input;
    if (result >= 0)
        result = m_jobFactory->BuildInstance(CLSID_HXTInput, bag.Get(), input.OutVoid());
    if (result < 0)
        return Fail(result, std::string("RealMedia: the source cannot be read through the input plug-in: ") +
                                m_settings.sourcePath);
    result = m_encodingJob->SetInput(input.Get());
    if (result < 0)
        return Fail(result, "RealMedia: the job does not take its input");
    return result;
}

HX_RESULT CHelixEncoder::AddPrefilters()
{
    ComPtr<IHXTInput> input;
    HX_RESULT result = m_encodingJob->GetInput(input.Out());
    if (result < 0)
        return Fail(result, "RealMedia: the job has lost its input");
    BOOL hasVideo = FALSE;
    BOOL hasAudio = FALSE;
    input->GetBool("hasVideo", &hasVideo);
    input->GetBool("hasAudio", &hasAudio);
    struct Prefilter
    {
        bool wanted;
        const char* type;
        const char* name;
    };
    const Prefilter prefilters[] = {
        {hasVideo && m_blackLevelPrefilter, "blackLevelPrefilter", "rn-prefilter-blacklevel"},
        {hasAudio && m_audioGainPrefilter, "audioGainPrefilter", "rn-prefilter-audiogain"}};
    for (const Prefilter& p : prefilters)
    {
        if (!p.wanted)
            continue;
        ComPtr<IHXTPropertyBag> bag;
        ComPtr<IHXTPrefilter> prefilter;
        result = m_jobFactory->CreateInstance(CLSID_HXTPropertyBag, bag.OutVoid());
        if (result >= 0)
            result = bag->SetString("pluginType", p.type);
        if (result >= 0)
            result = bag->SetString("pluginName", p.name);
        if (result >= 0)
            result = m_jobFactory->BuildInstance(CLSID_HXTPrefilter, bag.Get(), prefilter.OutVoid());
        if (result >= 0 && p.name == prefilters[1].name)
            result = prefilter->SetDouble("gain", kAudioGain);
        if (result >= 0)
            result = input->AddPrefilter(prefilter.Get());
        if (result < 0)
            return Fail(result, std::string("RealMedia: the prefilter cannot be added: ") + p.name);
    }
    return HXR_OK;
}

HX_RESULT CHelixEncoder::AddFileDestination()
{
    ComPtr<IHXTOutputProfile> profile;
    HX_RESULT result = m_jobFactory->CreateInstance(CLSID_HXTOutputProfile, profile.OutVoid());
    if (result >= 0)
        result = m_encodingJob->AddOutputProfile(profile.Get());
    ComPtr<IHXTPropertyBag> bag;
    if (result >= 0)
        result = m_jobFactory->CreateInstance(CLSID_HXTPropertyBag, bag.OutVoid());
    if (result >= 0)
        result = bag->SetString("pluginType", "fileDestination");
    if (result >= 0)
        result = bag->SetString("pluginName", m_destinationPlugin);
    if (result >= 0)
        result = bag->SetString("filename", m_settings.outputPath);
    ComPtr<IHXTDestination> destination;
    if (result >= 0)
        result = m_jobFactory->BuildInstance(CLSID_HXTDestination, bag.Get(), destination.OutVoid());
    if (result >= 0)
        result = destination->SetUINT("writeSize", kWriteSize);
    const char* slash = strrchr(m_settings.outputPath, '\\');
    if (result >= 0 && slash)
        result = destination->SetString(
            "tempDir", std::string(m_settings.outputPath, (size_t)(slash - m_settings.outputPath)).c_str());
    if (result >= 0 && m_realMedia.fileSizeLimit >= kMinimumRollSize)
    {
        INT64 size = m_realMedia.fileSizeLimit > 0xFFFFFFFFll ? 0xFFFFFFFFll : m_realMedia.fileSizeLimit;
        result = destination->SetUINT("destinationRollSize", (UINT32)size);
    }
    else if (result >= 0 && m_realMedia.recordingTime != INT64_MAX && m_realMedia.recordingTime > kMinimumRollTime)
    {
        ComPtr<IHXTTime> time;
        result = m_jobFactory->CreateInstance(CLSID_HXTTime, time.OutVoid());
        if (result >= 0)
            result = time->SetTime(m_realMedia.recordingTime / kMicrosecondsPerMillisecond);
        if (result >= 0)
            result = destination->SetObjectValue("destinationRollTime", time.Get());
    }
    if (result >= 0)
        result = profile->AddDestination(destination.Get());
    if (result < 0)
        return Fail(result, std::string("RealMedia: the output file cannot be set up: ") + m_settings.outputPath);
    return result;
}

HX_RESULT CHelixEncoder::SetEncodingModes()
{
    ComPtr<IHXTOutputProfile> profile;
    ComPtr<IHXTMediaProfile> media;
    HX_RESULT result = m_encodingJob->GetOutputProfile(0, profile.Out());
    if (result >= 0)
        result = m_jobFactory->CreateInstance(CLSID_HXTMediaProfile, media.OutVoid());
    if (result >= 0)
        result = profile->SetMediaProfile(media.Get());
    if (result >= 0 && m_realMedia.videoDisabled)
        result = media->SetString("videoMode", "disableVideo");
    if (result >= 0)
        result = media->SetString("videoMode", kVideoModes[m_videoMode >= 1 && m_videoMode <= 3 ? m_videoMode : 0]);
    if (result >= 0 && m_realMedia.audioDisabled)
        result = media->SetString("videoMode", "disableAudio");
    if (result >= 0)
        result = media->SetString("audioMode", m_audioMode == 1 ? "voice" : "music");
    if (result < 0)
        return Fail(result, "RealMedia: the encoding modes cannot be set");
    return result;
}

HX_RESULT CHelixEncoder::AddAudiences()
{
    ComPtr<IHXTOutputProfile> profile;
    ComPtr<IHXTMediaProfile> media;
    ComPtr<IHXTAudienceList> list;
    std::string folder = ProgramFolder() + kAudienceFolder;
    HX_RESULT result = m_encodingJob->GetOutputProfile(0, profile.Out());
    if (result >= 0)
        result = profile->GetMediaProfile(media.Out());
    if (result >= 0)
        result = m_jobFactory->CreateInstance(CLSID_HXTAudienceList, list.OutVoid());
    if (result >= 0)
        result = list->LoadFolder(folder.c_str());
    if (result < 0)
        return Fail(result, "RealMedia: the audiences cannot be read from " + folder);
    std::string wanted = AudienceName();
    for (UINT32 i = 0; i < list->GetAudienceCount(); ++i)
    {
        ComPtr<IHXTAudience> audience;
        const char* name = nullptr;
        if (list->GetAudience(i, audience.Out()) >= 0 && audience->GetString("name", &name) >= 0 &&
            ::lstrcmpiA(name, wanted.c_str()) == 0)
            media->AddAudience(audience.Get());
    }
    if (media->GetAudienceCount() == 0)
        Log("RealMedia: no audience named \"" + wanted + "\" in " + folder);
    for (UINT32 i = 0; i < media->GetAudienceCount(); ++i)
    {
        ComPtr<IHXTAudience> audience;
        if (media->GetAudience(i, audience.Out()) < 0)
            continue;
        for (UINT32 j = 0; j < audience->GetStreamCount(); ++j)
        {
            ComPtr<IHXTStreamConfig> stream;
            const char* type = nullptr;
            if (audience->GetStream(j, stream.Out()) < 0)
                continue;
            if (stream->GetString("pluginType", &type) >= 0 && strcmp(type, "videoStream") == 0)
            {
                if (stream->SetDouble("maxStartupLatency", kMaxStartupLatency) < 0)
                    continue;
                stream->SetDouble("maxKeyFrameInterval", kMaxKeyFrameInterval);
            }
            stream->SetString("encodingComplexity", "high");
        }
    }
    return HXR_OK;
}

HX_RESULT CHelixEncoder::Encode()
{
    HX_RESULT result = m_encodingJob->StartEncoding(TRUE);
    if (m_eventSink)
    {
        ComPtr<IHXTEventManager> events;
        if (m_encodingJob->GetEventManager(events.Out()) >= 0)
            events->Unsubscribe(m_eventSink);
        m_eventSink->Release();
        m_eventSink = nullptr;
    }
    if (result < 0)
    {
        const char* why = nullptr;
        if (m_encodingJob->GetString("errorText", &why) < 0 || !why)
            why = "the producer SDK gave no reason";
        Fail(result, std::string("RealMedia: encoding failed: ") + why);
    }
    return result;
}

int CHelixEncoder::ReleaseProducerSdk()
{
    std::lock_guard<std::mutex> guard(m_sdkLock);
    if (m_eventSink)
        m_eventSink->Release();
    m_eventSink = nullptr;
    if (m_encodingJob)
        m_encodingJob->Release();
    m_encodingJob = nullptr;
    if (m_jobFactory)
        m_jobFactory->Release();
    m_jobFactory = nullptr;
    if (m_sdkLibrary)
        ::FreeLibrary(m_sdkLibrary);
    m_sdkLibrary = nullptr;
    return 0;
}

int CHelixEncoder::ReadVideo(int stream, unsigned char* buffer, int size, int64_t* start, int64_t* end)
{
    int result = ReadVideoFrame(stream, buffer, size, start, end);
    if (result <= 0 || !(m_textWatermark || m_logo || m_subtitles))
        return result;
    if ((int64_t)m_outputWidth * m_outputHeight * 4 > result)
        return result;
    DrawDecorations(buffer, m_outputWidth, m_outputHeight, (int)(*start / kMicrosecondsPerMillisecond), m_logo,
                    m_textWatermark, m_subtitles);
    return result;
}
