#include <initguid.h>
#include "uilib/foundation/Accessible.h"

#include <cstddef>

#include "platform/mfc/CmdTarget.h"

LPCWSTR CWVPAccessible::s_oleAccName = L"oleacc.dll";

CWVPAccessible::CWVPAccessible()
    : m_pfnNotifyWinEvent(nullptr), m_pfnLresultFromObject(nullptr), m_pfnAccessibleObjectFromWindow(nullptr)
{
    if (m_user32.Init(L"user32.dll"))
        m_user32.GetProcAddress(&m_pfnNotifyWinEvent, "NotifyWinEvent");
}

CWVPAccessible::~CWVPAccessible() = default;

HRESULT CWVPAccessible::GetAccessibleParent(IDispatch**)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::GetAccessibleChildCount(LONG*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::GetAccessibleChild(VARIANT, IDispatch**)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::GetAccessibleName(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::GetAccessibleValue(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::GetAccessibleDescription(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::GetAccessibleRole(VARIANT, VARIANT*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::GetAccessibleState(VARIANT, VARIANT*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::GetAccessibleHelp(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::GetAccessibleHelpTopic(BSTR*, VARIANT, LONG*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::GetAccessibleKeyboardShortcut(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::GetAccessibleFocus(VARIANT*)
{
    return S_FALSE;
}
HRESULT CWVPAccessible::GetAccessibleSelection(VARIANT*)
{
    return S_FALSE;
}
HRESULT CWVPAccessible::GetAccessibleDefaultAction(VARIANT, BSTR*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::AccessibleSelect(LONG, VARIANT)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::AccessibleLocation(LONG*, LONG*, LONG*, LONG*, VARIANT)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::AccessibleNavigate(LONG, VARIANT, VARIANT*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::AccessibleHitTest(LONG, LONG, VARIANT*)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::AccessibleDoDefaultAction(VARIANT)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::PutAccessibleName(VARIANT, BSTR)
{
    return E_NOTIMPL;
}
HRESULT CWVPAccessible::PutAccessibleValue(VARIANT, BSTR)
{
    return E_NOTIMPL;
}
CCmdTarget* CWVPAccessible::GetAccessibleCmdTarget()
{
    return nullptr;
}

void CWVPAccessible::AccessibleNotifyWinEvent(DWORD event, HWND hwnd, LONG idObject, LONG idChild)
{
    if (m_pfnNotifyWinEvent)
        m_pfnNotifyWinEvent(event, hwnd, idObject, idChild);
}

bool CWVPAccessible::BindOleAcc()
{
    if (!m_oleacc.GetHandle() && !m_oleacc.LoadLibrary(s_oleAccName))
        return false;
    if (!m_pfnAccessibleObjectFromWindow)
        m_oleacc.GetProcAddress(&m_pfnAccessibleObjectFromWindow, "AccessibleObjectFromWindow");
    if (!m_pfnLresultFromObject)
        m_oleacc.GetProcAddress(&m_pfnLresultFromObject, "LresultFromObject");
    return true;
}

HRESULT CWVPAccessible::AccessibleObjectFromWindow(HWND hwnd, DWORD dwId, REFIID riid, void** ppvObject)
{
    if (!BindOleAcc() || !m_pfnAccessibleObjectFromWindow)
        return E_FAIL;
    return m_pfnAccessibleObjectFromWindow(hwnd, dwId, riid, ppvObject);
}

LRESULT CWVPAccessible::LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk)
{
    if (!BindOleAcc() || !m_pfnLresultFromObject)
        return E_FAIL;
    return m_pfnLresultFromObject(riid, wParam, punk);
}

// The face's owner: the object that holds m_xAccessible (a plain member of a class without
// virtual bases, so its offset is fixed).
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#define WVP_ACCESSIBLE_OWNER                                                                                           \
    CWVPAccessible* pThis =                                                                                            \
        reinterpret_cast<CWVPAccessible*>(reinterpret_cast<BYTE*>(this) - offsetof(CWVPAccessible, m_xAccessible));

ULONG STDMETHODCALLTYPE CWVPAccessible::XAccessible::AddRef()
{
    WVP_ACCESSIBLE_OWNER
    CCmdTarget* target = pThis->GetAccessibleCmdTarget();
    return target ? target->ExternalAddRef() : 1;
}

ULONG STDMETHODCALLTYPE CWVPAccessible::XAccessible::Release()
{
    WVP_ACCESSIBLE_OWNER
    CCmdTarget* target = pThis->GetAccessibleCmdTarget();
    return target ? target->ExternalRelease() : 1;
}

HRESULT STDMETHODCALLTYPE CWVPAccessible::XAccessible::QueryInterface(REFIID iid, LPVOID* ppvObj)
{
    WVP_ACCESSIBLE_OWNER
    CCmdTarget* target = pThis->GetAccessibleCmdTarget();
    if (!target)
    {
        if (ppvObj)
            *ppvObj = nullptr;
        return E_NOINTERFACE;
    }
    return (HRESULT)target->ExternalQueryInterface(&iid, ppvObj);
}

HRESULT STDMETHODCALLTYPE CWVPAccessible::XAccessible::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE CWVPAccessible::XAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE CWVPAccessible::XAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE CWVPAccessible::XAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                                              EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

#define WVP_FORWARD(method, owner, params, args)                                                                       \
    HRESULT STDMETHODCALLTYPE CWVPAccessible::XAccessible::method params                                               \
    {                                                                                                                  \
        WVP_ACCESSIBLE_OWNER                                                                                           \
        return pThis->owner args;                                                                                      \
    }

WVP_FORWARD(get_accParent, GetAccessibleParent, (IDispatch * *p), (p))
WVP_FORWARD(get_accChildCount, GetAccessibleChildCount, (LONG * p), (p))
WVP_FORWARD(get_accChild, GetAccessibleChild, (VARIANT v, IDispatch** p), (v, p))
WVP_FORWARD(get_accName, GetAccessibleName, (VARIANT v, BSTR* p), (v, p))
WVP_FORWARD(get_accValue, GetAccessibleValue, (VARIANT v, BSTR* p), (v, p))
WVP_FORWARD(get_accDescription, GetAccessibleDescription, (VARIANT v, BSTR* p), (v, p))
WVP_FORWARD(get_accRole, GetAccessibleRole, (VARIANT v, VARIANT* p), (v, p))
WVP_FORWARD(get_accState, GetAccessibleState, (VARIANT v, VARIANT* p), (v, p))
WVP_FORWARD(get_accHelp, GetAccessibleHelp, (VARIANT v, BSTR* p), (v, p))
WVP_FORWARD(get_accHelpTopic, GetAccessibleHelpTopic, (BSTR * f, VARIANT v, LONG* t), (f, v, t))
WVP_FORWARD(get_accKeyboardShortcut, GetAccessibleKeyboardShortcut, (VARIANT v, BSTR* p), (v, p))
WVP_FORWARD(get_accFocus, GetAccessibleFocus, (VARIANT * p), (p))
WVP_FORWARD(get_accSelection, GetAccessibleSelection, (VARIANT * p), (p))
WVP_FORWARD(get_accDefaultAction, GetAccessibleDefaultAction, (VARIANT v, BSTR* p), (v, p))
WVP_FORWARD(accSelect, AccessibleSelect, (LONG f, VARIANT v), (f, v))
WVP_FORWARD(accLocation, AccessibleLocation, (LONG * x, LONG* y, LONG* w, LONG* h, VARIANT v), (x, y, w, h, v))
WVP_FORWARD(accNavigate, AccessibleNavigate, (LONG d, VARIANT s, VARIANT* e), (d, s, e))
WVP_FORWARD(accHitTest, AccessibleHitTest, (LONG x, LONG y, VARIANT* p), (x, y, p))
WVP_FORWARD(accDoDefaultAction, AccessibleDoDefaultAction, (VARIANT v), (v))
WVP_FORWARD(put_accName, PutAccessibleName, (VARIANT v, BSTR s), (v, s))
WVP_FORWARD(put_accValue, PutAccessibleValue, (VARIANT v, BSTR s), (v, s))

LONG WVPGetChildIndex(const VARIANT& varChild)
{
    const VARIANT* current = &varChild;
    // A by-reference variant may point at another; a chain longer than this is not a child id.
    for (int depth = 0; depth < 8; ++depth)
    {
        switch (V_VT(current))
        {
        case VT_EMPTY:
            return 0;
        case VT_I2:
            return V_I2(current);
        case VT_I4:
            return V_I4(current);
        case VT_I2 | VT_BYREF:
            return V_I2REF(current) ? *V_I2REF(current) : -1;
        case VT_I4 | VT_BYREF:
            return V_I4REF(current) ? *V_I4REF(current) : -1;
        case VT_VARIANT | VT_BYREF:
            if (!V_VARIANTREF(current))
                return -1;
            current = V_VARIANTREF(current);
            break;
        default:
            return -1;
        }
    }
    return -1;
}
