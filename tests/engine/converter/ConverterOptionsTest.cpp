#include "RwTest.h"

#include "TestMedia.h"
#include "engine/converter/CommandLine.h"
#include "engine/Engine.h"
#include "engine/realmedia/RealMediaSettings.h"
#include "engine/converter/TranscodeContext.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

extern "C"
{
#include <libavutil/dict.h>
#include <libavutil/opt.h>
}

namespace
{
struct ParseOutcome
{
    int result;
    std::string messages;
};

// Parses "reelwright -y -i "input" ARGS "output"" into context the way a job does, with the
// messages the parse wrote to the standard error stream.
ParseOutcome ParseArgs(TranscodeContext* context, const std::string& args, const std::string& output,
                       const std::string& input = rwtest::Media(rwtest::kClipMp4))
{
    std::string commandLine = "reelwright -y -i \"" + input + "\" " + args + " \"" + output + "\"";
    std::lock_guard<std::mutex> lock(g_optionParserLock);
    testing::internal::CaptureStderr();
    int result = ParseJobCommandLine(commandLine.c_str(), context);
    return ParseOutcome{result, testing::internal::GetCapturedStderr()};
}

ParseOutcome ParseLine(TranscodeContext* context, const std::string& commandLine)
{
    std::lock_guard<std::mutex> lock(g_optionParserLock);
    testing::internal::CaptureStderr();
    int result = ParseJobCommandLine(commandLine.c_str(), context);
    return ParseOutcome{result, testing::internal::GetCapturedStderr()};
}

// A parsed context that frees itself.
struct Context : TranscodeContext
{
    Context()
    {
        InitTranscodeContext(this);
    }
    ~Context()
    {
        FreeTranscodeContextContents(this);
    }
    AVCodecContext* Video()
    {
        return outputStreams[0][0].codecContext;
    }
    AVCodecContext* Audio()
    {
        return outputStreams[0][1].codecContext;
    }
};

bool FileExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}
} // namespace

TEST(SplitCommandLineTest, SplitsWordsAsTheParserExpects)
{
    struct Case
    {
        const char* text;
        std::vector<std::string> words;
    } cases[] = {
        {"prog -y -i \"/a b/in.mp4\" -vcodec mpeg4 \"/c d/out.mp4\"",
         {"prog", "-y", "-i", "/a b/in.mp4", "-vcodec", "mpeg4", "/c d/out.mp4"}},
        {"a  b\t\tc\r\nd", {"a", "b", "c", "d"}},
        {"a \"\" b", {"a", "", "b"}},
        {"a\"b c\"d", {"ab cd"}},
        {"back\\slash \"x\"", {"back\\slash", "x"}},
        {"", {}},
        {"   ", {}},
        {"\"\" \"\" \"\" \"\"", {"", "", "", ""}},
    };
    for (const Case& c : cases)
    {
        int count = -1;
        char** words = SplitCommandLine(c.text, &count);
        ASSERT_NE(words, nullptr);
        ASSERT_EQ(count, static_cast<int>(c.words.size())) << c.text;
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(words[i], c.words[i]) << c.text;
        EXPECT_EQ(words[count], nullptr);
        free(words);
    }
}

TEST(SplitCommandLineTest, LongLinesOfShortWordsFitTheirBlock)
{
    // One-character words: the most pointers per character, all 8 bytes wide.
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "x ";
    int count = 0;
    char** words = SplitCommandLine(text.c_str(), &count);
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(count, 5000);
    EXPECT_STREQ(words[4999], "x");
    EXPECT_EQ(words[5000], nullptr);
    free(words);
}

