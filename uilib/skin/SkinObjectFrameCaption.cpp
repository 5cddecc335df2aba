// The caption buttons of the frame object: built from the window styles, drawn in their states,
// hit and tracked while pressed.
#include "uilib/skin/SkinObjectFrame.h"

#include "uilib/foundation/CaptureLoop.h"
#include "uilib/skin/SkinDCGuards.h"
#include "uilib/skin/SkinManager.h"

namespace
{

// Caption-button parts of class WINDOW.
const int kPartMinButton = 15;
const int kPartMaxButton = 17;
const int kPartCloseButton = 18;
const int kPartSmallCloseButton = 19;
const int kPartRestoreButton = 21;
const int kPartHelpButton = 23;
const int kButtonStateNormal = 1;
const int kButtonStateHot = 2;
const int kButtonStatePressed = 3;
const int kButtonStateDisabled = 4;
const int kButtonStatesInactiveOffset = 4;
// The screen edge still hits the buttons of a maximized window.
const int kMaximizedButtonSlack = 2;

} // namespace

void CWVPSkinObjectFrame::CCaptionButton::Draw(HDC hDC, BOOL bActive)
{
    CCaptionButton* pressed = m_pFrame->GetPressedButton();
    bool hot = m_pFrame->GetHotButton() == this && (pressed == this || !pressed);
    bool down = hot && pressed == this;
    int state = !m_bEnabled ? kButtonStateDisabled
                : down      ? kButtonStatePressed
                : hot       ? kButtonStateHot
                            : kButtonStateNormal;
    if (!bActive)
        state += kButtonStatesInactiveOffset;
    if (CWVPSkinManagerClass* window = m_pFrame->GetSkinManager()->GetSkinClass(L"WINDOW"))
        window->DrawThemeBackground(hDC, m_nPart, state, &m_rcButton);
}

void CWVPSkinObjectFrame::UpdateButtons()
{
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    DWORD exStyle = DWORD(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
    if (style == m_dwStyle && exStyle == m_dwExStyle)
        return;
    m_dwStyle = style;
    m_dwExStyle = exStyle;
    m_pButtonHot = m_pButtonPressed = nullptr;
    m_arrButtons.clear();
    if ((style & WS_CAPTION) != WS_CAPTION)
        return;
    bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    bool sysMenu = (style & WS_SYSMENU) != 0;
    bool minMax = sysMenu && !tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    bool maximized = (style & WS_MAXIMIZE) != 0;
    bool minimized = (style & WS_MINIMIZE) != 0;
    auto add = [this](UINT hit, int part, UINT command, bool enabled) {
        m_arrButtons.push_back(std::make_unique<CCaptionButton>(this, hit, part, command, enabled));
    };
    if (sysMenu)
    {
        bool enabled = true;
        if (!tool)
        {
            HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
            UINT state = menu ? ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) : 0;
            enabled = state == UINT(-1) || !(state & (MF_GRAYED | MF_DISABLED));
        }
        add(HTCLOSE, tool ? kPartSmallCloseButton : kPartCloseButton, SC_CLOSE, enabled);
    }
    if (minMax)
    {
        bool maxBox = (style & WS_MAXIMIZEBOX) != 0, minBox = (style & WS_MINIMIZEBOX) != 0;
        if (maximized)
            add(HTMAXBUTTON, kPartRestoreButton, SC_RESTORE, maxBox);
        else
            add(HTMAXBUTTON, kPartMaxButton, SC_MAXIMIZE, maxBox);
        if (minimized)
            add(HTMINBUTTON, kPartRestoreButton, SC_RESTORE, minBox);
        else
            add(HTMINBUTTON, kPartMinButton, SC_MINIMIZE, minBox);
    }
    if ((exStyle & WS_EX_CONTEXTHELP) && sysMenu && !tool)
        add(HTHELP, kPartHelpButton, SC_CONTEXTHELP, true);
}

CWVPSkinObjectFrame::CCaptionButton* CWVPSkinObjectFrame::HitTestButton(POINT ptWindow)
{
    DWORD style = DWORD(::GetWindowLongW(m_hWnd, GWL_STYLE));
    bool maximized = (style & WS_MAXIMIZE) && !(style & WS_CHILD);
    for (size_t i = 0; i < m_arrButtons.size(); ++i)
    {
        CCaptionButton* button = m_arrButtons[i].get();
        RECT rc = button->m_rcButton;
        if (maximized)
        {
            rc.top -= kMaximizedButtonSlack;
            if (i == 0)
                rc.right += kMaximizedButtonSlack;
        }
        if (button->m_bEnabled && ::PtInRect(&rc, ptWindow))
            return button;
    }
    return nullptr;
}

void CWVPSkinObjectFrame::TrackCaptionButton()
{
    CCaptionButton* button = m_pButtonHot;
    ::SetCapture(m_hWnd);
    m_pButtonPressed = button;
    RedrawFrame();
    // The press: a release ends it (a click when it came over the pressed button), moves show the
    // button pressed only while the pointer is over it.
    class CButtonLoop : public CWVPCaptureLoop
    {
      public:
        CButtonLoop(CWVPSkinObjectFrame* frame, CCaptionButton* button)
            : CWVPCaptureLoop(frame->m_hWnd), m_pFrame(frame), m_pButton(button)
        {
        }
        bool m_bClicked = false;

      protected:
        BOOL OnMessage(MSG& msg) override
        {
            switch (msg.message)
            {
            case WM_LBUTTONUP:
                m_bClicked = m_pFrame->m_pButtonPressed == m_pButton;
                Stop();
                return TRUE;
            case WM_NCMOUSELEAVE:
                return TRUE;
            case WM_MOUSEMOVE:
            {
                POINT pt = {short(LOWORD(msg.lParam)), short(HIWORD(msg.lParam))};
                ::ClientToScreen(m_pFrame->m_hWnd, &pt);
                CCaptionButton* under =
                    m_pFrame->HitTestButton(m_pFrame->ToWindowPoint(pt)) == m_pButton ? m_pButton : nullptr;
                if (under != m_pFrame->m_pButtonPressed)
                {
                    m_pFrame->m_pButtonPressed = under;
                    m_pFrame->m_pButtonHot = under ? m_pButton : nullptr;
                    m_pFrame->RedrawFrame();
                }
                return TRUE;
            }
            default:
                return FALSE;
            }
        }

      private:
        CWVPSkinObjectFrame* m_pFrame;
        CCaptionButton* m_pButton;
    };
    CButtonLoop loop(this, button);
    loop.Run();
    const bool clicked = loop.m_bClicked;
    m_pButtonHot = m_pButtonPressed = nullptr;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    RedrawFrame();
    if (clicked)
        ::SendMessageW(m_hWnd, WM_SYSCOMMAND, button->m_nCommand, 0);
}
