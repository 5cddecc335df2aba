#include "app/shell/StyleMenu.h"

#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/BufferDC.h"

namespace
{
const UINT_PTR kTimerUp = 10;
const UINT_PTR kTimerDown = 20;
const UINT kFirstTickMs = 300;
const UINT kTickMs = 10;
const int kTickPixels = 3;
const int kWheelPixels = 9;
const int kUpZoneHeight = 16;
const int kDownZoneInset = 18;
const int kFontHeight = -13;
const int kBoldWeight = 600;
const int kDescriptionGap = 4;
// Room kept under the last line of a description.
const int kBottomMargin = 3;
// Room kept right of the texts.
const int kRightMargin = 4;
const UINT kTitleFormat = DT_WORDBREAK | DT_NOPREFIX;
const UINT kDescriptionFormat = DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS;
const int kArrowColumn = 16;
const COLORREF kZoneArrowIdle = 0x404040;
const COLORREF kPictureTransparent = 0xFFFFFF;

// An owned GDI font, released when the painting is done.
struct FontHolder
{
    HFONT font;
    explicit FontHolder(const LOGFONTW& lf) : font(::CreateFontIndirectW(&lf))
    {
    }
    ~FontHolder()
    {
        if (font)
            ::DeleteObject(font);
    }
};

SIZE ImageSize(int kind, HANDLE image)
{
    SIZE size = {0, 0};
    if (kind == 0)
    {
        BITMAP info = {};
        if (::GetObjectW(image, sizeof(info), &info))
            size = {info.bmWidth, info.bmHeight};
    }
    else if (kind == 1)
    {
        ICONINFO icon = {};
        if (::GetIconInfo((HICON)image, &icon))
        {
            BITMAP info = {};
            HBITMAP shape = icon.hbmColor ? icon.hbmColor : icon.hbmMask;
            if (::GetObjectW(shape, sizeof(info), &info))
                size = {info.bmWidth, icon.hbmColor ? info.bmHeight : info.bmHeight / 2};
            if (icon.hbmColor)
                ::DeleteObject(icon.hbmColor);
            if (icon.hbmMask)
                ::DeleteObject(icon.hbmMask);
        }
    }
    return size;
}

// The list's two fonts: normal and bold.
struct ListFonts
{
    FontHolder normal;
    FontHolder bold;
    static LOGFONTW Face(int weight)
    {
        LOGFONTW lf = {};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        lf.lfHeight = kFontHeight;
        if (weight)
            lf.lfWeight = weight;
        return lf;
    }
    ListFonts() : normal(Face(0)), bold(Face(kBoldWeight))
    {
    }
};

// The height of a text broken into lines of a width.
int TextHeight(HDC dc, HFONT font, const CString& text, int width, UINT format)
{
    RECT rect = {0, 0, width > 1 ? width : 1, 0};
    HGDIOBJ old = ::SelectObject(dc, font);
    ::DrawTextW(dc, text, text.GetLength(), &rect, (format & ~DT_END_ELLIPSIS) | DT_CALCRECT);
    ::SelectObject(dc, old);
    return rect.bottom - rect.top;
}
} // namespace

BEGIN_MESSAGE_MAP(CStyleMenu, CWnd)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMessage)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_KEYDOWN()
ON_MESSAGE(WM_STYLEMENU_SCROLLSTART, OnScrollStart)
ON_MESSAGE(WM_STYLEMENU_SCROLLSTOP, OnScrollStop)
ON_WM_TIMER()
ON_WM_MOUSEWHEEL()
ON_WM_SIZE()
END_MESSAGE_MAP()

CStyleMenu::CStyleMenu() = default;

CStyleMenu::~CStyleMenu()
{
    RemoveAll();
}

