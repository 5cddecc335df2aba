// CHyperLink: a static text that behaves as a web link (underlined, hover and visited colours, hand
// cursor, tooltip with its address). A click opens the address in the browser; when that fails the
// user is told why and the address is put on the clipboard. Used by the target panel and About box.
#pragma once

#include "platform/mfc/Mfc.h"

class CHyperLink : public CStatic
{
  public:
    CHyperLink();
    ~CHyperLink() override;

    // How addresses are opened; tests replace both so that no browser starts.
    using ShellOpenFn = INT_PTR (*)(HWND owner, LPCWSTR address, int show);
    using StartCommandFn = UINT (*)(LPCWSTR commandLine, int show);
    using CopyTextFn = void (*)(HWND owner, LPCWSTR text);
    static ShellOpenFn s_shellOpen;
    static StartCommandFn s_startCommand;
    // Puts a text on the clipboard; tests replace it, as the X clipboard is shared by every process.
    static CopyTextFn s_copyText;

    COLORREF m_crLinkColour = RGB(0, 0, 238);
    COLORREF m_crVisitedColour = RGB(85, 26, 139);
    COLORREF m_crHoverColour;
    BOOL m_bOverControl = FALSE;
    BOOL m_bVisited = FALSE;
    BOOL m_bUnderline = TRUE;
    BOOL m_bAdjustToFit = TRUE;
    CString m_strURL;
    CFont m_Font;
    HCURSOR m_hLinkCursor = nullptr;
    CToolTipCtrl m_ToolTip;

    void SetURL(LPCWSTR address);
    CString GetURL() const
    {
        return m_strURL;
    }
    void SetUnderline(BOOL underline);
    // Opens an http or https address; answers the shell's code (above 32 on success).
    INT_PTR GotoURL(LPCWSTR address, int show);

    // The browser command for an address: the registered command line cut before its "%1" (quoted
    // or not), then the address in double quotation marks.
    static CString BrowserCommand(LPCWSTR registeredCommand, LPCWSTR address);
    // Only web addresses are ever handed to the shell or a browser.
    static bool IsWebAddress(LPCWSTR address);
    // "Unable to open hyperlink:" and the reason for a shell code.
    static CString ErrorText(INT_PTR code);

    BOOL PreTranslateMessage(MSG* msg) override;

  protected:
    void PreSubclassWindow() override;
    afx_msg void OnClicked();
    afx_msg HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

  private:
    void PositionWindow();
    void LoadHandCursor();
    void ReportError(INT_PTR code);
};
