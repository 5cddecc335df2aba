#pragma once
// The skin's view of one class of its class-data text (WINDOW, BUTTON, SCROLLBAR ...): caches
// property lookups, owns the class's images and draws its parts' backgrounds and texts. Its
// address is the theme handle the skinned visual-style functions hand out.
#include "platform/mfc/Map.h"
#include "platform/mfc/String.h"
#include "uilib/skin/SkinImageCache.h"

class CWVPSkinManager;
class CWVPSkinManagerSchemaProperty;

class CWVPSkinManagerClass
{
  public:
    // Kinds of GetThemePartSize.
    enum SizeKind
    {
        kSizeMinimum = 0,
        kSizeTrue = 1,
        kSizeDraw = 2,
    };

    CWVPSkinManagerClass(CWVPSkinManager* pManager, LPCWSTR lpszClassName, int nClassId);
    virtual ~CWVPSkinManagerClass();
    CWVPSkinManagerClass(const CWVPSkinManagerClass&) = delete;
    CWVPSkinManagerClass& operator=(const CWVPSkinManagerClass&) = delete;

    // The property with the value type, through the schema's fall-backs; null when missing or
    // of another type. Misses are cached too.
    CWVPSkinManagerSchemaProperty* GetProperty(int nValueType, int nPartId, int nStateId, int nPropertyId);

    CString GetThemeString(int nPartId, int nStateId, int nPropertyId, LPCWSTR lpszDefault = L"");
    int GetThemeInt(int nPartId, int nStateId, int nPropertyId, int nDefault);
    bool GetThemeBool(int nPartId, int nStateId, int nPropertyId, bool bDefault);
    // A found colour passes the manager's colour filters; the default does not.
    COLORREF GetThemeColor(int nPartId, int nStateId, int nPropertyId, COLORREF clrDefault);
    RECT GetThemeRect(int nPartId, int nStateId, int nPropertyId, int nLeft = 0, int nTop = 0, int nRight = 0,
                      int nBottom = 0);
    int GetThemeEnumValue(int nPartId, int nStateId, int nPropertyId, int nDefault);
    POINT GetThemePosition(int nPartId, int nStateId, int nPropertyId, int x = 0, int y = 0);

    BOOL DrawThemeBackground(HDC hDC, int nPartId, int nStateId, const RECT* pRect);
    BOOL DrawThemeText(HDC hDC, int nPartId, int nStateId, LPCWSTR lpszText, DWORD dwTextFlags, const RECT* pRect);
    BOOL GetThemePartSize(int nPartId, int nStateId, const RECT* pRect, int nKind, SIZE& size);

    // The name of the image a part draws: IMAGEFILE, or IMAGEFILE1 where the part selects images
    // and has no glyph.
    CString GetImageFileName(int nPartId, int nStateId);
    // The image's size of one state: the count of states (IMAGECOUNT) laid out by IMAGELAYOUT.
    SIZE GetStateFrameSize(int nPartId, int nStateId, const SIZE& imageSize, int* pCount = nullptr,
                           bool* pHorizontal = nullptr);

    CWVPSkinImageCache& GetImageCache()
    {
        return m_imageCache;
    }
    CWVPSkinManager* GetSkinManager() const
    {
        return m_pManager;
    }
    int GetClassId() const
    {
        return m_nClassId;
    }
    const CString& GetClassName() const
    {
        return m_strClassName;
    }

  private:
    CWVPSkinManager* m_pManager;
    CString m_strClassName;
    int m_nClassId;
    CWVPSkinImageCache m_imageCache;
    CMap<UINT, UINT, CWVPSkinManagerSchemaProperty*, CWVPSkinManagerSchemaProperty*> m_mapCachedProperties;
};
