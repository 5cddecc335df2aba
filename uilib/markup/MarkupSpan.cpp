#include "uilib/markup/MarkupSpan.h"

CWVPMarkupInline* CWVPMarkupSpan::GetFirstInline()
{
    CWVPMarkupInline* first = m_pInlines->GetInline(0);
    return first ? first->GetFirstInline() : this;
}
