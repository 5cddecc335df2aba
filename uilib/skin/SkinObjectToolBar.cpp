#include "uilib/skin/SkinObjectToolBar.h"

#include "platform/mfc/DC.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/ModuleHandle.h"
#include "uilib/skin/SkinDCGuards.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerClass.h"
#include "uilib/skin/SkinManagerMetrics.h"
#include "uilib/skin/SkinObjectPaintDC.h"

#include <vector>

namespace
{

// Buttons without an image list are laid out around an icon of this size.
const int kDefaultIconSize = 16;
// A drop-down arrow takes this much of the text and content width.
const int kDropDownArrowWidth = 5;
// The whole-drop-down arrow sits this far left of the button's right edge.
const int kArrowInset = 6;
// Text formats: list style or text below the image, one row or more.
const UINT kListOneRow = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER;
const UINT kListRows = 0xA034;
const UINT kBelowOneRow = DT_END_ELLIPSIS | DT_SINGLELINE | DT_CENTER;
const UINT kBelowRows = 0xA011;
// Image-list drawing styles of the embossed look: the mask, then the image.
const UINT kEmbossMaskStyle = ILD_MASK | ILD_ROP;
const UINT kEmbossImageStyle = ILD_IMAGE | ILD_ROP;
// Paints the brush where the monochrome source is black and keeps the target elsewhere.
const DWORD kRopBrushThroughMask = 0xB8074A;
// Common controls from this version on draw alpha image lists.
const DWORD kComCtlVersion6 = 0x60000;
// Custom-draw notifications.
const UINT kNmCustomDraw = UINT(NM_CUSTOMDRAW);

// A memory DC holding a monochrome bitmap of the given size, filled white.
class MonoCanvas
{
  public:
    MonoCanvas(int cx, int cy) : m_hDC(::CreateCompatibleDC(nullptr)), m_hBitmap(::CreateBitmap(cx, cy, 1, 1, nullptr))
    {
        m_hOld = m_hDC && m_hBitmap ? ::SelectObject(m_hDC, m_hBitmap) : nullptr;
        if (m_hOld)
            ::PatBlt(m_hDC, 0, 0, cx, cy, WHITENESS);
    }
    ~MonoCanvas()
    {
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
        if (m_hDC)
            ::DeleteDC(m_hDC);
    }
    MonoCanvas(const MonoCanvas&) = delete;
    MonoCanvas& operator=(const MonoCanvas&) = delete;
    HDC dc() const
    {
        return m_hOld ? m_hDC : nullptr;
    }

  private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld = nullptr;
};

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectToolBar, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectToolBar, CWVPSkinObjectFrame)
ON_MESSAGE(WM_PAINT, OnPaint)
END_MESSAGE_MAP()

CWVPSkinObjectToolBar::CWVPSkinObjectToolBar()
{
    m_strClassName = L"TOOLBAR";
}

LRESULT CWVPSkinObjectToolBar::OnPaint(WPARAM wParam, LPARAM)
{
    CWVPSkinObjectPaintDC dc(m_hWnd, wParam);
    OnDraw(dc.GetSafeHdc());
    return 0;
}

void CWVPSkinObjectToolBar::OnDraw(HDC hDC)
{
    if (!hDC || !GetMetrics())
        return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    CWVPBufferDC buffer(hDC, CRect(rc));
    HDC dc = buffer.GetSafeHdc();
    ::FillRect(dc, &rc, GetMetrics()->GetBrush(COLOR_BTNFACE));
    CWVPSkinWindowFontDC font(dc, m_hWnd);

    NMTBCUSTOMDRAW draw = {};
    draw.nmcd.hdr.hwndFrom = m_hWnd;
    draw.nmcd.hdr.idFrom = UINT_PTR(::GetDlgCtrlID(m_hWnd));
    draw.nmcd.hdr.code = kNmCustomDraw;
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = rc;
    if (HWND parent = ::GetParent(m_hWnd))
        ::SendMessageW(parent, WM_NOTIFY, draw.nmcd.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));

    DrawButtons(dc);
}

