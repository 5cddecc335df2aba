#include "platform/mfc/String.h"

#include "platform/mfc/Exception.h"
#include "platform/mfc/StringFormat.h"

#include <oleauto.h>

#include <cstdlib>
#include <cstring>

namespace
{
// The shared empty text: a header with no room and a terminator.
struct NilString
{
    int nDataLength;
    int nAllocLength;
    WCHAR terminator[4];
};
NilString g_nil = {0, 0, {0, 0, 0, 0}};

const int kMaxLength = 0x3FFFFFF0;

template <typename XCHAR> int ConvertLength(const XCHAR* psz, int nLength)
{
    return nLength < 0 ? AfxStringLength(psz) : nLength;
}

// Converts between the widths through the ANSI code page; returns the converted length.
int Widen(const char* src, int nSrc, WCHAR* dst, int nDst)
{
    return nSrc == 0 ? 0 : ::MultiByteToWideChar(CP_ACP, 0, src, nSrc, dst, nDst);
}
int Narrow(const WCHAR* src, int nSrc, char* dst, int nDst)
{
    return nSrc == 0 ? 0 : ::WideCharToMultiByte(CP_ACP, 0, src, nSrc, dst, nDst, nullptr, nullptr);
}
int Convert(const char* src, int nSrc, WCHAR* dst, int nDst)
{
    return Widen(src, nSrc, dst, nDst);
}
int Convert(const WCHAR* src, int nSrc, char* dst, int nDst)
{
    return Narrow(src, nSrc, dst, nDst);
}

bool IsSpaceChar(WCHAR ch)
{
    if (ch < 0x80)
        return ch == ' ' || (ch >= '\t' && ch <= '\r');
    WORD type = 0;
    return ::GetStringTypeW(CT_CTYPE1, &ch, 1, &type) && (type & C1_SPACE);
}
bool IsSpaceChar(char ch)
{
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

WCHAR FoldCase(WCHAR ch)
{
    if (ch < 0x80)
        return (ch >= 'A' && ch <= 'Z') ? WCHAR(ch + ('a' - 'A')) : ch;
    return static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(::CharLowerW(reinterpret_cast<LPWSTR>(ULONG_PTR(ch)))));
}
unsigned char FoldCase(char ch)
{
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    return static_cast<unsigned char>(reinterpret_cast<ULONG_PTR>(::CharLowerA(reinterpret_cast<LPSTR>(ULONG_PTR(c)))));
}

// Ordinal comparison after folding each character to lower case; null counts as empty.
template <typename XCHAR> int CompareFolded(const XCHAR* a, const XCHAR* b)
{
    static const XCHAR empty = 0;
    a = a ? a : &empty;
    b = b ? b : &empty;
    for (;; ++a, ++b)
    {
        auto fa = FoldCase(*a);
        auto fb = FoldCase(*b);
        if (fa != fb)
            return fa < fb ? -1 : 1;
        if (!*a)
            return 0;
    }
}

template <typename XCHAR> bool Contains(const XCHAR* set, XCHAR ch)
{
    for (; set && *set; ++set)
        if (*set == ch)
            return true;
    return false;
}

int Collate(const WCHAR* a, const WCHAR* b, DWORD flags)
{
    return ::CompareStringW(LOCALE_USER_DEFAULT, flags, a, -1, b, -1) - CSTR_EQUAL;
}
int Collate(const char* a, const char* b, DWORD flags)
{
    return ::CompareStringA(LOCALE_USER_DEFAULT, flags, a, -1, b, -1) - CSTR_EQUAL;
}

void ChangeCase(WCHAR* p, int n, bool upper)
{
    if (n > 0)
        upper ? ::CharUpperBuffW(p, n) : ::CharLowerBuffW(p, n);
}
void ChangeCase(char* p, int n, bool upper)
{
    if (n > 0)
        upper ? ::CharUpperBuffA(p, n) : ::CharLowerBuffA(p, n);
}

// Finds string nID in the string table of hInstance: a pointer to its characters (not terminated).
const WCHAR* FindStringResource(HINSTANCE hInstance, UINT nID, int* pnLength)
{
    HRSRC hRes = ::FindResourceW(hInstance, MAKEINTRESOURCEW((nID >> 4) + 1), reinterpret_cast<LPCWSTR>(RT_STRING));
    if (!hRes)
        return nullptr;
    HGLOBAL hGlobal = ::LoadResource(hInstance, hRes);
    const WCHAR* p = hGlobal ? static_cast<const WCHAR*>(::LockResource(hGlobal)) : nullptr;
    if (!p)
        return nullptr;
    const WCHAR* end = p + ::SizeofResource(hInstance, hRes) / sizeof(WCHAR);
    for (UINT i = 0; i < (nID & 15); ++i)
    {
        if (p >= end)
            return nullptr;
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end)
        return nullptr;
    *pnLength = *p;
    return p + 1;
}
} // namespace

