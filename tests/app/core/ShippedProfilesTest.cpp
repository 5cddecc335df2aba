#include "RwTest.h"

#include "CoreTestUtil.h"
#include "app/core/Profiles.h"
#include "app/core/VideoManager.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <memory>

using coretest::WinPath;

namespace
{
const int kPollMs = 50;
const int kPollLimit = 2400; // two minutes for the whole set

// What a converted file holds, read back with libavformat.
struct Probe
{
    std::string format;
    std::string video;
    std::string audio;
    int width = 0;
    int height = 0;
    int videoProfile = -1;
    unsigned videoTag = 0;
};

bool ProbeFile(const std::string& path, Probe* out)
{
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0)
        return false;
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> format(raw, [](AVFormatContext* f) {
        avformat_close_input(&f);
    });
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return false;
    out->format = format->iformat->name;
    for (unsigned i = 0; i < format->nb_streams; ++i)
    {
        const AVCodecParameters* par = format->streams[i]->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO)
        {
            out->video = avcodec_get_name(par->codec_id);
            out->width = par->width;
            out->height = par->height;
            out->videoProfile = par->profile;
            out->videoTag = par->codec_tag;
        }
        else if (par->codec_type == AVMEDIA_TYPE_AUDIO)
        {
            out->audio = avcodec_get_name(par->codec_id);
        }
    }
    return true;
}

// The luma of the first decoded picture's given row, averaged.
int RowLuma(const std::string& path, double rowFraction)
{
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0)
        return -1;
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> format(raw, [](AVFormatContext* f) {
        avformat_close_input(&f);
    });
    avformat_find_stream_info(format.get(), nullptr);
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0)
        return -1;
    const AVCodec* codec = avcodec_find_decoder(format->streams[stream]->codecpar->codec_id);
    std::unique_ptr<AVCodecContext, void (*)(AVCodecContext*)> decoder(avcodec_alloc_context3(codec),
                                                                       [](AVCodecContext* c) { avcodec_free_context(&c); });
    avcodec_parameters_to_context(decoder.get(), format->streams[stream]->codecpar);
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return -1;
    std::unique_ptr<AVPacket, void (*)(AVPacket*)> packet(av_packet_alloc(), [](AVPacket* p) { av_packet_free(&p); });
    std::unique_ptr<AVFrame, void (*)(AVFrame*)> frame(av_frame_alloc(), [](AVFrame* f) { av_frame_free(&f); });
    while (av_read_frame(format.get(), packet.get()) >= 0)
    {
        const bool ours = packet->stream_index == stream && avcodec_send_packet(decoder.get(), packet.get()) >= 0;
        av_packet_unref(packet.get());
        if (ours && avcodec_receive_frame(decoder.get(), frame.get()) >= 0)
        {
            const int row = (int)(frame->height * rowFraction);
            long sum = 0;
            for (int x = 0; x < frame->width; ++x)
                sum += frame->data[0][row * frame->linesize[0] + x];
            return (int)(sum / frame->width);
        }
    }
    return -1;
}

struct Expected
{
    const char* profile;
    const char* format; // libavformat's demuxer name, "" for files it cannot read
    const char* video;  // "" for none
    const char* audio;
    int width, height;
};

const Expected kExpected[] = {
    {"DivX Movie", "avi", "mpeg4", "mp3", 640, 480},
    {"XviD Movie", "avi", "mpeg4", "mp3", 640, 480},
    {"MP4 H.264 Video", "mov,mp4,m4a,3gp,3g2,mj2", "h264", "aac", 1280, 720},
    {"MP4 MPEG-4 Video", "mov,mp4,m4a,3gp,3g2,mj2", "mpeg4", "aac", 640, 480},
    {"FLV Flash Video", "flv", "flv1", "mp3", 480, 360},
    {"WMV Windows Media Video", "asf", "wmv2", "wmav2", 640, 480},
    {"MOV QuickTime Video", "mov,mp4,m4a,3gp,3g2,mj2", "mpeg4", "aac", 640, 480},
    {"VCD MPEG-1 Video", "mpeg", "mpeg1video", "mp2", 352, 288},
    {"DVD MPEG-2 Video", "mpeg", "mpeg2video", "ac3", 720, 576},
    {"3GP H.263 Phone Video", "mov,mp4,m4a,3gp,3g2,mj2", "h263", "aac", 176, 144},
    {"3GP MPEG-4 Phone Video", "mov,mp4,m4a,3gp,3g2,mj2", "mpeg4", "aac", 320, 240},
    {"3G2 MPEG-4 Phone Video", "mov,mp4,m4a,3gp,3g2,mj2", "mpeg4", "aac", 176, 144},
    {"Smartphone H.264 Video", "mov,mp4,m4a,3gp,3g2,mj2", "h264", "aac", 480, 320},
    {"MP4 Player MPEG-4 Video", "mov,mp4,m4a,3gp,3g2,mj2", "mpeg4", "aac", 320, 240},
    {"iPod MPEG-4 Video", "mov,mp4,m4a,3gp,3g2,mj2", "mpeg4", "aac", 320, 240},
    {"iPod H.264 Video", "mov,mp4,m4a,3gp,3g2,mj2", "h264", "aac", 320, 240},
    {"iPhone H.264 Video", "mov,mp4,m4a,3gp,3g2,mj2", "h264", "aac", 480, 320},
    {"PSP MPEG-4 Video", "mov,mp4,m4a,3gp,3g2,mj2", "mpeg4", "aac", 320, 240},
    {"PSP H.264 Video", "mov,mp4,m4a,3gp,3g2,mj2", "h264", "aac", 480, 272},
    {"DPG Video", "", "", "", 0, 0},
    {"RMVB Computer Video", "rm", "", "", 640, 480},
    {"RM Mobile Video", "rm", "", "", 176, 144},
    {"RA RealAudio", "rm", "", "", 0, 0},
    {"MP3 Audio", "mp3", "", "mp3", 0, 0},
    {"AAC Audio", "mov,mp4,m4a,3gp,3g2,mj2", "", "aac", 0, 0},
    {"WAV Audio", "wav", "", "pcm_s16le", 0, 0},
    {"OGG Vorbis Audio", "ogg", "", "vorbis", 0, 0},
    {"AC-3 Audio", "ac3", "", "ac3", 0, 0},
};

