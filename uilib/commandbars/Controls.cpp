#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/ControlGallery.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/ControlButton.h"
#include "uilib/commandbars/ControlEdit.h"
#include "uilib/commandbars/ControlComboBox.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/commandbars/SpecialControlFactory.h"
#include "uilib/foundation/ResourceManager.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CWVPControls, CCmdTarget)
IMPLEMENT_DYNCREATE(CWVPOriginalControls, CWVPControls)

namespace
{
const int kLastActionId = 0x0FFFFFFE;
const int kLibraryFirst = 9100;
const int kLibraryLast = 9299;
const int kWorkspaceFirst = 35000;
const int kWorkspaceLast = 35003;

// The decimal number at the start of a text (digits only; 0 when there are none).
int ParseDecimal(const CString& text)
{
    long long value = 0;
    for (int i = 0; i < text.GetLength() && text[i] >= L'0' && text[i] <= L'9' && value < 0x7FFFFFFF; ++i)
        value = value * 10 + (text[i] - L'0');
    return int(std::min(value, 0x7FFFFFFFLL));
}

BOOL IsPopupKind(int type)
{
    return type == wvpControlPopup || type == wvpControlButtonPopup || type == wvpControlSplitButtonPopup;
}
} // namespace

CWVPControls::CWVPControls()
    : m_pParent(nullptr), m_pCommandBars(nullptr), m_pOriginal(nullptr), m_bOriginal(FALSE), m_szSeparator(0, 0),
      m_nRowSpacing(0), m_pLayoutDC(nullptr)
{
}

CWVPControls::~CWVPControls()
{
    RemoveAll();
    // Controls the collection keeps are released with it.
    std::vector<CWVPControl*> kept;
    kept.swap(m_controls);
    for (CWVPControl* pControl : kept)
    {
        pControl->AttachTo(nullptr, 0);
        pControl->SetParent(nullptr);
        pControl->InternalRelease();
    }
    ReleaseOriginalControls();
}

CWVPControl* CWVPControls::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_controls[index] : nullptr;
}

void CWVPControls::SetParent(CWVPCommandBar* pBar)
{
    m_pParent = pBar;
    if (!m_controls.empty())
        RefreshIndexes();
}

CWVPCommandBarManager* CWVPControls::GetCommandBars() const
{
    return m_pParent ? m_pParent->GetCommandBars() : m_pCommandBars;
}

void CWVPControls::SetOriginalControls(CWVPOriginalControls* pOriginal)
{
    if (m_pOriginal)
        m_pOriginal->InternalRelease();
    m_pOriginal = pOriginal;
}

void CWVPControls::RefreshIndexes()
{
    for (size_t i = 0; i < m_controls.size(); ++i)
    {
        m_controls[i]->AttachTo(this, int(i));
        m_controls[i]->SetParent(m_pParent);
    }
    if (m_pParent)
        m_pParent->OnControlsReset();
}

void CWVPControls::OnControlAdded(CWVPControl*)
{
    RefreshIndexes();
}

void CWVPControls::OnControlRemoved(CWVPControl* pControl)
{
    pControl->AttachTo(nullptr, 0);
    pControl->OnRemoved();
    pControl->SetParent(nullptr);
    RefreshIndexes();
}

BOOL CWVPControls::IsControlKept(CWVPControl*)
{
    return FALSE;
}

BOOL CWVPControls::ShouldSaveControl(CWVPControl* pControl)
{
    return !pControl->IsTemporary();
}

CWVPControl* CWVPControls::Insert(CWVPControl* pControl, int before)
{
    if (!pControl)
        return nullptr;
    if (before < 0 || before > GetCount())
        before = GetCount();
    m_controls.insert(m_controls.begin() + before, pControl);
    OnControlAdded(pControl);
    return pControl;
}

