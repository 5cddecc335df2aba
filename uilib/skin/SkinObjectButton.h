#pragma once
// The skin object of every "Button" window: push buttons, check boxes, radio buttons and group
// boxes drawn from the skin's BUTTON class (CWVPSkinButtonDraw) while the button keeps its logic;
// it tracks the hot and pushed looks and keeps the system from drawing in between.
#include "uilib/skin/SkinButtonDraw.h"
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectButton : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectButton)
  public:
    CWVPSkinObjectButton();
    ~CWVPSkinObjectButton() override;

    void OnSkinChanged(BOOL bPrevState, BOOL bNewState) override;
    BOOL IsDefWindowProcAvail(int nMessage) const override;
    BOOL OnHookMessage(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;
    BOOL OnHookDefWindowProc(UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    // The whole button into the DC, as WM_PAINT and WM_PRINTCLIENT draw it.
    void OnDraw(HDC hDC);
    // The background part and the content into the rectangle.
    virtual void DrawButton(HDC hDC, const RECT& rc);

    bool IsHot() const
    {
        return m_bHot;
    }
    bool IsPushed() const
    {
        return m_bPushed;
    }

  protected:
    // Button kinds above the last skinned one (owner-drawn) keep all their messages.
    bool IsSkinnedKind() const;
    CWVPSkinButtonDraw MakeDraw() const;
    void Invalidate();
    LRESULT DefaultThenInvalidate(UINT nMessage, WPARAM wParam, LPARAM lParam);
    void SetHot(bool bHot);

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetState(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnable(WPARAM wParam, LPARAM lParam);
    LRESULT OnUpdateUIState(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

    BYTE m_nKindOverride = CWVPSkinButtonDraw::kNoKindOverride;
    bool m_bHot = false;
    bool m_bPushed = false;

    DECLARE_MESSAGE_MAP()
};
