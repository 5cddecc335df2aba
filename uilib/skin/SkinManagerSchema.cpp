#include "uilib/skin/SkinManagerSchema.h"

#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerResourceFile.h"
#include "uilib/skin/SkinManagerSchemaProperty.h"
#include "uilib/skin/SkinSchemaNames.h"

namespace
{

const UINT kPropertyHashSize = 199;
const int kAlphaLevelOpaque = 255;

CString Trimmed(const CString& text)
{
    int first = 0, last = text.GetLength();
    while (first < last && WVPSkinIsBlank(text[first]))
        ++first;
    while (last > first && WVPSkinIsBlank(text[last - 1]))
        --last;
    return text.Mid(first, last - first);
}

} // namespace

CWVPSkinManagerSchema::CWVPSkinManagerSchema(CWVPSkinManager* pManager)
    : m_pManager(pManager), m_nGlobalsClassId(WVPSkinGetClassId(L"GLOBALS")),
      m_nWindowClassId(WVPSkinGetClassId(L"WINDOW"))
{
    m_mapProperties.InitHashTable(kPropertyHashSize);
}

CWVPSkinManagerSchema::~CWVPSkinManagerSchema()
{
    RemoveAllProperties();
}

void CWVPSkinManagerSchema::RefreshMetrics()
{
}

COLORREF CWVPSkinManagerSchema::GetScrollBarSizeBoxColor()
{
    return m_pManager ? m_pManager->GetMetrics()->GetColor(COLOR_BTNFACE) : ::GetSysColor(COLOR_BTNFACE);
}

void CWVPSkinManagerSchema::RemoveAllProperties()
{
    POSITION pos = m_mapProperties.GetStartPosition();
    while (pos)
    {
        UINT key;
        CWVPSkinManagerSchemaProperty* property;
        m_mapProperties.GetNextAssoc(pos, key, property);
        delete property;
    }
    m_mapProperties.RemoveAll();
}

HRESULT CWVPSkinManagerSchema::ReadProperties(CWVPSkinManagerResourceFile* pResourceFile)
{
    RemoveAllProperties();
    UINT sectionKey = 0;
    CString line;
    while (pResourceFile && pResourceFile->ReadString(line))
    {
        int first = 0;
        while (first < line.GetLength() && WVPSkinIsBlank(line[first]))
            ++first;
        line = line.Mid(first);
        int comment = line.Find(L';');
        if (comment == 0)
            continue;
        if (comment > 0)
            line = line.Left(comment);
        line.MakeUpper();
        if (line.IsEmpty())
            continue;
        if (line[0] == L'[')
        {
            // The text between the brackets; the last character is taken to be the ']'.
            CString section = line.GetLength() >= 2 ? line.Mid(1, line.GetLength() - 2) : CString();
            sectionKey = WVPSkinParseSectionName(section);
            continue;
        }
        int equals = line.Find(L'=');
        if (sectionKey == 0 || equals < 1)
            continue;
        CString name = Trimmed(line.Left(equals));
        int valueType = 0;
        int propertyId = WVPSkinGetPropertyId(name, &valueType);
        if (!propertyId || !valueType)
            continue;
        UINT key = sectionKey + UINT(propertyId);
        CWVPSkinManagerSchemaProperty* old = nullptr;
        if (m_mapProperties.Lookup(key, old))
        {
            m_mapProperties.RemoveKey(key);
            delete old;
        }
        CWVPSkinManagerSchemaProperty* property = WVPSkinCreateProperty(name, valueType, Trimmed(line.Mid(equals + 1)));
        if (property)
        {
            property->m_nPropertyId = propertyId;
            m_mapProperties.SetAt(key, property);
        }
    }
    int alphaLevel = 0;
    if (SUCCEEDED(GetIntProperty(kSkinClassDocumentation, 0, 0, kSkinPropAlphaLevel, alphaLevel)) &&
        alphaLevel == kAlphaLevelOpaque)
        m_bAlphaConversion = false;
    return S_OK;
}

CWVPSkinManagerSchemaProperty* CWVPSkinManagerSchema::FindProperty(int nClassId, int nPartId, int nStateId,
                                                                   int nPropertyId) const
{
    CWVPSkinManagerSchemaProperty* property = nullptr;
    if (nStateId != 0 &&
        m_mapProperties.Lookup(WVPSkinMakePropertyKey(nClassId, nPartId, nStateId, nPropertyId), property))
        return property;
    if (m_mapProperties.Lookup(WVPSkinMakePropertyKey(nClassId, nPartId, 0, nPropertyId), property))
        return property;
    if (m_mapProperties.Lookup(WVPSkinMakePropertyKey(nClassId, 0, 0, nPropertyId), property))
        return property;
    if (m_mapProperties.Lookup(WVPSkinMakePropertyKey(m_nGlobalsClassId, 0, 0, nPropertyId), property))
        return property;
    return nullptr;
}

const CWVPSkinManagerSchemaProperty* CWVPSkinManagerSchema::FindTyped(int nClassId, int nPartId, int nStateId,
                                                                      int nPropertyId, int nType, HRESULT& hr) const
{
    const CWVPSkinManagerSchemaProperty* property = FindProperty(nClassId, nPartId, nStateId, nPropertyId);
    hr = !property ? E_FAIL : property->m_nValueType != nType ? E_INVALIDARG : S_OK;
    return hr == S_OK ? property : nullptr;
}

HRESULT CWVPSkinManagerSchema::GetIntProperty(int nClassId, int nPartId, int nStateId, int nPropertyId,
                                              int& nValue) const
{
    return GetTyped(nClassId, nPartId, nStateId, nPropertyId, kSkinValueInt, nValue,
                    [](const CWVPSkinManagerSchemaProperty& p, int& v) { v = p.m_nValue; });
}

HRESULT CWVPSkinManagerSchema::GetBoolProperty(int nClassId, int nPartId, int nStateId, int nPropertyId,
                                               BOOL& bValue) const
{
    return GetTyped(nClassId, nPartId, nStateId, nPropertyId, kSkinValueBool, bValue,
                    [](const CWVPSkinManagerSchemaProperty& p, BOOL& v) { v = p.m_bValue; });
}

HRESULT CWVPSkinManagerSchema::GetColorProperty(int nClassId, int nPartId, int nStateId, int nPropertyId,
                                                COLORREF& clrValue) const
{
    return GetTyped(nClassId, nPartId, nStateId, nPropertyId, kSkinValueColor, clrValue,
                    [this](const CWVPSkinManagerSchemaProperty& p, COLORREF& v) {
                        v = p.m_clrValue;
                        if (m_pManager)
                            m_pManager->ApplyColorFilters(v);
                    });
}

HRESULT CWVPSkinManagerSchema::GetFontProperty(int nClassId, int nPartId, int nStateId, int nPropertyId,
                                               LOGFONTW& font) const
{
    return GetTyped(nClassId, nPartId, nStateId, nPropertyId, kSkinValueFont, font,
                    [](const CWVPSkinManagerSchemaProperty& p, LOGFONTW& v) { v = *p.m_pFont; });
}

RECT CWVPSkinManagerSchema::CalcFrameBorders(HWND hWnd)
{
    return CalcFrameBorders(DWORD(::GetWindowLongW(hWnd, GWL_STYLE)), DWORD(::GetWindowLongW(hWnd, GWL_EXSTYLE)));
}
