#include "uilib/commandbars/ScrollBarPaintManager.h"

CWVPScrollBarPaintManager::CWVPScrollBarPaintManager(CWVPPaintManager* paintManager)
    : m_cxHScroll(::GetSystemMetrics(SM_CXHSCROLL)), m_cyHScroll(::GetSystemMetrics(SM_CYHSCROLL)),
      m_cyVScroll(::GetSystemMetrics(SM_CYVSCROLL)), m_cxVScroll(::GetSystemMetrics(SM_CXVSCROLL)), m_nThumbSize(0),
      m_pPaintManager(paintManager)
{
}

void CWVPScrollBarPaintManager::RefreshMetrics()
{
    m_cxHScroll = ::GetSystemMetrics(SM_CXHSCROLL);
    m_cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    m_cyVScroll = ::GetSystemMetrics(SM_CYVSCROLL);
    m_cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    m_themeScrollBar.CloseThemeData();
    m_themeScrollBar.OpenThemeData(nullptr, L"SCROLLBAR");
}