BOOL CStyleMenu::Create(const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(nullptr, L"StyleMenu", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

int CStyleMenu::OnCreate(LPCREATESTRUCT cs)
{
    if (Default() == -1)
        return -1;
    const CRect up(0, 0, cs->cx - 2, kUpZoneHeight);
    const CRect down(0, cs->cy - kDownZoneInset, cs->cx - 2, cs->cy - 2);
    m_upZone.Create(L"", WS_CHILD | BS_NOTIFY, up, this, kUpZoneId);
    m_downZone.Create(L"", WS_CHILD | BS_NOTIFY, down, this, kDownZoneId);
    UpdateScrollButtons();
    return 0;
}

int CStyleMenu::AddItem(LPCWSTR imagePath, LPCWSTR title, LPCWSTR description, LPCWSTR extra)
{
    Item item = {-1, nullptr, 0, 0, title, description, extra, 0, m_nItemHeight};
    if (imagePath && *imagePath)
    {
        if (HANDLE bitmap = ::LoadImageW(nullptr, imagePath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE))
        {
            item.imageKind = 0;
            item.image = bitmap;
        }
        else if (HANDLE icon = ::LoadImageW(nullptr, imagePath, IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE))
        {
            item.imageKind = 1;
            item.image = icon;
        }
    }
    const SIZE size = ImageSize(item.imageKind, item.image);
    item.imageWidth = size.cx;
    item.imageHeight = size.cy;
    m_items.push_back(item);
    LayoutItems();
    UpdateScrollButtons();
    return (int)m_items.size();
}

int CStyleMenu::MeasureItem(HDC dc, const Item& item, int width, HFONT normal, HFONT bold) const
{
    if (item.description.IsEmpty() || !dc)
        return m_nItemHeight;
    const int textX = item.imageKind >= 0 ? m_nItemHeight : 0;
    const int textWidth = width - kRightMargin - textX;
    const int needed = 1 + TextHeight(dc, bold, item.title, textWidth, kTitleFormat) + kDescriptionGap +
                       TextHeight(dc, normal, item.description, textWidth, kDescriptionFormat) + kBottomMargin;
    return std::max(m_nItemHeight, needed);
}

void CStyleMenu::LayoutItems()
{
    CRect client(0, 0, 0, 0);
    const bool measured = ::IsWindow(m_hWnd) && ::GetClientRect(m_hWnd, &client);
    HDC dc = measured ? ::GetDC(m_hWnd) : nullptr;
    ListFonts fonts;
    int top = 0;
    for (Item& item : m_items)
    {
        item.top = top;
        item.height = MeasureItem(dc, item, client.Width(), fonts.normal.font, fonts.bold.font);
        top += item.height;
    }
    if (dc)
        ::ReleaseDC(m_hWnd, dc);
    m_nContentHeight = top;
}

int CStyleMenu::ItemAtContentY(int y) const
{
    for (int i = 0; i < (int)m_items.size(); ++i)
        if (y >= m_items[(size_t)i].top && y < m_items[(size_t)i].top + m_items[(size_t)i].height)
            return i;
    return -1;
}

void CStyleMenu::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (m_downZone.m_hWnd)
        m_downZone.MoveWindow(0, cy - kDownZoneInset, cx - 2, kDownZoneInset - 2, FALSE);
    if (m_upZone.m_hWnd)
        m_upZone.MoveWindow(0, 0, cx - 2, kUpZoneHeight, FALSE);
    LayoutItems();
    UpdateScrollButtons();
}

void CStyleMenu::RemoveAll()
{
    for (Item& item : m_items)
    {
        if (item.imageKind == 0)
            ::DeleteObject(item.image);
        else if (item.imageKind == 1)
            ::DestroyIcon((HICON)item.image);
    }
    m_items.clear();
    m_nScrollOffset = 0;
    m_nContentHeight = 0;
    UpdateScrollButtons();
}

void CStyleMenu::UpdateScrollButtons()
{
    if (!::IsWindow(m_hWnd) || !m_upZone.m_hWnd || !m_downZone.m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    bool up = true;
    bool down = true;
    if (m_nContentHeight <= client.Height())
        up = down = false;
    else if (m_nScrollOffset == 0)
        up = false;
    else if (m_nScrollOffset >= m_nContentHeight - client.Height())
        down = false;
    m_upZone.ShowWindow(up ? SW_SHOWNA : SW_HIDE);
    m_downZone.ShowWindow(down ? SW_SHOWNA : SW_HIDE);
}

void CStyleMenu::SelectItem(int index)
{
    m_nHot = index;
    if (!::IsWindow(m_hWnd))
        return;
    CRect client;
    GetClientRect(&client);
    CRect zone;
    m_upZone.GetWindowRect(&zone);
    const int y = index >= 0 && index < (int)m_items.size() ? m_items[(size_t)index].top : index * m_nItemHeight;
    if (y < client.Height() - zone.Height())
        m_nScrollOffset = 0;
    else
        m_nScrollOffset = std::min(y - zone.Height(), m_nContentHeight - client.Height());
    if (m_nScrollOffset < 0)
        m_nScrollOffset = 0;
    UpdateScrollButtons();
    Invalidate(FALSE);
}

void CStyleMenu::ScrollBy(int pixels)
{
    CRect client;
    GetClientRect(&client);
    m_nScrollOffset += pixels;
    if (client.Height() + m_nScrollOffset >= m_nContentHeight)
        m_nScrollOffset = m_nContentHeight - client.Height();
    if (m_nScrollOffset < 0)
        m_nScrollOffset = 0;
    UpdateScrollButtons();
    Invalidate(TRUE);
}

void CStyleMenu::ScrollUp(int pixels)
{
    m_nScrollOffset = std::max(0, m_nScrollOffset - pixels);
    UpdateScrollButtons();
    Invalidate(TRUE);
}

void CStyleMenu::NotifyParent(WORD code)
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code), (LPARAM)m_hWnd);
    if (::IsWindow(m_hWnd))
        Invalidate(FALSE);
}

