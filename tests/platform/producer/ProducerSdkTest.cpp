// The producer library end to end: a job built as the RealMedia encoder builds it, reading made-up
// media through Loomgate, writes RealMedia files that libavformat reads back.
#include "RwTest.h"

#include "MediaReadBack.h"
#include "TestPluginReader.h"
#include "platform/producer/ComPtr.h"
#include "platform/producer/ProducerSdk.h"

#include <stdio.h>

#include <mutex>
#include <vector>

namespace
{
// Collects the job's events; called on the library's thread.
class EventLog : public IHXTEventSink
{
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!GuidsEqual(iid, IID_IUnknownId) && !GuidsEqual(iid, IID_IHXTEventSink))
            return E_FAIL;
        *object = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return ::InterlockedIncrement(&m_refCount);
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        return ::InterlockedDecrement(&m_refCount);
    }
    HX_RESULT STDMETHODCALLTYPE OnEvent(UINT32 type, const UINT32* value, void*, void*) override
    {
        std::lock_guard<std::mutex> guard(m_lock);
        events.push_back({type, value ? *value : 0});
        return 0;
    }

    struct Event
    {
        UINT32 type;
        UINT32 value;
    };
    std::vector<Event> events;

  private:
    std::mutex m_lock;
    volatile LONG m_refCount = 1;
};

struct JobRequest
{
    std::string output; // Unix path
    const char* audience = "computer - 768";
    const char* pluginName = "tovrin-ffmpeg-helix-plugin";
    UINT32 rollSize = 0;
    bool cancelFirst = false;
};

struct JobOutcome
{
    HX_RESULT setup = E_FAIL; // first failing setup step, or 0
    HX_RESULT result = E_FAIL;
    std::string error;
    std::vector<EventLog::Event> events;
};

class ProducerSdkTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        av_log_set_level(AV_LOG_ERROR);
        std::string sdk = rwtest::ToWin32Path(rwtest::ProgramDir() + "/helixsdk") + "\\";
        std::string library = sdk + "tools\\encsession.dll";
        m_module = ::LoadLibraryA(library.c_str());
        ASSERT_NE(m_module, nullptr);
        HMODULE pinned = nullptr;
        ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN, library.c_str(), &pinned);
        auto setPaths = reinterpret_cast<SetDLLAccessPathFunc>(::GetProcAddress(m_module, "SetDLLAccessPath"));
        auto createFactory =
            reinterpret_cast<HXTCreateJobFactoryFunc>(::GetProcAddress(m_module, "HXTCreateJobFactory"));
        ASSERT_TRUE(setPaths && createFactory);
        std::string block;
        for (const char* entry : {"DT_Plugins=plugins", "DT_Codecs=codecs", "DT_EncSDK=tools", "DT_Common=common"})
        {
            std::string text = entry;
            size_t equals = text.find('=');
            block += text.substr(0, equals + 1) + sdk + text.substr(equals + 1);
            block += '\0';
        }
        block += '\0';
        ASSERT_EQ(setPaths(block.c_str()), 0);
        ASSERT_EQ(createFactory(m_factory.Out()), 0);
        m_audiences = sdk + "audiences";
    }

    void TearDown() override
    {
        m_factory.Reset();
        if (m_module)
            ::FreeLibrary(m_module);
    }

    ComPtr<IHXTPropertyBag> Bag()
    {
        ComPtr<IHXTPropertyBag> bag;
        EXPECT_EQ(m_factory->CreateInstance(CLSID_HXTPropertyBag, bag.OutVoid()), 0);
        return ComPtr<IHXTPropertyBag>(bag.Detach());
    }

    // Builds and runs a job the way the program's RealMedia encoder does.
    JobOutcome Run(IPluginReader* reader, const JobRequest& request)
    {
        JobOutcome outcome;
        ComPtr<IHXTEncodingJob> job;
        ComPtr<IHXTEventManager> events;
        EventLog sink;
        HX_RESULT r = m_factory->CreateInstance(CLSID_HXTEncodingJob, job.OutVoid());
        if (r >= 0)
            r = job->GetEventManager(events.Out());
        if (r >= 0)
            r = events->Subscribe(&sink);

        ComPtr<IHXTInput> input;
        if (r >= 0)
        {
            ComPtr<IHXTPropertyBag> bag = Bag();
            char address[32];
            snprintf(address, sizeof(address), "%lld", (long long)(INT_PTR)reader);
            bag->SetString("pluginName", request.pluginName);
            bag->SetString("pluginType", "avFileInput");
            bag->SetString("filename", address);
            r = m_factory->BuildInstance(CLSID_HXTInput, bag.Get(), input.OutVoid());
        }
        if (r >= 0)
            r = job->SetInput(input.Get());

        ComPtr<IHXTOutputProfile> profile;
        if (r >= 0)
            r = m_factory->CreateInstance(CLSID_HXTOutputProfile, profile.OutVoid());
        if (r >= 0)
            r = job->AddOutputProfile(profile.Get());
        ComPtr<IHXTDestination> destination;
        if (r >= 0)
        {
            ComPtr<IHXTPropertyBag> bag = Bag();
            bag->SetString("pluginType", "fileDestination");
            bag->SetString("pluginName", "rn-file-realmedia");
            bag->SetString("filename", rwtest::ToWin32Path(request.output).c_str());
            r = m_factory->BuildInstance(CLSID_HXTDestination, bag.Get(), destination.OutVoid());
        }
        if (r >= 0 && request.rollSize)
            r = destination->SetUINT("destinationRollSize", request.rollSize);
        if (r >= 0)
            r = profile->AddDestination(destination.Get());
        ComPtr<IHXTMediaProfile> media;
        if (r >= 0)
            r = m_factory->CreateInstance(CLSID_HXTMediaProfile, media.OutVoid());
        if (r >= 0)
            r = profile->SetMediaProfile(media.Get());
        if (r >= 0)
            r = media->SetString("videoMode", "normal");

        ComPtr<IHXTAudienceList> audiences;
        if (r >= 0)
            r = m_factory->CreateInstance(CLSID_HXTAudienceList, audiences.OutVoid());
        if (r >= 0)
            r = audiences->LoadFolder(m_audiences.c_str());
        for (UINT32 i = 0; r >= 0 && i < audiences->GetAudienceCount(); ++i)
        {
            ComPtr<IHXTAudience> audience;
            const char* name = nullptr;
            if (audiences->GetAudience(i, audience.Out()) >= 0 && audience->GetString("name", &name) >= 0 &&
                ::lstrcmpiA(name, request.audience) == 0)
                r = media->AddAudience(audience.Get());
        }
        if (r >= 0)
            r = job->SetBool("enableTwoPass", TRUE);
        outcome.setup = r;
        if (r < 0)
            return outcome;

        if (request.cancelFirst)
            job->CancelEncoding();
        outcome.result = job->StartEncoding(TRUE);
        const char* error = nullptr;
        if (job->GetString("errorText", &error) >= 0)
            outcome.error = error;
        events->Unsubscribe(&sink);
        outcome.events = sink.events;
        return outcome;
    }

    HMODULE m_module = nullptr;
    ComPtr<IHXTClassFactory> m_factory;
    std::string m_audiences;
};

// Progress of each phase runs to 100 without going back; the start event comes first.
void ExpectPhases(const std::vector<EventLog::Event>& events)
{
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front().type, kHXTEventEncodingStarted);
    UINT32 last[8] = {};
    bool secondStarted = false;
    for (const EventLog::Event& e : events)
    {
        if (e.type != kHXTEventFirstPassProgress && e.type != kHXTEventSecondPassProgress)
            continue;
        EXPECT_GE(e.value, last[e.type]);
        EXPECT_LE(e.value, 100u);
        last[e.type] = e.value;
        if (e.type == kHXTEventSecondPassProgress)
            secondStarted = true;
        else
            EXPECT_FALSE(secondStarted) << "first-phase event after the second phase began";
    }
    EXPECT_EQ(last[kHXTEventFirstPassProgress], 100u);
    EXPECT_EQ(last[kHXTEventSecondPassProgress], 100u);
}

