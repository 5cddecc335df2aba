// A bar's controls from a TOOLBAR resource and from a list of command ids, and the defaults of the
// operations that bars placed in a frame answer for themselves.
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/ImageManager.h"

#include <vector>

namespace
{
const WORD kToolBarResourceType = 241;
const int kDefaultIconWidth = 16;

// The command ids of a TOOLBAR resource (0 for separators) and its button size; FALSE for a
// missing resource or one shorter than its own count says.
BOOL ReadToolBarResource(UINT id, std::vector<UINT>& ids, CSize& size)
{
    HMODULE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kToolBarResourceType));
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* header = loaded ? static_cast<const WVP_TOOLBAR_RESOURCE*>(::LockResource(loaded)) : nullptr;
    const DWORD bytes = found ? ::SizeofResource(module, found) : 0;
    if (!header || bytes < sizeof(WVP_TOOLBAR_RESOURCE) ||
        bytes < sizeof(WVP_TOOLBAR_RESOURCE) + DWORD(header->count) * sizeof(WORD))
        return FALSE;
    const WORD* items = WVPToolBarResourceItems(header);
    ids.assign(items, items + header->count);
    size = CSize(header->width, header->height);
    return TRUE;
}
} // namespace

void CWVPCommandBar::SetVisible(BOOL visible)
{
    if (::IsWindow(m_hWnd))
        ::ShowWindow(m_hWnd, visible ? SW_SHOWNA : SW_HIDE);
}

CRect CWVPCommandBar::GetBorders()
{
    return GetPaintManager()->GetCommandBarBorders(this);
}

CSize CWVPCommandBar::CalcDynamicLayout(int length, DWORD mode)
{
    CClientDC dc(::IsWindow(m_hWnd) ? this : nullptr);
    CWVPFontDC font(&dc, GetPaintManager()->GetControlFont(this, FALSE));
    return m_pControls->CalcDynamicSize(&dc, length, mode, GetBorders());
}

BOOL CWVPCommandBar::LoadToolBar(UINT id, BOOL loadBitmap)
{
    m_pControls->RemoveAll();
    if (LOWORD(id) == 0)
        return FALSE;
    std::vector<UINT> ids;
    CSize size;
    if (!ReadToolBarResource(id, ids, size))
        return FALSE;
    BOOL ok = SetButtons(ids.data(), int(ids.size()));
    if (loadBitmap)
    {
        // The bitmap holds one cell per button; separators have none.
        std::vector<UINT> buttons;
        for (UINT item : ids)
            if (item)
                buttons.push_back(item);
        CWVPImageManager* images = GetImageManager();
        if (!images || buttons.empty() ||
            !images->SetIcons(id, buttons.data(), int(buttons.size()), size))
            ok = FALSE;
    }
    if (size.cx != kDefaultIconWidth)
        SetIconSize(size);
    return ok;
}

BOOL CWVPCommandBar::SetButtons(const UINT* ids, int count)
{
    m_pControls->RemoveAll();
    const HWND site = GetOwnerSite();
    BOOL beginGroup = FALSE;
    for (int i = 0; i < count; ++i)
    {
        if (ids[i] == 0)
        {
            beginGroup = TRUE;
            continue;
        }
        CREATE_CONTROL_NOTIFY notify = {};
        notify.id = int(ids[i]);
        notify.toolBar = TRUE;
        notify.index = i;
        notify.pCommandBar = this;
        notify.caption = m_strTitle;
        notify.controlType = wvpControlButton;
        CWVPControl* pControl = nullptr;
        const BOOL siteAnswered =
            ::IsWindow(site) && ::SendMessageW(site, WVP_WM_BEFORECREATECONTROL, 0, LPARAM(&notify)) != 0;
        if (siteAnswered && notify.pControl)
            pControl = m_pControls->Add(notify.pControl);
        else
            pControl = m_pControls->AddByType(notify.controlType, notify.id);
        if (!pControl)
            continue;
        if (siteAnswered && notify.buttonStyle != pControl->GetStyle())
        {
            pControl->SetStyle(notify.buttonStyle);
            DelayLayout();
        }
        if (pControl->GetType() == wvpControlPopup)
            pControl->SetIconId(notify.id);
        if (beginGroup)
            pControl->SetBeginGroup(TRUE);
        beginGroup = FALSE;
        if (::IsWindow(site))
        {
            notify.pControl = pControl;
            ::SendMessageW(site, WVP_WM_AFTERCREATECONTROL, 0, LPARAM(&notify));
        }
    }
    return TRUE;
}
