#pragma once
// Draws progress indicators of command bars: classic chunks in the highlight colour, or the
// "PROGRESS" visual style's bar and chunks for themes that use visual styles.
#include "platform/mfc/Mfc.h"
#include "uilib/foundation/WinThemeWrapper.h"

class CWVPPaintManager;

class CWVPProgressPaintManager
{
  public:
    explicit CWVPProgressPaintManager(CWVPPaintManager* paintManager);
    virtual ~CWVPProgressPaintManager() = default;
    CWVPProgressPaintManager(const CWVPProgressPaintManager&) = delete;
    CWVPProgressPaintManager& operator=(const CWVPProgressPaintManager&) = delete;

    // Draws a progress of lower..upper at position into the rectangle.
    virtual void DrawProgress(CDC* pDC, CRect rc, int lower, int upper, int position);
    // Reopens the "PROGRESS" visual style.
    virtual void RefreshMetrics();

    CWVPWinThemeWrapper m_themeProgress;
    CWVPPaintManager* m_pPaintManager;
    int m_cyProgress;
};
