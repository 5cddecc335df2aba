#include "uilib/skin/SkinObjectMenu.h"

#include "uilib/foundation/BufferDC.h"
#include "uilib/skin/SkinDrawHelpers.h"
#include "uilib/skin/SkinObjectPaintDC.h"

namespace
{

// The popup menu's own message that moves its selection to an item.
const UINT kMenuSelectItemMessage = 0x1E5;
// A non-client border narrower than this means the menu draws its frame inside its client area.
const int kMinimumFrameWidth = 2;

// Restores a DC's window origin when it ends.
class WindowOriginGuard
{
  public:
    WindowOriginGuard(HDC hDC, int x, int y) : m_hDC(hDC)
    {
        ::SetWindowOrgEx(hDC, x, y, &m_old);
    }
    ~WindowOriginGuard()
    {
        ::SetWindowOrgEx(m_hDC, m_old.x, m_old.y, nullptr);
    }
    WindowOriginGuard(const WindowOriginGuard&) = delete;
    WindowOriginGuard& operator=(const WindowOriginGuard&) = delete;

  private:
    HDC m_hDC;
    POINT m_old = {};
};

} // namespace

IMPLEMENT_DYNCREATE(CWVPSkinObjectMenu, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectMenu, CWVPSkinObjectFrame)
ON_MESSAGE(WM_NCPAINT, OnNcPaint)
ON_MESSAGE(WM_PAINT, OnPaint)
ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
ON_MESSAGE(WM_PRINT, OnPrint)
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_MESSAGE(kMenuSelectItemMessage, OnSelectItem)
ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
ON_MESSAGE(WM_SYSKEYDOWN, OnSysKeyDown)
ON_MESSAGE(WM_CHAR, OnChar)
ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
END_MESSAGE_MAP()

CWVPSkinObjectMenu::CWVPSkinObjectMenu()
{
}

CWVPSkinObjectMenu::~CWVPSkinObjectMenu()
{
}

int CWVPSkinObjectMenu::GetFrameWidth(bool* pInsideClient) const
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    POINT client = {0, 0};
    ::ClientToScreen(m_hWnd, &client);
    int border = client.x - window.left;
    *pInsideClient = border < kMinimumFrameWidth;
    return *pInsideClient ? ::GetSystemMetrics(SM_CXEDGE) : border;
}

void CWVPSkinObjectMenu::DrawFrameBands(HDC hDC, RECT rc, int nWidth)
{
    WVPSkinDrawFrameColor(hDC, rc, 1, GetColor(COLOR_BTNSHADOW));
    if (nWidth > 1)
    {
        ::InflateRect(&rc, -1, -1);
        WVPSkinDrawFrameColor(hDC, rc, nWidth - 1, GetColor(COLOR_MENU));
    }
}

void CWVPSkinObjectMenu::DrawMenuBorder(HDC hDC)
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    bool insideClient = false;
    DrawFrameBands(hDC, RECT{0, 0, window.right - window.left, window.bottom - window.top},
                   GetFrameWidth(&insideClient));
}

void CWVPSkinObjectMenu::DrawMenuClient(HDC hDC)
{
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    CWVPBufferDC buffer(hDC, rc);
    WVPSkinFillSolidRect(buffer.GetSafeHdc(), rc, GetColor(COLOR_MENU));
    ::SetBkMode(buffer.GetSafeHdc(), TRANSPARENT);
    WVPSkinCallWindowProc(m_wndProc, m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(buffer.GetSafeHdc()), 0);
    // A menu that draws its frame inside its client area has just drawn it in the system's colours.
    bool insideClient = false;
    int width = GetFrameWidth(&insideClient);
    if (insideClient)
        DrawFrameBands(buffer.GetSafeHdc(), rc, width);
}

LRESULT CWVPSkinObjectMenu::DefaultRedrawOnce(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    LRESULT result = DefWindowProc(nMessage, wParam, lParam);
    if (::IsWindow(m_hWnd))
    {
        ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    return result;
}

LRESULT CWVPSkinObjectMenu::OnNcPaint(WPARAM, LPARAM)
{
    HDC hDC = ::GetWindowDC(m_hWnd);
    if (hDC)
    {
        DrawMenuBorder(hDC);
        ::ReleaseDC(m_hWnd, hDC);
    }
    return 0;
}

LRESULT CWVPSkinObjectMenu::OnPaint(WPARAM wParam, LPARAM)
{
    CWVPSkinObjectPaintDC dc(m_hWnd, wParam);
    DrawMenuClient(dc.GetSafeHdc());
    return 0;
}

LRESULT CWVPSkinObjectMenu::OnEraseBkgnd(WPARAM, LPARAM)
{
    return TRUE;
}

LRESULT CWVPSkinObjectMenu::OnPrint(WPARAM wParam, LPARAM lParam)
{
    HDC hDC = reinterpret_cast<HDC>(wParam);
    if (lParam & PRF_NONCLIENT)
        DrawMenuBorder(hDC);
    if (lParam & PRF_CLIENT)
    {
        RECT window;
        ::GetWindowRect(m_hWnd, &window);
        POINT client = {0, 0};
        ::ClientToScreen(m_hWnd, &client);
        WindowOriginGuard origin(hDC, -(client.x - window.left), -(client.y - window.top));
        DrawMenuClient(hDC);
    }
    return 1;
}

LRESULT CWVPSkinObjectMenu::OnPrintClient(WPARAM wParam, LPARAM)
{
    DrawMenuClient(reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CWVPSkinObjectMenu::OnSelectItem(WPARAM wParam, LPARAM lParam)
{
    return DefaultRedrawOnce(kMenuSelectItemMessage, wParam, lParam);
}

LRESULT CWVPSkinObjectMenu::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_UP || wParam == VK_DOWN)
        return DefaultRedrawOnce(WM_KEYDOWN, wParam, lParam);
    return DefWindowProc(WM_KEYDOWN, wParam, lParam);
}

LRESULT CWVPSkinObjectMenu::OnSysKeyDown(WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_UP || wParam == VK_DOWN)
        return DefaultRedrawOnce(WM_SYSKEYDOWN, wParam, lParam);
    return DefWindowProc(WM_SYSKEYDOWN, wParam, lParam);
}

LRESULT CWVPSkinObjectMenu::OnChar(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefWindowProc(WM_CHAR, wParam, lParam);
    if (::IsWindow(m_hWnd))
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return result;
}

LRESULT CWVPSkinObjectMenu::OnWindowPosChanging(WPARAM, LPARAM lParam)
{
    // A system menu opened from a skinned caption opens where the skin's frame, not the system's,
    // puts its caption.
    WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    POINT offset = CWVPSkinObjectFrame::GetSystemMenuOffset();
    if (pos && !(pos->flags & SWP_NOMOVE))
    {
        pos->x += offset.x;
        pos->y += offset.y;
    }
    return Default();
}
