// The settings block one conversion job starts from: plain fixed-size values, filled by the task
// manager inside its task and copied whole by the engine when the job starts. 8-bit texts are in
// the system ANSI code page; paths are Win32 paths (a path beginning with "/" is taken as Unix).
#pragma once

#include <windows.h>

#include <string.h>

const int kJobPathCapacity = 260;
const int kJobArgumentCapacity = 1024;
const int kJobPlacementCount = 7;
const int kJobShortTextCapacity = 128;
const int kJobLogoListCapacity = 2048;
const int kJobSubtitleFileCapacity = 1024;

// Bits of JobSettings::decorationFlags.
const int kDecorationTextWatermark = 0x1;
const int kDecorationLogo = 0x2;

// Values of JobSettings::subtitleMode.
const int kSubtitleNone = 0;
const int kSubtitleGivenFile = 1;
const int kSubtitleBesideSource = 3;

// The separator of JobSettings::logoList.
const char kLogoListSeparator = '|';

struct JobSettings
{
    char sourcePath[kJobPathCapacity];
    char outputPath[kJobPathCapacity]; // the encoder is chosen by the extension after its last "."
    char argumentText[kJobArgumentCapacity];
    INT32 decorationFlags;
    // Handed to both decorations: [2] and [3] limit the logo's drawn width and height (0: its own
    // size), [4] is the constant opacity 0-255.
    INT32 placement[kJobPlacementCount];
    INT32 watermarkFontHeight;
    INT32 watermarkFontStyle; // weight in the low 16 bits; bit 16 italic, 17 underline, 18 strike-out
    WCHAR watermarkFontName[kJobShortTextCapacity];
    INT32 watermarkTextColor; // COLORREF; -1: the system window-text colour
    INT32 watermarkBackColor; // COLORREF; -1: transparent
    WCHAR watermarkText[kJobShortTextCapacity];
    char logoList[kJobLogoListCapacity];
    INT32 logoOwnAlpha;
    INT32 logoInterval; // milliseconds per listed logo file
    INT32 subtitleMode;
    WCHAR subtitleFile[kJobSubtitleFileCapacity];
    INT32 subtitleMargin;    // 1 or less: the renderer's default
    INT32 subtitlePixelSize; // 0 or less: the renderer's default
    WCHAR subtitleText[kJobShortTextCapacity];
};

// Ends every text of a copied block inside its array, whatever the copy brought along.
inline void TerminateJobTexts(JobSettings* settings)
{
    settings->sourcePath[kJobPathCapacity - 1] = 0;
    settings->outputPath[kJobPathCapacity - 1] = 0;
    settings->argumentText[kJobArgumentCapacity - 1] = 0;
    settings->watermarkFontName[kJobShortTextCapacity - 1] = 0;
    settings->watermarkText[kJobShortTextCapacity - 1] = 0;
    settings->logoList[kJobLogoListCapacity - 1] = 0;
    settings->subtitleFile[kJobSubtitleFileCapacity - 1] = 0;
    settings->subtitleText[kJobShortTextCapacity - 1] = 0;
}

// A job limited by time or size writes numbered segments beside its output path instead of the
// output itself: "clip - 01.mp4", "clip - 02.mp4", ... (stem, number, extension without its ".").
const char kSegmentNameFormat[] = "%s - %0.2d.%s";
// True when the argument text sets a time ("-t") or size ("-fs") limit, read as the converter's
// parser reads it (words, quotes and the options that take a value).
bool IsSegmentedJob(const char* arguments);
