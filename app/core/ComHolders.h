// Small owners for COM values: a BSTR, a VARIANT and an interface reference, each released when
// its holder ends. The XML document uses them for every MSXML call.
#pragma once

#include <windows.h>
#include <oleauto.h>

// Owns one BSTR (null for an empty text as well as for a failed allocation).
class CBstrHolder
{
public:
    CBstrHolder() = default;
    explicit CBstrHolder(const WCHAR* text) : m_bstr(text ? ::SysAllocString(text) : nullptr) {}
    ~CBstrHolder() { ::SysFreeString(m_bstr); }
    CBstrHolder(const CBstrHolder&) = delete;
    CBstrHolder& operator=(const CBstrHolder&) = delete;

    BSTR Get() const { return m_bstr; }
    // For out parameters: frees what is held and hands out the slot.
    BSTR* Receive()
    {
        ::SysFreeString(m_bstr);
        m_bstr = nullptr;
        return &m_bstr;
    }
    const WCHAR* Text() const { return m_bstr ? m_bstr : L""; }

private:
    BSTR m_bstr = nullptr;
};

// Owns one VARIANT, cleared when the holder ends.
class CVariantHolder
{
public:
    CVariantHolder() { ::VariantInit(&m_value); }
    // A VT_BSTR copy of the text.
    explicit CVariantHolder(const WCHAR* text)
    {
        ::VariantInit(&m_value);
        V_VT(&m_value) = VT_BSTR;
        V_BSTR(&m_value) = ::SysAllocString(text ? text : L"");
    }
    ~CVariantHolder() { ::VariantClear(&m_value); }
    CVariantHolder(const CVariantHolder&) = delete;
    CVariantHolder& operator=(const CVariantHolder&) = delete;

    VARIANT& Get() { return m_value; }
    VARIANT* Receive()
    {
        ::VariantClear(&m_value);
        return &m_value;
    }

private:
    VARIANT m_value;
};

// Owns one interface reference.
template <typename T> class CComHolder
{
public:
    CComHolder() = default;
    // Takes over a reference the caller owns.
    explicit CComHolder(T* p) : m_p(p) {}
    ~CComHolder() { Reset(); }
    CComHolder(const CComHolder&) = delete;
    CComHolder& operator=(const CComHolder&) = delete;

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    T** Receive()
    {
        Reset();
        return &m_p;
    }
    // Gives the reference to the caller.
    T* Detach()
    {
        T* p = m_p;
        m_p = nullptr;
        return p;
    }
    void Reset()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }

private:
    T* m_p = nullptr;
};
