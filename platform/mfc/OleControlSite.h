// COleControlSite: the container side of one ActiveX control hosted in a framework window
// (CWnd::CreateControl): it is the control's client site, in-place site and frame, keeps the
// control's object and closes it when the host window goes.
#pragma once

#include <ole2.h>

class CWnd;

class COleControlSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame
{
  public:
    explicit COleControlSite(CWnd* host);
    COleControlSite(const COleControlSite&) = delete;
    COleControlSite& operator=(const COleControlSite&) = delete;

    // Creates the control and activates it in place inside the host window; false (nothing
    // left behind) where the control does not exist or refuses.
    HRESULT CreateControl(REFCLSID clsid, const RECT& rect);
    // Closes the control and lets it go; the site itself goes with its last reference.
    void Close();
    IUnknown* GetControlUnknown() const
    {
        return m_pObject;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override
    {
        return E_NOTIMPL;
    }
    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* hWnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override
    {
        return E_NOTIMPL;
    }
    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rect) override;
    // IOleInPlaceUIWindow and IOleInPlaceFrame: the host has no tool space or menus to share.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override
    {
        return INPLACE_E_NOTOOLSPACE;
    }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override
    {
        return INPLACE_E_NOTOOLSPACE;
    }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override
    {
        return S_FALSE;
    }

  private:
    ~COleControlSite() = default;

    LONG m_refs;
    CWnd* m_pHost;
    IOleObject* m_pObject;
};
