// Command targets as COM objects: the interface map answers the interfaces the object exposes
// (IUnknown through the first part), every part shares the object's one reference count, the
// last release runs OnFinalRelease, and automation gives a dispatch face that leads back.
#include "RwTest.h"

#include "platform/mfc/Mfc.h"

#include <ocidl.h>

namespace
{
int g_finalReleases = 0;

class CHost : public CCmdTarget
{
public:
    CHost() { EnableAutomation(); }
    void OnFinalRelease() override
    {
        ++g_finalReleases;
        CCmdTarget::OnFinalRelease();
    }

    BEGIN_INTERFACE_PART(Window, IOleWindow)
    STDMETHOD(GetWindow)(HWND* window) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    END_INTERFACE_PART(Window)

    BEGIN_INTERFACE_PART(Persist, IPersist)
    STDMETHOD(GetClassID)(CLSID* clsid) override;
    END_INTERFACE_PART(Persist)

    DECLARE_INTERFACE_MAP()
};

BEGIN_INTERFACE_MAP(CHost, CCmdTarget)
INTERFACE_PART(CHost, IID_IOleWindow, Window)
INTERFACE_PART(CHost, IID_IPersist, Persist)
END_INTERFACE_MAP()

IMPLEMENT_IUNKNOWN(CHost, Window)
IMPLEMENT_IUNKNOWN(CHost, Persist)

HRESULT STDMETHODCALLTYPE CHost::XWindow::GetWindow(HWND* window)
{
    METHOD_PROLOGUE(CHost, Window)
    *window = reinterpret_cast<HWND>(pThis); // proves the part finds its object
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CHost::XPersist::GetClassID(CLSID* clsid)
{
    *clsid = CLSID_NULL;
    return S_OK;
}

TEST(CmdTargetTest, TheInterfaceMapAnswersItsInterfacesAndSharesOneCount)
{
    g_finalReleases = 0;
    CHost* host = new CHost;

    IOleWindow* window = nullptr;
    ASSERT_EQ(S_OK, (HRESULT)host->ExternalQueryInterface(&IID_IOleWindow, (void**)&window));
    HWND back = nullptr;
    EXPECT_EQ(S_OK, window->GetWindow(&back));
    EXPECT_EQ(reinterpret_cast<HWND>(host), back);

    IPersist* persist = nullptr;
    ASSERT_EQ(S_OK, window->QueryInterface(IID_IPersist, (void**)&persist));
    IUnknown* unknown1 = nullptr;
    IUnknown* unknown2 = nullptr;
    window->QueryInterface(IID_IUnknown, (void**)&unknown1);
    persist->QueryInterface(IID_IUnknown, (void**)&unknown2);
    EXPECT_EQ(unknown1, unknown2); // one identity
    EXPECT_EQ(static_cast<IUnknown*>(window), unknown1);

    IStream* stream = reinterpret_cast<IStream*>(1);
    EXPECT_EQ(E_NOINTERFACE, window->QueryInterface(IID_IStream, (void**)&stream));
    EXPECT_EQ(nullptr, stream);

    // Automation: the dispatch face answers no names and leads back to the object.
    IDispatch* dispatch = host->GetIDispatch(TRUE);
    ASSERT_NE(nullptr, dispatch);
    EXPECT_EQ(host, CCmdTarget::FromIDispatch(dispatch));
    UINT count = 5;
    EXPECT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
    EXPECT_EQ(0u, count);

    // 1 (creation) + window + persist + two IUnknowns + dispatch = 6 references.
    EXPECT_EQ(6, host->m_dwRef);
    dispatch->Release();
    unknown2->Release();
    unknown1->Release();
    persist->Release();
    window->Release();
    EXPECT_EQ(0, g_finalReleases);
    EXPECT_EQ(0u, host->InternalRelease());
    EXPECT_EQ(1, g_finalReleases);
}
}
