#include "uilib/skin/SkinObjectTrackBar.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectPaintDC.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <utility>

namespace
{

// Parts and states of the schema's TRACKBAR class.
const int kPartTrack = 1;
const int kPartTrackVert = 2;
const int kPartThumb = 3;
const int kPartThumbBottom = 4;
const int kPartThumbTop = 5;
const int kPartThumbVert = 6;
const int kPartThumbLeft = 7;
const int kPartThumbRight = 8;
const int kPartTics = 9;
const int kPartTicsVert = 10;
const int kStateNormal = 1;
const int kStateHot = 2;
const int kStatePressed = 3;
const int kStateFocused = 4;
const int kStateDisabled = 5;
const int kPropColor = 204;

// Ticks on the top or left side push the channel down by this much.
const int kTopTicsSpace = 8;
const int kChannelGap = 2;
const int kTicLength = 3;

RECT Transposed(const RECT& rc)
{
    return RECT{rc.top, rc.left, rc.bottom, rc.right};
}

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectTrackBar, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectTrackBar, CWVPSkinObjectFrame)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
ON_MESSAGE(TBM_SETTICFREQ, OnSetTicFreq)
ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CWVPSkinObjectTrackBar::CWVPSkinObjectTrackBar()
{
    m_strClassName = L"TRACKBAR";
    m_nCtlColorMessage = WM_CTLCOLORSTATIC;
}

CWVPSkinObjectTrackBar::~CWVPSkinObjectTrackBar()
{
}

bool CWVPSkinObjectTrackBar::IsVertical() const
{
    return (m_dwBarStyle & TBS_VERT) != 0;
}

void CWVPSkinObjectTrackBar::CalcThumbSize()
{
    int edge = ::GetSystemMetrics(SM_CXEDGE);
    m_nThumbLength = std::max(m_nThumbLength, 2 * edge);
    m_nThumbHalfWidth = (m_nThumbLength / 2) | 1;
    if (m_dwBarStyle & TBS_ENABLESELRANGE)
    {
        if (m_dwBarStyle & TBS_FIXEDLENGTH)
            m_nThumbHalfWidth = (m_nThumbLength * 9 / 20) | 1;
        else
            m_nThumbLength += (2 * m_nThumbHalfWidth) / 9;
    }
}

void CWVPSkinObjectTrackBar::CalcChannel()
{
    m_dwBarStyle = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (IsVertical())
        client = Transposed(client);
    int height = client.bottom - client.top;
    if (m_dwBarStyle & TBS_FIXEDLENGTH)
    {
        m_nThumbLength = int(::SendMessageW(m_hWnd, TBM_GETTHUMBLENGTH, 0, 0));
    }
    else
    {
        m_nThumbLength = 4 * ::GetSystemMetrics(SM_CYHSCROLL) / 3;
        int edge = ::GetSystemMetrics(SM_CYEDGE);
        if (2 * ::GetSystemMetrics(SM_CXEDGE) < m_nThumbLength && height < m_nThumbLength)
        {
            m_nThumbLength = (m_dwBarStyle & TBS_ENABLESELRANGE) ? (3 * height - 9 * edge) / 4 : height - 3 * edge;
            CalcThumbSize();
        }
    }
    CalcThumbSize();
    bool topTics = (m_dwBarStyle & (TBS_TOP | TBS_BOTH)) && !(m_dwBarStyle & TBS_NOTICKS);
    int top = client.top + (topTics ? kTopTicsSpace : 0);
    m_nChannelLeft = client.left + m_nThumbHalfWidth + kChannelGap;
    m_nChannelTop = top + kChannelGap;
    m_nChannelRight = client.right - m_nThumbHalfWidth - kChannelGap;
    m_nChannelBottom = top + m_nThumbLength + kChannelGap;
    m_nChannelLength = std::max(1, int(client.right - client.left) - 2 * m_nThumbHalfWidth - 2 * kChannelGap);
}

int CWVPSkinObjectTrackBar::TicPos(int nValue) const
{
    int low = int(::SendMessageW(m_hWnd, TBM_GETRANGEMIN, 0, 0));
    int high = int(::SendMessageW(m_hWnd, TBM_GETRANGEMAX, 0, 0));
    if (low == high)
        return m_nChannelLeft;
    int span = std::max(0, m_nChannelRight - m_nChannelLeft - 1);
    return m_nChannelLeft + ::MulDiv(nValue - low, span, high - low);
}

