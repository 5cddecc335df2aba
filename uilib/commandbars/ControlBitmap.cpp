#include "uilib/commandbars/ControlBitmap.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"

IMPLEMENT_SERIAL(CWVPControlBitmap, CWVPControlLabel, VERSIONABLE_SCHEMA | 0x21)

namespace
{
// The icon of the smallest stored width (the manager picks the nearest to the one asked for).
CWVPImageManagerIcon* PictureOf(const CWVPControl* pControl)
{
    CWVPImageManager* images = pControl->GetImageManager();
    return images ? images->GetImage(UINT(pControl->GetID()), 1) : nullptr;
}
} // namespace

CSize CWVPControlBitmap::GetSize(CDC*)
{
    CWVPImageManagerIcon* icon = PictureOf(this);
    return icon ? icon->GetExtent() : CSize(0, 0);
}

void CWVPControlBitmap::Draw(CDC* pDC)
{
    if (CWVPImageManagerIcon* icon = PictureOf(this))
        icon->Draw(pDC->GetSafeHdc(), GetRect().TopLeft());
}
