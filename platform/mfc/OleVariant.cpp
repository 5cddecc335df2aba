#include "platform/mfc/OleVariant.h"

#include "platform/mfc/Archive.h"
#include "platform/mfc/Exception.h"

namespace
{
void CopyInto(VARIANT* target, const VARIANT* source)
{
    if (FAILED(::VariantCopy(target, const_cast<VARIANT*>(source))))
        AfxThrowNotSupportedException();
}
}

COleVariant::COleVariant()
{
    ::VariantInit(this);
}

COleVariant::COleVariant(const VARIANT& source)
{
    ::VariantInit(this);
    CopyInto(this, &source);
}

COleVariant::COleVariant(const COleVariant& source) : tagVARIANT()
{
    ::VariantInit(this);
    CopyInto(this, &source);
}

COleVariant::COleVariant(LPCWSTR text)
{
    ::VariantInit(this);
    *this = text;
}

COleVariant::COleVariant(const CString& text)
{
    ::VariantInit(this);
    V_VT(this) = VT_BSTR;
    V_BSTR(this) = ::SysAllocStringLen(text, (UINT)text.GetLength());
}

COleVariant::COleVariant(BYTE value)
{
    ::VariantInit(this);
    V_VT(this) = VT_UI1;
    V_UI1(this) = value;
}

