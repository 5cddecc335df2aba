#include "uilib/skin/SkinObjectHeader.h"

#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/foundation/ModuleHandle.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectPaintDC.h"

#include <commctrl.h>

#include <algorithm>

namespace
{

// Parts and states of the schema's HEADER class.
const int kPartHeaderItem = 1;
const int kStateNormal = 1;
const int kStateHot = 2;
const int kStatePressed = 3;

// Filter bars need the common controls of this version.
const DWORD kComCtlFilterBarVersion = 0x50050;
const DWORD kComCtlVersion6 = 0x60000;
const int kTextChars = 256;
const int kDefaultIconSize = 16;
// Insets of an item's content, in pixels.
const int kWideInset = 9;
const int kNarrowInset = 6;
const int kImageRightInset = 3;
const int kSortArrowRoom = 12;
const int kSortArrowHalfWidth = 4;
const int kSortArrowHalfHeight = 2;

// Text insets (left, right) and DrawText flags of each justification.
struct TextLayout
{
    int nLeft, nRight;
    UINT nFlags;
};
const UINT kTextFlags = DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
const TextLayout kTextLayouts[] = {
    {kWideInset, kNarrowInset, kTextFlags},               // HDF_LEFT
    {kNarrowInset, kWideInset, kTextFlags | DT_RIGHT},    // HDF_RIGHT
    {kNarrowInset, kNarrowInset, kTextFlags | DT_CENTER}, // HDF_CENTER
    {kWideInset, kNarrowInset, kTextFlags},               // not a justification: as HDF_LEFT
};

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectHeader, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectHeader, CWVPSkinObjectFrame)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CWVPSkinObjectHeader::CWVPSkinObjectHeader()
{
    m_strClassName = L"HEADER";
}

CWVPSkinObjectHeader::~CWVPSkinObjectHeader()
{
}

int CWVPSkinObjectHeader::GetItemState(int nIndex) const
{
    if (nIndex != m_nHotItem || nIndex < 0)
        return kStateNormal;
    return m_bPressed ? kStatePressed : kStateHot;
}

