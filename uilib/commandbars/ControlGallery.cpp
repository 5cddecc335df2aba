#include "uilib/commandbars/ControlGallery.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/ControlGalleryPaintManager.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/GalleryItemCollection.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/PopupBar.h"
#include "uilib/controls/ToolTipContext.h"
#include "uilib/foundation/PropExchange.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_SERIAL(CWVPControlGallery, CWVPControlPopup, VERSIONABLE_SCHEMA | 0x21)

namespace
{
// Tooltips of the gallery also show in popup bars that turn tooltips off.
const DWORD kFlagPopupTooltips = 0x40;
const int kDefaultWidth = 120;
const int kDefaultHeight = 60;
const int kLabelGap = 1;
const int kPopupScrollWidth = 16;
const int kMinCustomizeHeight = 32;
const int kMinItemWidth = 16;
// The bar's hover timer (a hovered item starts its preview when it fires).
const UINT kHoverTimer = 112223;
const UINT kHoverDelay = 200;
const UINT kAnimationInterval = 40;
// Repeat intervals at most this long belong to a held arrow: its animations take fewer steps.
const int kHeldRepeatInterval = 200;
const int kHeldSteps = 3;
const int kClickSteps = 8;
// The mouse must move this far from the press point before an item counts as dragged.
const int kDragDistance = 4;
const int kWheelLines = 3;
const LONG kRoleList = 33;
const LONG kRoleListItem = 34;
const LONG kStateFocusableSelectable = 0x300000;
const LONG kStateFocused = 4;
const LONG kStateSelected = 2;
const DWORD kEventFocus = 0x8005;

BOOL IsPopupBarType(const CWVPCommandBar* pBar)
{
    return pBar && pBar->GetPosition() == wvpBarPopup;
}

int ChildIndex(const VARIANT& v)
{
    return V_VT(&v) == VT_I4 ? int(V_I4(&v)) : 0;
}
} // namespace

CWVPControlGallery::CWVPControlGallery()
    : m_nHotScrollPart(WVP_HT_NONE), m_bScrollPartPressed(FALSE), m_bAnimating(FALSE), m_nChecked(-1),
      m_nSelectedItem(-1), m_bHideSelection(FALSE), m_bPressed(FALSE), m_ptPressed(0, 0), m_nScrollPos(0),
      m_nScrollTarget(0), m_dScrollStep(0.0), m_bKeyboardSelected(FALSE), m_nItemsHeight(0), m_bShowLabels(TRUE),
      m_bShowScrollBar(TRUE), m_bShowBorders(FALSE), m_rcMargin(0, 0, 0, 0), m_bPreview(FALSE), m_nResizable(0)
{
    m_nType = wvpControlGallery;
    m_nWidth = kDefaultWidth;
    m_nHeight = kDefaultHeight;
    m_dwFlags |= kFlagPopupTooltips;
    m_bControlShadow = FALSE;
}

CWVPControlGallery::~CWVPControlGallery()
{
    StopScrollAnimation();
}

// --- items and geometry -------------------------------------------------------------------------

BOOL CWVPControlGallery::IsDisplayedAsButton() const
{
    const int style = GetStyle();
    return style == wvpButtonIcon || style == wvpButtonIconAndCaptionBelow;
}

CWVPGalleryItemCollection* CWVPControlGallery::GetItems() const
{
    return m_pAction ? dynamic_cast<CWVPGalleryItemCollection*>(m_pAction->GetAttachedObject()) : nullptr;
}

int CWVPControlGallery::GetItemCount() const
{
    CWVPGalleryItemCollection* items = GetItems();
    return items ? items->GetItemCount() : 0;
}

CWVPGalleryItem* CWVPControlGallery::GetItem(int index) const
{
    CWVPGalleryItemCollection* items = GetItems();
    return items ? items->GetItem(index) : nullptr;
}

BOOL CWVPControlGallery::HasPopupBar() const
{
    return m_pCommandBar != nullptr;
}

CWVPControlGalleryPaintManager* CWVPControlGallery::GetGalleryPaintManager() const
{
    CWVPPaintManager* paintManager = GetPaintManager();
    return paintManager ? paintManager->m_pGalleryPaintManager : nullptr;
}

BOOL CWVPControlGallery::HasBottomSeparator() const
{
    if (!m_pParent || m_pParent->GetType() != wvpBarTypePopup || m_bShowBorders || !m_pControls)
        return FALSE;
    for (int i = m_nIndex + 1; i < m_pControls->GetCount(); ++i)
        if (m_pControls->GetAt(i)->IsVisible(0))
            return TRUE;
    return FALSE;
}

CRect CWVPControlGallery::GetBorders() const
{
    const int b = m_bShowBorders ? 1 : 0;
    return CRect(b + m_rcMargin.left, b + m_rcMargin.top, b + m_rcMargin.right, b + m_rcMargin.bottom);
}

CRect CWVPControlGallery::GetItemsMargins() const
{
    const int b = m_bShowBorders ? 1 : 0;
    CRect margins(b, b, b, b);
    if (m_pParent && m_bShowScrollBar)
    {
        CWVPControlGalleryPaintManager* painter = GetGalleryPaintManager();
        margins.right += HasPopupBar() ? kPopupScrollWidth : (painter ? painter->m_cxVScroll : 0);
    }
    if (HasBottomSeparator())
        margins.bottom = 2;
    margins.left += m_rcMargin.left;
    margins.top += m_rcMargin.top;
    margins.right += m_rcMargin.right;
    margins.bottom += m_rcMargin.bottom;
    return margins;
}

