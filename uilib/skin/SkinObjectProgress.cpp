#include "uilib/skin/SkinObjectProgress.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/WinThemeWrapper.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinObjectPaintDC.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <commctrl.h>

#include <algorithm>

namespace
{

// Parts of the schema's PROGRESS class and the properties of its chunks.
const int kPartBar = 1;
const int kPartBarVert = 2;
const int kPartChunk = 3;
const int kPartChunkVert = 4;
const int kPropProgressChunkSize = 2411;
const int kPropProgressSpaceSize = 2412;
const int kDefaultSpaceSize = 2;
const int kMarqueeChunks = 5;
// A marquee timer this fast moves two chunks per tick.
const int kFastMarqueeInterval = 50;
// The default chunk of a marquee step: two thirds of the height less this.
const int kMarqueeStepInset = 12;

const UINT kFrameChangedFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectProgress, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectProgress, CWVPSkinObjectFrame)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
ON_MESSAGE(PBM_SETPOS, OnSetPos)
ON_MESSAGE(PBM_STEPIT, OnStepIt)
ON_MESSAGE(PBM_SETMARQUEE, OnSetMarquee)
ON_MESSAGE(WM_TIMER, OnTimer)
ON_MESSAGE(WM_CREATE, OnCreate)
END_MESSAGE_MAP()

CWVPSkinObjectProgress::CWVPSkinObjectProgress()
{
    m_strClassName = L"PROGRESS";
}

CWVPSkinObjectProgress::~CWVPSkinObjectProgress()
{
}

bool CWVPSkinObjectProgress::IsMarquee() const
{
    return (::GetWindowLongW(m_hWnd, GWL_STYLE) & PBS_MARQUEE) != 0;
}

int CWVPSkinObjectProgress::GetChunkSize(int nDefault)
{
    CWVPSkinManagerClass* skinClass = GetSkinClass();
    bool vertical = (::GetWindowLongW(m_hWnd, GWL_STYLE) & PBS_VERTICAL) != 0;
    return skinClass ? skinClass->GetThemeInt(vertical ? kPartBarVert : kPartBar, 0, kPropProgressChunkSize, nDefault)
                     : nDefault;
}

int CWVPSkinObjectProgress::GetSpaceSize()
{
    CWVPSkinManagerClass* skinClass = GetSkinClass();
    bool vertical = (::GetWindowLongW(m_hWnd, GWL_STYLE) & PBS_VERTICAL) != 0;
    return skinClass ? skinClass->GetThemeInt(vertical ? kPartBarVert : kPartBar, 0, kPropProgressSpaceSize,
                                              kDefaultSpaceSize)
                     : kDefaultSpaceSize;
}

void CWVPSkinObjectProgress::OnDraw(HDC hDC)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    CWVPBufferDC buffer(hDC, CRect(client));
    HDC dc = buffer.GetSafeHdc();
    WVPSkinFillSolidRect(dc, client, GetColor(COLOR_BTNFACE));
    CWVPSkinManagerClass* skinClass = GetSkinClass();
    if (!skinClass)
        return;
    bool vertical = (::GetWindowLongW(m_hWnd, GWL_STYLE) & PBS_VERTICAL) != 0;
    int barPart = vertical ? kPartBarVert : kPartBar;
    int chunkPart = vertical ? kPartChunkVert : kPartChunk;
    skinClass->DrawThemeBackground(dc, barPart, 0, &client);
    RECT margins = skinClass->GetThemeRect(barPart, 0, kSkinPropSizingMargins);
    RECT content = {client.left + margins.left, client.top + margins.top, client.right - margins.right,
                    client.bottom - margins.bottom};

    if (IsMarquee())
    {
        int chunk = GetChunkSize(2 * (content.bottom - content.top) / 3);
        int gap = GetSpaceSize();
        int x = content.left + m_nMarqueeOffset;
        for (int i = 0; i < kMarqueeChunks; ++i)
        {
            if (x >= content.right)
                x = content.left;
            RECT rc = {x, content.top, std::min<LONG>(x + chunk, content.right), content.bottom};
            skinClass->DrawThemeBackground(dc, chunkPart, 0, &rc);
            x += chunk + gap;
        }
        return;
    }

    PBRANGE range = {};
    ::SendMessageW(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    int pos = int(::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0));
    int length = vertical ? content.bottom - content.top : content.right - content.left;
    if (length <= 0 || range.iHigh == range.iLow)
        return;
    int filled = std::clamp(::MulDiv(length, pos - range.iLow, range.iHigh - range.iLow), 0, length);
    int thickness = vertical ? client.right - client.left : client.bottom - client.top;
    int chunk = GetChunkSize(2 * thickness / 3);
    int gap = GetSpaceSize();
    // A stretch along the bar, from the content's start (the bottom for vertical bars).
    auto span = [&](int from, int to) {
        return vertical ? RECT{content.left, content.bottom - to, content.right, content.bottom - from}
                        : RECT{content.left + from, content.top, content.left + to, content.bottom};
    };
    if (chunk <= 1 && gap == 0)
    {
        if (filled > 0)
        {
            RECT rc = span(0, filled);
            skinClass->DrawThemeBackground(dc, chunkPart, 0, &rc);
        }
        return;
    }
    chunk = std::max(chunk, 1);
    int count = (filled + chunk + gap - 1) / (chunk + gap);
    for (int i = 0; i < count; ++i)
    {
        int from = i * (chunk + gap);
        int to = from + chunk;
        bool last = to >= length;
        if (last)
            to = length - 1;
        if (to > from)
        {
            RECT rc = span(from, to);
            skinClass->DrawThemeBackground(dc, chunkPart, 0, &rc);
        }
        if (last)
            break;
    }
}