void CWVPSkinObjectHeader::OnDraw(HDC hDC)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    CWVPBufferDC buffer(hDC, CRect(client));
    HDC dc = buffer.GetSafeHdc();
    WVPSkinFillSolidRect(dc, client, GetColor(COLOR_BTNFACE));
    int itemsBottom = client.bottom;
    if ((::GetWindowLongW(m_hWnd, GWL_STYLE) & HDS_FILTERBAR) && WVPGetComCtlVersion() >= kComCtlFilterBarVersion)
    {
        // The control draws its filter bar itself; the skin draws the items over the upper half.
        itemsBottom = client.top + (client.bottom - client.top - 1) / 2;
        CallDefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    CWVPFontDC fontGuard(&buffer, font ? CFont::FromHandle(font) : nullptr, GetColor(COLOR_BTNTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    CWVPSkinManagerClass* skinClass = GetSkinClass();
    int count = int(::SendMessageW(m_hWnd, HDM_GETITEMCOUNT, 0, 0));
    LONG itemsRight = client.left;
    for (int order = 0; order < count; ++order)
    {
        int index = int(::SendMessageW(m_hWnd, HDM_ORDERTOINDEX, order, 0));
        RECT rc = {};
        if (!::SendMessageW(m_hWnd, HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc)))
            continue;
        itemsRight = std::max(itemsRight, rc.right);
        if (rc.right <= client.left || rc.left >= client.right)
            continue;
        rc.bottom = std::min<LONG>(rc.bottom, itemsBottom);
        int state = GetItemState(index);
        if (skinClass)
            skinClass->DrawThemeBackground(dc, kPartHeaderItem, state, &rc);
        DrawItem(dc, index, rc, state);
    }
    RECT rest = {itemsRight, client.top, client.right, itemsBottom};
    if (skinClass && rest.right > rest.left)
        skinClass->DrawThemeBackground(dc, 0, 0, &rest);
}

void CWVPSkinObjectHeader::DrawItem(HDC hDC, int nIndex, const RECT& rc, int nState)
{
    WCHAR text[kTextChars] = {};
    HDITEMW item = {};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_IMAGE;
    if (::IsWindowUnicode(m_hWnd))
    {
        item.pszText = text;
        item.cchTextMax = kTextChars;
        ::SendMessageW(m_hWnd, HDM_GETITEMW, nIndex, reinterpret_cast<LPARAM>(&item));
    }
    else
    {
        char ansi[kTextChars] = {};
        HDITEMA itemA = {};
        itemA.mask = item.mask;
        itemA.pszText = ansi;
        itemA.cchTextMax = kTextChars;
        ::SendMessageA(m_hWnd, HDM_GETITEMA, nIndex, reinterpret_cast<LPARAM>(&itemA));
        ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, text, kTextChars);
        item.fmt = itemA.fmt;
        item.lParam = itemA.lParam;
        item.iImage = itemA.iImage;
    }
    text[kTextChars - 1] = 0;
    bool pressed = nState == kStatePressed;

    if (item.fmt & HDF_OWNERDRAW)
    {
        UINT id = UINT(::GetDlgCtrlID(m_hWnd));
        DRAWITEMSTRUCT draw = {ODT_HEADER, id,  UINT(nIndex), ODA_DRAWENTIRE,        pressed ? UINT(ODS_SELECTED) : 0u,
                               m_hWnd,     hDC, rc,           ULONG_PTR(item.lParam)};
        HWND parent = ::GetParent(m_hWnd);
        if (parent && ::SendMessageW(parent, WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&draw)))
            return;
    }

    RECT textRect = rc;
    SIZE textSize = {};
    int length = ::lstrlenW(text);
    ::GetTextExtentPoint32W(hDC, text, length, &textSize);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, HDM_GETIMAGELIST, 0, 0));
    if (images && (item.fmt & HDF_IMAGE) && item.iImage >= 0 && item.iImage < ::ImageList_GetImageCount(images))
    {
        int margin = int(::SendMessageW(m_hWnd, HDM_GETBITMAPMARGIN, 0, 0));
        if (margin == 0)
            margin = 3 * ::GetSystemMetrics(SM_CXEDGE);
        int cx = kDefaultIconSize, cy = kDefaultIconSize;
        ::ImageList_GetIconSize(images, &cx, &cy);
        int x;
        if (item.fmt & HDF_BITMAP_ON_RIGHT)
        {
            x = rc.left + margin + textSize.cx + margin + kWideInset;
            x = std::max<int>(std::min<int>(x, rc.right - kImageRightInset - cx), rc.left + kNarrowInset);
            textRect.right = x + kNarrowInset;
        }
        else
        {
            x = rc.left + margin;
            textRect.left = x + cx;
        }
        if (pressed)
            ++x;
        IMAGELISTDRAWPARAMS draw = {};
        // Common controls before 6 know only the record up to its raster operation.
        draw.cbSize = WVPGetComCtlVersion() >= kComCtlVersion6 ? sizeof(draw) : IMAGELISTDRAWPARAMS_V3_SIZE;
        draw.himl = images;
        draw.i = item.iImage;
        draw.hdcDst = hDC;
        draw.x = x;
        draw.y = rc.top + (rc.bottom - rc.top - cy) / 2;
        draw.cx = cx;
        draw.cy = cy;
        draw.rgbBk = CLR_NONE;
        draw.rgbFg = CLR_DEFAULT;
        draw.fStyle = ILD_TRANSPARENT;
        ::ImageList_DrawIndirect(&draw);
    }
    else if (item.fmt & (HDF_SORTUP | HDF_SORTDOWN))
    {
        int centre = rc.left + textSize.cx + 6 * ::GetSystemMetrics(SM_CXEDGE) + kWideInset;
        if (centre > rc.right - kSortArrowRoom)
            centre = std::max<int>(rc.right - kSortArrowRoom, rc.left + kNarrowInset);
        int middle = (rc.top + rc.bottom) / 2;
        int tip = (item.fmt & HDF_SORTUP) ? -kSortArrowHalfHeight : kSortArrowHalfHeight;
        CWVPPaintManager::DrawTriangle(CDC::FromHandle(hDC), CPoint(centre - kSortArrowHalfWidth, middle - tip),
                                       CPoint(centre + kSortArrowHalfWidth, middle - tip), CPoint(centre, middle + tip),
                                       GetColor(COLOR_BTNSHADOW));
        textRect.right = centre;
    }

    const TextLayout& layout = kTextLayouts[item.fmt & HDF_JUSTIFYMASK];
    textRect.left += layout.nLeft;
    textRect.right -= layout.nRight;
    if (pressed)
        ::OffsetRect(&textRect, 1, 1);
    if (textRect.right > textRect.left)
        ::DrawTextW(hDC, text, length, &textRect, layout.nFlags);
}

int CWVPSkinObjectHeader::HitTest(POINT pt, UINT* pFlags) const
{
    HDHITTESTINFO hit = {};
    hit.pt = pt;
    int item = int(::SendMessageW(m_hWnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (pFlags)
        *pFlags = hit.flags;
    return item;
}

void CWVPSkinObjectHeader::SetHotItem(int nItem)
{
    if (nItem == m_nHotItem)
        return;
    m_nHotItem = nItem;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    if (nItem >= 0)
    {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::_TrackMouseEvent(&tme);
    }
}

LRESULT CWVPSkinObjectHeader::OnPaint(WPARAM wParam, LPARAM)
{
    CWVPSkinObjectPaintDC dc(m_hWnd, wParam);
    OnDraw(dc.GetSafeHdc());
    return 0;
}

LRESULT CWVPSkinObjectHeader::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (!(lParam & PRF_CLIENT))
        return DefWindowProc(WM_PRINTCLIENT, wParam, lParam);
    OnDraw(reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CWVPSkinObjectHeader::OnLButtonDown(WPARAM wParam, LPARAM lParam)
{
    UINT flags = 0;
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    if (HitTest(pt, &flags) >= 0 && (flags & HHT_ONHEADER))
        m_bPressed = true;
    return DefWindowProc(WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT CWVPSkinObjectHeader::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    if (m_bPressed)
    {
        m_bPressed = false;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    return DefWindowProc(WM_LBUTTONUP, wParam, lParam);
}

LRESULT CWVPSkinObjectHeader::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    SetHotItem(HitTest(pt));
    return DefWindowProc(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT CWVPSkinObjectHeader::OnMouseLeave(WPARAM wParam, LPARAM lParam)
{
    SetHotItem(-1);
    return DefWindowProc(WM_MOUSELEAVE, wParam, lParam);
}