CRect CWVPControlGallery::GetItemsArea() const
{
    const CRect margins = GetItemsMargins();
    CRect rc = m_rcControl;
    rc.DeflateRect(margins.left, margins.top, margins.right, margins.bottom);
    return rc;
}

int CWVPControlGallery::GetVisibleHeight() const
{
    return std::max(0, GetItemsArea().Height());
}

int CWVPControlGallery::GetMaxScroll() const
{
    return std::max(0, m_nItemsHeight - GetVisibleHeight());
}

void CWVPControlGallery::LayoutItems()
{
    if (IsDisplayedAsButton() || !m_pParent)
        return;
    const CRect area = GetItemsArea();
    const int count = GetItemCount();
    m_positions.assign(size_t(count), GALLERYITEM_POSITION{CRect(0, 0, 0, 0), nullptr, FALSE});
    int x = area.left, top = area.top, rowHeight = 0;
    BOOL rowOpen = FALSE;
    for (int i = 0; i < count; ++i)
    {
        GALLERYITEM_POSITION& pos = m_positions[size_t(i)];
        pos.pItem = GetItem(i);
        if (pos.pItem->IsLabel())
        {
            if (!m_bShowLabels)
                continue;
            if (rowOpen)
                top += rowHeight;
            pos.rcItem = CRect(area.left, top, area.right, top + CWVPGalleryItemCollection::kLabelHeight);
            pos.bBeginRow = TRUE;
            top += CWVPGalleryItemCollection::kLabelHeight + kLabelGap;
            x = area.left;
            rowOpen = FALSE;
            rowHeight = 0;
            continue;
        }
        const CSize size = pos.pItem->GetSize();
        const int width = size.cx ? size.cx : area.Width();
        if (!rowOpen)
        {
            rowOpen = TRUE;
            rowHeight = 0;
            pos.bBeginRow = TRUE;
        }
        else if (x + width > area.right)
        {
            x = area.left;
            top += rowHeight;
            rowHeight = 0;
            pos.bBeginRow = TRUE;
        }
        pos.rcItem = CRect(x, top, x + width, top + size.cy);
        rowHeight = std::max(rowHeight, int(size.cy));
        x += width;
    }
    if (rowOpen)
        top += rowHeight;
    m_nItemsHeight = top - area.top;
    const int maximum = top - area.bottom;
    if (m_nScrollPos > maximum)
        m_nScrollPos = std::max(0, maximum);
    UpdateScrollBar();
}

void CWVPControlGallery::UpdateScrollBar()
{
    if (GetGalleryPaintManager())
        CalculateScrollBarInfo();
}

int CWVPControlGallery::ItemFromPoint(CPoint pt, CRect* pRect) const
{
    if (!GetEnabled() || IsDisplayedAsButton())
        return -1;
    const CRect area = GetItemsArea();
    for (size_t i = 0; i < m_positions.size(); ++i)
    {
        CRect rc = m_positions[i].rcItem;
        if (rc.IsRectEmpty())
            continue;
        rc.OffsetRect(0, -m_nScrollPos);
        if (rc.top > area.bottom)
            break;
        if (!rc.PtInRect(pt))
            continue;
        if (m_positions[i].pItem->IsLabel())
            return -1;
        if (pRect)
            *pRect = rc;
        return int(i);
    }
    return -1;
}

CRect CWVPControlGallery::GetItemVisibleRect(int index) const
{
    if (index < 0 || index >= int(m_positions.size()))
        return CRect(0, 0, 0, 0);
    CRect rc = m_positions[size_t(index)].rcItem;
    rc.OffsetRect(0, -m_nScrollPos);
    CRect visible;
    visible.IntersectRect(rc, GetItemsArea());
    return visible;
}

CString CWVPControlGallery::GetItemText(int index) const
{
    CWVPGalleryItem* pItem = GetItem(index);
    return pItem ? pItem->GetCaption() : CString();
}

BOOL CWVPControlGallery::IsItemSelectable(int index) const
{
    CWVPGalleryItem* pItem = GetItem(index);
    return pItem && !pItem->IsLabel();
}

// --- control operations ---------------------------------------------------------------------------

void CWVPControlGallery::SetRect(CRect rc)
{
    if (rc == m_rcControl)
        return;
    m_rcControl = rc;
    LayoutItems();
}

CSize CWVPControlGallery::GetSize(CDC* pDC)
{
    if (IsDisplayedAsButton())
    {
        const int width = m_nWidth, height = m_nHeight;
        m_nWidth = m_nHeight = 0;
        const CSize size = CWVPControlPopup::GetSize(pDC);
        m_nWidth = width;
        m_nHeight = height;
        return size;
    }
    int width = m_nWidth;
    if (IsResizable() && GetItemCount() > 0)
        width = std::max(width, GetCustomizeMinWidth());
    return CSize(width, m_nHeight);
}

void CWVPControlGallery::SetAction(CWVPControlAction* pAction)
{
    CWVPControlPopup::SetAction(pAction);
    LayoutItems();
}

void CWVPControlGallery::Draw(CDC* pDC)
{
    if (IsDisplayedAsButton())
    {
        CWVPControlPopup::Draw(pDC);
        return;
    }
    FillBackground(pDC, m_rcControl);
    DrawItems(pDC);
    if (m_bShowScrollBar)
        DrawScrollBar(pDC);
}

