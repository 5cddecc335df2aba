#include "uilib/commandbars/ControlOleItems.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/ListControlItems.h"
#include "uilib/commandbars/PopupBar.h"

#include <oledlg.h>

IMPLEMENT_SERIAL(CWVPControlOleItems, CWVPControlButton, VERSIONABLE_SCHEMA | 0x21)

namespace
{
const LPCWSTR kVerbsPopupParameter = L"OLEMENUPOPUP";

BOOL IsVerbsPopup(const CWVPControl*, const CWVPControl* pItem)
{
    return pItem->GetParameter() == kVerbsPopupParameter;
}

// Owns the menu the verbs are collected in.
struct VerbMenu
{
    HMENU handle = ::CreatePopupMenu();
    ~VerbMenu()
    {
        if (handle)
            ::DestroyMenu(handle);
    }
};
} // namespace

CWVPControlOleItems::CWVPControlOleItems()
{
    m_nType = wvpControlButton;
}

BOOL CWVPControlOleItems::IsCustomizeDragOverAvail(CWVPCommandBar* pBar)
{
    return WVPListControlDropAllowed(pBar);
}

COleClientItem* CWVPControlOleItems::GetSelectedItem() const
{
    CFrameWnd* pSite = m_pParent ? m_pParent->GetSiteFrame() : nullptr;
    CFrameWnd* pFrame = pSite ? pSite->GetActiveFrame() : nullptr;
    CView* pView = pFrame ? pFrame->GetActiveView() : nullptr;
    CDocument* pDocument = pView ? pView->GetDocument() : nullptr;
    if (!pDocument || !pDocument->IsKindOf(RUNTIME_CLASS(COleDocument)))
        return nullptr;
    COleClientItem* pItem = static_cast<COleDocument*>(pDocument)->GetPrimarySelectedItem(pView);
    return pItem && pItem->GetType() != OT_STATIC && pItem->m_lpObject ? pItem : nullptr;
}

void CWVPControlOleItems::OnCalcDynamicSize(DWORD)
{
    if (!WVPBeginListRebuild(this, IsVerbsPopup))
        return;
    SetHideFlags(WVP_HIDE_HIDDEN);
    COleClientItem* pItem = GetSelectedItem();
    if (!pItem || !m_pControls)
        return;

    VerbMenu menu;
    HMENU hPopup = nullptr;
    if (!menu.handle || !::OleUIAddVerbMenuW(pItem->m_lpObject, nullptr, menu.handle, 0, WVP_ID_OLEVERBS,
                                             WVP_ID_OLEVERB_LAST, FALSE, 0, &hPopup))
        return;
    // Only an item with several verbs gets a popup of them; a single verb is not offered here.
    HMENU hVerbs = ::GetSubMenu(menu.handle, 0);
    if (::GetMenuItemCount(menu.handle) != 1 || !hVerbs)
        return;

    CString caption;
    const int length = ::GetMenuStringW(menu.handle, 0, nullptr, 0, MF_BYPOSITION);
    if (length > 0)
    {
        ::GetMenuStringW(menu.handle, 0, caption.GetBuffer(length + 1), length + 1, MF_BYPOSITION);
        caption.ReleaseBuffer();
    }
    CWVPPopupBar* pBar = CWVPPopupBar::CreatePopupBar(m_pControls->GetCommandBars());
    pBar->LoadMenu(CMenu::FromHandle(hVerbs), TRUE);
    CWVPControlPopup* pPopup = CWVPControlPopup::CreatePopupControl(wvpControlPopup);
    pPopup->SetCommandBar(pBar);
    pBar->InternalRelease();
    m_pControls->AddControl(pPopup, 0, kVerbsPopupParameter, GetIndex() + 1, TRUE);
    pPopup->SetCaption(caption);
}
