#pragma once
// The skin object of MDI clients ("MDIClient"): keeps the client's skinned scroll bars in step,
// keeps a maximised child's skinned frame outside the client when the client is resized, and
// lets the system arrange children with their frames recalculated afterwards.
#include "uilib/skin/SkinObjectFrame.h"

class CWVPSkinObjectMDIClient : public CWVPSkinObjectFrame
{
    DECLARE_DYNCREATE(CWVPSkinObjectMDIClient)
  public:
    CWVPSkinObjectMDIClient();
    ~CWVPSkinObjectMDIClient() override;

    void OnHookAttached(LPCREATESTRUCTW lpcs, BOOL bAuto) override;
    void OnHookDetached(BOOL bAuto) override;
    BOOL IsDefWindowProcAvail(int nMessage) const override;

    // The skin object of the MDI frame window, held while attached; null when it has none.
    CWVPSkinObjectFrame* GetParentFrame() const
    {
        return m_pParentFrame;
    }

  protected:
    LRESULT OnArrange(UINT nMessage, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultThenRedrawBars(UINT nMessage, WPARAM wParam, LPARAM lParam, bool bHorizontal, bool bVertical);

    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnCalcChildScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnMDITile(WPARAM wParam, LPARAM lParam);
    LRESULT OnMDICascade(WPARAM wParam, LPARAM lParam);
    LRESULT OnMDIIconArrange(WPARAM wParam, LPARAM lParam);

    bool m_bArranging = false;
    CWVPSkinObjectFrame* m_pParentFrame = nullptr;

    DECLARE_MESSAGE_MAP()
};
