#include "platform/mfc/StatusBar.h"

#include "platform/mfc/ClientDC.h"
#include "platform/mfc/FrameWnd.h"

#include <vector>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_WM_PAINT()
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace
{
const int kPaneGap = 4;

// The update request of one pane: disabled panes show no text.
class CStatusCmdUI : public CCmdUI
{
public:
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        CStatusBar* bar = static_cast<CStatusBar*>(m_pOther);
        UINT style = bar->GetPaneStyle((int)m_nIndex);
        bar->SetPaneStyle((int)m_nIndex, on ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED));
    }
    void SetCheck(int check) override
    {
        CStatusBar* bar = static_cast<CStatusBar*>(m_pOther);
        UINT style = bar->GetPaneStyle((int)m_nIndex);
        bar->SetPaneStyle((int)m_nIndex, check ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT));
    }
    void SetText(LPCWSTR text) override { static_cast<CStatusBar*>(m_pOther)->SetPaneText((int)m_nIndex, text); }
};
}

CStatusBar::CStatusBar()
{
    m_cxLeftBorder = 0;
    m_cxRightBorder = 0;
    m_cyTopBorder = 2;
    m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar()
{
}

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    m_dwStyle = style & CBRS_ALL;
    DWORD windowStyle = (style & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NORESIZE | CCS_NODIVIDER |
                        WS_CHILD;
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    if (!CWnd::Create(STATUSCLASSNAMEW, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    SetOwner(parent);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    m_panes.RemoveAll();
    CClientDC dc(this);
    CFont* font = GetFont();
    CFont* old = font ? dc.SelectObject(font) : nullptr;
    for (int i = 0; i < count; ++i)
    {
        Pane pane;
        pane.id = ids ? ids[i] : 0;
        pane.style = i == 0 ? SBPS_STRETCH | SBPS_NOBORDERS : SBPS_NORMAL;
        // A pane is as wide as its indicator's text (a string resource of the same id).
        if (pane.id && pane.text.LoadString(pane.id))
            pane.width = dc.GetTextExtent(pane.text).cx;
        else
            pane.width = 0;
        m_panes.Add(pane);
    }
    if (old)
        dc.SelectObject(old);
    m_nCount = count;
    UpdateParts();
    for (int i = 0; i < count; ++i)
        SetPaneText(i, m_panes[i].text, FALSE);
    return TRUE;
}

void CStatusBar::UpdateParts()
{
    if (!m_hWnd || m_panes.IsEmpty())
        return;
    CRect client;
    GetClientRect(&client);
    int count = (int)m_panes.GetSize();
    int fixed = 0;
    for (int i = 0; i < count; ++i)
    {
        if (!(m_panes[i].style & SBPS_STRETCH))
            fixed += m_panes[i].width + kPaneGap;
    }
    int spare = client.Width() - fixed;
    std::vector<int> edges(count);
    int x = 0;
    for (int i = 0; i < count; ++i)
    {
        int width = (m_panes[i].style & SBPS_STRETCH) ? (spare > 0 ? spare : 0) : m_panes[i].width + kPaneGap;
        x += width;
        edges[i] = i == count - 1 ? -1 : x;
    }
    SendMessage(SB_SETPARTS, (WPARAM)count, (LPARAM)edges.data());
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (int i = 0; i < (int)m_panes.GetSize(); ++i)
    {
        if (m_panes[i].id == id)
            return i;
    }
    return -1;
}

UINT CStatusBar::GetItemID(int index) const
{
    return index >= 0 && index < (int)m_panes.GetSize() ? m_panes[index].id : 0;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const
{
    if (!SendMessage(SB_GETRECT, (WPARAM)index, (LPARAM)rect))
        ::SetRectEmpty(rect);
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    if (index < 0 || index >= (int)m_panes.GetSize())
        return;
    id = m_panes[index].id;
    style = m_panes[index].style;
    width = m_panes[index].width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    if (index < 0 || index >= (int)m_panes.GetSize())
        return;
    m_panes[index].id = id;
    m_panes[index].style = style;
    m_panes[index].width = width;
    UpdateParts();
    SetPaneText(index, m_panes[index].text, TRUE);
}

UINT CStatusBar::GetPaneStyle(int index) const
{
    return index >= 0 && index < (int)m_panes.GetSize() ? m_panes[index].style : 0;
}

void CStatusBar::SetPaneStyle(int index, UINT style)
{
    if (index < 0 || index >= (int)m_panes.GetSize() || m_panes[index].style == style)
        return;
    m_panes[index].style = style;
    SetPaneText(index, m_panes[index].text, TRUE);
}

CString CStatusBar::GetPaneText(int index) const
{
    return index >= 0 && index < (int)m_panes.GetSize() ? m_panes[index].text : CString();
}

BOOL CStatusBar::SetPaneText(int index, LPCWSTR text, BOOL update)
{
    if (index < 0 || index >= (int)m_panes.GetSize())
        return FALSE;
    Pane& pane = m_panes[index];
    pane.text = text;
    UINT drawStyle = pane.style & (SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW);
    LPCWSTR shown = (pane.style & SBPS_DISABLED) ? L"" : (LPCWSTR)pane.text;
    BOOL ok = (BOOL)SendMessage(SB_SETTEXTW, (WPARAM)(index | drawStyle), (LPARAM)shown);
    if (update)
        UpdateWindow();
    return ok;
}

CSize CStatusBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    // As tall as the font plus the borders; as wide as the frame.
    CClientDC dc(this);
    CFont* font = GetFont();
    CFont* old = font ? dc.SelectObject(font) : nullptr;
    TEXTMETRICW metrics = {};
    dc.GetTextMetrics(&metrics);
    if (old)
        dc.SelectObject(old);
    int height = metrics.tmHeight + 6 + m_cyTopBorder + m_cyBottomBorder;
    return CSize(stretch && horizontal ? 32767 : 0, height);
}

void CStatusBar::OnSize(UINT type, int cx, int cy)
{
    Default();
    (void)type;
    (void)cx;
    (void)cy;
    UpdateParts();
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)m_panes.GetSize();
    // The first pane shows the frame's messages; the indicators follow their update handlers.
    for (state.m_nIndex = 1; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex)
    {
        state.m_nID = m_panes[(int)state.m_nIndex].id;
        UpdateItem(state, target, disableIfNoHandler);
    }
}
