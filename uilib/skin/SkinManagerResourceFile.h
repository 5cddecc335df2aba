#pragma once
// Where a skin comes from: opens its class-data text (a file on disk, a skin library, or the
// resources of a module the application names), hands it to the schema line by line, loads the
// skin's bitmaps and makes the schema. One per skin manager.
#include "platform/mfc/String.h"
#include <windows.h>

#include <vector>

class CWVPSkinImage;
class CWVPSkinManager;
class CWVPSkinManagerSchema;

class CWVPSkinManagerResourceFile
{
  public:
    CWVPSkinManagerResourceFile();
    virtual ~CWVPSkinManagerResourceFile();
    CWVPSkinManagerResourceFile(const CWVPSkinManagerResourceFile&) = delete;
    CWVPSkinManagerResourceFile& operator=(const CWVPSkinManagerResourceFile&) = delete;

    // Opens the class-data text: with a caller module, that module's TEXTFILE resource named
    // after the INI name; else the file path\iniName on disk, or the INI resource of the library
    // at path (the default INI of its THEMES_INI when the name is empty).
    virtual BOOL Open(LPCWSTR lpszResourcePath, LPCWSTR lpszIniFileName);
    // The next line without its line end (CR, LF or CR LF; the last line may have none).
    virtual BOOL ReadString(CString& str);
    virtual void Close();
    // A new image of a file named in the text (relative to the skin), or null.
    virtual CWVPSkinImage* LoadImage(LPCWSTR lpszFileName);
    // A new drawing schema for the owning manager; the caller owns it.
    virtual CWVPSkinManagerSchema* CreateSchema();

    CString GetResourcePath() const
    {
        return m_strResourcePath;
    }
    CString GetIniFileName() const
    {
        return m_strIniFileName;
    }
    // The name of the first "[File." section of the skin module's THEMES_INI plus "_ini"; empty
    // when there is none.
    CString GetDefaultIniName() const;
    HMODULE GetSkinModule() const
    {
        return m_hModule;
    }
    BOOL IsOpenFromDisk() const
    {
        return m_bFromDisk;
    }

    // A file name turned into its resource name: '.' and '\' become '_'.
    static CString MakeResourceName(LPCWSTR lpszFileName);

    HMODULE m_hCallerModule = nullptr; // set by the application; never freed here
    CWVPSkinManager* m_pManager = nullptr;

  protected:
    BOOL OpenResourceText(LPCWSTR lpszIniFileName);
    BOOL OpenDiskText(LPCWSTR lpszFullPath);

    const WCHAR* m_pPos = nullptr;
    const WCHAR* m_pEnd = nullptr;
    HMODULE m_hModule = nullptr;
    CString m_strResourcePath;
    CString m_strIniFileName;
    BOOL m_bFromDisk = FALSE;
    std::vector<WCHAR> m_diskText; // a disk INI decoded to UTF-16
};
