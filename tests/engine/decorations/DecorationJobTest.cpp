#include "RwTest.h"

#include "MediaJobs.h"
#include "TestMedia.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>


namespace
{
const char kArguments[] = "-vcodec mpeg4 -qscale 2 -s 320x240 -r 25 -an";
const int kFrames = rwtest::kClipFrames;

using DecodedClip = mediajobs::Decoded;

// Pixels of rows [top, bottom) of frame that differ clearly from the undecorated conversion.
int ChangedPixels(const DecodedClip& decorated, const DecodedClip& plain, int frame, int top, int bottom)
{
    int changed = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < decorated.width; ++x)
        {
            int i = y * decorated.width + x;
            changed += std::abs(decorated.luma[frame][i] - plain.luma[frame][i]) > 60;
        }
    return changed;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    for (int c; f && (c = std::fgetc(f)) != EOF;)
        bytes.push_back(static_cast<uint8_t>(c));
    if (f)
        std::fclose(f);
    return bytes;
}

std::vector<uint8_t> Encoded(const std::u16string& text, UINT codePage, const std::vector<uint8_t>& mark = {})
{
    std::vector<uint8_t> out = mark;
    if (codePage == 1200)
    {
        for (char16_t c : text)
            out.push_back(c & 0xFF), out.push_back(c >> 8);
        return out;
    }
    const WCHAR* wide = reinterpret_cast<const WCHAR*>(text.c_str());
    int n = ::WideCharToMultiByte(codePage, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::vector<char> bytes(n);
    ::WideCharToMultiByte(codePage, 0, wide, static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

DecodedClip Convert(const std::string& output, const JobSettings& settings)
{
    EXPECT_EQ(kEncoderDone, mediajobs::RunJob(settings).state);
    return mediajobs::Decode(output);
}

class DecorationJobTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = rwtest::ScratchDir("DecorationJob");
        const std::string output = dir + "/plain.avi";
        plain = Convert(output, rwtest::MakeJobSettings(rwtest::Media(rwtest::kClipMp4), output, kArguments));
    }
    static std::string dir;
    static DecodedClip plain;
};
std::string DecorationJobTest::dir;
DecodedClip DecorationJobTest::plain;
}

TEST_F(DecorationJobTest, SubtitlesInEveryEncodingAtTheirTimes)
{
    ASSERT_EQ(kFrames, static_cast<int>(plain.luma.size()));
    // Lines in the middle of the picture (margin 100), away from the frame counter at the bottom.
    const std::u16string srt = u"1\r\n00:00:00,500 --> 00:00:01,000\r\nFIRST LINE\r\n\r\n"
                               u"2\r\n00:00:02,000 --> 00:00:02,500\r\nSECOND \u00c9\r\n";
    struct Case
    {
        const char* name;
        std::vector<uint8_t> bytes;
        bool companion; // found beside the source instead of named in the settings
    } cases[] = {
        {"utf8bom", Encoded(srt, CP_UTF8, {0xEF, 0xBB, 0xBF}), false},
        {"utf8", Encoded(srt, CP_UTF8), false},
        {"utf16", Encoded(srt, 1200, {0xFF, 0xFE}), false},
        {"ansi", Encoded(srt, CP_ACP), false},
        {"Film", Encoded(srt, CP_UTF8), true},
    };
    const int top = 240 - 100 - 16, bottom = 240 - 100;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string subtitles = dir + "/" + c.name + ".srt";
        WriteBytes(subtitles, c.bytes);
        const std::string output = dir + "/" + c.name + ".avi";
        std::string source = rwtest::Media(rwtest::kClipMp4);
        if (c.companion)
        {
            source = dir + "/Film.mp4"; // beside Film.srt
            WriteBytes(source, ReadBytes(rwtest::Media(rwtest::kClipMp4)));
        }
        JobSettings settings = rwtest::MakeJobSettings(source, output, kArguments);
        settings.subtitleMode = c.companion ? kSubtitleBesideSource : kSubtitleGivenFile;
        settings.subtitleMargin = 100;
        const std::string win32 = rwtest::ToWin32Path(subtitles);
        ::MultiByteToWideChar(CP_UTF8, 0, win32.c_str(), -1, settings.subtitleFile, kJobSubtitleFileCapacity);
        DecodedClip decorated = Convert(output, settings);
        ASSERT_EQ(kFrames, static_cast<int>(decorated.luma.size()));
        struct Moment
        {
            int frame;
            bool text;
        } moments[] = {{5, false}, {15, true}, {24, true}, {30, false}, {52, true}, {60, true}, {66, false}};
        for (const Moment& m : moments)
        {
            int changed = ChangedPixels(decorated, plain, m.frame, top, bottom);
            if (m.text)
                EXPECT_GT(changed, 60) << "frame " << m.frame;
            else
                EXPECT_LT(changed, 10) << "frame " << m.frame;
            EXPECT_LT(ChangedPixels(decorated, plain, m.frame, 0, top - 4), 10) << "frame " << m.frame;
        }
    }
}