void CWVPControlGallery::DrawItems(CDC* pDC)
{
    CWVPGalleryItemCollection* items = GetItems();
    if (!items || m_positions.empty())
        return;
    const CRect area = GetItemsArea();
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(area);
    const int highlighted = m_bHideSelection ? -1 : m_nSelectedItem;
    const BOOL enabled = GetEnabled();
    for (size_t i = 0; i < m_positions.size(); ++i)
    {
        CRect rc = m_positions[i].rcItem;
        rc.OffsetRect(0, -m_nScrollPos);
        if (rc.bottom < area.top || rc.IsRectEmpty())
            continue;
        if (rc.top > area.bottom)
            break;
        CWVPGalleryItem* pItem = m_positions[i].pItem;
        const BOOL selected = int(i) == highlighted;
        const BOOL pressed = selected && m_bPressed;
        const BOOL checked = pItem->GetID() == m_nChecked;
        if (!items->DrawItem(pDC, this, pItem, rc, enabled, selected, pressed, checked))
            pItem->Draw(pDC, this, rc, enabled, selected, pressed, checked);
    }
    pDC->RestoreDC(saved);
}

void CWVPControlGallery::FillBackground(CDC* pDC, CRect rc)
{
    if (CWVPControlGalleryPaintManager* painter = GetGalleryPaintManager())
        painter->FillControl(pDC, rc, m_bShowBorders, HasBottomSeparator());
}

void CWVPControlGallery::DrawScrollBar(CDC* pDC)
{
    CWVPControlGalleryPaintManager* painter = GetGalleryPaintManager();
    if (!painter)
        return;
    CalculateScrollBarInfo();
    if (HasPopupBar())
        painter->DrawPopupScrollBar(pDC, this);
    else
        painter->DrawScrollBar(pDC, this);
}

void CWVPControlGallery::RedrawArea(LPCRECT rc, BOOL animate)
{
    if (m_pParent && IsVisible(0))
        m_pParent->Redraw(rc ? rc : LPCRECT(&m_rcControl), animate);
}

void CWVPControlGallery::RedrawItem(int index)
{
    CWVPGalleryItemCollection* items = GetItems();
    if (index < 0 || !items)
        return;
    if (items->IsItemRedrawOnly())
    {
        const CRect rc = GetItemVisibleRect(index);
        if (!rc.IsRectEmpty())
            RedrawArea(rc);
    }
    else
        RedrawArea(nullptr);
}

BOOL CWVPControlGallery::IsFocused() const
{
    return IsDisplayedAsButton() ? FALSE : m_nSelected != 0;
}

BOOL CWVPControlGallery::IsCustomizeResizeAllow() const
{
    return !IsDisplayedAsButton() && GetItemCount() > 0 && m_nResizable != 0;
}

int CWVPControlGallery::GetCustomizeMinWidth() const
{
    CWVPGalleryItemCollection* items = GetItems();
    if (!m_pParent || !items)
        return 0;
    if (m_pParent->GetType() == wvpBarTypePopup)
    {
        CWVPControlPopup* opener = static_cast<CWVPPopupBar*>(m_pParent)->GetControlPopup();
        if (opener && opener->GetType() == wvpControlGallery)
            return opener->GetRect().Width();
    }
    const CRect borders = GetBorders();
    return borders.left + borders.right + std::max(kMinItemWidth, int(items->GetItemSize().cx));
}

int CWVPControlGallery::GetCustomizeMinHeight() const
{
    CWVPGalleryItemCollection* items = GetItems();
    if (!m_pParent || !items)
        return 0;
    const CRect borders = GetBorders();
    return std::max(kMinCustomizeHeight, int(items->GetItemSize().cy) + borders.top + borders.bottom);
}

BOOL CWVPControlGallery::AdjustExcludeRect(CRect& rc, BOOL vertical)
{
    if (IsDisplayedAsButton())
        return CWVPControlPopup::AdjustExcludeRect(rc, vertical);
    rc = CRect(m_rcControl.left - 1, m_rcControl.top, m_rcControl.left - 1, m_rcControl.top);
    return TRUE;
}

void CWVPControlGallery::OnExecute()
{
    if (m_bPreview)
    {
        m_bPreview = FALSE;
        NotifyOwner(WVP_GN_PREVIEWAPPLY);
    }
    CWVPControlPopup::OnExecute();
}

BOOL CWVPControlGallery::OnSetPopup(BOOL open)
{
    if (m_bPreview)
    {
        m_bPreview = FALSE;
        NotifyOwner(WVP_GN_PREVIEWCANCEL);
    }
    return CWVPControlPopup::OnSetPopup(open);
}

void CWVPControlGallery::Copy(CWVPControl* pSource, BOOL recursive)
{
    CWVPControlPopup::Copy(pSource, recursive);
    CWVPControlGallery* pGallery = dynamic_cast<CWVPControlGallery*>(pSource);
    if (!pGallery)
        return;
    m_bShowLabels = pGallery->m_bShowLabels;
    m_bShowBorders = pGallery->m_bShowBorders;
    m_bShowScrollBar = pGallery->m_bShowScrollBar;
    m_rcMargin = pGallery->m_rcMargin;
    m_nResizable = pGallery->m_nResizable;
}

CWVPControl* CWVPControlGallery::Clone(BOOL recursive)
{
    CWVPControlGallery* pClone = static_cast<CWVPControlGallery*>(RUNTIME_CLASS(CWVPControlGallery)->CreateObject());
    pClone->Copy(this, recursive);
    return pClone;
}