CWVPControl* CWVPControls::AddControl(CWVPControl* pControl, int id, LPCWSTR parameter, int before, BOOL temporary)
{
    if (!pControl)
        return nullptr;
    pControl->SetParameter(parameter ? parameter : L"");
    pControl->SetTemporary(temporary);
    if (!pControl->GetAction())
    {
        CWVPCommandBarManager* manager = GetCommandBars();
        CWVPControlAction* existing = manager ? manager->FindAction(id) : nullptr;
        if (existing)
            pControl->SetAction(existing);
        else if (!manager || !manager->IsActionsEnabled() || id < 1 || id > kLastActionId ||
                 (id >= kLibraryFirst && id <= kLibraryLast) || (id >= kWorkspaceFirst && id <= kWorkspaceLast))
            pControl->SetID(id);
        else
            pControl->SetAction(manager->CreateAction(id));
    }
    return Insert(pControl, before);
}

CWVPControl* CWVPControls::CreateControl(int type, int id, LPCWSTR caption, BOOL fromMenu)
{
    if (type < wvpControlButton || type > wvpControlRadioButton)
        return nullptr;
    if (IsPopupKind(type))
    {
        CWVPControlPopup* pPopup = CWVPControlPopup::CreatePopupControl(type);
        return pPopup;
    }
    if (CWVPControl* pSpecial = WVPCreateSpecialControl(type, id, caption, fromMenu))
        return pSpecial;
    if (type == wvpControlEdit)
        return static_cast<CWVPControl*>(RUNTIME_CLASS(CWVPControlEdit)->CreateObject());
    if (type == wvpControlComboBox)
        return static_cast<CWVPControl*>(RUNTIME_CLASS(CWVPControlComboBox)->CreateObject());
    if (type == wvpControlGallery)
        return static_cast<CWVPControl*>(RUNTIME_CLASS(CWVPControlGallery)->CreateObject());
    CWVPControl* pControl = static_cast<CWVPControl*>(RUNTIME_CLASS(CWVPControlButton)->CreateObject());
    pControl->SetType(type);
    return pControl;
}

CWVPControl* CWVPControls::AddByType(int type, int id, LPCWSTR parameter, int before, BOOL temporary)
{
    if (type < wvpControlButton || type > wvpControlRadioButton)
        return nullptr;
    CWVPControl* pControl = CreateControl(type, id, nullptr, FALSE);
    if (IsPopupKind(type))
    {
        CWVPControlPopup* pPopup = static_cast<CWVPControlPopup*>(pControl);
        CWVPCommandBar* pBar = nullptr;
        CMenu menu;
        if (id > 0 && WVPResourceManager()->LoadMenu(&menu, UINT(id)))
        {
            CMenu* pSub = CMenu::FromHandle(::GetSubMenu(menu.GetSafeHmenu(), 0));
            CString caption;
            WVPResourceManager()->GetMenuString(&menu, 0, caption, MF_BYPOSITION);
            CWVPCommandBarManager* manager = GetCommandBars();
            const HWND site = manager ? manager->GetSite() : (m_pParent ? m_pParent->GetOwnerSite() : nullptr);
            if (site)
            {
                CREATE_BAR_NOTIFY notify = {};
                notify.popup = TRUE;
                notify.caption = caption;
                notify.id = id;
                if (::SendMessageW(site, WVP_WM_CREATEPOPUPBAR, 0, LPARAM(&notify)) && notify.pCreated &&
                    notify.pCreated->IsKindOf(RUNTIME_CLASS(CWVPCommandBar)))
                    pBar = static_cast<CWVPCommandBar*>(notify.pCreated);
            }
            if (!pBar)
                pBar = CWVPPopupBar::CreatePopupBar(manager);
            pPopup->SetCaption(caption);
            if (pSub && pSub->GetSafeHmenu())
                pBar->LoadMenu(pSub, TRUE);
        }
        if (!pBar)
            pBar = CWVPPopupBar::CreatePopupBar(GetCommandBars());
        pPopup->SetCommandBar(pBar);
        pBar->InternalRelease();
    }
    pControl->SetType(type);
    return AddControl(pControl, id, parameter, before, temporary);
}

