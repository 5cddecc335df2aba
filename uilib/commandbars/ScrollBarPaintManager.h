#pragma once
// Draws the scroll bars of command-bar controls (galleries) from the system's sizes; the slider
// and gallery painters derive from it. One belongs to each command-bar paint manager.
#include "platform/mfc/Mfc.h"
#include "uilib/foundation/WinThemeWrapper.h"

class CWVPPaintManager;
class CWVPScrollBase;

class CWVPScrollBarPaintManager
{
  public:
    explicit CWVPScrollBarPaintManager(CWVPPaintManager* paintManager);
    virtual ~CWVPScrollBarPaintManager() = default;
    CWVPScrollBarPaintManager(const CWVPScrollBarPaintManager&) = delete;
    CWVPScrollBarPaintManager& operator=(const CWVPScrollBarPaintManager&) = delete;

    // Draws the scroll bar of a scroll base in its style, with its hot and pressed parts.
    virtual void DrawScrollBar(CDC* pDC, CWVPScrollBase* pScroll);
    // Reads the system's scroll-bar sizes again and reopens the "SCROLLBAR" visual style.
    virtual void RefreshMetrics();

    CWVPPaintManager* GetPaintManager() const
    {
        return m_pPaintManager;
    }

    int m_cxHScroll;
    int m_cyHScroll;
    int m_cyVScroll;
    int m_cxVScroll;
    int m_nThumbSize;
    CWVPWinThemeWrapper m_themeScrollBar;

  protected:
    CWVPPaintManager* m_pPaintManager;
};
