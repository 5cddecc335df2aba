// The layouts of a bar's controls: the tool-bar layout (rows that keep groups together, fitted
// to a length or to a square, right-aligned and stretched controls) and the popup-menu layout
// (columns broken at a height).
#include <algorithm>
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/ImageManager.h"

namespace
{
const DWORD LM_STRETCH_ = 0x01;
const DWORD LM_MRUWIDTH_ = 0x04;
const DWORD LM_HORZDOCK_ = 0x08;
const DWORD LM_VERTDOCK_ = 0x10;
const DWORD LM_LENGTHY_ = 0x20;
const DWORD LM_COMMIT_ = 0x40;
const DWORD LM_HIDEWRAP = 0x80;
const DWORD LM_FLOATING = 0x100;
const int kEmptyWidth = 23;
const int kEmptyHeight = 22;
const int kEmptyPopupWidth = 24;
const int kWideRow = 32767;

int Along(const CONTROL_LAYOUT_INFO& info, BOOL vertical)
{
    return vertical ? info.size.cy : info.size.cx;
}
} // namespace

int CWVPControls::WrapControls(std::vector<CONTROL_LAYOUT_INFO>& records, int rowLength, DWORD& mode)
{
    const BOOL vertical = (mode & LM_VERTDOCK_) != 0;
    const int separator = vertical ? m_szSeparator.cy : m_szSeparator.cx;
    int rows = 0, position = 0;
    BOOL firstVisible = TRUE;
    for (size_t i = 0; i < records.size(); ++i)
    {
        CONTROL_LAYOUT_INFO& info = records[i];
        info.wrap = FALSE;
        info.hidden = FALSE;
        if (!info.visible)
            continue;
        int length = Along(info, vertical);
        if (info.beginGroup && !firstVisible)
            length += separator;
        const BOOL first = firstVisible;
        firstVisible = FALSE;
        const BOOL fits = position + length <= rowLength && !((mode & LM_FLOATING) && info.beginGroup && !first);
        if (!first && (info.pControl->GetFlags() & WVP_CONTROLFLAG_WRAPROW))
        {
            info.wrap = TRUE;
            position = Along(info, vertical);
            ++rows;
            continue;
        }
        if (fits || first)
        {
            position += length;
            continue;
        }
        if (mode & LM_HIDEWRAP)
        {
            mode |= LM_STRETCH_;
            size_t j = i;
            for (; j < records.size(); ++j)
            {
                if (j > i && (records[j].pControl->GetFlags() & WVP_CONTROLFLAG_WRAPROW))
                    break;
                records[j].hidden = TRUE;
                records[j].wrap = FALSE;
            }
            if (j >= records.size())
                return rows + 1;
            i = j - 1;
            continue;
        }
        // Break the row at the start of the current group when there is one in this row.
        size_t breakAt = i;
        for (size_t k = i; k-- > 0;)
        {
            if (records[k].wrap)
                break;
            if (!records[k].visible)
                continue;
            if (records[k].beginGroup)
            {
                // Never empty a row: the group start must not be the row's first control.
                BOOL rowStart = TRUE;
                for (size_t m = k; m-- > 0;)
                {
                    if (records[m].wrap)
                    {
                        rowStart = TRUE;
                        break;
                    }
                    if (records[m].visible)
                    {
                        rowStart = FALSE;
                        break;
                    }
                }
                if (!rowStart)
                    breakAt = k;
                break;
            }
        }
        records[breakAt].wrap = TRUE;
        position = Along(records[breakAt], vertical);
        ++rows;
        mode |= LM_STRETCH_;
        for (size_t k = breakAt + 1; k <= i; ++k)
            if (records[k].visible)
                position += Along(records[k], vertical) +
                            (records[k].beginGroup ? separator : 0);
    }
    return rows + 1;
}

