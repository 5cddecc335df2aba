// Element helpers shared by the collection templates: how elements compare, hash and travel
// through an archive.
#pragma once

#include "platform/mfc/Archive.h"
#include "platform/mfc/String.h"

#include <type_traits>
#include <utility>

// Whether an element type has the archive's operators both ways (numbers, texts, object pointers).
template <class T, class = void> struct AfxHasArchiveOperators : std::false_type
{
};
template <class T>
struct AfxHasArchiveOperators<T, std::void_t<decltype(std::declval<CArchive&>() << std::declval<const T&>()),
                                             decltype(std::declval<CArchive&>() >> std::declval<T&>())>>
    : std::true_type
{
};

// Stores or loads elements: through the archive's operators where the type has them, byte for
// byte otherwise (plain records). Other elements need a specialisation; without one a
// collection of them refuses to travel (not supported).
template <class TYPE> void AFXAPI SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount)
{
    if constexpr (AfxHasArchiveOperators<TYPE>::value)
    {
        for (INT_PTR i = 0; i < nCount; ++i)
        {
            if (ar.IsStoring())
                ar << pElements[i];
            else
                ar >> pElements[i];
        }
    }
    else if constexpr (std::is_trivially_copyable<TYPE>::value)
    {
        BYTE* bytes = reinterpret_cast<BYTE*>(pElements);
        size_t left = (size_t)nCount * sizeof(TYPE);
        const size_t kChunk = 1u << 30;
        while (left)
        {
            UINT part = (UINT)(left < kChunk ? left : kChunk);
            if (ar.IsStoring())
                ar.Write(bytes, part);
            else
                ar.EnsureRead(bytes, part);
            bytes += part;
            left -= part;
        }
    }
    else
    {
        // Records with members of their own cannot travel byte for byte.
        (void)pElements;
        if (nCount > 0)
            AfxThrowNotSupportedException();
    }
}

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
