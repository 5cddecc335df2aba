#include "uilib/commandbars/ProgressPaintManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/commandbars/ProgressBase.h"
#include "uilib/foundation/ColorManager.h"

#include <algorithm>

namespace
{
const int kDefaultHeight = 16;
const int kPartBar = 1;
const int kPartChunk = 3;
const int kPropChunkSize = 2411;
const int kPropSpacing = 2412;
} // namespace

CWVPProgressPaintManager::CWVPProgressPaintManager(CWVPPaintManager* paintManager)
    : m_pPaintManager(paintManager), m_cyProgress(kDefaultHeight)
{
}

void CWVPProgressPaintManager::RefreshMetrics()
{
    m_themeProgress.CloseThemeData();
    m_themeProgress.OpenThemeData(nullptr, L"PROGRESS");
}

void CWVPProgressPaintManager::DrawProgress(CDC* pDC, CWVPProgressBase* pProgress)
{
    const CRect rc = pProgress->GetProgressRect();
    int lower = 0, upper = 0;
    pProgress->GetRange(lower, upper);
    const int position = pProgress->GetPos();
    const int theme = m_pPaintManager->GetThemeType();
    const BOOL styled = theme != wvpThemeDefault && theme != wvpThemeOffice && m_themeProgress.IsThemeUsable();
    CRect inner = rc;
    if (styled)
        inner.DeflateRect(4, 3);
    else
        inner.DeflateRect(2, 2);
    const int filled = upper != lower ? ::MulDiv(inner.Width(), position - lower, upper - lower) : 0;
    if (!styled)
    {
        CWVPColorManager* colors = WVPColorManager();
        pDC->FillSolidRect(rc, colors->GetColor(COLOR_BTNFACE));
        pDC->Draw3dRect(rc, colors->GetColor(COLOR_BTNSHADOW), colors->GetColor(COLOR_BTNSHADOW));
        if (inner.Width() >= 2 && filled > 0)
            pDC->FillSolidRect(inner.left, inner.top, filled, inner.Height(), colors->GetColor(COLOR_HIGHLIGHT));
        return;
    }
    m_themeProgress.DrawThemeBackground(pDC->GetSafeHdc(), kPartBar, 0, rc, nullptr);
    int chunk = 0, gap = 0;
    if (FAILED(m_themeProgress.GetThemeInt(0, 0, kPropChunkSize, &chunk)))
        chunk = std::max(inner.Height() * 2 / 3, 1);
    if (FAILED(m_themeProgress.GetThemeInt(0, 0, kPropSpacing, &gap)))
        gap = 2;
    chunk = std::max(chunk, 1);
    const int count = (filled + gap + chunk - 1) / (chunk + gap);
    for (int i = 0, x = inner.left; i < count && x < inner.right; ++i, x += chunk + gap)
    {
        CRect piece(x, inner.top, std::min(x + chunk, inner.right - 1), inner.bottom);
        m_themeProgress.DrawThemeBackground(pDC->GetSafeHdc(), kPartChunk, 1, piece, nullptr);
    }
}
