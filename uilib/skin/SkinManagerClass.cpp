#include "uilib/skin/SkinManagerClass.h"

#include "uilib/skin/SkinImage.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <algorithm>

namespace
{

const UINT kCacheHashSize = 199;
const int kCacheBlockSize = 10;
const int kTextShadowSingle = 1;
const int kAlignCenter = 1;

} // namespace

CWVPSkinManagerClass::CWVPSkinManagerClass(CWVPSkinManager* pManager, LPCWSTR lpszClassName, int nClassId)
    : m_pManager(pManager), m_strClassName(lpszClassName), m_nClassId(nClassId), m_mapCachedProperties(kCacheBlockSize)
{
    m_mapCachedProperties.InitHashTable(kCacheHashSize);
}

CWVPSkinManagerClass::~CWVPSkinManagerClass()
{
}

CWVPSkinManagerSchemaProperty* CWVPSkinManagerClass::GetProperty(int nValueType, int nPartId, int nStateId,
                                                                 int nPropertyId)
{
    UINT key = UINT(nPropertyId) + (UINT(nStateId) << 20) + UINT(nPartId) * 16384u;
    CWVPSkinManagerSchemaProperty* property = nullptr;
    // The cache key has no type: a property cached for another type is no answer.
    if (m_mapCachedProperties.Lookup(key, property))
        return property && property->m_nValueType != nValueType ? nullptr : property;
    CWVPSkinManagerSchema* schema = m_pManager ? m_pManager->GetSchema() : nullptr;
    property = schema ? schema->FindProperty(m_nClassId, nPartId, nStateId, nPropertyId) : nullptr;
    if (!property)
    {
        m_mapCachedProperties.SetAt(key, nullptr);
        return nullptr;
    }
    if (property->m_nValueType != nValueType)
        return nullptr;
    m_mapCachedProperties.SetAt(key, property);
    return property;
}

CString CWVPSkinManagerClass::GetThemeString(int nPartId, int nStateId, int nPropertyId, LPCWSTR lpszDefault)
{
    CWVPSkinManagerSchemaProperty* p = GetProperty(kSkinValueString, nPartId, nStateId, nPropertyId);
    return p ? p->m_strValue : CString(lpszDefault);
}

int CWVPSkinManagerClass::GetThemeInt(int nPartId, int nStateId, int nPropertyId, int nDefault)
{
    CWVPSkinManagerSchemaProperty* p = GetProperty(kSkinValueInt, nPartId, nStateId, nPropertyId);
    return p ? p->m_nValue : nDefault;
}

bool CWVPSkinManagerClass::GetThemeBool(int nPartId, int nStateId, int nPropertyId, bool bDefault)
{
    CWVPSkinManagerSchemaProperty* p = GetProperty(kSkinValueBool, nPartId, nStateId, nPropertyId);
    return p ? p->m_bValue : bDefault;
}

COLORREF CWVPSkinManagerClass::GetThemeColor(int nPartId, int nStateId, int nPropertyId, COLORREF clrDefault)
{
    CWVPSkinManagerSchemaProperty* p = GetProperty(kSkinValueColor, nPartId, nStateId, nPropertyId);
    if (!p)
        return clrDefault;
    COLORREF clr = p->m_clrValue;
    if (m_pManager)
        m_pManager->ApplyColorFilters(clr);
    return clr;
}

RECT CWVPSkinManagerClass::GetThemeRect(int nPartId, int nStateId, int nPropertyId, int nLeft, int nTop, int nRight,
                                        int nBottom)
{
    CWVPSkinManagerSchemaProperty* p = GetProperty(kSkinValueRect, nPartId, nStateId, nPropertyId);
    return p ? p->m_rcValue : RECT{nLeft, nTop, nRight, nBottom};
}

int CWVPSkinManagerClass::GetThemeEnumValue(int nPartId, int nStateId, int nPropertyId, int nDefault)
{
    CWVPSkinManagerSchemaProperty* p = GetProperty(kSkinValueEnum, nPartId, nStateId, nPropertyId);
    return p ? p->m_nValue : nDefault;
}

POINT CWVPSkinManagerClass::GetThemePosition(int nPartId, int nStateId, int nPropertyId, int x, int y)
{
    CWVPSkinManagerSchemaProperty* p = GetProperty(kSkinValuePosition, nPartId, nStateId, nPropertyId);
    return p ? p->m_ptValue : POINT{x, y};
}

BOOL CWVPSkinManagerClass::DrawThemeBackground(HDC hDC, int nPartId, int nStateId, const RECT* pRect)
{
    CWVPSkinManagerSchema* schema = m_pManager ? m_pManager->GetSchema() : nullptr;
    return schema && pRect ? schema->DrawThemeBackground(hDC, this, nPartId, nStateId, pRect) : FALSE;
}