void CWVPControlGallery::DoPropExchange(CWVPPropExchange* pPX)
{
    CWVPControlPopup::DoPropExchange(pPX);
    WVPExchangeBool(pPX, L"ShowLabels", m_bShowLabels, TRUE);
    WVPExchangeBool(pPX, L"ShowBorders", m_bShowBorders, TRUE);
    WVPExchangeBool(pPX, L"ShowScrollBar", m_bShowScrollBar, TRUE);
    WVPExchangeRect(pPX, L"GalleryMargin", m_rcMargin, CRect(0, 0, 0, 0));
    if (pPX->GetSchema() > 23)
    {
        BOOL resizable = m_nResizable;
        WVPExchangeBool(pPX, L"Resizable", resizable, FALSE);
        m_nResizable = resizable;
    }
}

// --- scrolling ------------------------------------------------------------------------------------

BOOL CWVPControlGallery::IsScrollBarEnabled() const
{
    return GetEnabled();
}

CWnd* CWVPControlGallery::GetParentWindow() const
{
    return m_pParent;
}

CWVPScrollBarPaintManager* CWVPControlGallery::GetScrollBarPaintManager()
{
    return GetGalleryPaintManager();
}

CRect CWVPControlGallery::GetScrollBarRect()
{
    if (!m_bShowScrollBar)
        return CRect(0, 0, 0, 0);
    CWVPControlGalleryPaintManager* painter = GetGalleryPaintManager();
    const int w = HasPopupBar() ? kPopupScrollWidth : (painter ? painter->m_cxVScroll : 0);
    const int b = m_bShowBorders ? 1 : 0;
    const int s = HasBottomSeparator() ? 1 : 0;
    const CRect& rc = m_rcControl;
    return CRect(rc.right - w - b, rc.top + b, rc.right - b, rc.bottom - 3 + (1 - b) + 2 * (1 - s));
}

void CWVPControlGallery::GetScrollInfo(SCROLLINFO* info)
{
    info->fMask = SIF_ALL;
    info->nMin = 0;
    info->nMax = std::max(0, m_nItemsHeight - 1);
    info->nPage = UINT(GetVisibleHeight());
    info->nPos = m_nScrollPos;
}

void CWVPControlGallery::CalcScrollBarInfo(CRect rc, WVP_SCROLLBAR_POSINFO* info, const SCROLLINFO* scroll)
{
    if (!HasPopupBar())
    {
        CWVPScrollBase::CalcScrollBarInfo(rc, info, scroll);
        return;
    }
    CWVPControlGalleryPaintManager* painter = GetGalleryPaintManager();
    info->vertical = TRUE;
    info->barRect = rc;
    info->trackStart = rc.top;
    info->trackEnd = rc.bottom;
    info->crossStart = rc.left;
    info->crossEnd = rc.right;
    info->scrollMin = scroll->nMin;
    info->scrollMax = scroll->nMax;
    info->scrollPage = int(scroll->nPage);
    info->scrollPos = scroll->nPos;
    info->startArrowEnd = info->endArrowStart = rc.top + painter->m_cyPopupUp;
    info->extraPartStart = info->startArrowEnd + painter->m_cyPopupDown;
    info->thumbStart = info->thumbEnd = info->thumbSize = info->thumbRange = 0;
    info->thumbRangeStart = info->startArrowEnd;
}

void CWVPControlGallery::RedrawScrollBar()
{
    RedrawArea(nullptr);
}

void CWVPControlGallery::DoScroll(int command, int position)
{
    CWVPGalleryItemCollection* items = GetItems();
    const int base = m_bAnimating ? m_nScrollTarget : m_nScrollPos;
    const int line = items ? int(items->GetItemSize().cy) : 0;
    int target = base;
    switch (command)
    {
    case SB_LINEUP:
        target = base - line;
        break;
    case SB_LINEDOWN:
        target = base + line;
        break;
    case SB_PAGEUP:
        target = base - GetVisibleHeight();
        break;
    case SB_PAGEDOWN:
        target = base + GetVisibleHeight();
        break;
    case SB_THUMBTRACK:
        target = position;
        break;
    case SB_TOP:
        target = 0;
        break;
    case SB_BOTTOM:
        target = m_nItemsHeight;
        break;
    default:
        return;
    }
    if (HasPopupBar() && (command == SB_LINEUP || command == SB_LINEDOWN))
        StartScrollAnimation(target);
    else
        SetScrollOffset(target);
}

void CWVPControlGallery::StopScrollAnimation()
{
    if (!m_bAnimating)
        return;
    m_bAnimating = FALSE;
    m_bScrollAnimation = FALSE;
    if (m_pParent && m_pParent->GetSafeHwnd())
        ::KillTimer(m_pParent->GetSafeHwnd(), WVP_TIMER_SCROLLANIMATION);
}

void CWVPControlGallery::SetScrollOffset(int pos)
{
    pos = std::max(0, std::min(pos, GetMaxScroll()));
    const BOOL forced = m_bAnimating;
    StopScrollAnimation();
    if (pos == m_nScrollPos && !forced)
        return;
    m_nScrollPos = pos;
    LayoutItems();
    UpdateScrollBar();
    RedrawArea(nullptr);
}

void CWVPControlGallery::StartScrollAnimation(int pos)
{
    pos = std::max(0, std::min(pos, GetMaxScroll()));
    if (pos == (m_bAnimating ? m_nScrollTarget : m_nScrollPos))
        return;
    m_nScrollTarget = pos;
    const BOOL held = m_nRepeatInterval > 0 && m_nRepeatInterval <= kHeldRepeatInterval;
    double step = double(m_nScrollTarget - m_nScrollPos) / (held ? kHeldSteps : kClickSteps);
    if (step > 0 && step < 1)
        step = 1;
    else if (step < 0 && step > -1)
        step = -1;
    m_dScrollStep = step;
    m_bAnimating = TRUE;
    m_bScrollAnimation = TRUE;
    if (m_pParent && m_pParent->GetSafeHwnd())
        ::SetTimer(m_pParent->GetSafeHwnd(), WVP_TIMER_SCROLLANIMATION, kAnimationInterval, nullptr);
    AnimateScroll();
}