CSize CWVPControls::CalcControlsSize(std::vector<CONTROL_LAYOUT_INFO>& records, BOOL vertical)
{
    CSize extent(0, 0);
    int x = 0, y = 0, rowThickness = 0;
    BOOL first = TRUE;
    for (CONTROL_LAYOUT_INFO& info : records)
    {
        if (!info.visible || info.hidden)
            continue;
        if (!vertical)
        {
            if (info.wrap && !first)
            {
                y += (info.beginGroup ? m_szSeparator.cy : m_nRowSpacing) + rowThickness;
                x = 0;
                rowThickness = 0;
            }
            else if (info.beginGroup && !first)
                x += m_szSeparator.cx;
            info.rcControl = CRect(CPoint(x, y), info.size);
            x += info.size.cx;
            rowThickness = std::max(rowThickness, info.size.cy);
            extent.cx = std::max(extent.cx, info.rcControl.right);
            extent.cy = std::max(extent.cy, info.rcControl.bottom);
        }
        else
        {
            if (info.wrap && !first)
            {
                x -= (info.beginGroup ? m_szSeparator.cy : m_nRowSpacing) + rowThickness;
                y = 0;
                rowThickness = 0;
            }
            else if (info.beginGroup && !first)
                y += m_szSeparator.cx;
            info.rcControl = CRect(x - info.size.cx, y, x, y + info.size.cy);
            y += info.size.cy;
            rowThickness = std::max(rowThickness, info.size.cx);
            extent.cx = std::max(extent.cx, info.size.cx - x);
            extent.cy = std::max(extent.cy, info.rcControl.bottom);
        }
        first = FALSE;
    }
    return extent;
}

namespace
{
// Which way a bisection step goes: above 0 the measured bar is too tall (its width becomes the
// narrow bound), below 0 too wide (the wide bound), 0 it is right.
int CompareSquare(CSize size, int)
{
    return size.cy > size.cx ? 1 : size.cx > size.cy ? -1 : 0;
}

int CompareHeight(CSize size, int length)
{
    return size.cy > length ? 1 : size.cy < length ? -1 : 0;
}
} // namespace

void CWVPControls::BisectRowLength(std::vector<CONTROL_LAYOUT_INFO>& records, DWORD& mode,
                                   int (*compare)(CSize, int), int target, BOOL wideOnRepeat)
{
    WrapControls(records, 0, mode);
    CSize narrow = CalcControlsSize(records, FALSE);
    WrapControls(records, kWideRow, mode);
    CSize wide = CalcControlsSize(records, FALSE);
    while (narrow.cx < wide.cx)
    {
        WrapControls(records, (narrow.cx + wide.cx) / 2, mode);
        const CSize size = CalcControlsSize(records, FALSE);
        const int way = compare(size, target);
        if (way > 0)
        {
            if (size == narrow)
            {
                if (wideOnRepeat)
                    WrapControls(records, wide.cx, mode);
                break;
            }
            narrow = size;
        }
        else if (way < 0)
        {
            if (size == wide)
                break;
            wide = size;
        }
        else
            break;
    }
}

void CWVPControls::SizeToSquare(std::vector<CONTROL_LAYOUT_INFO>& records, DWORD& mode)
{
    BisectRowLength(records, mode, CompareSquare, 0, FALSE);
}

void CWVPControls::FitToLength(std::vector<CONTROL_LAYOUT_INFO>& records, int length, DWORD& mode)
{
    if (mode & LM_LENGTHY_)
    {
        BisectRowLength(records, mode, CompareHeight, length, TRUE);
        return;
    }
    const int rows = WrapControls(records, length, mode);
    const int rowsAtZero = WrapControls(records, 0, mode);
    if (rows != rowsAtZero && length > 0)
    {
        int low = 0, high = length;
        while (low + 1 < high)
        {
            const int mean = (low + high) / 2;
            if (WrapControls(records, mean, mode) > rows)
                low = mean;
            else
                high = mean;
        }
        WrapControls(records, high, mode);
    }
    else
        WrapControls(records, length, mode);
    const CSize size = CalcControlsSize(records, FALSE);
    WrapControls(records, size.cx, mode);
}

