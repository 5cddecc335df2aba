// COleVariant: an owned VARIANT (cleared when it ends) with constructors from the framework's
// value types and the archive form the library's property exchange stores.
#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/String.h"
#include "platform/mfc/OleCurrency.h"
#include "platform/mfc/OleDateTime.h"

#include <oleauto.h>

class CArchive;

class COleVariant : public tagVARIANT
{
public:
    COleVariant();
    COleVariant(const VARIANT& source);
    COleVariant(const COleVariant& source);
    COleVariant(LPCWSTR text);
    COleVariant(const CString& text);
    COleVariant(BYTE value);
    COleVariant(short value, VARTYPE type = VT_I2); // VT_I2 or VT_BOOL
    COleVariant(int value, VARTYPE type = VT_I4);   // VT_I4, VT_ERROR or VT_BOOL
    COleVariant(float value);
    COleVariant(double value);
    COleVariant(const COleCurrency& value);
    COleVariant(const COleDateTime& value);
    ~COleVariant();

    const COleVariant& operator=(const VARIANT& source);
    const COleVariant& operator=(const COleVariant& source);
    const COleVariant& operator=(LPCWSTR text);
    const COleVariant& operator=(int value);
    const COleVariant& operator=(double value);

    bool operator==(const VARIANT& other) const;
    bool operator!=(const VARIANT& other) const { return !(*this == other); }

    operator LPVARIANT() { return this; }
    operator const VARIANT*() const { return this; }

    void Clear();
    void Attach(VARIANT& source);
    VARIANT Detach();
    // Changes the type in place (from another variant when given); false when it cannot.
    bool ChangeType(VARTYPE type, LPVARIANT source = nullptr);
};

// The archive form: the 16-bit type, then the value as its type stores it (texts as framework
// strings; nothing more for empty, null, by-reference and array variants).
CArchive& AFXAPI operator<<(CArchive& ar, const COleVariant& value);
CArchive& AFXAPI operator>>(CArchive& ar, COleVariant& value);
