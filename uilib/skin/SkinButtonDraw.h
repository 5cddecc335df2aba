#pragma once
// Draws a button window (push button, check box, radio button, group box, user button) from the
// skin's BUTTON class, laid out by the button's style: the painting half of the button skin
// object, which keeps the hot and pushed flags and hands in the background brush.
#include <windows.h>

class CWVPSkinManager;
class CWVPSkinManagerClass;

class CWVPSkinButtonDraw
{
  public:
    // Parts of the schema's BUTTON class.
    enum Part
    {
        kPartPushButton = 1,
        kPartRadioButton = 2,
        kPartCheckBox = 3,
        kPartGroupBox = 4,
    };
    // What CalcRect computes.
    enum RectKind
    {
        kRectCheckGlyph = 1,
        kRectRadioGlyph,
        kRectCheckText,
        kRectRadioText,
        kRectGroupCaption,
        kRectGroupFrame,
        kRectPushContent,
    };
    // Button kinds above this one (owner-drawn) keep the system's drawing.
    static const int kLastSkinnedKind = 10;
    static const BYTE kNoKindOverride = 255;

    CWVPSkinButtonDraw(HWND hWnd, CWVPSkinManager* pManager) : m_hWnd(hWnd), m_pManager(pManager)
    {
    }

    // The whole button into the DC: group boxes of ordinary windows straight onto it, everything
    // else through a double buffer filled first with the background brush (the parent's answer to
    // WM_CTLCOLORBTN).
    void OnDraw(HDC hDC, HBRUSH hBackground, bool bDirectGroupBox = true);
    // Background part and content of the button into the rectangle (the client rectangle).
    void DrawButton(HDC hDC, const RECT& rc, HBRUSH hBackground);
    void DrawButtonText(HDC hDC);
    // One of the layout rectangles, always starting from the client rectangle.
    RECT CalcRect(HDC hDC, int nKind) const;

    // The button kind: the low four style bits unless overridden.
    int GetButtonStyle() const;
    bool IsPushButton() const;
    // The state of the button's background part as DrawButton draws it.
    int GetPartState() const;
    int GetPart() const;
    // Horizontal (BS_LEFT, BS_RIGHT, BS_CENTER) and vertical (BS_TOP, BS_BOTTOM, BS_VCENTER) bits.
    DWORD GetAlignment() const;
    SIZE GetGlyphSize(HDC hDC, int nPart) const;

    bool m_bHot = false;
    bool m_bPushed = false;
    BYTE m_nKindOverride = kNoKindOverride;

  private:
    CWVPSkinManagerClass* GetSkinClass() const;
    RECT GetTextRect(HDC hDC) const;

    HWND m_hWnd;
    CWVPSkinManager* m_pManager;
};