void CWVPControls::SetRowRects(std::vector<CONTROL_LAYOUT_INFO>& records, size_t first, size_t last, int thickness,
                               CSize size, DWORD mode, CRect borders)
{
    const BOOL vertical = (mode & LM_VERTDOCK_) != 0;
    const BOOL centre = !(m_pParent && (m_pParent->GetFlags() & WVP_BARFLAG_LARGEBUTTONS));
    for (size_t i = first; i < last; ++i)
    {
        CONTROL_LAYOUT_INFO& info = records[i];
        if (!info.visible || info.hidden)
            continue;
        if (!vertical)
        {
            const int top = info.rcControl.top;
            info.rcRow = CRect(borders.left, top, size.cx + borders.left, top + thickness);
            if (centre)
                info.rcControl.OffsetRect(0, (thickness - info.rcControl.Height()) / 2);
        }
        else
        {
            const int right = info.rcControl.right;
            info.rcRow = CRect(right - thickness, borders.top, right, borders.top + size.cy);
            if (centre)
                info.rcControl.OffsetRect(-(thickness - info.rcControl.Width()) / 2, 0);
        }
    }
}

void CWVPControls::AdjustBorders(std::vector<CONTROL_LAYOUT_INFO>& records, CSize& size, DWORD mode, CRect borders)
{
    const BOOL vertical = (mode & LM_VERTDOCK_) != 0;
    if (mode & LM_COMMIT_)
    {
        std::vector<size_t> starts;
        int rows = 0;
        for (size_t i = 0; i < records.size(); ++i)
        {
            CONTROL_LAYOUT_INFO& info = records[i];
            if (!info.visible || info.hidden)
                continue;
            info.rcControl.OffsetRect(borders.left + (vertical ? size.cx : 0), borders.top);
            if (starts.empty() || info.wrap)
            {
                starts.push_back(i);
                ++rows;
            }
        }
        starts.push_back(records.size());
        for (size_t r = 0; r + 1 < starts.size(); ++r)
        {
            int thickness = 0;
            for (size_t i = starts[r]; i < starts[r + 1]; ++i)
                if (records[i].visible && !records[i].hidden)
                    thickness = std::max(thickness, vertical ? records[i].rcControl.Width() : records[i].rcControl.Height());
            if (rows == 1)
                thickness = vertical ? size.cx : size.cy;
            SetRowRects(records, starts[r], starts[r + 1], thickness, size, mode, borders);
        }
    }
    size.cx += borders.left + borders.right;
    size.cy += borders.top + borders.bottom;
}

void CWVPControls::AlignAndStretch(std::vector<CONTROL_LAYOUT_INFO>& records, CSize size, CRect borders, DWORD mode)
{
    const BOOL vertical = (mode & LM_VERTDOCK_) != 0;
    int farEdge = vertical ? size.cy - borders.bottom : size.cx - borders.right;
    const int nearEdge = vertical ? borders.top : borders.left;
    const auto nearOf = [vertical](const CRect& rc) { return vertical ? rc.top : rc.left; };
    const auto farOf = [vertical](const CRect& rc) { return vertical ? rc.bottom : rc.right; };

    // Right-aligned controls go to the far end of the last row.
    int alignedEdge = farEdge;
    for (size_t i = records.size(); i-- > 0;)
    {
        CONTROL_LAYOUT_INFO& info = records[i];
        if (!info.visible || info.hidden)
            continue;
        if (!(info.pControl->GetFlags() & WVP_CONTROLFLAG_RIGHTALIGN))
            break;
        const int length = vertical ? info.rcControl.Height() : info.rcControl.Width();
        const int position = alignedEdge - length;
        if (position < nearEdge)
            break;
        if (vertical)
            info.rcControl.OffsetRect(0, position - info.rcControl.top);
        else
            info.rcControl.OffsetRect(position - info.rcControl.left, 0);
        alignedEdge = position;
        if (info.wrap)
            break;
    }

    // Stretched controls share the free space of their row.
    std::vector<size_t> starts;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].visible && !records[i].hidden && (starts.empty() || records[i].wrap))
            starts.push_back(i);
    starts.push_back(records.size());
    for (size_t r = starts.size() - 1; r-- > 0;)
    {
        const size_t begin = starts[r], end = starts[r + 1];
        int rowFar = farEdge;
        size_t rowEnd = end;
        if (r + 2 == starts.size())
        {
            // A trailing run of right-aligned controls in the last row stays where it is.
            size_t k = end;
            while (k > begin)
            {
                const CONTROL_LAYOUT_INFO& info = records[k - 1];
                if (!info.visible || info.hidden)
                {
                    --k;
                    continue;
                }
                if (!(info.pControl->GetFlags() & WVP_CONTROLFLAG_RIGHTALIGN) ||
                    (info.pControl->GetFlags() & WVP_CONTROLFLAG_STRETCHED))
                    break;
                --k;
            }
            if (k < end)
            {
                for (size_t m = k; m < end; ++m)
                    if (records[m].visible && !records[m].hidden)
                    {
                        rowFar = nearOf(records[m].rcControl);
                        break;
                    }
                rowEnd = k;
            }
        }
        int stretched = 0, lastFar = nearEdge;
        for (size_t i = begin; i < rowEnd; ++i)
        {
            const CONTROL_LAYOUT_INFO& info = records[i];
            if (!info.visible || info.hidden)
                continue;
            if (info.pControl->GetFlags() & WVP_CONTROLFLAG_STRETCHED)
                ++stretched;
            lastFar = std::max(lastFar, farOf(info.rcControl));
        }
        int freeSpace = rowFar - lastFar;
        if (!stretched || freeSpace <= 0)
            continue;
        int shift = 0;
        for (size_t i = begin; i < rowEnd; ++i)
        {
            CONTROL_LAYOUT_INFO& info = records[i];
            if (!info.visible || info.hidden)
                continue;
            if (vertical)
                info.rcControl.OffsetRect(0, shift);
            else
                info.rcControl.OffsetRect(shift, 0);
            if (info.pControl->GetFlags() & WVP_CONTROLFLAG_STRETCHED)
            {
                const int grow = freeSpace / stretched--;
                freeSpace -= grow;
                shift += grow;
                if (vertical)
                    info.rcControl.bottom += grow;
                else
                    info.rcControl.right += grow;
            }
        }
    }
}

