#include "plugin/InFFMpegAgent.h"

#include "platform/producer/ComPtr.h"

#include <string.h>

const char* const CRSInFFMpegAgent::kPluginName = "tovrin-ffmpeg-helix-plugin";
const char* const CRSInFFMpegAgent::kPluginDescription = "Read FFMpeg Support Media Files";

namespace
{
const char kPluginType[] = "avFileInput";
const char kVideoFormat[] = "UncompressedVideo";
const char kAudioFormat[] = "UncompressedAudio";
const int kKindVideo = 0;
const int kKindAudio = 1;

// The class id {1523FF0D-F722-4433-BCEB-A884F4A012F7} in its memory layout.
const unsigned char kComponentClassId[16] = {0x0D, 0xFF, 0x23, 0x15, 0x22, 0xF7, 0x33, 0x44,
                                             0xBC, 0xEB, 0xA8, 0x84, 0xF4, 0xA0, 0x12, 0xF7};
} // namespace

const PluginPropertyEntry CRSInFFMpegAgent::kPluginProperties[] = {
    {kPluginPropertyText, "ComponentName", "rn-avfile-wavuncompressed", 0},
    {kPluginPropertyText, "pluginName", "tovrin-ffmpeg-helix-plugin", 0},
    {kPluginPropertyText, "pluginType", kPluginType, 0},
    {kPluginPropertyText, "pluginCategory", "categoryInputAVFile", 0},
    {kPluginPropertyText, "pluginLongName", "tovrin-ffmpeg-helix-plugin", 0},
    {kPluginPropertyText, "FileExtensions", ".avi", 0},
    {kPluginPropertyBuffer, "ComponentCLSID", kComponentClassId, sizeof(kComponentClassId)},
    {kPluginPropertyEnd, nullptr, nullptr, 0},
};

CRSInFFMpegAgent::CRSInFFMpegAgent()
    : m_refCount(0), m_duration(nullptr), m_streamCount(0), m_outputsConnected(0), m_allocator(nullptr),
      m_reader(nullptr)
{
    memset(m_slots, 0, sizeof(m_slots));
    for (StreamSlot& slot : m_slots)
        slot.kind = -1;
    m_openForChanges = 1;
}

CRSInFFMpegAgent::~CRSInFFMpegAgent()
{
    ReleaseStreams();
    if (m_allocator)
        m_allocator->Release();
    m_allocator = nullptr;
    // The reader belongs to the program: it is forgotten, never closed or freed here.
    m_reader = nullptr;
}

void CRSInFFMpegAgent::ReleaseStreams()
{
    for (StreamSlot& slot : m_slots)
    {
        if (slot.kind == -1)
            continue;
        IUnknown* held[] = {slot.streamBag, slot.outputTarget, slot.formatBag, slot.streamDuration, slot.mediaFormat};
        for (IUnknown* object : held)
        {
            if (object)
                object->Release();
        }
        memset(&slot, 0, sizeof(slot));
        slot.kind = -1;
    }
    m_streamCount = 0;
    if (m_duration)
        m_duration->Release();
    m_duration = nullptr;
}

HRESULT CRSInFFMpegAgent::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    void* face = nullptr;
    if (GuidsEqual(iid, IID_IUnknownId) || GuidsEqual(iid, IID_IHXTPropertyBag))
        face = static_cast<IHXTConfigurationAgent*>(this);
    else if (GuidsEqual(iid, IID_IHXTConnectionAgent))
        face = static_cast<IHXTConnectionAgent*>(this);
    else if (GuidsEqual(iid, IID_IHXTConfigurationAgent))
        face = static_cast<IHXTConfigurationAgent*>(this);
    else if (GuidsEqual(iid, IID_IHXTFilter) || GuidsEqual(iid, IID_IHXTInputFilter))
        face = static_cast<IHXTInputFilter*>(this);
    *object = face;
    if (!face)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG CRSInFFMpegAgent::AddRef()
{
    return ::InterlockedIncrement(&m_refCount);
}

