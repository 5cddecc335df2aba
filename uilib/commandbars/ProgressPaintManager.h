#pragma once
// Draws progress indicators of command bars: classic chunks in the highlight colour, or the
// "PROGRESS" visual style's bar and chunks for themes that use visual styles.
#include "platform/mfc/Mfc.h"
#include "uilib/foundation/WinThemeWrapper.h"

class CWVPPaintManager;
class CWVPProgressBase;

class CWVPProgressPaintManager
{
  public:
    explicit CWVPProgressPaintManager(CWVPPaintManager* paintManager);
    virtual ~CWVPProgressPaintManager() = default;
    CWVPProgressPaintManager(const CWVPProgressPaintManager&) = delete;
    CWVPProgressPaintManager& operator=(const CWVPProgressPaintManager&) = delete;

    // Draws the progress into its rectangle.
    virtual void DrawProgress(CDC* pDC, CWVPProgressBase* pProgress);
    // Reopens the "PROGRESS" visual style.
    virtual void RefreshMetrics();

    CWVPWinThemeWrapper m_themeProgress;
    CWVPPaintManager* m_pPaintManager;
    int m_cyProgress;
};