TEST(SplitCommandLineTest, SegmentingFollowsTheParsedOptions)
{
    struct Case
    {
        const char* arguments;
        bool segmented;
    } cases[] = {
        {"-vcodec mpeg4 -t 10 ", true},
        {"-fs 1000000 -vcodec mpeg4", true},
        {"-vcodec mpeg4 -t\t10", true}, // any blank separates words
        {"-fs\n5000000", true},
        {"-vcodec mpeg4 \"-t\" 10", true},
        {"-vcodec mpeg4 -t", true}, // the parse itself refuses the missing value
        {"-vcodec mpeg4", false},
        {"-metadata \"title=a -t 5\" -ab 128", false},
        {"-metadata -t -ab 128", false}, // "-t" is the metadata value here
        {"-bufsize \"x -fs 9\"", false},
        {"-vcodec mpeg4 -- -t 10", false},
        {"-ss 5 -tt 3", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.segmented, IsSegmentedJob(c.arguments)) << c.arguments;
}

TEST(OptionTableTest, HasEveryRowInOrderWithDefaultLast)
{
    const char* const names[] = {"f",
                                 "i",
                                 "y",
                                 "map",
                                 "map_meta_data",
                                 "t",
                                 "fs",
                                 "ss",
                                 "itsoffset",
                                 "itsscale",
                                 "timestamp",
                                 "metadata",
                                 "dframes",
                                 "benchmark",
                                 "dump",
                                 "hex",
                                 "re",
                                 "loop_input",
                                 "loop_output",
                                 "v",
                                 "loglevel",
                                 "target",
                                 "threads",
                                 "vsync",
                                 "async",
                                 "adrift_threshold",
                                 "vglobal",
                                 "copyts",
                                 "shortest",
                                 "dts_delta_threshold",
                                 "programid",
                                 "xerror",
                                 "copyinkf",
                                 "b",
                                 "vb",
                                 "vframes",
                                 "r",
                                 "s",
                                 "aspect",
                                 "pix_fmt",
                                 "croptop",
                                 "cropbottom",
                                 "cropleft",
                                 "cropright",
                                 "padtop",
                                 "padbottom",
                                 "padleft",
                                 "padright",
                                 "padcolor",
                                 "intra",
                                 "vn",
                                 "vdt",
                                 "qscale",
                                 "rc_override",
                                 "vcodec",
                                 "me_threshold",
                                 "sameq",
                                 "pass",
                                 "passlogfile",
                                 "deinterlace",
                                 "psnr",
                                 "vstats",
                                 "vstats_file",
                                 "intra_matrix",
                                 "inter_matrix",
                                 "top",
                                 "dc",
                                 "vtag",
                                 "newvideo",
                                 "qphist",
                                 "force_fps",
                                 "ab",
                                 "aframes",
                                 "aq",
                                 "ar",
                                 "ac",
                                 "an",
                                 "acodec",
                                 "atag",
                                 "vol",
                                 "newaudio",
                                 "alang",
                                 "sample_fmt",
                                 "sn",
                                 "scodec",
                                 "newsubtitle",
                                 "slang",
                                 "stag",
                                 "vc",
                                 "tvstd",
                                 "isync",
                                 "muxdelay",
                                 "muxpreload",
                                 "absf",
                                 "vbsf",
                                 "sbsf",
                                 "apre",
                                 "vpre",
                                 "spre",
                                 "rv40_platform",
                                 "default"};
    const OptionDef* table = ConverterOptionTable();
    int rows = 0;
    while (table[rows].name)
        ++rows;
    ASSERT_EQ(rows, 101);
    for (int i = 0; i < rows; ++i)
        EXPECT_STREQ(table[i].name, names[i]);
    struct Flags
    {
        const char* name;
        int flags;
    } telling[] = {{"vn", 0x11},      {"an", 0x22},        {"b", 0x411},
                   {"ab", 0x421},     {"vol", 0x25},       {"t", 0x401},
                   {"fs", 0x801},     {"loglevel", 0x401}, {"rv40_platform", 0x401},
                   {"default", 0x435}};
    for (const Flags& row : telling)
        EXPECT_EQ(FindOption(row.name)->flags, row.flags) << row.name;
    EXPECT_EQ(FindOption("nosuch")->name, nullptr);
}

TEST(ConverterOptionsTest, AcceptedOptionsSetTheirValues)
{
    std::string out = rwtest::ScratchDir("options-accepted") + "/out.mp4";
    struct Case
    {
        const char* args;
        std::function<void(Context&)> check;
    } cases[] = {
        {"-t 00:01:30", [](Context& c) { EXPECT_EQ(c.recordingTime, 90000000); }},
        {"-ss 2.5", [](Context& c) { EXPECT_EQ(c.startTime, 2500000); }},
        {"-fs 10000000", [](Context& c) { EXPECT_EQ(c.fileSizeLimit, 10000000 - 307200); }},
        {"-fs 200000", [](Context& c) { EXPECT_EQ(c.fileSizeLimit, 0); }},
        {"-vol 128", [](Context& c) { EXPECT_EQ(c.audioVolume, 512); }},
        {"-vol -128", [](Context& c) { EXPECT_EQ(c.audioVolume, 0); }},
        {"-s 176x144 -r 15",
         [](Context& c) {
             EXPECT_EQ(c.Video()->width, 176);
             EXPECT_EQ(c.Video()->height, 144);
             EXPECT_EQ(c.Video()->time_base.num, 1);
             EXPECT_EQ(c.Video()->time_base.den, 15);
         }},
        {"-s 320x180 -padtop 30 -padbottom 30",
         [](Context& c) {
             EXPECT_EQ(c.Video()->height, 240);
             EXPECT_EQ(c.padTop, 30);
             EXPECT_EQ(c.padBottom, 30);
         }},
        {"-padcolor FF0000",
         [](Context& c) {
             EXPECT_EQ(c.padColor[0], 76);
             EXPECT_EQ(c.padColor[1], 85);
             EXPECT_EQ(c.padColor[2], 255);
         }},
        {"-croptop 20 -cropbottom 20", [](Context& c) { EXPECT_EQ(c.Video()->height, 200); }},
        {"-ar 22050 -ac 1",
         [](Context& c) {
             EXPECT_EQ(c.Audio()->sample_rate, 22050);
             EXPECT_EQ(c.Audio()->ch_layout.nb_channels, 1);
         }},
        {"-g 250 -bf 2 -maxrate 900k -bufsize 1000k -level 30",
         [](Context& c) {
             EXPECT_EQ(c.Video()->gop_size, 250);
             EXPECT_EQ(c.Video()->max_b_frames, 2);
             EXPECT_EQ(c.Video()->rc_max_rate, 900000);
             EXPECT_EQ(c.Video()->rc_buffer_size, 1000000);
             EXPECT_EQ(c.Video()->level, 30);
         }},
        {"-vcodec libx264 -crf 23 -coder 1 -partitions +parti4x4 -me_method hex -profile baseline",
         [](Context& c) {
             AVDictionary* options = c.outputStreams[0][0].privateOptions;
             for (const char* name : {"crf", "coder", "partitions", "me_method", "profile"})
                 EXPECT_NE(av_dict_get(options, name, nullptr, 0), nullptr) << name;
             EXPECT_STREQ(av_dict_get(options, "crf", nullptr, 0)->value, "23");
             EXPECT_EQ(av_dict_get(c.outputStreams[0][1].privateOptions, "crf", nullptr, 0), nullptr);
         }},
        {"-vcodec copy -acodec copy -aspect 16:9",
         [](Context& c) {
             EXPECT_NEAR(c.outputStreams[0][0].displayAspectRatio, 16.0 / 9.0, 0.001);
             EXPECT_EQ(c.outputStreams[0][0].streamCopy, 1);
             EXPECT_EQ(c.outputStreams[0][1].streamCopy, 1);
             EXPECT_EQ(c.Video(), nullptr);
         }},
        {"-vn 1", [](Context& c) { EXPECT_EQ(c.outputFiles[0]->nb_streams, 1u); }},
        {"-an", [](Context& c) { EXPECT_EQ(c.outputFiles[0]->nb_streams, 1u); }},
        {"-s 641x480", [](Context& c) { EXPECT_EQ(c.Video()->width, rwtest::kClipWidth); }},
        {"-rv40_platform 3 -vtag DIVX", [](Context& c) { EXPECT_EQ(c.Video()->codec_tag, MKTAG('D', 'I', 'V', 'X')); }},
        {"-passlogfile /tmp/own", [](Context& c) { EXPECT_STREQ(c.passLogPrefix, "/tmp/own"); }},
        // Whole numbers are exact over the whole 64-bit range; codec threads are bounded.
        // The limit keeps 300 KiB in reserve for what the muxer writes after the check.
        {"-fs 9223372036854775807", [](Context& c) { EXPECT_EQ(c.fileSizeLimit, INT64_MAX - 307200); }},
        {"-fs 1e6", [](Context& c) { EXPECT_EQ(c.fileSizeLimit, 1000000 - 307200); }},
        {"-threads 100000", [](Context& c) { EXPECT_EQ(c.threadCount, 16); }},
        {"-threads 0", [](Context& c) { EXPECT_EQ(c.threadCount, 0); }},
        {"-b 2147483", [](Context& c) { EXPECT_EQ(c.Video()->bit_rate, 2147483000); }},
        {"-ab 0.5", [](Context& c) { EXPECT_EQ(c.Audio()->bit_rate, 500); }},
        {"-s 20000x240", [](Context& c) { EXPECT_EQ(c.Video()->width, rwtest::kClipWidth); }},
        {"-y -benchmark -dump -hex -qphist -xerror -shortest -copyts -isync",
         [](Context& c) {
             EXPECT_EQ(c.shortest, 1);
             EXPECT_EQ(c.copyTimestamps, 1);
             EXPECT_EQ(c.inputSync, 1);
         }},
        {"-map 0:0 -map 0:1:0:0 -map_meta_data 0:0",
         [](Context& c) {
             ASSERT_EQ(c.streamMapCount, 2);
             EXPECT_EQ(c.streamMaps[0].stream, 0);
             EXPECT_EQ(c.streamMaps[0].syncStream, 0);
             EXPECT_EQ(c.streamMaps[1].stream, 1);
             EXPECT_EQ(c.streamMaps[1].syncStream, 0);
             EXPECT_EQ(c.metaDataMapCount, 1);
         }},
        // A device is a format too, although its library loads only when a name asks for it.
        {"-f lavfi", [](Context& c) { EXPECT_STREQ(c.outputFiles[0]->oformat->name, "mp4"); }},
        {"-vframes 10 -aframes 20 -async 1 -vsync 0",
         [](Context& c) {
             EXPECT_EQ(c.frameLimits[0], 10);
             EXPECT_EQ(c.frameLimits[1], 20);
             EXPECT_EQ(c.audioSyncMethod, 1);
             EXPECT_EQ(c.videoSyncMethod, 0);
         }},
    };
    for (const Case& c : cases)
    {
        Context context;
        ParseOutcome outcome = ParseArgs(&context, c.args, out);
        ASSERT_EQ(outcome.result, 0) << c.args << "\n" << outcome.messages;
        c.check(context);
    }
}

TEST(ConverterOptionsTest, BitRatesReachExactlyOneKind)
{
    std::string out = rwtest::ScratchDir("options-bitrates") + "/out.mp4";
    Context plain;
    ASSERT_EQ(ParseArgs(&plain, "", out).result, 0);
    const int64_t videoDefault = plain.Video()->bit_rate, audioDefault = plain.Audio()->bit_rate;
    struct Case
    {
        const char* args;
        int64_t video, audio;
    } cases[] = {
        {"-ab 128", videoDefault, 128000}, {"-b 500", 500000, audioDefault}, {"-vb 300", 300000, audioDefault},
        {"-vb 300 -ab 64", 300000, 64000}, {"-ab 64 -b 700", 700000, 64000},
    };
    for (const Case& c : cases)
    {
        Context context;
        ASSERT_EQ(ParseArgs(&context, c.args, out).result, 0) << c.args;
        EXPECT_EQ(context.Video()->bit_rate, c.video) << c.args;
        EXPECT_EQ(context.Audio()->bit_rate, c.audio) << c.args;
    }
}

TEST(ConverterOptionsTest, WarnsAboutBitRatesGivenInBitsAndBadFrameSizes)
{
    std::string out = rwtest::ScratchDir("options-warnings") + "/out.mp4";
    struct Case
    {
        const char* args;
        const char* message;
    } cases[] = {
        {"-ab 0.5", "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s\n"},
        {"-s 641x480", "Incorrect frame size\n"},
    };
    for (const Case& c : cases)
    {
        Context context;
        ParseOutcome outcome = ParseArgs(&context, c.args, out);
        EXPECT_EQ(outcome.result, 0) << c.args;
        EXPECT_NE(outcome.messages.find(c.message), std::string::npos) << c.args << ": " << outcome.messages;
    }
    Context context;
    ASSERT_EQ(ParseArgs(&context, "-ab 128", out).messages.find("WARNING"), std::string::npos);
    // Codec threads are real threads: nothing to warn about.
    Context threads;
    const std::string said = ParseArgs(&threads, "-threads 0", out).messages;
    EXPECT_EQ(said.find("thread"), std::string::npos) << said;
}

TEST(ConverterOptionsTest, ErrorsFailTheParseWithTheirMessage)
{
    std::string dir = rwtest::ScratchDir("options-errors");
    std::string out = dir + "/out.mp4";
    struct Case
    {
        const char* args;
        const char* message;
    } cases[] = {
        {"-foo 1", "reelwright: unrecognized option 'foo'\n"},
        {"-ar abc", "Expected number for ar but found: abc\n"},
        {"-ac 1.5", "Expected int64 for ac but found 1.5\n"},
        {"-rv40_platform 11", "The value for rv40_platform was 11 which is not within -10.000000 - 10.000000\n"},
        {"-t xyz", "Invalid duration specification for t: xyz\n"},
        {"-ss 1:x", "Invalid duration specification for ss: 1:x\n"},
        {"-pass 3", "pass number can be only 1 or 2\n"},
        {"-vcodec nosuch", "Unknown encoder 'nosuch'\n"},
        {"-acodec mpeg4", "Invalid encoder type 'mpeg4'\n"},
        {"-r abc", "Incorrect value for r: abc\n"},
        {"-aspect 0", "Incorrect aspect ratio specification.\n"},
        {"-pix_fmt nosuch", "Unknown pixel format requested: nosuch\n"},
        {"-padtop 3", "Top pad size must be a multiple of 2\n"},
        {"-padleft -2", "Incorrect left pad size\n"},
        {"-croptop 240", "Vertical crop dimensions are outside the range of the original image.\n"},
        {"-cropleft 1", "Left crop size must be a multiple of 2\n"},
        {"-qscale 0", "qscale must be > 0.0 and <= 255\n"},
        {"-metadata novalue", "Missing =\n"},
        {"-vbsf nosuch", "Unknown bitstream filter nosuch\n"},
        {"-vpre nosuch", "File for preset 'nosuch' not found\n"},
        {"-target xyz", "Unknown target: xyz\n"},
        {"-f nosuch", "Unknown input or output format: nosuch\n"},
        {"-g abc", "Invalid value 'abc' for option 'g'\n"},
        {"-intra_matrix 1,2,3", "Syntax error in matrix \"1,2,3\" at coeff 2\n"},
        {"-b -100", "Invalid value '-100' for option 'b'\n"},
        {"-b 99999999999", "Invalid value '99999999999' for option 'b'\n"},
        {"-ab 64k", "Invalid value '64k' for option 'ab'\n"},
        {"-fs 9223372036854775808", "The value for fs was 9223372036854775808 which is not within"},
        {"-vframes 1e10", "The value for vframes was 1e10 which is not within"},
        {"-threads -1", "The value for threads was -1 which is not within"},
        {"-ss -5", "Invalid value '-5' for option 'ss'\n"},
        {"-padtop 2147483646 -padbottom 2147483646", "Invalid value '2147483646' for option 'padtop'\n"},
        {"-padleft 2147483646 -padright 2147483646", "Invalid value '2147483646' for option 'padleft'\n"},
        {"-padtop 8000 -padbottom 8200", "with its pad bands is larger than 16384x16384\n"},
        {"-vn", "At least one output file must be specified\n"},
    };
    for (const Case& c : cases)
    {
        Context context;
        ParseOutcome outcome = ParseArgs(&context, c.args, out);
        EXPECT_EQ(outcome.result, -1) << c.args;
        EXPECT_NE(outcome.messages.find(c.message), std::string::npos) << c.args << ": " << outcome.messages;
        EXPECT_EQ(context.inputFileCount, 0) << c.args;
        EXPECT_EQ(context.outputFileCount, 0) << c.args;
    }
}

TEST(ConverterOptionsTest, FilesThatCannotBeOpenedFailTheParse)
{
    std::string dir = rwtest::ScratchDir("options-files");
    struct Case
    {
        std::string commandLine;
        const char* message;
    } cases[] = {
        {"reelwright -y -i \"" + dir + "/missing.mp4\" \"" + dir + "/out.mp4\"", "no such file or directory\n"},
        {"reelwright -y -i \"" + rwtest::Media(rwtest::kGarbageAvi) + "\" \"" + dir + "/out.mp4\"",
         ": Unknown format\n"},
        {"reelwright -y -i \"" + rwtest::Media(rwtest::kEmptyMp4) + "\" \"" + dir + "/out.mp4\"", ": Unknown format\n"},
        {"reelwright -y -i \"" + rwtest::Media(rwtest::kTruncatedMp4) + "\" \"" + dir + "/out.mp4\"",
         ": Error while parsing header\n"},
        {"reelwright -y -i \"" + rwtest::Media(rwtest::kClipMp4) + "\" \"" + dir + "/no/such/folder/out.mp4\"",
         "Could not open '"},
        {"reelwright -y -i \"" + rwtest::Media(rwtest::kClipMp4) + "\" \"" + dir + "/out.nosuchext\"",
         "Unable to find a suitable output format for '"},
        {"reelwright -y \"" + dir + "/out.mp4\"", "At least one input file must be specified\n"},
        {"reelwright -y -i", "reelwright: missing argument for option 'i'\n"},
        {"reelwright -y -i \"" + rwtest::Media(rwtest::kClipMp4) + "\" -threads",
         "missing argument for option 'threads'\n"},
        {"", "At least one output file must be specified\n"},
    };
    for (const Case& c : cases)
    {
        Context context;
        ParseOutcome outcome = ParseLine(&context, c.commandLine);
        EXPECT_EQ(outcome.result, -1) << c.commandLine;
        EXPECT_NE(outcome.messages.find(c.message), std::string::npos) << c.commandLine << ": " << outcome.messages;
    }
}

TEST(ConverterOptionsTest, EachParseStartsFromTheDefaults)
{
    std::string out = rwtest::ScratchDir("options-defaults") + "/out.mp4";
    Context plain;
    ASSERT_EQ(ParseArgs(&plain, "", out).result, 0);
    {
        Context first;
        ASSERT_EQ(ParseArgs(&first, "-ab 64 -vol 10 -t 5 -ss 1 -padtop 10 -padbottom 10 -vframes 3", out).result, 0);
    }
    {
        Context failed;
        ASSERT_EQ(ParseArgs(&failed, "-ab 32 -foo 1", out).result, -1);
    }
    Context second;
    ASSERT_EQ(ParseArgs(&second, "", out).result, 0);
    EXPECT_EQ(second.Audio()->bit_rate, plain.Audio()->bit_rate);
    EXPECT_EQ(second.audioVolume, 256);
    EXPECT_EQ(second.recordingTime, INT64_MAX);
    EXPECT_EQ(second.startTime, 0);
    EXPECT_EQ(second.padTop, 0);
    EXPECT_EQ(second.frameLimits[0], 2147483647);
    EXPECT_EQ(second.Video()->height, rwtest::kClipHeight);
    // The output takes the input's own sample rate and channels.
    EXPECT_EQ(second.Audio()->sample_rate, rwtest::kClipSampleRate);
    EXPECT_EQ(second.Audio()->ch_layout.nb_channels, rwtest::kClipChannels);
}

TEST(ConverterOptionsTest, DoubleDashMakesLaterWordsOutputFiles)
{
    std::string dir = rwtest::ScratchDir("options-dashes");
    Context context;
    ParseOutcome outcome =
        ParseLine(&context, "reelwright -y -i \"" + rwtest::Media(rwtest::kClipMp4) + "\" -- \"" + dir + "/-out.mp4\"");
    ASSERT_EQ(outcome.result, 0) << outcome.messages;
    EXPECT_EQ(context.outputFileCount, 1);
    EXPECT_TRUE(FileExists(dir + "/-out.mp4"));
}

TEST(ConverterOptionsTest, JobsSideBySideGetTheirOwnPassLogNames)
{
    std::string dir = rwtest::ScratchDir("options-passlog");
    Context first, second;
    ASSERT_EQ(ParseArgs(&first, "-pass 1", dir + "/a.mp4").result, 0);
    ASSERT_EQ(ParseArgs(&second, "-pass 1", dir + "/b.mp4").result, 0);
    ASSERT_NE(first.passLogPrefix, nullptr);
    ASSERT_NE(second.passLogPrefix, nullptr);
    EXPECT_STRNE(first.passLogPrefix, second.passLogPrefix);
}

TEST(ConverterOptionsTest, RealMediaArgumentsFillTheirRecord)
{
    struct Case
    {
        const char* args;
        std::function<void(const RealMediaSettings&)> check;
    } cases[] = {
        {"-r 30000/1001 -s 320x240 -vb 500 -ab 64",
         [](const RealMediaSettings& s) {
             EXPECT_EQ(s.frameRate, 29);
             EXPECT_EQ(s.width, 320);
             EXPECT_EQ(s.height, 240);
             EXPECT_EQ(s.videoBitRate, 500000);
             EXPECT_EQ(s.audioBitRate, 64000);
             EXPECT_EQ(s.realMediaPlatform, 0);
         }},
        {"-rv40_platform 5 -fs 10000000 -t 60 -vn 1 -an",
         [](const RealMediaSettings& s) {
             EXPECT_EQ(s.realMediaPlatform, 5);
             EXPECT_EQ(s.fileSizeLimit, 10000000 - 307200);
             EXPECT_EQ(s.recordingTime, 60000000);
             EXPECT_EQ(s.videoDisabled, 1);
             EXPECT_EQ(s.audioDisabled, 1);
             EXPECT_EQ(s.frameRate, 0);
         }},
        {"-ar 44100 -ac 1 -vol 10 -sample_fmt u8 ignored.rm",
         [](const RealMediaSettings& s) {
             EXPECT_EQ(s.sampleRate, 44100);
             EXPECT_EQ(s.channels, 1);
             EXPECT_EQ(s.audioVolume, 276);
             EXPECT_EQ(s.bitsPerSample, 8);
             EXPECT_EQ(s.recordingTime, INT64_MAX);
         }},
    };
    for (const Case& c : cases)
    {
        RealMediaSettings settings;
        InitRealMediaSettings(&settings);
        std::lock_guard<std::mutex> lock(g_optionParserLock);
        ASSERT_EQ(ParseRealMediaCommandLine((std::string("reelwright ") + c.args).c_str(), &settings), 0) << c.args;
        c.check(settings);
    }
    RealMediaSettings settings;
    InitRealMediaSettings(&settings);
    std::lock_guard<std::mutex> lock(g_optionParserLock);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ParseRealMediaCommandLine("reelwright -rv40_platform 11", &settings), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not within"), std::string::npos);
    EXPECT_EQ(settings.realMediaPlatform, 0);
    EXPECT_EQ(settings.recordingTime, INT64_MAX);
}
