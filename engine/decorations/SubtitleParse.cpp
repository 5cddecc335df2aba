#include "engine/decorations/SubtitleParse.h"

#include "engine/decorations/SubtitleCompanion.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{
const UINT kCodePageUtf8 = 65001;
const WideText kBlockEnd = u"\r\n\r\n";
const WideText kLineEnd = u"\r\n";
const size_t kArrowWindow = 8;

struct FileHandle
{
    HANDLE handle;
    ~FileHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    }
};

// Line ends written as a bare line feed or a bare carriage return become CR LF, so that files
// saved on other systems split into their entries too.
WideText NormaliseLineEnds(const WideText& text)
{
    WideText result;
    result.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size(); ++i)
    {
        char16_t c = text[i];
        if (c == u'\r')
        {
            result += kLineEnd;
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        }
        else if (c == u'\n')
            result += kLineEnd;
        else
            result += c;
    }
    return result;
}

// Reads the coordinate after the next ":" of text and removes it from text; false without ":".
bool ParseSrtCoordinate(WideText& text, int& value)
{
    text = TrimWide(text);
    size_t colon = text.find(u':');
    if (colon == WideText::npos)
        return false;
    WideText rest = text.substr(colon + 1);
    size_t blank = rest.find(u' ');
    value = ParseWideDecimal(rest.substr(0, blank));
    text = blank == WideText::npos ? WideText() : rest.substr(blank + 1);
    return true;
}

void CopyEntryText(const WideText& text, SubtitleEntry& entry)
{
    size_t count = std::min<size_t>(text.size(), kSubtitleTextSize - 1);
    std::memcpy(entry.text, text.data(), count * sizeof(WCHAR));
    entry.text[count] = 0;
}
}

int IsValidUtf8(const unsigned char* bytes, int length)
{
    if (!bytes || length <= 0)
        return 0;
    int expected = 0;
    bool highBit = false;
    for (int i = 0; i < length; ++i)
    {
        unsigned char b = bytes[i];
        if (expected > 0)
        {
            if ((b & 0xC0) != 0x80)
                return 0;
            --expected;
            continue;
        }
        if (!(b & 0x80))
            continue;
        highBit = true;
        if ((b & 0xC0) == 0x80)
            return 0;
        for (unsigned char mask = 0x40; mask && (b & mask); mask >>= 1)
            ++expected;
    }
    return expected == 0 && highBit ? 1 : 0;
}

int ReadTextAsWide(const WCHAR* path, WideText& out)
{
    try
    {
        FileHandle file{::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (file.handle == INVALID_HANDLE_VALUE)
            return kSubtitleCannotOpen;
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(file.handle, &size))
            return kSubtitleNothingRead;
        if (size.QuadPart > kMaxSubtitleFileBytes)
            return kSubtitleFileTooLarge;
        if (size.QuadPart == 0)
        {
            out.clear();
            return 0;
        }
        const DWORD length = static_cast<DWORD>(size.QuadPart);
        std::vector<unsigned char> bytes(length + 2, 0);
        DWORD read = 0;
        if (!::ReadFile(file.handle, bytes.data(), length, &read, nullptr) || read == 0)
            return kSubtitleNothingRead;

        if (::IsTextUnicode(bytes.data(), static_cast<int>(read), nullptr))
        {
            const char16_t* wide = reinterpret_cast<const char16_t*>(bytes.data());
            size_t count = read / sizeof(char16_t);
            int flags = IS_TEXT_UNICODE_SIGNATURE;
            if (::IsTextUnicode(bytes.data(), static_cast<int>(read), &flags) && (flags & IS_TEXT_UNICODE_SIGNATURE))
            {
                ++wide;
                --count;
            }
            out.assign(wide, count);
            return static_cast<int>(out.size());
        }
        const UINT codePage = IsValidUtf8(bytes.data(), static_cast<int>(read)) ? kCodePageUtf8 : ::GetACP();
        std::vector<WCHAR> wide(read + 1, 0);
        int count = ::MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(bytes.data()),
                                          static_cast<int>(read), wide.data(), static_cast<int>(read + 1));
        if (count <= 0)
            return kSubtitleCannotConvert;
        const char16_t* text = reinterpret_cast<const char16_t*>(wide.data());
        if (text[0] == 0xFEFF)
        {
            ++text;
            --count;
        }
        out.assign(text, count);
        return static_cast<int>(out.size());
    }
    catch (...)
    {
        return kSubtitleReadException;
    }
}

bool ParseSrtTime(const WideText& text, int& milliseconds)
{
    size_t first = text.find(u':');
    if (first == WideText::npos)
        return false;
    size_t second = text.find(u':', first + 1);
    if (second == WideText::npos)
        return false;
    int hours = ParseWideDecimal(text.substr(0, first));
    int minutes = ParseWideDecimal(text.substr(first + 1, second - first - 1));
    WideText rest = text.substr(second + 1);
    size_t comma = rest.find(u',');
    int seconds = ParseWideDecimal(rest.substr(0, comma));
    int millis = comma == WideText::npos ? 0 : ParseWideDecimal(rest.substr(comma + 1));
    long long total = millis + hours * 3600000LL + minutes * 60000LL + seconds * 1000LL;
    if (total > INT32_MAX || total < INT32_MIN)
        return false;
    milliseconds = static_cast<int>(total);
    return true;
}