void CWVPControlGallery::AnimateScroll()
{
    if (!m_bAnimating)
        return;
    const int remaining = m_nScrollTarget - m_nScrollPos;
    if (std::abs(remaining) > std::abs(m_dScrollStep))
        m_nScrollPos += int(m_dScrollStep);
    else
    {
        m_nScrollPos = m_nScrollTarget;
        StopScrollAnimation();
    }
    LayoutItems();
    UpdateScrollBar();
    RedrawArea(nullptr);
    if (m_pParent && m_pParent->GetSafeHwnd())
        ::UpdateWindow(m_pParent->GetSafeHwnd());
}

BOOL CWVPControlGallery::OnHookMouseWheel(UINT flags, short delta, CPoint pt)
{
    if (IsDisplayedAsButton())
        return CWVPControlPopup::OnHookMouseWheel(flags, delta, pt);
    CWVPGalleryItemCollection* items = GetItems();
    if (!items || items->GetItemCount() == 0)
        return FALSE;
    const int step = kWheelLines * int(items->GetItemSize().cy);
    SetScrollOffset(m_nScrollPos + (delta < 0 ? step : -step));
    return TRUE;
}

int CWVPControlGallery::ScrollItemToTop(int index)
{
    if (index < 0 || index >= int(m_positions.size()))
        return -1;
    SetScrollOffset(m_positions[size_t(index)].rcItem.top - GetItemsArea().top);
    return 0;
}

void CWVPControlGallery::BringItemIntoView(int index)
{
    if (index < 0 || index >= int(m_positions.size()) || !m_pParent || !m_pParent->GetSafeHwnd())
        return;
    const CRect area = GetItemsArea();
    const CRect rc = m_positions[size_t(index)].rcItem;
    const int top = rc.top - m_nScrollPos, bottom = rc.bottom - m_nScrollPos;
    if (top >= area.top && bottom > area.bottom)
    {
        SetScrollOffset(m_nScrollPos + bottom - area.bottom);
        return;
    }
    if (top >= area.top)
        return;
    int first = index;
    if (m_bShowLabels)
    {
        for (int i = index - 1; i >= 0; --i)
        {
            const CRect& prev = m_positions[size_t(i)].rcItem;
            if (prev.IsRectEmpty())
                continue;
            if (rc.bottom - prev.top > area.Height())
                break;
            if (m_positions[size_t(i)].pItem->IsLabel())
            {
                first = i;
                break;
            }
        }
    }
    SetScrollOffset(m_positions[size_t(first)].rcItem.top - area.top);
}

BOOL CWVPControlGallery::IsScrollButtonEnabled(int part) const
{
    if (!GetEnabled())
        return FALSE;
    if (!HasPopupBar())
        return TRUE;
    if (part == WVP_HT_LINEUP)
        return m_nScrollPos > 0;
    if (part == WVP_HT_LINEDOWN)
        return m_nScrollPos < m_nItemsHeight - GetVisibleHeight();
    return TRUE;
}

// --- selection and preview ------------------------------------------------------------------------

void CWVPControlGallery::OnSelectedItemChanged()
{
    NotifyOwner(WVP_GN_SELCHANGE);
}

void CWVPControlGallery::NotifySelectionChanged()
{
    NotifyOwner(WVP_GN_SELCHANGE);
}

void CWVPControlGallery::SetSelectedItem(int index)
{
    const int old = m_nSelectedItem;
    m_bHideSelection = FALSE;
    m_nSelectedItem = index;
    m_bPressed = FALSE;
    m_bKeyboardSelected = TRUE;
    RedrawItem(old);
    RedrawItem(index);
    BringItemIntoView(index);
    if (m_pParent && m_pParent->GetSafeHwnd())
        ::NotifyWinEvent(kEventFocus, m_pParent->GetSafeHwnd(), OBJID_CLIENT, index + 1);
    if (GetItem(index))
    {
        if (!m_bPreview)
        {
            m_bPreview = TRUE;
            NotifyOwner(WVP_GN_PREVIEWSTART);
        }
        NotifyOwner(WVP_GN_PREVIEWCHANGE);
    }
    else if (index == -1 && m_bPreview)
    {
        NotifyOwner(WVP_GN_PREVIEWCHANGE);
        m_bPreview = FALSE;
        NotifyOwner(WVP_GN_PREVIEWCANCEL);
    }
    NotifySelectionChanged();
}

void CWVPControlGallery::HideHighlight()
{
    m_bHideSelection = TRUE;
    m_bKeyboardSelected = FALSE;
    RedrawItem(m_nSelectedItem);
    if (m_bPreview)
    {
        if (m_nSelectedItem != -1)
            NotifyOwner(WVP_GN_PREVIEWCHANGE);
        m_bPreview = FALSE;
        NotifyOwner(WVP_GN_PREVIEWCANCEL);
    }
    NotifySelectionChanged();
}

int CWVPControlGallery::ScrollPartFromPoint(CPoint pt)
{
    if (!m_bShowScrollBar || !GetGalleryPaintManager())
        return WVP_HT_NONE;
    CalculateScrollBarInfo();
    return HitScrollBar(pt);
}

