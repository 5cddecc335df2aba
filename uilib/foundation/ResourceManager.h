// The one place where the library loads its own localisable resources (strings, menus, tool bars,
// bitmaps, cursors, dialog templates, HTML texts, icons) from the application's resources, and
// where it keeps the interface language whose code page and font character set other parts use.
#pragma once

#include <windows.h>

#include "platform/mfc/String.h"
#include "platform/mfc/ThreadLocal.h"

class CBitmap;
class CMenu;
class CToolBar;

// One row of the language table.
struct WVP_LANGUAGE_INFO
{
    LANGID langId;
    UINT codePage; // 0: the system's ANSI code page
    LPCWSTR charsetName;
    LPCWSTR languageName;
    LPCWSTR languageConstant;
    LPCWSTR sublanguageConstant;
    BYTE fontCharset;
};

class CWVPResourceManager : public CNoTrackObject
{
  public:
    CWVPResourceManager();
    ~CWVPResourceManager() override;

    // The string of the id, empty when missing (missing then receives 1, else 0).
    virtual CString LoadStringText(UINT id, int* missing = nullptr);
    virtual BOOL LoadString(CString* text, UINT id);
    virtual BOOL LoadMenu(CMenu* menu, UINT id);
    virtual BOOL LoadToolBar(CToolBar* toolBar, UINT id);
    virtual BOOL LoadBitmap(CBitmap* bitmap, UINT id);
    virtual HCURSOR LoadCursor(UINT id);
    virtual LPCDLGTEMPLATE LoadDialogTemplate(UINT id);
    virtual HGLOBAL LoadDialogTemplateHandle(UINT id);
    virtual BOOL LoadHTML(CString* text, UINT id);
    virtual HICON LoadIconById(UINT id, int width, int height);
    virtual HICON LoadIcon(LPCWSTR name, int width, int height);
    virtual HICON CreateIconFromResource(HMODULE module, LPCWSTR name, int width, int height);
    virtual void Close();
    virtual LANGID GetResourcesLangID() const;
    virtual void UpdateResourcesLangID();

    // Makes the row of the language current; the English (United States) row when it has none.
    void SetLanguage(LANGID langId);
    const WVP_LANGUAGE_INFO* GetLanguageInfo() const
    {
        return m_pLanguageInfo;
    }
    // The code page of the current row (the system's ANSI code page for English).
    UINT GetCodePage() const;
    int ShowMessageBox(LPCWSTR text, UINT style);
    // The style a message box gets under the current language (right-to-left reading for
    // Hebrew and Arabic).
    UINT GetMessageBoxStyle(UINT style) const;
    int GetMenuString(CMenu* menu, UINT item, CString& text, UINT flags);
    // The string straight from the module's string table block id / 16 + 1, entry id % 16.
    static int LoadStringFromTable(HMODULE module, UINT id, CString& text);
    // The first language of the module's resources that is neither neutral nor English (United
    // States); 0x0409 when only that one is found, 0 when none.
    static LANGID FindResourcesLanguage(HMODULE module);

    static const WVP_LANGUAGE_INFO* FindLanguage(LANGID langId);

  private:
    const WVP_LANGUAGE_INFO* m_pLanguageInfo;
};

CWVPResourceManager* WVPResourceManager();

// An 8-bit copy of a UTF-16 text in the code page of the resource manager's current language.
class CWVPNarrowString
{
  public:
    explicit CWVPNarrowString(LPCWSTR text);
    ~CWVPNarrowString();
    CWVPNarrowString(const CWVPNarrowString&) = delete;
    CWVPNarrowString& operator=(const CWVPNarrowString&) = delete;

    operator const char*() const
    {
        return m_text;
    }
    const char* GetText() const
    {
        return m_text;
    }

  private:
    char* m_text;
};
