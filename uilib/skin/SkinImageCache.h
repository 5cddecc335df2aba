#pragma once
// The images of one skin class by file name (compared exactly), each loaded once through the
// skin's resource file; a name that fails to load is tried again on the next request.
#include "platform/mfc/Map.h"

class CWVPSkinImage;
class CWVPSkinManagerResourceFile;

class CWVPSkinImageCache
{
  public:
    CWVPSkinImageCache();
    ~CWVPSkinImageCache();
    CWVPSkinImageCache(const CWVPSkinImageCache&) = delete;
    CWVPSkinImageCache& operator=(const CWVPSkinImageCache&) = delete;

    CWVPSkinImage* GetImage(CWVPSkinManagerResourceFile* pResourceFile, LPCWSTR lpszFileName);
    // The image's size; (0, 0) when it cannot be had.
    SIZE GetExtent(CWVPSkinManagerResourceFile* pResourceFile, LPCWSTR lpszFileName);
    void RemoveAll();

  private:
    CMapStringToPtr m_mapImages;
};
