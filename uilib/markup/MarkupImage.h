// The image element of the markup language: one picture named by its source (a bitmap file, a
// bitmap or icon resource of the program, or the command id of an icon of the image manager),
// loaded each time the element is measured and drawn scaled to its render size.
#pragma once

#include "uilib/markup/MarkupFrameworkElement.h"

class CWVPImageManager;
class CWVPImageManagerIcon;

class CWVPMarkupImage : public CWVPMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupImage();
    ~CWVPMarkupImage() override;
    SIZE MeasureOverride(CWVPMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    void OnRender(CWVPMarkupDrawingContext* dc) override;

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pSourceProperty;

  private:
    void LoadSource();
    void ReleasePicture();

    CWVPImageManager* m_pImageManager;
    CWVPImageManagerIcon* m_pIcon;
};
