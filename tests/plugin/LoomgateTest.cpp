// Loomgate driven by a host of its own, the way the producer library drives it: loaded from the
// plug-ins folder, asked for its description and properties, given a reader and pulled to the end.
#include "RwTest.h"

#include "TestPluginReader.h"
#include "platform/producer/ComPtr.h"
#include "platform/producer/HostObjects.h"
#include "platform/producer/PropertyStore.h"

#include <stdio.h>

namespace
{
const HX_RESULT kStateError = (HX_RESULT)0x80040258;

std::string AddressText(IPluginReader* reader)
{
    char text[32];
    snprintf(text, sizeof(text), "%lld", (long long)(INT_PTR)reader);
    return text;
}

class LoomgateTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        std::string path = rwtest::ToWin32Path(rwtest::ProgramDir() + "/helixsdk/plugins/loomgate.dll");
        m_module = ::LoadLibraryA(path.c_str());
        ASSERT_NE(m_module, nullptr) << path;
        // As the producer library does: a Winelib library cannot be loaded again once unloaded.
        HMODULE pinned = nullptr;
        ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, path.c_str(), &pinned);
        auto create = reinterpret_cast<RMACreateInstanceFunc>(::GetProcAddress(m_module, "RMACreateInstance"));
        ASSERT_NE(create, nullptr);
        ASSERT_EQ(create(m_plugin.Out()), 0);
        ASSERT_EQ(CreateObject<CCommonClassFactory>(m_host.Out()), 0);
        ComPtr<IHXPlugin> plugin;
        ASSERT_EQ(m_plugin->QueryInterface(IID_IHXPlugin, plugin.OutVoid()), 0);
        ASSERT_EQ(plugin->InitPlugin(m_host.Get()), 0);
        ASSERT_EQ(m_plugin->QueryInterface(IID_IHXTInputFilter, m_filter.OutVoid()), 0);
        ASSERT_EQ(m_plugin->QueryInterface(IID_IHXTConnectionAgent, m_connection.OutVoid()), 0);
        ASSERT_EQ(m_plugin->QueryInterface(IID_IHXTPropertyBag, m_bag.OutVoid()), 0);
        ASSERT_EQ(m_filter->AttachFactory(m_host.Get()), 0);
        m_reader = rwtest::NewHighReader();
        ASSERT_NE(m_reader, nullptr);
    }

    void TearDown() override
    {
        m_bag.Reset();
        m_connection.Reset();
        m_filter.Reset();
        m_plugin.Reset();
        rwtest::FreeHighReader(m_reader);
        if (m_module)
            ::FreeLibrary(m_module);
    }

    HX_RESULT GiveReader()
    {
        return m_bag->SetString("filename", AddressText(m_reader).c_str());
    }

    // The stream bag of output index.
    ComPtr<IHXTPropertyBag>* StreamBag(UINT32 index)
    {
        m_stream.Reset();
        EXPECT_EQ(m_connection->GetOutputProperties(index, m_stream.Out()), 0);
        return &m_stream;
    }

    UINT32 Number(IHXTPropertyBag* bag, const char* key)
    {
        UINT32 value = 0xDEAD;
        EXPECT_EQ(bag->GetUINT(key, &value), 0) << key;
        return value;
    }

    std::string Text(IHXTPropertyBag* bag, const char* key)
    {
        const char* value = nullptr;
        return bag->GetString(key, &value) >= 0 ? value : "(none)";
    }

    HMODULE m_module = nullptr;
    ComPtr<IUnknown> m_plugin;
    ComPtr<IHXCommonClassFactory> m_host;
    ComPtr<IHXTInputFilter> m_filter;
    ComPtr<IHXTConnectionAgent> m_connection;
    ComPtr<IHXTPropertyBag> m_bag;
    ComPtr<IHXTPropertyBag> m_stream;
    rwtest::TestPluginReader* m_reader = nullptr;
};

