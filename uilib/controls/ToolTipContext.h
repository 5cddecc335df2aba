// CWVPToolTipContext: the library's tooltip service. A window that wants tooltips (a command bar,
// a window with a markup context) owns one, relays its mouse and keyboard messages to it, and
// answers its tool hit test; the context keeps one tooltip window for the window's top-level owner
// and drives it with the common-control tooltip messages.
//
// Tool texts, titles and descriptions that a hit test puts into a record are malloc'd (as the
// framework's own tooltips expect of OnToolHitTest): InitToolInfo/InitToolInfoEx make such copies,
// and the context frees them with free() after each hit test.
#pragma once

#include "platform/mfc/Mfc.h"

class CWVPImageManager;

// The part of a tool record of size WVP_TOOLINFO_EX_SIZE that its lParam points to, filled by the
// owner's hit test: tooltip title and description, and where the tool's image comes from.
struct WVP_TOOLTIP_EXTRA
{
    LPWSTR pszDescription;    // malloc'd copy or null; freed by the context after each hit test
    LPWSTR pszTitle;          // malloc'd copy or null; freed by the context after each hit test
    CWVPImageManager* pImageManager;
    RECT rcAnchor;            // client coordinates of the tool's window; empty = place below the cursor
    DWORD_PTR dwUserValue;    // the bar's control, or zero
};

// Tool records: the plain size and the extended one whose lParam points to WVP_TOOLTIP_EXTRA. On
// x64 these are the comctl32 record sizes without and with the reserved pointer (never 40 and 44).
const UINT WVP_TOOLINFO_SIZE = TTTOOLINFOW_V1_SIZE;
const UINT WVP_TOOLINFO_EX_SIZE = TTTOOLINFOW_V2_SIZE;

// Private messages. A child window that answers 1 to WM_WVP_TOOLTIPTRANSPARENT is transparent for
// tooltips (its parent is taken instead); WM_WVP_TOOLTIPIMAGE gives the library's own tooltip
// windows the image of the tool about to be shown (lParam: CWVPImageManagerIcon* or null).
const UINT WM_WVP_TOOLTIPTRANSPARENT = WM_USER + 9800;
const UINT WM_WVP_TOOLTIPIMAGE = WM_USER + 9801;

// Style flags of the tooltip window (besides TTS_ALWAYSTIP and TTS_NOPREFIX, which the window
// always gets); the last three are for the library's own tooltip windows.
const DWORD WVP_TTS_RAISEDBORDER = 0x1000;
const DWORD WVP_TTS_NOSHADOW = 0x2000;
const DWORD WVP_TTS_OFFICE2007 = 0x4000;

// Tool flags that only the context reads; they never reach the tooltip window. A tool with
// WVP_TTF_FORCEACTIVATE shows its tip even while the owner's top-level window is not active.
const UINT WVP_TTF_FORCEACTIVATE = 0x40000000;
const UINT WVP_TTF_PRIVATE = 0xC0000000;

class CWVPToolTipContext : public CCmdTarget
{
  public:
    // The common-control tooltip (styles 0, 1 and unknown styles). Its TTM_WINDOWFROMPOINT answer
    // passes over children that are transparent for tooltips.
    class CStandardToolTip : public CToolTipCtrl
    {
      public:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    // Tooltip window styles (SetStyle).
    enum
    {
        StyleStandard = 0,
        StyleBalloon = 1,
        StyleOwnRaised = 2,
        StyleRichEdit = 3,
        StyleLuna = 4,
        StyleOffice2007 = 5,
        StyleHTML = 6,
        StyleMarkup = 7,
    };

    CWVPToolTipContext();
    ~CWVPToolTipContext() override;

    BOOL SetStyle(int style);
    int GetStyle() const { return m_nStyle; }
    void SetStyleFlags(DWORD mask, DWORD value);
    DWORD GetStyleFlags() const { return m_dwStyleFlags; }

