#include "platform/mfc/RecentFileList.h"

#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/WinApp.h"

CRecentFileList::CRecentFileList(UINT start, LPCWSTR section, LPCWSTR entryFormat, int size, int maxDisplayLength)
    : m_nSize(size > 0 ? size : 1), m_arrNames(new CString[size > 0 ? size : 1]), m_strSectionName(section),
      m_strEntryFormat(entryFormat), m_nStart(start), m_nMaxDisplayLength(maxDisplayLength)
{
}

CRecentFileList::~CRecentFileList()
{
    delete[] m_arrNames;
}

void CRecentFileList::Add(LPCWSTR pathName)
{
    if (!pathName || !*pathName)
        return;
    // Newest first; an existing entry moves to the front.
    int found = m_nSize - 1;
    for (int i = 0; i < m_nSize; ++i)
    {
        if (m_arrNames[i].CompareNoCase(pathName) == 0)
        {
            found = i;
            break;
        }
    }
    for (int i = found; i > 0; --i)
        m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = pathName;
}

void CRecentFileList::Remove(int index)
{
    if (index < 0 || index >= m_nSize)
        return;
    for (int i = index; i < m_nSize - 1; ++i)
        m_arrNames[i] = m_arrNames[i + 1];
    m_arrNames[m_nSize - 1].Empty();
}

BOOL CRecentFileList::GetDisplayName(CString& name, int index, LPCWSTR, int, BOOL) const
{
    if (index < 0 || index >= m_nSize || m_arrNames[index].IsEmpty())
        return FALSE;
    name = m_arrNames[index];
    if (m_nMaxDisplayLength > 3 && name.GetLength() > m_nMaxDisplayLength)
        name = L"..." + name.Right(m_nMaxDisplayLength - 3);
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* cmdUI)
{
    CMenu* menu = cmdUI->m_pMenu;
    if (!menu)
    {
        cmdUI->Enable(!m_arrNames[0].IsEmpty());
        return;
    }
    if (m_strOriginal.IsEmpty())
        menu->GetMenuString(cmdUI->m_nID, m_strOriginal, MF_BYCOMMAND);
    if (m_arrNames[0].IsEmpty())
    {
        if (!m_strOriginal.IsEmpty())
            cmdUI->SetText(m_strOriginal);
        cmdUI->Enable(FALSE);
        return;
    }
    for (int i = 0; i < m_nSize; ++i)
        menu->DeleteMenu(cmdUI->m_nID + i, MF_BYCOMMAND);
    for (int i = 0; i < m_nSize; ++i)
    {
        CString name;
        if (!GetDisplayName(name, i, nullptr, 0))
            break;
        CString text;
        text.Format(L"&%d %s", (i + 1) % 10, (LPCWSTR)name);
        menu->InsertMenu(cmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, cmdUI->m_nID++, text);
    }
    cmdUI->m_nIndex--;
    cmdUI->m_nIndexMax = menu->GetMenuItemCount();
    cmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        m_arrNames[i] = app->GetProfileString(m_strSectionName, entry, L"");
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (int i = 0; i < m_nSize; ++i)
    {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        if (m_arrNames[i].IsEmpty())
            app->WriteProfileString(m_strSectionName, entry, nullptr);
        else
            app->WriteProfileString(m_strSectionName, entry, m_arrNames[i]);
    }
}
