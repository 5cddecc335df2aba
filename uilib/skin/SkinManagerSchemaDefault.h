#pragma once
// The drawing half of the schema: paints a part of any skin class from its properties, as a
// bitmap cut into states with a glyph over it, as a bordered fill, or not at all. The resource
// file makes one per loaded skin.
#include "uilib/skin/SkinManagerSchema.h"

#include <memory>
#include <vector>

class CWVPSkinImage;

class CWVPSkinManagerSchemaDefault : public CWVPSkinManagerSchema
{
  public:
    explicit CWVPSkinManagerSchemaDefault(CWVPSkinManager* pManager);

    BOOL DrawThemeBackground(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId,
                             const RECT* pRect) override;
    RECT CalcFrameBorders(DWORD dwStyle, DWORD dwExStyle) override;
    void DrawThemeFrame(HDC hDC, CWVPSkinObjectFrame* pFrame) override;
    int DrawThemeFrameButtons(HDC hDC, CWVPSkinObjectFrame* pFrame) override;
    void DrawThemeScrollBar(HDC hDC, CWVPSkinObjectFrame* pFrame, void* pSBInfo) override;
    HRGN CalcFrameRegion(CWVPSkinObjectFrame* pFrame, int nWidth, int nHeight) override;
    void RefreshMetrics() override;

    // The shape of a caption's corners, cut from the caption image's key-coloured pixels.
    struct FRAMEREGION
    {
        int nCaptionHeight = 0;
        DWORD dwToolWindow = 0;
        HRGN hLeft = nullptr;  // from the window's left edge
        HRGN hRight = nullptr; // from the right margin's start
        RECT rcMargins = {};
        int nTopRows = 0; // rows transparent between the margins
        bool bTemporary = false;
        ~FRAMEREGION();
    };

  protected:
    // The cached shape for the caption height and kind, or a new one; null when the caption has
    // no image to cut it from.
    FRAMEREGION* GetFrameRegion(int nCaptionHeight, DWORD dwToolWindow, int nWidth);
    FRAMEREGION* MakeFrameRegion(int nCaptionHeight, DWORD dwToolWindow, int nWidth);
    std::vector<std::unique_ptr<FRAMEREGION>> m_arrFrameRegions;
    // The frame of a window without a full caption: edges and bands by its styles.
    void DrawNonCaptionFrame(HDC hDC, HWND hWnd, RECT rc);
    HICON GetFrameIcon(HWND hWnd) const;
    BOOL DrawThemeBorderFill(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId, RECT rc);
    BOOL DrawThemeGlyph(HDC hDC, CWVPSkinManagerClass* pClass, int nPartId, int nStateId, const RECT& rc);
    // The source rectangle of a state in an image of count states.
    static RECT GetStateRect(const SIZE& frame, int nStateId, int nCount, bool bHorizontal);
};
