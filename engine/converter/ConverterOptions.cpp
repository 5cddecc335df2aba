#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "engine/converter/ConverterOptions.h"

#include "engine/Engine.h"
#include "engine/converter/CommandLine.h"
#include "engine/realmedia/RealMediaSettings.h"
#include "engine/converter/TranscodeContext.h"
#include "engine/UnixPath.h"

#include <windows.h>

#include <ctype.h>
#include <limits.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <algorithm>
#include <memory>

extern "C"
{
#include <libavcodec/bsf.h>
#include <libavutil/avstring.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
#include <libavutil/samplefmt.h>
}

namespace
{
const int kDefaultAudioSampleRate = 22050;
const int kDefaultAudioChannels = 2;
const int kNoFrameLimit = INT_MAX;
const int kDefaultFrameRate = 25;
const int kQualityScale = 118; // FF_QP2LAMBDA
const int kMaxOptionTextLength = 256;
const int kDebugLogLevel = 48;
// The largest picture side any of our encoders takes; bands and frame sizes stay within it.
const int kMaxFrameDimension = 16384;
// What a size limit ("-fs") leaves for the container's own bytes: segments are cut this much short.
const int64_t kFileSizeReserve = 307200;
// Codec threads of one job: more only cost memory and starve the other jobs.
const int kMaxCodecThreads = 16;
// Bit rates in kbit/s: at most what a 32-bit bits-per-second value holds.
const double kMaxKilobitRate = INT_MAX / 1000.0;
// MPEG-1 encodes the rates after its first eight only at unofficial compliance.
const int kStandardMpeg1RateCount = 8;

// Flag masks of the catch-all options per media type (video, audio, data, subtitle, attachment).
const int kCatchAllMasks[kCodecOptionContextCount] = {AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, 0,
                                                      AV_OPT_FLAG_SUBTITLE_PARAM, 0};

struct OptionState
{
    AVFormatContext* inputFiles[kMaxConverterFiles];
    int inputFileCount;
    int64_t inputTimestampOffsets[kMaxConverterFiles];
    double inputTimestampScales[kMaxConverterFiles][kMaxStreamsPerFile];
    double pendingTimestampScales[kMaxStreamsPerFile];
    const AVCodec* inputDecoders[kMaxConverterStreams];
    AVDictionary* inputDecoderOptions[kMaxConverterStreams];
    int inputDecoderCount;
    AVFormatContext* outputFiles[kMaxConverterFiles];
    int outputFileCount;
    OutputStreamSetup outputStreams[kMaxConverterFiles][kMaxStreamsPerFile];
    const AVCodec* outputEncoders[kMaxConverterStreams];
    int outputEncoderCount;
    StreamMap streamMaps[kMaxConverterStreams];
    int streamMapCount;
    MetaDataMap metaDataMaps[kMaxMetaDataMaps];
    int metaDataMapCount;

    AVCodecContext* codecOptions[kCodecOptionContextCount];
    AVFormatContext* formatOptions;
    SwsContext* scalerOptions;
    AVDictionary* privateOptions[kCodecOptionContextCount];
    char** optionNames;
    int* optionNameKinds; // bit (1 << media type) per kind whose option context the name was set on
    int optionNameCount;

    // Simple variables.
    int fileOverwrite, benchmark, doDump, doHex, rateEmulation, loopInput, copyTimestamps, shortest, exitOnError,
        copyInitialNonKeyFrames, intraOnly, sameQuality, deinterlace, doPsnr, qpHistogram, forceFps, audioDisable,
        subtitleDisable, inputSync;
    int maxFrames[4]; // video, audio, data, subtitle
    int loopOutput, videoSyncMethod, audioSyncMethod, videoGlobalHeader, programId, videoDiscard, intraDcPrecision;
    int64_t fileSizeLimit;
    float audioDriftThreshold, dtsDeltaThreshold, audioQscale, muxMaxDelay, muxPreload;
    char* passLogPrefix;
    char* audioLanguage;
    char* subtitleLanguage;

