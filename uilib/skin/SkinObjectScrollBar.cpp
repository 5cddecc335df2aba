#include "uilib/skin/SkinObjectScrollBar.h"

IMPLEMENT_DYNCREATE(CWVPSkinObjectScrollBar, CWVPSkinObjectFrame)

BEGIN_MESSAGE_MAP(CWVPSkinObjectScrollBar, CWVPSkinObjectFrame)
END_MESSAGE_MAP()

CWVPSkinObjectScrollBar::CWVPSkinObjectScrollBar()
{
    m_strClassName = L"SCROLLBAR";
}
