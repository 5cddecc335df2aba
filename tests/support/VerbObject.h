// A small OLE object for tests: it offers a given list of verbs (each shown on a container's
// menu) under a user type name, counts its references and implements nothing else.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <vector>

// Answers IUnknown and the one interface an object implements.
template <class Interface> HRESULT QueryOwnInterface(Interface* self, REFIID riid, REFIID own, void** ppv)
{
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, own))
    {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    *ppv = self;
    self->AddRef();
    return S_OK;
}

class CTestVerbObject : public IOleObject
{
  public:
    CTestVerbObject(std::vector<const WCHAR*> verbs, const WCHAR* userType)
        : m_verbs(std::move(verbs)), m_userType(userType)
    {
    }
    LONG m_ref = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        return QueryOwnInterface<IOleObject>(this, riid, IID_IOleObject, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return ULONG(++m_ref);
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        return ULONG(--m_ref);
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** ppEnum) override
    {
        *ppEnum = new CVerbEnum(m_verbs);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* pszUserType) override
    {
        *pszUserType = Duplicate(m_userType);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Update() override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override
    {
        return E_NOTIMPL;
    }

  private:
    static LPOLESTR Duplicate(const WCHAR* text)
    {
        const int bytes = (::lstrlenW(text) + 1) * int(sizeof(WCHAR));
        LPOLESTR copy = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes));
        ::CopyMemory(copy, text, bytes);
        return copy;
    }

    class CVerbEnum : public IEnumOLEVERB
    {
      public:
        explicit CVerbEnum(const std::vector<const WCHAR*>& verbs) : m_verbs(verbs)
        {
        }
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
        {
            return QueryOwnInterface<IEnumOLEVERB>(this, riid, IID_IEnumOLEVERB, ppv);
        }
        ULONG STDMETHODCALLTYPE AddRef() override
        {
            return ULONG(++m_ref);
        }
        ULONG STDMETHODCALLTYPE Release() override
        {
            const LONG left = --m_ref;
            if (left == 0)
                delete this;
            return ULONG(left);
        }
        HRESULT STDMETHODCALLTYPE Next(ULONG count, OLEVERB* verbs, ULONG* fetched) override
        {
            ULONG n = 0;
            for (; n < count && m_next < m_verbs.size(); ++n, ++m_next)
            {
                verbs[n] = OLEVERB();
                verbs[n].lVerb = LONG(m_next);
                verbs[n].lpszVerbName = Duplicate(m_verbs[m_next]);
                verbs[n].grfAttribs = OLEVERBATTRIB_ONCONTAINERMENU;
            }
            if (fetched)
                *fetched = n;
            return n == count ? S_OK : S_FALSE;
        }
        HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
        {
            m_next += count;
            return m_next <= m_verbs.size() ? S_OK : S_FALSE;
        }
        HRESULT STDMETHODCALLTYPE Reset() override
        {
            m_next = 0;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE Clone(IEnumOLEVERB**) override
        {
            return E_NOTIMPL;
        }

      private:
        LONG m_ref = 1;
        size_t m_next = 0;
        std::vector<const WCHAR*> m_verbs;
    };

    std::vector<const WCHAR*> m_verbs;
    const WCHAR* m_userType;
};