    // Values set by handlers.
    int64_t recordingTime, startTime, inputTimestampOffset, recordingTimestamp;
    AVDictionary* pendingMetadata;
    int verbosity, threadCount;
    AVRational frameRate;
    int frameWidth, frameHeight;
    float frameAspectRatio;
    int frameAspectGiven; // "aspect" names the whole frame's display aspect
    int framePixelFormat;
    int cropTop, cropBottom, cropLeft, cropRight;
    int padTop, padBottom, padLeft, padRight;
    int padColor[3];
    int videoDisable;
    float videoQscale;
    char* rcOverride;
    char* videoCodecName;
    char* audioCodecName;
    char* subtitleCodecName;
    int videoStreamCopy, audioStreamCopy, subtitleStreamCopy;
    int meThreshold, pass, topFieldFirst;
    char* statsFileName;
    uint16_t* intraMatrix;
    uint16_t* interMatrix;
    unsigned videoTag, audioTag, subtitleTag;
    int audioSampleRate, audioChannels, audioSampleFormat;
    uint64_t audioChannelMask;
    int audioVolume;
    int captureChannel;
    char* captureStandard;
    char* bitstreamFilters[3]; // video, audio, subtitle: comma-separated names for the next stream
    int realMediaPlatform;
    const AVInputFormat* forcedInputFormat;
    const AVOutputFormat* forcedOutputFormat;
    int usingPgmYuv;
};

OptionState g_state;
const char* g_programLabel = "";

char* CopyText(const char* text)
{
    char* copy = text ? strdup(text) : nullptr;
    if (text && !copy)
        throw std::bad_alloc();
    return copy;
}

void ReplaceText(char** target, const char* text)
{
    char* copy = CopyText(text);
    free(*target);
    *target = copy;
}

[[noreturn]] void Fail()
{
    ConverterFatalExit(1);
    throw ConverterParseFailure{1}; // not reached
}

[[noreturn]] void FailInvalidValue(const char* name, const char* arg)
{
    ConverterMessage("Invalid value '%s' for option '%s'\n", arg, name);
    Fail();
}

// A decimal number within [minimum, maximum] and nothing after it, or the parse fails with the
// option's "Invalid value" message.
double ParseBoundedOrFail(const char* name, const char* arg, double minimum, double maximum)
{
    char* tail = nullptr;
    double value = strtod(arg, &tail);
    if (tail == arg || *tail || !(value >= minimum && value <= maximum))
        FailInvalidValue(name, arg);
    return value;
}

// ---- handlers ----

void OptFormat(const char* arg)
{
    if (!strcmp(arg, "pgmyuv"))
    {
        ConverterMessage("pgmyuv format is deprecated, use image2\n");
        g_state.usingPgmYuv = 1;
        arg = "image2";
    }
    g_state.forcedInputFormat = av_find_input_format(arg);
    g_state.forcedOutputFormat = av_guess_format(arg, nullptr, nullptr);
    if (!g_state.forcedInputFormat && !g_state.forcedOutputFormat && EngineRegisterDevices())
    {
        g_state.forcedInputFormat = av_find_input_format(arg);
        g_state.forcedOutputFormat = av_guess_format(arg, nullptr, nullptr);
    }
    if (!g_state.forcedInputFormat && !g_state.forcedOutputFormat)
    {
        ConverterMessage("Unknown input or output format: %s\n", arg);
        Fail();
    }
}

void OptInput(const char* arg)
{
    OpenInputFile(arg);
}

// Reads up to count numbers (base prefixes allowed) separated by any single character; gives how
// many were there.
int ReadNumberList(const char* arg, int* values, int count)
{
    const char* p = arg;
    int read = 0;
    while (read < count)
    {
        char* end = nullptr;
        values[read++] = static_cast<int>(strtol(p, &end, 0));
        if (!*end)
            break;
        p = end + 1;
    }
    return read;
}

// Reserves the next entry of a fixed-size table, or fails the parse when it is full.
int NextTableEntry(int* count, int capacity, const char* what)
{
    if (*count >= capacity)
    {
        ConverterMessage("Too many %s\n", what);
        Fail();
    }
    return (*count)++;
}

void OptMap(const char* arg)
{
    StreamMap& map = g_state.streamMaps[NextTableEntry(&g_state.streamMapCount, kMaxConverterStreams, "stream maps")];
    int values[4] = {};
    if (ReadNumberList(arg, values, 4) <= 2)
    {
        values[2] = values[0];
        values[3] = values[1];
    }
    map = StreamMap{values[0], values[1], values[2], values[3]};
}

void OptMapMetaData(const char* arg)
{
    MetaDataMap& map =
        g_state.metaDataMaps[NextTableEntry(&g_state.metaDataMapCount, kMaxMetaDataMaps, "metadata maps")];
    int values[2] = {};
    ReadNumberList(arg, values, 2);
    map = MetaDataMap{values[0], values[1]};
}

int64_t ParseTimeOrDie(const char* name, const char* arg, bool isDuration)
{
    int64_t value = 0;
    if (av_parse_time(&value, arg, isDuration) < 0)
    {
        ConverterMessage("Invalid %s specification for %s: %s\n", isDuration ? "duration" : "date", name, arg);
        Fail();
    }
    return value;
}

int OptRecordingTime(const char* name, const char* arg)
{
    g_state.recordingTime = ParseTimeOrDie(name, arg, true);
    return 0;
}

int OptStartTime(const char* name, const char* arg)
{
    g_state.startTime = ParseTimeOrDie(name, arg, true);
    // A start before the beginning would stretch the output with time that is not there.
    if (g_state.startTime < 0)
        FailInvalidValue(name, arg);
    return 0;
}

int OptInputTimestampOffset(const char* name, const char* arg)
{
    g_state.inputTimestampOffset = ParseTimeOrDie(name, arg, true);
    return 0;
}

int OptRecordingTimestamp(const char* name, const char* arg)
{
    g_state.recordingTimestamp = ParseTimeOrDie(name, arg, false) / 1000000;
    return 0;
}

void OptInputTimestampScale(const char* arg)
{
    char* p = nullptr;
    long stream = strtol(arg, &p, 0);
    double scale = *p ? strtod(p + 1, nullptr) : 0;
    if (stream < 0 || stream >= kMaxStreamsPerFile)
        Fail();
    g_state.pendingTimestampScales[stream] = scale;
}

void OptMetadata(const char* arg)
{
    const char* eq = strchr(arg, '=');
    if (!eq)
    {
        ConverterMessage("Missing =\n");
        Fail();
    }
    std::string key(arg, eq - arg);
    av_dict_set(&g_state.pendingMetadata, key.c_str(), eq + 1, 0);
}

void OptVerbose(const char* arg)
{
    g_state.verbosity = static_cast<int>(ParseNumberOrDie("v", arg, kOptInt64, -10, 10));
}

int OptLogLevel(const char* name, const char* arg)
{
    av_log_set_level(static_cast<int>(ParseNumberOrDie(name, arg, kOptInt, INT_MIN, INT_MAX)));
    return 0;
}

void OptThreads(const char* arg)
{
    // 0 keeps the automatic choice; larger counts are held to the most a job may use.
    int64_t count = ParseIntegerOrDie("threads", arg, 0, INT_MAX);
    g_state.threadCount = static_cast<int>(std::min<int64_t>(count, kMaxCodecThreads));
}

const int kAllKinds = (1 << kCodecOptionContextCount) - 1;

// Adds a name to the option-name list (once), for the media kinds in kinds.
void RecordOptionName(const char* name, int kinds)
{
    for (int i = 0; i < g_state.optionNameCount; ++i)
        if (!strcmp(g_state.optionNames[i], name))
        {
            g_state.optionNameKinds[i] |= kinds;
            return;
        }
    size_t count = g_state.optionNameCount + 1;
    char** names = static_cast<char**>(realloc(g_state.optionNames, count * sizeof(char*)));
    if (names)
        g_state.optionNames = names;
    int* nameKinds = static_cast<int*>(realloc(g_state.optionNameKinds, count * sizeof(int)));
    if (nameKinds)
        g_state.optionNameKinds = nameKinds;
    if (!names || !nameKinds)
        throw std::bad_alloc();
    g_state.optionNames[g_state.optionNameCount] = CopyText(name);
    g_state.optionNameKinds[g_state.optionNameCount++] = kinds;
}

// Sets a generic codec option on one kind's option context only and records it for that kind.
void SetKindOption(int mediaType, const char* name, const char* value)
{
    if (av_opt_set(g_state.codecOptions[mediaType], name, value, 0) >= 0)
        RecordOptionName(name, 1 << mediaType);
}

// "b", "vb" and "ab" take kilobits per second and set the bit rate of exactly one kind.
int OptBitrate(const char* name, const char* arg)
{
    int mediaType = !strcmp(name, "ab") ? AVMEDIA_TYPE_AUDIO : AVMEDIA_TYPE_VIDEO;
    double bitsPerSecond = ParseBoundedOrFail(name, arg, 0.0, kMaxKilobitRate) * 1000.0;
    char text[32];
    snprintf(text, sizeof(text), "%lld", static_cast<long long>(bitsPerSecond));
    SetKindOption(mediaType, "b", text);
    if (g_state.codecOptions[mediaType]->bit_rate < 1000)
        ConverterMessage("WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s\n");
    return 0;
}

void OptFrameRate(const char* arg)
{
    if (av_parse_video_rate(&g_state.frameRate, arg) < 0)
    {
        ConverterMessage("Incorrect value for %s: %s\n", "r", arg);
        Fail();
    }
}

void OptFrameSize(const char* arg)
{
    int width = 0, height = 0;
    if (av_parse_video_size(&width, &height, arg) < 0 || (width % 2) || (height % 2) || width > kMaxFrameDimension ||
        height > kMaxFrameDimension)
    {
        ConverterMessage("Incorrect frame size\n");
        return;
    }
    g_state.frameWidth = width;
    g_state.frameHeight = height;
}

void OptAspect(const char* arg)
{
    double aspect = 0;
    const char* colon = strchr(arg, ':');
    if (colon)
    {
        double x = strtod(arg, nullptr), y = strtod(colon + 1, nullptr);
        if (x > 0 && y > 0)
            aspect = x / y;
    }
    else
        aspect = strtod(arg, nullptr);
    if (!(aspect > 0))
    {
        ConverterMessage("Incorrect aspect ratio specification.\n");
        Fail();
    }
    g_state.frameAspectRatio = static_cast<float>(aspect);
    g_state.frameAspectGiven = 1;
}

void OptPixelFormat(const char* arg)
{
    if (!strcmp(arg, "list"))
    {
        // Listing is not offered; the released state cannot be parsed on.
        Fail();
    }
    g_state.framePixelFormat = av_get_pix_fmt(arg);
    if (g_state.framePixelFormat == AV_PIX_FMT_NONE)
    {
        ConverterMessage("Unknown pixel format requested: %s\n", arg);
        Fail();
    }
}

// Crop and pad bands: one table row per option name.
struct BandOption
{
    const char* name;
    const char* side; // "top", ...
    const char* Side; // "Top", ...
    int* band;
    bool crop;
    bool vertical;
};

const BandOption kBandOptions[] = {
    {"croptop", "top", "Top", &g_state.cropTop, true, true},
    {"cropbottom", "bottom", "Bottom", &g_state.cropBottom, true, true},
    {"cropleft", "left", "Left", &g_state.cropLeft, true, false},
    {"cropright", "right", "Right", &g_state.cropRight, true, false},
    {"padtop", "top", "Top", &g_state.padTop, false, true},
    {"padbottom", "bottom", "Bottom", &g_state.padBottom, false, true},
    {"padleft", "left", "Left", &g_state.padLeft, false, false},
    {"padright", "right", "Right", &g_state.padRight, false, false},
};

int OptBand(const char* name, const char* arg)
{
    for (const BandOption& option : kBandOptions)
    {
        if (strcmp(option.name, name))
            continue;
        const char* kind = option.crop ? "crop" : "pad";
        char* tail = nullptr;
        long value = strtol(arg, &tail, 10);
        if (tail == arg || *tail || value > kMaxFrameDimension)
            FailInvalidValue(name, arg);
        if (value < 0)
        {
            ConverterMessage("Incorrect %s %s size\n", option.side, kind);
            Fail();
        }
        if (value % 2)
        {
            ConverterMessage("%s %s size must be a multiple of 2\n", option.Side, kind);
            Fail();
        }
        if (option.crop)
        {
            int& frame = option.vertical ? g_state.frameHeight : g_state.frameWidth;
            if (value >= frame)
            {
                ConverterMessage("%s crop dimensions are outside the range of the original image.\n"
                                 "Remember to crop first and scale second.\n",
                                 option.vertical ? "Vertical" : "Horizontal");
                Fail();
            }
            frame -= value;
        }
        *option.band = value;
        return 0;
    }
    return -1;
}

void OptPadColor(const char* arg)
{
    unsigned rgb = static_cast<unsigned>(strtoul(arg, nullptr, 16));
    int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    g_state.padColor[0] = (306 * r + 601 * g + 117 * b + 512) >> 10;
    g_state.padColor[1] = ((512 * b - 339 * g - 173 * r + 511) >> 10) + 128;
    g_state.padColor[2] = ((512 * r - 429 * g - 83 * b + 511) >> 10) + 128;
}

void OptVideoDisable(const char* arg)
{
    g_state.videoDisable = atoi(arg) != 0;
}

void OptQscale(const char* arg)
{
    double value = strtod(arg, nullptr);
    if (value <= 0 || value > 255)
    {
        ConverterMessage("qscale must be > 0.0 and <= 255\n");
        Fail();
    }
    g_state.videoQscale = static_cast<float>(value);
}

void OptRcOverride(const char* arg)
{
    ReplaceText(&g_state.rcOverride, arg);
}

void SelectCodec(const char* arg, char** codecName, int* streamCopy)
{
    if (!strcmp(arg, "copy"))
        *streamCopy = 1;
    else
        ReplaceText(codecName, arg);
}

void OptVideoCodec(const char* arg)
{
    SelectCodec(arg, &g_state.videoCodecName, &g_state.videoStreamCopy);
}

void OptAudioCodec(const char* arg)
{
    SelectCodec(arg, &g_state.audioCodecName, &g_state.audioStreamCopy);
}

void OptSubtitleCodec(const char* arg)
{
    SelectCodec(arg, &g_state.subtitleCodecName, &g_state.subtitleStreamCopy);
}

unsigned ParseTag(const char* arg)
{
    char* tail = nullptr;
    unsigned long value = strtoul(arg, &tail, 0);
    if (*tail || tail == arg)
    {
        char code[4] = {0, 0, 0, 0};
        for (int i = 0; i < 4 && arg[i]; ++i)
            code[i] = arg[i];
        value = static_cast<unsigned char>(code[0]) | (static_cast<unsigned char>(code[1]) << 8) |
                (static_cast<unsigned char>(code[2]) << 16) | (static_cast<unsigned>(code[3] & 0xFF) << 24);
    }
    return static_cast<unsigned>(value);
}

void OptVideoTag(const char* arg)
{
    g_state.videoTag = ParseTag(arg);
}

void OptAudioTag(const char* arg)
{
    g_state.audioTag = ParseTag(arg);
}

void OptSubtitleTag(const char* arg)
{
    g_state.subtitleTag = ParseTag(arg);
}

void OptMeThreshold(const char* arg)
{
    g_state.meThreshold = static_cast<int>(ParseNumberOrDie("me_threshold", arg, kOptInt64, INT_MIN, INT_MAX));
}

void OptPass(const char* arg)
{
    int pass = atoi(arg);
    if (pass != 1 && pass != 2)
    {
        ConverterMessage("pass number can be only 1 or 2\n");
        Fail();
    }
    g_state.pass = pass;
}

void OptStats(const char*)
{
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    char name[64];
    snprintf(name, sizeof(name), "vstats_%02d%02d%02d.log", local.tm_hour, local.tm_min, local.tm_sec);
    ReplaceText(&g_state.statsFileName, name);
}

void OptStatsFile(const char* arg)
{
    ReplaceText(&g_state.statsFileName, arg);
}

const int kMatrixSize = 64;

uint16_t* ParseMatrix(const char* arg)
{
    uint16_t* matrix = static_cast<uint16_t*>(av_mallocz(kMatrixSize * sizeof(uint16_t)));
    if (!matrix)
        throw std::bad_alloc();
    const char* p = arg;
    for (int i = 0; i < kMatrixSize; ++i)
    {
        char* next = nullptr;
        matrix[i] = static_cast<uint16_t>(strtol(p, &next, 0));
        p = strchr(next, ',');
        if (!p && i < kMatrixSize - 1)
        {
            av_free(matrix);
            ConverterMessage("Syntax error in matrix \"%s\" at coeff %d\n", arg, i);
            Fail();
        }
        if (p)
            ++p;
    }
    return matrix;
}

void OptIntraMatrix(const char* arg)
{
    uint16_t* matrix = ParseMatrix(arg);
    av_free(g_state.intraMatrix);
    g_state.intraMatrix = matrix;
}

void OptInterMatrix(const char* arg)
{
    uint16_t* matrix = ParseMatrix(arg);
    av_free(g_state.interMatrix);
    g_state.interMatrix = matrix;
}

void OptTopField(const char* arg)
{
    g_state.topFieldFirst = atoi(arg);
}

void NewStream(AVFormatContext* file, int fileIndex, AVMediaType type);

void OptNewStream(AVMediaType type)
{
    if (g_state.outputFileCount <= 0)
    {
        ConverterMessage("At least one output file must be specified\n");
        Fail();
    }
    int index = g_state.outputFileCount - 1;
    NewStream(g_state.outputFiles[index], index, type);
}

void OptNewVideo(const char*)
{
    OptNewStream(AVMEDIA_TYPE_VIDEO);
}

void OptNewAudio(const char*)
{
    OptNewStream(AVMEDIA_TYPE_AUDIO);
}

void OptNewSubtitle(const char*)
{
    OptNewStream(AVMEDIA_TYPE_SUBTITLE);
}

void OptSampleRate(const char* arg)
{
    g_state.audioSampleRate = static_cast<int>(ParseNumberOrDie("ar", arg, kOptInt64, 0, INT_MAX));
}

void OptChannels(const char* arg)
{
    g_state.audioChannels = static_cast<int>(ParseNumberOrDie("ac", arg, kOptInt64, 0, INT_MAX));
    g_state.audioChannelMask = 0;
}

void OptVolume(const char* arg)
{
    g_state.audioVolume = 2 * atoi(arg) + 256;
}

void OptSampleFormat(const char* arg)
{
    if (!strcmp(arg, "list"))
    {
        for (int format = -1; format <= AV_SAMPLE_FMT_DBL; ++format)
        {
            char line[128];
            av_get_sample_fmt_string(line, sizeof(line), static_cast<AVSampleFormat>(format));
            printf("%s\n", line);
        }
        Fail();
    }
    g_state.audioSampleFormat = av_get_sample_fmt(arg);
}

void OptCaptureChannel(const char* arg)
{
    g_state.captureChannel = static_cast<int>(strtol(arg, nullptr, 0));
}

void OptCaptureStandard(const char* arg)
{
    ReplaceText(&g_state.captureStandard, arg);
}

void AppendBitstreamFilter(int slot, const char* arg)
{
    if (!av_bsf_get_by_name(arg))
    {
        ConverterMessage("Unknown bitstream filter %s\n", arg);
        Fail();
    }
    std::string chain = g_state.bitstreamFilters[slot] ? g_state.bitstreamFilters[slot] : "";
    if (!chain.empty())
        chain += ",";
    chain += arg;
    ReplaceText(&g_state.bitstreamFilters[slot], chain.c_str());
}

void OptVideoBitstreamFilter(const char* arg)
{
    AppendBitstreamFilter(0, arg);
}

void OptAudioBitstreamFilter(const char* arg)
{
    AppendBitstreamFilter(1, arg);
}

void OptSubtitleBitstreamFilter(const char* arg)
{
    AppendBitstreamFilter(2, arg);
}

// Preset files: "name=value" lines under $HOME/.ffmpeg or /usr/local/share/ffmpeg.
void LoadPreset(const char* optionName, const char* arg)
{
    const char* codecName = optionName[0] == 'v'   ? g_state.videoCodecName
                            : optionName[0] == 'a' ? g_state.audioCodecName
                                                   : g_state.subtitleCodecName;
    const char* home = getenv("HOME");
    std::string folders[2] = {home ? std::string(home) + "/.ffmpeg" : std::string(), "/usr/local/share/ffmpeg"};
    FILE* file = nullptr;
    for (const std::string& folder : folders)
    {
        if (folder.empty())
            continue;
        std::string path = folder + "/" + arg + ".ffpreset";
        file = fopen(path.c_str(), "r");
        if (!file && codecName)
        {
            path = folder + "/" + codecName + "-" + arg + ".ffpreset";
            file = fopen(path.c_str(), "r");
        }
        if (file)
            break;
    }
    if (!file &&
        (!strncmp(arg, "./", 2) || arg[0] == '/' || (isalpha(static_cast<unsigned char>(arg[0])) && arg[1] == ':')))
        file = fopen(ConverterUnixPath(arg).c_str(), "r");
    if (!file)
    {
        ConverterMessage("File for preset '%s' not found\n", arg);
        Fail();
    }
    std::unique_ptr<FILE, int (*)(FILE*)> owner(file, fclose);
    char line[1000], key[1000], value[1000];
    while (fgets(line, sizeof(line), file))
    {
        line[strcspn(line, "\r\n")] = 0;
        char* start = line;
        while (isspace(static_cast<unsigned char>(*start)))
            ++start;
        if (!*start || *start == '#')
            continue;
        if (sscanf(line, "%999[^=]=%999[^\n]", key, value) != 2)
        {
            ConverterMessage("%s: Invalid syntax: '%s'\n", arg, line);
            Fail();
        }
        if (!strcmp(key, "acodec"))
            OptAudioCodec(value);
        else if (!strcmp(key, "vcodec"))
            OptVideoCodec(value);
        else if (!strcmp(key, "scodec"))
            OptSubtitleCodec(value);
        else if (SetDefaultOption(key, value) < 0)
        {
            ConverterMessage("%s: Invalid option or argument: '%s', parsed as '%s' = '%s'\n", arg, line, key, value);
            Fail();
        }
    }
}

void OptAudioPreset(const char* arg)
{
    LoadPreset("apre", arg);
}

void OptVideoPreset(const char* arg)
{
    LoadPreset("vpre", arg);
}

void OptSubtitlePreset(const char* arg)
{
    LoadPreset("spre", arg);
}

int OptRealMediaPlatform(const char* name, const char* arg)
{
    g_state.realMediaPlatform = static_cast<int>(ParseNumberOrDie(name, arg, kOptInt64, -10, 10));
    return 0;
}

int OptDefault(const char* name, const char* arg)
{
    return SetDefaultOption(name, arg);
}

// "target": the presets of the standard disc formats.
void OptTarget(const char* arg)
{
    enum Norm
    {
        kPal,
        kNtsc,
        kFilm,
        kUnknown
    } norm = kUnknown;
    static const char* const kPrefixes[] = {"pal-", "ntsc-", "film-"};
    for (int i = 0; i < 3; ++i)
        if (!strncmp(arg, kPrefixes[i], strlen(kPrefixes[i])))
        {
            norm = static_cast<Norm>(i);
            arg += strlen(kPrefixes[i]);
        }
    if (norm == kUnknown)
    {
        AVRational rate = g_state.frameRate;
        for (int i = 0; rate.num == 0 && i < g_state.inputFileCount; ++i)
            for (unsigned s = 0; s < g_state.inputFiles[i]->nb_streams; ++s)
            {
                AVStream* st = g_state.inputFiles[i]->streams[s];
                if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
                {
                    rate = st->r_frame_rate;
                    break;
                }
            }
        if (rate.num && rate.den)
        {
            int fr = static_cast<int>(av_q2d(rate) * 1000);
            if (fr == 25000)
                norm = kPal;
            else if (fr == 29970 || fr == 23976)
                norm = kNtsc;
        }
        if (norm != kUnknown && g_state.verbosity)
            ConverterMessage("Assuming %s for target.\n", norm == kPal ? "PAL" : "NTSC");
    }
    if (norm == kUnknown)
    {
        ConverterMessage("Could not determine norm (PAL/NTSC/NTSC-Film) for target.\n");
        ConverterMessage("Please prefix target with \"pal-\", \"ntsc-\" or \"film-\",\n");
        ConverterMessage("or set a framerate with \"-r xxx\".\n");
        Fail();
    }
    static const char* const kRates[] = {"25", "30000/1001", "24000/1001"};
    const char* gop = norm == kPal ? "15" : "18";
    auto video = [](const char* name, const char* value) { SetKindOption(AVMEDIA_TYPE_VIDEO, name, value); };
    auto audio = [](const char* name, const char* value) { SetKindOption(AVMEDIA_TYPE_AUDIO, name, value); };
    auto format = [](const char* name, const char* value) {
        if (av_opt_set(g_state.formatOptions, name, value, 0) >= 0)
            RecordOptionName(name, kAllKinds);
    };
    if (!strcmp(arg, "vcd"))
    {
        OptVideoCodec("mpeg1video");
        OptAudioCodec("mp2");
        OptFormat("vcd");
        OptFrameSize(norm == kPal ? "352x288" : "352x240");
        OptFrameRate(kRates[norm]);
        video("g", gop);
        video("b", "1150000");
        video("maxrate", "1150000");
        video("minrate", "1150000");
        video("bufsize", "327680");
        audio("b", "224000");
        g_state.audioSampleRate = 44100;
        g_state.audioChannels = 2;
        format("packetsize", "2324");
        g_state.muxPreload = 0.44f;
    }
    else if (!strcmp(arg, "svcd"))
    {
        OptVideoCodec("mpeg2video");
        OptAudioCodec("mp2");
        OptFormat("svcd");
        OptFrameSize(norm == kPal ? "480x576" : "480x480");
        OptFrameRate(kRates[norm]);
        video("g", gop);
        video("b", "2040000");
        video("maxrate", "2516000");
        video("minrate", "0");
        video("bufsize", "1835008");
        audio("b", "224000");
        g_state.audioSampleRate = 44100;
        format("packetsize", "2324");
    }
    else if (!strcmp(arg, "dvd"))
    {
        OptVideoCodec("mpeg2video");
        OptAudioCodec("ac3");
        OptFormat("dvd");
        OptFrameSize(norm == kPal ? "720x576" : "720x480");
        OptFrameRate(kRates[norm]);
        video("g", gop);
        video("b", "6000000");
        video("maxrate", "9000000");
        video("minrate", "0");
        video("bufsize", "1835008");
        format("packetsize", "2048");
        audio("b", "448000");
        g_state.audioSampleRate = 48000;
    }
    else if (!strncmp(arg, "dv", 2))
    {
        OptFormat("dv");
        OptFrameSize(norm == kPal ? "720x576" : "720x480");
        OptPixelFormat(!strncmp(arg, "dv50", 4) ? "yuv422p" : (norm == kPal ? "yuv420p" : "yuv411p"));
        OptFrameRate(kRates[norm]);
        g_state.audioSampleRate = 48000;
        g_state.audioChannels = 2;
    }
    else
    {
        ConverterMessage("Unknown target: %s\n", arg);
        Fail();
    }
}

OptionDef Var(const char* name, int flags, void* variable, const char* help, const char* argName = nullptr)
{
    return OptionDef{name, flags, variable, nullptr, nullptr, help, argName};
}

OptionDef Fn(const char* name, int flags, OptionHandler handler, const char* help, const char* argName = nullptr)
{
    return OptionDef{name, flags, nullptr, handler, nullptr, help, argName};
}

OptionDef Named(const char* name, int flags, NamedOptionHandler handler, const char* help,
                const char* argName = nullptr)
{
    return OptionDef{name, flags | kOptNamedHandler, nullptr, nullptr, handler, help, argName};
}

const int A = kOptHasArg, B = kOptBool, E = kOptExpert, S = kOptString, V = kOptVideo, AU = kOptAudio, G = kOptGrab,
          I = kOptInt, F = kOptFloat, SUB = kOptSubtitle, I64 = kOptInt64;

const OptionDef kOptionTable[] = {
    Fn("f", A, OptFormat, "container format of the next file", "format"),
    Fn("i", A, OptInput, "input file", "file"),
    Var("y", B, &g_state.fileOverwrite, "replace existing output files"),
    Fn("map", A | E, OptMap, "take an output stream from this input stream", "file:stream[:syncfile:syncstream]"),
    Fn("map_meta_data", A | E, OptMapMetaData, "copy the metadata of an input file to an output file",
       "outfile:infile"),
    Named("t", A, OptRecordingTime, "record or transcode \"duration\" seconds of audio/video", "duration"),
    Var("fs", A | I64, &g_state.fileSizeLimit, "set the limit file size in bytes", "limit_size"),
    Named("ss", A, OptStartTime, "start converting at this time", "time"),
    Named("itsoffset", A, OptInputTimestampOffset, "shift the next input's timestamps", "time"),
    Fn("itsscale", A, OptInputTimestampScale, "scale the timestamps of a stream of the next input", "stream:scale"),
    Named("timestamp", A, OptRecordingTimestamp, "recording date of the output", "date"),
    Fn("metadata", A, OptMetadata, "metadata pair for the next output", "key=value"),
    Var("dframes", A | I | E, &g_state.maxFrames[2], "most data frames to write", "count"),
    Var("benchmark", B | E, &g_state.benchmark, "accepted, no effect"),
    Var("dump", B | E, &g_state.doDump, "accepted, no effect"),
    Var("hex", B | E, &g_state.doHex, "accepted, no effect"),
    Var("re", B | E, &g_state.rateEmulation, "accepted, no effect"),
    Var("loop_input", B | E, &g_state.loopInput, "loop the input"),
    Var("loop_output", A | I | E, &g_state.loopOutput, "how often players loop the output", "count"),
    Fn("v", A, OptVerbose, "converter verbosity", "level"),
    Named("loglevel", A, OptLogLevel, "set libav* logging level", "number"),
    Fn("target", A, OptTarget, "preset of a disc format", "type"),
    Fn("threads", A | E, OptThreads, "codec threads", "count"),
    Var("vsync", A | I | E, &g_state.videoSyncMethod, "video timing method", "method"),
    Var("async", A | I | E, &g_state.audioSyncMethod, "audio timing method", "method"),
    Var("adrift_threshold", A | F | E, &g_state.audioDriftThreshold, "audio drift that is corrected at once",
        "seconds"),
    Var("vglobal", A | I | E, &g_state.videoGlobalHeader, "video global header mode", "mode"),
    Var("copyts", B | E, &g_state.copyTimestamps, "keep the input timestamps"),
    Var("shortest", B | E, &g_state.shortest, "end with the shortest input"),
    Var("dts_delta_threshold", A | F | E, &g_state.dtsDeltaThreshold, "timestamp jump that is taken as a discontinuity",
        "seconds"),
    Var("programid", A | I | E, &g_state.programId, "program of the input to convert", "id"),
    Var("xerror", B, &g_state.exitOnError, "accepted, no effect"),
    Var("copyinkf", B | E, &g_state.copyInitialNonKeyFrames, "copy frames before the first key frame"),
    Named("b", A | V, OptBitrate, "set bitrate (in bits/s)", "bitrate"),
    Named("vb", A | V, OptBitrate, "video bit rate in kbit/s", "bitrate"),
    Var("vframes", A | I | V, &g_state.maxFrames[0], "most video frames to write", "count"),
    Fn("r", A | V, OptFrameRate, "frame rate", "rate"),
    Fn("s", A | V, OptFrameSize, "frame size", "WxH"),
    Fn("aspect", A | V, OptAspect, "display aspect ratio", "ratio"),
    Fn("pix_fmt", A | E | V, OptPixelFormat, "pixel format", "format"),
    Named("croptop", A | V, OptBand, "rows cut at the top", "size"),
    Named("cropbottom", A | V, OptBand, "rows cut at the bottom", "size"),
    Named("cropleft", A | V, OptBand, "columns cut at the left", "size"),
    Named("cropright", A | V, OptBand, "columns cut at the right", "size"),
    Named("padtop", A | V, OptBand, "rows added at the top", "size"),
    Named("padbottom", A | V, OptBand, "rows added at the bottom", "size"),
    Named("padleft", A | V, OptBand, "columns added at the left", "size"),
    Named("padright", A | V, OptBand, "columns added at the right", "size"),
    Fn("padcolor", A | V, OptPadColor, "colour of the added bands", "RRGGBB"),
    Var("intra", B | E | V, &g_state.intraOnly, "key frames only"),
    Fn("vn", A | V, OptVideoDisable, "disable video"),
    Var("vdt", A | I | E | V, &g_state.videoDiscard, "video discard level", "level"),
    Fn("qscale", A | E | V, OptQscale, "fixed video quantiser", "q"),
    Fn("rc_override", A | E | V, OptRcOverride, "quantiser for frame ranges", "start,end,q/..."),
    Fn("vcodec", A | V, OptVideoCodec, "video codec, or copy", "codec"),
    Fn("me_threshold", A | E | V, OptMeThreshold, "motion estimation threshold", "threshold"),
    Var("sameq", B | V, &g_state.sameQuality, "keep the input's quality"),
    Fn("pass", A | V, OptPass, "pass of a two-pass encoding", "n"),
    Var("passlogfile", A | S | V, &g_state.passLogPrefix, "prefix of the two-pass log files", "prefix"),
    Var("deinterlace", B | E | V, &g_state.deinterlace, "deinterlace the pictures"),
    Var("psnr", B | E | V, &g_state.doPsnr, "compute the PSNR of the encoded frames"),
    Fn("vstats", E | V, OptStats, "write video statistics to a file named after the time"),
    Fn("vstats_file", A | E | V, OptStatsFile, "write video statistics to this file", "file"),
    Fn("intra_matrix", A | E | V, OptIntraMatrix, "intra quantiser matrix", "matrix"),
    Fn("inter_matrix", A | E | V, OptInterMatrix, "inter quantiser matrix", "matrix"),
    Fn("top", A | E | V, OptTopField, "field order: 1 top first, 0 bottom first, -1 as the input", "order"),
    Var("dc", A | I | E | V, &g_state.intraDcPrecision, "intra DC precision", "bits"),
    Fn("vtag", A | E | V, OptVideoTag, "video codec tag", "tag"),
    Fn("newvideo", V, OptNewVideo, "add a video stream to the last output"),
    Var("qphist", B | E | V, &g_state.qpHistogram, "accepted, no effect"),
    Var("force_fps", B | E | V, &g_state.forceFps, "keep the frame rate even where the codec prefers another"),
    Named("ab", A | AU, OptBitrate, "set bitrate (in bits/s)", "bitrate"),
    Var("aframes", A | I | AU, &g_state.maxFrames[1], "most audio frames to write", "count"),
    Var("aq", A | F | AU, &g_state.audioQscale, "audio quality", "quality"),
    Fn("ar", A | AU, OptSampleRate, "sample rate", "rate"),
    Fn("ac", A | AU, OptChannels, "audio channels", "channels"),
    Var("an", B | AU, &g_state.audioDisable, "disable audio"),
    Fn("acodec", A | AU, OptAudioCodec, "audio codec, or copy", "codec"),
    Fn("atag", A | E | AU, OptAudioTag, "audio codec tag", "tag"),
    Fn("vol", A | AU | E, OptVolume, "set audio volume", "volume"),
    Fn("newaudio", AU, OptNewAudio, "add an audio stream to the last output"),
    Var("alang", A | S | AU, &g_state.audioLanguage, "language of the next audio stream", "code"),
    Fn("sample_fmt", A | E | AU, OptSampleFormat, "sample format", "format"),
    Var("sn", B | SUB, &g_state.subtitleDisable, "no subtitles"),
    Fn("scodec", A | SUB, OptSubtitleCodec, "subtitle codec, or copy", "codec"),
    Fn("newsubtitle", SUB, OptNewSubtitle, "add a subtitle stream to the last output"),
    Var("slang", A | S | SUB, &g_state.subtitleLanguage, "language of the next subtitle stream", "code"),
    Fn("stag", A | E | SUB, OptSubtitleTag, "subtitle codec tag", "tag"),
    Fn("vc", A | E | V | G, OptCaptureChannel, "capture channel", "channel"),
    Fn("tvstd", A | E | V | G, OptCaptureStandard, "capture television standard", "standard"),
    Var("isync", B | E | G, &g_state.inputSync, "choose by input time"),
    Var("muxdelay", F | A | E, &g_state.muxMaxDelay, "most muxing delay", "seconds"),
    Var("muxpreload", F | A | E, &g_state.muxPreload, "muxing preload", "seconds"),
    Fn("absf", A | AU | E, OptAudioBitstreamFilter, "audio bit-stream filter", "filter"),
    Fn("vbsf", A | V | E, OptVideoBitstreamFilter, "video bit-stream filter", "filter"),
    Fn("sbsf", A | SUB | E, OptSubtitleBitstreamFilter, "subtitle bit-stream filter", "filter"),
    Fn("apre", A | AU | E, OptAudioPreset, "audio preset", "preset"),
    Fn("vpre", A | V | E, OptVideoPreset, "video preset", "preset"),
    Fn("spre", A | SUB | E, OptSubtitlePreset, "subtitle preset", "preset"),
    Named("rv40_platform", A, OptRealMediaPlatform, "set rv40 platform", ""),
    Named("default", A | AU | V | E, OptDefault, "generic catch all option", ""),

    OptionDef{nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr},
};

// ---- option contexts ----

void CreateOptionContexts()
{
    for (int type = 0; type < kCodecOptionContextCount; ++type)
    {
        g_state.codecOptions[type] = avcodec_alloc_context3(nullptr);
        if (!g_state.codecOptions[type])
            throw std::bad_alloc();
        g_state.codecOptions[type]->codec_type = static_cast<AVMediaType>(type);
    }
    g_state.formatOptions = avformat_alloc_context();
    g_state.scalerOptions = sws_alloc_context();
    if (!g_state.formatOptions || !g_state.scalerOptions)
        throw std::bad_alloc();
}

// Options that are private to some encoders (crf, coder, partitions, me_method, ...): kept per
// kind and handed to the encoder when it opens. The result is -1 when no encoder knows the name.
int SetPrivateOption(const char* name, const char* value)
{
    bool found[kCodecOptionContextCount] = {};
    void* iterator = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&iterator))
    {
        if (!av_codec_is_encoder(codec) || !codec->priv_class || codec->type < 0 ||
            codec->type >= kCodecOptionContextCount || found[codec->type])
            continue;
        if (av_opt_find(const_cast<AVClass**>(&codec->priv_class), name, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ))
            found[codec->type] = true;
    }
    int result = -1;
    for (int type = 0; type < kCodecOptionContextCount; ++type)
        if (found[type])
        {
            av_dict_set(&g_state.privateOptions[type], name, value, 0);
            result = 0;
        }
    return result;
}

} // namespace

