#include "uilib/skin/SkinObjectFrame.h"

#include "uilib/skin/SkinManager.h"

IMPLEMENT_DYNCREATE(CWVPSkinObjectFrame, CWVPSkinObject)

BEGIN_MESSAGE_MAP(CWVPSkinObjectFrame, CWVPSkinObject)
END_MESSAGE_MAP()

CWVPSkinObjectFrame::CWVPSkinObjectFrame()
{
    m_strClassName = L"WINDOW";
}

CWVPSkinObjectFrame::~CWVPSkinObjectFrame()
{
}

HBRUSH CWVPSkinObjectFrame::GetClientBrush(HDC)
{
    CWVPSkinManagerMetrics* metrics = GetMetrics();
    return metrics ? metrics->GetBrush(COLOR_BTNFACE) : nullptr;
}

UINT CWVPSkinObjectFrame::GetClientBrushMessage()
{
    return m_nCtlColorMessage;
}

void CWVPSkinObjectFrame::DrawFrame(HDC)
{
}

void CWVPSkinObjectFrame::RedrawScrollBarIndex(int)
{
}

BOOL CWVPSkinObjectFrame::GetTrackPos(int, int&) const
{
    return FALSE;
}
