#pragma once
// The skin object of every window without a skin object of its own, and the base of the control
// objects: draws and runs the non-client area (borders, caption and its buttons) in the skin, and
// hands out the skin's control-colour brushes.
#include "uilib/skin/SkinObject.h"

#include <memory>
#include <vector>

class CWVPSkinObjectFrame : public CWVPSkinObject
{
    DECLARE_DYNCREATE(CWVPSkinObjectFrame)
  public:
    // What the manager found the window to be.
    enum WindowKind
    {
        kWindowOrdinary = 1,
        kWindowDialog = 2,
        kWindowPropertyPage = 6,
    };

    // One button of the caption: where the schema drew it and what it sends.
    class CCaptionButton
    {
      public:
        CCaptionButton(CWVPSkinObjectFrame* pFrame, UINT nHitTest, int nPart, UINT nCommand, BOOL bEnabled)
            : m_nHitTest(nHitTest), m_nPart(nPart), m_pFrame(pFrame), m_nCommand(nCommand), m_bEnabled(bEnabled)
        {
        }
        void Draw(HDC hDC, BOOL bActive);

        UINT m_nHitTest;
        RECT m_rcButton = {};
        int m_nPart;
        CWVPSkinObjectFrame* m_pFrame;
        UINT m_nCommand;
        BOOL m_bEnabled;
    };

    // Hit parts of a scroll bar.
    enum ScrollBarPart
    {
        kScrollNone = 0,
        kScrollFirstArrow = 60,
        kScrollSecondArrow = 61,
        kScrollPageBefore = 62,
        kScrollPageAfter = 63,
        kScrollThumb = 64,
    };

    // The geometry of one scroll bar, along its axis unless said otherwise.
    struct SCROLLBARPOSINFO
    {
        int posMin, posMax, page, pos;
        int pxTop, pxBottom, pxLeft, pxRight; // bar start and end, then across the axis
        int pxThumbBottom;                    // thumb length
        int pxUpArrow, pxDownArrow;           // end of the first arrow, start of the second
        int pxStart;                          // thumb start when a drag began
        int pxThumbEnd, pxThumbStart;
        int pxFreeTrack, pxTrackStart; // track length less the thumb, and where it starts
        RECT rc;                       // window coordinates, or client ones for a control
        int ht;                        // hot part
        BOOL fVert;
        int nBar; // SB_HORZ, SB_VERT or SB_CTL
        BOOL fVisible;
    };

    // One modal drag of a scroll bar.
    struct SCROLLBARTRACKINFO
    {
        BOOL fHitOld; // the pointer is inside the drag rectangle
        BOOL fVert;
        RECT rcTrack;
        int cmdSB; // SB_LINEUP .. SB_PAGEDOWN, 4 for the thumb, -1 none
        UINT_PTR hTimerSB;
        int dpxThumb; // thumb start less the pointer at the start
        int pxOld;    // last thumb pixel
        int posOld;   // last position sent
        int posNew;   // current track position
        BOOL bTrackThumb;
        LPARAM nBarLParam;
        HWND hWndTrack;
        int nBar;
        BOOL bNonClient;
        SCROLLBARPOSINFO* pSBInfo;
    };