// ---- public operations ----

const OptionDef* ConverterOptionTable()
{
    return kOptionTable;
}

const char* ConverterProgramLabel()
{
    return g_programLabel;
}

std::string ConverterUnixPath(const char* path)
{
    bool win32 = strchr(path, '\\') || (isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':');
    std::string unixPath;
    if (!win32 || !EngineToUnixPath(path, &unixPath))
        return path;
    return unixPath;
}

void ResetOptionDefaults()
{
    memset(&g_state, 0, sizeof(g_state));
    g_state.audioSampleRate = kDefaultAudioSampleRate;
    g_state.audioChannels = kDefaultAudioChannels;
    g_state.framePixelFormat = AV_PIX_FMT_NONE;
    g_state.audioSampleFormat = AV_SAMPLE_FMT_NONE;
    g_state.padColor[0] = 16;
    g_state.padColor[1] = 128;
    g_state.padColor[2] = 128;
    for (int& limit : g_state.maxFrames)
        limit = kNoFrameLimit;
    g_state.topFieldFirst = -1;
    g_state.intraDcPrecision = 8;
    g_state.loopOutput = -1;
    g_state.audioQscale = -99999;
    g_state.muxPreload = 0.5f;
    g_state.muxMaxDelay = 0.7f;
    g_state.videoSyncMethod = -1;
    g_state.recordingTime = INT64_MAX;
    g_state.audioDriftThreshold = 0.1f;
    g_state.audioVolume = 256;
    g_state.verbosity = 1;
    g_state.threadCount = 1;
    g_state.dtsDeltaThreshold = 10;
    g_state.realMediaPlatform = 0;
}

