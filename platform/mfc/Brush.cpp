#include "platform/mfc/Brush.h"

#include "platform/mfc/Bitmap.h"

IMPLEMENT_DYNAMIC(CBrush, CGdiObject)

CBrush::CBrush(CBitmap* bitmap)
{
    CreatePatternBrush(bitmap);
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return bitmap ? Attach(::CreatePatternBrush((HBITMAP)bitmap->GetSafeHandle())) : FALSE;
}