TEST_F(LoomgateTest, ListsItsSevenPropertiesInTableOrder)
{
    ComPtr<IHXPluginProperties> properties;
    ASSERT_EQ(m_plugin->QueryInterface(IID_IHXPluginProperties, properties.OutVoid()), 0);
    ComPtr<IHXValues> values;
    ASSERT_EQ(properties->GetProperties(values.Out()), 0);
    struct Row
    {
        const char* key;
        UINT32 kind;
        const char* text;
    };
    const Row rows[] = {{"ComponentName", kHXValueCString, "rn-avfile-wavuncompressed"},
                        {"pluginName", kHXValueCString, "tovrin-ffmpeg-helix-plugin"},
                        {"pluginType", kHXValueCString, "avFileInput"},
                        {"pluginCategory", kHXValueCString, "categoryInputAVFile"},
                        {"pluginLongName", kHXValueCString, "tovrin-ffmpeg-helix-plugin"},
                        {"FileExtensions", kHXValueCString, ".avi"},
                        {"ComponentCLSID", kHXValueBuffer, nullptr}};
    ASSERT_EQ(values->GetPropertyCount(), 7u);
    for (UINT32 i = 0; i < 7; ++i)
    {
        const char* key = nullptr;
        UINT32 kind = 0;
        ASSERT_EQ(values->GetPropertyAt(i, &key, &kind), 0);
        EXPECT_STREQ(key, rows[i].key);
        EXPECT_EQ(kind, rows[i].kind) << key;
        ComPtr<IHXBuffer> buffer;
        if (rows[i].text)
        {
            ASSERT_EQ(values->GetPropertyCString(key, buffer.Out()), 0);
            EXPECT_EQ(buffer->GetSize(), strlen(rows[i].text) + 1) << key;
            EXPECT_STREQ(reinterpret_cast<const char*>(buffer->GetBuffer()), rows[i].text);
        }
        else
        {
            const unsigned char id[16] = {0x0D, 0xFF, 0x23, 0x15, 0x22, 0xF7, 0x33, 0x44,
                                          0xBC, 0xEB, 0xA8, 0x84, 0xF4, 0xA0, 0x12, 0xF7};
            ASSERT_EQ(values->GetPropertyBuffer(key, buffer.Out()), 0);
            ASSERT_EQ(buffer->GetSize(), 16u);
            EXPECT_EQ(memcmp(buffer->GetBuffer(), id, 16), 0);
        }
    }

    ComPtr<IHXPlugin> plugin;
    ASSERT_EQ(m_plugin->QueryInterface(IID_IHXPlugin, plugin.OutVoid()), 0);
    BOOL multiple = TRUE;
    const char* description = nullptr;
    const char* notice = nullptr;
    const char* address = nullptr;
    UINT32 version = 99;
    ASSERT_EQ(plugin->GetPluginInfo(&multiple, &description, &notice, &address, &version), 0);
    EXPECT_FALSE(multiple);
    EXPECT_STREQ(description, "Read FFMpeg Support Media Files");
    EXPECT_EQ(version, 0u);
    EXPECT_EQ(plugin->InitPlugin(nullptr), E_POINTER);
    EXPECT_EQ(plugin->GetPluginExtension(nullptr), E_FAIL);
    auto shutdown = reinterpret_cast<RMAShutdownFunc>(::GetProcAddress(m_module, "RMAShutdown"));
    ASSERT_NE(shutdown, nullptr);
    EXPECT_EQ(shutdown(), 0);
}

TEST_F(LoomgateTest, FacesShareOneCountAndOneAgent)
{
    ComPtr<IHXPluginProperties> properties;
    ASSERT_EQ(m_plugin->QueryInterface(IID_IHXPluginProperties, properties.OutVoid()), 0);
    ULONG viaFirst = m_plugin->AddRef();
    ULONG viaSecond = properties->AddRef();
    EXPECT_EQ(viaSecond, viaFirst + 1);
    properties->Release();
    m_plugin->Release();

    // Every agent face, asked of the plug-in object twice, is the one agent.
    ComPtr<IHXTInputFilter> filter;
    ASSERT_EQ(m_plugin->QueryInterface(IID_IHXTFilter, filter.OutVoid()), 0);
    EXPECT_EQ(filter.Get(), m_filter.Get());
    ComPtr<IUnknown> agentUnknown;
    ASSERT_EQ(m_filter->QueryInterface(IID_IUnknownId, agentUnknown.OutVoid()), 0);
    EXPECT_EQ(static_cast<void*>(agentUnknown.Get()), static_cast<void*>(m_bag.Get()));
    ULONG count = m_bag->AddRef();
    EXPECT_EQ(m_connection->AddRef(), count + 1);
    m_connection->Release();
    m_bag->Release();

    ComPtr<IUnknown> none;
    GUID unknownId = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    EXPECT_EQ(m_plugin->QueryInterface(unknownId, none.OutVoid()), E_NOINTERFACE);
    EXPECT_FALSE(none);
}