int AFXAPI AfxStringLength(const WCHAR* psz) noexcept
{
    int n = 0;
    if (psz)
        while (psz[n])
            ++n;
    return n;
}

int AFXAPI AfxStringLength(const char* psz) noexcept
{
    return psz ? static_cast<int>(std::strlen(psz)) : 0;
}

LONG AFXAPI AfxWideToLong(const WCHAR* psz, const WCHAR** ppEnd, int nBase)
{
    const WCHAR* p = psz;
    if (ppEnd)
        *ppEnd = psz;
    if (!p || nBase < 0 || nBase == 1 || nBase > 36)
        return 0;
    while (IsSpaceChar(*p))
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    bool hexPrefix = p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
    if ((nBase == 0 || nBase == 16) && hexPrefix)
    {
        WCHAR next = p[2];
        if ((next >= '0' && next <= '9') || (next >= 'a' && next <= 'f') || (next >= 'A' && next <= 'F'))
            p += 2;
        nBase = 16;
    }
    else if (nBase == 0)
        nBase = p[0] == '0' ? 8 : 10;
    const ULONGLONG limit = negative ? ULONGLONG(0x80000000) : ULONGLONG(0x7FFFFFFF);
    ULONGLONG value = 0;
    bool any = false;
    bool overflow = false;
    for (;; ++p)
    {
        int digit;
        if (*p >= '0' && *p <= '9')
            digit = *p - '0';
        else if (*p >= 'a' && *p <= 'z')
            digit = *p - 'a' + 10;
        else if (*p >= 'A' && *p <= 'Z')
            digit = *p - 'A' + 10;
        else
            break;
        if (digit >= nBase)
            break;
        any = true;
        value = value * nBase + digit;
        if (value > limit)
        {
            overflow = true;
            value = limit;
        }
    }
    if (!any)
        return 0;
    if (ppEnd)
        *ppEnd = p;
    if (overflow)
        return negative ? LONG(0x80000000) : LONG(0x7FFFFFFF);
    return negative ? LONG(0 - value) : LONG(value);
}

int AFXAPI AfxWideCompareNoCase(const WCHAR* psz1, const WCHAR* psz2)
{
    return CompareFolded(psz1, psz2);
}

template <typename XCHAR> bool CStringT<XCHAR>::IsNil() const noexcept
{
    return Data() == reinterpret_cast<Header*>(&g_nil);
}

template <typename XCHAR> CStringT<XCHAR>::CStringT() noexcept : m_pszData(reinterpret_cast<PXSTR>(g_nil.terminator))
{
}

template <typename XCHAR> CStringT<XCHAR>::CStringT(const CStringT& src) : CStringT()
{
    SetString(src.m_pszData, src.GetLength());
}

template <typename XCHAR> CStringT<XCHAR>::CStringT(CStringT&& src) noexcept : m_pszData(src.m_pszData)
{
    src.m_pszData = reinterpret_cast<PXSTR>(g_nil.terminator);
}

