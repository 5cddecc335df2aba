#include "app/shell/ButtonST.h"

#include "uilib/foundation/BufferDC.h"

namespace
{
const COLORREF kHoverFill = RGB(182, 189, 210);
const COLORREF kPressedFill = RGB(133, 146, 181);
const COLORREF kHotFrame = RGB(10, 36, 106);
const int kImageCount = 4;
const int kFlatFocusInset = 4;
const int kFocusInset = 2;
// The tooltip's tool on the parent that stands for the button while it is disabled.
const UINT_PTR kParentToolId = 1;
const UINT kMouseMessageSpan = 14;

// Fills a rectangle with a colour and frames it with another.
void FillFramed(HDC dc, const RECT& rect, COLORREF fill, COLORREF frame)
{
    HBRUSH fillBrush = ::CreateSolidBrush(fill);
    ::FillRect(dc, &rect, fillBrush);
    ::DeleteObject(fillBrush);
    HBRUSH frameBrush = ::CreateSolidBrush(frame);
    ::FrameRect(dc, &rect, frameBrush);
    ::DeleteObject(frameBrush);
}

void Frame3D(HDC dc, const RECT& rect, int topLeft, int bottomRight)
{
    CDC::FromHandle(dc)->Draw3dRect(&rect, ::GetSysColor(topLeft), ::GetSysColor(bottomRight));
}
} // namespace

BEGIN_MESSAGE_MAP(CButtonST, CButton)
ON_WM_CREATE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_MOUSEMOVE()
ON_WM_PAINT()
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_WM_ACTIVATE()
ON_WM_ENABLE()
ON_WM_CANCELMODE()
ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
ON_MESSAGE(BM_SETSTATE, OnSetState)
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMessage)
ON_WM_ERASEBKGND()
ON_WM_CAPTURECHANGED()
ON_MESSAGE(BM_SETCHECK, OnSetCheck)
END_MESSAGE_MAP()

CButtonST::CButtonST() = default;

CButtonST::~CButtonST()
{
    delete m_pToolTip;
}

void CButtonST::MakeOwnerDrawn()
{
    const DWORD style = GetStyle();
    const DWORD ownerDrawn = (style & ~BS_TYPEMASK) | ((style | BS_OWNERDRAW) & BS_TYPEMASK);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, (LONG)ownerDrawn);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CButtonST::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    if (m_bOwnerDrawOnSubclass)
        MakeOwnerDrawn();
}

BOOL CButtonST::PreCreateWindow(CREATESTRUCTW& cs)
{
    const BOOL result = CButton::PreCreateWindow(cs);
    m_bOwnerDrawOnSubclass = FALSE;
    return result;
}

int CButtonST::OnCreate(LPCREATESTRUCT)
{
    const int result = (int)Default();
    if (result != -1)
        MakeOwnerDrawn();
    return result;
}

bool CButtonST::SetBitmap(UINT resourceId)
{
    HBITMAP loaded =
        (HBITMAP)::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE);
    return loaded && SetBitmap(loaded);
}

bool CButtonST::SetBitmap(HBITMAP bitmap)
{
    if (!bitmap)
        return false;
    m_bitmap.DeleteObject();
    m_bitmap.Attach(bitmap);
    SizeToBitmap();
    return true;
}

