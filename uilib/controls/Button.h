#pragma once
// The library's button: push buttons (plain, flat, drop-down and split), check boxes, radio
// buttons and group boxes drawn by their theme with hot tracking, an icon with state variants and
// visual styles where available. The application's windows use it for their buttons.
#include "platform/mfc/Mfc.h"

class CWVPButtonTheme;
class CWVPImageManagerIcon;

class CWVPButton : public CButton
{
    DECLARE_DYNAMIC(CWVPButton)

  public:
    // Push styles: a plain button, a drop-down (arrow down or right) and a split drop-down.
    enum PushStyle
    {
        pushNormal = 0,
        pushDropDown = 1,
        pushDropDownRight = 2,
        pushSplitDropDown = 3,
    };
    // How image and text share a push button.
    enum ImageTextRelation
    {
        relationOverlay = 0,
        relationImageAboveText = 1,
        relationTextAboveImage = 2,
        relationImageBeforeText = 3,
        relationTextBeforeImage = 4,
    };
    enum GroupBoxStyle
    {
        groupFrame = 0,
        groupLine = 1,
        groupNone = 2,
    };
    // The notification code of a drop-down click (WM_COMMAND from the button).
    static const UINT kDropDownCode = 7;

    CWVPButton();
    ~CWVPButton() override;

    virtual int IsPushed() const;
    virtual BOOL IsHighlighted() const;
    virtual int GetChecked() const;
    virtual DWORD GetTextAlignment() const;
    virtual DWORD GetImageAlignment() const;
    virtual CSize GetImageSize() const;
    virtual void DrawImage(CDC* pDC, const CRect& rc);
    // The icon from a normal and a hot icon handle (the hot one may be null); the size is the
    // normal icon's own when zero. 0 when the images cannot be made.
    virtual BOOL SetIcon(CSize size, HICON hIcon, HICON hIconHot = nullptr, BOOL bRedraw = TRUE);
    virtual BOOL SetIcon(CSize size, LPCWSTR lpszNormal, LPCWSTR lpszHot = nullptr, BOOL bRedraw = TRUE);
    virtual BOOL SetIcon(CSize size, UINT nNormalId, UINT nHotId = 0, BOOL bRedraw = TRUE);
    virtual BOOL SetBitmap(CSize size, UINT nId);
    virtual CString GetButtonText();
    virtual COLORREF GetTextColor();
    virtual COLORREF GetBackColor();
    virtual void NotifyClick();
    virtual void OnDraw(CDC* pDC);
    virtual void UpdateMarkupText();
    virtual void DrawButton(CDC* pDC);

    CWVPButtonTheme* GetTheme() const
    {
        return m_pTheme;
    }
    CWVPImageManagerIcon* GetButtonIcon() const
    {
        return m_pIcon;
    }
    BOOL IsPushLike() const;
    UINT GetButtonType() const
    {
        return GetStyle() & BS_TYPEMASK;
    }
    BOOL IsHot() const
    {
        return m_bHot;
    }

    int m_nChecked;
    BOOL m_bFlat;
    BOOL m_bUseVisualStyle;
    DWORD m_dwImageAlignment;
    int m_nBorderGap;
    int m_nPushButtonStyle;
    int m_nImageGap;
    int m_nImageTextRelation;
    int m_nGroupBoxStyle;
    BOOL m_bShowFocus;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void SetButtonIcon(CWVPImageManagerIcon* pIcon, BOOL bRedraw);
    void DropDownClick();
    void OnMouseMove(CPoint point);
    BOOL IsDropDownKey(UINT nKey, bool bKeyDown) const;
    // Runs the default handling with WS_VISIBLE removed, so that the system paints nothing.
    LRESULT DefaultHidden(UINT message, WPARAM wParam, LPARAM lParam);

    int m_nPushed;
    BOOL m_bHot;
    CWVPButtonTheme* m_pTheme;
    CWVPImageManagerIcon* m_pIcon;
};
