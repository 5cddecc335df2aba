#include "uilib/markup/MarkupImage.h"

#include "platform/mfc/Afx.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"
#include "uilib/markup/MarkupDrawingContext.h"
#include "uilib/markup/MarkupScan.h"
#include "uilib/markup/MarkupValues.h"

namespace
{
const WCHAR kFilePrefix[] = L"file://";
const WCHAR kResourcePrefix[] = L"res://";
const int kFilePrefixLength = ARRAYSIZE(kFilePrefix) - 1;
const int kResourcePrefixLength = ARRAYSIZE(kResourcePrefix) - 1;
// Pixels of this colour are transparent in pictures without an alpha channel.
const COLORREF kMaskColor = RGB(0, 255, 0);
// Pictures of a file or resource are kept under this command id of their own manager.
const UINT kPictureId = 0;
// The image manager's choice among the sizes of an icon.
const int kAnyWidth = 0;

BOOL StartsWith(const CWVPMarkupString* text, LPCWSTR prefix, int prefixLength)
{
    if (text->GetLength() < prefixLength)
        return FALSE;
    for (int i = 0; i < prefixLength; ++i)
        if (text->GetText()[i] != prefix[i])
            return FALSE;
    return TRUE;
}

// A bitmap as the manager's one picture of the id, in its whole size.
void AddPicture(CWVPImageManager* manager, HBITMAP bitmap, BOOL alpha)
{
    BITMAP info = {};
    if (::GetObjectW(bitmap, sizeof(info), &info))
        manager->SetIconsFromBitmap(bitmap, &kPictureId, 1, info.bmWidth,
                                    info.bmHeight < 0 ? -info.bmHeight : info.bmHeight, 0, alpha);
    ::DeleteObject(bitmap);
}
} // namespace

CWVPMarkupImage::CWVPMarkupImage() : m_pImageManager(nullptr), m_pIcon(nullptr)
{
}

CWVPMarkupImage::~CWVPMarkupImage()
{
    ReleasePicture();
}

void CWVPMarkupImage::ReleasePicture()
{
    if (m_pIcon)
        m_pIcon->InternalRelease();
    m_pIcon = nullptr;
    if (m_pImageManager)
        m_pImageManager->InternalRelease();
    m_pImageManager = nullptr;
}

void CWVPMarkupImage::LoadSource()
{
    const CWVPMarkupString* source =
        static_cast<const CWVPMarkupString*>(MarkupDynamicCast(CWVPMarkupString::Type(), GetValue(s_pSourceProperty)));
    if (!source)
        return;
    ReleasePicture();
    BOOL file = StartsWith(source, kFilePrefix, kFilePrefixLength);
    BOOL resource = !file && StartsWith(source, kResourcePrefix, kResourcePrefixLength);
    UINT id = kPictureId;
    if (file || resource)
    {
        // A picture that cannot be read leaves the manager empty and the element without picture.
        m_pImageManager = new CWVPImageManager();
        m_pImageManager->SetMaskColor(kMaskColor);
        BOOL alpha = FALSE;
        if (file)
        {
            if (HBITMAP bitmap = CWVPImageManager::LoadBitmapFile(source->GetText() + kFilePrefixLength, &alpha))
                AddPicture(m_pImageManager, bitmap, alpha);
        }
        else
        {
            LPCWSTR name = source->GetText() + kResourcePrefixLength;
            if (HBITMAP bitmap = CWVPImageManager::LoadBitmapResource(AfxGetResourceHandle(), name, &alpha))
                AddPicture(m_pImageManager, bitmap, alpha);
            else
                m_pImageManager->SetIconsFromGroupIconResource(name, kPictureId, 0);
        }
    }
    else
    {
        LONG command = MarkupScanLong(source->GetText());
        if (command <= 0)
            return;
        id = (UINT)command;
        m_pImageManager = WVPImageManager();
        m_pImageManager->InternalAddRef();
    }
    m_pIcon = m_pImageManager->GetImage(id, kAnyWidth);
    if (m_pIcon)
        m_pIcon->InternalAddRef();
}

SIZE CWVPMarkupImage::MeasureOverride(CWVPMarkupDrawingContext*, int, int)
{
    LoadSource();
    return m_pIcon ? SIZE{m_pIcon->GetWidth(), m_pIcon->GetHeight()} : SIZE{0, 0};
}

void CWVPMarkupImage::OnRender(CWVPMarkupDrawingContext* dc)
{
    if (!m_pIcon || !dc || !dc->GetDC() || m_szRender.cx <= 0 || m_szRender.cy <= 0)
        return;
    m_pIcon->DrawScaled(dc->GetDC(), CPoint(0, 0), CSize(m_szRender.cx, m_szRender.cy));
}
