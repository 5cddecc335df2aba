#include "uilib/commandbars/CommandBarAnimation.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/BufferDC.h"
#include "uilib/foundation/ImageManager.h"

#include <algorithm>
#include <cstring>

namespace
{
// A memory DC with one bitmap selected for its lifetime.
class CMemoryDC : public CDC
{
  public:
    CMemoryDC(HDC compatible, HBITMAP bitmap)
    {
        Attach(::CreateCompatibleDC(compatible));
        m_hOld = m_hDC && bitmap ? ::SelectObject(m_hDC, bitmap) : nullptr;
    }
    ~CMemoryDC() override
    {
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

  private:
    HGDIOBJ m_hOld;
};

// A bitmap handle that is deleted with its owner.
struct CBitmapOwner
{
    explicit CBitmapOwner(HBITMAP bitmap) : m_hBitmap(bitmap)
    {
    }
    ~CBitmapOwner()
    {
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
    }
    CBitmapOwner(const CBitmapOwner&) = delete;
    CBitmapOwner& operator=(const CBitmapOwner&) = delete;
    HBITMAP m_hBitmap;
};

void BlitRect(CDC* pTarget, const CRect& rcTarget, HDC source, CPoint ptSource)
{
    ::BitBlt(pTarget->GetSafeHdc(), rcTarget.left, rcTarget.top, rcTarget.Width(), rcTarget.Height(), source,
             ptSource.x, ptSource.y, SRCCOPY);
}

BOOL Contains(const CRect& outer, const CRect& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
} // namespace

CWVPCommandBarAnimation::CAnimateInfo::CAnimateInfo(const CRect& rc, HDC dc)
    : m_hNew(nullptr), m_pNewBits(nullptr), m_hOld(nullptr), m_pOldBits(nullptr), m_rc(rc), m_nStep(1)
{
    void* bits = nullptr;
    m_hNew = CWVPImageManager::CreateDIBSection32(dc, rc.Width(), rc.Height(), &bits);
    m_pNewBits = static_cast<DWORD*>(bits);
    bits = nullptr;
    m_hOld = CWVPImageManager::CreateDIBSection32(dc, rc.Width(), rc.Height(), &bits);
    m_pOldBits = static_cast<DWORD*>(bits);
}

CWVPCommandBarAnimation::CAnimateInfo::~CAnimateInfo()
{
    if (m_hNew)
        ::DeleteObject(m_hNew);
    if (m_hOld)
        ::DeleteObject(m_hOld);
}

CWVPCommandBarAnimation::CWVPCommandBarAnimation(CWVPCommandBar* pBar)
    : m_pBar(pBar), m_bFullRedraw(FALSE), m_nTimer(0), m_bAnimation(FALSE), m_bCachedPainting(FALSE)
{
}

CWVPCommandBarAnimation::~CWVPCommandBarAnimation()
{
    StopAnimations();
    DropCache();
}

BOOL CWVPCommandBarAnimation::IsAnimationOn() const
{
    if (m_bAnimation)
        return TRUE;
    CWVPPaintManager* paintManager = m_pBar->GetPaintManager();
    return paintManager && paintManager->m_bEnableAnimation;
}

BYTE CWVPCommandBarAnimation::BlendChannel(BYTE newValue, BYTE oldValue, int step)
{
    const int alpha = step * 255 / kSteps;
    return BYTE((newValue * alpha + oldValue * (255 - alpha)) >> 8);
}

CSize CWVPCommandBarAnimation::GetClientSize() const
{
    CRect rc(0, 0, 0, 0);
    if (m_pBar->GetSafeHwnd())
        ::GetClientRect(m_pBar->GetSafeHwnd(), &rc);
    return rc.Size();
}

void CWVPCommandBarAnimation::DropCache()
{
    if (m_bmpCache.GetSafeHandle())
        m_bmpCache.DeleteObject();
}

void CWVPCommandBarAnimation::RedrawRect(LPCRECT prc, BOOL animate)
{
    const HWND hwnd = m_pBar->GetSafeHwnd();
    if (!hwnd)
        return;
    if (!prc)
    {
        DropCache();
        m_bFullRedraw = TRUE;
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }
    const CSize size = GetClientSize();
    BITMAP info = {};
    if (m_bmpCache.GetSafeHandle())
        m_bmpCache.GetBitmap(&info);
    // A picture of another size (the bar was resized) is rebuilt by the next paint.
    if (!m_bmpCache.GetSafeHandle() || !IsAnimationOn() || info.bmWidth != size.cx || info.bmHeight != size.cy)
    {
        m_bFullRedraw = TRUE;
        ::InvalidateRect(hwnd, prc, FALSE);
        return;
    }
    CRect rc;
    if (!rc.IntersectRect(prc, CRect(CPoint(0, 0), size)))
        return;

    CClientDC dc(m_pBar);
    CBitmapOwner rendering(::CreateCompatibleBitmap(dc.GetSafeHdc(), size.cx, size.cy));
    if (!rendering.m_hBitmap)
        return;
    CMemoryDC dcNew(dc.GetSafeHdc(), rendering.m_hBitmap);
    dcNew.IntersectClipRect(rc);
    m_pBar->DrawCommandBar(&dcNew, rc);
    dcNew.SelectClipRgn(nullptr);
    CMemoryDC dcCache(dc.GetSafeHdc(), static_cast<HBITMAP>(m_bmpCache.GetSafeHandle()));

    if (animate)
    {
        std::unique_ptr<CAnimateInfo> fade(new CAnimateInfo(rc, dc.GetSafeHdc()));
        if (fade->IsValid())
        {
            const CRect rcPicture(CPoint(0, 0), rc.Size());
            {
                CMemoryDC dcPicture(dc.GetSafeHdc(), fade->m_hNew);
                BlitRect(&dcPicture, rcPicture, dcNew.GetSafeHdc(), rc.TopLeft());
            }
            {
                CMemoryDC dcPicture(dc.GetSafeHdc(), fade->m_hOld);
                BlitRect(&dcPicture, rcPicture, dcCache.GetSafeHdc(), rc.TopLeft());
            }
            BlitRect(&dcCache, rc, dcNew.GetSafeHdc(), rc.TopLeft());
            ::GdiFlush();
            // Nothing changed there: no fade and no drawing.
            if (std::memcmp(fade->m_pNewBits, fade->m_pOldBits, size_t(rc.Width()) * rc.Height() * 4) == 0)
                return;
            AddAnimation(std::move(fade), &dc);
            return;
        }
    }

    // Drawn at once: fades that lie inside the rectangle end, those that overlap it leave it alone.
    m_animations.erase(
        std::remove_if(m_animations.begin(), m_animations.end(),
                       [&](const std::unique_ptr<CAnimateInfo>& running) { return Contains(rc, running->m_rc); }),
        m_animations.end());
    for (const std::unique_ptr<CAnimateInfo>& running : m_animations)
    {
        CRect overlap;
        if (overlap.IntersectRect(running->m_rc, rc))
            running->m_excluded.push_back(rc);
    }
    BlitRect(&dcCache, rc, dcNew.GetSafeHdc(), rc.TopLeft());
    BlitRect(&dc, rc, dcNew.GetSafeHdc(), rc.TopLeft());
}

void CWVPCommandBarAnimation::AddAnimation(std::unique_ptr<CAnimateInfo> info, CDC* pDC)
{
    const CRect rc = info->m_rc;
    m_animations.erase(
        std::remove_if(m_animations.begin(), m_animations.end(),
                       [&](const std::unique_ptr<CAnimateInfo>& running) { return Contains(rc, running->m_rc); }),
        m_animations.end());
    CAnimateInfo* added = info.get();
    m_animations.push_back(std::move(info));
    if (!m_nTimer)
        m_nTimer = ::SetTimer(m_pBar->GetSafeHwnd(), WVP_TIMER_BARANIMATION, WVP_BARANIMATION_PERIOD, nullptr);
    DrawAnimationStep(pDC, added);
}

void CWVPCommandBarAnimation::DrawAnimationStep(CDC* pDC, CAnimateInfo* info)
{
    const CRect& rc = info->m_rc;
    if (info->m_nStep >= kSteps)
    {
        // The cached picture holds the final rendering.
        CMemoryDC dcCache(pDC->GetSafeHdc(), static_cast<HBITMAP>(m_bmpCache.GetSafeHandle()));
        BlitRect(pDC, rc, dcCache.GetSafeHdc(), rc.TopLeft());
    }
    else
    {
        void* bits = nullptr;
        CBitmapOwner blend(CWVPImageManager::CreateDIBSection32(pDC->GetSafeHdc(), rc.Width(), rc.Height(), &bits));
        if (blend.m_hBitmap)
        {
            ::GdiFlush();
            BYTE* target = static_cast<BYTE*>(bits);
            const BYTE* newBytes = reinterpret_cast<const BYTE*>(info->m_pNewBits);
            const BYTE* oldBytes = reinterpret_cast<const BYTE*>(info->m_pOldBits);
            const size_t count = size_t(rc.Width()) * rc.Height() * 4;
            for (size_t i = 0; i < count; ++i)
                target[i] = BlendChannel(newBytes[i], oldBytes[i], info->m_nStep);
            CMemoryDC dcBlend(pDC->GetSafeHdc(), blend.m_hBitmap);
            BlitRect(pDC, rc, dcBlend.GetSafeHdc(), CPoint(0, 0));
        }
    }
    ++info->m_nStep;
}

void CWVPCommandBarAnimation::OnAnimationTimer()
{
    if (!m_pBar->GetSafeHwnd() || !m_bmpCache.GetSafeHandle())
    {
        StopAnimations();
        return;
    }
    CClientDC dc(m_pBar);
    for (size_t i = 0; i < m_animations.size();)
    {
        CAnimateInfo* info = m_animations[i].get();
        for (const CRect& excluded : info->m_excluded)
            dc.ExcludeClipRect(excluded);
        DrawAnimationStep(&dc, info);
        dc.SelectClipRgn(nullptr);
        if (info->m_nStep > kSteps)
            m_animations.erase(m_animations.begin() + ptrdiff_t(i));
        else
            ++i;
    }
    if (m_animations.empty())
        StopAnimations();
}

void CWVPCommandBarAnimation::StopAnimations()
{
    m_animations.clear();
    if (m_nTimer)
    {
        if (m_pBar->GetSafeHwnd())
            ::KillTimer(m_pBar->GetSafeHwnd(), WVP_TIMER_BARANIMATION);
        m_nTimer = 0;
    }
}

void CWVPCommandBarAnimation::OnDestroyWindow()
{
    DropCache();
    StopAnimations();
}

void CWVPCommandBarAnimation::OnPaint(CDC* pDC, CRect rcPaint)
{
    const CSize size = GetClientSize();
    if (m_bmpCache.GetSafeHandle())
    {
        BITMAP info = {};
        m_bmpCache.GetBitmap(&info);
        if (info.bmWidth != size.cx || info.bmHeight != size.cy)
            DropCache();
    }
    if (!m_bCachedPainting && !IsAnimationOn())
    {
        DropCache();
        {
            CWVPBufferDC buffer(pDC->GetSafeHdc(), rcPaint);
            buffer.IntersectClipRect(rcPaint);
            m_pBar->DrawCommandBar(&buffer, rcPaint);
        }
        StopAnimations();
    }
    else if (m_bFullRedraw || !m_bmpCache.GetSafeHandle())
    {
        if (!m_bmpCache.GetSafeHandle())
        {
            if (size.cx <= 0 || size.cy <= 0 || !m_bmpCache.CreateCompatibleBitmap(pDC, size.cx, size.cy))
                return;
            rcPaint = CRect(CPoint(0, 0), size);
        }
        CMemoryDC dcCache(pDC->GetSafeHdc(), static_cast<HBITMAP>(m_bmpCache.GetSafeHandle()));
        dcCache.IntersectClipRect(rcPaint);
        m_pBar->DrawCommandBar(&dcCache, rcPaint);
        dcCache.SelectClipRgn(nullptr);
        BlitRect(pDC, rcPaint, dcCache.GetSafeHdc(), rcPaint.TopLeft());
        StopAnimations();
    }
    else
    {
        CMemoryDC dcCache(pDC->GetSafeHdc(), static_cast<HBITMAP>(m_bmpCache.GetSafeHandle()));
        BlitRect(pDC, CRect(CPoint(0, 0), size), dcCache.GetSafeHdc(), CPoint(0, 0));
    }
    m_bFullRedraw = FALSE;
}