CWVPControl* CWVPControls::AddClone(CWVPControl* pSource, int before, BOOL recursive)
{
    if (!pSource)
        return nullptr;
    CWVPControl* pControl = static_cast<CWVPControl*>(pSource->GetRuntimeClass()->CreateObject());
    if (!pControl)
        return nullptr;
    Insert(pControl, before);
    pControl->Copy(pSource, recursive);
    return pControl;
}

CWVPControl* CWVPControls::AddMenuItem(CMenu* pMenu, int position)
{
    const HMENU hMenu = pMenu->GetSafeHmenu();
    HMENU hSub = ::GetSubMenu(hMenu, position);
    int id = hSub ? 0 : int(::GetMenuItemID(hMenu, position));
    if (!hSub && UINT(id) == WVP_ID_NOCONTROL)
        return nullptr;
    MENUITEMINFOW info = {sizeof info};
    info.fMask = MIIM_ID;
    if (hSub && ::GetMenuItemInfoW(hMenu, UINT(position), TRUE, &info))
        id = int(info.wID);
    if (UINT(id) == WVP_ID_NOCONTROL)
        return nullptr;
    const BOOL isDefault = int(::GetMenuDefaultItem(hMenu, TRUE, GMDI_USEDISABLED)) == position;

    CString caption;
    WVPResourceManager()->GetMenuString(pMenu, UINT(position), caption, MF_BYPOSITION);
    if (hSub)
    {
        const int tab = caption.Find(L'\t');
        if (tab >= 1)
        {
            const int number = ParseDecimal(caption.Mid(tab + 1));
            if (number != 0)
            {
                id = number;
                caption = caption.Left(tab);
            }
        }
    }

    CWVPCommandBarManager* manager = GetCommandBars();
    const HWND site = manager ? manager->GetSite() : (m_pParent ? m_pParent->GetOwnerSite() : nullptr);
    int type = hSub ? wvpControlPopup : wvpControlButton;
    int style = 0;
    CREATE_CONTROL_NOTIFY notify = {};
    CWVPControl* pControl = nullptr;
    if (site)
    {
        notify.id = id;
        notify.toolBar = FALSE;
        notify.index = position;
        notify.pMenu = pMenu;
        notify.pCommandBar = m_pParent;
        notify.caption = caption;
        notify.controlType = type;
        notify.buttonStyle = style;
        if (::SendMessageW(site, WVP_WM_BEFORECREATECONTROL, 0, LPARAM(&notify)))
        {
            type = notify.controlType;
            caption = notify.caption ? notify.caption : L"";
            style = notify.buttonStyle;
            id = notify.id;
            pControl = notify.pControl;
        }
    }
    if (!pControl)
    {
        pControl = CreateControl(type, id, caption, TRUE);
        if (!pControl)
            return nullptr;
        if (IsPopupKind(type))
        {
            const CString stripped = CWVPPaintManager::StripMnemonics(caption);
            CWVPCommandBar* pBar = nullptr;
            if (site)
            {
                CREATE_BAR_NOTIFY barNotify = {};
                barNotify.popup = TRUE;
                barNotify.caption = stripped;
                barNotify.id = id;
                if (::SendMessageW(site, WVP_WM_CREATEPOPUPBAR, 0, LPARAM(&barNotify)) && barNotify.pCreated &&
                    barNotify.pCreated->IsKindOf(RUNTIME_CLASS(CWVPCommandBar)))
                {
                    pBar = static_cast<CWVPCommandBar*>(barNotify.pCreated);
                    if (barNotify.caption)
                        caption = barNotify.caption;
                }
            }
            if (!pBar)
                pBar = CWVPPopupBar::CreatePopupBar(manager);
            pBar->SetTitle(stripped);
            if (hSub)
                pBar->LoadMenu(CMenu::FromHandle(hSub), FALSE);
            else if (id != 0)
            {
                CMenu menu;
                if (WVPResourceManager()->LoadMenu(&menu, UINT(id)))
                    if (HMENU first = ::GetSubMenu(menu.GetSafeHmenu(), 0))
                        pBar->LoadMenu(CMenu::FromHandle(first), FALSE);
            }
            static_cast<CWVPControlPopup*>(pControl)->SetCommandBar(pBar);
            pBar->InternalRelease();
        }
    }
    pControl->SetType(type);
    if (style != pControl->GetOwnStyle())
    {
        pControl->SetStyle(style);
        pControl->DelayLayoutParent();
    }
    if (!pControl->GetAction())
    {
        CWVPControlAction* action = manager ? manager->FindAction(id) : nullptr;
        if (!action && manager && manager->IsActionsEnabled() && id != 0 && id < 0x0FFFFFFF)
            action = manager->CreateAction(id);
        if (action)
        {
            if (action->GetOwnCaption().IsEmpty())
                action->SetCaption(caption);
            // The shortcut after the tab would be lost with the caption's cut: the action keeps it.
            const int tab = caption.Find(L'\t');
            if (tab >= 0 && action->GetShortcutText().IsEmpty())
                action->SetShortcutText(caption.Mid(tab + 1));
            pControl->SetAction(action);
        }
        else
        {
            pControl->SetID(id);
            pControl->SetCaption(caption);
        }
    }
    if (isDefault)
        pControl->SetDefaultItem(TRUE);
    m_controls.push_back(pControl);
    OnControlAdded(pControl);
    if (site)
    {
        notify.pControl = pControl;
        ::SendMessageW(site, WVP_WM_AFTERCREATECONTROL, 0, LPARAM(&notify));
    }
    return pControl;
}