template <typename XCHAR> CStringT<XCHAR>::CStringT(const CStringT<YCHAR>& src) : CStringT()
{
    AssignConverted(src.GetString(), src.GetLength());
}

template <typename XCHAR> CStringT<XCHAR>::CStringT(PCXSTR psz) : CStringT()
{
    *this = psz;
}

template <typename XCHAR> CStringT<XCHAR>::CStringT(PCYSTR psz) : CStringT()
{
    *this = psz;
}

template <typename XCHAR> CStringT<XCHAR>::CStringT(PCXSTR pch, int nLength) : CStringT()
{
    SetString(pch, nLength);
}

template <typename XCHAR> CStringT<XCHAR>::CStringT(PCYSTR pch, int nLength) : CStringT()
{
    AssignConverted(pch, nLength);
}

template <typename XCHAR> CStringT<XCHAR>::CStringT(XCHAR ch, int nRepeat) : CStringT()
{
    if (nRepeat > 0)
    {
        PXSTR p = Reserve(nRepeat);
        for (int i = 0; i < nRepeat; ++i)
            p[i] = ch;
        SetLength(nRepeat);
    }
}

template <typename XCHAR> CStringT<XCHAR>::~CStringT()
{
    if (!IsNil())
        std::free(Data());
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::operator=(const CStringT& src)
{
    if (this != &src)
        SetString(src.m_pszData, src.GetLength());
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::operator=(CStringT&& src) noexcept
{
    if (this != &src)
    {
        PXSTR old = m_pszData;
        m_pszData = src.m_pszData;
        src.m_pszData = old;
    }
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::operator=(const CStringT<YCHAR>& src)
{
    AssignConverted(src.GetString(), src.GetLength());
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::operator=(PCXSTR psz)
{
    if (psz && IS_INTRESOURCE(psz))
    {
        LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(psz)));
        return *this;
    }
    SetString(psz, AfxStringLength(psz));
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::operator=(PCYSTR psz)
{
    if (psz && IS_INTRESOURCE(psz))
    {
        LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(psz)));
        return *this;
    }
    AssignConverted(psz, AfxStringLength(psz));
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::operator=(XCHAR ch)
{
    SetString(&ch, 1);
    return *this;
}

template <typename XCHAR> void CStringT<XCHAR>::AssignConverted(PCYSTR psz, int nLength)
{
    nLength = ConvertLength(psz, nLength);
    int nConverted = Convert(psz, nLength, nullptr, 0);
    PXSTR p = Reserve(nConverted);
    SetLength(Convert(psz, nLength, p, nConverted));
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::operator+=(const CStringT& str)
{
    Append(str.m_pszData, str.GetLength());
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::operator+=(PCXSTR psz)
{
    Append(psz);
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::operator+=(PCYSTR psz)
{
    Append(CStringT(psz));
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::operator+=(XCHAR ch)
{
    AppendChar(ch);
    return *this;
}

template <typename XCHAR> void CStringT<XCHAR>::Empty() noexcept
{
    if (!IsNil())
        std::free(Data());
    m_pszData = reinterpret_cast<PXSTR>(g_nil.terminator);
}

template <typename XCHAR> XCHAR CStringT<XCHAR>::GetAt(int iChar) const
{
    if (iChar < 0 || iChar > GetLength())
        AfxThrowInvalidArgException();
    return m_pszData[iChar];
}

template <typename XCHAR> void CStringT<XCHAR>::SetAt(int iChar, XCHAR ch)
{
    if (iChar < 0 || iChar >= GetLength())
        AfxThrowInvalidArgException();
    m_pszData[iChar] = ch;
}

template <typename XCHAR> typename CStringT<XCHAR>::PXSTR CStringT<XCHAR>::Reserve(int nLength)
{
    if (nLength < 0 || nLength > kMaxLength)
        AfxThrowInvalidArgException();
    if (!IsNil() && nLength <= Data()->nAllocLength)
        return m_pszData;
    int nOld = GetLength();
    // Grow geometrically so that repeated appends stay linear.
    int nAlloc = nLength;
    if (!IsNil() && nAlloc < nOld + nOld / 2)
        nAlloc = nOld + nOld / 2 > kMaxLength ? kMaxLength : nOld + nOld / 2;
    size_t bytes = sizeof(Header) + (size_t(nAlloc) + 1) * sizeof(XCHAR);
    Header* h = static_cast<Header*>(IsNil() ? std::malloc(bytes) : std::realloc(Data(), bytes));
    if (!h)
        AfxThrowMemoryException();
    h->nAllocLength = nAlloc;
    h->nDataLength = nOld;
    m_pszData = reinterpret_cast<PXSTR>(h + 1);
    m_pszData[nOld] = 0;
    return m_pszData;
}

template <typename XCHAR> void CStringT<XCHAR>::SetLength(int nLength)
{
    if (IsNil())
    {
        if (nLength != 0)
            AfxThrowInvalidArgException();
        return;
    }
    if (nLength < 0 || nLength > Data()->nAllocLength)
        AfxThrowInvalidArgException();
    Data()->nDataLength = nLength;
    m_pszData[nLength] = 0;
}

template <typename XCHAR> typename CStringT<XCHAR>::PXSTR CStringT<XCHAR>::GetBuffer()
{
    return Reserve(GetLength());
}

template <typename XCHAR> typename CStringT<XCHAR>::PXSTR CStringT<XCHAR>::GetBuffer(int nMinBufferLength)
{
    return Reserve(nMinBufferLength > GetLength() ? nMinBufferLength : GetLength());
}

template <typename XCHAR> typename CStringT<XCHAR>::PXSTR CStringT<XCHAR>::GetBufferSetLength(int nLength)
{
    PXSTR p = Reserve(nLength);
    SetLength(nLength);
    return p;
}

template <typename XCHAR> void CStringT<XCHAR>::ReleaseBuffer(int nNewLength)
{
    if (IsNil())
        return;
    if (nNewLength < 0)
    {
        int nMax = Data()->nAllocLength;
        nNewLength = 0;
        while (nNewLength < nMax && m_pszData[nNewLength])
            ++nNewLength;
    }
    SetLength(nNewLength);
}

template <typename XCHAR> void CStringT<XCHAR>::ReleaseBufferSetLength(int nNewLength)
{
    ReleaseBuffer(nNewLength);
}

template <typename XCHAR> void CStringT<XCHAR>::Preallocate(int nLength)
{
    Reserve(nLength > GetLength() ? nLength : GetLength());
}

template <typename XCHAR> void CStringT<XCHAR>::FreeExtra()
{
    if (!IsNil() && Data()->nAllocLength > GetLength())
    {
        CStringT copy(m_pszData, GetLength());
        *this = static_cast<CStringT&&>(copy);
    }
}

template <typename XCHAR> void CStringT<XCHAR>::SetString(PCXSTR psz)
{
    SetString(psz, AfxStringLength(psz));
}

template <typename XCHAR> void CStringT<XCHAR>::SetString(PCXSTR pch, int nLength)
{
    if (nLength <= 0 || !pch)
    {
        if (!IsNil())
            SetLength(0);
        return;
    }
    // The source may live inside this string's own buffer.
    if (!IsNil() && pch >= m_pszData && pch <= m_pszData + GetLength())
    {
        int offset = static_cast<int>(pch - m_pszData);
        if (nLength > GetLength() - offset)
            nLength = GetLength() - offset;
        std::memmove(m_pszData, m_pszData + offset, nLength * sizeof(XCHAR));
        SetLength(nLength);
        return;
    }
    PXSTR p = Reserve(nLength);
    std::memcpy(p, pch, nLength * sizeof(XCHAR));
    SetLength(nLength);
}

template <typename XCHAR> void CStringT<XCHAR>::Append(PCXSTR psz)
{
    Append(psz, AfxStringLength(psz));
}

template <typename XCHAR> void CStringT<XCHAR>::Append(PCXSTR pch, int nLength)
{
    if (nLength <= 0 || !pch)
        return;
    int nOld = GetLength();
    if (nLength > kMaxLength - nOld)
        AfxThrowInvalidArgException();
    if (!IsNil() && pch >= m_pszData && pch <= m_pszData + nOld)
    {
        int offset = static_cast<int>(pch - m_pszData);
        PXSTR p = Reserve(nOld + nLength);
        std::memmove(p + nOld, p + offset, nLength * sizeof(XCHAR));
    }
    else
    {
        PXSTR p = Reserve(nOld + nLength);
        std::memcpy(p + nOld, pch, nLength * sizeof(XCHAR));
    }
    SetLength(nOld + nLength);
}

template <typename XCHAR> int CStringT<XCHAR>::Compare(PCXSTR psz) const
{
    typedef typename std::make_unsigned<XCHAR>::type U;
    PCXSTR a = m_pszData;
    PCXSTR b = psz ? psz : reinterpret_cast<PCXSTR>(g_nil.terminator);
    for (;; ++a, ++b)
    {
        if (*a != *b)
            return U(*a) < U(*b) ? -1 : 1;
        if (!*a)
            return 0;
    }
}

template <typename XCHAR> int CStringT<XCHAR>::CompareNoCase(PCXSTR psz) const
{
    return CompareFolded(m_pszData, psz);
}

template <typename XCHAR> int CStringT<XCHAR>::Collate(PCXSTR psz) const
{
    return ::Collate(m_pszData, psz ? psz : reinterpret_cast<PCXSTR>(g_nil.terminator), 0);
}

template <typename XCHAR> int CStringT<XCHAR>::CollateNoCase(PCXSTR psz) const
{
    return ::Collate(m_pszData, psz ? psz : reinterpret_cast<PCXSTR>(g_nil.terminator), NORM_IGNORECASE);
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::Mid(int iFirst) const
{
    return Mid(iFirst, GetLength() - iFirst);
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::Mid(int iFirst, int nCount) const
{
    if (iFirst < 0)
        iFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (iFirst > GetLength())
        iFirst = GetLength();
    if (nCount > GetLength() - iFirst)
        nCount = GetLength() - iFirst;
    return CStringT(m_pszData + iFirst, nCount);
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::Left(int nCount) const
{
    return Mid(0, nCount);
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount > GetLength())
        nCount = GetLength();
    return CStringT(m_pszData + GetLength() - nCount, nCount);
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::SpanIncluding(PCXSTR pszCharSet) const
{
    int n = 0;
    while (n < GetLength() && Contains(pszCharSet, m_pszData[n]))
        ++n;
    return Left(n);
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::SpanExcluding(PCXSTR pszCharSet) const
{
    int n = 0;
    while (n < GetLength() && !Contains(pszCharSet, m_pszData[n]))
        ++n;
    return Left(n);
}

template <typename XCHAR> CStringT<XCHAR> CStringT<XCHAR>::Tokenize(PCXSTR pszTokens, int& iStart) const
{
    if (iStart < 0)
        AfxThrowInvalidArgException();
    if (!pszTokens || !*pszTokens)
    {
        if (iStart < GetLength())
        {
            CStringT rest = Mid(iStart);
            iStart = GetLength();
            return rest;
        }
    }
    else
    {
        int i = iStart;
        while (i < GetLength() && Contains(pszTokens, m_pszData[i]))
            ++i;
        if (i < GetLength())
        {
            int end = i;
            while (end < GetLength() && !Contains(pszTokens, m_pszData[end]))
                ++end;
            iStart = end + 1;
            return Mid(i, end - i);
        }
    }
    iStart = -1;
    return CStringT();
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::MakeUpper()
{
    ChangeCase(GetBuffer(), GetLength(), true);
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::MakeLower()
{
    ChangeCase(GetBuffer(), GetLength(), false);
    return *this;
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::MakeReverse()
{
    PXSTR p = GetBuffer();
    for (int i = 0, j = GetLength() - 1; i < j; ++i, --j)
    {
        XCHAR t = p[i];
        p[i] = p[j];
        p[j] = t;
    }
    return *this;
}

template <typename XCHAR> int CStringT<XCHAR>::Replace(XCHAR chOld, XCHAR chNew)
{
    int n = 0;
    for (int i = 0; i < GetLength(); ++i)
    {
        if (m_pszData[i] == chOld)
        {
            m_pszData[i] = chNew;
            ++n;
        }
    }
    return n;
}

template <typename XCHAR> int CStringT<XCHAR>::Replace(PCXSTR pszOld, PCXSTR pszNew)
{
    int nOld = AfxStringLength(pszOld);
    if (nOld == 0)
        return 0;
    int nNew = AfxStringLength(pszNew);
    CStringT result;
    int n = 0;
    int from = 0;
    for (int hit = Find(pszOld, 0); hit >= 0; hit = Find(pszOld, from))
    {
        result.Append(m_pszData + from, hit - from);
        result.Append(pszNew, nNew);
        from = hit + nOld;
        ++n;
    }
    if (n)
    {
        result.Append(m_pszData + from, GetLength() - from);
        *this = static_cast<CStringT&&>(result);
    }
    return n;
}

template <typename XCHAR> int CStringT<XCHAR>::Remove(XCHAR chRemove)
{
    int kept = 0;
    int len = GetLength();
    for (int i = 0; i < len; ++i)
        if (m_pszData[i] != chRemove)
            m_pszData[kept++] = m_pszData[i];
    if (kept != len)
        SetLength(kept);
    return len - kept;
}

template <typename XCHAR> int CStringT<XCHAR>::Insert(int iIndex, XCHAR ch)
{
    XCHAR text[2] = {ch, 0};
    return Insert(iIndex, text);
}

template <typename XCHAR> int CStringT<XCHAR>::Insert(int iIndex, PCXSTR psz)
{
    if (iIndex < 0)
        iIndex = 0;
    if (iIndex > GetLength())
        iIndex = GetLength();
    int nInsert = AfxStringLength(psz);
    if (nInsert > 0)
    {
        CStringT result(m_pszData, iIndex);
        result.Append(psz, nInsert);
        result.Append(m_pszData + iIndex, GetLength() - iIndex);
        *this = static_cast<CStringT&&>(result);
    }
    return GetLength();
}

template <typename XCHAR> int CStringT<XCHAR>::Delete(int iIndex, int nCount)
{
    if (iIndex < 0)
        iIndex = 0;
    int len = GetLength();
    if (nCount > 0 && iIndex < len)
    {
        if (nCount > len - iIndex)
            nCount = len - iIndex;
        std::memmove(m_pszData + iIndex, m_pszData + iIndex + nCount, (len - iIndex - nCount) * sizeof(XCHAR));
        SetLength(len - nCount);
    }
    return GetLength();
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::Trim()
{
    return TrimRight().TrimLeft();
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::Trim(XCHAR chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::Trim(PCXSTR pszTargets)
{
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

#define RW_TRIM_LEFT(test)                                                                                             \
    int n = 0;                                                                                                         \
    while (n < GetLength() && (test))                                                                                  \
        ++n;                                                                                                           \
    if (n)                                                                                                             \
        Delete(0, n);                                                                                                  \
    return *this
#define RW_TRIM_RIGHT(test)                                                                                            \
    int n = GetLength();                                                                                               \
    while (n > 0 && (test))                                                                                            \
        --n;                                                                                                           \
    if (n != GetLength())                                                                                              \
        SetLength(n);                                                                                                  \
    return *this

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimLeft()
{
    RW_TRIM_LEFT(IsSpaceChar(m_pszData[n]));
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimLeft(XCHAR chTarget)
{
    RW_TRIM_LEFT(m_pszData[n] == chTarget);
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimLeft(PCXSTR pszTargets)
{
    RW_TRIM_LEFT(Contains(pszTargets, m_pszData[n]));
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimRight()
{
    RW_TRIM_RIGHT(IsSpaceChar(m_pszData[n - 1]));
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimRight(XCHAR chTarget)
{
    RW_TRIM_RIGHT(m_pszData[n - 1] == chTarget);
}

template <typename XCHAR> CStringT<XCHAR>& CStringT<XCHAR>::TrimRight(PCXSTR pszTargets)
{
    RW_TRIM_RIGHT(Contains(pszTargets, m_pszData[n - 1]));
}
#undef RW_TRIM_LEFT
#undef RW_TRIM_RIGHT

template <typename XCHAR> int CStringT<XCHAR>::Find(XCHAR ch, int iStart) const
{
    if (iStart < 0)
        iStart = 0;
    for (int i = iStart; i < GetLength(); ++i)
        if (m_pszData[i] == ch)
            return i;
    return -1;
}

template <typename XCHAR> int CStringT<XCHAR>::Find(PCXSTR pszSub, int iStart) const
{
    if (iStart < 0)
        iStart = 0;
    int nSub = AfxStringLength(pszSub);
    if (iStart > GetLength())
        return -1;
    for (int i = iStart; i + nSub <= GetLength(); ++i)
        if (std::memcmp(m_pszData + i, pszSub, nSub * sizeof(XCHAR)) == 0)
            return i;
    return -1;
}

template <typename XCHAR> int CStringT<XCHAR>::ReverseFind(XCHAR ch) const
{
    for (int i = GetLength() - 1; i >= 0; --i)
        if (m_pszData[i] == ch)
            return i;
    return -1;
}

template <typename XCHAR> int CStringT<XCHAR>::FindOneOf(PCXSTR pszCharSet) const
{
    for (int i = 0; i < GetLength(); ++i)
        if (Contains(pszCharSet, m_pszData[i]))
            return i;
    return -1;
}

template <typename XCHAR> void AFX_CDECL CStringT<XCHAR>::FormatList(PCXSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

template <typename XCHAR> void AFX_CDECL CStringT<XCHAR>::AppendFormatList(PCXSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

template <typename XCHAR> void CStringT<XCHAR>::FormatV(PCXSTR pszFormat, va_list args)
{
    // Formats into a fresh string: an argument may point into this one.
    CStringT result;
    result.AppendFormatV(pszFormat, args);
    *this = static_cast<CStringT&&>(result);
}

template <typename XCHAR> void CStringT<XCHAR>::AppendFormatV(PCXSTR pszFormat, va_list args)
{
    CStringT result(*this);
    AfxFormatAppend(result, pszFormat, args);
    *this = static_cast<CStringT&&>(result);
}

template <typename XCHAR> BOOL CStringT<XCHAR>::LoadString(UINT nID)
{
    return LoadString(AfxGetResourceHandle(), nID);
}

template <typename XCHAR> BOOL CStringT<XCHAR>::LoadString(HINSTANCE hInstance, UINT nID)
{
    int nLength = 0;
    const WCHAR* p = FindStringResource(hInstance, nID, &nLength);
    if (!p)
    {
        Empty();
        return FALSE;
    }
    *this = CStringW(p, nLength);
    return TRUE;
}

template <typename XCHAR> BSTR CStringT<XCHAR>::AllocSysString() const
{
    CStringW wide(*this);
    BSTR bstr = ::SysAllocStringLen(wide.GetString(), wide.GetLength());
    if (!bstr)
        AfxThrowMemoryException();
    return bstr;
}

template class CStringT<WCHAR>;
template class CStringT<char>;