CSize CWVPControls::CalcDynamicSize(CDC* pDC, int length, DWORD mode, CRect borders, int minWidth)
{
    CSize size(0, 0);
    CWVPPaintManager* paintManager = m_pParent ? m_pParent->GetPaintManager() : CWVPPaintManager::GetInstance();
    m_szSeparator = paintManager->DrawCommandBarSeparator(pDC, m_pParent, nullptr, FALSE);
    m_nRowSpacing = m_pParent ? m_pParent->GetRowSpacing() : 0;
    for (int i = GetCount() - 1; i >= 0; --i)
        m_controls[i]->OnCalcDynamicSize(mode);

    if (GetVisibleCount(FALSE) == 0)
    {
        size = CSize(borders.left + borders.right + kEmptyWidth, borders.top + borders.bottom + kEmptyHeight);
        if (mode & LM_HORZDOCK_)
            size.cy = std::max(size.cy, minWidth);
        else
            size.cx = std::max(size.cx, minWidth);
        return size;
    }

    const int available = (mode & LM_MRUWIDTH_) && m_pParent ? m_pParent->GetMRUWidth() : length;
    const BOOL vertical = (mode & LM_VERTDOCK_) != 0;
    if (!(mode & LM_FLOATING))
    {
        const int rowLength = (vertical || (mode & LM_LENGTHY_)) ? available - borders.top - borders.bottom
                                                                 : available - borders.left - borders.right;
        if (rowLength <= 0)
        {
            // No room at all: nothing is placed, and every control is marked as not fitting.
            if (mode & LM_COMMIT_)
                for (CWVPControl* pControl : m_controls)
                {
                    pControl->SetHideFlags(pControl->GetHideFlags() | WVP_HIDE_WRAP);
                    pControl->SetWrap(FALSE);
                }
            return CSize(borders.left + borders.right + kEmptyWidth, borders.top + borders.bottom + kEmptyHeight);
        }
    }

    std::vector<CONTROL_LAYOUT_INFO> records(m_controls.size());
    for (size_t i = 0; i < m_controls.size(); ++i)
    {
        CWVPControl* pControl = m_controls[i];
        CONTROL_LAYOUT_INFO& info = records[i];
        info.rcControl = pControl->GetRect();
        info.rcRow = CRect(0, 0, 0, 0);
        info.visible = pControl->IsVisible(WVP_HIDE_WRAP);
        info.size = info.visible ? pControl->GetSize(pDC) : CSize(0, 0);
        info.wrap = FALSE;
        info.hidden = FALSE;
        info.beginGroup = pControl->GetBeginGroup();
        info.style = pControl->GetStyle();
        info.pControl = pControl;
    }

    const BOOL largeButtons = m_pParent && (m_pParent->GetFlags() & WVP_BARFLAG_LARGEBUTTONS);
    if (largeButtons)
        size = CalcLargeButtonsLayout(records, pDC,
                                      vertical ? available - borders.top - borders.bottom
                                               : available - borders.left - borders.right,
                                      mode);
    else if (mode & LM_FLOATING)
    {
        const int mru = m_pParent ? m_pParent->GetMRUWidth() : 0;
        WrapControls(records, mru, mode);
        size = CalcControlsSize(records, FALSE);
        if (size.cy > 3 * size.cx && mru <= 0)
            SizeToSquare(records, mode);
        else
            WrapControls(records, size.cx, mode);
    }
    else if (mode & LM_HORZDOCK_)
        WrapControls(records, available - borders.left - borders.right, mode);
    else if (mode & LM_VERTDOCK_)
        WrapControls(records, available - borders.top - borders.bottom, mode);
    else
        FitToLength(records,
                    (mode & LM_LENGTHY_) ? available - borders.top - borders.bottom
                                         : available - borders.left - borders.right,
                    mode);
    if (!largeButtons)
        size = CalcControlsSize(records, vertical);

    if (minWidth > 0)
    {
        if (mode & LM_HORZDOCK_)
            size.cy = std::max(size.cy, minWidth - borders.top - borders.bottom);
        else
            size.cx = std::max(size.cx, minWidth - borders.left - borders.right);
    }
    if (mode & LM_STRETCH_)
    {
        if (vertical)
            size.cy = std::max(size.cy, available - borders.top - borders.bottom);
        else
            size.cx = std::max(size.cx, available - borders.left - borders.right);
    }
    AdjustBorders(records, size, mode, borders);

    if (mode & LM_COMMIT_)
    {
        if (!largeButtons)
            AlignAndStretch(records, size, borders, mode);
        BOOL wrapped = FALSE;
        for (CONTROL_LAYOUT_INFO& info : records)
        {
            CWVPControl* pControl = info.pControl;
            DWORD hide = pControl->GetHideFlags();
            hide = info.hidden ? (hide | WVP_HIDE_WRAP) : (hide & ~WVP_HIDE_WRAP);
            pControl->SetHideFlags(hide);
            pControl->SetRowRect(info.rcRow);
            pControl->SetLayoutRect(info.rcControl);
            if (!info.hidden && info.visible)
                pControl->SetRect(info.rcControl);
            pControl->SetWrap(info.wrap);
            wrapped = wrapped || info.wrap;
        }
        if (m_pParent)
            m_pParent->SetWrappedLayout(wrapped);
    }
    return size;
}

