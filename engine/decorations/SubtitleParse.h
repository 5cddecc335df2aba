// Reads SubRip (.srt) subtitle files in UTF-8, UTF-16 or the ANSI code page, keeps their entries
// per loaded file and answers which text is shown at a time; also finds the subtitle file that
// belongs to a source video. Used by the subtitle renderer.
#pragma once

#include "engine/WideText.h"

#include <map>
#include <vector>

const int kSubtitleTextSize = 256;

struct SubtitleEntry
{
    int index;
    int start; // milliseconds
    int end;   // milliseconds
    int left, top, right, bottom;
    WCHAR text[kSubtitleTextSize];
};

// Results of the subtitle functions (all negative).
enum SubtitleResult
{
    kSubtitleReadException = -1,
    kSubtitleCannotOpen = -2,
    kSubtitleNothingRead = -4,
    kSubtitleCannotConvert = -5,
    kSubtitleNoCandidate = -6,
    kSubtitleTooLong = -8,
    kSubtitleNoText = -9,
    kSubtitleNoEntries = -10,
    kSubtitleNoFolder = -11,
    kSubtitleFileTooLarge = -12,
};

// Real subtitle files are a few hundred kilobytes; anything beyond this is refused before it is
// read (the text grows many times over while it is decoded and split).
const long long kMaxSubtitleFileBytes = 8LL * 1024 * 1024;

// Locale id that stands for the system's default locale.
const int kDefaultLocale = -1;

class CSubtitleParse
{
public:
    virtual ~CSubtitleParse() = default;

    // The new file's key (> 0), or a negative SubtitleResult.
    int LoadFile(const WCHAR* path);
    int LoadCompanion(const std::vector<int>& localeIds, const WCHAR* videoPath);
    int LoadCompanion(const std::vector<int>& localeIds, const char* videoPath);

    // 0 with the texts shown at time (ms) joined into out and capacity set to their length;
    // kSubtitleTooLong when they do not fit capacity characters with the terminator, else kSubtitleNoText.
    int FindText(int key, int time, WCHAR* out, int* capacity) const;

private:
    int Store(std::vector<SubtitleEntry>&& entries);

    std::map<int, std::vector<SubtitleEntry>> m_files;
    int m_fileCount = 0;
};

// 1 when the bytes are well-formed UTF-8 with at least one byte above 0x7F, else 0.
int IsValidUtf8(const unsigned char* bytes, int length);

// Reads a text file in any of the supported encodings: its length in characters, or a negative result.
int ReadTextAsWide(const WCHAR* path, WideText& out);

// Parses SubRip text into entries (appended); the number of entries parsed.
int ParseSrtText(const WideText& text, std::vector<SubtitleEntry>& entries);
bool ParseSrtBlock(const WideText& block, std::vector<SubtitleEntry>& entries);
bool ParseSrtTimeLine(const WideText& line, SubtitleEntry& entry);
// Milliseconds of a SubRip time ("h:mm:ss,mmm"); false when the text has no two ":".
bool ParseSrtTime(const WideText& text, int& milliseconds);
