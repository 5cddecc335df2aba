// The language manager: finds the language files of the "lang" folder, loads one file's texts
// and answers every text the user reads by its language key. UI thread only.
#pragma once

#include "platform/mfc/Mfc.h"

class LangMgr
{
public:
    struct LangInfo
    {
        CString name;
        CString creator;
        CString description;
        CString tip;
        CString path;
        CString localeId;
    };

    // Fills the language list from the folder's "*.xml" files; true when any was found.
    static bool ScanLanguages(const CString& folder);
    static CString GetLanguageName(int index);
    static int GetLanguageCount();
    // Replaces the texts by the file's; true when at least one text was loaded.
    static bool LoadLanguageFile(const CString& path);
    // Loads the named language (ignoring case), falling back to "English"; an empty name means
    // the system's default language.
    static bool SelectLanguage(const CString& name);
    static CString GetDefaultLanguage();
    // The language name for a locale id (the table behind GetDefaultLanguage).
    static CString LanguageForLocale(LCID locale);
    // The text of a key; empty when the chosen file lacks it.
    static CString GetText(const CString& key);
    // The text shown for a name from the data files (a profile or category name or description):
    // its translation when the language has one, else the name itself. Such names may hold
    // characters that an element name cannot, so the key is MakeLanguageKey of the name.
    static CString GetNameText(const CString& name);
    static void ClearLanguages();
    static CString GetLanguageFile();
};

// The language key for a name: every character other than ASCII letters, digits and "_"
// becomes "_", and a key that would start with a digit gets a leading "_".
CString MakeLanguageKey(const CString& name);
