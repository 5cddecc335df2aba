#pragma once
// The skin object of track bars ("msctls_trackbar32"): paints the whole control from the skin's
// TRACKBAR class (ticks, channel and thumb) while the control keeps its logic, and follows the
// cursor for the thumb's hot look.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectTrackBar : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectTrackBar)
  public:
    CWVPSkinObjectTrackBar();
    ~CWVPSkinObjectTrackBar() override;

    // The whole control into the DC through a double buffer, with the parent's custom-draw stages.
    void OnDraw(HDC hDC);
    // The geometry the ticks are placed by; along the bar for vertical ones too.
    void CalcChannel();
    // Where a value's tick goes along the channel.
    int TicPos(int nValue) const;
    // The thumb's part and state as OnDraw draws them.
    int GetThumbPart() const;
    int GetThumbState() const;

    bool IsThumbHot() const
    {
        return m_bThumbHot;
    }
    int GetTicFreq() const
    {
        return m_nTicFreq;
    }
    RECT GetChannel() const
    {
        return RECT{m_nChannelLeft, m_nChannelTop, m_nChannelRight, m_nChannelBottom};
    }

  protected:
    void CalcThumbSize();
    void DrawAllTics(HDC hDC);
    void DrawTics(HDC hDC, int nDirection, int y);
    // A tick rectangle one pixel wide along the bar and nLength pixels across it from nTop.
    void FillTic(HDC hDC, int x, int nTop, int nLength, COLORREF clr);
    bool IsVertical() const;
    void SetThumbHot(bool bHot);
    LRESULT NotifyCustomDraw(HDC hDC, DWORD dwStage, DWORD_PTR dwItemSpec);

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetTicFreq(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);

    int m_nTicFreq = 1;
    int m_nChannelLeft = 0;
    int m_nChannelTop = 0;
    int m_nChannelRight = 0;
    int m_nChannelBottom = 0;
    int m_nThumbHalfWidth = 0;
    int m_nThumbLength = 0;
    int m_nChannelLength = 0;
    DWORD m_dwBarStyle = 0;
    bool m_bThumbHot = false;

    DECLARE_MESSAGE_MAP()
};