void CWVPControlGallery::OnMouseMove(CPoint pt)
{
    if (IsDisplayedAsButton())
    {
        CWVPControlPopup::OnMouseMove(pt);
        return;
    }
    const int item = ItemFromPoint(pt);
    BOOL changed = TRUE;
    if (item == -1 && m_bKeyboardSelected)
        changed = FALSE;
    else if (item == -1 && pt == CPoint(-1, -1) && m_nSelectedItem != -1 && !m_bHideSelection)
    {
        HideHighlight();
        changed = FALSE;
    }
    else if (item == m_nSelectedItem && !m_bHideSelection && !m_bKeyboardSelected)
        changed = FALSE;
    if (changed && !(item == -1 && m_nSelectedItem == -1))
    {
        const int old = m_nSelectedItem;
        m_nSelectedItem = item;
        m_bHideSelection = m_bKeyboardSelected = m_bPressed = FALSE;
        RedrawItem(old);
        RedrawItem(item);
        if (m_bPreview && item != -1)
            NotifyOwner(WVP_GN_PREVIEWCHANGE);
        else if (item != -1 && m_pParent && m_pParent->GetSafeHwnd())
            ::SetTimer(m_pParent->GetSafeHwnd(), kHoverTimer, kHoverDelay, nullptr);
        if (item == -1 && m_bPreview)
        {
            m_bPreview = FALSE;
            NotifyOwner(WVP_GN_PREVIEWCANCEL);
        }
        NotifySelectionChanged();
    }
    if (m_bPressed && m_ptPressed != CPoint(0, 0) && m_nSelectedItem != -1 &&
        (std::abs(pt.x - m_ptPressed.x) > kDragDistance || std::abs(pt.y - m_ptPressed.y) > kDragDistance))
    {
        m_ptPressed = CPoint(0, 0);
        NotifyOwner(WVP_GN_BEGINDRAG);
    }
    const int part = ScrollPartFromPoint(pt);
    if (part != m_nHotScrollPart)
    {
        m_nHotScrollPart = part;
        m_info.hitPart = part;
        RedrawArea(nullptr);
    }
}

void CWVPControlGallery::OnMouseHover()
{
    if (!m_bHideSelection && m_nSelectedItem != -1 && !m_bPreview && m_nSelected)
    {
        m_bPreview = TRUE;
        NotifyOwner(WVP_GN_PREVIEWSTART);
        NotifyOwner(WVP_GN_PREVIEWCHANGE);
    }
    CWVPControlPopup::OnMouseHover();
}

BOOL CWVPControlGallery::OnSetSelected(int state)
{
    if (IsDisplayedAsButton())
        return CWVPControlPopup::OnSetSelected(state);
    if (state == 0)
    {
        m_bPressed = FALSE;
        m_nHotScrollPart = WVP_HT_NONE;
        m_bHideSelection = TRUE;
    }
    else if ((state == 2 || state == 3) && (m_nSelectedItem == -1 || m_bHideSelection) && !HasPopupBar())
    {
        const int item = GetNextItem(-1, state == 2 ? +1 : -1);
        if (item != -1)
            SetSelectedItem(item);
    }
    return CWVPControl::OnSetSelected(state);
}

// --- mouse buttons --------------------------------------------------------------------------------

void CWVPControlGallery::OnClick(BOOL keyboard, CPoint pt)
{
    if (IsDisplayedAsButton())
    {
        CWVPControlPopup::OnClick(keyboard, pt);
        return;
    }
    if (IsCustomizeMode())
    {
        CWVPControlPopup::OnClick(keyboard, pt);
        return;
    }
    if (!GetEnabled() || keyboard)
        return;
    OnMouseMove(pt);
    const int part = ScrollPartFromPoint(pt);
    if (part == WVP_HT_EXTRA && HasPopupBar())
    {
        if (m_pParent)
            m_pParent->SetPopuped(m_nIndex);
        return;
    }
    if (part != WVP_HT_NONE)
    {
        m_bScrollPartPressed = TRUE;
        InternalAddRef();
        TrackScrollBar(m_pParent, pt, (::GetKeyState(VK_SHIFT) & 0x8000) != 0);
        m_bScrollPartPressed = FALSE;
        InternalRelease();
        return;
    }
    if (m_pParent && m_pParent->GetPopuped() != -1)
        m_pParent->SetPopuped(-1);
    if (m_nSelectedItem != -1 && !m_bHideSelection && !m_bKeyboardSelected)
    {
        m_bPressed = TRUE;
        m_ptPressed = pt;
        RedrawArea(nullptr);
    }
}

void CWVPControlGallery::OnLButtonUp(CPoint pt)
{
    if (IsDisplayedAsButton())
    {
        CWVPControlPopup::OnLButtonUp(pt);
        return;
    }
    if (m_bPressed || (IsPopupBarType(m_pParent) && m_nSelectedItem != -1 && !m_bHideSelection))
    {
        m_bPressed = FALSE;
        RedrawArea(nullptr);
        OnExecute();
    }
}

// --- keyboard -------------------------------------------------------------------------------------

