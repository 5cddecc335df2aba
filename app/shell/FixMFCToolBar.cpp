#include "app/shell/FixMFCToolBar.h"

#include "app/shell/ModuleVersion.h"
#include "platform/mfc/ThreadState.h"

#include <algorithm>

namespace
{
const DWORD kFlatTransparent = TBSTYLE_FLAT | TBSTYLE_TRANSPARENT; // 0x8800
const int kUnbounded = 32767;
const int kVersion470 = 470;
const int kVersion471 = 471;

bool IsHidden(const TBBUTTON& b)
{
    return (b.fsState & TBSTATE_HIDDEN) != 0;
}
bool IsSeparator(const TBBUTTON& b)
{
    return (b.fsStyle & TBSTYLE_SEP) != 0;
}
} // namespace

BEGIN_MESSAGE_MAP(CFixMFCToolBar, CToolBar)
ON_MESSAGE(TB_SETBITMAPSIZE, OnSetSizeKept)
ON_MESSAGE(TB_SETBUTTONSIZE, OnSetSizeKept)
ON_MESSAGE(WM_SETTINGCHANGE, OnSetSizeOnly)
ON_MESSAGE(WM_SETFONT, OnSetSizeOnly)
END_MESSAGE_MAP()

CFixMFCToolBar::CFixMFCToolBar() : m_bKeepWrappedDropDownWidth(false)
{
}

CFixMFCToolBar::~CFixMFCToolBar()
{
}

LRESULT CFixMFCToolBar::SizeFix(UINT message, WPARAM wParam, LPARAM lParam)
{
    const DWORD style = GetStyle();
    const bool strip = ComCtlVersion() >= kVersion471 && (style & kFlatTransparent);
    if (strip)
        ::SetWindowLongW(m_hWnd, GWL_STYLE, LONG(style & ~kFlatTransparent));
    const LRESULT result = Default();
    if (strip)
        ::SetWindowLongW(m_hWnd, GWL_STYLE, LONG(style));
    return result;
}

LRESULT CFixMFCToolBar::OnSetSizeKept(WPARAM wParam, LPARAM lParam)
{
    const UINT message = AfxGetThreadState()->m_lastSentMsg.message;
    const LRESULT result = SizeFix(message, wParam, lParam);
    if (result)
    {
        const CSize size(LOWORD(lParam), HIWORD(lParam));
        (message == TB_SETBITMAPSIZE ? m_sizeImage : m_sizeButton) = size;
    }
    return result;
}

LRESULT CFixMFCToolBar::OnSetSizeOnly(WPARAM wParam, LPARAM lParam)
{
    return SizeFix(AfxGetThreadState()->m_lastSentMsg.message, wParam, lParam);
}