void CWVPSkinObjectToolBar::DrawButtons(HDC hDC)
{
    CWVPSkinManagerClass* skinClass = GetSkinClass();
    int count = int(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    for (int index = 0; index < count; ++index)
    {
        TBBUTTON button = {};
        if (!::SendMessageW(m_hWnd, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) ||
            (button.fsState & TBSTATE_HIDDEN))
            continue;
        if (button.fsStyle & BTNS_SEP)
        {
            RECT rc;
            if (skinClass && ::SendMessageW(m_hWnd, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc)))
                skinClass->DrawThemeBackground(hDC, kPartSeparator, 0, &rc);
            continue;
        }
        DrawButton(hDC, index);
    }
}

BOOL CWVPSkinObjectToolBar::HasDropDownArrow(const TBBUTTON& button) const
{
    DWORD extended = DWORD(::SendMessageW(m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0));
    return ((extended & TBSTYLE_EX_DRAWDDARROWS) && (button.fsStyle & BTNS_DROPDOWN)) ||
           (button.fsStyle & BTNS_WHOLEDROPDOWN);
}

BOOL CWVPSkinObjectToolBar::IsSplitDropDown(const TBBUTTON& button) const
{
    DWORD extended = DWORD(::SendMessageW(m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0));
    return (extended & TBSTYLE_EX_DRAWDDARROWS) && (button.fsStyle & BTNS_DROPDOWN) &&
           !(button.fsStyle & BTNS_WHOLEDROPDOWN);
}

BOOL CWVPSkinObjectToolBar::HasImage(const TBBUTTON& button) const
{
    bool list = (::GetWindowLongW(m_hWnd, GWL_STYLE) & TBSTYLE_LIST) != 0;
    return !(list && button.iBitmap == I_IMAGENONE && (button.fsStyle & BTNS_AUTOSIZE));
}

int CWVPSkinObjectToolBar::GetButtonState(int nIndex, const TBBUTTON& button) const
{
    if (!(button.fsState & TBSTATE_ENABLED))
        return kStateDisabled;
    if (button.fsState & TBSTATE_PRESSED)
        return kStatePressed;
    if (button.fsState & TBSTATE_CHECKED)
        return kStateChecked;
    if (::SendMessageW(m_hWnd, TB_GETHOTITEM, 0, 0) == nIndex)
        return kStateHot;
    return kStateNormal;
}

CString CWVPSkinObjectToolBar::GetButtonText(const TBBUTTON& button) const
{
    // The text messages take no buffer size: a buffer as long as the answer to the length query.
    LRESULT length = ::SendMessageW(m_hWnd, TB_GETBUTTONTEXTW, button.idCommand, 0);
    if (length > 0)
    {
        std::vector<WCHAR> text(size_t(length) + 1, 0);
        ::SendMessageW(m_hWnd, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text.data()));
        text[size_t(length)] = 0;
        return CString(text.data());
    }
    HWND parent = ::GetParent(m_hWnd);
    if (::SendMessageW(m_hWnd, WM_NOTIFYFORMAT, WPARAM(parent), NF_QUERY) != NFR_ANSI)
        return CString();
    length = ::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, button.idCommand, 0);
    if (length <= 0)
        return CString();
    std::vector<char> text(size_t(length) + 1, 0);
    ::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(text.data()));
    text[size_t(length)] = 0;
    return CString(text.data());
}

BOOL CWVPSkinObjectToolBar::IsAlphaImageList(HIMAGELIST hImageList)
{
    if (!hImageList || WVPGetComCtlVersion() < kComCtlVersion6)
        return FALSE;
    IMAGEINFO info = {};
    BITMAP bitmap = {};
    if (!::ImageList_GetImageInfo(hImageList, 0, &info) || !::GetObjectW(info.hbmImage, sizeof(bitmap), &bitmap))
        return FALSE;
    return bitmap.bmBitsPixel == 32 && ::ImageList_GetBkColor(hImageList) == CLR_NONE;
}

