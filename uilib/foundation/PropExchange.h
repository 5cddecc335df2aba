#pragma once
// The library's one way of saving and loading object state: an object writes one routine that names
// each value with a type code and a default, and the same routine stores or loads depending on the
// exchange. The image manager, the command bars and the ribbon persist themselves through it.
#include "platform/mfc/Mfc.h"

// Type codes of CWVPPropExchange::ExchangeProp (the value travels as a pointer to the variable).
enum WVPPropExchangeType
{
    WVPPropShort = 2,    // 16-bit signed integer
    WVPPropLong = 3,     // 32-bit signed integer
    WVPPropFloat = 4,    // 32-bit float
    WVPPropDouble = 5,   // 64-bit double
    WVPPropCurrency = 6, // CY: low word, then high word
    WVPPropDate = 7,     // COleDateTime: status, then the date value
    WVPPropBool = 11,    // 32-bit boolean
    WVPPropVariant = 12, // COleVariant
    WVPPropByte = 17,    // 8-bit unsigned
    WVPPropString = 30,  // CString
    WVPPropRect = 100,   // RECT
    WVPPropSize = 101,   // SIZE or POINT
};

class CWVPPropExchangeEnumerator;

// The abstract exchange: typed values under names, child sections, numbered enumerations of
// sections, byte blocks, run-time classes, object instances and a schema number. Reference counted:
// sections are released, not deleted.
class CWVPPropExchange : public CCmdTarget
{
  public:
    // Schema of every exchange that a caller creates, and of a stream read without a schema record.
    static const UINT kSchemaCurrent = 33;
    static const UINT kSchemaUnmarked = 17;

    CWVPPropExchange();

    BOOL IsLoading() const
    {
        return m_bLoading;
    }
    BOOL IsStoring() const
    {
        return !m_bLoading;
    }
    BOOL IsRootSection() const
    {
        return !m_bChildSection;
    }

    virtual BOOL ExchangeProp(LPCWSTR pszPropName, WVPPropExchangeType vtProp, void* pvProp,
                              const void* pvDefault = nullptr) = 0;
    // Bytes as a string of two letters per byte ("A" + low nibble, "A" + high nibble).
    virtual BOOL ExchangeBlob(LPCWSTR pszPropName, BYTE*& pData, DWORD& nBytes);
    virtual BOOL ExchangeRuntimeClass(LPCWSTR pszPropName, CRuntimeClass*& pClass, CRuntimeClass* pDefaultClass);
    virtual BOOL ExchangeObjectInstance(CObject*& pObject, CRuntimeClass* pObjectRuntimeClass);
    // An archive for an object that serialises itself; give it back with ReleaseArchive.
    virtual CArchive* GetArchive(LPCWSTR pszPropName);
    virtual void ReleaseArchive(LPCWSTR pszPropName, CArchive* pArchive);
    // A new child exchange (reference counted: the caller releases it).
    virtual CWVPPropExchange* GetSection(LPCWSTR pszSection) = 0;
    virtual void UseDefaultOnLoad();
    virtual void WriteCount(DWORD dwCount);
    virtual DWORD ReadCount();
    virtual void Write(LPCWSTR pszPropName, const void* lpBuf, UINT nCount);
    virtual UINT Read(LPCWSTR pszPropName, void* lpBuf, UINT nCount);
    virtual BOOL SkipsDefaultValues() const;
    virtual BOOL IsBinaryStream() const;
    virtual BOOL OnBeforeExchange();
    // A new enumerator over this exchange; the caller deletes it.
    virtual CWVPPropExchangeEnumerator* GetEnumerator(LPCWSTR pszSection);
    virtual void ExchangeSchema();

    UINT GetSchema() const
    {
        return m_dwSchema;
    }
    void SetSchema(UINT schema)
    {
        m_dwSchema = schema;
    }
    BOOL IsUseDefaultOnLoad() const
    {
        return m_bUseDefaultOnLoad;
    }

    void* m_pCallerData = nullptr; // copied into every section
    CObject* m_pOwner = nullptr;   // not copied into sections

  protected:
    // Copies what a section inherits from this exchange.
    void InitSection(CWVPPropExchange* pSection) const;

    BOOL m_bLoading = FALSE;
    UINT m_dwSchema = kSchemaCurrent;
    BOOL m_bChildSection = FALSE;
    BOOL m_bUseDefaultOnLoad = FALSE;
    BOOL m_bExchangeStarted = FALSE;
};

