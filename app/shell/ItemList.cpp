#include "app/shell/ItemList.h"

namespace
{
const UINT kProgressTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
const int kMaxPaletteColours = 256;
const DWORD kCellStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
} // namespace

BEGIN_MESSAGE_MAP(CItemList, CWVListCtrl)
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_QUERYNEWPALETTE, OnQueryNewPalette)
ON_MESSAGE(WM_PALETTECHANGED, OnPaletteChanged)
END_MESSAGE_MAP()

CItemList::CItemList() = default;

CItemList::~CItemList() = default;

int CItemList::InsertRow(const LVITEMW& item)
{
    if (item.iItem < 0)
        return -1;
    auto record = new (std::nothrow) AppendData;
    if (!record)
        return -1;
    const int row = InsertItem(&item);
    if (row < 0)
    {
        delete record;
        return -1;
    }
    SetItemData(row, (DWORD_PTR)record);
    return row;
}

CItemList::AppendData* CItemList::RecordOf(int row) const
{
    if (!m_hWnd || row < 0 || row >= GetItemCount())
        return nullptr;
    return reinterpret_cast<AppendData*>(GetItemData(row));
}

void CItemList::InitProgressData(int row)
{
    AppendData* record = RecordOf(row);
    if (!record)
        return;
    record->row = row;
    record->progressColumn = kStatusColumn;
    record->barColour = kBarColour;
    record->barShown = 0;
    record->percent = 0;
}

void CItemList::InvalidateProgressCell(int row, const AppendData& record)
{
    CRect cell;
    const int column = record.progressColumn >= 0 ? record.progressColumn : kStatusColumn;
    if (GetSubItemRect(row, column, LVIR_BOUNDS, cell))
        ::InvalidateRect(m_hWnd, &cell, FALSE);
}

void CItemList::ShowProgress(int row, int shown)
{
    AppendData* record = RecordOf(row);
    if (!record || record->barShown == shown)
        return;
    record->barShown = shown;
    InvalidateProgressCell(row, *record);
}

void CItemList::SetProgress(int row, float percent)
{
    AppendData* record = RecordOf(row);
    if (!record || record->percent == percent)
        return;
    record->percent = percent;
    InvalidateProgressCell(row, *record);
}

BOOL CItemList::DeleteAllItems()
{
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row)
    {
        delete RecordOf(row);
        SetItemData(row, 0);
    }
    return CWVListCtrl::DeleteAllItems();
}

BOOL CItemList::DeleteRow(int row)
{
    AppendData* record = RecordOf(row);
    if (record)
        SetItemData(row, 0);
    delete record;
    return DeleteItem(row);
}

void CItemList::DrawProgressBar(HDC dc, const RECT& cell, float percent, COLORREF colour)
{
    CRect frame(cell);
    frame.top += 1;
    frame.bottom -= 1;
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    ::Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);

    CRect inside(frame);
    inside.DeflateRect(1, 1);
    const int filled = (int)((double)inside.Width() * percent / 100.0);
    if (filled > 0)
    {
        RECT bar = {inside.left, inside.top, inside.left + filled, inside.bottom};
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(dc, &bar, brush);
        ::DeleteObject(brush);
    }
    CString text;
    text.Format(L"%0.2f%%", (double)percent);
    const COLORREF oldColour = ::SetTextColor(dc, RGB(0, 0, 0));
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, text, text.GetLength(), &inside, kProgressTextFlags);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColour);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}

void CItemList::DrawProgressCell(NMLVCUSTOMDRAW* draw, LRESULT* result)
{
    const int row = (int)draw->nmcd.dwItemSpec;
    AppendData* record = draw->nmcd.dwDrawStage == kCellStage ? RecordOf(row) : nullptr;
    if (!record || record->progressColumn != draw->iSubItem || !record->barShown)
    {
        // Every other stage and cell is the library list's: it asks for the cells and colours them.
        CWVListCtrl::OnCustomDraw(&draw->nmcd.hdr, result);
        return;
    }
    CRect cell;
    GetSubItemRect(row, draw->iSubItem, LVIR_BOUNDS, cell);
    ::DPtoLP(draw->nmcd.hdc, reinterpret_cast<POINT*>(&cell), 2);
    DrawProgressBar(draw->nmcd.hdc, cell, record->percent, record->barColour);
    *result = CDRF_SKIPDEFAULT;
}