void CWVPSkinObjectProgress::StepMarquee(int n)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    int chunk = GetChunkSize((2 * (client.bottom - client.top) - kMarqueeStepInset) / 3);
    m_nMarqueeOffset += n * (chunk + GetSpaceSize());
    if (m_nMarqueeOffset > client.right)
        m_nMarqueeOffset = 0;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CWVPSkinObjectProgress::UpdateStaticEdge(bool bWanted)
{
    DWORD exStyle = DWORD(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    if (((exStyle & WS_EX_STATICEDGE) != 0) == bWanted)
        return;
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, LONG(exStyle ^ WS_EX_STATICEDGE));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, kFrameChangedFlags);
}

void CWVPSkinObjectProgress::OnSkinChanged(BOOL bPrevState, BOOL bNewState)
{
    CWVPSkinObjectFrame::OnSkinChanged(bPrevState, bNewState);
    bool loaded = m_pManager && m_pManager->IsSkinLoaded();
    // Unskinned, the classic look frames the bar with a static edge and visual styles do not.
    UpdateStaticEdge(!loaded && !CWVPWinThemeWrapper().IsThemeActive());
}

LRESULT CWVPSkinObjectProgress::OnPaint(WPARAM wParam, LPARAM)
{
    CWVPSkinObjectPaintDC dc(m_hWnd, wParam);
    OnDraw(dc.GetSafeHdc());
    return 0;
}

LRESULT CWVPSkinObjectProgress::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    if (!(lParam & PRF_CLIENT))
        return DefWindowProc(WM_PRINTCLIENT, wParam, lParam);
    OnDraw(reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CWVPSkinObjectProgress::OnEraseBkgnd(WPARAM, LPARAM)
{
    return TRUE;
}

LRESULT CWVPSkinObjectProgress::OnSetPos(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(PBM_SETPOS, wParam, lParam);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return result;
}

LRESULT CWVPSkinObjectProgress::OnStepIt(WPARAM wParam, LPARAM lParam)
{
    if (!IsMarquee())
        return DefWindowProc(PBM_STEPIT, wParam, lParam);
    StepMarquee(1);
    return 1;
}

LRESULT CWVPSkinObjectProgress::OnSetMarquee(WPARAM wParam, LPARAM lParam)
{
    m_nMarqueeOffset = 0;
    m_nMarqueeInterval = 0;
    if (!IsMarquee())
        return DefWindowProc(PBM_SETMARQUEE, wParam, lParam);
    ::KillTimer(m_hWnd, kMarqueeTimerId);
    if (wParam && int(lParam) > 0)
    {
        m_nMarqueeInterval = int(lParam);
        ::SetTimer(m_hWnd, kMarqueeTimerId, UINT(m_nMarqueeInterval), nullptr);
    }
    return 1;
}

LRESULT CWVPSkinObjectProgress::OnTimer(WPARAM wParam, LPARAM lParam)
{
    if (wParam != kMarqueeTimerId || !IsMarquee())
        return OnTimerMessage(wParam, lParam);
    StepMarquee(m_nMarqueeInterval <= kFastMarqueeInterval ? 2 : 1);
    return 0;
}

LRESULT CWVPSkinObjectProgress::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (OnCreateMessage(wParam, lParam) == -1)
        return -1;
    if (m_pManager && m_pManager->IsSkinLoaded())
        UpdateStaticEdge(false);
    return 0;
}
