#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/ControlActions.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/ImageManager.h"

CWVPCommandBarManager::CWVPCommandBarManager()
    : m_hwndSite(nullptr), m_pPaintManager(nullptr), m_pImageManager(nullptr), m_pActions(nullptr),
      m_bCustomizeMode(FALSE), m_pDragControl(nullptr)
{
}

CWVPCommandBarManager::~CWVPCommandBarManager()
{
    delete m_pActions;
    if (m_pPaintManager)
        m_pPaintManager->InternalRelease();
    if (m_pImageManager)
        m_pImageManager->InternalRelease();
}

CWVPPaintManager* CWVPCommandBarManager::GetPaintManager() const
{
    return m_pPaintManager ? m_pPaintManager : CWVPPaintManager::GetInstance();
}

CWVPImageManager* CWVPCommandBarManager::GetImageManager() const
{
    return m_pImageManager ? m_pImageManager : WVPImageManager();
}

void CWVPCommandBarManager::EnableActions()
{
    if (!m_pActions)
        m_pActions = new CWVPControlActions(this);
}

CWVPControlAction* CWVPCommandBarManager::FindAction(int id) const
{
    return m_pActions ? m_pActions->FindAction(id) : nullptr;
}

CWVPControlAction* CWVPCommandBarManager::CreateAction(int id)
{
    EnableActions();
    return m_pActions->Add(id);
}

void CWVPCommandBarManager::SetCommandUsed(int id)
{
    if (id)
        m_usedCommands.SetAt(UINT(id), TRUE);
}

BOOL CWVPCommandBarManager::IsCommandUsed(int id) const
{
    BOOL used = FALSE;
    return m_usedCommands.Lookup(UINT(id), used) && used;
}

void CWVPCommandBarManager::SetShortcutText(UINT id, LPCWSTR text)
{
    if (text && *text)
        m_shortcuts.SetAt(id, text);
    else
        m_shortcuts.RemoveKey(id);
}

CString CWVPCommandBarManager::GetShortcutText(UINT id) const
{
    CString text;
    m_shortcuts.Lookup(id, text);
    return text;
}