void CButtonST::SizeToBitmap()
{
    BITMAP info = {};
    if (!m_bitmap.m_hObject || !m_bitmap.GetBitmap(&info) || !info.bmWidth || !::IsWindow(m_hWnd))
        return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, info.bmWidth / kImageCount, info.bmHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

bool CButtonST::SetTooltipText(LPCWSTR text)
{
    if (!text || !*text)
        return false;
    if (!m_pToolTip)
    {
        auto tooltip = new CToolTipCtrl;
        if (!tooltip->Create(this))
        {
            delete tooltip;
            return false;
        }
        m_pToolTip = tooltip;
        m_pToolTip->AddTool(this, text);
    }
    else
        m_pToolTip->UpdateTipText(text, this);
    m_tooltipText = text;
    if (m_hasParentTool)
        m_pToolTip->UpdateTipText(text, GetParent(), kParentToolId);
    m_pToolTip->Activate(TRUE);
    m_pToolTip->ModifyStyle(0, TTS_ALWAYSTIP);
    return true;
}

void CButtonST::SaveParentBackground(CDC* parentDC)
{
    m_dcBackground.DeleteDC();
    m_bmpBackground.DeleteObject();
    CWnd* parent = GetParent();
    if (!parentDC || !parent)
        return;
    CRect rect;
    GetWindowRect(&rect);
    parent->ScreenToClient(&rect);
    if (!m_dcBackground.CreateCompatibleDC(parentDC))
        return;
    if (!m_bmpBackground.CreateCompatibleBitmap(parentDC, rect.Width(), rect.Height()))
    {
        m_dcBackground.DeleteDC();
        return;
    }
    m_dcBackground.SelectObject(&m_bmpBackground);
    m_dcBackground.BitBlt(0, 0, rect.Width(), rect.Height(), parentDC, rect.left, rect.top, SRCCOPY);
}

bool CButtonST::RelayToolTipForDisabled(const MSG* msg)
{
    if (!m_pToolTip || !m_pToolTip->m_hWnd)
        return false;
    if (IsWindowEnabled())
        return true;
    HWND parent = ::GetParent(m_hWnd);
    if (!parent || msg->hwnd != parent || msg->message < WM_MOUSEFIRST ||
        msg->message > WM_MOUSEFIRST + kMouseMessageSpan)
        return true;
    CRect rect;
    ::GetWindowRect(m_hWnd, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    CWnd* parentWnd = CWnd::FromHandle(parent);
    if (m_hasParentTool)
        m_pToolTip->SetToolRect(parentWnd, kParentToolId, &rect);
    else
        m_hasParentTool = m_pToolTip->AddTool(parentWnd, m_tooltipText, &rect, kParentToolId) != FALSE;
    m_pToolTip->RelayEvent(const_cast<MSG*>(msg));
    return true;
}

BOOL CButtonST::PreTranslateMessage(MSG* msg)
{
    if (m_pToolTip && m_pToolTip->m_hWnd)
        m_pToolTip->RelayEvent(msg);
    return CButton::PreTranslateMessage(msg);
}

void CButtonST::OnSetFocus(CWnd*)
{
    Default();
    Invalidate(FALSE);
}

void CButtonST::OnKillFocus(CWnd* next)
{
    // Disabling a focused window drops its focus before WM_ENABLE arrives.
    m_bFocusLostToDisable = !next && (GetStyle() & WS_DISABLED);
    Default();
    Invalidate(FALSE);
}

void CButtonST::UpdateHover(CPoint point)
{
    CRect client;
    GetClientRect(&client);
    const BOOL inside = client.PtInRect(point);
    if (inside == m_bHover)
        return;
    m_bHover = inside;
    Invalidate(FALSE);
    if (inside)
    {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = HOVER_DEFAULT;
        ::TrackMouseEvent(&track);
    }
}

void CButtonST::OnMouseMove(UINT, CPoint point)
{
    Default();
    UpdateHover(point);
}

LRESULT CButtonST::OnMouseLeaveMessage(WPARAM, LPARAM)
{
    UpdateHover(CPoint(-1, -1));
    return 0;
}

void CButtonST::OnPaint()
{
    CPaintDC paint(this);
    CWVPBufferDC buffer(paint);
    PaintSelf(buffer.m_hDC ? buffer.m_hDC : paint.m_hDC);
}

LRESULT CButtonST::OnPrintClient(WPARAM dc, LPARAM flags)
{
    if (!(flags & PRF_CLIENT))
        return Default();
    PaintSelf((HDC)dc);
    return 1;
}

void CButtonST::PaintSelf(HDC dc)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = (UINT)GetDlgCtrlID();
    item.hwndItem = m_hWnd;
    item.hDC = dc;
    GetClientRect(&item.rcItem);
    if (::GetFocus() == m_hWnd)
        item.itemState |= ODS_FOCUS;
    if (m_bPushed)
        item.itemState |= ODS_SELECTED;
    const LRESULT ui = SendMessage(WM_QUERYUISTATE);
    if (ui & UISF_HIDEACCEL)
        item.itemState |= ODS_NOACCEL;
    if (ui & UISF_HIDEFOCUS)
        item.itemState |= ODS_NOFOCUSRECT;
    if (!IsWindowEnabled())
        item.itemState |= ODS_DISABLED;
    DrawItem(&item);
}

void CButtonST::OnActivate(UINT state, CWnd*, BOOL)
{
    Default();
    if (state == WA_INACTIVE)
        Invalidate();
}

void CButtonST::OnEnable(BOOL enable)
{
    Default();
    if (!enable)
    {
        // Only a button that holds the focus gives it away; taking it from elsewhere would pull the
        // keyboard away from the list whenever an idle update disables a button.
        CWnd* parent = GetParent();
        const bool hadFocus = ::GetFocus() == m_hWnd || (m_bFocusLostToDisable && !::GetFocus());
        m_bFocusLostToDisable = FALSE;
        if (parent && hadFocus)
        {
            HWND next = ::GetNextDlgTabItem(parent->m_hWnd, m_hWnd, FALSE);
            ::SetFocus(next && next != m_hWnd ? next : parent->m_hWnd);
        }
    }
    Invalidate();
}

void CButtonST::OnCancelMode()
{
    Default();
    Invalidate();
}

LRESULT CButtonST::OnSetStyle(WPARAM style, LPARAM redraw)
{
    const DWORD before = GetStyle();
    ::SetWindowLongW(m_hWnd, GWL_STYLE, (LONG)(before | (DWORD)((style | BS_OWNERDRAW) & 0xFFFF)));
    if (GetStyle() != before && LOWORD(redraw))
        Invalidate(TRUE);
    return 0;
}

LRESULT CButtonST::OnSetState(WPARAM pushed, LPARAM)
{
    // The default handling would paint a system button over the picture.
    if (GetStyle() & WS_VISIBLE)
    {
        ::SetWindowLongW(m_hWnd, GWL_STYLE, (LONG)(GetStyle() & ~WS_VISIBLE));
        Default();
        ::SetWindowLongW(m_hWnd, GWL_STYLE, (LONG)(GetStyle() | WS_VISIBLE));
    }
    else
        Default();
    m_bPushed = pushed != 0;
    Invalidate(FALSE);
    return 0;
}

BOOL CButtonST::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CButtonST::OnCaptureChanged(CWnd*)
{
    Default();
    Invalidate();
}

LRESULT CButtonST::OnSetCheck(WPARAM, LPARAM)
{
    const LRESULT result = Default();
    Invalidate();
    return result;
}

int CButtonST::PictureState(UINT itemState) const
{
    if (itemState & ODS_DISABLED)
        return kDisabled;
    if ((itemState & ODS_SELECTED) || SendMessage(BM_GETCHECK) == BST_CHECKED)
        return kPressed;
    return (m_bHover || ::GetCapture() == m_hWnd) ? kHover : kNormal;
}

void CButtonST::DrawBackground(LPDRAWITEMSTRUCT item, int state)
{
    const RECT& rect = item->rcItem;
    if (m_dcBackground.m_hDC &&
        ::BitBlt(item->hDC, 0, 0, rect.right - rect.left, rect.bottom - rect.top, m_dcBackground.m_hDC, 0, 0, SRCCOPY))
        return;
    if (!m_dcBackground.m_hDC && state == kHover)
    {
        FillFramed(item->hDC, rect, kHoverFill, kHotFrame);
        return;
    }
    if (!m_dcBackground.m_hDC && state == kPressed)
    {
        FillFramed(item->hDC, rect, kPressedFill, kHotFrame);
        return;
    }
    HBRUSH brush = nullptr;
    if (HWND parent = ::GetParent(m_hWnd))
        brush = (HBRUSH)::SendMessageW(parent, WM_CTLCOLORBTN, (WPARAM)item->hDC, (LPARAM)m_hWnd);
    ::FillRect(item->hDC, &rect, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
}

void CButtonST::DrawItem(LPDRAWITEMSTRUCT item)
{
    if (!m_bitmap.m_hObject)
    {
        DrawPlain(item);
        return;
    }
    const int state = PictureState(item->itemState);
    DrawBackground(item, state);

    BITMAP info = {};
    m_bitmap.GetBitmap(&info);
    const int imageWidth = info.bmWidth / kImageCount;
    const RECT& rect = item->rcItem;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC memory = ::CreateCompatibleDC(item->hDC);
    if (!memory)
        return;
    HGDIOBJ old = ::SelectObject(memory, m_bitmap.m_hObject);
    const int sourceX = imageWidth * (state - 1);
    if (m_bTransparent)
        ::TransparentBlt(item->hDC, 0, 0, width, height, memory, sourceX, 0, imageWidth, info.bmHeight,
                         m_crTransparent);
    else
        ::BitBlt(item->hDC, 0, 0, width, height, memory, sourceX, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

void CButtonST::DrawPlain(LPDRAWITEMSTRUCT item)
{
    HDC dc = item->hDC;
    CRect rect(item->rcItem);
    const bool pushed = m_bPushedLook || (item->itemState & ODS_SELECTED);
    ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    if (m_bFlat)
        Frame3D(dc, rect, pushed ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT, pushed ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    else
    {
        Frame3D(dc, rect, pushed ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT,
                pushed ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW);
        rect.DeflateRect(1, 1);
        Frame3D(dc, rect, pushed ? COLOR_BTNSHADOW : COLOR_BTNFACE, pushed ? COLOR_BTNFACE : COLOR_BTNSHADOW);
    }

    CString caption;
    GetWindowText(caption);
    if (!caption.IsEmpty())
    {
        HGDIOBJ oldFont = ::SelectObject(dc, (HGDIOBJ)SendMessage(WM_GETFONT));
        const int oldMode = ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextW(dc, caption, caption.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        ::SetBkMode(dc, oldMode);
        ::SelectObject(dc, oldFont);
    }
    if ((item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT) && m_bDrawFocus)
    {
        CRect focus(item->rcItem);
        const int inset = m_bFlat ? kFlatFocusInset : kFocusInset;
        focus.DeflateRect(inset, inset);
        ::DrawFocusRect(dc, &focus);
    }
}
