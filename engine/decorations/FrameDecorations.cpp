#include "engine/decorations/FrameDecorations.h"

#include "engine/decorations/LogoSequence.h"
#include "engine/decorations/SubtitleRenderer.h"
#include "engine/decorations/TextWatermark.h"

#include <cstdio>

int CreateDecorations(const JobSettings& s, TextWatermark*& watermark, LogoSequence*& logo,
                      std::vector<std::string>& log)
{
    int result = 0;
    if ((s.decorationFlags & kDecorationTextWatermark) && s.watermarkText[0])
    {
        TextWatermarkStyle style = {};
        style.fontHeight = s.watermarkFontHeight;
        style.fontStyle = s.watermarkFontStyle;
        ::lstrcpynW(style.faceName, s.watermarkFontName, kWatermarkTextSize);
        style.textColour = s.watermarkTextColor;
        style.backgroundColour = s.watermarkBackColor;
        ::lstrcpynW(style.text, s.watermarkText, kWatermarkTextSize);
        watermark = new TextWatermark;
        int rendered = watermark->Render(s.placement, style);
        result |= rendered;
        if (rendered < 0 || !watermark->HasPicture())
        {
            log.push_back("Text watermark left out: its font or picture cannot be made");
            delete watermark;
            watermark = nullptr;
        }
    }
    if ((s.decorationFlags & kDecorationLogo) && s.logoList[0])
    {
        logo = new LogoSequence;
        // Logged with the next frame (on the worker), also for the files opened here at the start.
        logo->SetLogSink([&log](const std::string& line) { log.push_back(line); });
        result |= logo->Open(s.placement, s.logoList, sizeof(s.logoList), s.logoOwnAlpha, s.logoInterval);
    }
    return result;
}

// Why the subtitles were left out, in words.
static std::string SubtitleFailureLine(int key)
{
    struct Reason
    {
        int key;
        const char* words;
    };
    static const Reason kReasons[] = {
        {kSubtitleCannotOpen, "the subtitle file cannot be opened"},
        {kSubtitleCannotConvert, "the subtitle file's text is in an encoding that cannot be read"},
        {kSubtitleNoEntries, "the subtitle file holds no subtitles in SRT form"},
        {kSubtitleNoCandidate, "no subtitle file lies beside the source"},
        {kSubtitleNoFolder, "the source's folder cannot be told"},
    };
    char line[128];
    if (key == kSubtitleFileTooLarge)
    {
        std::snprintf(line, sizeof(line), "Subtitles left out: the subtitle file is larger than %lld MB",
                      kMaxSubtitleFileBytes / (1024 * 1024));
        return line;
    }
    const char* words = "the subtitle file cannot be read";
    for (const Reason& reason : kReasons)
        if (reason.key == key)
            words = reason.words;
    std::snprintf(line, sizeof(line), "Subtitles left out: %s", words);
    return line;
}

void CreateSubtitleDecoration(const JobSettings& s, SubtitleRenderer*& subtitles, std::vector<std::string>& log)
{
    if (s.subtitleMode == kSubtitleNone)
        return;
    SubtitleRenderer* renderer = new SubtitleRenderer;
    int key = renderer->Load(s.subtitleMode, s.sourcePath, s.subtitleFile);
    if (key < 0)
    {
        // Looking beside the source and finding no subtitle file is no failure: nothing to say.
        const bool nothingBeside = s.subtitleMode == kSubtitleBesideSource &&
                                   (key == kSubtitleNoCandidate || key == kSubtitleNoFolder);
        if (!nothingBeside)
            log.push_back(SubtitleFailureLine(key));
        delete renderer;
        return;
    }
    if (s.subtitleMargin > 1)
        renderer->SetBottomMargin(s.subtitleMargin);
    if (s.subtitlePixelSize > 0)
        renderer->SetPixelSize(s.subtitlePixelSize);
    if (s.subtitleText[0])
        renderer->SetStoredText(s.subtitleText);
    if (!renderer->HasFont())
        log.push_back("Subtitles left out: the subtitle font cannot be opened");
    subtitles = renderer;
}

void DestroyDecorations(TextWatermark*& watermark, LogoSequence*& logo, SubtitleRenderer*& subtitles)
{
    delete subtitles;
    subtitles = nullptr;
    delete watermark;
    watermark = nullptr;
    if (logo)
        logo->Close();
    delete logo;
    logo = nullptr;
}

void DrawDecorations(uint8_t* pixels, int width, int height, int milliseconds, LogoSequence* logo,
                     TextWatermark* watermark, SubtitleRenderer* subtitles)
{
    if (logo && logo->Advance(milliseconds) >= 0)
        logo->Apply(pixels, width, height);
    if (watermark)
        watermark->Apply(pixels, width, height);
    if (subtitles)
        subtitles->Draw(height, pixels, width, milliseconds);
}