CWVPControl* CWVPControls::SetControlType(CWVPControl* pControl, int type)
{
    if (!pControl)
        return nullptr;
    if (IsPopupKind(pControl->GetType()) && IsPopupKind(type))
    {
        pControl->SetType(type);
        return pControl;
    }
    CWVPControl* pNew = AddByType(type, 0, L"", pControl->GetIndex() + 1);
    if (!pNew)
        return nullptr;
    pNew->Copy(pControl, FALSE);
    pNew->SetType(type);
    Remove(pControl);
    return pNew;
}

CWVPControl* CWVPControls::SetControlTypeAt(int index, int type)
{
    return SetControlType(GetAt(index), type);
}

void CWVPControls::Remove(CWVPControl* pControl)
{
    if (!pControl || pControl->GetControls() != this)
        return;
    if (m_pParent && m_pParent->GetSelected() == pControl->GetIndex())
        m_pParent->SetSelected(-1);
    const int index = pControl->GetIndex();
    if (index < 0 || index >= GetCount() || m_controls[index] != pControl || IsControlKept(pControl))
        return;
    m_controls.erase(m_controls.begin() + index);
    OnControlRemoved(pControl);
    pControl->InternalRelease();
}

void CWVPControls::RemoveAll()
{
    for (int i = GetCount() - 1; i >= 0; --i)
    {
        CWVPControl* pControl = m_controls[i];
        if (IsControlKept(pControl))
            continue;
        m_controls.erase(m_controls.begin() + i);
        pControl->AttachTo(nullptr, 0);
        pControl->OnRemoved();
        pControl->SetParent(nullptr);
        pControl->InternalRelease();
    }
    RefreshIndexes();
}

CWVPControl* CWVPControls::FindControl(int type, int id, BOOL visibleOnly, BOOL recursive) const
{
    for (CWVPControl* pControl : m_controls)
    {
        if ((type == 0 || pControl->GetType() == type) && (!visibleOnly || pControl->IsVisible(0)) &&
            (id == -1 || pControl->GetID() == id))
            return pControl;
        if (recursive)
            if (CWVPCommandBar* pBar = pControl->GetCommandBar())
                if (CWVPControl* found = pBar->GetControls()->FindControl(type, id, visibleOnly, TRUE))
                    return found;
    }
    return nullptr;
}

CWVPControl* CWVPControls::HitTest(CPoint pt) const
{
    for (CWVPControl* pControl : m_controls)
        if (pControl->IsVisible(0) && pControl->GetRect().PtInRect(pt))
            return pControl;
    return nullptr;
}

