// Double-buffer device contexts: everything drawn into the guard lands in a memory bitmap that is
// copied to the target in one BitBlt when the guard ends. CWVPBufferDC keeps target coordinates
// through a bitmap as large as the rectangle's right and bottom; CWVPBufferDCEx through a bitmap of
// the rectangle's own size and a shifted viewport.
#pragma once

#include <windows.h>

#include "platform/mfc/DC.h"
#include "platform/mfc/PaintDC.h"
#include "platform/mfc/Rect.h"

class CWVPBufferDC : public CDC
{
  public:
    CWVPBufferDC(HDC target, const CRect& rect);
    explicit CWVPBufferDC(CPaintDC& paintDC);
    ~CWVPBufferDC() override;
    CWVPBufferDC(const CWVPBufferDC&) = delete;
    CWVPBufferDC& operator=(const CWVPBufferDC&) = delete;

    // Forgets the target, so that nothing is copied when the guard ends.
    void Discard();
    HDC GetTargetDC() const
    {
        return m_hDestDC;
    }

  private:
    void Create(int width, int height);

    HDC m_hDestDC;
    CRect m_rect;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOldBitmap;
};

class CWVPBufferDCEx : public CDC
{
  public:
    CWVPBufferDCEx(HDC target, const CRect& rect);
    ~CWVPBufferDCEx() override;
    CWVPBufferDCEx(const CWVPBufferDCEx&) = delete;
    CWVPBufferDCEx& operator=(const CWVPBufferDCEx&) = delete;

  private:
    HDC m_hDestDC;
    CRect m_rect;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOldBitmap;
};