void FreeOptionState()
{
    for (AVCodecContext*& options : g_state.codecOptions)
        avcodec_free_context(&options);
    avformat_free_context(g_state.formatOptions);
    g_state.formatOptions = nullptr;
    sws_freeContext(g_state.scalerOptions);
    g_state.scalerOptions = nullptr;
    for (AVDictionary*& options : g_state.privateOptions)
        av_dict_free(&options);
    for (int i = 0; i < g_state.optionNameCount; ++i)
        free(g_state.optionNames[i]);
    free(g_state.optionNames);
    g_state.optionNames = nullptr;
    free(g_state.optionNameKinds);
    g_state.optionNameKinds = nullptr;
    g_state.optionNameCount = 0;
    av_dict_free(&g_state.pendingMetadata);
    char** texts[] = {&g_state.passLogPrefix,       &g_state.audioLanguage,       &g_state.subtitleLanguage,
                      &g_state.rcOverride,          &g_state.videoCodecName,      &g_state.audioCodecName,
                      &g_state.subtitleCodecName,   &g_state.statsFileName,       &g_state.captureStandard,
                      &g_state.bitstreamFilters[0], &g_state.bitstreamFilters[1], &g_state.bitstreamFilters[2]};
    for (char** text : texts)
    {
        free(*text);
        *text = nullptr;
    }
    av_freep(&g_state.intraMatrix);
    av_freep(&g_state.interMatrix);
}

