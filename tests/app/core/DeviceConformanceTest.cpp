// Device conformance: every shipped profile converts each generated source (4:3, 16:9 at 60 fps,
// 10-bit 4:4:4, an odd size, portrait, 5.1 AC-3, mono 8 kHz, MJPEG with PCM, and a file named in
// three scripts) as a task does, and each output is read back against its device's published
// limits, from the codec headers where a decoder would forgive a fault.
#include "RwTest.h"

#include "CoreTestUtil.h"
#include "OutputProbe.h"
#include "StreamHeaders.h"
#include "app/core/Profiles.h"
#include "app/core/VideoManager.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cstring>
#include <memory>
#include <sstream>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

using coretest::WinPath;

namespace
{
const int kPollMs = 100;
const int kPollLimit = 6000; // ten minutes for one source's set on a loaded machine
const int kParallelTasks = 4;
const char kMp4Family[] = "mov,mp4,m4a,3gp,3g2,mj2";
const double kSourceSeconds = 2.0;
const double kAspectTolerance = 0.01;       // the picture keeps the source's shape
const double kEvenSideSlack = 1.25;         // pixels: a side rounded to an even size, and the edge's blur
const double kFrameAspectTolerance = 0.025; // the frame: bands come in steps of 4 pixels
const double kRateTolerance = 0.01;
const double kBitRateMargin = 1.2; // short clips: rate control settles within this
const int kBandMaxLuma = 24;       // black bands (the pad colour is Y 16)
const double kAudioOnlyTolerance = 0.05;
// Brighter than the bands and their coding noise next to a white edge: every bar of the generated
// pattern is brighter, or coloured.
const int kPictureMinLuma = 72;

// What the video header must say.
enum VideoProfile
{
    kAnyProfile,
    kH264Baseline,     // Baseline (constrained or not)
    kH264MainOrLess,   // Main, or Baseline that Main decoders play (constraint_set1)
    kMpeg4Simple,      // Simple Profile
    kMpeg4SimpleOrAsp, // Simple or Advanced Simple
};

// A frame size with its rate, for the formats that allow only a few.
struct DiscFrame
{
    int width, height;
    double fps;
};

// One row per shipped profile: the limits its device publishes.
struct DeviceLimits
{
    const char* profile;
    const char* container; // libavformat's demuxer name
    AVCodecID video;       // AV_CODEC_ID_NONE: no video stream
    VideoProfile videoProfile;
    int maxLevel;      // H.264 level_idc, 0 without a limit
    int maxReferences; // H.264 reference frames, 0 without a limit
    bool bFrames;      // B-frames allowed
    int maxWidth, maxHeight;
    double maxFps;       // 0 without a limit
    bool fixedRate;      // the profile sets the rate itself (otherwise a source within the limit keeps its rate)
    int maxVideoKbps;    // 0 without a limit
    bool discAspect;     // the frame shows at 4:3 whatever its pixels (otherwise square pixels)
    DiscFrame frames[2]; // the only frames allowed, or none
    AVCodecID audio;
    bool aacLc;
    int maxAudioKbps;
    int sampleRate; // exact, or 0
    int maxSampleRate;
    int maxChannels;
};

const AVCodecID kNone = AV_CODEC_ID_NONE;
// clang-format off
const DeviceLimits kDevices[] = {
    // General video: DivX Home Theater and the XviD players take MPEG-4 ASP up to 720x576 at 30 fps.
    {"DivX Movie", "avi", AV_CODEC_ID_MPEG4, kMpeg4SimpleOrAsp, 0, 0, true, 720, 576, 30, false, 4854, false, {},
     AV_CODEC_ID_MP3, false, 320, 0, 48000, 2},
    {"XviD Movie", "avi", AV_CODEC_ID_MPEG4, kMpeg4SimpleOrAsp, 0, 0, true, 720, 576, 30, false, 4854, false, {},
     AV_CODEC_ID_MP3, false, 320, 0, 48000, 2},
    {"MP4 H.264 Video", kMp4Family, AV_CODEC_ID_H264, kAnyProfile, 42, 0, true, 1920, 1080, 60, false, 4000, false, {},
     AV_CODEC_ID_AAC, true, 320, 0, 48000, 2},
    {"MP4 MPEG-4 Video", kMp4Family, AV_CODEC_ID_MPEG4, kMpeg4SimpleOrAsp, 0, 0, true, 1920, 1080, 60, false, 2000,
     false, {}, AV_CODEC_ID_AAC, true, 320, 0, 48000, 2},
    {"FLV Flash Video", "flv", AV_CODEC_ID_FLV1, kAnyProfile, 0, 0, false, 1920, 1080, 60, false, 1000, false, {},
     AV_CODEC_ID_MP3, false, 320, 44100, 44100, 2},
    {"WMV Windows Media Video", "asf", AV_CODEC_ID_WMV2, kAnyProfile, 0, 0, false, 1920, 1080, 60, false, 2000, false,
     {}, AV_CODEC_ID_WMAV2, false, 320, 0, 48000, 2},
    {"MOV QuickTime Video", kMp4Family, AV_CODEC_ID_MPEG4, kMpeg4SimpleOrAsp, 0, 0, true, 1920, 1080, 60, false, 2000,
     false, {}, AV_CODEC_ID_AAC, true, 320, 0, 48000, 2},
    // Video CD: MPEG-1 352x288 at 25 or 352x240 at 29.97, 1150 kbit/s, MP2 224 kbit/s at 44.1 kHz.
    {"VCD MPEG-1 Video", "mpeg", AV_CODEC_ID_MPEG1VIDEO, kAnyProfile, 0, 0, true, 352, 288, 30, true, 1150, true,
     {{352, 288, 25}, {352, 240, 30000.0 / 1001}}, AV_CODEC_ID_MP2, false, 224, 44100, 44100, 2},
    // DVD-Video: MPEG-2 720x576 at 25 or 720x480 at 29.97, up to 9.8 Mbit/s, 48 kHz.
    {"DVD MPEG-2 Video", "mpeg", AV_CODEC_ID_MPEG2VIDEO, kAnyProfile, 0, 0, true, 720, 576, 30, true, 9800, true,
     {{720, 576, 25}, {720, 480, 30000.0 / 1001}}, AV_CODEC_ID_AC3, false, 448, 48000, 48000, 6},
    // 3GPP phones: H.263 Profile 0 or MPEG-4 Simple Profile up to CIF at 15 fps, AAC-LC.
    {"3GP H.263 Phone Video", kMp4Family, AV_CODEC_ID_H263, kAnyProfile, 0, 0, false, 352, 288, 15, true, 384, false,
     {}, AV_CODEC_ID_AAC, true, 128, 0, 48000, 2},
    {"3GP MPEG-4 Phone Video", kMp4Family, AV_CODEC_ID_MPEG4, kMpeg4Simple, 0, 0, false, 352, 288, 15, true, 384,
     false, {}, AV_CODEC_ID_AAC, true, 128, 0, 48000, 2},
    {"3G2 MPEG-4 Phone Video", kMp4Family, AV_CODEC_ID_MPEG4, kMpeg4Simple, 0, 0, false, 352, 288, 15, true, 384,
     false, {}, AV_CODEC_ID_AAC, true, 128, 0, 48000, 2},
    // Smartphones: H.264 Baseline up to level 3.0, 640x480 at 30 fps.
    {"Smartphone H.264 Video", kMp4Family, AV_CODEC_ID_H264, kH264Baseline, 30, 0, false, 640, 480, 30, false, 1500,
     false, {}, AV_CODEC_ID_AAC, true, 160, 0, 48000, 2},
    // Portable MP4 players: MPEG-4 Simple Profile up to 640x480 at 30 fps.
    {"MP4 Player MPEG-4 Video", kMp4Family, AV_CODEC_ID_MPEG4, kMpeg4Simple, 0, 0, false, 640, 480, 30, false, 2500,
     false, {}, AV_CODEC_ID_AAC, true, 192, 0, 48000, 2},
    // iPod: MPEG-4 Simple Profile up to 2.5 Mbit/s, 640x480, 30 fps; H.264 Baseline up to level 1.3,
    // 768 kbit/s, 320x240, 30 fps; AAC-LC up to 160 kbit/s and 48 kHz.
    {"iPod MPEG-4 Video", kMp4Family, AV_CODEC_ID_MPEG4, kMpeg4Simple, 0, 0, false, 640, 480, 30, false, 2500, false,
     {}, AV_CODEC_ID_AAC, true, 160, 0, 48000, 2},
    {"iPod H.264 Video", kMp4Family, AV_CODEC_ID_H264, kH264Baseline, 13, 1, false, 320, 240, 30, false, 768, false,
     {}, AV_CODEC_ID_AAC, true, 160, 0, 48000, 2},
    // iPhone: H.264 Baseline up to level 3.0, 1.5 Mbit/s, 640x480, 30 fps.
    {"iPhone H.264 Video", kMp4Family, AV_CODEC_ID_H264, kH264Baseline, 30, 0, false, 640, 480, 30, false, 1500, false,
     {}, AV_CODEC_ID_AAC, true, 160, 0, 48000, 2},
    // PSP: MPEG-4 Simple Profile or H.264 Main up to level 3.0, 480x272 at 30 fps.
    {"PSP MPEG-4 Video", kMp4Family, AV_CODEC_ID_MPEG4, kMpeg4Simple, 0, 0, false, 480, 272, 30, false, 1500, false, {},
     AV_CODEC_ID_AAC, true, 160, 0, 48000, 2},
    {"PSP H.264 Video", kMp4Family, AV_CODEC_ID_H264, kH264MainOrLess, 30, 0, false, 480, 272, 30, false, 1500, false,
     {}, AV_CODEC_ID_AAC, true, 160, 0, 48000, 2},
    // Handheld consoles: MPEG-1 256x192 up to 24 fps in a DPG file, MP2 sound at 32 kHz.
    {"DPG Video", "dpg", AV_CODEC_ID_MPEG1VIDEO, kAnyProfile, 0, 0, true, 256, 192, 24, true, 512, false, {},
     AV_CODEC_ID_MP2, false, 160, 32000, 32000, 2},
    // RealPlayer: RealVideo 2.0 up to 720x576 at 30 fps; mobile RealPlayer: RealVideo 1.0 up to
    // 320x240 at 15 fps. Sound in AC-3 (RealAudio's "dnet") or RealAudio 1.0, up to 48 kHz stereo.
    {"RMVB Computer Video", "rm", AV_CODEC_ID_RV20, kAnyProfile, 0, 0, true, 720, 576, 30, true, 1500, false, {},
     AV_CODEC_ID_AC3, false, 128, 0, 48000, 2},
    {"RM Mobile Video", "rm", AV_CODEC_ID_RV10, kAnyProfile, 0, 0, true, 320, 240, 15, true, 384, false, {},
     AV_CODEC_ID_AC3, false, 128, 0, 48000, 2},
    {"RA RealAudio", "rm", kNone, kAnyProfile, 0, 0, false, 0, 0, 0, false, 0, false, {}, AV_CODEC_ID_AC3, false, 128, 0,
     48000, 2},
    // Audio players.
    {"MP3 Audio", "mp3", kNone, kAnyProfile, 0, 0, false, 0, 0, 0, false, 0, false, {}, AV_CODEC_ID_MP3, false, 320,
     44100, 48000, 2},
    {"AAC Audio", kMp4Family, kNone, kAnyProfile, 0, 0, false, 0, 0, 0, false, 0, false, {}, AV_CODEC_ID_AAC, true, 320,
     44100, 48000, 2},
    {"WAV Audio", "wav", kNone, kAnyProfile, 0, 0, false, 0, 0, 0, false, 0, false, {}, AV_CODEC_ID_PCM_S16LE, false, 0,
     44100, 48000, 2},
    {"OGG Vorbis Audio", "ogg", kNone, kAnyProfile, 0, 0, false, 0, 0, 0, false, 0, false, {}, AV_CODEC_ID_VORBIS,
     false, 320, 44100, 48000, 2},
    {"AC-3 Audio", "ac3", kNone, kAnyProfile, 0, 0, false, 0, 0, 0, false, 0, false, {}, AV_CODEC_ID_AC3, false, 640,
     48000, 48000, 6},
};
// clang-format on

// A source: its picture's shape and rate, and whether it is copied under a name in three scripts.
struct Source
{
    const char* media;
    int width, height;
    double fps;
    bool unicodeName;
};

// What a converted file holds, read back.
struct Facts
{
    std::string container;
    AVCodecID video = kNone, audio = kNone;
    int width = 0, height = 0;
    double sampleAspect = 1.0;
    std::string pixelFormat;
    streamheaders::H264Sps sps;
    int mpeg4ProfileLevel = -1;
    int frames = 0, bFrames = 0;
    double fps = 0.0, videoSeconds = 0.0, videoKbps = 0.0;
    double pictureWidth = 0.0, pictureHeight = 0.0; // the area that is not band, in pixels
    int bandLuma = 0;                               // the brightest band row or column, on average
    int sampleRate = 0, channels = 0, aacObjectType = 0;
    double audioSeconds = 0.0, audioKbps = 0.0;
};

using rwtest::detail::CodecFreer;
using rwtest::detail::FrameFreer;
using rwtest::detail::InputCloser;
using rwtest::detail::PacketFreer;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFreer>;

// Where the picture is in a 4:2:0 frame: a pixel belongs to it when it is brighter than the bands
// or coloured. Fractions of edge rows and columns count, so the size is finer than a pixel.
void MeasurePicture(const AVFrame* frame, Facts* facts)
{
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get((AVPixelFormat)frame->format);
    if (!desc || desc->nb_components < 3 || desc->log2_chroma_w != 1 || desc->log2_chroma_h != 1 ||
        desc->comp[0].depth != 8)
        return;
    const int w = frame->width, h = frame->height;
    std::vector<int> rows(h), columns(w);
    std::vector<long> rowLuma(h), columnLuma(w);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const int luma = frame->data[0][y * frame->linesize[0] + x];
            const int u = frame->data[1][(y / 2) * frame->linesize[1] + x / 2];
            const int v = frame->data[2][(y / 2) * frame->linesize[2] + x / 2];
            const bool picture = luma > kPictureMinLuma || std::abs(u - 128) + std::abs(v - 128) > 24;
            rows[y] += picture;
            columns[x] += picture;
            rowLuma[y] += luma;
            columnLuma[x] += luma;
        }
    const int fullRow = *std::max_element(rows.begin(), rows.end());
    const int fullColumn = *std::max_element(columns.begin(), columns.end());
    if (!fullRow || !fullColumn)
        return;
    facts->pictureHeight = facts->pictureWidth = 0;
    for (int y = 0; y < h; ++y)
    {
        facts->pictureHeight += (std::min)(1.0, (double)rows[y] / fullRow);
        if (rows[y] < fullRow / 50 + 1)
            facts->bandLuma = (std::max)(facts->bandLuma, (int)(rowLuma[y] / w));
    }
    for (int x = 0; x < w; ++x)
    {
        facts->pictureWidth += (std::min)(1.0, (double)columns[x] / fullColumn);
        if (columns[x] < fullColumn / 50 + 1)
            facts->bandLuma = (std::max)(facts->bandLuma, (int)(columnLuma[x] / h));
    }
}

