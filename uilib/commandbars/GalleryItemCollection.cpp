#include "uilib/commandbars/GalleryItemCollection.h"
#include "uilib/commandbars/ControlGallery.h"
#include "uilib/commandbars/ControlGalleryPaintManager.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"

namespace
{
const int kDefaultItemSize = 20;
// Paint-manager colours of item cells.
const int kCellTextColor = COLOR_BTNTEXT;
const int kCellFrameColor = COLOR_BTNSHADOW;
} // namespace

CWVPGalleryItem::CWVPGalleryItem(int id, LPCWSTR caption, BOOL label)
    : m_nId(id), m_nToolTipId(-1), m_bLabel(label), m_nImageId(-1), m_szItem(0, 0), m_strCaption(caption),
      m_pCollection(nullptr)
{
}

CSize CWVPGalleryItem::GetSize() const
{
    if (m_bLabel)
        return CSize(0, CWVPGalleryItemCollection::kLabelHeight);
    if (m_szItem.cx || m_szItem.cy || !m_pCollection)
        return m_szItem;
    return m_pCollection->GetItemSize();
}

void CWVPGalleryItem::Draw(CDC* pDC, CWVPControlGallery* pGallery, CRect rc, BOOL enabled, BOOL selected, BOOL pressed,
                           BOOL checked)
{
    CWVPPaintManager* paintManager = pGallery ? pGallery->GetPaintManager() : nullptr;
    if (!paintManager)
        return;
    if (m_bLabel)
    {
        if (CWVPControlGalleryPaintManager* painter = pGallery->GetGalleryPaintManager())
            painter->DrawLabel(pDC, this, rc);
        return;
    }
    if (selected || pressed || checked)
        paintManager->DrawRectangle(pDC, rc, selected, pressed, enabled, checked, FALSE, wvpBarTypeNormal, wvpBarPopup);
    CWVPImageManager* images = m_pCollection ? m_pCollection->GetImageManager() : nullptr;
    CWVPImageManagerIcon* icon = images && m_nImageId >= 0 ? images->GetImage(UINT(m_nImageId), rc.Width()) : nullptr;
    if (icon)
    {
        icon->DrawScaled(pDC->GetSafeHdc(), rc.TopLeft(), rc.Size());
        return;
    }
    // Without an image the cell shows its caption in a frame.
    CRect cell = rc;
    cell.DeflateRect(2, 2);
    if (cell.IsRectEmpty())
        return;
    pDC->Draw3dRect(cell, paintManager->GetColor(kCellFrameColor), paintManager->GetColor(kCellFrameColor));
    CFont* font = paintManager->GetControlFont(pGallery->GetParent(), FALSE);
    CFont* old = font ? pDC->SelectObject(font) : nullptr;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(paintManager->GetColor(kCellTextColor));
    pDC->DrawText(m_strCaption, cell, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (old)
        pDC->SelectObject(old);
}

CWVPGalleryItemCollection::CWVPGalleryItemCollection()
    : m_szItem(kDefaultItemSize, kDefaultItemSize), m_bItemRedrawOnly(FALSE), m_pToolTipImages(nullptr),
      m_pImages(nullptr)
{
}

CWVPGalleryItemCollection::~CWVPGalleryItemCollection()
{
    RemoveAll();
}

CWVPGalleryItem* CWVPGalleryItemCollection::AddItem(CWVPGalleryItem* pItem)
{
    pItem->m_pCollection = this;
    m_items.push_back(pItem);
    return pItem;
}

CWVPGalleryItem* CWVPGalleryItemCollection::AddItem(int id, LPCWSTR caption, int imageId)
{
    CWVPGalleryItem* pItem = AddItem(new CWVPGalleryItem(id, caption));
    pItem->SetImageId(imageId);
    return pItem;
}

CWVPGalleryItem* CWVPGalleryItemCollection::AddLabel(LPCWSTR caption)
{
    return AddItem(new CWVPGalleryItem(0, caption, TRUE));
}

void CWVPGalleryItemCollection::RemoveAll()
{
    for (CWVPGalleryItem* pItem : m_items)
        delete pItem;
    m_items.clear();
}

void CWVPGalleryItemCollection::Remove(int index)
{
    if (index < 0 || index >= GetItemCount())
        return;
    delete m_items[size_t(index)];
    m_items.erase(m_items.begin() + index);
}

CWVPGalleryItem* CWVPGalleryItemCollection::GetItem(int index) const
{
    return index >= 0 && index < GetItemCount() ? m_items[size_t(index)] : nullptr;
}

BOOL CWVPGalleryItemCollection::DrawItem(CDC*, CWVPControlGallery*, CWVPGalleryItem*, CRect, BOOL, BOOL, BOOL, BOOL)
{
    return FALSE;
}
