// The common base of the markup buttons: press and release with mouse capture, the hot state
// while the mouse is over it, a click on a release inside it, and the visual-style handle of the
// "BUTTON" class its derived classes draw with. A disabled button takes no press.
#pragma once

#include "uilib/foundation/WinThemeWrapper.h"
#include "uilib/markup/MarkupContentControl.h"

class CWVPMarkupRoutedEvent;
class CWVPMarkupSolidColorBrush;

class CWVPMarkupButtonBase : public CWVPMarkupContentControl
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupButtonBase();
    ~CWVPMarkupButtonBase() override;
    CWVPMarkupObject* GetValueCore(CWVPMarkupDependencyProperty* property) const override;
    void OnPropertyChanged(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* oldValue,
                           CWVPMarkupObject* newValue) override;

    void OnMouseLeave(CWVPMarkupMouseEventArgs* args) override;
    void OnMouseEnter(CWVPMarkupMouseEventArgs* args) override;
    void OnMouseLeftButtonUp(CWVPMarkupMouseEventArgs* args) override;
    void OnMouseLeftButtonDown(CWVPMarkupMouseEventArgs* args) override;
    void OnLostMouseCapture(CWVPMarkupMouseEventArgs* args) override;
    virtual void OnClick();

    BOOL IsPressed() const;
    BOOL IsMouseOver() const;
    BOOL IsEnabled() const;
    // Whether the mouse is over the button, also while a press holds the capture.
    BOOL IsHot() const
    {
        return m_bHot;
    }

    static void RegisterProperties();
    static CWVPMarkupRoutedEvent* s_pClickEvent;
    static CWVPMarkupDependencyProperty* s_pIsPressedProperty;

  protected:
    // Opens the visual style of the "BUTTON" class again (the measure passes call it).
    void OpenTheme();
    BOOL IsThemeUsable()
    {
        return m_theme.IsThemeUsable();
    }
    CWVPWinThemeWrapper& Theme()
    {
        return m_theme;
    }
    // The dotted focus rectangle of keyboard focus.
    static void DrawFocusCue(CWVPMarkupDrawingContext* dc, RECT rect);

  private:
    void SetPressed();
    void ClearPressed();

    BOOL m_bPressed;
    BOOL m_bHot;
    CWVPWinThemeWrapper m_theme;
    // The greyed text colour that a disabled button's content inherits, made on first use.
    mutable CWVPMarkupSolidColorBrush* m_pDisabledForeground;
};
