// A PNG picture, from a file, a resource or any framework file, decoded by libpng into a 32-bit
// top-down DIB section (blue, green, red, alpha; not premultiplied) that the image helpers blend
// with per-pixel alpha. Every failure leaves no bitmap and the alpha flag clear.
#pragma once

#include <windows.h>

#include "platform/mfc/Bitmap.h"

class CFile;

class CWVPGraphicBitmapPng : public CBitmap
{
  public:
    CWVPGraphicBitmapPng() : m_bAlpha(FALSE)
    {
    }

    BOOL LoadFromFile(LPCWSTR path);
    BOOL LoadFromResource(HMODULE module, HRSRC resource);
    BOOL LoadFromStream(CFile* file);
    // The decoded image kept four channels.
    BOOL IsAlpha() const
    {
        return m_bAlpha;
    }

  private:
    BOOL m_bAlpha;
};
