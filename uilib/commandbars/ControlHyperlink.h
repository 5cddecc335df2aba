#pragma once
// A link on a bar: its caption in blue (red while selected), the hand cursor over it; a click
// opens the address kept as its tooltip text.
#include "uilib/commandbars/Control.h"

class CWVPControlHyperlink : public CWVPControl
{
    DECLARE_SERIAL(CWVPControlHyperlink)

  public:
    CWVPControlHyperlink();

    void OnExecute() override;
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void OnClick(BOOL keyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    void OnMouseMove(CPoint pt) override;

    // How addresses are opened; tests replace it so that no browser starts.
    using ShellOpenFn = INT_PTR (*)(HWND owner, LPCWSTR address, int show);
    static ShellOpenFn s_shellOpen;

  private:
    HFONT GetLinkFont() const;
    HCURSOR m_hHandCursor;
};