std::vector<TBBUTTON> CFixMFCToolBar::CopyButtons() const
{
    const int count = int(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    std::vector<TBBUTTON> buttons(size_t(count > 0 ? count : 0));
    for (int i = 0; i < count; i++)
        ::SendMessageW(m_hWnd, TB_GETBUTTON, WPARAM(i), LPARAM(&buttons[size_t(i)]));
    return buttons;
}

CSize CFixMFCToolBar::GetButtonSize(const std::vector<TBBUTTON>& buttons, int index)
{
    RECT item = {};
    ::SendMessageW(m_hWnd, TB_GETITEMRECT, WPARAM(index), LPARAM(&item));
    CSize size(item.right - item.left, item.bottom - item.top);
    const TBBUTTON& b = buttons[size_t(index)];
    if (!(b.fsState & TBSTATE_WRAP))
        return size;
    if (IsSeparator(b))
    {
        // A wrapped separator becomes the gap between rows.
        const int version = ComCtlVersion();
        size.cy = version <= kVersion470 ? size.cy - 3 : (version == kVersion471 ? size.cy : size.cx);
        size.cx = 0;
    }
    else if ((b.fsStyle & TBSTYLE_DROPDOWN) && !m_bKeepWrappedDropDownWidth)
        size.cx = 0;
    return size;
}

CSize CFixMFCToolBar::CalcSize(std::vector<TBBUTTON>& buttons)
{
    CSize result(0, 0);
    int x = 0, y = 0, rowHeight = 0;
    for (int i = 0; i < int(buttons.size()); i++)
    {
        if (IsHidden(buttons[size_t(i)]))
            continue;
        const CSize size = GetButtonSize(buttons, i);
        x += size.cx;
        rowHeight = std::max<int>(rowHeight, size.cy);
        result.cx = std::max<LONG>(result.cx, x);
        result.cy = std::max<LONG>(result.cy, y + rowHeight);
        if (buttons[size_t(i)].fsState & TBSTATE_WRAP)
        {
            y += rowHeight + (IsSeparator(buttons[size_t(i)]) ? size.cy : 0);
            x = 0;
            rowHeight = 0;
        }
    }
    return result;
}

int CFixMFCToolBar::WrapToolBar(std::vector<TBBUTTON>& buttons, int width)
{
    for (TBBUTTON& b : buttons)
        b.fsState &= ~TBSTATE_WRAP;
    int rows = 1, x = 0, lastWrap = -1;
    for (int i = 0; i < int(buttons.size()); i++)
    {
        if (IsHidden(buttons[size_t(i)]))
            continue;
        x += GetButtonSize(buttons, i).cx;
        if (x <= width || i == 0)
            continue;
        // Wrap after the last separator (no command id) of this row, else after the nearest
        // earlier button that is not a hosted control.
        int at = -1;
        for (int j = i; j > lastWrap && at < 0; j--)
            if (!IsHidden(buttons[size_t(j)]) && IsSeparator(buttons[size_t(j)]) && buttons[size_t(j)].idCommand == 0)
                at = j;
        for (int j = i - 1; j > lastWrap && at < 0; j--)
            if (!IsHidden(buttons[size_t(j)]) &&
                !(IsSeparator(buttons[size_t(j)]) && buttons[size_t(j)].idCommand != 0))
                at = j;
        if (at < 0)
            continue;
        buttons[size_t(at)].fsState |= TBSTATE_WRAP;
        lastWrap = at;
        rows++;
        i = at;
        x = 0;
    }
    return rows;
}

void CFixMFCToolBar::SizeToolBar(std::vector<TBBUTTON>& buttons, int length, bool vertical)
{
    if (!vertical)
    {
        const int rows = WrapToolBar(buttons, length);
        int low = 0, high = length;
        while (low < high)
        {
            const int mid = (low + high) / 2;
            if (WrapToolBar(buttons, mid) > rows)
                low = mid + 1;
            else
                high = mid;
        }
        WrapToolBar(buttons, low);
        WrapToolBar(buttons, int(CalcSize(buttons).cx));
        return;
    }
    WrapToolBar(buttons, 0);
    CSize smallest = CalcSize(buttons);
    WrapToolBar(buttons, kUnbounded);
    CSize largest = CalcSize(buttons);
    while (smallest.cx < largest.cx)
    {
        WrapToolBar(buttons, int((smallest.cx + largest.cx) / 2));
        const CSize mid = CalcSize(buttons);
        if (length < mid.cy)
        {
            if (smallest == mid)
            {
                WrapToolBar(buttons, int(largest.cx));
                return;
            }
            smallest = mid;
        }
        else if (length > mid.cy)
        {
            if (largest == mid)
            {
                WrapToolBar(buttons, int(smallest.cx));
                return;
            }
            largest = mid;
        }
        else
            return;
    }
}

CSize CFixMFCToolBar::CalcLayout(DWORD mode, int length)
{
    std::vector<TBBUTTON> buttons = CopyButtons();
    CSize size(0, 0);
    if (!buttons.empty())
    {
        if (m_dwStyle & CBRS_SIZE_FIXED)
            ; // fixed bars keep their rows
        else if (!(m_dwStyle & CBRS_SIZE_DYNAMIC))
            SizeToolBar(buttons, (mode & LM_HORZ) ? kUnbounded : 0, false);
        else if (mode & LM_MRUWIDTH)
            SizeToolBar(buttons, m_nMRUWidth, false);
        else if (mode & LM_HORZDOCK)
            SizeToolBar(buttons, kUnbounded, false);
        else if (mode & LM_VERTDOCK)
            SizeToolBar(buttons, 0, false);
        else if (length == -1)
        {
            if (!IsFloating())
                SizeToolBar(buttons, (mode & LM_HORZ) ? kUnbounded : 0, false);
            else
                SizeToolBar(buttons, m_nMRUWidth, false);
        }
        else
        {
            const bool vertical = (mode & LM_LENGTHY) != 0;
            const int borders = vertical ? m_cyTopBorder + m_cyBottomBorder : m_cxLeftBorder + m_cxRightBorder;
            SizeToolBar(buttons, length - borders, vertical);
        }
        size = CalcSize(buttons);
        if (mode & LM_COMMIT)
        {
            const BOOL delayed = m_bDelayedButtonLayout;
            m_bDelayedButtonLayout = FALSE;
            if (IsFloating() && (m_dwStyle & CBRS_SIZE_DYNAMIC))
                m_nMRUWidth = int(size.cx);
            const std::vector<TBBUTTON> current = CopyButtons();
            for (size_t i = 0; i < buttons.size() && i < current.size(); i++)
                if (buttons[i].fsState != current[i].fsState)
                    ::SendMessageW(m_hWnd, TB_SETSTATE, WPARAM(buttons[i].idCommand),
                                   MAKELPARAM(buttons[i].fsState, 0));
            m_bDelayedButtonLayout = delayed;
        }
    }
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (mode & LM_HORZ) != 0);
    size.cx -= inside.Width();
    size.cy -= inside.Height();
    const CSize minimum = CControlBar::CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
    size.cx = std::max(size.cx, minimum.cx);
    size.cy = std::max(size.cy, minimum.cy);
    return size;
}

CSize CFixMFCToolBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    return CalcLayout((stretch ? LM_STRETCH : 0) | (horizontal ? LM_HORZ : 0));
}

CSize CFixMFCToolBar::CalcDynamicLayout(int length, DWORD mode)
{
    if (length == -1 && !(mode & LM_MRUWIDTH) && !(mode & LM_COMMIT) && (mode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZDOCK) != 0);
    return CalcLayout(mode, length);
}

void CFixMFCToolBar::OnBarStyleChange(DWORD oldStyle, DWORD newStyle)
{
    if (oldStyle == newStyle || !m_hWnd)
        return;
    DWORD mode = LM_COMMIT;
    if ((newStyle & CBRS_FLOATING) && (newStyle & CBRS_SIZE_DYNAMIC))
        mode |= LM_HORZ | LM_MRUWIDTH;
    else if (newStyle & CBRS_ORIENT_HORZ)
        mode |= LM_HORZ | LM_HORZDOCK;
    else
        mode |= LM_VERTDOCK;
    CalcDynamicLayout(-1, mode);
}
