#include "uilib/commandbars/ControlLabel.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/PaintManager.h"

IMPLEMENT_SERIAL(CWVPControlLabel, CWVPControl, VERSIONABLE_SCHEMA | 0x21)

namespace
{
const DWORD kLabelFlags = WVP_CONTROLFLAG_SKIPFOCUS | WVP_CONTROLFLAG_MANUALUPDATE | WVP_CONTROLFLAG_NOMOVABLE;
} // namespace

CWVPControlLabel::CWVPControlLabel()
{
    m_nType = wvpControlLabel;
    m_dwFlags = kLabelFlags;
}

int CWVPControlLabel::GetSelected() const
{
    return 0;
}

void CWVPControlLabel::OnClick(BOOL keyboard, CPoint)
{
    if (keyboard || !IsCustomizeMode() || !IsCustomizeMovable() || !m_pParent)
        return;
    m_pParent->SetPopuped(-1);
    m_pParent->SetSelected(-1);
}

HFONT CWVPControlLabel::GetLabelFont() const
{
    CWVPPaintManager* pm = GetPaintManager();
    if (pm && pm->m_fontBar.GetSafeHandle())
        return HFONT(pm->m_fontBar.GetSafeHandle());
    return HFONT(::GetStockObject(DEFAULT_GUI_FONT));
}