    CWVPSkinObjectFrame();
    ~CWVPSkinObjectFrame() override;

    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;
    void RefreshMetrics() override;
    void OnHookAttached(LPCREATESTRUCTW lpcs, BOOL bAuto) override;
    void OnHookDetached(BOOL bAuto) override;
    BOOL OnHookMessage(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    BOOL OnHookDefWindowProc(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    BOOL IsPassThroughMessage(UINT nMessage) override;

    // The brush the window's client area is filled with.
    virtual HBRUSH GetClientBrush(HDC hDC);
    // The WM_CTLCOLOR* message that asks the parent for that brush.
    virtual UINT GetClientBrushMessage();
    // Draws the whole non-client area into the window DC.
    virtual void DrawFrame(HDC hDC);

    void RedrawFrame();
    // Lets the window's own non-client calculation run as if it had neither scroll bars nor a
    // dialog frame (the skin draws those).
    void RecalcNonClient();
    // Whether the corner between the window's two scroll bars shows a size grip: the nearest
    // sizable ancestor's lower-right client corner lies there.
    BOOL HasSizeGrip() const;
    // How far the skin's frame moves the system menu from where the system would open it; set
    // while a captioned window opens its system menu, (0, 0) otherwise.
    static POINT GetSystemMenuOffset();
    // Redraws one of the window's own scroll bars: 0 horizontal, 1 vertical.
    void RedrawScrollBarIndex(int nIndex);
    // The tracking position while a thumb of the bar (SB_HORZ, SB_VERT or SB_CTL) is dragged.
    BOOL GetTrackPos(int nBar, int& nTrackPos) const;

    // The scroll-bar engine shared by the window's own bars and the scroll-bar control.
    RECT GetScrollBarRect(int nBar);
    void CalcScrollBarInfo(SCROLLBARPOSINFO* pSBInfo);
    void SetupScrollBarInfo(SCROLLBARPOSINFO* pSBInfo, const RECT& rc, const SCROLLINFO& si);
    int HitTestScrollBar(const SCROLLBARPOSINFO* pSBInfo, POINT pt) const;
    void DrawScrollBar(HDC hDC, SCROLLBARPOSINFO* pSBInfo);
    void RedrawScrollBar(SCROLLBARPOSINFO* pSBInfo);
    void TrackScrollBar(POINT pt, SCROLLBARPOSINFO* pSBInfo, BOOL bShift);
    int PosFromThumb(const SCROLLBARPOSINFO* pSBInfo, int px) const;
    SCROLLBARTRACKINFO* GetScrollBarTrackInfo() const
    {
        return m_pSBTrack;
    }
    SCROLLBARPOSINFO* GetScrollBarPosInfo(int nIndex)
    {
        return &m_spi[nIndex];
    }
    // The parent's brush for the colour message; skin brushes stand in for system colours.
    HBRUSH GetParentBrush(HDC hDC, UINT nMessage);
    // Fills the rectangle with that brush and answers it.
    HBRUSH FillBackground(HDC hDC, const RECT& rc, UINT nMessage);
    HBRUSH GetCtlColorBrush(HDC hDC, HWND hWndCtl, UINT nCtlColor);
    // The hit-test code of the skin's parts at a screen point, or 0.
    UINT HitTest(POINT ptScreen);
    CCaptionButton* HitTestButton(POINT ptWindow);
    // Rebuilds the caption buttons when the styles changed since the last build.
    void UpdateButtons();
    // Gives a captioned window the skin's shape for its size (once per size).
    void UpdateRegion(int nWidth, int nHeight);
    BOOL HasCaption() const;

    int GetWindowKind() const
    {
        return m_nWindowKind;
    }
    void SetWindowKind(int nKind)
    {
        m_nWindowKind = nKind;
    }
    const RECT& GetBorders() const
    {
        return m_rcBorders;
    }
    BOOL IsActive() const
    {
        return m_bActive;
    }
    // The MDI client of an MDI frame window, which records itself while it lives.
    CWVPSkinObjectFrame* GetMDIClient() const
    {
        return m_pMDIClient;
    }
    void SetMDIClient(CWVPSkinObjectFrame* pMDIClient)
    {
        m_pMDIClient = pMDIClient;
    }
    // While raised, the non-client messages go to the system.
    int& GetSuppressCounter()
    {
        return m_nSuppress;
    }
    std::vector<std::unique_ptr<CCaptionButton>>& GetCaptionButtons()
    {
        return m_arrButtons;
    }
    CCaptionButton* GetHotButton() const
    {
        return m_pButtonHot;
    }
    CCaptionButton* GetPressedButton() const
    {
        return m_pButtonPressed;
    }

    // The timer that repairs a window's non-client size after the system changed it behind the skin.
    static const UINT_PTR kRepairTimerId = 2765;
    static const UINT kRepairTimerDelay = 1000;

  protected:
    POINT ToWindowPoint(POINT ptScreen) const;
    // Whether the window is an MDI child whose frame the skin sizes.
    BOOL IsSkinnedMdiChild() const;
    void ExtendMdiChildMaxInfo(MINMAXINFO* pInfo);
    void PlaceMaximizedMdiChild();
    // An MDI frame passes its activation on to its active child's caption.
    void ActivateMdiChild(WPARAM wParam, LPARAM lParam);
    void TrackThumb(UINT nMessage, POINT pt);
    void TrackBox(UINT nMessage, POINT pt);
    void MoveThumb(int px);
    LRESULT EndScroll();
    void OnScrollRepeatTimer(POINT ptScreen);
    void SendScrollMessage(int nCode, int nPos);
    RECT CalcThumbDragRect(const SCROLLBARPOSINFO* pSBInfo) const;
    POINT TrackPoint(POINT ptScreen) const;
    // The corner between the two scroll bars, in window coordinates.
    RECT GetSizeGripRect() const;

    // Whether the skin leaves the non-client area to the system: windows with scroll bars keep the
    // system's bars until the skin draws its own.
    BOOL IsFrameLeftToSystem() const;
    BOOL IsFrameOption() const;
    void AdjustFrame();
    // TRUE when a caption button or a scroll-bar part is hot, or a scroll bar is being dragged.
    BOOL UpdateHotState(POINT ptScreen);
    // The brush of a property page's body: the skin's tiled tab-body picture, made once per skin.
    HBRUSH GetTabBodyBrush();
    void OnNcActivateDialog(WPARAM wParam, LPARAM lParam);
    void TrackCaptionButton();
    BOOL AnswerCtlColor(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    afx_msg LRESULT OnNcCalcSizeMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcPaintMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcActivateMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcHitTestMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcMouseMoveMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcMouseLeaveMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcLButtonDownMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetTextMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStyleChangedMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCreateMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTimerMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEraseBkgndMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPrintMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSysCommandMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnWindowPosChangedMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetMinMaxInfoMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcRButtonUpMessage(WPARAM wParam, LPARAM lParam);

    int m_nSuppress = 0;
    int m_nWindowKind = kWindowOrdinary;
    std::vector<std::unique_ptr<CCaptionButton>> m_arrButtons;
    RECT m_rcBorders = {};
    CCaptionButton* m_pButtonHot = nullptr;
    CCaptionButton* m_pButtonPressed = nullptr;
    BOOL m_bActive = TRUE;
    DWORD m_dwStyle = DWORD(-1);
    DWORD m_dwExStyle = DWORD(-1);
    UINT m_nCtlColorMessage = WM_CTLCOLORDLG;
    SCROLLBARTRACKINFO* m_pSBTrack = nullptr;
    BOOL m_bRegionSet = FALSE;
    BOOL m_bFrameAdjusted = FALSE; // the caption height and region were given once
    BOOL m_bInRegionUpdate = FALSE;
    SIZE m_szRegion = {};
    SCROLLBARPOSINFO m_spi[2] = {}; // horizontal, vertical
    CWVPSkinObjectFrame* m_pMDIClient = nullptr;

    DECLARE_MESSAGE_MAP()
};