COleVariant::COleVariant(short value, VARTYPE type)
{
    ::VariantInit(this);
    if (type == VT_BOOL)
    {
        V_VT(this) = VT_BOOL;
        V_BOOL(this) = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    else
    {
        V_VT(this) = VT_I2;
        V_I2(this) = value;
    }
}

COleVariant::COleVariant(int value, VARTYPE type)
{
    ::VariantInit(this);
    if (type == VT_BOOL)
    {
        V_VT(this) = VT_BOOL;
        V_BOOL(this) = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    else
    {
        V_VT(this) = type == VT_ERROR ? VT_ERROR : VT_I4;
        V_I4(this) = value;
    }
}

COleVariant::COleVariant(float value)
{
    ::VariantInit(this);
    V_VT(this) = VT_R4;
    V_R4(this) = value;
}

COleVariant::COleVariant(double value)
{
    ::VariantInit(this);
    V_VT(this) = VT_R8;
    V_R8(this) = value;
}

COleVariant::COleVariant(const COleCurrency& value)
{
    ::VariantInit(this);
    V_VT(this) = VT_CY;
    V_CY(this) = value.m_cur;
}

COleVariant::COleVariant(const COleDateTime& value)
{
    ::VariantInit(this);
    V_VT(this) = VT_DATE;
    V_DATE(this) = value.m_dt;
}

COleVariant::~COleVariant()
{
    ::VariantClear(this);
}

const COleVariant& COleVariant::operator=(const VARIANT& source)
{
    if (&source != this)
        CopyInto(this, &source);
    return *this;
}

const COleVariant& COleVariant::operator=(const COleVariant& source)
{
    return *this = static_cast<const VARIANT&>(source);
}

const COleVariant& COleVariant::operator=(LPCWSTR text)
{
    Clear();
    V_VT(this) = VT_BSTR;
    V_BSTR(this) = text ? ::SysAllocString(text) : nullptr;
    return *this;
}

const COleVariant& COleVariant::operator=(int value)
{
    Clear();
    V_VT(this) = VT_I4;
    V_I4(this) = value;
    return *this;
}

const COleVariant& COleVariant::operator=(double value)
{
    Clear();
    V_VT(this) = VT_R8;
    V_R8(this) = value;
    return *this;
}

bool COleVariant::operator==(const VARIANT& other) const
{
    if (&other == this)
        return true;
    if (V_VT(this) != V_VT(&other))
        return false;
    switch (V_VT(this))
    {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_BOOL:
        return V_BOOL(this) == V_BOOL(&other);
    case VT_UI1:
        return V_UI1(this) == V_UI1(&other);
    case VT_I2:
        return V_I2(this) == V_I2(&other);
    case VT_I4:
    case VT_ERROR:
        return V_I4(this) == V_I4(&other);
    case VT_CY:
        return V_CY(this).int64 == V_CY(&other).int64;
    case VT_R4:
        return V_R4(this) == V_R4(&other);
    case VT_R8:
        return V_R8(this) == V_R8(&other);
    case VT_DATE:
        return V_DATE(this) == V_DATE(&other);
    case VT_BSTR:
        return ::SysStringByteLen(V_BSTR(this)) == ::SysStringByteLen(V_BSTR(&other)) &&
               memcmp(V_BSTR(this), V_BSTR(&other), ::SysStringByteLen(V_BSTR(this))) == 0;
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return V_UNKNOWN(this) == V_UNKNOWN(&other);
    default:
        return false;
    }
}

void COleVariant::Clear()
{
    ::VariantClear(this);
}

void COleVariant::Attach(VARIANT& source)
{
    Clear();
    memcpy(static_cast<VARIANT*>(this), &source, sizeof(VARIANT));
    V_VT(&source) = VT_EMPTY;
}

VARIANT COleVariant::Detach()
{
    VARIANT result = *this;
    V_VT(this) = VT_EMPTY;
    return result;
}

bool COleVariant::ChangeType(VARTYPE type, LPVARIANT source)
{
    if (!source)
        source = this;
    if (source == this && V_VT(this) == type)
        return true;
    return SUCCEEDED(::VariantChangeType(this, source, 0, type));
}

CArchive& AFXAPI operator<<(CArchive& ar, const COleVariant& value)
{
    ar << (WORD)V_VT(&value);
    if (V_VT(&value) & (VT_BYREF | VT_ARRAY))
        return ar;
    switch (V_VT(&value))
    {
    case VT_BOOL:
        ar << (WORD)V_BOOL(&value);
        break;
    case VT_UI1:
        ar << V_UI1(&value);
        break;
    case VT_I2:
        ar << (WORD)V_I2(&value);
        break;
    case VT_I4:
    case VT_ERROR:
        ar << (int)V_I4(&value);
        break;
    case VT_CY:
        ar << (unsigned int)V_CY(&value).Lo << (int)V_CY(&value).Hi;
        break;
    case VT_R4:
        ar << V_R4(&value);
        break;
    case VT_R8:
        ar << V_R8(&value);
        break;
    case VT_DATE:
        ar << (double)V_DATE(&value);
        break;
    case VT_BSTR:
        ar << CStringW(V_BSTR(&value), V_BSTR(&value) ? (int)::SysStringLen(V_BSTR(&value)) : 0);
        break;
    default:
        break; // empty, null and interfaces store the type only
    }
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, COleVariant& value)
{
    value.Clear();
    WORD type = 0;
    ar >> type;
    if (type & (VT_BYREF | VT_ARRAY))
        return ar; // nothing was stored: the variant stays empty
    switch (type)
    {
    case VT_BOOL:
    {
        WORD flag = 0;
        ar >> flag;
        V_BOOL(&value) = (VARIANT_BOOL)flag;
        break;
    }
    case VT_UI1:
        ar >> V_UI1(&value);
        break;
    case VT_I2:
    {
        WORD number = 0;
        ar >> number;
        V_I2(&value) = (SHORT)number;
        break;
    }
    case VT_I4:
    case VT_ERROR:
    {
        int number = 0;
        ar >> number;
        V_I4(&value) = number;
        break;
    }
    case VT_CY:
    {
        unsigned int low = 0;
        int high = 0;
        ar >> low >> high;
        V_CY(&value).Lo = low;
        V_CY(&value).Hi = high;
        break;
    }
    case VT_R4:
        ar >> V_R4(&value);
        break;
    case VT_R8:
        ar >> V_R8(&value);
        break;
    case VT_DATE:
    {
        double date = 0;
        ar >> date;
        V_DATE(&value) = date;
        break;
    }
    case VT_BSTR:
    {
        CStringW text;
        ar >> text;
        V_BSTR(&value) = ::SysAllocStringLen(text, (UINT)text.GetLength());
        break;
    }
    case VT_EMPTY:
    case VT_NULL:
        break;
    default:
        type = VT_EMPTY; // kinds that were stored by type only come back empty
        break;
    }
    V_VT(&value) = type;
    return ar;
}
