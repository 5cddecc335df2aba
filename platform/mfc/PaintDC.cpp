#include "platform/mfc/PaintDC.h"

#include "platform/mfc/Wnd.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->GetSafeHwnd()), m_ps()
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    if (m_hDC)
    {
        Detach();
        ::EndPaint(m_hWnd, &m_ps);
    }
}
