#pragma once
// The skin manager's map from window class names (any case) to the skin objects their windows
// get, filled with the defaults of the system's and the common controls' classes.
#include "platform/mfc/Map.h"
#include "platform/mfc/String.h"

class CWVPSkinObjectClassInfo;

class CWVPSkinObjectClassRegistry
{
  public:
    CWVPSkinObjectClassRegistry();
    ~CWVPSkinObjectClassRegistry();
    CWVPSkinObjectClassRegistry(const CWVPSkinObjectClassRegistry&) = delete;
    CWVPSkinObjectClassRegistry& operator=(const CWVPSkinObjectClassRegistry&) = delete;

    // Registers the defaults: the skin object table, its synonyms and the unskinned classes.
    void AddDefaultClasses();
    // Stores the info under the name, replacing an earlier one; the registry takes a reference.
    void AddClass(LPCWSTR lpszClassName, CWVPSkinObjectClassInfo* pInfo);
    // Nothing when the name is known. With an existing name the info is shared; with an empty
    // one the name gets an info without a class (never skinned).
    void AddSynonym(LPCWSTR lpszClassName, LPCWSTR lpszExistingName);
    CWVPSkinObjectClassInfo* Lookup(LPCWSTR lpszClassName) const;
    void RemoveAll();

  private:
    CMapStringToPtr m_mapInfo;
};
