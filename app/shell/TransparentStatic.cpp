#include "app/shell/TransparentStatic.h"

LRESULT CTransparentStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CStatic::WindowProc(message, wParam, lParam);
    HWND parent = ::GetParent(m_hWnd);
    if (message == WM_SETTEXT && parent)
    {
        RECT rc = {};
        ::GetWindowRect(m_hWnd, &rc);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
        ::InvalidateRect(parent, &rc, TRUE);
        ::UpdateWindow(parent);
    }
    return result;
}

BOOL CTransparentStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_CTLCOLORSTATIC)
    {
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        if (pResult)
            *pResult = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return TRUE;
    }
    return CStatic::OnChildNotify(message, wParam, lParam, pResult);
}
