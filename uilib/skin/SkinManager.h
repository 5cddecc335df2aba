#pragma once
// The one process-wide skin manager: loads a skin from its resource file into the schema, keeps
// the skin classes, the metrics and the colour filters, hooks the process's system functions
// while a skin is loaded, and gives every new window its skin object through a creation hook on
// each UI thread. The application reaches it through WVPSkinManager().
#include "platform/mfc/Map.h"
#include "platform/mfc/String.h"
#include "platform/mfc/SyncObject.h"
#include "uilib/skin/SkinManagerClass.h"
#include "uilib/skin/SkinManagerColorFilter.h"
#include "uilib/skin/SkinManagerMetrics.h"
#include "uilib/skin/SkinManagerResourceFile.h"
#include "uilib/skin/SkinManagerSchema.h"
#include "uilib/skin/SkinObjectClassRegistry.h"

class CWVPSkinObject;

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
    // Tells every window that the skin changed: top-level windows of the process get
    // WM_SYSCOLORCHANGE, skin objects OnSkinChanged; objects of vanished windows are dropped.
    virtual void ApplyWindows(BOOL bPrevState, BOOL bNewState);
    // Creates and attaches the skin object the window's class calls for; null for none.
    virtual CWVPSkinObject* SetHook(HWND hWnd, LPCWSTR lpszClassName, LPCREATESTRUCTW lpcs, BOOL bAuto);

    // The window's skin object, or null (no reference is added).
    CWVPSkinObject* Lookup(HWND hWnd);
    // The same with a reference the caller releases.
    CWVPSkinObject* LookupAddRef(HWND hWnd);
    // Takes the window's object out of the map, detaches it and drops the map's reference.
    void Remove(HWND hWnd, BOOL bDestroyed = FALSE);
    // Drops every object; with bDetach each is detached first (its window keeps living).
    void RemoveAll(BOOL bDetach = TRUE);
    int GetObjectCount();
    // Installs the creation hook of the calling thread, once.
    void InstallThreadHook();

    void SetAutoApplyWindows(BOOL bAuto)
    {
        m_bAutoApplyWindows = bAuto;
    }
    void SetAutoApplyThreads(BOOL bAuto)
    {
        m_bAutoApplyThreads = bAuto;
    }
    BOOL IsApplyToNewThreads() const
    {
        return m_bAutoApplyThreads;
    }
    CWVPSkinObjectClassRegistry& GetClassRegistry()
    {
        return m_classRegistry;
    }

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
    // Hooks by the current options and refreshes everything that reads the skin.
    void ApplySkin();
    // The kind of a dialog being created: a page of a property sheet or an ordinary dialog.
    int GetDialogKind(HWND hWnd, LPCREATESTRUCTW lpcs);

    static LRESULT CALLBACK CbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam);
    static void CALLBACK WinEventHook(HWINEVENTHOOK hWinEventHook, DWORD dwEvent, HWND hWnd, LONG idObject,
                                      LONG idChild, DWORD dwEventThread, DWORD dwmsEventTime);

    BOOL m_bSkinLoaded = FALSE;
    BOOL m_bAutoApplyWindows = TRUE;
    BOOL m_bAutoApplyThreads = TRUE;
    CMapStringToPtr m_mapClasses;
    CWVPSkinManagerSchema* m_pSchema = nullptr;
    CWVPSkinManagerMetrics* m_pMetrics;
    CWVPSkinManagerResourceFile* m_pResourceFile;
    DWORD m_dwApplyOptions = kApplyAll;
    std::vector<CWVPSkinManagerColorFilter*> m_arrFilters;
    HWINEVENTHOOK m_hWinEventHook = nullptr;
    CMapPtrToPtr m_mapWindows;
    CCriticalSection m_csWindows;
    CWVPSkinObjectClassRegistry m_classRegistry;
};

// The process's skin manager, made on first call.
CWVPSkinManager* WVPSkinManager();
// The manager that skins the process's windows and answers the hooked functions: the newest one
// alive, or null.
CWVPSkinManager* WVPActiveSkinManager();
// Destroys the process's skin manager; called by the library's exit sequence before the program's
// entry function returns, since Win32 calls are not possible from static destructors.
void WVPSkinManagerDestroy();
// What the application does with the skin at start and exit: loads the skin resource (such as
// "NORMALBLUE_INI") of the module with every apply option; and unloads the skin, detaches every
// skin object and restores every hooked import before the entry function returns.
BOOL WVPSkinLoadFromResources(HMODULE hModule, LPCWSTR lpszIniName);
void WVPSkinShutdown();
