#include "uilib/commandbars/ControlRecentFileList.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/ListControlItems.h"

IMPLEMENT_SERIAL(CWVPControlRecentFileList, CWVPControlButton, VERSIONABLE_SCHEMA | 0x21)

namespace
{
int g_listSize = 0; // the size of the list whose items are being removed

BOOL IsRecentFileItem(const CWVPControl*, const CWVPControl* pItem)
{
    return pItem->GetID() >= WVP_ID_FILE_MRU_FIRST && pItem->GetID() <= WVP_ID_FILE_MRU_FIRST + g_listSize;
}

// The current folder with a trailing backslash, for shortening the names below it.
CString CurrentFolder()
{
    const DWORD length = ::GetCurrentDirectoryW(0, nullptr);
    CString folder;
    if (length == 0)
        return folder;
    ::GetCurrentDirectoryW(length, folder.GetBuffer(int(length)));
    folder.ReleaseBuffer();
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    return folder;
}
} // namespace

CWVPControlRecentFileList::CWVPControlRecentFileList()
{
    m_nType = wvpControlButton;
}

BOOL CWVPControlRecentFileList::IsCustomizeDragOverAvail(CWVPCommandBar* pBar)
{
    return WVPListControlDropAllowed(pBar);
}

CRecentFileList* CWVPControlRecentFileList::GetRecentFileList()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pRecentFileList : nullptr;
}

void CWVPControlRecentFileList::OnCalcDynamicSize(DWORD)
{
    CRecentFileList* pList = GetRecentFileList();
    if (!pList)
        return;
    g_listSize = pList->GetSize();
    WVPRemoveGeneratedItems(this, IsRecentFileItem);

    if (IsCustomizeMode() || pList->GetSize() <= 0 || (*pList)[0].IsEmpty())
    {
        // A placeholder: enabled while customizing, disabled for an empty list.
        SetHideFlags(0);
        SetEnabled(IsCustomizeMode());
        return;
    }
    SetHideFlags(WVP_HIDE_HIDDEN);

    const CString folder = CurrentFolder();
    for (int i = 0; i < pList->GetSize(); ++i)
    {
        CString name;
        if (!pList->GetDisplayName(name, i, folder, folder.GetLength()) || name.IsEmpty())
            break;
        CWVPControl* pItem =
            m_pControls->AddByType(wvpControlButton, GetFirstMruID() + i, L"", GetIndex() + 1 + i, TRUE);
        if (!pItem)
            break;
        pItem->SetCaption(WVPFormatMenuCaption(name, i + 1));
        pItem->SetFlags(pItem->GetFlags() | WVP_CONTROLFLAG_MANUALUPDATE |
                        (i == 0 ? (m_dwFlags & WVP_CONTROLFLAG_WRAPROW) : 0));
        pItem->SetBeginGroup(i == 0 && GetIndex() != 0);
    }
}