ULONG CRSInFFMpegAgent::Release()
{
    LONG count = ::InterlockedDecrement(&m_refCount);
    if (count == 0)
        delete this;
    return count;
}

INT64 CRSInFFMpegAgent::ParseAddress(const char* text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    UINT64 value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10 + (UINT64)(*text - '0');
    return negative ? (INT64)(0 - value) : (INT64)value;
}

UINT32 CRSInFFMpegAgent::ChannelFormat(int channels)
{
    // One bit per speaker: the bit count is the channel count the encoder reads back.
    static const UINT32 kFormats[] = {0x0, 0x1, 0x6, 0x7, 0x17, 0x67, 0x6F, 0x13F, 0x63F};
    return channels >= 1 && channels < (int)(sizeof(kFormats) / sizeof(kFormats[0])) ? kFormats[channels] : 0;
}

UINT32 CRSInFFMpegAgent::SampleFormat(int bits)
{
    return ((UINT32)bits << 6) | (UINT32)((bits / 8) * 4);
}

HX_RESULT CRSInFFMpegAgent::CreateTime(IHXTTime** time)
{
    HX_RESULT result = m_classFactory->CreateInstance(CLSID_HXTTime, reinterpret_cast<void**>(time));
    if (result >= 0 && !*time)
        result = E_FAIL;
    if (result >= 0)
        (*time)->SetTime(m_reader->GetDuration() / 1000);
    return result;
}

HX_RESULT CRSInFFMpegAgent::ValidateStringProperty(const char* key, const char* value)
{
    if (!key || !value)
        return E_POINTER;
    if (strcmp(key, "filename") != 0 || !*value)
        return E_FAIL;
    // The address travels as signed decimal text of the full pointer width.
    INT64 address = ParseAddress(value);
    m_reader = reinterpret_cast<IPluginReader*>((INT_PTR)address);
    if (!m_reader || !m_classFactory || !m_ownBag)
        return E_FAIL;
    if (m_reader->Open() < 0)
        return E_FAIL;
    ReleaseStreams();
    if (CreateTime(&m_duration) < 0)
        m_duration = nullptr;
    DescribeStreams();

    m_ownBag->SetBool("isRealTime", FALSE);
    m_ownBag->SetBool("isRepeatable", TRUE);
    m_ownBag->SetString("pluginName", kPluginName);
    m_ownBag->SetString("filename", value);
    if (m_duration)
        m_ownBag->SetObjectValue("duration", m_duration);
    m_ownBag->SetUINT("numTracks", (UINT32)m_streamCount);
    m_ownBag->SetString("Status", "Okay");
    return HXR_OK;
}

// Publishes every video and audio stream of the reader, in its order, up to the table's size;
// streams of other kinds (subtitles, data) are passed over wherever they stand.
HX_RESULT CRSInFFMpegAgent::DescribeStreams()
{
    int readerStreams = m_reader->GetStreamCount();
    int published = 0;
    for (int source = 0; source < readerStreams && published < kMaxStreams; ++source)
    {
        int kind = m_reader->GetStreamType(source);
        if (kind != kKindVideo && kind != kKindAudio)
            continue;
        StreamSlot& slot = m_slots[published];
        slot.kind = kind;
        slot.source = source;
        if (m_classFactory->CreateInstance(CLSID_HXTPropertyBag, reinterpret_cast<void**>(&slot.streamBag)) != 0 ||
            !slot.streamBag)
        {
            slot.streamBag = nullptr;
            break;
        }
        ++published;
        if (kind == kKindVideo)
        {
            slot.streamBag->SetString("MediaFormat", kVideoFormat);
            slot.streamBag->SetUINT("videoColorFormat", kHXTColorFormatBGRA);
            slot.streamBag->SetUINT("videoFrameWidth", (UINT32)m_reader->GetWidth(source));
            slot.streamBag->SetUINT("videoFrameHeight", (UINT32)m_reader->GetHeight(source));
            slot.streamBag->SetDouble("videoFrameRate", m_reader->GetFrameRate(source));
        }
        else
        {
            slot.streamBag->SetString("MediaFormat", kAudioFormat);
            slot.streamBag->SetUINT("audioChannelFormat", ChannelFormat(m_reader->GetChannels(source)));
            slot.streamBag->SetUINT("audioSampleFormat", SampleFormat(m_reader->GetBitsPerSample(source)));
            slot.streamBag->SetUINT("audioSampleRate", (UINT32)m_reader->GetSampleRate(source));
        }
        if (CreateTime(&slot.streamDuration) < 0)
            slot.streamDuration = nullptr;
        slot.ended = 0;
        if (PrepareStreamOutput(published - 1) < 0)
            break;
    }
    m_streamCount = published;
    return HXR_OK;
}

