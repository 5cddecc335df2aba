#pragma once
// A progress indicator on a bar: the control's rectangle shows the range and position of its
// progress base, drawn by the paint manager's progress painter.
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/ProgressBase.h"

class CWVPControlProgress : public CWVPControl, public CWVPProgressBase
{
    DECLARE_SERIAL(CWVPControlProgress)

  public:
    CWVPControlProgress();

    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void DoPropExchange(CWVPPropExchange* pPX) override;
    void Copy(CWVPControl* pSource, BOOL recursive = FALSE) override;
    CWVPControl* Clone(BOOL recursive = FALSE) override;

    CRect GetProgressRect() override;
    void RedrawProgress() override;
    CWVPProgressPaintManager* GetProgressPaintManager() override;
};