void CWVPSkinObjectTrackBar::FillTic(HDC hDC, int x, int nTop, int nLength, COLORREF clr)
{
    RECT tic = {x, nTop, x + 1, nTop + nLength};
    WVPSkinFillSolidRect(hDC, IsVertical() ? Transposed(tic) : tic, clr);
}

void CWVPSkinObjectTrackBar::DrawTics(HDC hDC, int nDirection, int y)
{
    COLORREF text = GetColor(COLOR_BTNTEXT);
    CWVPSkinManagerClass* skinClass = GetSkinClass();
    COLORREF clr =
        skinClass ? skinClass->GetThemeColor(IsVertical() ? kPartTicsVert : kPartTics, kStateNormal, kPropColor, text)
                  : text;
    auto start = [nDirection](int from) { return nDirection > 0 ? from : from - kTicLength; };
    for (int x : {m_nChannelLeft, m_nChannelRight - 1})
    {
        FillTic(hDC, x, start(y), kTicLength, clr);
        FillTic(hDC, x, start(y + nDirection), kTicLength, clr);
    }

    int low = int(::SendMessageW(m_hWnd, TBM_GETRANGEMIN, 0, 0));
    // The count includes both end ticks, which the positions leave out.
    int count = int(::SendMessageW(m_hWnd, TBM_GETNUMTICS, 0, 0)) - 2;
    const DWORD* positions = reinterpret_cast<const DWORD*>(::SendMessageW(m_hWnd, TBM_GETPTICS, 0, 0));
    if (m_nTicFreq != 0 && positions)
    {
        // A position is a tick of the frequency when it lies a multiple of it from the start: the
        // control may already keep only those (automatic ticks) or keep every increment.
        for (int i = 0; i < count; ++i)
        {
            int value = int(positions[i]);
            if ((value - low) % m_nTicFreq == 0)
                FillTic(hDC, TicPos(value), start(y), kTicLength, clr);
        }
    }

    if (!(m_dwBarStyle & TBS_ENABLESELRANGE))
        return;
    int selStart = int(::SendMessageW(m_hWnd, TBM_GETSELSTART, 0, 0));
    int selEnd = int(::SendMessageW(m_hWnd, TBM_GETSELEND, 0, 0));
    if (selStart >= selEnd || selEnd < low)
        return;
    int xStart = TicPos(selStart), xEnd = TicPos(selEnd);
    for (int index = 0; index < kTicLength; ++index)
    {
        int length = kTicLength - index;
        int top = nDirection > 0 ? y + index : y - kTicLength;
        FillTic(hDC, xStart - index, top, length, text);
        FillTic(hDC, xEnd + index, top, length, text);
    }
}

void CWVPSkinObjectTrackBar::DrawAllTics(HDC hDC)
{
    if (m_dwBarStyle & TBS_NOTICKS)
        return;
    if ((m_dwBarStyle & TBS_BOTH) || !(m_dwBarStyle & TBS_TOP))
        DrawTics(hDC, 1, m_nChannelBottom + 1);
    if (m_dwBarStyle & (TBS_TOP | TBS_BOTH))
        DrawTics(hDC, -1, m_nChannelTop - 1);
}

int CWVPSkinObjectTrackBar::GetThumbPart() const
{
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    bool vertical = (style & TBS_VERT) != 0;
    if (style & TBS_BOTH)
        return vertical ? kPartThumbVert : kPartThumb;
    if (vertical)
        return (style & TBS_LEFT) ? kPartThumbLeft : kPartThumbRight;
    return (style & TBS_TOP) ? kPartThumbTop : kPartThumbBottom;
}