void CItemList::OnCustomDraw(NMHDR* header, LRESULT* result)
{
    DrawProgressCell(reinterpret_cast<NMLVCUSTOMDRAW*>(header), result);
}

void CItemList::OnDestroy()
{
    DeleteAllItems();
    Default();
}

bool CItemList::LoadBackground()
{
    m_background.DeleteObject();
    m_palette.DeleteObject();
    HBITMAP bitmap = (HBITMAP)::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kBackgroundBitmapId), IMAGE_BITMAP,
                                           0, 0, LR_CREATEDIBSECTION);
    if (!bitmap)
        return false;
    m_background.Attach(bitmap);
    DIBSECTION section = {};
    ::GetObjectW(bitmap, sizeof(section), &section);
    m_nBitmapWidth = section.dsBm.bmWidth;
    m_nBitmapHeight = section.dsBm.bmHeight;

    const int colours = section.dsBmih.biClrUsed        ? (int)section.dsBmih.biClrUsed
                        : section.dsBm.bmBitsPixel <= 8 ? 1 << section.dsBm.bmBitsPixel
                                                        : kMaxPaletteColours + 1;
    HDC screen = ::GetDC(nullptr);
    if (colours <= kMaxPaletteColours)
    {
        RGBQUAD table[kMaxPaletteColours] = {};
        HDC memory = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::GetDIBColorTable(memory, 0, (UINT)colours, table);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        std::vector<BYTE> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (size_t)colours);
        LOGPALETTE* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
        palette->palVersion = 0x300;
        palette->palNumEntries = (WORD)colours;
        for (int i = 0; i < colours; ++i)
            palette->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
        m_palette.Attach(::CreatePalette(palette));
    }
    else
        m_palette.Attach(::CreateHalftonePalette(screen));
    ::ReleaseDC(nullptr, screen);
    Invalidate(TRUE);
    return true;
}

BOOL CItemList::OnEraseBkgnd(CDC* dc)
{
    if (!m_background.m_hObject || m_nBitmapWidth <= 0 || m_nBitmapHeight <= 0)
        return (BOOL)Default();
    // The picture is tiled from row 0's corner, so that it scrolls with the rows.
    CRect client;
    GetClientRect(&client);
    CPoint origin(0, 0);
    CRect first;
    if (GetItemCount() > 0 && GetItemRect(0, &first, LVIR_BOUNDS))
        origin = first.TopLeft();
    HDC memory = ::CreateCompatibleDC(dc->m_hDC);
    HGDIOBJ old = ::SelectObject(memory, m_background.m_hObject);
    int startX = origin.x - ((origin.x - client.left) / m_nBitmapWidth + 1) * m_nBitmapWidth;
    int startY = origin.y - ((origin.y - client.top) / m_nBitmapHeight + 1) * m_nBitmapHeight;
    for (int y = startY; y < client.bottom; y += m_nBitmapHeight)
        for (int x = startX; x < client.right; x += m_nBitmapWidth)
            ::BitBlt(dc->m_hDC, x, y, m_nBitmapWidth, m_nBitmapHeight, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return TRUE;
}

LRESULT CItemList::OnQueryNewPalette(WPARAM, LPARAM)
{
    HDC screen = ::GetDC(nullptr);
    const bool paletteDevice = (::GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    ::ReleaseDC(nullptr, screen);
    if (!paletteDevice || !m_palette.m_hObject)
        return Default();
    CClientDC dc(this);
    HPALETTE old = ::SelectPalette(dc.m_hDC, (HPALETTE)m_palette.m_hObject, FALSE);
    const UINT changed = ::RealizePalette(dc.m_hDC);
    ::SelectPalette(dc.m_hDC, old, FALSE);
    if (changed)
        Invalidate(TRUE);
    return (LRESULT)changed;
}

LRESULT CItemList::OnPaletteChanged(WPARAM changer, LPARAM)
{
    Default();
    if ((HWND)changer != m_hWnd)
        OnQueryNewPalette(0, 0);
    return 0;
}