int ConverterFatalExit(int code)
{
    for (int i = 0; i < g_state.outputFileCount; ++i)
    {
        AVFormatContext* file = g_state.outputFiles[i];
        if (!(file->oformat->flags & AVFMT_NOFILE) && file->pb)
            avio_closep(&file->pb);
        avformat_free_context(file);
    }
    for (int f = 0; f < kMaxConverterFiles; ++f)
        for (int s = 0; s < kMaxStreamsPerFile; ++s)
        {
            OutputStreamSetup& setup = g_state.outputStreams[f][s];
            avcodec_free_context(&setup.codecContext);
            av_dict_free(&setup.privateOptions);
            free(setup.bitstreamFilters);
        }
    for (int i = 0; i < g_state.inputFileCount; ++i)
        avformat_close_input(&g_state.inputFiles[i]);
    for (AVDictionary*& options : g_state.inputDecoderOptions)
        av_dict_free(&options);
    FreeOptionState();
    ResetOptionDefaults();
    if (code)
        throw ConverterParseFailure{code};
    return 0;
}

int SetDefaultOption(const char* name, const char* value)
{
    bool matched = false;
    int result = 0;
    const char* setName = name;
    for (int type = 0; type < kCodecOptionContextCount; ++type)
    {
        if (!av_opt_find(g_state.codecOptions[AVMEDIA_TYPE_VIDEO], name, nullptr, kCatchAllMasks[type], 0))
            continue;
        matched = true;
        result = av_opt_set(g_state.codecOptions[type], name, value, 0);
        if (result < 0)
            break;
    }
    if (!matched && av_opt_find(g_state.formatOptions, name, nullptr, 0, 0))
    {
        matched = true;
        result = av_opt_set(g_state.formatOptions, name, value, 0);
    }
    if (!matched && av_opt_find(g_state.scalerOptions, name, nullptr, 0, 0))
    {
        matched = true;
        result = av_opt_set(g_state.scalerOptions, name, value, 0);
    }
    if (!matched && name[0] && strchr("avs", name[0]))
    {
        int type = name[0] == 'a' ? AVMEDIA_TYPE_AUDIO : name[0] == 'v' ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_SUBTITLE;
        if (av_opt_find(g_state.codecOptions[type], name + 1, nullptr, 0, 0))
        {
            matched = true;
            setName = name + 1;
            result = av_opt_set(g_state.codecOptions[type], setName, value, 0);
        }
    }
    if (!matched)
        return SetPrivateOption(name, value);
    if (result < 0)
    {
        // Names such as "profile" are generic and private to some encoders at once.
        if (SetPrivateOption(name, value) == 0)
            return 0;
        ConverterMessage("Invalid value '%s' for option '%s'\n", value, name);
        return -1;
    }
    RecordOptionName(setName, kAllKinds);
    if (g_state.codecOptions[AVMEDIA_TYPE_VIDEO]->debug || g_state.formatOptions->debug)
        av_log_set_level(kDebugLogLevel);
    return 0;
}

// The catch-all options whose flags contain every bit of mask, as text, read from optionContext;
// from a codec option context only the names set for its own kind.
static AVDictionary* CollectContextOptions(void* optionContext, int mask)
{
    int kind = kAllKinds;
    for (int type = 0; type < kCodecOptionContextCount; ++type)
        if (optionContext == g_state.codecOptions[type])
            kind = 1 << type;
    AVDictionary* options = nullptr;
    for (int i = 0; i < g_state.optionNameCount; ++i)
    {
        const char* name = g_state.optionNames[i];
        const AVOption* option = av_opt_find(optionContext, name, nullptr, 0, 0);
        if (!option || (option->flags & mask) != mask || !(g_state.optionNameKinds[i] & kind))
            continue;
        uint8_t* text = nullptr;
        if (av_opt_get(optionContext, name, 0, &text) >= 0 && text &&
            strlen(reinterpret_cast<char*>(text)) < kMaxOptionTextLength)
            av_dict_set(&options, name, reinterpret_cast<char*>(text), 0);
        av_free(text);
    }
    return options;
}

void SetContextOptions(void* optionContext, void* target, int mask)
{
    AVDictionary* options = CollectContextOptions(optionContext, mask);
    av_opt_set_dict(target, &options);
    av_dict_free(&options);
}

static bool InputsHaveKind(AVMediaType type)
{
    for (int i = 0; i < g_state.inputFileCount; ++i)
        for (unsigned s = 0; s < g_state.inputFiles[i]->nb_streams; ++s)
            if (g_state.inputFiles[i]->streams[s]->codecpar->codec_type == type)
                return true;
    return false;
}

static const AVCodec* FindForcedCodec(const char* name, AVMediaType type, bool encoder)
{
    const AVCodec* codec = encoder ? avcodec_find_encoder_by_name(name) : avcodec_find_decoder_by_name(name);
    const char* what = encoder ? "encoder" : "decoder";
    if (!codec)
    {
        ConverterMessage("Unknown %s '%s'\n", what, name);
        Fail();
    }
    if (codec->type != type)
    {
        ConverterMessage("Invalid %s type '%s'\n", what, name);
        Fail();
    }
    return codec;
}

// Opening failed with an invalid-data answer: tell an unknown format from a broken header by
// probing the file's first bytes ourselves.
static int OpenFailureCode(int avError, const char* unixName, const AVInputFormat* forced)
{
    if (avError != AVERROR_INVALIDDATA && avError != AVERROR_EOF)
        return LegacyErrorCode(avError);
    if (forced)
        return LegacyErrorCode(AVERROR_INVALIDDATA);
    const int kProbeSize = 4096;
    uint8_t buffer[kProbeSize + AVPROBE_PADDING_SIZE] = {};
    FILE* file = fopen(unixName, "rb");
    if (!file)
        return LegacyErrorCode(AVERROR(EIO));
    size_t size = fread(buffer, 1, kProbeSize, file);
    fclose(file);
    AVProbeData probe = {unixName, buffer, static_cast<int>(size), nullptr};
    // A format has to be recognised as surely as the library's own probe needs it.
    int score = AVPROBE_SCORE_RETRY;
    if (!size || !av_probe_input_format2(&probe, 1, &score))
        return LegacyErrorCode(AVERROR_DEMUXER_NOT_FOUND);
    return LegacyErrorCode(AVERROR_INVALIDDATA);
}

