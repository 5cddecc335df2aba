// The base of every markup element that takes part in input: handlers of routed events attached
// by name from markup, a cursor and a tooltip, the mouse-over and focus flags, a style with its
// triggers, and resources. Routed events are registered like properties of their owner.
#pragma once

#include "uilib/markup/MarkupDependencyProperty.h"

class CWVPMarkupContext;
class CWVPMarkupStyle;
class CWVPMarkupInputElement;
class CWVPMarkupTriggerCollection;
class CWVPMarkupProperties;

class CWVPMarkupRoutedEvent : public CWVPMarkupDependencyProperty
{
  public:
    BOOL IsEvent() const override;
    // strategy 0: direct, 1: bubbling.
    static CWVPMarkupRoutedEvent* RegisterRoutedEvent(LPCWSTR name, int strategy, CWVPMarkupType* ownerType);
    BOOL IsBubbling() const { return (GetFlags() & 1) != 0; }
};

class CWVPMarkupRoutedEventArgs
{
  public:
    CWVPMarkupRoutedEventArgs(CWVPMarkupRoutedEvent* event, CWVPMarkupInputElement* source)
        : m_pEvent(event), m_pSource(source), m_bHandled(FALSE)
    {
    }
    CWVPMarkupRoutedEvent* m_pEvent;
    CWVPMarkupInputElement* m_pSource;
    BOOL m_bHandled;
};

class CWVPMarkupMouseEventArgs : public CWVPMarkupRoutedEventArgs
{
  public:
    CWVPMarkupMouseEventArgs(CWVPMarkupRoutedEvent* event, CWVPMarkupInputElement* source, HWND hwnd, int x, int y)
        : CWVPMarkupRoutedEventArgs(event, source), m_hWnd(hwnd), m_nX(x), m_nY(y)
    {
    }
    POINT GetPosition(CWVPMarkupInputElement* element) const;
    HWND m_hWnd;
    int m_nX, m_nY;
};

class CWVPMarkupMouseWheelEventArgs : public CWVPMarkupMouseEventArgs
{
  public:
    using CWVPMarkupMouseEventArgs::CWVPMarkupMouseEventArgs;
    int m_nDelta = 0;
};

class CWVPMarkupQueryCursorEventArgs : public CWVPMarkupMouseEventArgs
{
  public:
    using CWVPMarkupMouseEventArgs::CWVPMarkupMouseEventArgs;
    HCURSOR m_hCursor = nullptr;
};

// A handler of routed events, reference counted; the context looks delegates up by name.
class CWVPMarkupDelegate
{
  public:
    CWVPMarkupDelegate() : m_nRef(1) {}
    virtual ~CWVPMarkupDelegate() {}
    virtual void OnEvent(CWVPMarkupObject* sender, CWVPMarkupRoutedEventArgs* args) = 0;
    LONG AddRef() { return ::InterlockedIncrement(&m_nRef); }
    LONG Release()
    {
        LONG n = ::InterlockedDecrement(&m_nRef);
        if (n == 0)
            delete this;
        return n;
    }

  private:
    LONG m_nRef;
};

class CWVPMarkupInputElement : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupInputElement();
    ~CWVPMarkupInputElement() override;
    CWVPMarkupObject* GetValueCore(CWVPMarkupDependencyProperty* property) const override;
    void SetPropertyObject(CWVPMarkupBuilder* builder, CWVPMarkupDependencyProperty* property,
                           CWVPMarkupObject* value) override;
    void OnFinalRelease() override;

    virtual void OnMouseLeave(CWVPMarkupMouseEventArgs* args);
    virtual void OnMouseEnter(CWVPMarkupMouseEventArgs* args);
    virtual void OnMouseMove(CWVPMarkupMouseEventArgs* args);
    virtual void OnQueryCursor(CWVPMarkupQueryCursorEventArgs* args);
    virtual void OnMouseLeftButtonUp(CWVPMarkupMouseEventArgs* args);
    virtual void OnMouseRightButtonUp(CWVPMarkupMouseEventArgs* args);
    virtual void OnMouseLeftButtonDown(CWVPMarkupMouseEventArgs* args);
    virtual void OnMouseRightButtonDown(CWVPMarkupMouseEventArgs* args);
    virtual void OnLostMouseCapture(CWVPMarkupMouseEventArgs* args);
    virtual void OnMouseWheel(CWVPMarkupMouseWheelEventArgs* args);
    virtual CWVPMarkupInputElement* InputHitTest(POINT point);
    virtual void UpdateStyle();

    void AddHandler(CWVPMarkupRoutedEvent* event, CWVPMarkupDelegate* handler);
    void RaiseEvent(CWVPMarkupRoutedEventArgs* args);
    void CaptureMouse();
    void ReleaseMouseCapture();
    void Focus();
    CWVPMarkupObject* FindResource(CWVPMarkupObject* key);
    static void ApplyStyles(CWVPMarkupObject* object);
    void UpdateTriggers(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value);
    BOOL CollectTriggers(CWVPMarkupStyle* style, CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value);

    CWVPMarkupContext* GetMarkupContext() const { return m_pContext; }
    void SetMarkupContext(CWVPMarkupContext* context) { m_pContext = context; }
    CWVPMarkupStyle* GetCurrentStyle() const { return m_pCurrentStyle; }
    void SetCurrentStyle(CWVPMarkupStyle* style) { m_pCurrentStyle = style; }
    CWVPMarkupTriggerCollection* GetActiveTriggers() const { return m_pActiveTriggers; }

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pCursorProperty;
    static CWVPMarkupDependencyProperty* s_pIsMouseOverProperty;
    static CWVPMarkupDependencyProperty* s_pResourcesProperty;
    static CWVPMarkupDependencyProperty* s_pStyleProperty;
    static CWVPMarkupDependencyProperty* s_pIsKeyboardFocusedProperty;
    static CWVPMarkupDependencyProperty* s_pIsFocusableProperty;
    static CWVPMarkupDependencyProperty* s_pToolTipProperty;
    static CWVPMarkupRoutedEvent* s_pMouseLeaveEvent;
    static CWVPMarkupRoutedEvent* s_pMouseEnterEvent;
    static CWVPMarkupRoutedEvent* s_pMouseLeftButtonUpEvent;
    static CWVPMarkupRoutedEvent* s_pMouseLeftButtonDownEvent;
    static CWVPMarkupRoutedEvent* s_pMouseRightButtonUpEvent;
    static CWVPMarkupRoutedEvent* s_pMouseRightButtonDownEvent;
    static CWVPMarkupRoutedEvent* s_pMouseMoveEvent;
    static CWVPMarkupRoutedEvent* s_pLostMouseCaptureEvent;

  protected:
    struct HandlerList;
    void CallHandlers(CWVPMarkupRoutedEventArgs* args);

    HandlerList* m_pHandlers;
    CWVPMarkupContext* m_pContext;
    CWVPMarkupTriggerCollection* m_pActiveTriggers;
    CWVPMarkupProperties* m_pTriggerValues;
    CWVPMarkupStyle* m_pCurrentStyle;
};