HX_RESULT CRSInFFMpegAgent::PrepareStreamOutput(int index)
{
    StreamSlot& slot = m_slots[index];
    const int source = slot.source;
    HX_RESULT result =
        m_classFactory->CreateInstance(CLSID_HXTMediaFormat, reinterpret_cast<void**>(&slot.mediaFormat));
    if (result < 0 || !slot.mediaFormat)
    {
        slot.mediaFormat = nullptr;
        return result < 0 ? result : E_FAIL;
    }
    slot.mediaFormat->Init(kPluginType, m_ownBag, kPluginName);
    result = m_classFactory->CreateInstance(CLSID_HXTPropertyBag, reinterpret_cast<void**>(&slot.formatBag));
    if (result >= 0 && !slot.formatBag)
        result = E_FAIL;
    if (result >= 0)
    {
        if (slot.kind == kKindVideo)
            slot.mediaFormat->DescribeVideo(slot.formatBag, m_ownBag, (UINT32)index, m_reader->GetWidth(source),
                                            m_reader->GetHeight(source), (float)m_reader->GetFrameRate(source),
                                            kVideoFormat, slot.streamDuration, 0, 0);
        else
            slot.mediaFormat->DescribeAudio(slot.formatBag, m_ownBag, (UINT32)index,
                                            ChannelFormat(m_reader->GetChannels(source)),
                                            SampleFormat(m_reader->GetBitsPerSample(source)),
                                            (UINT32)m_reader->GetSampleRate(source), slot.streamDuration, 0, 0);
    }
    slot.mediaFormat->Close();
    return result;
}

HX_RESULT CRSInFFMpegAgent::SetConnectionContext(IUnknown*)
{
    return HXR_OK;
}

HX_RESULT CRSInFFMpegAgent::GetInputCount(UINT32*)
{
    return E_FAIL;
}

HX_RESULT CRSInFFMpegAgent::GetInputProperties(UINT32, IHXTPropertyBag**)
{
    return E_FAIL;
}

HX_RESULT CRSInFFMpegAgent::SetInputSource(UINT32, IUnknown*)
{
    return E_FAIL;
}

HX_RESULT CRSInFFMpegAgent::GetInputSource(UINT32, IUnknown**)
{
    return E_FAIL;
}

UINT32 CRSInFFMpegAgent::GetOutputCount()
{
    return (UINT32)m_streamCount;
}

HX_RESULT CRSInFFMpegAgent::GetOutputProperties(UINT32 index, IHXTPropertyBag** properties)
{
    if (!properties)
        return E_POINTER;
    if (index >= (UINT32)m_streamCount)
        return E_INVALIDARG;
    *properties = m_slots[index].streamBag;
    if (*properties)
        (*properties)->AddRef();
    return HXR_OK;
}

HX_RESULT CRSInFFMpegAgent::GetOutputTarget(UINT32, IUnknown**)
{
    return E_FAIL;
}

HX_RESULT CRSInFFMpegAgent::GetPreferredOutputProperties(UINT32 index, IHXTPropertyBag** properties)
{
    return GetOutputProperties(index, properties);
}

HX_RESULT CRSInFFMpegAgent::SetOutputTarget(UINT32 index, IUnknown* target)
{
    if (!target || index >= (UINT32)m_streamCount)
        return E_INVALIDARG;
    m_outputsConnected = 1;
    StreamSlot& slot = m_slots[index];
    target->AddRef();
    if (slot.outputTarget)
        slot.outputTarget->Release();
    slot.outputTarget = target;
    return HXR_OK;
}

