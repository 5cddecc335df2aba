#pragma once
// A progress indicator's range and position; the progress control of the bars implements its
// rectangle, redraw and painter.
#include "platform/mfc/Mfc.h"

class CWVPProgressPaintManager;

class CWVPProgressBase
{
  public:
    CWVPProgressBase() : m_nLower(0), m_nUpper(100), m_nPos(0)
    {
    }
    virtual ~CWVPProgressBase() = default;

    virtual CRect GetProgressRect() = 0;
    virtual void RedrawProgress() = 0;
    virtual CWVPProgressPaintManager* GetProgressPaintManager() = 0;

    // Stores a new range (the position is left as it is) and redraws when it changed.
    void SetRange(int lower, int upper);
    // Stores the position, held to the range, and redraws when it changed.
    void SetPos(int position);
    void GetRange(int& lower, int& upper) const
    {
        lower = m_nLower;
        upper = m_nUpper;
    }
    int GetPos() const
    {
        return m_nPos;
    }

  protected:
    int m_nLower;
    int m_nUpper;
    int m_nPos;
};
