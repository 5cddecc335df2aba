// The framework's string: a counted, null-terminated text of wide (CString, CStringW) or 8-bit
// (CStringA) characters, with the formatting, searching and editing members framework code uses.
// Texts convert between the two widths through the ANSI code page.
#pragma once

#include "platform/mfc/Afx.h"

#include <cstdarg>
#include <cstddef>
#include <type_traits>

template <typename XCHAR> class CStringT;

// How Format passes each argument on to the formatter: a string object as its text pointer (as
// framework code expects when it hands a CString to %s), arrays as pointers, and everything else
// as the plain value it is. Objects without such a value do not compile instead of printing garbage.
template <typename XCHAR> const XCHAR* AfxFormatArg(const CStringT<XCHAR>& str)
{
    return str.GetString();
}
template <typename T> auto AfxFormatArg(const T& value) -> decltype(+value)
{
    return +value;
}
inline void* AfxFormatArg(std::nullptr_t)
{
    return nullptr;
}

template <typename XCHAR> class CStringT
{
  public:
    typedef XCHAR XCHAR_TYPE;
    typedef typename std::conditional<sizeof(XCHAR) == 1, WCHAR, char>::type YCHAR;
    typedef XCHAR* PXSTR;
    typedef const XCHAR* PCXSTR;
    typedef const YCHAR* PCYSTR;

    CStringT() noexcept;
    CStringT(const CStringT& src);
    CStringT(CStringT&& src) noexcept;
    CStringT(const CStringT<YCHAR>& src);
    // A null-terminated text; a MAKEINTRESOURCE value loads that string resource instead.
    CStringT(PCXSTR psz);
    CStringT(PCYSTR psz);
    CStringT(PCXSTR pch, int nLength);
    CStringT(PCYSTR pch, int nLength);
    explicit CStringT(XCHAR ch, int nRepeat = 1);
    ~CStringT();

    CStringT& operator=(const CStringT& src);
    CStringT& operator=(CStringT&& src) noexcept;
    CStringT& operator=(const CStringT<YCHAR>& src);
    CStringT& operator=(PCXSTR psz);
    CStringT& operator=(PCYSTR psz);
    CStringT& operator=(XCHAR ch);

    CStringT& operator+=(const CStringT& str);
    CStringT& operator+=(PCXSTR psz);
    CStringT& operator+=(PCYSTR psz);
    CStringT& operator+=(XCHAR ch);

    int GetLength() const noexcept
    {
        return Data()->nDataLength;
    }
    bool IsEmpty() const noexcept
    {
        return GetLength() == 0;
    }
    void Empty() noexcept;
    XCHAR GetAt(int iChar) const;
    void SetAt(int iChar, XCHAR ch);
    XCHAR operator[](int iChar) const
    {
        return GetAt(iChar);
    }
    operator PCXSTR() const noexcept
    {
        return m_pszData;
    }
    PCXSTR GetString() const noexcept
    {
        return m_pszData;
    }

    // A writable buffer of at least nMinBufferLength characters plus the terminator.
    PXSTR GetBuffer();
    PXSTR GetBuffer(int nMinBufferLength);
    PXSTR GetBufferSetLength(int nLength);
    // Ends writing through GetBuffer: -1 measures the text up to its terminator.
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength);
    void Preallocate(int nLength);
    void FreeExtra();
    PXSTR LockBuffer()
    {
        return GetBuffer();
    }
    void UnlockBuffer() noexcept
    {
    }
    int GetAllocLength() const noexcept
    {
        return Data()->nAllocLength;
    }

    void SetString(PCXSTR psz);
    void SetString(PCXSTR pch, int nLength);
    void Append(PCXSTR psz);
    void Append(PCXSTR pch, int nLength);
    void Append(const CStringT& str)
    {
        Append(str.m_pszData, str.GetLength());
    }
    void AppendChar(XCHAR ch)
    {
        Append(&ch, 1);
    }

    int Compare(PCXSTR psz) const;
    int CompareNoCase(PCXSTR psz) const;
    int Collate(PCXSTR psz) const;
    int CollateNoCase(PCXSTR psz) const;

    CStringT Mid(int iFirst) const;
    CStringT Mid(int iFirst, int nCount) const;
    CStringT Left(int nCount) const;
    CStringT Right(int nCount) const;
    CStringT SpanIncluding(PCXSTR pszCharSet) const;
    CStringT SpanExcluding(PCXSTR pszCharSet) const;
    CStringT Tokenize(PCXSTR pszTokens, int& iStart) const;

    CStringT& MakeUpper();
    CStringT& MakeLower();
    CStringT& MakeReverse();

    int Replace(XCHAR chOld, XCHAR chNew);
    int Replace(PCXSTR pszOld, PCXSTR pszNew);
    int Remove(XCHAR chRemove);
    int Insert(int iIndex, XCHAR ch);
    int Insert(int iIndex, PCXSTR psz);
    int Delete(int iIndex, int nCount = 1);

    CStringT& Trim();
    CStringT& Trim(XCHAR chTarget);
    CStringT& Trim(PCXSTR pszTargets);
    CStringT& TrimLeft();
    CStringT& TrimLeft(XCHAR chTarget);
    CStringT& TrimLeft(PCXSTR pszTargets);
    CStringT& TrimRight();
    CStringT& TrimRight(XCHAR chTarget);
    CStringT& TrimRight(PCXSTR pszTargets);

    int Find(XCHAR ch, int iStart = 0) const;
    int Find(PCXSTR pszSub, int iStart = 0) const;
    int ReverseFind(XCHAR ch) const;
    int FindOneOf(PCXSTR pszCharSet) const;

    // printf-style formatting with the framework's conventions: in a wide format %s and %c take
    // wide arguments and %S/%C narrow ones (the reverse in an 8-bit format); %ls/%ws/%lc are
    // always wide, %hs/%hc always narrow; %I64d, %I64u, %I64x take 64-bit integers, %l is 32 bits.
    template <typename... Args> void Format(PCXSTR pszFormat, const Args&... args)
    {
        FormatList(pszFormat, AfxFormatArg(args)...);
    }
    // The format comes from the resource module's string table.
    template <typename... Args> void Format(UINT nFormatID, const Args&... args)
    {
        CStringT format;
        format.LoadString(nFormatID);
        FormatList(format.GetString(), AfxFormatArg(args)...);
    }
    template <typename... Args> void AppendFormat(PCXSTR pszFormat, const Args&... args)
    {
        AppendFormatList(pszFormat, AfxFormatArg(args)...);
    }
    void FormatV(PCXSTR pszFormat, va_list args);
    void AppendFormatV(PCXSTR pszFormat, va_list args);

    // Loads a string of the resource module's string table; FALSE (and empty) when absent.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // A BSTR copy of the text (wide), owned by the caller.
    BSTR AllocSysString() const;

  private:
    // The formatter's entry points once Format has turned string objects into pointers.
    void AFX_CDECL FormatList(PCXSTR pszFormat, ...);
    void AFX_CDECL AppendFormatList(PCXSTR pszFormat, ...);

    struct Header
    {
        int nDataLength;
        int nAllocLength;
    };

    Header* Data() const noexcept
    {
        return reinterpret_cast<Header*>(m_pszData) - 1;
    }
    bool IsNil() const noexcept;
    // Makes room for nLength characters (keeping the text) and returns the buffer.
    PXSTR Reserve(int nLength);
    void SetLength(int nLength);
    void AssignConverted(PCYSTR psz, int nLength);

    PXSTR m_pszData;
};