void CWVPControls::SetColumnWidth(size_t first, size_t last, int width)
{
    for (size_t i = first; i < last && i < m_controls.size(); ++i)
    {
        CWVPControl* pControl = m_controls[i];
        if (pControl->GetParent() != m_pParent || !pControl->IsVisible(0))
            continue;
        CRect rc = pControl->GetRect();
        rc.right = rc.left + width;
        pControl->SetRect(rc);
    }
}

CSize CWVPControls::CalcPopupSize(CDC* pDC, int maxHeight, int width, CRect borders)
{
    CRect work(0, 0, 0, 0);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    CWVPPaintManager* paintManager = m_pParent ? m_pParent->GetPaintManager() : CWVPPaintManager::GetInstance();
    const CSize separator = paintManager->DrawCommandBarSeparator(pDC, m_pParent, nullptr, FALSE);
    if (m_pParent)
        m_pParent->SetMultiColumn(FALSE);
    int x = borders.left, y = borders.top;
    int columnWidth = 0, tallest = 0;
    size_t columnStart = 0;
    BOOL first = TRUE;
    const int widest = work.right / 3;
    for (size_t i = 0; i < m_controls.size(); ++i)
    {
        CWVPControl* pControl = m_controls[i];
        if (pControl->GetParent() != m_pParent)
            continue;
        pControl->SetHideFlags(pControl->GetHideFlags() & ~WVP_HIDE_SCROLL);
        if (!pControl->IsVisible(0))
            continue;
        CSize size;
        {
            CWVPFontDC font(pDC, paintManager->GetControlFont(m_pParent, pControl->GetDefaultItem()));
            size = pControl->GetSize(pDC);
        }
        pControl->SetWrap(FALSE);
        const BOOL breakColumn = (!first && (pControl->GetFlags() & WVP_CONTROLFLAG_WRAPROW)) ||
                                 (!first && maxHeight > 0 && y + size.cy > maxHeight - borders.bottom);
        if (breakColumn)
        {
            SetColumnWidth(columnStart, i, columnWidth);
            tallest = std::max(tallest, y - borders.top);
            x += columnWidth + (pControl->GetBeginGroup() ? separator.cx : 0);
            pControl->SetWrap(TRUE);
            if (m_pParent)
                m_pParent->SetMultiColumn(TRUE);
            y = borders.top;
            columnWidth = 0;
            columnStart = i;
        }
        else if (pControl->GetBeginGroup() && !first)
            y += separator.cy;
        if (!(m_pParent && m_pParent->GetResizeMode()))
            size.cx = std::min(size.cx, widest);
        pControl->SetRect(CRect(CPoint(x, y), size));
        y += size.cy;
        columnWidth = std::max(columnWidth, size.cx);
        first = FALSE;
    }
    tallest = std::max(tallest, y - borders.top);
    if (width > 0 && width < 30000)
        columnWidth = width - borders.left - borders.right;
    SetColumnWidth(columnStart, m_controls.size(), columnWidth);
    for (CWVPControl* pControl : m_controls)
    {
        if (pControl->GetParent() != m_pParent || !pControl->IsVisible(0))
            continue;
        const CRect rc = pControl->GetRect();
        pControl->SetRowRect(CRect(rc.left, borders.top, rc.right, borders.top + tallest));
    }
    CSize result(std::max(columnWidth + x - borders.left, kEmptyPopupWidth), tallest ? tallest : kEmptyHeight);
    result.cx += borders.left + borders.right;
    result.cy += borders.top + borders.bottom;
    return result;
}