    void ShowTitleAndDescription(BOOL show, int titleIcon = 1)
    {
        m_bShowTitleAndDescription = show;
        m_nTitleIcon = titleIcon;
    }
    void ShowImage(BOOL show, int imageBase = 0, int imageWidth = 1)
    {
        m_bShowImage = show;
        m_nImageBase = imageBase;
        m_nImageWidth = imageWidth;
    }
    BOOL IsShowTitleAndDescription() const { return m_bShowTitleAndDescription; }
    void SetMaxTipWidth(int width) { m_nMaxTipWidth = width; }
    int GetMaxTipWidth() const { return m_nMaxTipWidth; }
    void SetMargin(const RECT& margin) { m_rcMargin = margin; }
    void SetDelayTime(int initial, int reshow, int autoPop)
    {
        m_nInitialDelay = initial;
        m_nReshowDelay = reshow;
        m_nAutoPopDelay = autoPop;
    }
    void SetTipColors(COLORREF background, COLORREF text)
    {
        m_clrTipBack = background;
        m_clrTipText = text;
    }
    COLORREF GetTipBkColor() const;
    COLORREF GetTipTextColor() const;
    CFont* GetFont() { return &m_fntNormal; }
    CFont* GetBoldFont() { return &m_fntBold; }
    CWnd* GetToolTip() const { return m_pToolTip; }

    // Every mouse and keyboard message of the owner comes here; the cursor's place is read now.
    void RelayToolTipMessage(CWnd* owner, UINT message, WPARAM wParam, LPARAM lParam);
    void FilterToolTipMessage(CWnd* owner, MSG* msg);
    void CancelToolTips();

    // For hit tests: fill a record of at least WVP_TOOLINFO_SIZE bytes with the tool and a malloc'd
    // copy of its text; the extended form also fills the WVP_TOOLTIP_EXTRA of a record of
    // WVP_TOOLINFO_EX_SIZE bytes. Smaller records are left alone.
    static void InitToolInfo(TOOLINFOW* info, HWND hwnd, int left, int top, int right, int bottom, INT_PTR id,
                             LPCWSTR text);
    static void InitToolInfo(TOOLINFOW* info, HWND hwnd, const RECT& rect, INT_PTR id, LPCWSTR text)
    {
        InitToolInfo(info, hwnd, rect.left, rect.top, rect.right, rect.bottom, id, text);
    }
    static void InitToolInfoEx(TOOLINFOW* info, HWND hwnd, const RECT& rect, INT_PTR id, LPCWSTR text,
                               LPCWSTR title, LPCWSTR description, CWVPImageManager* imageManager);
    // The window under the point, or its parent when it is a child transparent for tooltips.
    static HWND WindowFromPoint(POINT point);

  protected:
    virtual CWnd* CreateToolTip(CWnd* owner);
    virtual INT_PTR OnToolHitTest(CWnd* owner, CPoint point, TOOLINFOW* info);

    // Destroys the tooltip window and deletes its object.
    void DestroyToolTip();

  private:
    void FilterMouseMessage(CWnd* owner, MSG* msg);
    BOOL EnsureToolTipWindow(CWnd* parentOwner);
    void RelayToToolTip(const MSG* msg);
    void RemoveLastTool();
    void SetTitleAndImage(const TOOLINFOW& info, const WVP_TOOLTIP_EXTRA& extra, INT_PTR id);

    BOOL m_bShowTitleAndDescription;
    BOOL m_bShowImage;
    int m_nImageWidth;
    int m_nImageBase;
    int m_nStyle;
    DWORD m_dwComCtlVersion;
    int m_nTitleIcon;
    int m_nMaxTipWidth;
    DWORD m_dwStyleFlags;
    RECT m_rcMargin;
    int m_nInitialDelay;
    int m_nReshowDelay;
    int m_nAutoPopDelay;
    CWnd* m_pToolTip;
    TOOLINFOW m_lastInfo;
    COLORREF m_clrTipBack;
    COLORREF m_clrTipText;
    CFont m_fntNormal;
    CFont m_fntBold;
};
