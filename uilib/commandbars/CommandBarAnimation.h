#pragma once
// Paints a command bar through a cached picture of its client area and, while animation is on,
// turns each redraw of a part of the bar into a short cross-fade from the old picture to the new
// one. Every bar owns one; its WM_PAINT, redraw requests and animation timer go through it.
#include "platform/mfc/Mfc.h"

#include <memory>
#include <vector>

class CWVPCommandBar;

// The animation's timer on the bar window and its period.
const UINT_PTR WVP_TIMER_BARANIMATION = 707907;
const UINT WVP_BARANIMATION_PERIOD = 50;

class CWVPCommandBarAnimation
{
  public:
    // One running cross-fade of a rectangle of the bar.
    class CAnimateInfo
    {
      public:
        CAnimateInfo(const CRect& rc, HDC dc);
        ~CAnimateInfo();
        CAnimateInfo(const CAnimateInfo&) = delete;
        CAnimateInfo& operator=(const CAnimateInfo&) = delete;

        BOOL IsValid() const
        {
            return m_hNew && m_hOld;
        }

        HBITMAP m_hNew;
        DWORD* m_pNewBits;
        HBITMAP m_hOld;
        DWORD* m_pOldBits;
        CRect m_rc;
        int m_nStep;
        // Parts of the rectangle that newer drawing has covered: this fade leaves them alone.
        std::vector<CRect> m_excluded;
    };

    // The number of steps of a cross-fade; the last one shows the final picture.
    static const int kSteps = 6;

    explicit CWVPCommandBarAnimation(CWVPCommandBar* pBar);
    ~CWVPCommandBarAnimation();
    CWVPCommandBarAnimation(const CWVPCommandBarAnimation&) = delete;
    CWVPCommandBarAnimation& operator=(const CWVPCommandBarAnimation&) = delete;

    // Redraws the rectangle (the whole bar when null), cross-fading when asked and animation is on.
    void RedrawRect(LPCRECT rc, BOOL animate);
    // Paints the part of the bar that the paint rectangle covers.
    void OnPaint(CDC* pDC, CRect rcPaint);
    // One step of every running cross-fade (the bar's animation timer).
    void OnAnimationTimer();
    void StopAnimations();
    // The bar window is going: drops the cached picture and the running fades.
    void OnDestroyWindow();

    void EnableAnimation(BOOL enable)
    {
        m_bAnimation = enable;
    }
    BOOL IsAnimationEnabled() const
    {
        return m_bAnimation;
    }
    void SetCachedPainting(BOOL cached)
    {
        m_bCachedPainting = cached;
    }
    // Whether the bar cross-fades: its own flag or its paint manager's option.
    BOOL IsAnimationOn() const;
    BOOL HasCachedPicture() const
    {
        return m_bmpCache.GetSafeHandle() != nullptr;
    }
    int GetAnimationCount() const
    {
        return int(m_animations.size());
    }

    // The blend of one channel at a step: the new value's weight grows with the step.
    static BYTE BlendChannel(BYTE newValue, BYTE oldValue, int step);

  private:
    void AddAnimation(std::unique_ptr<CAnimateInfo> info, CDC* pDC);
    void DrawAnimationStep(CDC* pDC, CAnimateInfo* info);
    void DropCache();
    CSize GetClientSize() const;

    CWVPCommandBar* m_pBar;
    CBitmap m_bmpCache;
    BOOL m_bFullRedraw;
    UINT_PTR m_nTimer;
    BOOL m_bAnimation;
    BOOL m_bCachedPainting;
    std::vector<std::unique_ptr<CAnimateInfo>> m_animations;
};