typedef CStringT<WCHAR> CStringW;
typedef CStringT<char> CStringA;
typedef CStringW CString;

extern template class CStringT<WCHAR>;
extern template class CStringT<char>;

template <typename XCHAR> CStringT<XCHAR> operator+(const CStringT<XCHAR>& str1, const CStringT<XCHAR>& str2)
{
    CStringT<XCHAR> result(str1);
    result += str2;
    return result;
}
template <typename XCHAR> CStringT<XCHAR> operator+(const CStringT<XCHAR>& str1, const XCHAR* psz2)
{
    CStringT<XCHAR> result(str1);
    result += psz2;
    return result;
}
template <typename XCHAR> CStringT<XCHAR> operator+(const XCHAR* psz1, const CStringT<XCHAR>& str2)
{
    CStringT<XCHAR> result(psz1);
    result += str2;
    return result;
}
template <typename XCHAR> CStringT<XCHAR> operator+(const CStringT<XCHAR>& str1, XCHAR ch2)
{
    CStringT<XCHAR> result(str1);
    result += ch2;
    return result;
}
template <typename XCHAR> CStringT<XCHAR> operator+(XCHAR ch1, const CStringT<XCHAR>& str2)
{
    CStringT<XCHAR> result(ch1);
    result += str2;
    return result;
}

#define RW_STRING_COMPARISON(op)                                                                                       \
    template <typename XCHAR> bool operator op(const CStringT<XCHAR>& str1, const CStringT<XCHAR>& str2)               \
    {                                                                                                                  \
        return str1.Compare(str2) op 0;                                                                                \
    }                                                                                                                  \
    template <typename XCHAR> bool operator op(const CStringT<XCHAR>& str1, const XCHAR* psz2)                         \
    {                                                                                                                  \
        return str1.Compare(psz2) op 0;                                                                                \
    }                                                                                                                  \
    template <typename XCHAR> bool operator op(const XCHAR* psz1, const CStringT<XCHAR>& str2)                         \
    {                                                                                                                  \
        return 0 op str2.Compare(psz1);                                                                                \
    }
RW_STRING_COMPARISON(==)
RW_STRING_COMPARISON(!=)
RW_STRING_COMPARISON(<)
RW_STRING_COMPARISON(>)
RW_STRING_COMPARISON(<=)
RW_STRING_COMPARISON(>=)
#undef RW_STRING_COMPARISON

template <typename XCHAR> bool operator==(const CStringT<XCHAR>& str1, XCHAR ch2)
{
    return str1.GetLength() == 1 && str1.GetAt(0) == ch2;
}
template <typename XCHAR> bool operator!=(const CStringT<XCHAR>& str1, XCHAR ch2)
{
    return !(str1 == ch2);
}

// Length of a null-terminated text of either width (no C library wide functions on this platform).
int AFXAPI AfxStringLength(const WCHAR* psz) noexcept;
int AFXAPI AfxStringLength(const char* psz) noexcept;

// The C library's wcstol for 2-byte texts: leading white space, a sign, then digits of nBase (0:
// decimal, octal with 0, hexadecimal with 0x); the 32-bit result is clamped on overflow, and
// *ppEnd (when given) points after the last digit used, or at psz when there was none.
LONG AFXAPI AfxWideToLong(const WCHAR* psz, const WCHAR** ppEnd, int nBase);
// The C library's _wcsicmp for 2-byte texts: ordinal comparison after folding to lower case.
int AFXAPI AfxWideCompareNoCase(const WCHAR* psz1, const WCHAR* psz2);