TEST_F(LoomgateTest, AcceptsReaderAboveFourGigabytesAndDescribesItsStreams)
{
    ASSERT_GT((UINT_PTR) static_cast<IPluginReader*>(m_reader), 0xFFFFFFFFull);
    m_reader->duration = 1999999;
    m_reader->channels = 1;
    ASSERT_EQ(GiveReader(), 0);
    EXPECT_EQ(m_reader->opens, 1);
    ASSERT_EQ(m_connection->GetOutputCount(), 2u);

    IHXTPropertyBag* video = StreamBag(0)->Get();
    EXPECT_EQ(Text(video, "MediaFormat"), "UncompressedVideo");
    EXPECT_EQ(Number(video, "videoColorFormat"), 3u);
    EXPECT_EQ(Number(video, "videoFrameWidth"), 160u);
    EXPECT_EQ(Number(video, "videoFrameHeight"), 120u);
    double rate = 0;
    EXPECT_EQ(video->GetDouble("videoFrameRate", &rate), 0);
    EXPECT_EQ(rate, 25.0);

    IHXTPropertyBag* audio = StreamBag(1)->Get();
    EXPECT_EQ(Text(audio, "MediaFormat"), "UncompressedAudio");
    EXPECT_EQ(Number(audio, "audioChannelFormat"), 0x1u);
    EXPECT_EQ(Number(audio, "audioSampleFormat"), 0x408u);
    EXPECT_EQ(Number(audio, "audioSampleRate"), 44100u);

    EXPECT_EQ(Number(m_bag.Get(), "numTracks"), 2u);
    EXPECT_EQ(Text(m_bag.Get(), "pluginName"), "tovrin-ffmpeg-helix-plugin");
    EXPECT_EQ(Text(m_bag.Get(), "filename"), AddressText(m_reader));
    EXPECT_EQ(Text(m_bag.Get(), "Status"), "Okay");
    BOOL flag = TRUE;
    EXPECT_EQ(m_bag->GetBool("isRealTime", &flag), 0);
    EXPECT_FALSE(flag);
    ComPtr<IUnknown> durationObject;
    ComPtr<IHXTTime> duration;
    ASSERT_EQ(m_bag->GetObjectValue("duration", durationObject.Out()), 0);
    ASSERT_EQ(durationObject->QueryInterface(IID_IHXTTime, duration.OutVoid()), 0);
    INT64 milliseconds = 0;
    duration->GetTime(&milliseconds);
    EXPECT_EQ(milliseconds, 1999);
}

TEST_F(LoomgateTest, DescribesChannelAndSampleFormats)
{
    // Channels and bits per sample of the reader against the audio bag's values.
    const struct
    {
        int channels;
        int bits;
        UINT32 channelFormat;
        UINT32 sampleFormat;
    } cases[] = {{1, 16, 0x1, 0x408},   {2, 8, 0x6, 0x204},    {3, 16, 0x7, 0x408},
                 {4, 16, 0x17, 0x408},  {5, 16, 0x67, 0x408},  {6, 16, 0x6F, 0x408},
                 {7, 16, 0x13F, 0x408}, {8, 16, 0x63F, 0x408}, {9, 16, 0x0, 0x408}};
    m_reader->kinds = {1};
    for (const auto& c : cases)
    {
        m_reader->channels = c.channels;
        m_reader->bitsPerSample = c.bits;
        ASSERT_EQ(GiveReader(), 0);
        IHXTPropertyBag* audio = StreamBag(0)->Get();
        EXPECT_EQ(Number(audio, "audioChannelFormat"), c.channelFormat) << c.channels << " channels";
        EXPECT_EQ(Number(audio, "audioSampleFormat"), c.sampleFormat) << c.bits << " bits";
    }
}