HX_RESULT CRSInFFMpegAgent::AttachFactory(IHXCommonClassFactory* factory)
{
    if (!factory)
        return E_POINTER;
    factory->AddRef();
    if (m_classFactory)
        m_classFactory->Release();
    m_classFactory = factory;
    if (!m_ownBag)
        return m_classFactory->CreateInstance(CLSID_HXTPropertyBag, reinterpret_cast<void**>(&m_ownBag));
    return HXR_OK;
}

HX_RESULT CRSInFFMpegAgent::Prepare()
{
    return HXR_OK;
}

HX_RESULT CRSInFFMpegAgent::OnInitialize(IUnknown*)
{
    if (!m_outputsConnected)
        return HXR_UNEXPECTED_STATE;
    m_openForChanges = 0;
    return HXR_OK;
}

HX_RESULT CRSInFFMpegAgent::OnFlush()
{
    return HXR_OK;
}

HX_RESULT CRSInFFMpegAgent::OnUnInitialize(UINT32 index)
{
    if (index < (UINT32)m_streamCount)
        m_slots[index].ended = 1;
    for (int i = 0; i < m_streamCount; ++i)
    {
        if (!m_slots[i].ended)
            return HXR_OK;
    }
    ::OutputDebugStringA("void CRSInFFMpegAgent::OnUnInitialize()!\n");
    m_openForChanges = 1;
    if (m_reader)
        m_reader->Close();
    return HXR_OK;
}

HX_RESULT CRSInFFMpegAgent::SetSampleAllocator(UINT32 index, IHXTSampleAllocator* allocator)
{
    if (!allocator)
        return E_INVALIDARG;
    if (index >= (UINT32)m_streamCount)
        return HXR_OK;
    allocator->AddRef();
    if (m_allocator)
        m_allocator->Release();
    m_allocator = allocator;
    return HXR_OK;
}

HX_RESULT CRSInFFMpegAgent::PullSample(UINT32 index, IHXTMediaSample** sampleOut)
{
    if (!sampleOut)
        return E_POINTER;
    *sampleOut = nullptr;
    if (index >= (UINT32)kMaxStreams)
        return HXR_OK;
    StreamSlot& slot = m_slots[index];
    if (slot.kind != kKindVideo && slot.kind != kKindAudio)
        return HXR_OK;
    if (!m_allocator || !m_reader)
        return E_FAIL;
    const int source = slot.source;
    UINT32 size = kAudioSampleBytes;
    if (slot.kind == kKindVideo)
    {
        INT64 frameBytes = (INT64)m_reader->GetWidth(source) * m_reader->GetHeight(source) * 4;
        if (frameBytes <= 0 || frameBytes > 0x7FFFFFFF)
            return E_FAIL;
        size = (UINT32)frameBytes;
    }
    ComPtr<IHXTMediaSample> sample;
    HX_RESULT result = m_allocator->GetMediaSampleOfSize(size, sample.Out());
    if (result < 0)
        return result;
    if (!sample)
        return E_FAIL;
    // A read at the end leaves the times as they are.
    int64_t start = slot.startTime * 1000;
    int64_t end = slot.endTime * 1000;
    int read = slot.kind == kKindVideo
                   ? m_reader->ReadVideo(source, sample->GetDataStartForWriting(), (int)size, &start, &end)
                   : m_reader->ReadAudio(source, sample->GetDataStartForWriting(), (int)size, &start, &end);
    slot.startTime = start / 1000;
    slot.endTime = end / 1000;
    sample->SetDataSize(read < 1 ? 0 : (UINT32)read);
    sample->SetTime(slot.startTime, slot.endTime);
    // A failed read ends the stream as well, marked so that the encoder can tell it from the end.
    if (read < 1)
        sample->SetSampleFlags(sample->GetSampleFlags() | kHXTSampleEndOfStream |
                               (read < 0 ? kHXTSampleReadFailed : 0));
    *sampleOut = sample.Detach();
    return HXR_OK;
}
