#include "platform/mfc/Palette.h"

#include "platform/mfc/DC.h"

IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

BOOL CPalette::CreateHalftonePalette(CDC* dc)
{
    return dc ? Attach(::CreateHalftonePalette(dc->m_hDC)) : FALSE;
}
