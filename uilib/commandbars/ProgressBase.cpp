#include "uilib/commandbars/ProgressBase.h"

#include <algorithm>

void CWVPProgressBase::SetRange(int lower, int upper)
{
    if (lower == m_nLower && upper == m_nUpper)
        return;
    m_nLower = lower;
    m_nUpper = upper;
    RedrawProgress();
}

void CWVPProgressBase::SetPos(int position)
{
    position = std::max(m_nLower, std::min(position, m_nUpper));
    if (position == m_nPos)
        return;
    m_nPos = position;
    RedrawProgress();
}