TEST_F(ProducerSdkTest, WritesRealMediaFilesThatReadBack)
{
    std::string dir = rwtest::ScratchDir("ProducerSdk_ReadBack");
    const struct
    {
        const char* name;
        std::vector<int> kinds;
        int channels;
        int sampleRate;
        const char* audience;
        std::vector<AVCodecID> codecs;
    } cases[] = {
        {"computer.rmvb", {0, 1}, 2, 44100, "computer - 768", {AV_CODEC_ID_RV20, AV_CODEC_ID_AC3}},
        {"mobile.rm", {0, 1}, 1, 22050, "mobile - 192", {AV_CODEC_ID_RV10, AV_CODEC_ID_AC3}},
        {"video.rm", {0}, 2, 44100, "computer - 128", {AV_CODEC_ID_RV20}},
        {"narrow.ra", {0, 1}, 1, 8000, "computer - 128", {AV_CODEC_ID_RA_144}},
        {"stereo.ra", {1}, 2, 48000, "computer - 128", {AV_CODEC_ID_AC3}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        rwtest::TestPluginReader* reader = rwtest::NewHighReader();
        ASSERT_NE(reader, nullptr);
        reader->kinds = c.kinds;
        reader->width = 150;
        reader->channels = c.channels;
        reader->sampleRate = c.sampleRate;
        JobRequest request;
        request.output = dir + "/" + c.name;
        request.audience = c.audience;
        JobOutcome outcome = Run(reader, request);
        EXPECT_EQ(outcome.setup, 0);
        EXPECT_EQ(outcome.result, 0) << outcome.error;
        EXPECT_EQ(reader->closes, 1);
        rwtest::FreeHighReader(reader);
        ExpectPhases(outcome.events);
        rwtest::ReadBack back = rwtest::ReadMediaFile(request.output);
        ASSERT_TRUE(back.opened);
        EXPECT_EQ(back.codecs, c.codecs);
        if (!back.widths.empty() && c.codecs[0] != AV_CODEC_ID_RA_144 && c.codecs[0] != AV_CODEC_ID_AC3)
            EXPECT_EQ(back.widths[0], 144);
        EXPECT_NEAR(back.seconds, 2.0, 0.5);
        EXPECT_FALSE(rwtest::FileExists(request.output + ".spool"));
    }
}

TEST_F(ProducerSdkTest, StampsPicturesByCountWhereTheirTimesStandStill)
{
    std::string dir = rwtest::ScratchDir("ProducerSdk_Untimed");
    rwtest::TestPluginReader reader;
    reader.kinds = {0};
    reader.videoTimes = rwtest::TestPluginReader::kTimesStandStill;
    JobRequest request;
    request.output = dir + "/untimed.rm";
    JobOutcome outcome = Run(&reader, request);
    ASSERT_EQ(outcome.result, 0) << outcome.error;
    rwtest::ReadBack back = rwtest::ReadMediaFile(request.output);
    ASSERT_EQ(back.streams.size(), 1u);
    EXPECT_EQ(back.streams[0].packets, 50); // two seconds at 25 pictures a second
    EXPECT_NEAR(back.streams[0].end, 2.0, 0.05);
    EXPECT_NEAR(back.seconds, 2.0, 0.1);

    // Times that run back cannot be placed: the job says so and writes nothing.
    rwtest::TestPluginReader backwards;
    backwards.kinds = {0};
    backwards.videoTimes = rwtest::TestPluginReader::kTimesGoBack;
    request.output = dir + "/backwards.rm";
    outcome = Run(&backwards, request);
    EXPECT_LT(outcome.result, 0);
    EXPECT_NE(outcome.error.find("no usable time"), std::string::npos) << outcome.error;
    EXPECT_FALSE(rwtest::FileExists(request.output));
}

TEST_F(ProducerSdkTest, RollsToNumberedFilesBySize)
{
    std::string dir = rwtest::ScratchDir("ProducerSdk_Roll");
    rwtest::TestPluginReader reader;
    reader.duration = 3000000;
    JobRequest request;
    request.output = dir + "/rolled.rm";
    request.rollSize = 40000;
    JobOutcome outcome = Run(&reader, request);
    ASSERT_EQ(outcome.result, 0) << outcome.error;
    EXPECT_TRUE(rwtest::ReadMediaFile(request.output).opened);
    rwtest::ReadBack second = rwtest::ReadMediaFile(dir + "/rolled - 02.rm");
    ASSERT_TRUE(second.opened);
    EXPECT_EQ(second.codecs.size(), 2u);
}

TEST_F(ProducerSdkTest, FailsCleanlyOnWhatItCannotEncode)
{
    std::string dir = rwtest::ScratchDir("ProducerSdk_Fail");
    const struct
    {
        const char* name;
        std::vector<int> kinds;
        int failAfterReads;
        const char* audience;
        bool cancel;
        const char* error; // part of the error text
    } cases[] = {
        {"novideo.rm", {1}, -1, "computer - 768", false, "no video"},
        {"noaudio.ra", {0}, -1, "computer - 768", false, "no audio"},
        {"unreadable.rm", {0, 1}, 0, "computer - 768", false, "reading the source failed"},
        {"brokenlater.rm", {0, 1}, 10, "computer - 768", false, "reading the source failed"},
        {"noaudience.rm", {0, 1}, -1, "computer - 451", false, "audience"},
        {"cancelled.rm", {0, 1}, -1, "computer - 768", true, "cancelled"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        rwtest::TestPluginReader reader;
        reader.kinds = c.kinds;
        reader.failAfterReads = c.failAfterReads;
        JobRequest request;
        request.output = dir + "/" + c.name;
        request.audience = c.audience;
        request.cancelFirst = c.cancel;
        JobOutcome outcome = Run(&reader, request);
        EXPECT_EQ(outcome.setup, 0);
        EXPECT_LT(outcome.result, 0);
        EXPECT_NE(outcome.error.find(c.error), std::string::npos) << outcome.error;
        EXPECT_FALSE(rwtest::FileExists(request.output));
        EXPECT_FALSE(rwtest::FileExists(request.output + ".spool"));
    }
}

TEST_F(ProducerSdkTest, UnknownPluginOrUnreadableSourceFailsTheInput)
{
    rwtest::TestPluginReader reader;
    JobRequest request;
    request.output = rwtest::ScratchDir("ProducerSdk_Input") + "/x.rm";
    request.pluginName = "no-such-plugin";
    EXPECT_LT(Run(&reader, request).setup, 0);

    reader.failOpen = true;
    request.pluginName = "tovrin-ffmpeg-helix-plugin";
    EXPECT_LT(Run(&reader, request).setup, 0);
    reader.failOpen = false;

    // A plug-ins folder holding only a library that is no plug-in and one that is no library.
    std::string plugins = rwtest::ScratchDir("ProducerSdk_BrokenPlugins");
    std::string probe = std::string(RW_BINARY_DIR) + "/tests/probe/rwprobe.dll";
    ASSERT_TRUE(
        ::CopyFileA(rwtest::ToWin32Path(probe).c_str(), rwtest::ToWin32Path(plugins + "/rwprobe.dll").c_str(), FALSE));
    FILE* broken = fopen((plugins + "/broken.dll").c_str(), "wb");
    ASSERT_NE(broken, nullptr);
    fputs("not a library", broken);
    fclose(broken);
    std::string block = "DT_Plugins=" + rwtest::ToWin32Path(plugins);
    block += '\0';
    block += '\0';
    auto setPaths = reinterpret_cast<SetDLLAccessPathFunc>(::GetProcAddress(m_module, "SetDLLAccessPath"));
    ASSERT_EQ(setPaths(block.c_str()), 0);
    EXPECT_LT(Run(&reader, request).setup, 0);
    EXPECT_EQ(reader.opens, 0);
}
} // namespace
