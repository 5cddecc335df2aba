#include "uilib/commandbars/ControlSelector.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/PropExchange.h"

#include <algorithm>

IMPLEMENT_SERIAL(CWVPControlSelector, CWVPControl, VERSIONABLE_SCHEMA | 0x21)

namespace
{
const CSize kDefaultItemsCount(5, 4);
const CSize kDefaultItemsMax(12, 12);
const CSize kDefaultItemSize(28, 28);
const int kCellContentColor = 46; // the paint manager's colour slots of the cells
const int kCellFrameColor = 43;

// How many cells of the size, laid from the origin, start before the coordinate.
int CellsBefore(int coordinate, int origin, int cell, int count)
{
    int cells = 0;
    while (cells < count && origin + cells * cell < coordinate)
        ++cells;
    return cells;
}
} // namespace

CWVPControlSelector::CWVPControlSelector()
    : m_szItemsCount(kDefaultItemsCount), m_szItemsMax(kDefaultItemsMax), m_szItemSize(kDefaultItemSize),
      m_szSelection(0, 0), m_szChosen(0, 0), m_szGrid(kDefaultItemsCount), m_bGrowing(FALSE)
{
    m_nType = wvpControlError;
}

CSize CWVPControlSelector::GetSize(CDC*)
{
    return CSize(m_szGrid.cx * m_szItemSize.cx, m_szGrid.cy * m_szItemSize.cy);
}

void CWVPControlSelector::Draw(CDC* pDC)
{
    CWVPPaintManager* pm = GetPaintManager();
    const CRect rc = GetRect();
    for (int column = 0; column < m_szGrid.cx; ++column)
        for (int row = 0; row < m_szGrid.cy; ++row)
        {
            CRect cell(CPoint(rc.left + column * m_szItemSize.cx, rc.top + row * m_szItemSize.cy), m_szItemSize);
            cell.DeflateRect(1, 1);
            const BOOL selected = column < m_szSelection.cx && row < m_szSelection.cy;
            pDC->FillSolidRect(cell, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            const COLORREF content = selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : pm->GetColor(kCellContentColor);
            const COLORREF frame = pm->GetColor(kCellFrameColor);
            pDC->Draw3dRect(cell, frame, frame);
            DrawItem(pDC, cell, content);
        }
}

void CWVPControlSelector::DrawItem(CDC*, CRect, COLORREF)
{
}

void CWVPControlSelector::SetSelection(int columns, int rows, BOOL force)
{
    const CSize selection(columns, rows);
    if (selection == m_szSelection && !force)
        return;
    m_szSelection = selection;
    RedrawParent(FALSE);
    NotifyOwner(WVP_NOTIFY_SELECTOR_SELCHANGE);
}

void CWVPControlSelector::OnMouseMove(CPoint pt)
{
    const CRect rc = GetRect();
    SetSelection(CellsBefore(pt.x, rc.left, m_szItemSize.cx, m_szGrid.cx),
                 CellsBefore(pt.y, rc.top, m_szItemSize.cy, m_szGrid.cy));
}

BOOL CWVPControlSelector::OnSetSelected(int state)
{
    if (state == 0 && m_pParent && m_pParent->GetSafeHwnd())
    {
        CPoint cursor;
        ::GetCursorPos(&cursor);
        ::ScreenToClient(m_pParent->GetSafeHwnd(), &cursor);
        const CRect rc = GetRect();
        CSize grid = m_szGrid;
        if (::GetKeyState(VK_LBUTTON) < 0)
        {
            // Dragging out to the right or below grows the grid up to the cell under the pointer.
            if (cursor.x >= rc.right)
                grid.cx = std::min<int>(m_szItemsMax.cx, (cursor.x - rc.left) / m_szItemSize.cx + 1);
            if (cursor.y >= rc.bottom)
                grid.cy = std::min<int>(m_szItemsMax.cy, (cursor.y - rc.top) / m_szItemSize.cy + 1);
        }
        if (grid == m_szGrid)
            SetSelection(0, 0);
        else
        {
            m_szGrid = grid;
            SetSelection(m_szSelection.cx, m_szSelection.cy, TRUE);
            m_bGrowing = TRUE;
            m_pParent->OnControlsChanged();
            m_bGrowing = FALSE;
            OnMouseMove(cursor);
        }
    }
    return CWVPControl::OnSetSelected(state);
}

void CWVPControlSelector::OnLButtonUp(CPoint)
{
    if (m_szSelection.cx <= 0 || m_szSelection.cy <= 0)
        return;
    m_szChosen = m_szSelection;
    OnExecute();
}

void CWVPControlSelector::OnCalcDynamicSize(DWORD)
{
    if (m_bGrowing)
        return;
    m_szSelection = CSize(0, 0);
    m_szGrid = m_szItemsCount;
    SetSelection(0, 0, TRUE);
}

void CWVPControlSelector::DoPropExchange(CWVPPropExchange* pPX)
{
    CWVPControl::DoPropExchange(pPX);
    WVPExchangeSize(pPX, L"ItemsCount", m_szItemsCount, kDefaultItemsCount);
    WVPExchangeSize(pPX, L"ItemsMax", m_szItemsMax, kDefaultItemsMax);
    WVPExchangeSize(pPX, L"ItemSize", m_szItemSize, kDefaultItemSize);
}

void CWVPControlSelector::Copy(CWVPControl* pSource, BOOL recursive)
{
    CWVPControl::Copy(pSource, recursive);
    if (pSource->IsKindOf(RUNTIME_CLASS(CWVPControlSelector)))
    {
        const CWVPControlSelector* pSelector = static_cast<CWVPControlSelector*>(pSource);
        m_szItemsCount = pSelector->m_szItemsCount;
        m_szItemsMax = pSelector->m_szItemsMax;
        m_szItemSize = pSelector->m_szItemSize;
    }
}