void OpenInputFile(const char* fileName)
{
    if (g_state.inputFileCount >= kMaxConverterFiles)
    {
        ConverterMessage("Too many input files\n");
        Fail();
    }
    if (!strcmp(fileName, "-"))
        fileName = "pipe:";
    std::string unixName = ConverterUnixPath(fileName);

    const AVCodec* forcedDecoders[3] = {};
    const char* forcedNames[3] = {g_state.videoCodecName, g_state.audioCodecName, g_state.subtitleCodecName};
    const AVMediaType kinds[3] = {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO, AVMEDIA_TYPE_SUBTITLE};
    for (int i = 0; i < 3; ++i)
        if (forcedNames[i])
            forcedDecoders[i] = FindForcedCodec(forcedNames[i], kinds[i], false);
    if (g_state.usingPgmYuv)
        forcedDecoders[0] = avcodec_find_decoder(AV_CODEC_ID_PGMYUV);

    AVFormatContext* input = avformat_alloc_context();
    if (!input)
        throw std::bad_alloc();
    SetContextOptions(g_state.formatOptions, input, AV_OPT_FLAG_DECODING_PARAM);
    input->video_codec = forcedDecoders[0];
    input->audio_codec = forcedDecoders[1];
    input->subtitle_codec = forcedDecoders[2];
    for (int i = 0; i < 3; ++i)
        if (forcedDecoders[i])
            (i == 0   ? input->video_codec_id
             : i == 1 ? input->audio_codec_id
                      : input->subtitle_codec_id) = forcedDecoders[i]->id;
    input->flags |= AVFMT_FLAG_NONBLOCK;

    // Raw formats take their parameters from the options given before "-i".
    AVDictionary* parameters = nullptr;
    if (g_state.forcedInputFormat)
    {
        char text[64];
        snprintf(text, sizeof(text), "%d", g_state.audioSampleRate);
        av_dict_set(&parameters, "sample_rate", text, 0);
        snprintf(text, sizeof(text), "%d", g_state.audioChannels);
        av_dict_set(&parameters, "channels", text, 0);
        if (g_state.frameRate.num)
        {
            snprintf(text, sizeof(text), "%d/%d", g_state.frameRate.num, g_state.frameRate.den);
            av_dict_set(&parameters, "framerate", text, 0);
        }
        if (g_state.frameWidth && g_state.frameHeight)
        {
            snprintf(text, sizeof(text), "%dx%d", g_state.frameWidth + g_state.padLeft + g_state.padRight,
                     g_state.frameHeight + g_state.padTop + g_state.padBottom);
            av_dict_set(&parameters, "video_size", text, 0);
        }
        if (g_state.framePixelFormat != AV_PIX_FMT_NONE)
            av_dict_set(&parameters, "pixel_format",
                        av_get_pix_fmt_name(static_cast<AVPixelFormat>(g_state.framePixelFormat)), 0);
        if (g_state.captureStandard)
            av_dict_set(&parameters, "standard", g_state.captureStandard, 0);
        if (g_state.captureChannel)
            av_dict_set_int(&parameters, "channel", g_state.captureChannel, 0);
    }
    if (g_state.loopInput)
        av_dict_set(&parameters, "loop", "1", 0);
    int result = avformat_open_input(&input, unixName.c_str(), g_state.forcedInputFormat, &parameters);
    av_dict_free(&parameters);
    if (result < 0)
    {
        PrintOpenError(OpenFailureCode(result, unixName.c_str(), g_state.forcedInputFormat), fileName);
        Fail();
    }
    // From here the file belongs to the option state, so that a failure closes it.
    int fileIndex = g_state.inputFileCount++;
    g_state.inputFiles[fileIndex] = input;

    if (g_state.programId)
        for (unsigned p = 0; p < input->nb_programs; ++p)
            if (input->programs[p]->id != g_state.programId)
                input->programs[p]->discard = AVDISCARD_ALL;
    if (avformat_find_stream_info(input, nullptr) < 0 && g_state.verbosity >= 0)
    {
        ConverterMessage("%s: could not find codec parameters\n", fileName);
        Fail();
    }

    int64_t timestamp = g_state.startTime;
    if (input->start_time != AV_NOPTS_VALUE)
        timestamp += input->start_time;
    if (g_state.startTime != 0)
    {
        if (av_seek_frame(input, -1, timestamp, AVSEEK_FLAG_BACKWARD) < 0)
            ConverterMessage("%s: could not seek to position %0.3f\n", fileName,
                             static_cast<double>(timestamp) / AV_TIME_BASE);
        g_state.startTime = 0;
    }

    for (unsigned s = 0; s < input->nb_streams; ++s)
    {
        AVStream* st = input->streams[s];
        AVCodecParameters* par = st->codecpar;
        int decoderSlot = g_state.inputDecoderCount;
        if (decoderSlot >= kMaxConverterStreams)
        {
            ConverterMessage("Too many input streams\n");
            Fail();
        }
        switch (par->codec_type)
        {
        case AVMEDIA_TYPE_AUDIO:
            g_state.audioChannels = par->ch_layout.nb_channels;
            g_state.audioChannelMask = par->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? par->ch_layout.u.mask : 0;
            g_state.audioSampleRate = par->sample_rate;
            g_state.audioSampleFormat = par->format;
            if (g_state.audioDisable)
                st->discard = AVDISCARD_ALL;
            break;
        case AVMEDIA_TYPE_VIDEO: {
            g_state.frameWidth = par->width;
            g_state.frameHeight = par->height;
            g_state.framePixelFormat = par->format;
            double sar = av_q2d(st->sample_aspect_ratio);
            if (!(sar > 0))
                sar = av_q2d(par->sample_aspect_ratio);
            if (!(sar > 0))
                sar = 1;
            g_state.frameAspectRatio = par->height ? static_cast<float>(sar * par->width / par->height) : 0;
            g_state.frameAspectGiven = 0;
            AVRational containerRate = st->r_frame_rate;
            AVRational codecRate = st->avg_frame_rate;
            if (codecRate.num && containerRate.num && av_cmp_q(codecRate, containerRate) && g_state.verbosity >= 0)
                ConverterMessage("\nSeems stream %d codec frame rate differs from container frame rate: %2.2f (%d/%d) "
                                 "-> %2.2f (%d/%d)\n",
                                 static_cast<int>(s), av_q2d(codecRate), codecRate.num, codecRate.den,
                                 av_q2d(containerRate), containerRate.num, containerRate.den);
            g_state.frameRate = containerRate.num ? containerRate : codecRate;
            if (g_state.videoDisable)
                st->discard = AVDISCARD_ALL;
            else if (g_state.videoDiscard)
                st->discard = static_cast<AVDiscard>(g_state.videoDiscard);
            break;
        }
        case AVMEDIA_TYPE_SUBTITLE:
            if (g_state.subtitleDisable)
                st->discard = AVDISCARD_ALL;
            break;
        default:
            break;
        }
        int mask = par->codec_type == AVMEDIA_TYPE_VIDEO   ? AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_DECODING_PARAM
                   : par->codec_type == AVMEDIA_TYPE_AUDIO ? AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_DECODING_PARAM
                                                           : 0;
        AVDictionary* decoderOptions = nullptr;
        if (mask)
            decoderOptions = CollectContextOptions(
                g_state.codecOptions[par->codec_type == AVMEDIA_TYPE_VIDEO ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO],
                mask);
        g_state.inputDecoderOptions[decoderSlot] = decoderOptions;
        int kind = par->codec_type == AVMEDIA_TYPE_VIDEO      ? 0
                   : par->codec_type == AVMEDIA_TYPE_AUDIO    ? 1
                   : par->codec_type == AVMEDIA_TYPE_SUBTITLE ? 2
                                                              : -1;
        g_state.inputDecoders[decoderSlot] = kind >= 0 ? forcedDecoders[kind] : nullptr;
        g_state.inputDecoderCount++;
    }

    g_state.inputTimestampOffsets[fileIndex] = g_state.inputTimestampOffset - (g_state.copyTimestamps ? 0 : timestamp);
    memcpy(g_state.inputTimestampScales[fileIndex], g_state.pendingTimestampScales,
           sizeof(g_state.pendingTimestampScales));
    memset(g_state.pendingTimestampScales, 0, sizeof(g_state.pendingTimestampScales));
    g_state.forcedInputFormat = nullptr;
    g_state.forcedOutputFormat = nullptr;
    g_state.captureChannel = 0;
    ReplaceText(&g_state.captureStandard, nullptr);
    ReplaceText(&g_state.videoCodecName, nullptr);
    ReplaceText(&g_state.audioCodecName, nullptr);
    ReplaceText(&g_state.subtitleCodecName, nullptr);
}

static void ParseRcOverride(AVCodecContext* encoder, const char* text)
{
    for (const char* p = text; p && *p;)
    {
        int start = 0, end = 0, q = 0;
        if (sscanf(p, "%d,%d,%d", &start, &end, &q) != 3)
        {
            ConverterMessage("error parsing rc_override\n");
            Fail();
        }
        RcOverride* overrides = static_cast<RcOverride*>(
            av_realloc_array(encoder->rc_override, encoder->rc_override_count + 1, sizeof(RcOverride)));
        if (!overrides)
            throw std::bad_alloc();
        encoder->rc_override = overrides;
        RcOverride& entry = overrides[encoder->rc_override_count++];
        entry.start_frame = start;
        entry.end_frame = end;
        entry.qscale = q > 0 ? q : 0;
        entry.quality_factor = q > 0 ? 1.0f : -q / 100.0f;
        p = strchr(p, '/');
        if (p)
            ++p;
    }
}

static uint16_t* CopyMatrix(const uint16_t* matrix)
{
    if (!matrix)
        return nullptr;
    uint16_t* copy = static_cast<uint16_t*>(av_malloc(kMatrixSize * sizeof(uint16_t)));
    if (!copy)
        throw std::bad_alloc();
    memcpy(copy, matrix, kMatrixSize * sizeof(uint16_t));
    return copy;
}

// The wanted format when the encoder supports it (or names no formats), else the encoder's first;
// fallback where nothing is known at all.
template <typename Format>
static Format SupportedOrFirst(const Format* supported, Format wanted, Format none, Format fallback)
{
    if (supported)
    {
        const Format* p = supported;
        while (*p != none && *p != wanted)
            ++p;
        if (*p == none)
            wanted = supported[0];
    }
    return wanted == none ? fallback : wanted;
}

