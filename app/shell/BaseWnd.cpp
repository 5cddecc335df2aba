#include "app/shell/BaseWnd.h"

#include "app/core/HandleHolder.h"

namespace
{
typedef CHandleHolder<HDC, ::DeleteDC> CMemoryDC;
typedef CHandleHolder<HGDIOBJ, ::DeleteObject> CGdiHandle;
} // namespace

IMPLEMENT_DYNAMIC(CBaseWnd, CWnd)

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

CBaseWnd::CBaseWnd()
    : m_drawEnabled(1), m_bkColor(::GetSysColor(COLOR_BTNFACE)),
      m_font(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))), m_bkBrush(nullptr)
{
}

CBaseWnd::~CBaseWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
    m_bitmap.DeleteObject();
    if (m_bkBrush)
        ::DeleteObject(m_bkBrush);
}

BOOL CBaseWnd::Create(CWnd* parent)
{
    if (m_bkBrush)
        ::DeleteObject(m_bkBrush);
    m_bkBrush = ::CreateSolidBrush(m_bkColor);
    LPCWSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW), m_bkBrush, nullptr);
    return CWnd::Create(className, L"BaseWnd", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), parent, 0);
}

BOOL CBaseWnd::LoadBitmapFile(LPCWSTR path)
{
    m_bitmap.DeleteObject();
    HANDLE loaded = path ? ::LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE) : nullptr;
    if (loaded)
        m_bitmap.Attach(loaded);
    if (GetSafeHwnd())
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return HasPicture();
}

void CBaseWnd::ReleasePicture()
{
    m_bitmap.DeleteObject();
}

void CBaseWnd::SetBkColor(COLORREF color)
{
    m_bkColor = color;
}

COLORREF CBaseWnd::GetBkColor() const
{
    return m_bkColor;
}

CRect CBaseWnd::FitPicture(int width, int height, int pictureWidth, int pictureHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return CRect(0, 0, 0, 0);
    int dh = height;
    int dw = static_cast<int>(static_cast<LONGLONG>(pictureWidth) * height / pictureHeight) & ~1;
    if (dw > width)
    {
        dw = width;
        dh = static_cast<int>(static_cast<LONGLONG>(pictureHeight) * width / pictureWidth) & ~1;
    }
    const int x = (width - dw) / 2;
    const int y = (height - dh) / 2;
    return CRect(x, y, x + dw, y + dh);
}

void CBaseWnd::DrawPicture(CDC* dc, int left, int top, int right, int bottom)
{
    BITMAP info = {};
    if (!HasPicture() || !m_bitmap.GetBitmap(&info))
        return;
    const CRect place = FitPicture(right - left, bottom - top, info.bmWidth, info.bmHeight);
    CMemoryDC memoryDC(::CreateCompatibleDC(dc->GetSafeHdc()));
    if (!memoryDC.Valid())
        return;
    HDC memory = memoryDC.Get();
    HGDIOBJ old = ::SelectObject(memory, static_cast<HBITMAP>(m_bitmap));
    const int oldMode = ::SetStretchBltMode(dc->GetSafeHdc(), COLORONCOLOR);
    ::StretchBlt(dc->GetSafeHdc(), place.left, place.top, place.Width(), place.Height(), memory, 0, 0, info.bmWidth,
                 info.bmHeight, SRCCOPY);
    ::SetStretchBltMode(dc->GetSafeHdc(), oldMode);
    ::SelectObject(memory, old);
}

void CBaseWnd::Draw(CDC* dc)
{
    CRect clip;
    if (!m_drawEnabled || dc->GetClipBox(&clip) == ERROR || clip.IsRectEmpty())
        return;
    CGdiHandle brush(::CreateSolidBrush(GetBkColor()));
    ::FillRect(dc->GetSafeHdc(), &clip, static_cast<HBRUSH>(brush.Get()));
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    DrawPicture(dc, client.left, client.top, client.right, client.bottom);
}

int CBaseWnd::OnCreate(LPCREATESTRUCT cs)
{
    return CWnd::OnCreate(cs) == -1 ? -1 : 0;
}

void CBaseWnd::OnPaint()
{
    CPaintDC dc(this);
    Draw(&dc);
}

BOOL CBaseWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

LRESULT CBaseWnd::OnSetFont(WPARAM wParam, LPARAM lParam)
{
    m_font = reinterpret_cast<HFONT>(wParam);
    if (LOWORD(lParam) && GetSafeHwnd())
    {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        ::UpdateWindow(m_hWnd);
    }
    return 0;
}

LRESULT CBaseWnd::OnGetFont(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_font);
}
