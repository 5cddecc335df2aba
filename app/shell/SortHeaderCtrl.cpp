#include "app/shell/SortHeaderCtrl.h"

namespace
{
const int kTextLength = 255;
const UINT kTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

void SetDragFullWindows(BOOL on)
{
    ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, on, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

void Line(HDC dc, HPEN pen, std::initializer_list<POINT> points)
{
    HGDIOBJ old = ::SelectObject(dc, pen);
    const POINT* p = points.begin();
    ::MoveToEx(dc, p->x, p->y, nullptr);
    for (++p; p != points.end(); ++p)
        ::LineTo(dc, p->x, p->y);
    ::SelectObject(dc, old);
}
} // namespace

BEGIN_MESSAGE_MAP(CSortHeaderCtrl, CHeaderCtrl)
ON_NOTIFY_REFLECT(HDN_BEGINTRACKA, OnBeginTrack)
ON_NOTIFY_REFLECT(HDN_BEGINTRACKW, OnBeginTrack)
ON_NOTIFY_REFLECT(HDN_ENDTRACKA, OnEndTrack)
ON_NOTIFY_REFLECT(HDN_ENDTRACKW, OnEndTrack)
END_MESSAGE_MAP()

void CSortHeaderCtrl::SetSortArrow(int column, BOOL ascending)
{
    m_nSortColumn = column;
    m_bAscending = ascending;
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    if (GetItem(column, &item))
    {
        item.fmt |= HDF_OWNERDRAW;
        SetItem(column, &item);
    }
    Invalidate(TRUE);
}

void CSortHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT draw)
{
    HDC dc = draw->hDC;
    const int saved = ::SaveDC(dc);
    const CRect itemRect(draw->rcItem);
    ::FillRect(dc, &itemRect, ::GetSysColorBrush(COLOR_BTNFACE));

    wchar_t text[kTextLength + 1] = {0};
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = kTextLength;
    GetItem((int)draw->itemID, &item);

    UINT flags = kTextFlags;
    if (item.fmt & HDF_CENTER)
        flags |= DT_CENTER;
    else if (item.fmt & HDF_RIGHT)
        flags |= DT_RIGHT;

    CRect textRect(itemRect);
    if (draw->itemState == ODS_SELECTED)
    {
        textRect.left += 1;
        textRect.top += 2;
        textRect.right += 1;
    }
    const int b = itemRect.Height() / 4;
    const bool sorted = (int)draw->itemID == m_nSortColumn;
    if (sorted)
        textRect.right -= 3 * b;
    textRect.DeflateRect(b, 0);
    if (textRect.left < textRect.right)
    {
        ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextW(dc, text, -1, &textRect, flags);
    }

    if (sorted)
    {
        HPEN light = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        HPEN shadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
        const int r = itemRect.right;
        const int bottom = itemRect.bottom;
        if (m_bAscending)
        {
            Line(dc, light, {{r - 2 * b, b}, {r - b, bottom - b - 1}, {r - 3 * b - 2, bottom - b - 1}});
            Line(dc, shadow, {{r - 3 * b - 1, bottom - b - 1}, {r - 2 * b, b - 1}});
        }
        else
        {
            Line(dc, light, {{r - b - 1, b}, {r - 2 * b - 1, bottom - b}});
            Line(dc, shadow, {{r - 2 * b - 2, bottom - b}, {r - 3 * b - 1, b}, {r - b - 1, b}});
        }
        ::DeleteObject(light);
        ::DeleteObject(shadow);
    }
    ::RestoreDC(dc, saved);
}

void CSortHeaderCtrl::OnBeginTrack(NMHDR*, LRESULT* result)
{
    ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &m_bSavedDragFull, 0);
    if (!m_bSavedDragFull)
        SetDragFullWindows(TRUE);
    *result = 0;
}

void CSortHeaderCtrl::OnEndTrack(NMHDR*, LRESULT* result)
{
    if (CWnd* list = GetParent())
        list->SendMessage(WM_SUPERLIST_POSITIONBARS);
    if (!m_bSavedDragFull)
        SetDragFullWindows(FALSE);
    *result = 0;
}
