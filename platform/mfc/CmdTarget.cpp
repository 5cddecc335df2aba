#include "platform/mfc/CmdTarget.h"

#include "platform/mfc/WinApp.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

// The dispatch face of an automation-enabled command target: it answers no names, so callers
// learn that the object has no automation members, and forwards its reference count to the owner.
class CCmdTargetDispatch : public IDispatch
{
public:
    explicit CCmdTargetDispatch(CCmdTarget* owner) : m_owner(owner) {}
    CCmdTarget* m_owner;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        return (HRESULT)m_owner->ExternalQueryInterface(&iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_owner->ExternalAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_owner->ExternalRelease(); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override
    {
        for (UINT i = 0; ids && i < count; ++i)
            ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
};

const AFX_INTERFACEMAP_ENTRY CCmdTarget::_interfaceEntries[] = {{nullptr, (size_t)-1}};
const AFX_INTERFACEMAP CCmdTarget::interfaceMap = {nullptr, &CCmdTarget::_interfaceEntries[0]};

CCmdTarget::CCmdTarget() : m_dwRef(1), m_pOuterUnknown(nullptr), m_pDispatch(nullptr)
{
}

CCmdTarget::~CCmdTarget()
{
    delete static_cast<CCmdTargetDispatch*>(m_pDispatch);
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_INTERFACEMAP* CCmdTarget::GetThisInterfaceMap()
{
    return &interfaceMap;
}

const AFX_INTERFACEMAP* CCmdTarget::GetInterfaceMap() const
{
    return &interfaceMap;
}

BOOL PASCAL CCmdTarget::DispatchCmdMsg(CCmdTarget* target, UINT nID, int nCode, const AFX_MSGMAP_ENTRY* entry,
                                       void* pExtra)
{
    AFX_MSGCALL call = {};
    call.message = entry->nMessage;
    call.nID = nID;
    call.pExtra = pExtra;
    call.wParam = (WPARAM)(UINT)nCode;
    call.bHandled = TRUE;
    entry->pfn(target, call);
    return call.bHandled;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // Commands and update requests travel as WM_COMMAND with their code; notifications carry the
    // carrying message in the high word (WM_NOTIFY, or a reflected message).
    UINT message = WM_COMMAND;
    UINT code = (UINT)nCode;
    if (nCode != CN_UPDATE_COMMAND_UI && HIWORD((UINT)nCode) != 0)
    {
        message = HIWORD((UINT)nCode);
        code = (UINT)(int)(short)LOWORD((UINT)nCode);
    }
    // A reflected message goes back to the one control that sent it: its entries carry no id.
    const bool reflected = message >= WM_REFLECT_BASE && message <= WM_REFLECT_BASE + 0xFFF;

    const AFX_MSGMAP_ENTRY* taken =
        AfxWalkMessageMap(GetMessageMap(), message, code, reflected ? 0 : nID, [&](const AFX_MSGMAP_ENTRY& entry) {
            if (pHandlerInfo)
            {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pEntry = &entry;
                return true;
            }
            // A handler of the _EX kind may decline: the search goes on with the next entry.
            return DispatchCmdMsg(this, nID, nCode, &entry, pExtra) != FALSE;
        });
    return taken != nullptr;
}

DWORD CCmdTarget::InternalAddRef()
{
    return (DWORD)::InterlockedIncrement(&m_dwRef);
}

DWORD CCmdTarget::InternalRelease()
{
    if (m_dwRef == 0)
        return 0;
    long count = ::InterlockedDecrement(&m_dwRef);
    if (count == 0)
        OnFinalRelease();
    return (DWORD)count;
}

void CCmdTarget::OnFinalRelease()
{
    delete this;
}

LPUNKNOWN CCmdTarget::GetInterface(const void* iid)
{
    const IID& wanted = *static_cast<const IID*>(iid);
    for (const AFX_INTERFACEMAP* map = GetInterfaceMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_INTERFACEMAP_ENTRY* entry = map->pEntry; entry->nOffset != (size_t)-1; ++entry)
        {
            if (!entry->piid)
                continue;
            // IUnknown is answered by the first interface part of the most derived map.
            if (IsEqualIID(wanted, IID_IUnknown) || IsEqualIID(wanted, *entry->piid))
                return reinterpret_cast<LPUNKNOWN>(reinterpret_cast<BYTE*>(this) + entry->nOffset);
        }
    }
    if (m_pDispatch && (IsEqualIID(wanted, IID_IDispatch) || IsEqualIID(wanted, IID_IUnknown)))
        return m_pDispatch;
    return nullptr;
}

DWORD CCmdTarget::InternalQueryInterface(const void* iid, LPVOID* ppvObj)
{
    if (!ppvObj)
        return (DWORD)E_POINTER;
    LPUNKNOWN found = GetInterface(iid);
    *ppvObj = found;
    if (!found)
        return (DWORD)E_NOINTERFACE;
    InternalAddRef();
    return S_OK;
}

DWORD CCmdTarget::ExternalAddRef()
{
    return m_pOuterUnknown ? m_pOuterUnknown->AddRef() : InternalAddRef();
}

DWORD CCmdTarget::ExternalRelease()
{
    return m_pOuterUnknown ? m_pOuterUnknown->Release() : InternalRelease();
}

DWORD CCmdTarget::ExternalQueryInterface(const void* iid, LPVOID* ppvObj)
{
    if (m_pOuterUnknown)
        return (DWORD)m_pOuterUnknown->QueryInterface(*static_cast<const IID*>(iid), ppvObj);
    return InternalQueryInterface(iid, ppvObj);
}

LPUNKNOWN CCmdTarget::GetControllingUnknown()
{
    if (m_pOuterUnknown)
        return m_pOuterUnknown;
    return GetInterface(&IID_IUnknown);
}

void CCmdTarget::EnableAutomation()
{
    if (!m_pDispatch)
        m_pDispatch = new CCmdTargetDispatch(this);
}

LPDISPATCH CCmdTarget::GetIDispatch(BOOL addRef)
{
    if (!m_pDispatch)
        return nullptr;
    if (addRef)
        ExternalAddRef();
    return m_pDispatch;
}

CCmdTarget* PASCAL CCmdTarget::FromIDispatch(LPDISPATCH dispatch)
{
    if (!dispatch)
        return nullptr;
    // Only our own dispatch faces lead back to an object.
    static CCmdTargetDispatch probe(nullptr);
    if (*reinterpret_cast<void**>(dispatch) != *reinterpret_cast<void**>(static_cast<IDispatch*>(&probe)))
        return nullptr;
    return static_cast<CCmdTargetDispatch*>(dispatch)->m_owner;
}

void CCmdTarget::BeginWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->DoWaitCursor(0);
}
