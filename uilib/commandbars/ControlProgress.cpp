#include "uilib/commandbars/ControlProgress.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/ProgressPaintManager.h"
#include "uilib/foundation/PropExchange.h"

IMPLEMENT_SERIAL(CWVPControlProgress, CWVPControl, VERSIONABLE_SCHEMA | 0x21)

namespace
{
const int kDefaultWidth = 100;
const int kDefaultUpper = 100;
} // namespace

CWVPControlProgress::CWVPControlProgress()
{
    m_nWidth = kDefaultWidth;
}

CSize CWVPControlProgress::GetSize(CDC*)
{
    CWVPProgressPaintManager* painter = GetProgressPaintManager();
    return CSize(m_nWidth, m_nHeight > 0 ? m_nHeight : (painter ? painter->m_cyProgress : 0));
}

void CWVPControlProgress::Draw(CDC* pDC)
{
    if (CWVPProgressPaintManager* painter = GetProgressPaintManager())
        painter->DrawProgress(pDC, this);
}

void CWVPControlProgress::DoPropExchange(CWVPPropExchange* pPX)
{
    CWVPControl::DoPropExchange(pPX);
    long lower = m_nLower, upper = m_nUpper, pos = m_nPos;
    WVPExchangeLong(pPX, L"Min", lower, 0);
    WVPExchangeLong(pPX, L"Max", upper, kDefaultUpper);
    WVPExchangeLong(pPX, L"Pos", pos, 0);
    m_nLower = int(lower);
    m_nUpper = int(upper);
    m_nPos = int(pos);
}

void CWVPControlProgress::Copy(CWVPControl* pSource, BOOL recursive)
{
    CWVPControl::Copy(pSource, recursive);
    CWVPControlProgress* pProgress = dynamic_cast<CWVPControlProgress*>(pSource);
    if (!pProgress)
        return;
    int lower = 0, upper = 0;
    pProgress->GetRange(lower, upper);
    SetRange(lower, upper);
    SetPos(pProgress->GetPos());
}

CWVPControl* CWVPControlProgress::Clone(BOOL recursive)
{
    CWVPControlProgress* pClone = static_cast<CWVPControlProgress*>(RUNTIME_CLASS(CWVPControlProgress)->CreateObject());
    pClone->Copy(this, recursive);
    return pClone;
}

CRect CWVPControlProgress::GetProgressRect()
{
    return m_rcControl;
}

void CWVPControlProgress::RedrawProgress()
{
    RedrawParent(FALSE);
}

CWVPProgressPaintManager* CWVPControlProgress::GetProgressPaintManager()
{
    CWVPPaintManager* paintManager = GetPaintManager();
    return paintManager ? paintManager->m_pProgressPaintManager : nullptr;
}