bool ParseSrtTimeLine(const WideText& timeLine, SubtitleEntry& entry)
{
    const WideText line = TrimWide(timeLine);
    size_t blank = line.find(u' ');
    WideText startText = line.substr(0, blank);
    WideText rest = blank == WideText::npos ? WideText() : line.substr(blank + 1);
    // Drop the arrow (and blanks) between the two times.
    for (size_t at = rest.find(u' '); at != WideText::npos && at < kArrowWindow; at = rest.find(u' '))
        rest = rest.substr(at + 1);
    blank = rest.find(u' ');
    WideText endText = rest.substr(0, blank);
    WideText more = blank == WideText::npos ? WideText() : TrimWide(rest.substr(blank + 1));

    int start = 0;
    int end = 0;
    if (!ParseSrtTime(startText, start) || !ParseSrtTime(endText, end) || start < 0 || end <= 0)
        return false;
    int left = 0, right = 0, top = 0, bottom = 0;
    if (!more.empty())
    {
        if (!ParseSrtCoordinate(more, left) || !ParseSrtCoordinate(more, right) || !ParseSrtCoordinate(more, top) ||
            !ParseSrtCoordinate(more, bottom))
            return false;
        if (left < 0 || right < 0 || top < 0 || bottom < 0)
            return false;
    }
    entry.start = start;
    entry.end = end;
    entry.left = left;
    entry.right = right;
    entry.top = top;
    entry.bottom = bottom;
    return true;
}

bool ParseSrtBlock(const WideText& rawBlock, std::vector<SubtitleEntry>& entries)
{
    const WideText block = TrimWide(rawBlock);
    size_t firstEnd = block.find(kLineEnd);
    if (firstEnd == WideText::npos)
        return false;
    SubtitleEntry entry = {};
    entry.index = ParseWideDecimal(block.substr(0, firstEnd));
    if (entry.index < 0)
        return false;
    size_t timeStart = firstEnd + kLineEnd.size();
    size_t timeEnd = block.find(kLineEnd, timeStart);
    WideText timeLine = block.substr(timeStart, timeEnd == WideText::npos ? WideText::npos : timeEnd - timeStart);
    WideText text = timeEnd == WideText::npos ? WideText() : TrimWide(block.substr(timeEnd + kLineEnd.size()));
    if (TrimWide(timeLine).empty() || text.empty())
        return false;
    if (!ParseSrtTimeLine(timeLine, entry))
        return false;
    CopyEntryText(text, entry);
    entries.push_back(entry);
    return true;
}

int ParseSrtText(const WideText& fileText, std::vector<SubtitleEntry>& entries)
{
    WideText text = TrimWideRight(NormaliseLineEnds(fileText)) + kBlockEnd;
    int count = 0;
    size_t position = 0;
    for (size_t found = text.find(kBlockEnd); found != WideText::npos; found = text.find(kBlockEnd, position))
    {
        if (ParseSrtBlock(text.substr(position, found - position), entries))
            ++count;
        position = found + 2;
    }
    return count;
}

int CSubtitleParse::Store(std::vector<SubtitleEntry>&& entries)
{
    if (entries.empty())
        return kSubtitleNoEntries;
    ++m_fileCount;
    m_files[m_fileCount] = std::move(entries);
    return m_fileCount;
}

int CSubtitleParse::LoadFile(const WCHAR* path)
{
    WideText text;
    int read = ReadTextAsWide(path, text);
    if (read < 0)
        return read;
    try
    {
        std::vector<SubtitleEntry> entries;
        ParseSrtText(text, entries);
        return Store(std::move(entries));
    }
    catch (...)
    {
        return kSubtitleReadException;
    }
}

int CSubtitleParse::LoadCompanion(const std::vector<int>& localeIds, const char* videoPath)
{
    char bounded[MAX_PATH + 1];
    lstrcpynA(bounded, videoPath ? videoPath : "", MAX_PATH + 1);
    WideText wide = WideFromMultiByte(bounded, CP_ACP);
    return LoadCompanion(localeIds, Win32Text(wide));
}

int CSubtitleParse::LoadCompanion(const std::vector<int>& localeIds, const WCHAR* videoPath)
{
    try
    {
        const WideText path = ToWideText(videoPath);
        size_t slash = path.rfind(u'\\');
        if (slash == WideText::npos)
            return kSubtitleNoFolder;
        const WideText folder = path.substr(0, slash);
        const WideText videoName = path.substr(slash + 1);
        std::vector<WideText> candidates;
        FindSubtitleCandidates(folder, candidates);
        if (FilterSimilarCandidates(candidates, videoName) == 0)
            return kSubtitleNoCandidate;
        std::vector<WideText> tried;
        std::vector<SubtitleEntry> entries;
        for (int id : localeIds)
        {
            WideText candidatePath = BuildCompanionPath(folder, videoName, id, candidates, u"srt");
            if (candidatePath.empty() || std::find(tried.begin(), tried.end(), candidatePath) != tried.end())
                continue;
            tried.push_back(candidatePath);
            WideText text;
            if (ReadTextAsWide(Win32Text(candidatePath), text) >= 0)
                ParseSrtText(text, entries);
        }
        return Store(std::move(entries));
    }
    catch (...)
    {
        return kSubtitleReadException;
    }
}

int CSubtitleParse::FindText(int key, int time, WCHAR* out, int* capacity) const
{
    auto file = m_files.find(key);
    if (file == m_files.end() || !out || !capacity)
        return kSubtitleNoText;
    WideText text;
    bool shown = false;
    for (const SubtitleEntry& entry : file->second)
        if (entry.start <= time && time <= entry.end)
        {
            text += reinterpret_cast<const char16_t*>(entry.text);
            shown = true;
        }
    if (!shown)
        return kSubtitleNoText;
    if (static_cast<int>(text.size()) >= *capacity)
        return kSubtitleTooLong;
    std::memcpy(out, text.c_str(), (text.size() + 1) * sizeof(WCHAR));
    *capacity = static_cast<int>(text.size());
    return 0;
}