CSize CWVPControls::CalcLargeButtonsLayout(std::vector<CONTROL_LAYOUT_INFO>& records, CDC* pDC, int length,
                                           DWORD& mode)
{
    const CSize large = m_pParent ? m_pParent->GetLargeIconSize() : CSize(32, 32);
    for (CONTROL_LAYOUT_INFO& info : records)
    {
        if (!info.visible)
            continue;
        info.wrap = FALSE;
        info.hidden = FALSE;
        const int iconId = info.pControl->GetIconId();
        const BOOL hasLarge = iconId >= 1 && info.pControl->GetImageManager()->Lookup(UINT(iconId), large.cx);
        info.pControl->SetStyle(hasLarge ? wvpButtonIconAndCaptionBelow : wvpButtonIconAndCaption);
    }
    CSize extent = CalcColumns(records, pDC, mode);
    const BOOL vertical = (mode & LM_VERTDOCK_) != 0;
    if ((vertical ? extent.cy : extent.cx) > length)
    {
        extent = ReduceLargeButtons(records, pDC, length, mode);
        mode |= LM_STRETCH_;
    }
    return extent;
}

CSize CWVPControls::CalcColumns(std::vector<CONTROL_LAYOUT_INFO>& records, CDC* pDC, DWORD mode)
{
    const BOOL vertical = (mode & LM_VERTDOCK_) != 0;
    CWVPPaintManager* paintManager = m_pParent ? m_pParent->GetPaintManager() : CWVPPaintManager::GetInstance();
    const CSize large = m_pParent ? m_pParent->GetLargeIconSize() : CSize(32, 32);
    const int columnHeight = paintManager->GetSplitDropDownHeight() + (vertical ? large.cx : large.cy) + 7;
    // Along the bar a column advances (x, or y on vertical bars); across it controls stack.
    int columnStart = 0, columnWidth = 0, stacked = 0, tallest = columnHeight, farthest = 0;
    BOOL first = TRUE;
    for (CONTROL_LAYOUT_INFO& info : records)
    {
        if (!info.visible || info.hidden)
            continue;
        const int style = info.pControl->GetStyle();
        if (style != info.style)
        {
            info.style = style;
            info.size = info.pControl->GetSize(pDC);
        }
        const int along = vertical ? info.size.cy : info.size.cx;
        const int across = vertical ? info.size.cx : info.size.cy;
        BOOL newColumn = TRUE;
        if (info.beginGroup && !first)
            columnStart += columnWidth + 6;
        else if (!first && info.pControl->GetOwnStyle() != wvpButtonIconAndCaptionBelow &&
                 stacked + across <= columnHeight)
            newColumn = FALSE;
        else if (!first)
            columnStart += columnWidth;
        if (newColumn)
        {
            stacked = 0;
            columnWidth = 0;
            tallest = std::max(tallest, across);
        }
        if (vertical)
            info.rcControl = CRect(-stacked - across, columnStart, -stacked, columnStart + along);
        else
            info.rcControl = CRect(columnStart, stacked, columnStart + along, stacked + across);
        stacked += across;
        columnWidth = std::max(columnWidth, along);
        farthest = std::max(farthest, columnStart + along);
        first = FALSE;
    }
    return vertical ? CSize(tallest, farthest) : CSize(farthest, tallest);
}

