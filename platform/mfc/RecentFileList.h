// CRecentFileList: the application's list of recently used files, kept in the profile and
// shown as menu items from ID_FILE_MRU_FIRST on.
#pragma once

#include "platform/mfc/String.h"

class CCmdUI;

class CRecentFileList
{
public:
    CRecentFileList(UINT start, LPCWSTR section, LPCWSTR entryFormat, int size, int maxDisplayLength = 32);
    virtual ~CRecentFileList();

    int GetSize() const { return m_nSize; }
    CString& operator[](int index) { return m_arrNames[index]; }
    virtual void Add(LPCWSTR pathName);
    virtual void Remove(int index);
    virtual BOOL GetDisplayName(CString& name, int index, LPCWSTR currentDir, int currentDirLength,
                                BOOL atLeastName = TRUE) const;
    virtual void UpdateMenu(CCmdUI* cmdUI);
    virtual void ReadList();
    virtual void WriteList();

    int m_nSize;
    CString* m_arrNames;
    CString m_strSectionName;
    CString m_strEntryFormat;
    UINT m_nStart;
    int m_nMaxDisplayLength;
    CString m_strOriginal; // the menu text shown when the list is empty

private:
    CRecentFileList(const CRecentFileList&) = delete;
    CRecentFileList& operator=(const CRecentFileList&) = delete;
};
