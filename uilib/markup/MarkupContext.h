// Binds markup trees to one host window: parses markup text into element trees, creates elements
// so that they know it, supplies the default font and text colour, caches GDI fonts, turns
// element invalidations into window invalidations and owns the tooltip service of the window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "uilib/markup/MarkupObject.h"

class CWVPMarkupInputElement;
class CWVPMarkupDelegate;
class CWVPMarkupKeyboardNavigation;
class CWVPMarkupRoutedEventArgs;
class CWVPMarkupContext;
class CWVPMarkupUIElement;

// A GDI font of a context's cache; the cache list holds no references.
class CWVPMarkupFont : public CWVPMarkupObject
{
  public:
    CWVPMarkupFont(CWVPMarkupContext* owner, const LOGFONTW& description);
    ~CWVPMarkupFont() override;
    HFONT GetHandle() const { return m_hFont; }
    const LOGFONTW& GetDescription() const { return m_lf; }

  private:
    friend class CWVPMarkupContext;
    HFONT m_hFont;
    LOGFONTW m_lf;
    CWVPMarkupFont* m_pNext;
    CWVPMarkupContext* m_pOwner;
};

class CWVPMarkupContext
{
  public:
    class CTooltipContext;
    class CInputElementCollection;

    explicit CWVPMarkupContext(HWND hwnd = nullptr);
    virtual ~CWVPMarkupContext();
    // A message of the host window, relayed for the tree of the given root.
    virtual BOOL OnWndMsg(CWVPMarkupUIElement* root, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void OnInvalidateVisual(CWVPMarkupInputElement* element);
    virtual void OnInvalidateArrange(CWVPMarkupInputElement* element);

    static void RegisterAllTypes();

    LONG AddRef();
    LONG Release();
    CWVPMarkupObject* Parse(LPCWSTR text);
    // Parses and keeps the builder's error text (empty after a success).
    CWVPMarkupObject* Parse(LPCWSTR text, LPWSTR error, int errorSize);
    CWVPMarkupObject* CreateObject(CWVPMarkupType* type);
    void OnElementReleased(CWVPMarkupInputElement* element);
    // Takes the font's description as the default; when it really differs from the current one,
    // every tree of the context is measured again at its next measure.
    void SetDefaultFont(HFONT font);
    CWVPMarkupFont* GetFont(const LOGFONTW& description);
    void SetCapture(CWVPMarkupInputElement* element);
    void ReleaseCapture();
    CWVPMarkupDelegate* FindDelegate(LPCWSTR name) const;
    // Stores a delegate under a name (takes a reference); a later one replaces an earlier one.
    void AddDelegate(LPCWSTR name, CWVPMarkupDelegate* handler);
    void RaiseContextEvent(CWVPMarkupInputElement* element, CWVPMarkupRoutedEventArgs* args);
    RECT GetElementRect(CWVPMarkupInputElement* element) const;

    // Mouse routing of the host window's messages (OnWndMsg drives them).
    void HandleMouseMove(CWVPMarkupUIElement* root, int x, int y);
    void SetHoverElement(CWVPMarkupInputElement* element, int x, int y);
    BOOL HandleSetCursor();
    BOOL HandleMouseWheel(int delta);
    BOOL HandleMouseButton(UINT message, WPARAM wParam, LPARAM lParam);
    // The tool of the tooltip: the nearest input element from the hover element outwards whose
    // "ToolTip" is a string; -1 without one.
    INT_PTR HitTestToolTip(POINT point, TOOLINFOW* info);
    static void BuildInputChain(CWVPMarkupInputElement* element, CInputElementCollection* chain);
    static BOOL IsAncestorOrSelf(CWVPMarkupObject* ancestor, CWVPMarkupObject* element);

    HWND GetHwnd() const { return m_hWnd; }
    COLORREF GetDefaultTextColor() const { return m_clrDefaultText; }
    void SetDefaultTextColor(COLORREF color) { m_clrDefaultText = color; }
    const LOGFONTW& GetDefaultFont() const { return m_lfDefault; }
    CWVPMarkupInputElement* GetHoverElement() const { return m_pHoverElement; }
    CWVPMarkupInputElement* GetCapturedElement() const { return m_pCapturedElement; }
    CWVPMarkupKeyboardNavigation* GetKeyboardNavigation() const { return m_pKeyboardNavigation; }
    CTooltipContext* GetTooltipContext() const { return m_pTooltipContext; }
    LONG GetRefCount() const { return m_nRef; }
    // Changes with every real change of the default font; elements measured under an older value
    // measure again.
    LONG GetFontGeneration() const { return m_nFontGeneration; }

  private:
    friend class CWVPMarkupFont;
    struct DelegateEntry;

    HWND m_hWnd;
    COLORREF m_clrDefaultText;
    LOGFONTW m_lfDefault;
    CWVPMarkupInputElement* m_pHoverElement;
    CWVPMarkupInputElement* m_pCapturedElement;
    CWVPMarkupInputElement* m_pActiveRoot;
    CWVPMarkupFont* m_pFontHead;
    CWVPMarkupFont* m_pFontTail;
    DelegateEntry* m_pDelegates;
    CWVPMarkupKeyboardNavigation* m_pKeyboardNavigation;
    CTooltipContext* m_pTooltipContext;
    LONG m_nRef;
    LONG m_nFontGeneration;

    CWVPMarkupContext(const CWVPMarkupContext&) = delete;
    CWVPMarkupContext& operator=(const CWVPMarkupContext&) = delete;
};
