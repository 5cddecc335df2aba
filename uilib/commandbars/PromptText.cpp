#include "uilib/commandbars/PromptText.h"

WVPPromptParts WVPSplitPrompt(LPCWSTR text)
{
    WVPPromptParts result;
    if (!text)
        return result;
    const int length = ::lstrlenW(text);
    int start = 0;
    for (int i = 0; i <= length && result.count < 4; ++i)
    {
        if (i < length && text[i] != L'\n')
            continue;
        if (i < length)
            result.hasNewLine = TRUE;
        result.parts[result.count++] = CString(text + start, i - start);
        start = i + 1;
    }
    return result;
}