// A numbered enumeration of sections named name0 .. name(count - 1).
class CWVPPropExchangeEnumerator
{
  public:
    CWVPPropExchangeEnumerator(CWVPPropExchange* pContainer, LPCWSTR pszSection);
    virtual ~CWVPPropExchangeEnumerator() = default;

    // Sets the element count (stored or loaded, compact or under "Count"); the first position.
    virtual POSITION GetPosition(DWORD dwCount = 0, BOOL bCompactMode = TRUE);
    // The section at the position; advances it (to null after the last).
    virtual CWVPPropExchange* GetNext(POSITION& pos);

  protected:
    CWVPPropExchange* m_pContainer;
    CString m_strSectionName;
    DWORD m_nCount = 0;
};

// Releases a section when it goes out of scope.
class CWVPPropExchangeSectionRef
{
  public:
    explicit CWVPPropExchangeSectionRef(CWVPPropExchange* pSection = nullptr) : m_pSection(pSection)
    {
    }
    ~CWVPPropExchangeSectionRef()
    {
        if (m_pSection)
            m_pSection->InternalRelease();
    }
    CWVPPropExchangeSectionRef(const CWVPPropExchangeSectionRef&) = delete;
    CWVPPropExchangeSectionRef& operator=(const CWVPPropExchangeSectionRef&) = delete;
    CWVPPropExchange* operator->() const
    {
        return m_pSection;
    }
    operator CWVPPropExchange*() const
    {
        return m_pSection;
    }

  private:
    CWVPPropExchange* m_pSection;
};

// Deletes an enumerator when it goes out of scope.
class CWVPPropExchangeEnumeratorRef
{
  public:
    explicit CWVPPropExchangeEnumeratorRef(CWVPPropExchangeEnumerator* pEnumerator) : m_pEnumerator(pEnumerator)
    {
    }
    ~CWVPPropExchangeEnumeratorRef()
    {
        delete m_pEnumerator;
    }
    CWVPPropExchangeEnumeratorRef(const CWVPPropExchangeEnumeratorRef&) = delete;
    CWVPPropExchangeEnumeratorRef& operator=(const CWVPPropExchangeEnumeratorRef&) = delete;
    CWVPPropExchangeEnumerator* operator->() const
    {
        return m_pEnumerator;
    }

  private:
    CWVPPropExchangeEnumerator* m_pEnumerator;
};

// Typed shorthands; each returns FALSE and does nothing for a null exchange.
BOOL AFXAPI WVPExchangeLong(CWVPPropExchange* pPX, LPCWSTR pszPropName, long& nValue);
BOOL AFXAPI WVPExchangeLong(CWVPPropExchange* pPX, LPCWSTR pszPropName, long& nValue, long nDefault);
BOOL AFXAPI WVPExchangeBool(CWVPPropExchange* pPX, LPCWSTR pszPropName, BOOL& bValue, BOOL bDefault);
BOOL AFXAPI WVPExchangeString(CWVPPropExchange* pPX, LPCWSTR pszPropName, CString& strValue);
BOOL AFXAPI WVPExchangeString(CWVPPropExchange* pPX, LPCWSTR pszPropName, CString& strValue, LPCWSTR pszDefault);
BOOL AFXAPI WVPExchangeSize(CWVPPropExchange* pPX, LPCWSTR pszPropName, CSize& szValue, CSize szDefault);
BOOL AFXAPI WVPExchangeRect(CWVPPropExchange* pPX, LPCWSTR pszPropName, CRect& rcValue, const CRect& rcDefault);
BOOL AFXAPI WVPExchangeRuntimeClass(CWVPPropExchange* pPX, LPCWSTR pszPropName, CRuntimeClass*& pClass,
                                    CRuntimeClass* pDefaultClass);
BOOL AFXAPI WVPExchangeBlob(CWVPPropExchange* pPX, LPCWSTR pszPropName, BYTE*& pData, DWORD& nBytes);
// An object through its own Serialize, on the exchange's archive for the name; archive and OLE
// exceptions thrown inside end it with FALSE.
BOOL AFXAPI WVPExchangeSerialized(CWVPPropExchange* pPX, LPCWSTR pszPropName, CObject* pObject);