// The rate of the encoder's list nearest to the wanted one, among the rates the encoder opens with
// at its compliance level.
static AVRational NearestAllowedRate(const AVCodecContext* enc, const AVCodec* codec, AVRational wanted)
{
    AVRational allowed[kStandardMpeg1RateCount + 1] = {};
    const AVRational* list = codec->supported_framerates;
    if (codec->id == AV_CODEC_ID_MPEG1VIDEO && enc->strict_std_compliance > FF_COMPLIANCE_UNOFFICIAL)
    {
        for (int i = 0; i < kStandardMpeg1RateCount && list[i].num; ++i)
            allowed[i] = list[i];
        list = allowed;
    }
    return list[av_find_nearest_q_idx(wanted, list)];
}

static void SetupVideoEncoder(AVCodecContext* enc, const AVCodec* codec, AVStream* st)
{
    AVRational rate =
        g_state.frameRate.num && g_state.frameRate.den ? g_state.frameRate : AVRational{kDefaultFrameRate, 1};
    if (codec && codec->supported_framerates && !g_state.forceFps)
        rate = NearestAllowedRate(enc, codec, rate);
    enc->framerate = rate;
    enc->time_base = av_inv_q(rate);
    // Summed in 64 bits: each part is bounded, the sum is checked.
    int64_t width = static_cast<int64_t>(g_state.frameWidth) + g_state.padLeft + g_state.padRight;
    int64_t height = static_cast<int64_t>(g_state.frameHeight) + g_state.padTop + g_state.padBottom;
    if (width > kMaxFrameDimension || height > kMaxFrameDimension)
    {
        ConverterMessage("Frame size %lldx%lld with its pad bands is larger than %dx%d\n",
                         static_cast<long long>(width), static_cast<long long>(height), kMaxFrameDimension,
                         kMaxFrameDimension);
        Fail();
    }
    enc->width = static_cast<int>(width);
    enc->height = static_cast<int>(height);
    // The source's aspect belongs to the picture inside the pad bands; an "aspect" option names
    // the whole frame's.
    const int shapeWidth = g_state.frameAspectGiven ? enc->width : g_state.frameWidth;
    const int shapeHeight = g_state.frameAspectGiven ? enc->height : g_state.frameHeight;
    if (shapeWidth > 0 && shapeHeight > 0)
        enc->sample_aspect_ratio = av_d2q(g_state.frameAspectRatio * shapeHeight / shapeWidth, 255);
    st->sample_aspect_ratio = enc->sample_aspect_ratio;
    enc->pix_fmt =
        SupportedOrFirst(codec ? codec->pix_fmts : nullptr, static_cast<AVPixelFormat>(g_state.framePixelFormat),
                         AV_PIX_FMT_NONE, AV_PIX_FMT_YUV420P);
    if (g_state.intraOnly)
        enc->gop_size = 0;
    if (g_state.videoQscale > 0 || g_state.sameQuality)
    {
        enc->flags |= AV_CODEC_FLAG_QSCALE;
        if (g_state.videoQscale > 0)
            enc->global_quality = static_cast<int>(kQualityScale * g_state.videoQscale);
    }
    enc->intra_matrix = CopyMatrix(g_state.intraMatrix);
    enc->inter_matrix = CopyMatrix(g_state.interMatrix);
    if (g_state.rcOverride)
        ParseRcOverride(enc, g_state.rcOverride);
    if (!enc->rc_initial_buffer_occupancy)
        enc->rc_initial_buffer_occupancy = enc->rc_buffer_size * 3 / 4;
    enc->intra_dc_precision = g_state.intraDcPrecision - 8;
    if (g_state.doPsnr)
        enc->flags |= AV_CODEC_FLAG_PSNR;
    if (g_state.pass == 1)
        enc->flags |= AV_CODEC_FLAG_PASS1;
    else if (g_state.pass == 2)
        enc->flags |= AV_CODEC_FLAG_PASS2;
}

static void SetupAudioEncoder(AVCodecContext* enc, const AVCodec* codec, AVStream* st)
{
    if (g_state.audioQscale > -99999)
    {
        enc->flags |= AV_CODEC_FLAG_QSCALE;
        enc->global_quality = static_cast<int>(kQualityScale * g_state.audioQscale);
    }
    av_channel_layout_uninit(&enc->ch_layout);
    if (g_state.audioChannelMask && av_popcount64(g_state.audioChannelMask) == g_state.audioChannels)
        av_channel_layout_from_mask(&enc->ch_layout, g_state.audioChannelMask);
    else
        av_channel_layout_default(&enc->ch_layout, g_state.audioChannels);
    enc->sample_rate = g_state.audioSampleRate;
    enc->time_base = AVRational{1, enc->sample_rate > 0 ? enc->sample_rate : 1};
    enc->sample_fmt =
        SupportedOrFirst(codec ? codec->sample_fmts : nullptr, static_cast<AVSampleFormat>(g_state.audioSampleFormat),
                         AV_SAMPLE_FMT_NONE, AV_SAMPLE_FMT_S16);
    if (g_state.audioLanguage)
        av_dict_set(&st->metadata, "language", g_state.audioLanguage, 0);
}

namespace
{
void NewStream(AVFormatContext* file, int fileIndex, AVMediaType type)
{
    AVStream* st =
        file->nb_streams < static_cast<unsigned>(kMaxStreamsPerFile) ? avformat_new_stream(file, nullptr) : nullptr;
    if (!st)
    {
        ConverterMessage("Could not alloc stream\n");
        Fail();
    }
    OutputStreamSetup& setup = g_state.outputStreams[fileIndex][st->index];
    int kind = type == AVMEDIA_TYPE_VIDEO ? 0 : type == AVMEDIA_TYPE_AUDIO ? 1 : 2;
    int* streamCopy[3] = {&g_state.videoStreamCopy, &g_state.audioStreamCopy, &g_state.subtitleStreamCopy};
    char** codecName[3] = {&g_state.videoCodecName, &g_state.audioCodecName, &g_state.subtitleCodecName};
    int* disable[3] = {&g_state.videoDisable, &g_state.audioDisable, &g_state.subtitleDisable};
    unsigned tags[3] = {g_state.videoTag, g_state.audioTag, g_state.subtitleTag};
    const int masks[3] = {AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM,
                          AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM,
                          AV_OPT_FLAG_SUBTITLE_PARAM | AV_OPT_FLAG_ENCODING_PARAM};

    setup.bitstreamFilters = g_state.bitstreamFilters[kind];
    g_state.bitstreamFilters[kind] = nullptr;
    st->codecpar->codec_type = type;
    if (tags[kind])
        st->codecpar->codec_tag = tags[kind];
    if (*streamCopy[kind])
    {
        setup.streamCopy = 1;
        if (type == AVMEDIA_TYPE_VIDEO)
            setup.displayAspectRatio = g_state.frameAspectRatio;
    }
    else
    {
        const AVCodec* codec = nullptr;
        AVCodecID id;
        if (*codecName[kind])
        {
            codec = FindForcedCodec(*codecName[kind], type, true);
            id = codec->id;
        }
        else
        {
            id = av_guess_codec(file->oformat, nullptr, file->url, nullptr, type);
            codec = avcodec_find_encoder(id);
        }
        AVCodecContext* enc = avcodec_alloc_context3(codec);
        if (!enc)
            throw std::bad_alloc();
        setup.codecContext = enc;
        setup.encoder = codec;
        if (g_state.outputEncoderCount < kMaxConverterStreams)
            g_state.outputEncoders[g_state.outputEncoderCount++] = codec;
        enc->codec_type = type;
        enc->codec_id = id;
        enc->thread_count = g_state.threadCount;
        enc->codec_tag = tags[kind];
        if ((file->oformat->flags & AVFMT_GLOBALHEADER) ||
            (type == AVMEDIA_TYPE_VIDEO && (g_state.videoGlobalHeader & 1)))
            enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        SetContextOptions(g_state.codecOptions[type], enc, masks[kind]);
        // A profile number means something only to the codecs that list it: the H.264 profiles'
        // 66 (Baseline) would make the AAC encoder write another object type.
        if (enc->profile != FF_PROFILE_UNKNOWN && !avcodec_profile_name(id, enc->profile))
            enc->profile = FF_PROFILE_UNKNOWN;
        av_dict_copy(&setup.privateOptions, g_state.privateOptions[type], 0);
        if (type == AVMEDIA_TYPE_VIDEO)
            SetupVideoEncoder(enc, codec, st);
        else if (type == AVMEDIA_TYPE_AUDIO)
            SetupAudioEncoder(enc, codec, st);
        else if (g_state.subtitleLanguage)
            av_dict_set(&st->metadata, "language", g_state.subtitleLanguage, 0);
    }
    *disable[kind] = 0;
    *streamCopy[kind] = 0;
    ReplaceText(codecName[kind], nullptr);
}
} // namespace

