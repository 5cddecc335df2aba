#pragma once
// The one process-wide skin manager: loads a skin from its resource file into the schema, keeps
// the skin classes, the metrics and the colour filters, and answers the skin's system colours.
// The application reaches it through WVPSkinManager().
#include "platform/mfc/Map.h"
#include "platform/mfc/String.h"
#include "uilib/skin/SkinManagerClass.h"
#include "uilib/skin/SkinManagerColorFilter.h"
#include "uilib/skin/SkinManagerMetrics.h"
#include "uilib/skin/SkinManagerResourceFile.h"
#include "uilib/skin/SkinManagerSchema.h"

#include <vector>

class CWVPSkinManager
{
  public:
    // Apply options: what a loaded skin takes over.
    static const DWORD kApplyMetrics = 1;
    static const DWORD kApplyScrollBars = 2;
    static const DWORD kApplyColors = 4;
    static const DWORD kApplyAll = kApplyMetrics | kApplyScrollBars | kApplyColors;

    CWVPSkinManager();
    virtual ~CWVPSkinManager();
    CWVPSkinManager(const CWVPSkinManager&) = delete;
    CWVPSkinManager& operator=(const CWVPSkinManager&) = delete;

    // The skin class of a class name of the schema (any case), made on first request; null for
    // a name the schema does not know.
    virtual CWVPSkinManagerClass* GetSkinClass(LPCWSTR lpszClassName);

    // Loads a skin (see CWVPSkinManagerResourceFile::Open for the two names); TRUE on success.
    // On failure no skin is loaded and the metrics hold the system's colours again.
    BOOL LoadSkin(LPCWSTR lpszResourcePath, LPCWSTR lpszIniFileName);
    void SetApplyOptions(DWORD dwOptions);
    DWORD GetApplyOptions() const
    {
        return m_dwApplyOptions;
    }

    // Filters run in the order they were added; the manager owns them. Nothing changes on
    // screen until Refresh.
    void AddColorFilter(CWVPSkinManagerColorFilter* pFilter);
    void RemoveColorFilters();
    void ApplyColorFilters(COLORREF& clr) const;
    bool HasColorFilters() const
    {
        return !m_arrFilters.empty();
    }
    // With a skin loaded: reloads the images (filtered afresh) and refreshes the metrics.
    void Refresh();

    BOOL GetThemeSysBool(int nBoolId);
    // The skin's system colour for identifiers 1601 to 1631; CLR_INVALID for any other.
    COLORREF GetThemeSysColor(int nColorId);
    // The skin class whose address is the handle, or null: validates theme handles.
    CWVPSkinManagerClass* FromHandle(const void* hTheme) const;

    BOOL IsSkinLoaded() const
    {
        return m_bSkinLoaded;
    }
    BOOL IsLowColorDisplay() const;
    CWVPSkinManagerSchema* GetSchema() const
    {
        return m_pSchema;
    }
    CWVPSkinManagerMetrics* GetMetrics() const
    {
        return m_pMetrics;
    }
    CWVPSkinManagerResourceFile* GetResourceFile() const
    {
        return m_pResourceFile;
    }

  protected:
    BOOL ReadSkinData(LPCWSTR lpszResourcePath, LPCWSTR lpszIniFileName);
    void FreeSkinData();

    BOOL m_bSkinLoaded = FALSE;
    BOOL m_bAutoApplyWindows = TRUE;
    BOOL m_bAutoApplyThreads = TRUE;
    CMapStringToPtr m_mapClasses;
    CWVPSkinManagerSchema* m_pSchema = nullptr;
    CWVPSkinManagerMetrics* m_pMetrics;
    CWVPSkinManagerResourceFile* m_pResourceFile;
    DWORD m_dwApplyOptions = kApplyAll;
    std::vector<CWVPSkinManagerColorFilter*> m_arrFilters;
};

// The process's skin manager, made on first call.
CWVPSkinManager* WVPSkinManager();
// Destroys the process's skin manager; called by the library's exit sequence before the program's
// entry function returns, since Win32 calls are not possible from static destructors.
void WVPSkinManagerDestroy();