int CWVPControlGallery::GetNextItem(int index, int direction) const
{
    const int count = GetItemCount();
    if (count == 0)
        return -1;
    int i = index;
    BOOL wrapped = FALSE;
    for (int steps = 0; steps <= count; ++steps)
    {
        if (i == -1)
            i = direction > 0 ? 0 : count - 1;
        else
            i += direction;
        if (i < 0 || i >= count)
        {
            if (index == -1 || wrapped)
                return -1;
            wrapped = TRUE;
            i = direction > 0 ? 0 : count - 1;
        }
        if (i == index && wrapped)
            return -1;
        if (IsItemSelectable(i) &&
            !(m_positions.size() == size_t(count) && m_positions[size_t(i)].rcItem.IsRectEmpty() && m_pParent))
            return i;
    }
    return -1;
}

int CWVPControlGallery::GetPageItem(int index, int direction) const
{
    if (index == -1)
        index = GetNextItem(-1, direction > 0 ? -1 : +1);
    if (index == -1 || index >= int(m_positions.size()))
        return index;
    const int height = GetVisibleHeight();
    const CRect& from = m_positions[size_t(index)].rcItem;
    int best = index;
    for (int i = index + direction; i >= 0 && i < int(m_positions.size()); i += direction)
    {
        const GALLERYITEM_POSITION& pos = m_positions[size_t(i)];
        if (pos.pItem->IsLabel() || pos.rcItem.IsRectEmpty())
            continue;
        if (direction < 0 ? from.top - pos.rcItem.top > height : pos.rcItem.bottom - from.bottom > height)
            break;
        best = i;
    }
    return best;
}

int CWVPControlGallery::GetRowItem(int index, int direction) const
{
    CWVPGalleryItemCollection* items = GetItems();
    if (!items || index < 0 || index >= int(m_positions.size()))
        return index;
    const int itemWidth = items->GetItemSize().cx;
    if (itemWidth == 0 || GetItemsArea().Width() < 2 * itemWidth)
        return index;
    int rowStart = index;
    while (rowStart > 0 && !m_positions[size_t(rowStart)].bBeginRow)
        --rowStart;
    int rowEnd = index;
    while (rowEnd + 1 < int(m_positions.size()) && !m_positions[size_t(rowEnd + 1)].bBeginRow)
        ++rowEnd;
    if (direction < 0)
    {
        if (index == rowStart)
            return rowEnd;
        for (int i = index - 1; i >= rowStart; --i)
            if (!m_positions[size_t(i)].rcItem.IsRectEmpty())
                return i;
        return index;
    }
    return index == rowEnd ? rowStart : index + 1;
}

int CWVPControlGallery::GetColumnItem(int index, int direction) const
{
    if (index < 0 || index >= int(m_positions.size()))
        return -1;
    const int left = m_positions[size_t(index)].rcItem.left;
    const int top = m_positions[size_t(index)].rcItem.top;
    for (int i = index + direction; i >= 0 && i < int(m_positions.size()); i += direction)
    {
        const GALLERYITEM_POSITION& pos = m_positions[size_t(i)];
        if (pos.pItem->IsLabel() || pos.rcItem.IsRectEmpty() || pos.rcItem.top == top)
            continue;
        if (pos.rcItem.left == left)
            return i;
    }
    return -1;
}

