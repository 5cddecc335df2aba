#include "uilib/skin/SkinImageCache.h"

#include "uilib/skin/SkinImage.h"
#include "uilib/skin/SkinManagerResourceFile.h"

CWVPSkinImageCache::CWVPSkinImageCache()
{
}

CWVPSkinImageCache::~CWVPSkinImageCache()
{
    RemoveAll();
}

CWVPSkinImage* CWVPSkinImageCache::GetImage(CWVPSkinManagerResourceFile* pResourceFile, LPCWSTR lpszFileName)
{
    if (!pResourceFile || !lpszFileName || !*lpszFileName)
        return nullptr;
    void* cached = nullptr;
    if (m_mapImages.Lookup(lpszFileName, cached))
        return static_cast<CWVPSkinImage*>(cached);
    CWVPSkinImage* image = pResourceFile->LoadImage(lpszFileName);
    if (image)
        m_mapImages.SetAt(lpszFileName, image);
    return image;
}

SIZE CWVPSkinImageCache::GetExtent(CWVPSkinManagerResourceFile* pResourceFile, LPCWSTR lpszFileName)
{
    CWVPSkinImage* image = GetImage(pResourceFile, lpszFileName);
    return image ? image->GetExtent() : SIZE{0, 0};
}

void CWVPSkinImageCache::RemoveAll()
{
    POSITION pos = m_mapImages.GetStartPosition();
    while (pos)
    {
        CString name;
        void* image;
        m_mapImages.GetNextAssoc(pos, name, image);
        delete static_cast<CWVPSkinImage*>(image);
    }
    m_mapImages.RemoveAll();
}