void CWVPSkinObjectToolBar::DrawButton(HDC hDC, int nIndex)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    CWVPSkinManagerClass* skinClass = GetSkinClass();
    TBBUTTON button = {};
    RECT rc;
    if (!metrics || !skinClass || !::SendMessageW(m_hWnd, TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button)) ||
        !::SendMessageW(m_hWnd, TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rc)))
        return;
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    bool list = (style & TBSTYLE_LIST) != 0;
    int cxEdge = metrics->m_cxEdge, cyEdge = metrics->m_cyEdge;
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    POINT origin = {rc.left + cxEdge, rc.top + cyEdge};
    int textWidth = width - 3 * cxEdge, textHeight = height - 2 * cyEdge;
    int contentWidth = width - 2 * cxEdge;
    bool dropDown = HasDropDownArrow(button) != FALSE;
    bool split = IsSplitDropDown(button) != FALSE;
    if (dropDown)
    {
        textWidth -= kDropDownArrowWidth;
        contentWidth -= kDropDownArrowWidth;
    }
    int arrowWidth = split ? ::GetSystemMetrics(SM_CYMENUCHECK) : 0;

    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, TB_GETIMAGELIST, 0, 0));
    int iconWidth = kDefaultIconSize, iconHeight = kDefaultIconSize;
    if (images)
        ::ImageList_GetIconSize(images, &iconWidth, &iconHeight);
    DWORD padding = DWORD(::SendMessageW(m_hWnd, TB_GETPADDING, 0, 0));
    int xOffset = list    ? LOWORD(padding) / 2
                  : split ? (2 * cxEdge + contentWidth - iconWidth - arrowWidth) / 2
                          : (contentWidth - iconWidth) / 2;
    int yOffset = (HIWORD(padding) - 2 * cyEdge) / 2;
    if (yOffset < 0)
        yOffset = 0;
    bool down = (button.fsState & (TBSTATE_CHECKED | TBSTATE_PRESSED)) != 0;
    if (down)
        ++xOffset;

    int state = GetButtonState(nIndex, button);
    if (split)
    {
        RECT body = rc, arrow = rc;
        body.right -= arrowWidth;
        arrow.left = body.right;
        skinClass->DrawThemeBackground(hDC, kPartSplitButton, state, &body);
        skinClass->DrawThemeBackground(hDC, kPartSplitButtonDropDown, state, &arrow);
    }
    else
    {
        skinClass->DrawThemeBackground(hDC, kPartButton, state, &rc);
    }

    bool image = HasImage(button) != FALSE;
    if (image)
        DrawButtonImage(hDC, origin.x + xOffset, origin.y + yOffset, nIndex);

    CString text = GetButtonText(button);
    if (!text.IsEmpty())
    {
        RECT area = {origin.x, origin.y, origin.x + textWidth, origin.y + textHeight};
        if (down)
        {
            ::OffsetRect(&area, 1, list ? 1 : 0);
        }
        if (list)
            area.left += image ? 2 * cxEdge + iconWidth : cxEdge;
        else
            area.top += yOffset + iconHeight;
        ::OffsetRect(&area, 1, 1);
        bool rows = ::SendMessageW(m_hWnd, TB_GETTEXTROWS, 0, 0) >= 2;
        UINT format = list ? (rows ? kListRows : kListOneRow) : (rows ? kBelowRows : kBelowOneRow);
        int oldMode = ::SetBkMode(hDC, TRANSPARENT);
        COLORREF oldColor =
            ::SetTextColor(hDC, metrics->GetColor(state == kStateDisabled ? COLOR_BTNSHADOW : COLOR_BTNTEXT));
        ::DrawTextW(hDC, text, -1, &area, format);
        ::SetTextColor(hDC, oldColor);
        ::SetBkMode(hDC, oldMode);
    }

    if (dropDown && !split)
    {
        int middle = (rc.top + rc.bottom) / 2, end = rc.right - kArrowInset;
        int shift = (button.fsState & TBSTATE_PRESSED) ? 1 : 0;
        CDC* dc = CDC::FromHandle(hDC);
        CWVPPaintManager::DrawTriangle(dc, CPoint(end - 2 + shift, middle - 1 + shift),
                                       CPoint(end + 2 + shift, middle - 1 + shift),
                                       CPoint(end + shift, middle + 1 + shift), metrics->GetColor(COLOR_BTNTEXT));
    }
}