int CWVPSkinObjectTrackBar::GetThumbState() const
{
    if (!::IsWindowEnabled(m_hWnd))
        return kStateDisabled;
    if (::GetCapture() == m_hWnd)
        return kStatePressed;
    bool focusShown = !(::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    if (::GetFocus() == m_hWnd && focusShown)
        return kStateFocused;
    return m_bThumbHot ? kStateHot : kStateNormal;
}

LRESULT CWVPSkinObjectTrackBar::NotifyCustomDraw(HDC hDC, DWORD dwStage, DWORD_PTR dwItemSpec)
{
    HWND parent = ::GetParent(m_hWnd);
    if (!parent)
        return CDRF_DODEFAULT;
    NMCUSTOMDRAW draw = {};
    draw.hdr.hwndFrom = m_hWnd;
    draw.hdr.idFrom = UINT_PTR(::GetDlgCtrlID(m_hWnd));
    draw.hdr.code = NM_CUSTOMDRAW;
    draw.dwDrawStage = dwStage;
    draw.hdc = hDC;
    draw.dwItemSpec = dwItemSpec;
    return ::SendMessageW(parent, WM_NOTIFY, draw.hdr.idFrom, reinterpret_cast<LPARAM>(&draw));
}

void CWVPSkinObjectTrackBar::OnDraw(HDC hDC)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    CWVPBufferDC buffer(hDC, CRect(client));
    HDC dc = buffer.GetSafeHdc();
    LRESULT answer = NotifyCustomDraw(dc, CDDS_PREPAINT, 0);
    FillBackground(dc, client, WM_CTLCOLORSTATIC);
    if (::GetFocus() == m_hWnd && !(::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS))
    {
        ::SetBkColor(dc, GetColor(COLOR_BTNHIGHLIGHT));
        ::DrawFocusRect(dc, &client);
    }
    CalcChannel();
    CWVPSkinManagerClass* skinClass = GetSkinClass();

    auto drawChannel = [&] {
        RECT channel = {};
        ::SendMessageW(m_hWnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        // Windows answers a vertical bar's channel as if the bar lay across; here it may already
        // run along the bar.
        if (IsVertical() && channel.right - channel.left > channel.bottom - channel.top)
            channel = Transposed(channel);
        if (skinClass)
            skinClass->DrawThemeBackground(dc, IsVertical() ? kPartTrackVert : kPartTrack, kStateNormal, &channel);
    };
    auto drawThumb = [&] {
        if (m_dwBarStyle & TBS_NOTHUMB)
            return;
        RECT thumb = {};
        ::SendMessageW(m_hWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        if (skinClass)
            skinClass->DrawThemeBackground(dc, GetThumbPart(), GetThumbState(), &thumb);
    };
    auto drawTics = [&] { DrawAllTics(dc); };
    const std::pair<DWORD_PTR, std::function<void()>> stages[] = {
        {TBCD_TICS, drawTics}, {TBCD_CHANNEL, drawChannel}, {TBCD_THUMB, drawThumb}};
    bool notifyItems = (answer & CDRF_NOTIFYITEMDRAW) != 0;
    for (const auto& stage : stages)
    {
        if (notifyItems)
            NotifyCustomDraw(dc, CDDS_ITEMPREPAINT, stage.first);
        stage.second();
        if (notifyItems)
            NotifyCustomDraw(dc, CDDS_ITEMPOSTPAINT, stage.first);
    }
    if (answer & CDRF_NOTIFYPOSTPAINT)
        NotifyCustomDraw(dc, CDDS_POSTPAINT, 0);
}

LRESULT CWVPSkinObjectTrackBar::OnPaint(WPARAM wParam, LPARAM)
{
    CWVPSkinObjectPaintDC dc(m_hWnd, wParam);
    OnDraw(dc.GetSafeHdc());
    return 0;
}

LRESULT CWVPSkinObjectTrackBar::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (!(lParam & PRF_CLIENT))
        return DefWindowProc(WM_PRINTCLIENT, wParam, lParam);
    OnDraw(reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CWVPSkinObjectTrackBar::OnEraseBkgnd(WPARAM, LPARAM)
{
    return TRUE;
}

LRESULT CWVPSkinObjectTrackBar::OnSetTicFreq(WPARAM wParam, LPARAM lParam)
{
    m_nTicFreq = int(wParam);
    return DefWindowProc(TBM_SETTICFREQ, wParam, lParam);
}

void CWVPSkinObjectTrackBar::SetThumbHot(bool bHot)
{
    if (bHot != m_bThumbHot)
    {
        m_bThumbHot = bHot;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    if (m_bThumbHot)
    {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::_TrackMouseEvent(&tme);
    }
}

LRESULT CWVPSkinObjectTrackBar::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    RECT thumb = {};
    ::SendMessageW(m_hWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT pt = {short(LOWORD(lParam)), short(HIWORD(lParam))};
    SetThumbHot(::PtInRect(&thumb, pt) != FALSE);
    return DefWindowProc(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT CWVPSkinObjectTrackBar::OnMouseLeave(WPARAM wParam, LPARAM lParam)
{
    // Only the hot look leaves: a move to nowhere would drag a held thumb.
    SetThumbHot(false);
    return DefWindowProc(WM_MOUSELEAVE, wParam, lParam);
}