CSize CWVPControls::ReduceLargeButtons(std::vector<CONTROL_LAYOUT_INFO>& records, CDC* pDC, int length, DWORD& mode)
{
    const BOOL vertical = (mode & LM_VERTDOCK_) != 0;
    const auto style = [](const CONTROL_LAYOUT_INFO* info) { return info->pControl->GetOwnStyle(); };
    for (;;)
    {
        std::vector<CONTROL_LAYOUT_INFO*> shown;
        for (CONTROL_LAYOUT_INFO& info : records)
            if (info.visible && !info.hidden)
                shown.push_back(&info);
        // Three controls of one group: only the earliest may begin it.
        const auto oneGroup = [&](size_t i) { return !shown[i + 1]->beginGroup && !shown[i + 2]->beginGroup; };
        const auto setStyle = [&](size_t i, int value) {
            for (size_t k = i; k < i + 3; ++k)
                shown[k]->pControl->SetStyle(value);
        };
        BOOL changed = FALSE;
        // Three large buttons in a row become medium ones, the last first.
        for (size_t i = shown.size() >= 3 ? shown.size() - 3 : 0; !changed && shown.size() >= 3; --i)
        {
            if (oneGroup(i) && style(shown[i]) == 4 && style(shown[i + 1]) == 4 && style(shown[i + 2]) == 4)
            {
                setStyle(i, wvpButtonIconAndCaption);
                changed = TRUE;
            }
            if (i == 0)
                break;
        }
        // Else a window of three of one group that still holds a large button.
        for (size_t end = shown.size(); !changed && end >= 3; end -= 3)
        {
            const size_t i = end - 3;
            if (oneGroup(i) && (style(shown[i]) == 4 || style(shown[i + 1]) == 4 || style(shown[i + 2]) == 4))
            {
                setStyle(i, wvpButtonIconAndCaption);
                changed = TRUE;
            }
        }
        // Else three medium buttons stacked in one column become small ones.
        for (size_t i = shown.size() >= 3 ? shown.size() - 3 : 0; !changed && shown.size() >= 3; --i)
        {
            const auto column = [&](size_t k) {
                return vertical ? shown[k]->rcControl.top : shown[k]->rcControl.left;
            };
            if (oneGroup(i) && style(shown[i]) == 3 && style(shown[i + 1]) == 3 && style(shown[i + 2]) == 3 &&
                column(i) == column(i + 1) && column(i) == column(i + 2))
            {
                setStyle(i, wvpButtonIcon);
                changed = TRUE;
            }
            if (i == 0)
                break;
        }
        CSize extent = CalcColumns(records, pDC, mode);
        const int along = vertical ? extent.cy : extent.cx;
        if (along < length || changed)
        {
            if (along < length)
                return extent;
            continue;
        }
        if (mode & LM_HIDEWRAP)
        {
            for (size_t k = 1; k < shown.size(); ++k)
                if ((vertical ? shown[k]->rcControl.bottom : shown[k]->rcControl.right) > length)
                {
                    shown[k]->pControl->SetStyle(wvpButtonIcon);
                    shown[k]->hidden = TRUE;
                }
            extent = CalcColumns(records, pDC, mode);
        }
        return extent;
    }
}