void CWVPSkinObjectToolBar::DrawButtonImage(HDC hDC, int x, int y, int nIndex)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    TBBUTTON button = {};
    if (!metrics || !::SendMessageW(m_hWnd, TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button)))
        return;
    bool disabled = !(button.fsState & TBSTATE_ENABLED);
    HIMAGELIST images = nullptr;
    if (::SendMessageW(m_hWnd, TB_GETHOTITEM, 0, 0) == nIndex || (button.fsState & TBSTATE_CHECKED))
        images = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, TB_GETHOTIMAGELIST, 0, 0));
    bool noDisabledList = false;
    if (disabled)
    {
        images = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, TB_GETDISABLEDIMAGELIST, 0, 0));
        noDisabledList = images == nullptr;
    }
    if (!images)
        images = reinterpret_cast<HIMAGELIST>(::SendMessageW(m_hWnd, TB_GETIMAGELIST, 0, 0));
    // Negative indexes are the tool bar's markers (no image, image by callback).
    if (!images || button.iBitmap < 0)
        return;
    int image = LOWORD(button.iBitmap);

    IMAGELISTDRAWPARAMS params = {};
    params.himl = images;
    params.i = image;
    params.hdcDst = hDC;
    params.x = x;
    params.y = y;
    params.rgbBk = metrics->GetColor(COLOR_BTNFACE);
    params.rgbFg = CLR_DEFAULT;
    if (disabled && noDisabledList && IsAlphaImageList(images))
    {
        params.cbSize = sizeof(params);
        params.fStyle = ILD_TRANSPARENT;
        params.fState = ILS_SATURATE;
        ::ImageList_DrawIndirect(&params);
        return;
    }
    params.cbSize = IMAGELISTDRAWPARAMS_V3_SIZE;
    if (!(disabled && noDisabledList))
    {
        params.fStyle = ILD_TRANSPARENT;
        ::ImageList_DrawIndirect(&params);
        return;
    }

    // The embossed look: the image's shape in highlight one pixel down-right, then in shadow.
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(images, &cx, &cy);
    MonoCanvas mask(cx + 1, cy + 1);
    if (!mask.dc())
        return;
    params.hdcDst = mask.dc();
    params.x = params.y = 0;
    params.fStyle = kEmbossMaskStyle;
    params.dwRop = SRCCOPY;
    ::ImageList_DrawIndirect(&params);
    params.fStyle = kEmbossImageStyle;
    params.dwRop = SRCPAINT;
    params.rgbBk = metrics->GetColor(COLOR_BTNHIGHLIGHT);
    ::ImageList_DrawIndirect(&params);

    COLORREF oldText = ::SetTextColor(hDC, RGB(0, 0, 0));
    COLORREF oldBack = ::SetBkColor(hDC, RGB(255, 255, 255));
    HGDIOBJ oldBrush = ::SelectObject(hDC, metrics->GetBrush(COLOR_BTNHIGHLIGHT));
    ::BitBlt(hDC, x + 1, y + 1, cx, cy, mask.dc(), 0, 0, kRopBrushThroughMask);
    ::SelectObject(hDC, metrics->GetBrush(COLOR_BTNSHADOW));
    ::BitBlt(hDC, x, y, cx, cy, mask.dc(), 0, 0, kRopBrushThroughMask);
    ::SelectObject(hDC, oldBrush);
    ::SetBkColor(hDC, oldBack);
    ::SetTextColor(hDC, oldText);
}
