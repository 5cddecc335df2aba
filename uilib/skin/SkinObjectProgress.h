#pragma once
// The skin object of progress bars ("msctls_progress32"): paints the bar and its chunks from the
// skin's PROGRESS class, runs the marquee itself, and keeps the bar's static edge only where the
// unskinned look needs it.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectProgress : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectProgress)
  public:
    // The timer that moves the marquee.
    static const UINT_PTR kMarqueeTimerId = 102;

    CWVPSkinObjectProgress();
    ~CWVPSkinObjectProgress() override;

    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;

    // The whole bar into the DC through a double buffer.
    void OnDraw(HDC hDC);
    // Moves the marquee by n chunks and invalidates the bar.
    void StepMarquee(int n);

    int GetMarqueeOffset() const
    {
        return m_nMarqueeOffset;
    }
    int GetMarqueeInterval() const
    {
        return m_nMarqueeInterval;
    }

  protected:
    // Chunk and gap sizes of the skin, or the defaults given.
    int GetChunkSize(int nDefault);
    int GetSpaceSize();
    bool IsMarquee() const;
    // Adds or removes the static edge as the look in force wants it.
    void UpdateStaticEdge(bool bWanted);

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetPos(WPARAM wParam, LPARAM lParam);
    LRESULT OnStepIt(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMarquee(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);

    int m_nMarqueeOffset = 0;
    int m_nMarqueeInterval = 0;

    DECLARE_MESSAGE_MAP()
};
