// mkmedia: writes the deterministic test media (clips in the families the converter meets, awkward
// and broken files) into one folder at build time. Usage: mkmedia OUTDIR [NAME...]
#include "ClipWriter.h"
#include "Synth.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

extern "C"
{
#include <libavutil/log.h>
#include <libavutil/macros.h>
}

namespace mkmedia
{
namespace
{
constexpr VideoSpec kNoVideo = {nullptr, 0, 0, 0, 0};
constexpr AudioSpec kNoAudio = {nullptr, 0, 0};
constexpr AudioSpec kStereo(const char* codec)
{
    return {codec, 44100, 2};
}
constexpr VideoSpec kStandard(const char* codec, uint32_t tag = 0)
{
    return {codec, 320, 240, 25, tag};
}

constexpr VideoSpec kSmall(const char* codec)
{
    return {codec, 160, 120, 25, 0};
}

const ClipSpec kClips[] = {
    {"clip_h264_aac.mp4", "mp4", kStandard("libx264"), kStereo("aac"), 1, false, 3.0},
    {"clip_mpeg4_mp3.avi", "avi", kStandard("mpeg4", MKTAG('D', 'I', 'V', 'X')), kStereo("libmp3lame"), 1, false, 3.0},
    {"clip_wmv2_wma.wmv", "asf", kStandard("wmv2"), kStereo("wmav2"), 1, false, 3.0},
    {"clip_flv.flv", "flv", kStandard("flv"), kStereo("libmp3lame"), 1, false, 3.0},
    {"clip_mpeg2.mpg", "vob", kStandard("mpeg2video"), kStereo("mp2"), 1, false, 3.0},
    {"clip_vorbis.mkv", "matroska", kStandard("mpeg4"), kStereo("libvorbis"), 1, false, 3.0},
    {"clip_mov.mov", "mov", kStandard("mpeg4"), kStereo("aac"), 1, false, 3.0},
    {"audio.mp3", "mp3", kNoVideo, kStereo("libmp3lame"), 1, false, 3.0},
    {"audio.wav", "wav", kNoVideo, kStereo("pcm_s16le"), 1, false, 3.0},
    {"audio.aac", "adts", kNoVideo, kStereo("aac"), 1, false, 3.0},
    {"wide302.mp4", "mp4", {"libx264", 302, 240, 25, 0}, kStereo("aac"), 1, false, 3.0},
    {"surround51.mkv", "matroska", kStandard("mpeg4"), {"ac3", 48000, 6}, 1, false, 3.0},
    {"mono8k.wav", "wav", kNoVideo, {"pcm_s16le", 8000, 1}, 1, false, 3.0},
    {"many_streams.mkv", "matroska", kStandard("mpeg4"), kStereo("mp2"), 21, false, 3.0},
    {"with_data.ts", "mpegts", kStandard("libx264"), kStereo("mp2"), 1, true, 3.0},
    {"no_duration.h264", "h264", kStandard("libx264"), kNoAudio, 0, false, 3.0},
    {"long25s.mp4", "mp4", {"libx264", 160, 120, 25, 0}, kStereo("aac"), 1, false, 25.0},
    {"hd720.mp4", "mp4", {"libx264", 1280, 720, 25, 0}, kStereo("aac"), 1, false, 1.0},
    // Small two-second clips with the channel counts, rates and stream orders sources come in.
    {"camera22k.avi", "avi", kSmall("mjpeg"), {"pcm_u8", 22050, 1}, 1, false, 2.0},
    {"video8k.mkv", "matroska", kSmall("mpeg4"), {"pcm_s16le", 8000, 1}, 1, false, 2.0},
    {"three48k.mkv", "matroska", kSmall("mpeg4"), {"pcm_s16le", 48000, 3}, 1, false, 2.0},
    {"six48k.mkv", "matroska", kSmall("mpeg4"), {"ac3", 48000, 6}, 1, false, 2.0},
    {"eight48k.mkv", "matroska", kSmall("mpeg4"), {"pcm_s16le", 48000, 8}, 1, false, 2.0},
    {"delayed_audio.mkv", "matroska", kSmall("mpeg4"), kStereo("aac"), 1, false, 2.0, 1.0},
    {"subtitle_first.mkv", "matroska", kSmall("mpeg4"), kStereo("mp2"), 1, false, 2.0, 0.0, true},
    // The device conformance sources: two seconds each, no black at the picture's edges.
    {"conf_4x3_25.mp4", "mp4", {"libx264", 320, 240, 25, 0}, kStereo("aac"), 1, false, 2.0, 0.0, false, true},
    {"conf_hd60.mp4", "mp4", {"libx264", 1280, 720, 60, 0}, {"aac", 48000, 2}, 1, false, 2.0, 0.0, false, true},
    {"conf_444p10.mp4", "mp4", {"libx264", 1280, 720, 30, 0, "yuv444p10le"}, {"aac", 48000, 2}, 1, false, 2.0, 0.0, false, true},
    {"conf_426x240_24.mp4", "mp4", {"libx264", 426, 240, 24, 0}, kStereo("aac"), 1, false, 2.0, 0.0, false, true},
    {"conf_portrait.mp4", "mp4", {"libx264", 720, 1280, 30, 0}, kStereo("aac"), 1, false, 2.0, 0.0, false, true},
    {"conf_ac3_51.mkv", "matroska", kStandard("mpeg4"), {"ac3", 48000, 6}, 1, false, 2.0, 0.0, false, true},
    {"conf_mono8k.mkv", "matroska", kStandard("mpeg4"), {"pcm_s16le", 8000, 1}, 1, false, 2.0, 0.0, false, true},
    {"conf_mjpeg15.avi", "avi", {"mjpeg", 320, 240, 15, 0, "yuvj420p"}, kStereo("pcm_s16le"), 1, false, 2.0, 0.0, false, true},
    // One-second seeds of the mutation test, which damages them in hundreds of ways.
    {"seed_h264_aac.mp4", "mp4", kSmall("libx264"), kStereo("aac"), 1, false, 1.0},
    {"seed_mpeg2_mp2.ts", "mpegts", kSmall("mpeg2video"), kStereo("mp2"), 1, false, 1.0},
    {"seed_mpeg4_mp3.avi", "avi", kSmall("mpeg4"), kStereo("libmp3lame"), 1, false, 1.0},
    {"seed_mpeg4_vorbis.mkv", "matroska", kSmall("mpeg4"), kStereo("libvorbis"), 1, false, 1.0},
};

// Files joined from parts written one after the other: a transport stream whose program gains a
// second sound stream part-way and loses it again, after the time a reader probes the streams in
// and before the stretch at the end that it reads for the duration.
struct JoinedSpec
{
    const char* name;
    ClipSpec parts[3];
};
const JoinedSpec kJoined[] = {
    {"late_stream.ts",
     {{"late_stream.part1", "mpegts", kSmall("mpeg2video"), {"mp2", 44100, 2}, 1, false, 6.0},
      {"late_stream.part2", "mpegts", kSmall("mpeg2video"), {"mp2", 44100, 2}, 2, false, 2.0, 0.0, false, false, 6.0},
      {"late_stream.part3", "mpegts", kSmall("mpeg2video"), {"mp2", 44100, 2}, 1, false, 6.0, 0.0, false, false,
       8.0}}},
};

// Broken files made from a generated clip (cut to a share of its bytes) or from nothing.
struct BrokenSpec
{
    const char* name;
    const char* source; // clip to cut, or nullptr for pseudo-random bytes
    int percent;        // share of the source's bytes kept
    long garbageBytes;
};
const BrokenSpec kBroken[] = {
    {"truncated.mp4", "clip_h264_aac.mp4", 50, 0},
    {"truncated.avi", "clip_mpeg4_mp3.avi", 60, 0},
    {"garbage.avi", nullptr, 0, 4096},
    {"empty.mp4", nullptr, 0, 0},
};
constexpr uint32_t kGarbageSeed = 0x52574d31;

struct FileCloser
{
    void operator()(FILE* f) const
    {
        fclose(f);
    }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

bool ReadAll(const std::string& path, std::vector<uint8_t>& bytes)
{
    FilePtr f(fopen(path.c_str(), "rb"));
    if (!f)
        return false;
    uint8_t buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f.get())) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    return !ferror(f.get());
}

bool WriteAll(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FilePtr f(fopen(path.c_str(), "wb"));
    if (!f)
        return false;
    if (!bytes.empty() && fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        return false;
    return fclose(f.release()) == 0;
}

bool WriteBroken(const BrokenSpec& spec, const std::string& dir, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (spec.source)
    {
        if (!ReadAll(dir + "/" + spec.source, bytes))
        {
            error = std::string("cannot read ") + spec.source;
            return false;
        }
        bytes.resize(bytes.size() * spec.percent / 100);
    }
    else
    {
        Lcg lcg(kGarbageSeed);
        for (long i = 0; i < spec.garbageBytes; ++i)
            bytes.push_back(lcg.NextByte());
    }
    if (!WriteAll(dir + "/" + spec.name, bytes))
    {
        error = "cannot write the file";
        return false;
    }
    return true;
}

bool WriteJoined(const JoinedSpec& spec, const std::string& dir, std::string& error)
{
    std::vector<uint8_t> bytes;
    for (const ClipSpec& part : spec.parts)
    {
        std::string path = dir + "/" + part.name;
        bool written = WriteClip(part, path, error) && ReadAll(path, bytes);
        remove(path.c_str());
        if (!written)
        {
            error = std::string(part.name) + ": " + (error.empty() ? "cannot read the part" : error);
            return false;
        }
    }
    if (!WriteAll(dir + "/" + spec.name, bytes))
    {
        error = "cannot write the file";
        return false;
    }
    return true;
}

bool Wanted(const char* name, const std::vector<std::string>& only)
{
    if (only.empty())
        return true;
    for (const std::string& n : only)
        if (n == name)
            return true;
    return false;
}

int Report(const char* name, bool ok, const std::string& error, const std::string& path)
{
    if (ok)
        return 0;
    fprintf(stderr, "mkmedia: %s: %s\n", name, error.c_str());
    remove(path.c_str());
    return 1;
}
} // namespace
} // namespace mkmedia

int main(int argc, char** argv)
{
    using namespace mkmedia;
    if (argc < 2)
    {
        fprintf(stderr, "usage: mkmedia OUTDIR [NAME...]\n");
        return 2;
    }
    av_log_set_level(AV_LOG_ERROR);
    std::string dir = argv[1];
    std::vector<std::string> only(argv + 2, argv + argc);
    int failures = 0;
    for (const ClipSpec& clip : kClips)
    {
        if (!Wanted(clip.name, only))
            continue;
        std::string path = dir + "/" + clip.name, error;
        failures += Report(clip.name, WriteClip(clip, path, error), error, path);
    }
    for (const JoinedSpec& joined : kJoined)
    {
        if (!Wanted(joined.name, only))
            continue;
        std::string path = dir + "/" + joined.name, error;
        failures += Report(joined.name, WriteJoined(joined, dir, error), error, path);
    }
    for (const BrokenSpec& broken : kBroken)
    {
        if (!Wanted(broken.name, only))
            continue;
        std::string path = dir + "/" + broken.name, error;
        failures += Report(broken.name, WriteBroken(broken, dir, error), error, path);
    }
    return failures ? 1 : 0;
}
