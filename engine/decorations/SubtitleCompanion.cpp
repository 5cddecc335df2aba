#include "engine/decorations/SubtitleCompanion.h"

#include "engine/decorations/SubtitleParse.h"

#include <algorithm>

namespace
{
const DWORD kDirectoryOnly = FILE_ATTRIBUTE_DIRECTORY;
const int kLocaleTextSize = 64;

bool IsWordSeparator(char16_t c)
{
    return c == u'.' || c == u'-' || c == u'_' || c == u' ';
}

// Separators that end a part number ("CD2.avi", "CD2 eng", "part_2-x").
bool IsSeparatorA(char16_t c)
{
    return c == u'.' || c == u'_' || c == u'-' || c == u' ';
}

bool IsBracket(char16_t c)
{
    return c == u')' || c == u'(' || c == u']' || c == u'[';
}

bool IsSeparatorB(char16_t c)
{
    return IsSeparatorA(c) || IsBracket(c);
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

std::vector<WideText> SplitWords(const WideText& name)
{
    std::vector<WideText> words;
    WideText lower = LowerWide(name);
    WideText word;
    for (char16_t c : lower)
    {
        if (IsWordSeparator(c))
        {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        }
        else
            word += c;
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

// Value of the run of digits that ends at position last.
int DigitRunValue(const WideText& name, size_t last)
{
    size_t first = last;
    while (first > 0 && IsDigit(name[first - 1]))
        --first;
    return ParseWideDecimal(name.substr(first, last - first + 1));
}

// The letter rule: a lone "a" to "f" between separators; its position, or npos.
size_t FindPartLetter(const WideText& name)
{
    const size_t last = name.size() - 1;
    for (size_t i = name.size(); i-- > 0;)
    {
        char16_t c = name[i];
        if (c < u'a' || c > u'f')
            continue;
        bool afterSeparator = i == 0 || IsSeparatorB(name[i - 1]);
        if (i == last ? afterSeparator : afterSeparator && IsSeparatorB(name[i + 1]))
            return i;
    }
    return WideText::npos;
}
}

int FindSubtitleCandidates(const WideText& folderName, std::vector<WideText>& candidates)
{
    WideText folder = folderName.substr(0, MAX_PATH - 1);
    while (!folder.empty() && folder.back() == u'\\')
        folder.pop_back();
    if (folder.empty())
        return -1;
    WideText pattern = folder + u"\\*.*";
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(Win32Text(pattern), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int appended = 0;
    do
    {
        if (data.dwFileAttributes == kDirectoryOnly)
            continue;
        WideText name = ToWideText(data.cFileName);
        size_t dot = name.rfind(u'.');
        if (dot == WideText::npos)
            continue;
        if (::lstrcmpiW(Win32Text(name.substr(dot + 1)), L"srt") == 0)
        {
            candidates.push_back(name.substr(0, dot));
            ++appended;
        }
    } while (::FindNextFileW(find, &data));
    DWORD error = ::GetLastError();
    ::FindClose(find);
    return error == ERROR_NO_MORE_FILES ? appended : -2;
}

bool NamesSimilar(const WideText& candidate, const WideText& videoName)
{
    std::vector<WideText> videoWords = SplitWords(videoName);
    const int n = static_cast<int>(videoWords.size());
    if (n <= 1)
        return true;
    std::vector<WideText> candidateWords = SplitWords(candidate);
    int found = 0;
    for (const WideText& word : videoWords)
        if (std::find(candidateWords.begin(), candidateWords.end(), word) != candidateWords.end())
            ++found;
    return found >= (n > 4 ? n - 2 : n - 1);
}

int FilterSimilarCandidates(std::vector<WideText>& candidates, const WideText& videoName)
{
    candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                    [&](const WideText& c) { return !NamesSimilar(c, videoName); }),
                     candidates.end());
    return static_cast<int>(candidates.size());
}

int FindPartNumber(const WideText& name)
{
    if (name.empty())
        return -1;
    const size_t last = name.size() - 1;
    for (size_t i = name.size(); i-- > 0;)
    {
        if (!IsDigit(name[i]))
            continue;
        if (i == last || IsSeparatorA(name[i + 1]))
            return DigitRunValue(name, i);
        if (IsBracket(name[i + 1]))
        {
            size_t letter = FindPartLetter(name);
            if (letter != WideText::npos && (letter == last || letter > i))
                return name[letter] - u'a';
            return DigitRunValue(name, i);
        }
    }
    size_t letter = FindPartLetter(name);
    return letter == WideText::npos ? -1 : name[letter] - u'a';
}

bool SamePartNumber(const WideText& a, const WideText& b)
{
    int part = FindPartNumber(a);
    return part != -1 && part == FindPartNumber(b);
}

int GetLocaleLanguageNames(std::vector<WideText>& names, int localeId)
{
    LCID locale = localeId == kDefaultLocale ? ::GetSystemDefaultLCID() : static_cast<LCID>(localeId);
    WCHAR buffer[kLocaleTextSize];
    const LCTYPE kinds[] = {LOCALE_SABBREVLANGNAME, LOCALE_SABBREVCTRYNAME, LOCALE_SNAME, LOCALE_SENGLANGUAGE,
                            LOCALE_SISO639LANGNAME};
    for (LCTYPE kind : kinds)
        if (::GetLocaleInfoW(locale, kind, buffer, kLocaleTextSize))
            names.push_back(ToWideText(buffer));
    WideText base = ToWideText(buffer);
    if (::GetLocaleInfoW(locale, LOCALE_SISO3166CTRYNAME, buffer, kLocaleTextSize))
        names.push_back(ToWideText(buffer));
    names.push_back(base + u"-" + ToWideText(buffer));
    return static_cast<int>(names.size());
}

bool HasLanguageSuffix(const WideText& name, const std::vector<WideText>& languageNames)
{
    size_t at = name.rfind(u'.');
    if (at == WideText::npos)
        at = name.rfind(u'_');
    if (at == WideText::npos)
        at = name.rfind(u'-');
    if (at == WideText::npos)
        return false;
    WideText suffix = name.substr(at + 1);
    for (const WideText& language : languageNames)
        if (::lstrcmpiW(Win32Text(suffix), Win32Text(language)) == 0)
            return true;
    return false;
}

WideText SelectCompanionName(int localeId, const WideText& videoName, const std::vector<WideText>& candidates)
{
    std::vector<WideText> languages;
    GetLocaleLanguageNames(languages, localeId);
    std::vector<WideText> matches;
    for (const WideText& candidate : candidates)
        if (SamePartNumber(candidate, videoName))
            matches.push_back(candidate);
    const std::vector<WideText>& pool = matches.empty() ? candidates : matches;
    for (const WideText& name : pool)
        if (HasLanguageSuffix(name, languages))
            return name;
    if (localeId == kDefaultLocale && !pool.empty())
        return pool.front();
    return WideText();
}

WideText BuildCompanionPath(const WideText& folder, const WideText& videoName, int localeId,
                            const std::vector<WideText>& candidates, const WideText& extension)
{
    WideText name = SelectCompanionName(localeId, videoName, candidates);
    if (name.empty())
        return WideText();
    return folder + u"\\" + name + u"." + extension;
}