// Baseline H.264 for the players that need it (with or without the constrained flag).
bool WantsBaseline(const std::string& profile)
{
    return profile == "Smartphone H.264 Video" || profile == "iPod H.264 Video" || profile == "iPhone H.264 Video";
}
} // namespace

TEST(ShippedProfilesTest, EveryProfileConvertsToWhatItPromises)
{
    const std::string dir = rwtest::ScratchDir("ShippedProfiles");
    coretest::SdkFolderLink sdk;
    CategoryArray categories;
    EXPECT_EQ((int)(sizeof kExpected / sizeof kExpected[0]), coretest::LoadShippedProfiles(categories))
        << "every shipped profile has a row";

    g_maxTasks = 4;
    std::vector<int> ids;
    for (const Expected& e : kExpected)
    {
        ConvertSetting profile;
        ASSERT_TRUE(FindProfileByName(categories, coretest::Utf8(e.profile), profile)) << e.profile;
        const int id = CVideoManager::AddTask(coretest::Utf8(std::string(e.profile) + ".mp4"),
                                              WinPath(rwtest::Media("clip_h264_aac.mp4")), profile);
        ASSERT_GT(id, 0) << e.profile;
        ids.push_back(id);
    }
    // The letterbox case: a 1280x720 source into 320x240 keeps its aspect with bands of 30 rows.
    ConvertSetting divx;
    ASSERT_TRUE(FindProfileByName(categories, L"DivX Movie", divx));
    divx.SetParamValue(L"s", L"320x240");
    const int wide = CVideoManager::AddTask(L"letterbox.mp4", WinPath(rwtest::Media("hd720.mp4")), divx);
    ASSERT_GT(wide, 0);
    ids.push_back(wide);

    ASSERT_EQ(0, CVideoManager::StartTasks(WinPath(dir), ids));
    for (int i = 0; i < kPollLimit && CVideoManager::CountRunning() > 0; ++i)
    {
        ::Sleep(kPollMs);
        CVideoManager::PollProgress();
    }

    for (size_t i = 0; i < sizeof kExpected / sizeof kExpected[0]; ++i)
    {
        const Expected& e = kExpected[i];
        ConvertTask* task = nullptr;
        ASSERT_TRUE(CVideoManager::FindTask(ids[i], &task));
        ASSERT_EQ(kTaskDone, task->m_state) << e.profile << ": " << task->m_job.argumentText << "\n" << task->m_log;
        const std::string output = coretest::UnixOf(task->m_job.outputPath);
        if (!*e.format)
        {
            EXPECT_EQ("DPG", coretest::ReadFile(output).substr(0, 3)) << e.profile;
            continue;
        }
        Probe probe;
        ASSERT_TRUE(ProbeFile(output, &probe)) << e.profile << " " << output;
        EXPECT_EQ(e.format, probe.format) << e.profile;
        if (*e.video)
            EXPECT_EQ(e.video, probe.video) << e.profile;
        if (*e.audio)
            EXPECT_EQ(e.audio, probe.audio) << e.profile;
        EXPECT_EQ(e.width, probe.width) << e.profile;
        EXPECT_EQ(e.height, probe.height) << e.profile;
        if (std::string(e.profile) == "DivX Movie")
            EXPECT_EQ(MKTAG('D', 'I', 'V', 'X'), probe.videoTag);
        if (WantsBaseline(e.profile))
            EXPECT_EQ(FF_PROFILE_H264_BASELINE, probe.videoProfile & 0xFF) << e.profile;
    }

    ConvertTask* task = nullptr;
    ASSERT_TRUE(CVideoManager::FindTask(wide, &task));
    ASSERT_EQ(kTaskDone, task->m_state) << task->m_log;
    EXPECT_NE(std::string::npos, std::string(task->m_job.argumentText).find(" -s 320x180 -padtop 30 -padbottom 30 "))
        << task->m_job.argumentText;
    const std::string output = coretest::UnixOf(task->m_job.outputPath);
    Probe probe;
    ASSERT_TRUE(ProbeFile(output, &probe));
    EXPECT_EQ(320, probe.width);
    EXPECT_EQ(240, probe.height);
    EXPECT_LT(RowLuma(output, 0.05), 40);  // in the top band
    EXPECT_LT(RowLuma(output, 0.95), 40);  // in the bottom band
    EXPECT_GT(RowLuma(output, 0.3), 60);   // the picture's colour bars
    CVideoManager::RemoveAll();
}