TEST_F(LoomgateTest, PublishesAtMostTwentyStreamsAndPassesOverOtherKinds)
{
    m_reader->kinds.assign(25, 1);
    ASSERT_EQ(GiveReader(), 0);
    EXPECT_EQ(m_connection->GetOutputCount(), 20u);
    EXPECT_EQ(Number(m_bag.Get(), "numTracks"), 20u);

    // A subtitle (3) or data (2) stream before the sound: the sound is still published, and its
    // output reads the reader's own stream.
    m_reader->kinds = {0, 3, 2, 1};
    ASSERT_EQ(GiveReader(), 0);
    ASSERT_EQ(m_connection->GetOutputCount(), 2u);
    EXPECT_EQ(Text(StreamBag(0)->Get(), "MediaFormat"), "UncompressedVideo");
    EXPECT_EQ(Text(StreamBag(1)->Get(), "MediaFormat"), "UncompressedAudio");
    ComPtr<IHXTSampleAllocator> allocator;
    ASSERT_EQ(CreateObject<CSampleAllocator>(allocator.Out()), 0);
    ASSERT_EQ(m_filter->SetSampleAllocator(1, allocator.Get()), 0);
    ComPtr<IHXTMediaSample> sample;
    ASSERT_EQ(m_filter->PullSample(1, sample.Out()), 0);
    ASSERT_TRUE(sample);
    EXPECT_GT(sample->GetDataSize(), 0u);
    EXPECT_EQ(m_reader->lastAudioStream, 3);
}

TEST_F(LoomgateTest, RefusesWhatItDoesNotTake)
{
    EXPECT_EQ(m_bag->SetString("pluginName", "x"), E_FAIL);
    EXPECT_EQ(m_bag->SetString("filename", ""), E_FAIL);
    EXPECT_EQ(m_bag->SetString("filename", "0"), E_FAIL);
    EXPECT_EQ(m_bag->SetString("filename", "abc"), E_FAIL);
    EXPECT_EQ(m_bag->SetString(nullptr, "1"), E_POINTER);
    EXPECT_EQ(m_bag->SetUINT("numTracks", 1), E_FAIL);
    EXPECT_EQ(m_bag->SetBool("isRealTime", TRUE), E_FAIL);
    EXPECT_EQ(m_bag->SetDouble("gain", 6.0), E_FAIL);
    EXPECT_EQ(m_bag->SetInt64("start", 1), E_FAIL);
    EXPECT_EQ(m_bag->SetFloat("level", 1.0f), E_FAIL);
    const char* text = nullptr;
    EXPECT_EQ(m_bag->GetString("pluginName", &text), E_FAIL); // nothing stored
    m_reader->failOpen = true;
    EXPECT_EQ(GiveReader(), E_FAIL);
    m_reader->failOpen = false;

    ASSERT_EQ(GiveReader(), 0);
    ComPtr<IHXTPropertyBag> bag;
    EXPECT_EQ(m_connection->GetOutputProperties(2, bag.Out()), E_INVALIDARG);
    EXPECT_EQ(m_connection->GetOutputProperties(0, nullptr), E_POINTER);
    EXPECT_EQ(m_connection->SetOutputTarget(2, m_host.Get()), E_INVALIDARG);
    EXPECT_EQ(m_connection->SetOutputTarget(0, nullptr), E_INVALIDARG);
    EXPECT_EQ(m_filter->SetSampleAllocator(0, nullptr), E_INVALIDARG);
    EXPECT_EQ(m_filter->AttachFactory(nullptr), E_POINTER);
    EXPECT_EQ(m_filter->OnInitialize(nullptr), kStateError);
    ASSERT_EQ(m_connection->SetOutputTarget(0, m_host.Get()), 0);
    EXPECT_EQ(m_filter->OnInitialize(nullptr), 0);
    // Closed for changes while samples are pulled.
    EXPECT_EQ(GiveReader(), kStateError);
}