void CStyleMenu::OnLButtonDown(UINT, CPoint)
{
    if (m_nHot >= 0 && m_nHot < (int)m_items.size())
        NotifyParent(kNotifyClick);
    if (::IsWindow(m_hWnd))
        Default();
}

void CStyleMenu::TrackLeave()
{
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    ::TrackMouseEvent(&track);
}

void CStyleMenu::OnMouseMove(UINT, CPoint point)
{
    const int index = ItemAtContentY(point.y + m_nScrollOffset);
    const bool valid = index >= 0;
    if (valid && index == m_nHot)
        return;
    TrackLeave();
    m_nHot = valid ? index : -1;
    NotifyParent(kNotifyHot);
    if (::IsWindow(m_hWnd))
        Default();
}

LRESULT CStyleMenu::OnMouseLeaveMessage(WPARAM, LPARAM)
{
    Default();
    m_nHot = -1;
    NotifyParent(kNotifyHot);
    return 0;
}

BOOL CStyleMenu::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CStyleMenu::OnKeyDown(UINT key, UINT, UINT)
{
    Default();
    const int count = (int)m_items.size();
    if ((key != VK_UP && key != VK_DOWN) || count == 0)
        return;
    if (key == VK_UP)
        m_nHot = m_nHot <= 0 || m_nHot >= count ? count - 1 : m_nHot - 1;
    else
        m_nHot = m_nHot < 0 || m_nHot >= count - 1 ? 0 : m_nHot + 1;
    NotifyParent(kNotifyHot);
}

LRESULT CStyleMenu::OnScrollStart(WPARAM zone, LPARAM)
{
    if (zone == kUpZoneId && !m_bScrollingUp)
    {
        SetTimer(kTimerUp, kFirstTickMs, nullptr);
        m_bScrollingUp = m_bFastUp = TRUE;
    }
    else if (zone == kDownZoneId && !m_bScrollingDown)
    {
        SetTimer(kTimerDown, kFirstTickMs, nullptr);
        m_bScrollingDown = m_bFastDown = TRUE;
    }
    return 0;
}

LRESULT CStyleMenu::OnScrollStop(WPARAM zone, LPARAM)
{
    if (zone == kUpZoneId)
    {
        KillTimer(kTimerUp);
        m_bScrollingUp = FALSE;
    }
    else if (zone == kDownZoneId)
    {
        KillTimer(kTimerDown);
        m_bScrollingDown = FALSE;
    }
    return 0;
}

void CStyleMenu::OnTimer(UINT_PTR id)
{
    if (id == kTimerUp)
    {
        if (!m_bScrollingUp)
            return;
        if (m_bFastUp)
            SetTimer(kTimerUp, kTickMs, nullptr);
        ScrollUp(kTickPixels);
    }
    else if (id == kTimerDown)
    {
        if (!m_bScrollingDown)
            return;
        if (m_bFastDown)
            SetTimer(kTimerDown, kTickMs, nullptr);
        ScrollBy(kTickPixels);
    }
    Default();
}

BOOL CStyleMenu::OnMouseWheel(UINT, short delta, CPoint)
{
    if (delta > 0)
        ScrollUp(kWheelPixels);
    else
        ScrollBy(kWheelPixels);
    return TRUE;
}

void CStyleMenu::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CWVPBufferDC buffer(paint.m_hDC, client);
    HDC dc = buffer.m_hDC ? buffer.m_hDC : paint.m_hDC;

    HBRUSH background = ::CreateSolidBrush(m_crBackground);
    ::FillRect(dc, &client, background);
    ::DeleteObject(background);

    ListFonts fonts;
    const int savedDC = ::SaveDC(dc);
    ::SetTextColor(dc, m_crText);
    ::SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < (int)m_items.size(); ++i)
        DrawItem(dc, i, client.Width(), fonts.normal.font, fonts.bold.font);
    ::RestoreDC(dc, savedDC);
    DrawScrollZones(dc);
}

