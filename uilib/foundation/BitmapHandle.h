// One bitmap handle with the two questions painting code asks of a plain bitmap: the colour of
// its corner pixel (the transparent colour of tool-bar strips) and an icon masked by that colour.
#pragma once

#include <windows.h>

class CWVPBitmapHandle
{
  public:
    explicit CWVPBitmapHandle(HBITMAP bitmap = nullptr) : m_hBitmap(bitmap)
    {
    }

    // The pixel at (0, 0); -1 when the handle is not a bitmap.
    COLORREF GetCornerColor() const;
    // An icon of the bitmap whose corner colour is transparent; null without a bitmap or size.
    HICON CreateIcon() const;

    HBITMAP m_hBitmap;
};