int CWVPControls::GetVisibleCount(BOOL all) const
{
    int count = 0;
    for (CWVPControl* pControl : m_controls)
        if (pControl->IsVisible(all ? 0 : WVP_HIDE_WRAP))
            ++count;
    return count;
}

CWVPControl* CWVPControls::GetVisibleAt(int n, BOOL all) const
{
    for (CWVPControl* pControl : m_controls)
        if (pControl->IsVisible(all ? 0 : WVP_HIDE_WRAP) && n-- == 0)
            return pControl;
    return nullptr;
}

int CWVPControls::GetNext(int index, int direction, BOOL skipFlag2, BOOL skipTemporary, BOOL narrowMask) const
{
    const int count = GetCount();
    if (count == 0)
        return -1;
    const BOOL fromOutside = index == -1;
    int i = index + direction;
    if (index == -1 && direction < 0)
        i = count - 1;
    if (i == index)
        return i;
    BOOL wrapped = FALSE;
    const DWORD mask = narrowMask ? WVP_HIDE_SCROLL : (WVP_HIDE_SCROLL | WVP_HIDE_EXPAND);
    for (int steps = 0; steps <= count + 1; ++steps, i += direction)
    {
        if (i >= count)
        {
            if ((fromOutside && direction > 0) || wrapped)
                return -1;
            wrapped = TRUE;
            i = 0;
        }
        else if (i < 0)
        {
            if ((fromOutside && direction < 0) || wrapped)
                return -1;
            wrapped = TRUE;
            i = count - 1;
        }
        if (i == index)
            return index;
        const CWVPControl* pControl = m_controls[i];
        if (!pControl->IsVisible(mask))
            continue;
        if (skipFlag2 && (pControl->GetFlags() & WVP_CONTROLFLAG_SKIPFOCUS))
            continue;
        if (skipTemporary && pControl->IsTemporary())
            continue;
        return i;
    }
    return -1;
}

BOOL CWVPControls::IsEqual(CWVPControls* pOther) const
{
    size_t i = 0, j = 0;
    for (;;)
    {
        while (i < m_controls.size() && m_controls[i]->IsTemporary())
            ++i;
        while (j < pOther->m_controls.size() && pOther->m_controls[j]->IsTemporary())
            ++j;
        const BOOL endA = i >= m_controls.size(), endB = j >= pOther->m_controls.size();
        if (endA || endB)
            return endA && endB;
        if (!m_controls[i]->Compare(pOther->m_controls[j]))
            return FALSE;
        ++i;
        ++j;
    }
}

BOOL CWVPControls::IsChanged() const
{
    return !m_pOriginal || !IsEqual(m_pOriginal);
}

void CWVPControls::Copy(CWVPControls* pSource, BOOL recursive)
{
    RemoveAll();
    for (CWVPControl* pControl : pSource->m_controls)
        if (!pControl->IsTemporary())
            AddClone(pControl, -1, recursive);
    SetOriginalControls(pSource->m_pOriginal
                            ? static_cast<CWVPOriginalControls*>(pSource->m_pOriginal->Duplicate(recursive))
                            : nullptr);
}

CWVPControls* CWVPControls::Duplicate(BOOL recursive)
{
    CWVPControls* pCopy = static_cast<CWVPControls*>(GetRuntimeClass()->CreateObject());
    pCopy->m_pCommandBars = GetCommandBars();
    for (CWVPControl* pControl : m_controls)
        if (!pControl->IsTemporary())
            pCopy->AddClone(pControl, -1, recursive);
    if (m_pOriginal)
        pCopy->SetOriginalControls(static_cast<CWVPOriginalControls*>(m_pOriginal->Duplicate(recursive)));
    return pCopy;
}

void CWVPControls::CreateOriginalControls()
{
    CWVPOriginalControls* pOriginal = new CWVPOriginalControls;
    pOriginal->m_pCommandBars = GetCommandBars();
    for (CWVPControl* pControl : m_controls)
        if (!pControl->IsTemporary())
            pOriginal->AddClone(pControl, -1, TRUE);
    SetOriginalControls(pOriginal);
}