void OpenOutputFile(const char* fileName)
{
    if (g_state.outputFileCount >= kMaxConverterFiles)
    {
        ConverterMessage("Too many output files\n");
        Fail();
    }
    if (!strcmp(fileName, "-"))
        fileName = "pipe:";
    std::string unixName = ConverterUnixPath(fileName);
    const AVOutputFormat* format = g_state.forcedOutputFormat;
    if (!format)
        format = av_guess_format(nullptr, unixName.c_str(), nullptr);
    if (!format)
    {
        ConverterMessage("Unable to find a suitable output format for '%s'\n", fileName);
        Fail();
    }
    AVFormatContext* output = nullptr;
    if (avformat_alloc_output_context2(&output, format, nullptr, unixName.c_str()) < 0 || !output)
        throw std::bad_alloc();
    int fileIndex = g_state.outputFileCount++;
    g_state.outputFiles[fileIndex] = output;

    bool haveInputs = g_state.inputFileCount > 0;
    // Audio formats that carry a cover picture (mp3, flac) name PNG as their video codec: they
    // have no video of their own.
    bool formatHasVideo = format->video_codec != AV_CODEC_ID_NONE && format->video_codec != AV_CODEC_ID_PNG;
    bool useVideo = (formatHasVideo || g_state.videoStreamCopy || g_state.videoCodecName) && !g_state.videoDisable &&
                    (!haveInputs || InputsHaveKind(AVMEDIA_TYPE_VIDEO));
    bool useAudio = (format->audio_codec != AV_CODEC_ID_NONE || g_state.audioStreamCopy || g_state.audioCodecName) &&
                    !g_state.audioDisable && (!haveInputs || InputsHaveKind(AVMEDIA_TYPE_AUDIO));
    bool useSubtitle =
        (format->subtitle_codec != AV_CODEC_ID_NONE || g_state.subtitleStreamCopy || g_state.subtitleCodecName) &&
        !g_state.subtitleDisable && (!haveInputs || InputsHaveKind(AVMEDIA_TYPE_SUBTITLE));
    if (useVideo)
        NewStream(output, fileIndex, AVMEDIA_TYPE_VIDEO);
    if (useAudio)
        NewStream(output, fileIndex, AVMEDIA_TYPE_AUDIO);
    if (useSubtitle)
        NewStream(output, fileIndex, AVMEDIA_TYPE_SUBTITLE);
    // The kinds that were not used keep no forced setting for the next file.
    g_state.videoDisable = g_state.audioDisable = g_state.subtitleDisable = 0;

    if (g_state.recordingTimestamp)
    {
        char text[32];
        snprintf(text, sizeof(text), "%lld", static_cast<long long>(g_state.recordingTimestamp * 1000000));
        av_dict_set(&output->metadata, "creation_time", text, 0);
    }
    av_dict_copy(&output->metadata, g_state.pendingMetadata, 0);
    av_dict_free(&g_state.pendingMetadata);

    if ((format->flags & AVFMT_NEEDNUMBER) && !av_filename_number_test(unixName.c_str()))
    {
        PrintOpenError(-33, fileName);
        Fail();
    }
    if (!(format->flags & AVFMT_NOFILE) && avio_open(&output->pb, unixName.c_str(), AVIO_FLAG_WRITE) < 0)
    {
        ConverterMessage("Could not open '%s'\n", fileName);
        Fail();
    }
    output->max_delay = static_cast<int>(g_state.muxMaxDelay * AV_TIME_BASE);
    // Preload and looping are options of the muxers that know them.
    av_opt_set_int(output, "preload", static_cast<int64_t>(g_state.muxPreload * AV_TIME_BASE), AV_OPT_SEARCH_CHILDREN);
    if (g_state.loopOutput >= 0)
        av_opt_set_int(output, "loop", g_state.loopOutput, AV_OPT_SEARCH_CHILDREN);
    SetContextOptions(g_state.formatOptions, output, AV_OPT_FLAG_ENCODING_PARAM);
    g_state.forcedInputFormat = nullptr;
    g_state.forcedOutputFormat = nullptr;
}

int MoveOptionsToContext(TranscodeContext* context)
{
    InitTranscodeContext(context);
    memcpy(context->inputFiles, g_state.inputFiles, sizeof(context->inputFiles));
    context->inputFileCount = g_state.inputFileCount;
    memcpy(context->inputTimestampOffsets, g_state.inputTimestampOffsets, sizeof(context->inputTimestampOffsets));
    memcpy(context->inputTimestampScales, g_state.inputTimestampScales, sizeof(context->inputTimestampScales));
    memcpy(context->inputDecoders, g_state.inputDecoders, sizeof(context->inputDecoders));
    memcpy(context->inputDecoderOptions, g_state.inputDecoderOptions, sizeof(context->inputDecoderOptions));
    context->inputDecoderCount = g_state.inputDecoderCount;
    context->threadCount = g_state.threadCount;
    memcpy(context->outputFiles, g_state.outputFiles, sizeof(context->outputFiles));
    context->outputFileCount = g_state.outputFileCount;
    memcpy(context->outputEncoders, g_state.outputEncoders, sizeof(context->outputEncoders));
    context->outputEncoderCount = g_state.outputEncoderCount;
    memcpy(context->outputStreams, g_state.outputStreams, sizeof(context->outputStreams));
    memcpy(context->streamMaps, g_state.streamMaps, sizeof(context->streamMaps));
    context->streamMapCount = g_state.streamMapCount;
    memcpy(context->metaDataMaps, g_state.metaDataMaps, sizeof(context->metaDataMaps));
    context->metaDataMapCount = g_state.metaDataMapCount;
    context->padTop = g_state.padTop;
    context->padBottom = g_state.padBottom;
    context->padLeft = g_state.padLeft;
    context->padRight = g_state.padRight;
    memcpy(context->padColor, g_state.padColor, sizeof(context->padColor));
    context->cropTop = g_state.cropTop;
    context->cropBottom = g_state.cropBottom;
    context->cropLeft = g_state.cropLeft;
    context->cropRight = g_state.cropRight;
    memcpy(context->frameLimits, g_state.maxFrames, sizeof(context->frameLimits));
    context->sameQuality = g_state.sameQuality;
    context->deinterlace = g_state.deinterlace;
    context->topFieldFirst = g_state.topFieldFirst;
    context->meThreshold = g_state.meThreshold;
    context->recordingTime = g_state.recordingTime;
    context->startTime = g_state.startTime;
    // Two-pass log files: without a prefix of its own every job names them after its first output,
    // so that jobs side by side never share one log file.
    context->passLogPrefix = g_state.passLogPrefix;
    g_state.passLogPrefix = nullptr;
    if (!context->passLogPrefix && context->outputFileCount > 0)
        context->passLogPrefix = CopyText(context->outputFiles[0]->url);
    context->videoSyncMethod = g_state.videoSyncMethod;
    context->audioSyncMethod = g_state.audioSyncMethod;
    context->audioDriftThreshold = g_state.audioDriftThreshold;
    context->copyTimestamps = g_state.copyTimestamps;
    context->shortest = g_state.shortest;
    context->statsFileName = g_state.statsFileName;
    g_state.statsFileName = nullptr;
    context->programId = g_state.programId;
    context->copyInitialNonKeyFrames = g_state.copyInitialNonKeyFrames;
    context->audioVolume = g_state.audioVolume;
    context->inputSync = g_state.inputSync;
    context->pipelined = TranscodePipelined();
    context->fileSizeLimit = std::max<int64_t>(0, g_state.fileSizeLimit - kFileSizeReserve);
    context->dtsDeltaThreshold = g_state.dtsDeltaThreshold;
    context->scalerOptions = g_state.scalerOptions;
    g_state.scalerOptions = nullptr;
    memcpy(context->codecOptions, g_state.codecOptions, sizeof(context->codecOptions));
    memset(g_state.codecOptions, 0, sizeof(g_state.codecOptions));

    // The files, streams and decoder options now belong to the context.
    g_state.inputFileCount = g_state.outputFileCount = 0;
    memset(g_state.inputDecoderOptions, 0, sizeof(g_state.inputDecoderOptions));
    memset(g_state.outputStreams, 0, sizeof(g_state.outputStreams));
    FreeOptionState();
    ResetOptionDefaults();
    return 0;
}

void InitRealMediaSettings(RealMediaSettings* settings)
{
    memset(settings, 0, sizeof(*settings));
    settings->recordingTime = INT64_MAX;
    settings->audioVolume = 256;
    settings->sampleRate = kDefaultAudioSampleRate;
    settings->channels = kDefaultAudioChannels;
    settings->bitsPerSample = 16;
    settings->padColor[0] = 16;
    settings->padColor[1] = 128;
    settings->padColor[2] = 128;
}

static int MoveOptionsToRealMediaSettings(RealMediaSettings* settings)
{
    settings->audioDisabled = g_state.audioDisable;
    settings->videoDisabled = g_state.videoDisable;
    settings->recordingTime = g_state.recordingTime;
    settings->startTime = g_state.startTime;
    settings->fileSizeLimit = std::max<int64_t>(0, g_state.fileSizeLimit - kFileSizeReserve);
    settings->width = g_state.frameWidth;
    settings->height = g_state.frameHeight;
    settings->aspectRatio = g_state.frameAspectRatio;
    settings->frameRate = g_state.frameRate.den ? g_state.frameRate.num / g_state.frameRate.den : 0;
    settings->audioVolume = g_state.audioVolume;
    settings->sampleRate = g_state.audioSampleRate;
    settings->channels = g_state.audioChannels;
    settings->bitsPerSample = g_state.audioSampleFormat == AV_SAMPLE_FMT_U8    ? 8
                              : g_state.audioSampleFormat == AV_SAMPLE_FMT_S32 ? 32
                                                                               : 16;
    settings->padTop = g_state.padTop;
    settings->padBottom = g_state.padBottom;
    settings->padLeft = g_state.padLeft;
    settings->padRight = g_state.padRight;
    memcpy(settings->padColor, g_state.padColor, sizeof(settings->padColor));
    settings->deinterlace = g_state.deinterlace;
    settings->pass = g_state.pass;
    settings->videoBitRate = static_cast<int>(g_state.codecOptions[AVMEDIA_TYPE_VIDEO]->bit_rate);
    settings->audioBitRate = static_cast<int>(g_state.codecOptions[AVMEDIA_TYPE_AUDIO]->bit_rate);
    settings->realMediaPlatform = g_state.realMediaPlatform;
    FreeOptionState();
    ResetOptionDefaults();
    return 0;
}

// Parses a command line into the option state and hands the result over; -1 when it failed.
template <typename Finish> static int RunParse(const char* commandLine, PlainWordCallback plainWords, Finish finish)
{
    ResetOptionDefaults();
    int wordCount = 0;
    std::unique_ptr<char*, void (*)(void*)> words(SplitCommandLine(commandLine ? commandLine : "", &wordCount), free);
    if (!words)
        return -1;
    g_programLabel = wordCount > 0 ? words.get()[0] : "";
    int result = -1;
    try
    {
        CreateOptionContexts();
        ParseOptions(wordCount, words.get(), plainWords);
        finish();
        result = 0;
    }
    catch (const ConverterParseFailure&)
    {
    }
    catch (const std::bad_alloc&)
    {
        ConverterMessage("%s: memory allocation error occurred\n", g_programLabel);
        ConverterFatalExit(0);
    }
    g_programLabel = "";
    return result;
}

int ParseJobCommandLine(const char* commandLine, TranscodeContext* context)
{
    return RunParse(commandLine, OpenOutputFile, [context] {
        if (g_state.outputFileCount == 0)
        {
            ConverterMessage("At least one output file must be specified\n");
            ConverterFatalExit(1);
        }
        if (g_state.inputFileCount == 0)
        {
            ConverterMessage("At least one input file must be specified\n");
            ConverterFatalExit(1);
        }
        MoveOptionsToContext(context);
    });
}

int ParseRealMediaCommandLine(const char* commandLine, RealMediaSettings* settings)
{
    return RunParse(commandLine, nullptr, [settings] { MoveOptionsToRealMediaSettings(settings); });
}
