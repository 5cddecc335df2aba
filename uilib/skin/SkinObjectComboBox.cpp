#include "uilib/skin/SkinObjectComboBox.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerClass.h"
#include "uilib/skin/SkinManagerMetrics.h"
#include "uilib/skin/SkinObjectPaintDC.h"
#include "uilib/skin/SkinSchemaNames.h"

namespace
{

// The control's own drop button is covered this much wider than the skin's.
const int kButtonColumnExtra = 3;
// The image frame leaves this much of the field to the control's painting.
const int kImageFrameInset = 3;
// The border-filled frame: a border line, then a band of the background.
const int kBorderBandWidth = 2;
// The message that changes a button's style; combo boxes repaint after it.
const UINT kMessageSetStyle = 0xF4;

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectComboBox, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectComboBox, CWVPSkinObjectFrame)
ON_MESSAGE(WM_CREATE, OnCreate)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
ON_MESSAGE(WM_SETFOCUS, OnSetFocus)
ON_MESSAGE(WM_KILLFOCUS, OnKillFocus)
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_MESSAGE(WM_ENABLE, OnEnable)
ON_MESSAGE(WM_UPDATEUISTATE, OnUpdateUIState)
ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
ON_MESSAGE(kMessageSetStyle, OnSetStyle)
END_MESSAGE_MAP()

CWVPSkinObjectComboBox::CWVPSkinObjectComboBox()
{
    m_strClassName = L"COMBOBOX";
    m_nCtlColorMessage = WM_CTLCOLOREDIT;
}

UINT CWVPSkinObjectComboBox::GetClientBrushMessage()
{
    if (!::IsWindowEnabled(m_hWnd))
        return WM_CTLCOLORSTATIC;
    HWND child = ::GetWindow(m_hWnd, GW_CHILD);
    if (child && (::GetWindowLongW(child, GWL_STYLE) & ES_READONLY))
        return WM_CTLCOLORSTATIC;
    return WM_CTLCOLOREDIT;
}

int CWVPSkinObjectComboBox::GetComboState() const
{
    if (!::IsWindowEnabled(m_hWnd))
        return kStateDisabled;
    bool pressed = ::GetKeyState(VK_LBUTTON) < 0 && ::SendMessageW(m_hWnd, CB_GETDROPPEDSTATE, 0, 0);
    if (pressed)
        return kStatePressed;
    return m_bHot || ::GetCapture() == m_hWnd ? kStateHot : kStateNormal;
}

void CWVPSkinObjectComboBox::DrawComboBox(HDC hDC)
{
    if (!hDC || !GetMetrics())
        return;
    if ((::GetWindowLongW(m_hWnd, GWL_STYLE) & 3) == CBS_SIMPLE)
        DrawSimple(hDC);
    else
        DrawDropDown(hDC);
}

void CWVPSkinObjectComboBox::DrawDropDown(HDC hDC)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    int state = GetComboState();
    bool buttonLeft = (::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    CWVPBufferDC buffer(hDC, CRect(rc));
    HDC dc = buffer.GetSafeHdc();
    HBRUSH background = GetClientBrush(dc);
    ::FillRect(dc, &rc, background);
    m_bOwnPaint = true;
    CallDefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    m_bOwnPaint = false;
    ::SelectClipRgn(dc, nullptr);

    int cxButton = metrics->m_cxVScroll;
    RECT column = rc;
    if (buttonLeft)
        column.right = column.left + cxButton + kButtonColumnExtra;
    else
        column.left = column.right - cxButton - kButtonColumnExtra;
    ::FillRect(dc, &column, background);

    CWVPSkinManagerClass* combo = GetSkinClass();
    if (!combo)
        return;
    int bgType = combo->GetThemeEnumValue(kPartFrame, state, kSkinPropBgType, -1);
    RECT button = rc;
    if (bgType == kSkinBgImageFile)
    {
        RECT inner = rc;
        ::InflateRect(&inner, -kImageFrameInset, -kImageFrameInset);
        if (buttonLeft)
            inner.left += cxButton;
        else
            inner.right -= cxButton;
        ::ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
        combo->DrawThemeBackground(dc, kPartFrame, state, &rc);
        ::SelectClipRgn(dc, nullptr);
    }
    else if (bgType == kSkinBgBorderFill)
    {
        WVPSkinDrawFrameColor(
            dc, rc, 1,
            combo->GetThemeColor(kPartFrame, state, kSkinPropBorderColor, metrics->GetColor(COLOR_WINDOWFRAME)));
        ::InflateRect(&button, -1, -1);
        RECT band = button;
        if (buttonLeft)
            band.left += cxButton;
        else
            band.right -= cxButton;
        WVPSkinDrawFrameBrush(dc, band, kBorderBandWidth, background);
    }
    if (buttonLeft)
        button.right = button.left + cxButton;
    else
        button.left = button.right - cxButton;
    combo->DrawThemeBackground(dc, kPartDropDownButton, state, &button);
}