TEST_F(LoomgateTest, DeliversEverySampleUpToTheEndAndClosesTheReaderOnce)
{
    m_reader->duration = 1000000;
    m_reader->audioChunkBytes = 10000; // shorter than a sample: data, not the end
    ASSERT_EQ(GiveReader(), 0);
    ComPtr<IHXTSampleAllocator> allocator;
    ASSERT_EQ(CreateObject<CSampleAllocator>(allocator.Out()), 0);
    for (UINT32 i = 0; i < 2; ++i)
    {
        ASSERT_EQ(m_connection->SetOutputTarget(i, m_host.Get()), 0);
        ASSERT_EQ(m_filter->SetSampleAllocator(i, allocator.Get()), 0);
    }
    ASSERT_EQ(m_filter->OnInitialize(nullptr), 0);

    int frames = 0;
    INT64 lastVideoEnd = 0;
    for (;;)
    {
        ComPtr<IHXTMediaSample> sample;
        ASSERT_EQ(m_filter->PullSample(0, sample.Out()), 0);
        ASSERT_TRUE(sample);
        if (sample->GetSampleFlags() & kHXTSampleEndOfStream)
        {
            EXPECT_EQ(sample->GetSampleFlags(), kHXTSampleEndOfStream);
            EXPECT_EQ(sample->GetDataSize(), 0u);
            break;
        }
        EXPECT_EQ(sample->GetDataSize(), 160u * 120u * 4u);
        INT64 start = 0;
        sample->GetTime(&start, &lastVideoEnd);
        EXPECT_EQ(start, frames * 40);
        ++frames;
    }
    EXPECT_EQ(frames, 25);
    EXPECT_EQ(lastVideoEnd, 1000);

    UINT64 audioBytes = 0;
    INT64 audioEnd = 0;
    for (;;)
    {
        ComPtr<IHXTMediaSample> sample;
        ASSERT_EQ(m_filter->PullSample(1, sample.Out()), 0);
        if (sample->GetSampleFlags() & kHXTSampleEndOfStream)
            break;
        EXPECT_EQ(sample->GetDataSize(), 10000u);
        EXPECT_EQ(sample->GetAllocatedSize(), 0x8000u);
        audioBytes += sample->GetDataSize();
        INT64 start = 0;
        sample->GetTime(&start, &audioEnd);
    }
    EXPECT_NEAR((double)audioBytes, 44100.0 * 4, 10000);
    EXPECT_NEAR((double)audioEnd, 1000.0, 200.0);

    EXPECT_EQ(m_filter->OnUnInitialize(1), 0);
    EXPECT_EQ(m_reader->closes, 0);
    EXPECT_EQ(m_filter->OnUnInitialize(0), 0);
    EXPECT_EQ(m_reader->closes, 1);
    // Open for changes again: a new source may be given.
    EXPECT_EQ(GiveReader(), 0);
    EXPECT_EQ(m_reader->opens, 2);
}

TEST_F(LoomgateTest, ReadFailureEndsTheStream)
{
    m_reader->failAfterReads = 2;
    ASSERT_EQ(GiveReader(), 0);
    ComPtr<IHXTSampleAllocator> allocator;
    ASSERT_EQ(CreateObject<CSampleAllocator>(allocator.Out()), 0);
    ASSERT_EQ(m_filter->SetSampleAllocator(0, allocator.Get()), 0);
    int samples = 0;
    for (; samples < 10; ++samples)
    {
        ComPtr<IHXTMediaSample> sample;
        ASSERT_EQ(m_filter->PullSample(0, sample.Out()), 0);
        if (sample->GetSampleFlags() & kHXTSampleEndOfStream)
        {
            EXPECT_EQ(sample->GetSampleFlags(), kHXTSampleEndOfStream | kHXTSampleReadFailed);
            break;
        }
    }
    EXPECT_EQ(samples, 2);
}

TEST_F(LoomgateTest, AppliesAConfigurationOnce)
{
    ComPtr<IHXTConfigurationAgent> agent;
    ASSERT_EQ(m_plugin->QueryInterface(IID_IHXTConfigurationAgent, agent.OutVoid()), 0);
    ComPtr<IHXTPropertyBag> input;
    ASSERT_EQ(m_host->CreateInstance(CLSID_HXTPropertyBag, input.OutVoid()), 0);
    input->SetString("pluginName", "other");
    ComPtr<IHXTPropertyBag> rejected;
    EXPECT_EQ(agent->ApplyConfiguration(input.Get(), rejected.Out()), E_FAIL);
    ASSERT_TRUE(rejected);
    UINT32 count = 0;
    rejected->GetPropertyCount(&count);
    EXPECT_EQ(count, 1u);
    const char* text = nullptr;
    EXPECT_EQ(rejected->GetString("pluginName", &text), 0);

    ComPtr<IHXTPropertyBag> empty;
    ASSERT_EQ(m_host->CreateInstance(CLSID_HXTPropertyBag, empty.OutVoid()), 0);
    EXPECT_EQ(agent->ApplyConfiguration(empty.Get(), nullptr), 0);
    EXPECT_EQ(agent->ApplyConfiguration(empty.Get(), nullptr), kStateError);
}
} // namespace