BOOL CWVPSkinManagerClass::DrawThemeText(HDC hDC, int nPartId, int nStateId, LPCWSTR lpszText, DWORD dwTextFlags,
                                         const RECT* pRect)
{
    if (!pRect || !lpszText)
        return TRUE;
    ::SetBkMode(hDC, TRANSPARENT);
    RECT rc = *pRect;
    RECT margins = GetThemeRect(nPartId, nStateId, kSkinPropCaptionMargins);
    rc.left += margins.left;
    rc.right -= margins.right;
    if (GetThemeEnumValue(nPartId, nStateId, kSkinPropContentAlignment, 0) == kAlignCenter)
        dwTextFlags |= DT_CENTER;
    COLORREF textColour = GetThemeColor(nPartId, nStateId, kSkinPropTextColor, ::GetTextColor(hDC));
    ::SetTextColor(hDC, textColour);
    POINT shadow = GetThemePosition(nPartId, nStateId, kSkinPropTextShadowOffset);
    if (GetThemeEnumValue(nPartId, nStateId, kSkinPropTextShadowType, 0) == kTextShadowSingle && (shadow.x || shadow.y))
    {
        RECT shadowRect = rc;
        ::OffsetRect(&shadowRect, shadow.x, shadow.y);
        ::SetTextColor(hDC, GetThemeColor(nPartId, nStateId, kSkinPropTextShadowColor, CLR_INVALID));
        ::DrawTextW(hDC, lpszText, -1, &shadowRect, dwTextFlags);
        ::SetTextColor(hDC, textColour);
    }
    ::DrawTextW(hDC, lpszText, -1, &rc, dwTextFlags);
    return TRUE;
}

CString CWVPSkinManagerClass::GetImageFileName(int nPartId, int nStateId)
{
    if (GetThemeEnumValue(nPartId, nStateId, kSkinPropImageSelectType, 0) != 0 &&
        GetThemeEnumValue(nPartId, nStateId, kSkinPropGlyphType, 0) == 0)
    {
        CString first = GetThemeString(nPartId, nStateId, kSkinPropImageFile1);
        if (!first.IsEmpty())
            return first;
    }
    return GetThemeString(nPartId, nStateId, kSkinPropImageFile);
}

SIZE CWVPSkinManagerClass::GetStateFrameSize(int nPartId, int nStateId, const SIZE& imageSize, int* pCount,
                                             bool* pHorizontal)
{
    int count = GetThemeInt(nPartId, nStateId, kSkinPropImageCount, 1);
    bool horizontal =
        GetThemeEnumValue(nPartId, nStateId, kSkinPropImageLayout, kSkinLayoutHorizontal) == kSkinLayoutHorizontal;
    // Every state keeps at least one pixel of the picture, whatever count the skin names.
    int along = horizontal ? imageSize.cx : imageSize.cy;
    count = std::max(1, std::min(count, std::max(1, int(along))));
    if (pCount)
        *pCount = count;
    if (pHorizontal)
        *pHorizontal = horizontal;
    return horizontal ? SIZE{imageSize.cx / count, imageSize.cy} : SIZE{imageSize.cx, imageSize.cy / count};
}

BOOL CWVPSkinManagerClass::GetThemePartSize(int nPartId, int nStateId, const RECT* pRect, int nKind, SIZE& size)
{
    if (GetThemeEnumValue(nPartId, nStateId, kSkinPropBgType, kSkinBgImageFile) != kSkinBgImageFile)
        return FALSE;
    CString name = GetImageFileName(nPartId, nStateId);
    if (name.IsEmpty() || !m_pManager)
        return FALSE;
    CWVPSkinImage* image = m_imageCache.GetImage(m_pManager->GetResourceFile(), name);
    if (!image)
        return FALSE;
    SIZE frame = GetStateFrameSize(nPartId, nStateId, image->GetExtent());
    if (nKind == kSizeTrue)
        size = frame;
    else if (nKind == kSizeDraw)
    {
        if (GetThemeEnumValue(nPartId, nStateId, kSkinPropSizingType, kSkinSizingStretch) == kSkinSizingTrueSize)
            size = frame;
        else
        {
            size = pRect ? SIZE{pRect->right - pRect->left, pRect->bottom - pRect->top} : SIZE{0, 0};
            if (GetThemeBool(nPartId, nStateId, kSkinPropUniformSizing, false) && frame.cy)
                size.cx = ::MulDiv(size.cy, frame.cx, frame.cy);
        }
    }
    return TRUE;
}