BOOL CWVPControlGallery::OnHookKeyDown(UINT key)
{
    if (IsDisplayedAsButton())
        return CWVPControlPopup::OnHookKeyDown(key);
    if (!m_pParent || m_pParent->GetSelected() != m_nIndex)
        return FALSE;
    const int highlighted = m_bHideSelection ? -1 : m_nSelectedItem;
    if (highlighted == -1 && HasPopupBar())
    {
        if (key == VK_RETURN || key == VK_SPACE)
        {
            m_pParent->SetPopuped(m_nIndex, TRUE);
            return TRUE;
        }
        return FALSE;
    }
    if ((key == VK_LEFT || key == VK_RIGHT) && (m_pParent->GetExStyle() & WS_EX_LAYOUTRTL))
        key = key == VK_LEFT ? VK_RIGHT : VK_LEFT;
    switch (key)
    {
    case VK_TAB: {
        const int direction = (::GetKeyState(VK_SHIFT) & 0x8000) ? -1 : +1;
        const int next = GetNextItem(highlighted, direction);
        if (next == -1 || (highlighted != -1 && (direction > 0 ? next <= highlighted : next >= highlighted)))
            return FALSE;
        SetSelectedItem(next);
        return TRUE;
    }
    case VK_RETURN:
        OnExecute();
        return FALSE;
    case VK_PRIOR:
    case VK_NEXT: {
        const int item = GetPageItem(highlighted, key == VK_PRIOR ? -1 : +1);
        if (item != -1)
            SetSelectedItem(item);
        return TRUE;
    }
    case VK_HOME:
    case VK_END: {
        const int item = GetNextItem(-1, key == VK_HOME ? +1 : -1);
        if (item != -1)
            SetSelectedItem(item);
        return TRUE;
    }
    case VK_LEFT:
    case VK_RIGHT: {
        const int item = GetRowItem(highlighted, key == VK_LEFT ? -1 : +1);
        if (item != -1 && item != highlighted)
            SetSelectedItem(item);
        return TRUE;
    }
    case VK_UP:
    case VK_DOWN: {
        const int direction = key == VK_UP ? -1 : +1;
        int item = GetColumnItem(highlighted, direction);
        if (item == -1)
        {
            CWVPControls* controls = m_pParent->GetControls();
            if (!controls || controls->GetNext(m_nIndex, direction) != m_nIndex)
                return FALSE;
            item = GetNextItem(-1, direction);
        }
        if (item != -1)
            SetSelectedItem(item);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

// --- search and tooltips --------------------------------------------------------------------------

int CWVPControlGallery::FindItemByText(int start, LPCWSTR text, BOOL exact) const
{
    const int count = GetItemCount();
    if (count == 0 || !text || !*text)
        return -1;
    const int length = ::lstrlenW(text);
    int i = start + 1;
    if (i < 0 || i >= count)
        i = 0;
    for (int n = 0; n < count; ++n, i = (i + 1) % count)
    {
        const CString caption = GetItemText(i);
        if (exact)
        {
            if (::CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, caption, -1, text, -1) == CSTR_EQUAL)
                return i;
            continue;
        }
        const int shorter = std::min(length, caption.GetLength());
        if (caption.GetLength() >= length &&
            ::CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, caption, shorter, text, shorter) == CSTR_EQUAL)
            return i;
    }
    return -1;
}

INT_PTR CWVPControlGallery::OnToolHitTest(CPoint pt, TOOLINFO* pTI)
{
    CWVPGalleryItemCollection* items = GetItems();
    if (IsDisplayedAsButton() || !items || items->GetItemCount() == 0)
        return -1;
    CRect rc;
    const int index = ItemFromPoint(pt, &rc);
    CWVPGalleryItem* pItem = GetItem(index);
    if (!pItem)
        return 0;
    const INT_PTR id = pItem->GetToolTipId();
    const CString tip = pItem->GetToolTip();
    const CString description = pItem->GetDescription();
    CWVPToolTipContext::InitToolInfoEx(pTI, m_pParent ? m_pParent->GetSafeHwnd() : nullptr, rc, id, tip, tip,
                                       description, items->GetToolTipImageManager());
    return id;
}

// --- accessibility --------------------------------------------------------------------------------

HRESULT CWVPControlGallery::GetAccessibleChildCount(LONG* pcountChildren)
{
    if (!pcountChildren)
        return E_INVALIDARG;
    *pcountChildren = GetItemCount();
    return S_OK;
}

HRESULT CWVPControlGallery::GetAccessibleName(VARIANT varChild, BSTR* pszName)
{
    const int child = ChildIndex(varChild);
    if (child == 0)
        return CWVPControlPopup::GetAccessibleName(varChild, pszName);
    CWVPGalleryItem* pItem = GetItem(child - 1);
    if (!pItem || !pszName)
        return E_INVALIDARG;
    CString name = CWVPPaintManager::StripMnemonics(pItem->GetCaption());
    if (name.IsEmpty())
        name = pItem->GetToolTip();
    *pszName = ::SysAllocString(name);
    return S_OK;
}

HRESULT CWVPControlGallery::GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole)
{
    if (!pvarRole)
        return E_INVALIDARG;
    V_VT(pvarRole) = VT_I4;
    V_I4(pvarRole) = ChildIndex(varChild) == 0 ? kRoleList : kRoleListItem;
    return S_OK;
}

HRESULT CWVPControlGallery::GetAccessibleState(VARIANT varChild, VARIANT* pvarState)
{
    const int child = ChildIndex(varChild);
    if (child == 0)
        return CWVPControlPopup::GetAccessibleState(varChild, pvarState);
    CWVPGalleryItem* pItem = GetItem(child - 1);
    if (!pItem || !pvarState)
        return E_INVALIDARG;
    LONG state = kStateFocusableSelectable;
    if (child - 1 == m_nSelectedItem && !m_bHideSelection)
        state |= kStateFocused;
    if (pItem->GetID() == m_nChecked)
        state |= kStateSelected;
    V_VT(pvarState) = VT_I4;
    V_I4(pvarState) = state;
    return S_OK;
}

HRESULT CWVPControlGallery::GetAccessibleDefaultAction(VARIANT, BSTR* pszDefaultAction)
{
    if (!pszDefaultAction)
        return E_INVALIDARG;
    *pszDefaultAction = ::SysAllocString(L"Click");
    return S_OK;
}

HRESULT CWVPControlGallery::AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                                               VARIANT varChild)
{
    const int child = ChildIndex(varChild);
    if (child == 0)
        return CWVPControlPopup::AccessibleLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_INVALIDARG;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (!m_pParent || !m_pParent->GetSafeHwnd() || !IsVisible(0))
        return S_OK;
    CRect rc = GetItemVisibleRect(child - 1);
    if (rc.IsRectEmpty())
        rc = m_rcControl;
    ::MapWindowPoints(m_pParent->GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.Width();
    *pcyHeight = rc.Height();
    return S_OK;
}

HRESULT CWVPControlGallery::AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild)
{
    if (!pvarChild || !m_pParent || !m_pParent->GetSafeHwnd())
        return E_INVALIDARG;
    CPoint pt(xLeft, yTop);
    ::ScreenToClient(m_pParent->GetSafeHwnd(), &pt);
    if (!m_rcControl.PtInRect(pt))
    {
        V_VT(pvarChild) = VT_EMPTY;
        return S_FALSE;
    }
    V_VT(pvarChild) = VT_I4;
    V_I4(pvarChild) = ItemFromPoint(pt) + 1;
    return S_OK;
}

HRESULT CWVPControlGallery::AccessibleSelect(LONG, VARIANT varChild)
{
    const int child = ChildIndex(varChild);
    if (child == 0)
        return S_FALSE;
    SetSelectedItem(child - 1);
    return S_OK;
}

HRESULT CWVPControlGallery::AccessibleDoDefaultAction(VARIANT varChild)
{
    const int child = ChildIndex(varChild);
    if (child == 0)
        return CWVPControlPopup::AccessibleDoDefaultAction(varChild);
    SetSelectedItem(child - 1);
    return S_OK;
}
