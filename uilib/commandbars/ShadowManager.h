#pragma once
// Drop shadows of popup bars and of the controls that open them: each side of a shadow is a small
// window beside its owner, layered and drawn with per-pixel alpha where the display allows, kept
// in step with the owner through the hook manager. Each paint manager owns one shadow manager.
#include "platform/mfc/Mfc.h"
#include "uilib/commandbars/HookManager.h"

class CWVPShadowManager : public CCmdTarget
{
  public:
    // Sides of a shadow.
    enum
    {
        ShadowRight = 0,  // the strip along the owner's right edge
        ShadowBottom = 1, // the strip along its bottom edge, past its right edge
        ShadowCorner = 2  // one pixel in the owner's bottom-right corner
    };
    // Option bits (set by the command-bar themes).
    enum
    {
        // Shadows appear even without alpha shadows or the system's drop-shadow setting, at half
        // the opacity.
        ShadowOptionForce = 0x1,
        // A new shadow leaves out the rectangle of the control that opened the popup.
        ShadowOptionExclude = 0x2,
        // Both bits: the control that opened a popup gets a shadow of its own.
        ShadowOptionControl = ShadowOptionForce | ShadowOptionExclude
    };

    typedef BOOL(WINAPI* PFNUPDATELAYEREDWINDOW)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                                 DWORD);

    class CShadowWnd;
    // The manager's shadows; the list owns them.
    class CShadowList : public CList<CShadowWnd*, CShadowWnd*>
    {
      public:
        CShadowList() : CList<CShadowWnd*, CShadowWnd*>(10)
        {
        }
    };

    // One side of a shadow. It holds a reference on its manager from construction to destruction.
    class CShadowWnd : public CWnd, public CWVPHookManagerHookAble
    {
      public:
        explicit CShadowWnd(CWVPShadowManager* pManager);
        ~CShadowWnd() override;

        // Creates the window on first use and places it along the side of the owner rectangle
        // (screen coordinates).
        BOOL Create(int nSide, int nLeft, int nTop, int nRight, int nBottom);
        // Cuts the part of the screen rectangle that overlaps the shadow out of its window region
        // (replacing an earlier cut).
        void ExcludeRect(CRect rcExclude);
        // Lengthens the shadow where it meets a perpendicular shadow of another popup, so that
        // cascaded popups show one continuous shadow.
        void MergeWithNeighbours(CShadowList* pList);

        // Follows the owner: shown and hidden with it, destroyed with it.
        int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

        int GetSide() const { return m_nSide; }
        BOOL HasRegion() const { return m_bHasRegion; }
        CWnd* GetShadowOwner() const { return m_pShadowOwner; }
        BOOL IsControlShadow() const { return m_bControlShadow; }
        CWVPShadowManager* GetManager() const { return m_pManager; }

      protected:
        afx_msg BOOL OnEraseBkgnd(CDC* pDC);
        afx_msg void OnPaint();
        afx_msg void OnSize(UINT nType, int cx, int cy);
        afx_msg LRESULT OnNcHitTest(CPoint point);
        DECLARE_MESSAGE_MAP()

      private:
        friend class CWVPShadowManager;
        int m_nSide;
        BOOL m_bHasRegion;
        CWnd* m_pShadowOwner;
        BOOL m_bControlShadow;
        CWVPShadowManager* m_pManager;
    };

    CWVPShadowManager();
    ~CWVPShadowManager() override;

    // TRUE when the display has more than 8 bits per pixel and UpdateLayeredWindow exists.
    BOOL IsAlphaShadowAvailable() const;
    // The answer above, taken once at construction.
    BOOL IsAlphaShadow() const { return m_bAlphaShadow; }

    // Gives a popup its shadows; the exclude rectangle (screen coordinates) is the control that
    // opened it.
    void SetShadow(CWnd* pOwner, const CRect& rcExclude);
    // Gives the control that opened a popup its own shadows (screen coordinates), owned by the popup.
    void SetControlShadow(const CRect& rcControl, CWnd* pOwner);
    // Creates, places, shows and hooks one shadow side.
    CShadowWnd* CreateShadow(int nSide, const CRect& rcOwner, const CRect& rcExclude, CWnd* pOwner,
                             BOOL bControlShadow);
    // Unhooks and destroys every shadow of the owner.
    void RemoveShadows(CWnd* pOwner);
    // Hides the shadow, forgets its owner, takes it out of the list, destroys its window and
    // deletes it.
    void DestroyShadow(CShadowWnd* pShadow);
    // Follows a change of the owner's size by dx and dy (its right and bottom edges).
    void OffsetShadows(CWnd* pOwner, int dx, int dy);

    int GetShadowOptions() const { return m_nShadowOptions; }
    void SetShadowOptions(int nOptions) { m_nShadowOptions = nOptions; }
    COLORREF GetShadowColor() const { return m_clrShadow; }
    void SetShadowColor(COLORREF clr) { m_clrShadow = clr; }
    // Whether shadow windows are registered with CS_SAVEBITS | CS_OWNDC (TRUE by default).
    BOOL GetUseClassStyle() const { return m_bUseClassStyle; }
    void SetUseClassStyle(BOOL bUse) { m_bUseClassStyle = bUse; }
    PFNUPDATELAYEREDWINDOW GetUpdateLayeredWindow() const { return m_pfnUpdateLayeredWindow; }

    const CShadowList& GetShadows() const { return m_lstShadow; }

  private:
    BOOL m_bUseClassStyle;
    PFNUPDATELAYEREDWINDOW m_pfnUpdateLayeredWindow;
    CShadowList m_lstShadow;
    BOOL m_bAlphaShadow;
    int m_nShadowOptions;
    COLORREF m_clrShadow;
};
