#pragma once
// The one concrete property exchange: values written one after another in call order over a
// framework archive, names and defaults left out, so loading must ask for the same values in the
// same order. The archive is not owned.
#include "uilib/foundation/PropExchange.h"

class CWVPPropExchangeArchive : public CWVPPropExchange
{
  public:
    // Marker in front of the schema number of a stream.
    static const DWORD kSchemaMarker = 0x0FF0ADBF;

    explicit CWVPPropExchangeArchive(CArchive& ar);

    CArchive& GetArchiveRef() const
    {
        return m_ar;
    }

    BOOL ExchangeProp(LPCWSTR pszPropName, WVPPropExchangeType vtProp, void* pvProp,
                      const void* pvDefault = nullptr) override;
    BOOL ExchangeBlob(LPCWSTR pszPropName, BYTE*& pData, DWORD& nBytes) override;
    BOOL ExchangeRuntimeClass(LPCWSTR pszPropName, CRuntimeClass*& pClass, CRuntimeClass* pDefaultClass) override;
    BOOL ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntimeClass) override;
    CArchive* GetArchive(LPCWSTR pszPropName) override;
    void ReleaseArchive(LPCWSTR pszPropName, CArchive* pArchive) override;
    CWVPPropExchange* GetSection(LPCWSTR pszSection) override;
    void WriteCount(DWORD dwCount) override;
    DWORD ReadCount() override;
    void Write(LPCWSTR pszPropName, const void* lpBuf, UINT nCount) override;
    UINT Read(LPCWSTR pszPropName, void* lpBuf, UINT nCount) override;
    BOOL SkipsDefaultValues() const override;
    BOOL IsBinaryStream() const override;
    void ExchangeSchema() override;

  private:
    CArchive& m_ar;
};
