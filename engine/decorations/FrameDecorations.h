// The frame decorations of a job (text watermark, logo, subtitles): made from its job settings,
// drawn into BGRA pictures and freed again. Shared by the converter job and the RealMedia job.
#pragma once

#include "engine/JobSettings.h"

#include <stdint.h>

#include <string>
#include <vector>

class TextWatermark;
class LogoSequence;
class SubtitleRenderer;

// Makes the text watermark and the logo the settings ask for; why one is left out goes to log.
// Returns the decorations' own results or-ed together.
int CreateDecorations(const JobSettings& settings, TextWatermark*& watermark, LogoSequence*& logo,
                      std::vector<std::string>& log);
// Makes the subtitle renderer the settings ask for, or notes in log why there is none.
void CreateSubtitleDecoration(const JobSettings& settings, SubtitleRenderer*& subtitles, std::vector<std::string>& log);
void DestroyDecorations(TextWatermark*& watermark, LogoSequence*& logo, SubtitleRenderer*& subtitles);
// Draws logo, text watermark and subtitles, in this order, at the frame's time in milliseconds.
void DrawDecorations(uint8_t* pixels, int width, int height, int milliseconds, LogoSequence* logo,
                     TextWatermark* watermark, SubtitleRenderer* subtitles);