TEST_F(DecorationJobTest, WatermarkBoxInTheTopLeftCorner)
{
    const std::string output = dir + "/watermark.avi";
    JobSettings settings = rwtest::MakeJobSettings(rwtest::Media(rwtest::kClipMp4), output, kArguments);
    settings.decorationFlags = kDecorationTextWatermark;
    settings.placement[4] = 255;
    settings.watermarkFontHeight = 24;
    settings.watermarkFontStyle = FW_BOLD;
    ::lstrcpyW(settings.watermarkFontName, L"Tahoma");
    settings.watermarkTextColor = 0xFFFFFF;
    settings.watermarkBackColor = 0x0000FF; // blue, as stored in the picture
    ::lstrcpyW(settings.watermarkText, L"RW");
    DecodedClip decorated = Convert(output, settings);
    ASSERT_EQ(kFrames, static_cast<int>(decorated.luma.size()));
    for (int frame : {0, 37, 74})
    {
        // The box's corner is blue: low luma, high blue difference.
        EXPECT_LT(decorated.luma[frame][1 * 320 + 1], 60) << frame;
        EXPECT_GT(decorated.blue[frame][0], 200) << frame;
        // Far from the box the picture is the plain conversion's.
        EXPECT_LT(ChangedPixels(decorated, plain, frame, 120, 200), 10) << frame;
    }
}

TEST_F(DecorationJobTest, MissingDecorationFilesAreLoggedAndLeftOut)
{
    rwtest::LogRecorder log;
    const std::string output = dir + "/missing.avi";
    JobSettings settings = rwtest::MakeJobSettings(rwtest::Media(rwtest::kClipMp4), output, kArguments);
    settings.decorationFlags = kDecorationLogo;
    std::snprintf(settings.logoList, sizeof(settings.logoList), "%s", (dir + "/no-logo.png").c_str());
    settings.logoInterval = 1000;
    settings.subtitleMode = kSubtitleGivenFile;
    ::lstrcpyW(settings.subtitleFile, L"Z:\\no\\such\\subtitles.srt");
    DecodedClip decorated = Convert(output, settings);
    ASSERT_EQ(kFrames, static_cast<int>(decorated.luma.size()));
    EXPECT_LT(ChangedPixels(decorated, plain, 10, 0, 240), 10);
    EXPECT_GE(rwtest::LogRecorder::CountContaining("no-logo.png"), 1);
    EXPECT_EQ(1, rwtest::LogRecorder::CountContaining("Subtitles left out: the subtitle file cannot be opened"));
}

// Subtitles=Automatic beside a source without a subtitle file, and automatic codec threads: the
// job's log says nothing of either, as nothing went wrong.
TEST_F(DecorationJobTest, NothingToSayIsNotLogged)
{
    rwtest::LogRecorder log;
    const std::string lone = rwtest::ScratchDir("DecorationJobLone");
    const std::string source = lone + "/clip.mp4";
    WriteBytes(source, ReadBytes(rwtest::Media(rwtest::kClipMp4)));
    const std::string output = lone + "/clip.avi";
    JobSettings settings = rwtest::MakeJobSettings(source, output, std::string(kArguments) + " -threads 0");
    settings.subtitleMode = kSubtitleBesideSource;
    DecodedClip decorated = Convert(output, settings);
    ASSERT_EQ(kFrames, static_cast<int>(decorated.luma.size()));
    EXPECT_LT(ChangedPixels(decorated, plain, 10, 0, 240), 10);
    for (const auto& line : rwtest::LogRecorder::Snapshot())
    {
        EXPECT_EQ(std::string::npos, line.second.find("Subtitles")) << line.second;
        EXPECT_EQ(std::string::npos, line.second.find("thread")) << line.second;
    }
}