void CStyleMenu::DrawItem(HDC dc, int index, int width, HFONT normal, HFONT bold)
{
    const Item& item = m_items[(size_t)index];
    const int h = m_nItemHeight;
    const int top = item.top - m_nScrollOffset;
    const int d = top + 1;
    if (index == m_nHot)
    {
        RECT hot = {h, d, width - 1, d + item.height};
        HBRUSH brush = ::CreateSolidBrush(m_crHot);
        ::FillRect(dc, &hot, brush);
        ::DeleteObject(brush);
    }

    int textX = 0;
    if (item.imageKind >= 0)
    {
        const int x = (h - item.imageWidth) / 2;
        const int y = top + (item.height - item.imageHeight) / 2;
        if (item.imageKind == 1)
            ::DrawIcon(dc, x, y, (HICON)item.image);
        else if (HDC memory = ::CreateCompatibleDC(dc))
        {
            HGDIOBJ old = ::SelectObject(memory, item.image);
            ::TransparentBlt(dc, x, y, item.imageWidth, item.imageHeight, memory, 0, 0, item.imageWidth,
                             item.imageHeight, kPictureTransparent);
            ::SelectObject(memory, old);
            ::DeleteDC(memory);
        }
        textX = h;
    }

    if (!item.description.IsEmpty())
    {
        // The title, then the description under it, each broken into as many lines as it needs.
        const int textWidth = width - kRightMargin - textX;
        const int titleHeight = TextHeight(dc, bold, item.title, textWidth, kTitleFormat);
        ::SelectObject(dc, bold);
        RECT title = {textX, d, width - kRightMargin, d + titleHeight};
        ::DrawTextW(dc, item.title, item.title.GetLength(), &title, kTitleFormat);
        ::SelectObject(dc, normal);
        RECT text = {textX, d + titleHeight + kDescriptionGap, width - kRightMargin, d + item.height};
        ::DrawTextW(dc, item.description, item.description.GetLength(), &text, kDescriptionFormat);
        return;
    }
    ::SelectObject(dc, normal);
    RECT text = {h + 1, d, width, d + item.height};
    ::DrawTextW(dc, item.title, item.title.GetLength(), &text,
                DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    CRect arrow(width - kArrowColumn, d, width, d + item.height);
    arrow.DeflateRect(6, 8);
    arrow.OffsetRect(0, -1);
    CWVPPaintManager::DrawTriangle(CDC::FromHandle(dc), CPoint(arrow.left, arrow.top),
                                   CPoint(arrow.right, arrow.top + arrow.Height() / 2),
                                   CPoint(arrow.left, arrow.bottom), RGB(0, 0, 0));
}

void CStyleMenu::DrawScrollZones(HDC dc)
{
    CRect client;
    GetClientRect(&client);
    for (CInStylMenuButton* zone : {&m_upZone, &m_downZone})
    {
        if (!zone->m_hWnd || !zone->IsWindowVisible())
            continue;
        CRect rect;
        zone->GetClientRect(&rect);
        const int cx = rect.Width();
        const int cy = rect.Height();
        HDC memory = ::CreateCompatibleDC(dc);
        HBITMAP bitmap = ::CreateCompatibleBitmap(dc, cx, cy);
        if (!memory || !bitmap)
        {
            if (memory)
                ::DeleteDC(memory);
            if (bitmap)
                ::DeleteObject(bitmap);
            continue;
        }
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::DrawFrameControl(memory, &rect, DFC_BUTTON, DFCS_BUTTONPUSH);
        const bool inside = zone->m_bMouseInside != FALSE;
        const COLORREF colour = inside ? RGB(0, 0, 0) : kZoneArrowIdle;
        const bool up = zone == &m_upZone;
        const int shift = inside ? (up ? -2 : 2) : 0;
        CPoint a, b, c;
        if (up)
        {
            a = CPoint(cx / 2 - 4, cy / 2 + 1 + shift);
            b = CPoint(cx / 2 + 4, cy / 2 + 1 + shift);
            c = CPoint(cx / 2, cy / 2 - 3 + shift);
        }
        else
        {
            a = CPoint(cx / 2 - 4, cy / 2 - 3 + shift);
            b = CPoint(cx / 2 + 4, cy / 2 - 3 + shift);
            c = CPoint(cx / 2, cy / 2 + 1 + shift);
        }
        CWVPPaintManager::DrawTriangle(CDC::FromHandle(memory), a, b, c, colour);
        ::BitBlt(dc, 0, up ? 0 : client.Height() - cy - 1, cx, cy, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
    }
}
