#include "engine/WideText.h"

#include <climits>
#include <vector>

WideText WideFromMultiByte(const char* text, UINT codePage)
{
    if (!text || !*text)
        return WideText();
    int length = ::MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return WideText();
    std::vector<WCHAR> buffer(length);
    if (!::MultiByteToWideChar(codePage, 0, text, -1, buffer.data(), length))
        return WideText();
    return ToWideText(buffer.data());
}

bool IsWideSpace(char16_t c)
{
    WORD type = 0;
    WCHAR ch = static_cast<WCHAR>(c);
    return ::GetStringTypeW(CT_CTYPE1, &ch, 1, &type) && (type & C1_SPACE);
}

WideText TrimWideRight(const WideText& text)
{
    size_t end = text.size();
    while (end > 0 && IsWideSpace(text[end - 1]))
        --end;
    return text.substr(0, end);
}

WideText TrimWide(const WideText& text)
{
    size_t begin = 0;
    while (begin < text.size() && IsWideSpace(text[begin]))
        ++begin;
    return TrimWideRight(text.substr(begin));
}

int ParseWideDecimal(const WideText& text)
{
    size_t i = 0;
    while (i < text.size() && IsWideSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        if (value <= INT_MAX)
            value = value * 10 + (text[i] - u'0');
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(negative ? -value : value);
}

WideText LowerWide(WideText text)
{
    if (!text.empty())
        ::CharLowerBuffW(reinterpret_cast<WCHAR*>(&text[0]), static_cast<DWORD>(text.size()));
    return text;
}
