#include "app/shell/LocaliseMenu.h"

#include "app/core/LangMgr.h"
#include "app/shell/ReelwrightApp.h"
#include "resources/resource.h"

namespace
{
const int kItemTextCapacity = 256;
const WCHAR kLanguageKey[] = L"menu_tool_language";

bool SameNoCase(const CString& a, const CString& b)
{
    return ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a, -1, b, -1) == CSTR_EQUAL;
}

BOOL FillLanguages(HMENU sub, const CString& currentLanguage)
{
    const int count = LangMgr::GetLanguageCount();
    if (count > 0)
        ::DeleteMenu(sub, 0, MF_BYPOSITION);
    for (int i = 0; i < count && ID_LANGUAGE_FIRST + i <= ID_LANGUAGE_LAST; i++)
    {
        const CString name = LangMgr::GetLanguageName(i);
        const UINT flags = MF_STRING | (SameNoCase(name, currentLanguage) ? MF_CHECKED : MF_UNCHECKED);
        if (!::AppendMenuW(sub, flags, ID_LANGUAGE_FIRST + i, name))
            return FALSE;
    }
    return TRUE;
}
} // namespace

BOOL LocaliseMenu(HMENU menu, const CString& currentLanguage)
{
    const int count = ::GetMenuItemCount(menu);
    for (int pos = 0; pos < count; pos++)
    {
        WCHAR text[kItemTextCapacity] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = kItemTextCapacity;
        if (!::GetMenuItemInfoW(menu, UINT(pos), TRUE, &info) || (info.fType & MFT_SEPARATOR))
            continue;
        const CString key = text;
        if (SameNoCase(key, kLanguageKey))
        {
            if (!info.hSubMenu || !FillLanguages(info.hSubMenu, currentLanguage))
                return FALSE;
        }
        const CString translated = LangMgr::GetText(key);
        if (!translated.IsEmpty())
        {
            MENUITEMINFOW change = {};
            change.cbSize = sizeof change;
            change.fMask = MIIM_STRING;
            change.dwTypeData = const_cast<LPWSTR>((LPCWSTR)translated);
            ::SetMenuItemInfoW(menu, UINT(pos), TRUE, &change);
        }
        if (info.hSubMenu && !LocaliseMenu(info.hSubMenu, currentLanguage))
            return FALSE;
    }
    return TRUE;
}

BOOL LocaliseMenu(HMENU menu)
{
    CReelwrightApp* app = CReelwrightApp::Get();
    return LocaliseMenu(menu, app ? app->m_settings.language : CString());
}