void CWVPSkinObjectComboBox::DrawSimple(HDC hDC)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    // The control paints its field and list first; the skin frames the field over it.
    m_bOwnPaint = true;
    CallDefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(hDC), 0);
    m_bOwnPaint = false;
    RECT field;
    ::GetClientRect(m_hWnd, &field);
    int itemHeight = int(::SendMessageW(m_hWnd, CB_GETITEMHEIGHT, WPARAM(-1), 0));
    field.bottom = field.top + itemHeight + 2 * ::GetSystemMetrics(SM_CYFIXEDFRAME);
    HBRUSH brush = GetClientBrush(hDC);
    CWVPSkinManagerClass* edit = m_pManager->GetSkinClass(L"EDIT");
    if (edit && edit->GetThemeEnumValue(0, 0, kSkinPropBgType, -1) == kSkinBgBorderFill)
    {
        WVPSkinDrawFrameColor(hDC, field, 1,
                              edit->GetThemeColor(0, 0, kSkinPropBorderColor, metrics->GetColor(COLOR_WINDOWFRAME)));
        ::InflateRect(&field, -1, -1);
        WVPSkinDrawFrameBrush(hDC, field, 1, brush);
    }
    else
    {
        // A sunken double edge in the skin's edge colours.
        static const struct
        {
            int nTopLeft, nBottomRight;
        } kEdges[] = {{COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}, {COLOR_3DDKSHADOW, COLOR_3DLIGHT}};
        for (const auto& edge : kEdges)
        {
            int cx = field.right - field.left, cy = field.bottom - field.top;
            COLORREF topLeft = metrics->GetColor(edge.nTopLeft), bottomRight = metrics->GetColor(edge.nBottomRight);
            WVPSkinFillSolidRectXY(hDC, field.left, field.top, cx - 1, 1, topLeft);
            WVPSkinFillSolidRectXY(hDC, field.left, field.top, 1, cy - 1, topLeft);
            WVPSkinFillSolidRectXY(hDC, field.left, field.bottom - 1, cx, 1, bottomRight);
            WVPSkinFillSolidRectXY(hDC, field.right - 1, field.top, 1, cy, bottomRight);
            ::InflateRect(&field, -1, -1);
        }
    }
    ::InflateRect(&field, -1, -1);
    WVPSkinDrawFrameBrush(hDC, field, 1, brush);
}

void CWVPSkinObjectComboBox::Invalidate()
{
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT CWVPSkinObjectComboBox::DefaultThenInvalidate(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(nMessage, wParam, lParam);
    Invalidate();
    return result;
}

LRESULT CWVPSkinObjectComboBox::OnCreate(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_CREATE, wParam, lParam);
    if (result == -1)
        return -1;
    Invalidate();
    // The skin alone frames the control.
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    DWORD exStyle = DWORD(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    ::SetWindowLongW(m_hWnd, GWL_STYLE, LONG(style & ~WS_BORDER));
    if (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))
    {
        ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, LONG(exStyle & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)));
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return 0;
}

LRESULT CWVPSkinObjectComboBox::OnPaint(WPARAM wParam, LPARAM)
{
    CWVPSkinObjectPaintDC dc(m_hWnd, wParam);
    DrawComboBox(dc.GetSafeHdc());
    return 0;
}

LRESULT CWVPSkinObjectComboBox::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (!(lParam & PRF_CLIENT) || m_bOwnPaint)
        return DefWindowProc(WM_PRINTCLIENT, wParam, lParam);
    DrawComboBox(reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CWVPSkinObjectComboBox::OnEraseBkgnd(WPARAM, LPARAM)
{
    return TRUE;
}

LRESULT CWVPSkinObjectComboBox::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_MOUSEMOVE, wParam, lParam);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    bool hot = ::PtInRect(&rc, pt) != FALSE;
    if (hot != m_bHot)
    {
        m_bHot = hot;
        Invalidate();
    }
    if (m_bHot)
    {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::_TrackMouseEvent(&tme);
    }
    return result;
}

LRESULT CWVPSkinObjectComboBox::OnMouseLeave(WPARAM wParam, LPARAM)
{
    return OnMouseMove(wParam, MAKELPARAM(-1, -1));
}

LRESULT CWVPSkinObjectComboBox::OnSetFocus(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(WM_SETFOCUS, wParam, lParam);
}

LRESULT CWVPSkinObjectComboBox::OnKillFocus(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(WM_KILLFOCUS, wParam, lParam);
}

LRESULT CWVPSkinObjectComboBox::OnCaptureChanged(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(WM_CAPTURECHANGED, wParam, lParam);
}

LRESULT CWVPSkinObjectComboBox::OnEnable(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(WM_ENABLE, wParam, lParam);
}

LRESULT CWVPSkinObjectComboBox::OnUpdateUIState(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(WM_UPDATEUISTATE, wParam, lParam);
}

LRESULT CWVPSkinObjectComboBox::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(WM_LBUTTONUP, wParam, lParam);
}

LRESULT CWVPSkinObjectComboBox::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    return DefaultThenInvalidate(kMessageSetStyle, wParam, lParam);
}