// Reads every packet, decodes the video and measures the picture of the frame at one second.
bool ReadBack(const std::string& path, const char* forcedFormat, Facts* facts)
{
    AVFormatContext* raw = nullptr;
    const AVInputFormat* format = forcedFormat ? av_find_input_format(forcedFormat) : nullptr;
    if (avformat_open_input(&raw, path.c_str(), format, nullptr) < 0)
        return false;
    std::unique_ptr<AVFormatContext, InputCloser> file(raw);
    if (avformat_find_stream_info(file.get(), nullptr) < 0)
        return false;
    if (!forcedFormat)
        facts->container = file->iformat->name;
    const int videoIndex = av_find_best_stream(file.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int audioIndex = av_find_best_stream(file.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    CodecPtr decoder, audioDecoder;
    AVStream* video = videoIndex >= 0 ? file->streams[videoIndex] : nullptr;
    if (video)
    {
        const AVCodecParameters* par = video->codecpar;
        facts->video = par->codec_id;
        facts->width = par->width;
        facts->height = par->height;
        if (par->codec_id == AV_CODEC_ID_H264)
            facts->sps = streamheaders::FindSps(par->extradata, par->extradata_size);
        if (par->codec_id == AV_CODEC_ID_MPEG4)
            facts->mpeg4ProfileLevel = streamheaders::FindMpeg4ProfileLevel(par->extradata, par->extradata_size);
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        decoder.reset(avcodec_alloc_context3(codec));
        avcodec_parameters_to_context(decoder.get(), par);
        if (!codec || avcodec_open2(decoder.get(), codec, nullptr) < 0)
            return false;
    }
    if (audioIndex >= 0)
    {
        const AVCodecParameters* par = file->streams[audioIndex]->codecpar;
        facts->audio = par->codec_id;
        facts->sampleRate = par->sample_rate;
        facts->channels = par->ch_layout.nb_channels;
        if (par->codec_id == AV_CODEC_ID_AAC)
            facts->aacObjectType = streamheaders::AacObjectType(par->extradata, par->extradata_size);
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        audioDecoder.reset(avcodec_alloc_context3(codec));
        avcodec_parameters_to_context(audioDecoder.get(), par);
        if (!codec || avcodec_open2(audioDecoder.get(), codec, nullptr) < 0)
            return false;
    }
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    int64_t videoBytes = 0, audioBytes = 0, firstPts = AV_NOPTS_VALUE, lastPts = AV_NOPTS_VALUE;
    int64_t audioSamples = 0;
    bool measured = false;
    auto receive = [&]() {
        while (avcodec_receive_frame(decoder.get(), frame.get()) >= 0)
        {
            ++facts->frames;
            facts->bFrames += frame->pict_type == AV_PICTURE_TYPE_B;
            const char* pixelFormat = av_get_pix_fmt_name((AVPixelFormat)frame->format);
            facts->pixelFormat = pixelFormat ? pixelFormat : "";
            const int64_t pts = frame->best_effort_timestamp;
            if (pts != AV_NOPTS_VALUE)
            {
                if (firstPts == AV_NOPTS_VALUE)
                    firstPts = pts;
                lastPts = (std::max)(lastPts == AV_NOPTS_VALUE ? pts : lastPts, pts);
            }
            if (!measured && pts != AV_NOPTS_VALUE && (pts - firstPts) * av_q2d(video->time_base) >= 1.0)
            {
                measured = true;
                facts->sampleAspect = av_q2d(av_guess_sample_aspect_ratio(file.get(), video, frame.get()));
                if (!(facts->sampleAspect > 0))
                    facts->sampleAspect = 1.0;
                MeasurePicture(frame.get(), facts);
            }
            av_frame_unref(frame.get());
        }
    };
    // The samples the decoder gives out: what a player plays, without the encoder's priming.
    auto receiveAudio = [&]() {
        while (avcodec_receive_frame(audioDecoder.get(), frame.get()) >= 0)
        {
            audioSamples += frame->nb_samples;
            av_frame_unref(frame.get());
        }
    };
    while (av_read_frame(file.get(), packet.get()) >= 0)
    {
        if (video && packet->stream_index == videoIndex)
        {
            if (!facts->sps.found && facts->video == AV_CODEC_ID_H264)
                facts->sps = streamheaders::FindSps(packet->data, packet->size);
            if (facts->mpeg4ProfileLevel < 0 && facts->video == AV_CODEC_ID_MPEG4)
                facts->mpeg4ProfileLevel = streamheaders::FindMpeg4ProfileLevel(packet->data, packet->size);
            videoBytes += packet->size;
            if (avcodec_send_packet(decoder.get(), packet.get()) >= 0)
                receive();
        }
        else if (packet->stream_index == audioIndex)
        {
            audioBytes += packet->size;
            if (avcodec_send_packet(audioDecoder.get(), packet.get()) >= 0)
                receiveAudio();
        }
        av_packet_unref(packet.get());
    }
    if (video)
    {
        avcodec_send_packet(decoder.get(), nullptr);
        receive();
        // The rate the file declares where it has one; the length runs from the first picture to
        // the end of the last, skipped frames included.
        const double span = (lastPts - firstPts) * av_q2d(video->time_base);
        const AVRational declared = video->avg_frame_rate.num ? video->avg_frame_rate : video->r_frame_rate;
        facts->fps = declared.num && declared.den    ? av_q2d(declared)
                     : facts->frames > 1 && span > 0 ? (facts->frames - 1) / span
                                                     : 0.0;
        facts->videoSeconds = facts->fps > 0 ? span + 1 / facts->fps : 0.0;
        facts->videoKbps = facts->videoSeconds > 0 ? videoBytes * 8 / facts->videoSeconds / 1000 : 0.0;
    }
    if (audioDecoder && facts->sampleRate > 0)
    {
        avcodec_send_packet(audioDecoder.get(), nullptr);
        receiveAudio();
        facts->audioSeconds = (double)audioSamples / facts->sampleRate;
        facts->audioKbps = facts->audioSeconds > 0 ? audioBytes * 8 / facts->audioSeconds / 1000 : 0.0;
    }
    return true;
}

uint32_t Le32(const std::string& b, size_t at)
{
    return (uint8_t)b[at] | (uint8_t)b[at + 1] << 8 | (uint8_t)b[at + 2] << 16 | (uint32_t)(uint8_t)b[at + 3] << 24;
}

// A DPG file: its header, then the MPEG-1 video and the MP2 sound read back as plain streams.
bool ReadBackDpg(const std::string& path, const std::string& scratch, Facts* facts)
{
    const std::string dpg = coretest::ReadFile(path);
    if (dpg.size() < 36 || dpg.compare(0, 3, "DPG") != 0)
        return false;
    const uint32_t audioStart = Le32(dpg, 20), audioLength = Le32(dpg, 24);
    const uint32_t videoStart = Le32(dpg, 28), videoLength = Le32(dpg, 32);
    if (audioStart + (size_t)audioLength > dpg.size() || videoStart + (size_t)videoLength > dpg.size())
        return false;
    coretest::WriteFile(scratch + ".m1v", dpg.substr(videoStart, videoLength));
    coretest::WriteFile(scratch + ".mp2", dpg.substr(audioStart, audioLength));
    Facts audio;
    if (!ReadBack(scratch + ".m1v", "mpegvideo", facts) || !ReadBack(scratch + ".mp2", "mp3", &audio))
        return false;
    facts->container = "dpg";
    // The raw video stream has no timing of its own: the header's rate times the frames is its length.
    facts->fps = Le32(dpg, 8) / 256.0;
    facts->videoSeconds = facts->fps > 0 ? facts->frames / facts->fps : 0.0;
    facts->videoKbps = facts->videoSeconds > 0 ? videoLength * 8.0 / facts->videoSeconds / 1000 : 0.0;
    facts->audio = audio.audio;
    facts->sampleRate = audio.sampleRate;
    facts->channels = audio.channels;
    facts->audioSeconds = facts->videoSeconds;
    facts->audioKbps = facts->audioSeconds > 0 ? audioLength * 8.0 / facts->audioSeconds / 1000 : 0.0;
    return true;
}

bool Near(double value, double expected, double tolerance)
{
    return std::fabs(value / expected - 1.0) <= tolerance;
}

// Every way the output breaks its device's limits, one line each.
std::string Violations(const DeviceLimits& d, const Source& s, const Facts& f)
{
    std::ostringstream out;
    auto fail = [&out](const std::string& what) { out << "\n    " << what; };
    if (f.container != d.container)
        fail("container " + f.container);
    if (d.video != kNone && f.video != d.video)
        fail(std::string("video codec ") + avcodec_get_name(f.video));
    // RealPlayers play RealAudio 1.0 too: the producer writes it for 8 kHz mono sound.
    if (d.audio != kNone && f.audio != d.audio && !(!strcmp(d.container, "rm") && f.audio == AV_CODEC_ID_RA_144))
        fail(std::string("audio codec ") + avcodec_get_name(f.audio));
    if (f.video != kNone && d.maxWidth)
    {
        if (f.pixelFormat != "yuv420p")
            fail("pixel format " + f.pixelFormat);
        if (f.width > d.maxWidth || f.height > d.maxHeight)
            fail("frame " + std::to_string(f.width) + "x" + std::to_string(f.height));
        if (d.maxFps && f.fps > d.maxFps * (1 + kRateTolerance))
            fail("frame rate " + std::to_string(f.fps));
        if (!d.fixedRate && (!d.maxFps || s.fps <= d.maxFps * (1 + kRateTolerance)) &&
            !Near(f.fps, s.fps, kRateTolerance))
            fail("frame rate " + std::to_string(f.fps) + " where the source has " + std::to_string(s.fps));
        if (!d.fixedRate && d.maxFps && s.fps > d.maxFps && f.fps < d.maxFps / 2)
            fail("frame rate " + std::to_string(f.fps) + " is not the device's highest that divides the source's");
        if (d.frames[0].width)
        {
            bool allowed = false;
            for (const DiscFrame& frame : d.frames)
                allowed |= frame.width == f.width && frame.height == f.height && Near(f.fps, frame.fps, kRateTolerance);
            if (!allowed)
                fail("frame " + std::to_string(f.width) + "x" + std::to_string(f.height) + " at " +
                     std::to_string(f.fps) + " fps is not one the format allows");
        }
        if (d.maxVideoKbps && f.videoKbps > d.maxVideoKbps * kBitRateMargin)
            fail("video bit rate " + std::to_string((int)f.videoKbps) + " kbit/s");
        if (!d.bFrames && f.bFrames)
            fail(std::to_string(f.bFrames) + " B-frames");
        const double frameAspect = f.sampleAspect * f.width / f.height;
        const double wantedFrameAspect = d.discAspect ? 4.0 / 3.0 : (double)f.width / f.height;
        if (!Near(frameAspect, wantedFrameAspect, kFrameAspectTolerance))
            fail("the frame shows at " + std::to_string(frameAspect));
        const double pictureAspect = f.pictureHeight > 0 ? f.sampleAspect * f.pictureWidth / f.pictureHeight : 0;
        // Where the frame is too small for 1%, the picture may be off by the rounding to even sides.
        const double pictureSide = (std::min)(f.pictureWidth, f.pictureHeight);
        const double aspectTolerance = (std::max)(kAspectTolerance, kEvenSideSlack / pictureSide);
        if (!Near(pictureAspect, (double)s.width / s.height, aspectTolerance))
            fail("the picture shows at " + std::to_string(pictureAspect) + " (" + std::to_string(f.pictureWidth) + "x" +
                 std::to_string(f.pictureHeight) + " pixels, sample aspect " + std::to_string(f.sampleAspect) + ")");
        if (f.bandLuma > kBandMaxLuma)
            fail("bands of luma " + std::to_string(f.bandLuma));
        // A changed rate costs up to two frames more: the frame-rate sync lets the picture drift by
        // a frame and more before it drops or repeats one, and the last source frame ends early.
        const bool sameRate = Near(f.fps, s.fps, kRateTolerance);
        const double frameSeconds = (sameRate ? 1.0 / f.fps : 2.0 / f.fps + 1.0 / s.fps) + 0.001;
        if (std::fabs(f.videoSeconds - kSourceSeconds) > frameSeconds)
            fail("video lasts " + std::to_string(f.videoSeconds) + " s");
    }
    if (f.video == AV_CODEC_ID_H264)
    {
        const streamheaders::H264Sps& sps = f.sps;
        if (!sps.found)
            fail("no sequence parameter set");
        if (sps.chromaFormat != 1 || sps.bitDepth != 8)
            fail("H.264 chroma format " + std::to_string(sps.chromaFormat) + ", " + std::to_string(sps.bitDepth) +
                 " bits");
        if (d.videoProfile == kH264Baseline && sps.profile != FF_PROFILE_H264_BASELINE)
            fail("H.264 profile " + std::to_string(sps.profile));
        if (d.videoProfile == kH264MainOrLess && sps.profile != FF_PROFILE_H264_MAIN &&
            !(sps.profile == FF_PROFILE_H264_BASELINE && sps.constrainedSet1))
            fail("H.264 profile " + std::to_string(sps.profile) + " that Main decoders do not play");
        if (d.maxLevel && sps.level > d.maxLevel)
            fail("H.264 level " + std::to_string(sps.level));
        if (d.maxReferences && sps.referenceFrames > d.maxReferences)
            fail(std::to_string(sps.referenceFrames) + " reference frames");
    }
    if (f.video == AV_CODEC_ID_MPEG4)
    {
        const int pl = f.mpeg4ProfileLevel;
        if (d.videoProfile == kMpeg4Simple && !streamheaders::IsMpeg4Simple(pl))
            fail("MPEG-4 profile and level " + std::to_string(pl));
        if (d.videoProfile == kMpeg4SimpleOrAsp && !streamheaders::IsMpeg4Simple(pl) &&
            !streamheaders::IsMpeg4AdvancedSimple(pl) && pl >= 0)
            fail("MPEG-4 profile and level " + std::to_string(pl));
    }
    if (d.audio != kNone)
    {
        if (d.aacLc && f.aacObjectType != 2)
            fail("AAC object type " + std::to_string(f.aacObjectType));
        if (d.sampleRate && f.sampleRate != d.sampleRate)
            fail("sample rate " + std::to_string(f.sampleRate));
        if (f.sampleRate > d.maxSampleRate)
            fail("sample rate " + std::to_string(f.sampleRate));
        if (f.channels < 1 || f.channels > d.maxChannels)
            fail(std::to_string(f.channels) + " channels");
        if (d.maxAudioKbps && f.audioKbps > d.maxAudioKbps * kBitRateMargin)
            fail("audio bit rate " + std::to_string((int)f.audioKbps) + " kbit/s");
        if (f.video == kNone && std::fabs(f.audioSeconds - kSourceSeconds) > kAudioOnlyTolerance)
            fail("sound lasts " + std::to_string(f.audioSeconds) + " s");
    }
    return out.str();
}

// Folder and file names in Cyrillic, Greek and Japanese, with dots and spaces in the folder's.
const char kUnicodeFolder[] = "Видео. Ταινίες 2.0 映像";
const std::string kUnicodeFile = "Клип ελληνικά 動画.mp4";

class DeviceConformance : public ::testing::TestWithParam<Source>
{
};

TEST_P(DeviceConformance, EveryProfileMakesWhatItsDevicePlays)
{
    const Source& source = GetParam();
    std::string name = source.media;
    name = name.substr(0, name.find('.'));
    const std::string scratch =
        rwtest::ScratchDir("DeviceConformance_" + name + (source.unicodeName ? "_unicode" : ""));
    std::string sourcePath = rwtest::Media(source.media), outputDir = scratch;
    if (source.unicodeName)
    {
        outputDir = scratch + "/" + kUnicodeFolder;
        ASSERT_EQ(0, ::mkdir(outputDir.c_str(), 0755));
        sourcePath = outputDir + "/" + kUnicodeFile;
        coretest::WriteFile(sourcePath, coretest::ReadFile(rwtest::Media(source.media)));
    }
    coretest::SdkFolderLink sdk;
    CategoryArray categories;
    EXPECT_EQ((int)(sizeof kDevices / sizeof kDevices[0]), coretest::LoadShippedProfiles(categories))
        << "every shipped profile has a row";

    g_maxTasks = kParallelTasks;
    std::vector<int> ids;
    std::vector<const DeviceLimits*> devices;
    const CString display = coretest::Utf8(sourcePath.substr(sourcePath.rfind('/') + 1));
    for (const DeviceLimits& d : kDevices)
    {
        ConvertSetting profile;
        ASSERT_TRUE(FindProfileByName(categories, coretest::Utf8(d.profile), profile)) << d.profile;
        const int id = CVideoManager::AddTask(display, WinPath(sourcePath), profile);
        ASSERT_GT(id, 0) << d.profile << ": " << CVideoManager::LastAddError();
        ids.push_back(id);
        devices.push_back(&d);
    }
    ASSERT_EQ(0, CVideoManager::StartTasks(WinPath(outputDir), ids));
    for (int i = 0; i < kPollLimit && CVideoManager::CountRunning() > 0; ++i)
    {
        ::Sleep(kPollMs);
        CVideoManager::PollProgress();
    }

    for (size_t i = 0; i < ids.size(); ++i)
    {
        const DeviceLimits& d = *devices[i];
        ConvertTask* task = nullptr;
        ASSERT_TRUE(CVideoManager::FindTask(ids[i], &task));
        EXPECT_EQ(kTaskDone, task->m_state) << d.profile << ": " << task->m_job.argumentText << "\n" << task->m_log;
        if (task->m_state != kTaskDone)
            continue;
        const std::string output = coretest::UnixOf(task->m_job.outputPath);
        Facts facts;
        const bool read = std::string(d.container) == "dpg" ? ReadBackDpg(output, scratch + "/" + name + "-dpg", &facts)
                                                            : ReadBack(output, nullptr, &facts);
        EXPECT_TRUE(read) << d.profile << ": " << output;
        if (!read)
            continue;
        const std::string violations = Violations(d, source, facts);
        EXPECT_EQ("", violations) << d.profile << " from " << source.media << " (" << task->m_job.argumentText << ")";
    }
    CVideoManager::RemoveAll();
}

// Files of a folder by their Unix names, sorted.
std::vector<std::string> FolderFiles(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    while (dir)
    {
        const dirent* entry = ::readdir(dir);
        if (!entry)
            break;
        if (strcmp(entry->d_name, ".") && strcmp(entry->d_name, ".."))
            names.push_back(entry->d_name);
    }
    if (dir)
        ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// Outputs named after a source the system code page cannot spell are written under their long
// names: the job is chosen by the long name's extension (".rmvb", not the short name's ".RMV"),
// split outputs are numbered after the long name, never over an earlier run's segments, and a
// removed split task takes every segment it wrote along.
TEST(DeviceConformanceNames, UnicodeOutputsKeepTheirLongNames)
{
    const std::string scratch = rwtest::ScratchDir("DeviceConformance_names");
    const std::string folder = scratch + "/" + kUnicodeFolder;
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
    const std::string stem = folder + "/" + kUnicodeFile.substr(0, kUnicodeFile.rfind('.'));
    const std::string sourcePath = folder + "/" + kUnicodeFile;
    coretest::WriteFile(sourcePath, coretest::ReadFile(rwtest::Media("conf_4x3_25.mp4")));
    coretest::SdkFolderLink sdk;
    CategoryArray categories;
    coretest::LoadShippedProfiles(categories);
    g_maxTasks = kParallelTasks;
    g_deleteUncompleted = true;
    const struct
    {
        const char* profile;
        const char* seconds; // a time limit splits the output
        std::vector<std::string> outputs;
        AVCodecID video;
    } cases[] = {
        {"RMVB Computer Video", "", {".rmvb"}, AV_CODEC_ID_RV20},
        {"RM Mobile Video", "1", {".rm", " - 02.rm"}, AV_CODEC_ID_RV10},
        {"DPG Video", "", {".dpg"}, AV_CODEC_ID_MPEG1VIDEO},
        {"DivX Movie", "1", {" - 01.avi", " - 02.avi"}, AV_CODEC_ID_MPEG4},
    };
    const CString display = coretest::Utf8(kUnicodeFile);
    auto add = [&](const char* name, const char* seconds, const std::string& path) {
        ConvertSetting profile;
        EXPECT_TRUE(FindProfileByName(categories, coretest::Utf8(name), profile)) << name;
        if (*seconds)
            EXPECT_TRUE(profile.SetParamValue(L"t", coretest::Utf8(seconds)));
        return CVideoManager::AddTask(display, WinPath(path), profile);
    };
    auto runAll = [](const std::vector<int>& ids, const std::string& folder) {
        EXPECT_EQ(0, CVideoManager::StartTasks(WinPath(folder), ids));
        for (int i = 0; i < kPollLimit && CVideoManager::CountRunning() > 0; ++i)
        {
            ::Sleep(kPollMs);
            CVideoManager::PollProgress();
        }
    };
    std::vector<int> ids;
    for (const auto& c : cases)
        ids.push_back(add(c.profile, c.seconds, sourcePath));
    runAll(ids, folder);
    std::vector<std::string> expected = {kUnicodeFile};
    for (size_t i = 0; i < ids.size(); ++i)
    {
        ConvertTask* task = nullptr;
        ASSERT_TRUE(CVideoManager::FindTask(ids[i], &task));
        EXPECT_EQ(kTaskDone, task->m_state) << cases[i].profile << ": " << task->m_log;
        for (const std::string& output : cases[i].outputs)
        {
            Facts facts;
            const bool dpg = !strcmp(cases[i].profile, "DPG Video");
            EXPECT_TRUE(dpg ? ReadBackDpg(stem + output, scratch + "/dpg", &facts)
                            : ReadBack(stem + output, nullptr, &facts))
                << stem + output;
            EXPECT_EQ(cases[i].video, facts.video) << stem + output;
            EXPECT_GT(facts.frames, 0) << stem + output;
            expected.push_back(stem.substr(folder.size() + 1) + output);
        }
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, FolderFiles(folder)) << "only the long names, and no empty reserved file";

    // Run again: the split task takes a fresh name instead of writing over the first run's segments.
    const std::string firstSegment = coretest::ReadFile(stem + " - 01.avi");
    ids.back() = add("DivX Movie", "1", sourcePath);
    runAll({ids.back()}, folder);
    EXPECT_EQ(firstSegment, coretest::ReadFile(stem + " - 01.avi"));
    Facts again;
    EXPECT_TRUE(ReadBack(stem + " (1) - 01.avi", nullptr, &again));
    EXPECT_EQ(AV_CODEC_ID_MPEG4, again.video);

    // A split task removed while it runs deletes its segments by their long names.
    ConvertSetting divx;
    ASSERT_TRUE(FindProfileByName(categories, L"DivX Movie", divx));
    ASSERT_TRUE(divx.SetParamValue(L"t", L"1"));
    ASSERT_TRUE(divx.SetParamValue(L"s", L"1280x720"));
    const std::string longSource = folder + "/" + kUnicodeFile.substr(0, kUnicodeFile.rfind('.')) + " long.mp4";
    coretest::WriteFile(longSource, coretest::ReadFile(rwtest::Media("long25s.mp4")));
    const int running =
        CVideoManager::AddTask(coretest::Utf8(longSource.substr(folder.size() + 1)), WinPath(longSource), divx);
    ASSERT_EQ(0, CVideoManager::StartTasks(WinPath(folder), {running}));
    const std::string longStem = longSource.substr(0, longSource.rfind('.'));
    struct stat info;
    for (int i = 0; i < kPollLimit && ::stat((longStem + " - 02.avi").c_str(), &info) != 0; ++i)
        ::Sleep(kPollMs);
    ASSERT_EQ(0, ::stat((longStem + " - 02.avi").c_str(), &info));
    EXPECT_EQ(1, CVideoManager::RemoveTask(running));
    for (const char* name : {".avi", " - 01.avi", " - 02.avi", " - 03.avi"})
        EXPECT_NE(0, ::stat((longStem + name).c_str(), &info)) << name;
    CVideoManager::RemoveAll();
}

const Source kSources[] = {
    {"conf_4x3_25.mp4", 320, 240, 25, false},    {"conf_hd60.mp4", 1280, 720, 60, false},
    {"conf_444p10.mp4", 1280, 720, 30, false},   {"conf_426x240_24.mp4", 426, 240, 24, false},
    {"conf_portrait.mp4", 720, 1280, 30, false}, {"conf_ac3_51.mkv", 320, 240, 25, false},
    {"conf_mono8k.mkv", 320, 240, 25, false},    {"conf_mjpeg15.avi", 320, 240, 15, false},
    {"conf_4x3_25.mp4", 320, 240, 25, true},
};

std::string SourceName(const ::testing::TestParamInfo<Source>& info)
{
    std::string name = info.param.media;
    name = name.substr(5, name.find('.') - 5) + (info.param.unicodeName ? "_unicode" : "");
    return name;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(Sources, DeviceConformance, ::testing::ValuesIn(kSources), SourceName);
