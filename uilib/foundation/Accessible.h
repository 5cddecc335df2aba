// The accessibility base of library objects (bars and controls): an IAccessible face whose
// operations call this object's overridable ones, with NotifyWinEvent and the oleacc functions
// bound at run time. The derived command target gives the face its COM identity.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include "uilib/foundation/ModuleHandle.h"

class CCmdTarget;

class CWVPAccessible
{
  public:
    CWVPAccessible();
    virtual ~CWVPAccessible();
    CWVPAccessible(const CWVPAccessible&) = delete;
    CWVPAccessible& operator=(const CWVPAccessible&) = delete;

    virtual HRESULT GetAccessibleParent(IDispatch** ppdispParent);
    virtual HRESULT GetAccessibleChildCount(LONG* pcountChildren);
    virtual HRESULT GetAccessibleChild(VARIANT varChild, IDispatch** ppdispChild);
    virtual HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName);
    virtual HRESULT GetAccessibleValue(VARIANT varChild, BSTR* pszValue);
    virtual HRESULT GetAccessibleDescription(VARIANT varChild, BSTR* pszDescription);
    virtual HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole);
    virtual HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState);
    virtual HRESULT GetAccessibleHelp(VARIANT varChild, BSTR* pszHelp);
    virtual HRESULT GetAccessibleHelpTopic(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic);
    virtual HRESULT GetAccessibleKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut);
    virtual HRESULT GetAccessibleFocus(VARIANT* pvarChild);
    virtual HRESULT GetAccessibleSelection(VARIANT* pvarChildren);
    virtual HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction);
    virtual HRESULT AccessibleSelect(LONG flagsSelect, VARIANT varChild);
    virtual HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight, VARIANT varChild);
    virtual HRESULT AccessibleNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt);
    virtual HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild);
    virtual HRESULT AccessibleDoDefaultAction(VARIANT varChild);
    virtual HRESULT PutAccessibleName(VARIANT varChild, BSTR szName);
    virtual HRESULT PutAccessibleValue(VARIANT varChild, BSTR szValue);
    // The command target that carries this object's COM identity (reference count, interfaces).
    virtual CCmdTarget* GetAccessibleCmdTarget();

    void AccessibleNotifyWinEvent(DWORD event, HWND hwnd, LONG idObject, LONG idChild);
    HRESULT AccessibleObjectFromWindow(HWND hwnd, DWORD dwId, REFIID riid, void** ppvObject);
    LRESULT LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk);

    // The accessibility library's file name; a test may point it at a module that does not exist.
    static LPCWSTR s_oleAccName;

    class XAccessible : public IAccessible
    {
      public:
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(QueryInterface)(REFIID iid, LPVOID* ppvObj) override;
        STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
        STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
        STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
        STDMETHOD(Invoke)
        (DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
         UINT* argErr) override;
        STDMETHOD(get_accParent)(IDispatch** ppdispParent) override;
        STDMETHOD(get_accChildCount)(LONG* pcountChildren) override;
        STDMETHOD(get_accChild)(VARIANT varChild, IDispatch** ppdispChild) override;
        STDMETHOD(get_accName)(VARIANT varChild, BSTR* pszName) override;
        STDMETHOD(get_accValue)(VARIANT varChild, BSTR* pszValue) override;
        STDMETHOD(get_accDescription)(VARIANT varChild, BSTR* pszDescription) override;
        STDMETHOD(get_accRole)(VARIANT varChild, VARIANT* pvarRole) override;
        STDMETHOD(get_accState)(VARIANT varChild, VARIANT* pvarState) override;
        STDMETHOD(get_accHelp)(VARIANT varChild, BSTR* pszHelp) override;
        STDMETHOD(get_accHelpTopic)(BSTR* pszHelpFile, VARIANT varChild, LONG* pidTopic) override;
        STDMETHOD(get_accKeyboardShortcut)(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
        STDMETHOD(get_accFocus)(VARIANT* pvarChild) override;
        STDMETHOD(get_accSelection)(VARIANT* pvarChildren) override;
        STDMETHOD(get_accDefaultAction)(VARIANT varChild, BSTR* pszDefaultAction) override;
        STDMETHOD(accSelect)(LONG flagsSelect, VARIANT varChild) override;
        STDMETHOD(accLocation)(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight, VARIANT varChild) override;
        STDMETHOD(accNavigate)(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
        STDMETHOD(accHitTest)(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
        STDMETHOD(accDoDefaultAction)(VARIANT varChild) override;
        STDMETHOD(put_accName)(VARIANT varChild, BSTR szName) override;
        STDMETHOD(put_accValue)(VARIANT varChild, BSTR szValue) override;
    } m_xAccessible;
    friend class XAccessible;

  private:
    typedef void(WINAPI* NotifyWinEventProc)(DWORD, HWND, LONG, LONG);
    typedef LRESULT(WINAPI* LresultFromObjectProc)(REFIID, WPARAM, LPUNKNOWN);
    typedef HRESULT(WINAPI* AccessibleObjectFromWindowProc)(HWND, DWORD, REFIID, void**);

    bool BindOleAcc();

    NotifyWinEventProc m_pfnNotifyWinEvent;
    LresultFromObjectProc m_pfnLresultFromObject;
    AccessibleObjectFromWindowProc m_pfnAccessibleObjectFromWindow;
    CWVPModuleHandle m_user32;
    CWVPModuleHandle m_oleacc;
};

// The child number a variant carries: 0 for VT_EMPTY, the value of VT_I2/VT_I4 (also by
// reference, and through a by-reference VT_VARIANT); -1 for anything else.
LONG WVPGetChildIndex(const VARIANT& varChild);
