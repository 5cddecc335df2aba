#include "uilib/commandbars/KeyMatchesChar.h"

#include <vector>

WCHAR WVPUpperChar(WCHAR ch)
{
    WCHAR text[2] = {ch, 0};
    ::CharUpperW(text);
    return text[0];
}

namespace
{
// The character the key types in the layout with the state, or 0 when it types not exactly one.
WCHAR LayoutChar(UINT vk, const BYTE* state, HKL layout)
{
    WCHAR buffer[2] = {};
    return ::ToUnicodeEx(vk, 0, state, buffer, 1, 0, layout) == 1 ? buffer[0] : 0;
}
} // namespace

BOOL WVPKeyMatchesChar(WCHAR ch, UINT vk)
{
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return UINT(ch) + 0x30 == vk;
    if (LOWORD(::MapVirtualKeyW(vk, MAPVK_VK_TO_CHAR)) == 0)
        return FALSE;
    const WCHAR upper = WVPUpperChar(ch);
    if (WORD(ch) == WORD(vk) || WORD(upper) == WORD(vk))
        return TRUE;
    const int count = ::GetKeyboardLayoutList(0, nullptr);
    if (count <= 1)
        return FALSE;
    std::vector<HKL> layouts(count);
    BYTE state[256] = {};
    if (::GetKeyboardLayoutList(count, layouts.data()) <= 0 || !::GetKeyboardState(state))
        return FALSE;
    for (HKL layout : layouts)
    {
        for (BYTE shift : {BYTE(state[VK_SHIFT]), BYTE(0x81)})
        {
            const BYTE saved = state[VK_SHIFT];
            state[VK_SHIFT] = shift;
            const WCHAR typed = LayoutChar(vk, state, layout);
            state[VK_SHIFT] = saved;
            if (typed && (typed == ch || WVPUpperChar(typed) == upper))
                return TRUE;
        }
    }
    return FALSE;
}

WCHAR WVPCaptionAccelerator(const CString& caption, BOOL* marked)
{
    const int amp = caption.Find(L'&');
    *marked = amp >= 0 && amp + 1 < caption.GetLength();
    if (*marked)
        return caption[amp + 1];
    return caption.IsEmpty() ? 0 : caption[0];
}
