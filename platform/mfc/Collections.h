// Element helpers shared by the collection templates: how elements compare and hash.
#pragma once

#include "platform/mfc/String.h"

#include <type_traits>

template <class TYPE, class ARG_TYPE> BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

// The hash of a map key: pointers by address, integers by value, texts by their characters.
template <class ARG_KEY> inline UINT AFXAPI HashKey(ARG_KEY key)
{
    typedef typename std::remove_cv<typename std::remove_reference<ARG_KEY>::type>::type K;
    if constexpr (std::is_pointer<K>::value)
        return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4);
    else
        return static_cast<UINT>(static_cast<UINT_PTR>(key));
}

template <typename XCHAR> inline UINT AfxHashText(const XCHAR* key)
{
    UINT nHash = 0;
    if (key)
        while (*key)
            nHash = (nHash << 5) + nHash + static_cast<typename std::make_unsigned<XCHAR>::type>(*key++);
    return nHash;
}

template <> inline UINT AFXAPI HashKey<LPCWSTR>(LPCWSTR key)
{
    return AfxHashText(key);
}
template <> inline UINT AFXAPI HashKey<LPCSTR>(LPCSTR key)
{
    return AfxHashText(key);
}
template <> inline UINT AFXAPI HashKey<const CStringW&>(const CStringW& key)
{
    return AfxHashText(key.GetString());
}
template <> inline UINT AFXAPI HashKey<const CStringA&>(const CStringA& key)
{
    return AfxHashText(key.GetString());
}
template <> inline UINT AFXAPI HashKey<CStringW>(CStringW key)
{
    return AfxHashText(key.GetString());
}
