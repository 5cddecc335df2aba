#include "platform/mfc/OleControlSite.h"

#include "platform/mfc/Wnd.h"

COleControlSite::COleControlSite(CWnd* host) : m_refs(1), m_pHost(host), m_pObject(nullptr)
{
}

HRESULT COleControlSite::CreateControl(REFCLSID clsid, const RECT& rect)
{
    IOleObject* object = nullptr;
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IOleObject,
                                    (void**)&object);
    if (FAILED(hr))
        return hr;
    m_pObject = object;
    hr = object->SetClientSite(this);
    if (SUCCEEDED(hr))
    {
        RECT place = rect;
        hr = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_pHost->m_hWnd, &place);
    }
    if (FAILED(hr))
        Close();
    return hr;
}

void COleControlSite::Close()
{
    IOleObject* object = m_pObject;
    m_pObject = nullptr;
    if (!object)
        return;
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    object->Release();
}

HRESULT COleControlSite::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
        *object = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
        *object = static_cast<IOleInPlaceSite*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame))
        *object = static_cast<IOleInPlaceFrame*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG COleControlSite::AddRef()
{
    return (ULONG)::InterlockedIncrement(&m_refs);
}

ULONG COleControlSite::Release()
{
    LONG refs = ::InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return (ULONG)refs;
}

HRESULT COleControlSite::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT COleControlSite::GetContainer(IOleContainer** container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT COleControlSite::GetWindow(HWND* hWnd)
{
    if (!hWnd)
        return E_POINTER;
    *hWnd = m_pHost ? m_pHost->m_hWnd : nullptr;
    return *hWnd ? S_OK : E_FAIL;
}

HRESULT COleControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                          LPOLEINPLACEFRAMEINFO info)
{
    if (!frame || !doc || !pos || !clip || !info)
        return E_POINTER;
    *frame = this;
    AddRef();
    *doc = nullptr;
    // The control fills the host window.
    ::GetClientRect(m_pHost->m_hWnd, pos);
    *clip = *pos;
    info->fMDIApp = FALSE;
    info->hwndFrame = ::GetAncestor(m_pHost->m_hWnd, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT COleControlSite::OnPosRectChange(LPCRECT rect)
{
    IOleInPlaceObject* inPlace = nullptr;
    if (rect && m_pObject && SUCCEEDED(m_pObject->QueryInterface(IID_IOleInPlaceObject, (void**)&inPlace)))
    {
        inPlace->SetObjectRects(rect, rect);
        inPlace->Release();
    }
    return S_OK;
}
