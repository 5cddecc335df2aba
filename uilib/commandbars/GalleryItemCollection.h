#pragma once
// The items a gallery shows (pictures, styles, colours) and the collection that holds them. A
// collection is attached to the action of the gallery's command id, so every gallery of that id
// shows the same items; label items head the groups.
#include "platform/mfc/Mfc.h"

#include <vector>

class CWVPControlGallery;
class CWVPGalleryItemCollection;
class CWVPImageManager;

class CWVPGalleryItem
{
  public:
    CWVPGalleryItem(int id, LPCWSTR caption, BOOL label = FALSE);
    virtual ~CWVPGalleryItem() = default;
    CWVPGalleryItem(const CWVPGalleryItem&) = delete;
    CWVPGalleryItem& operator=(const CWVPGalleryItem&) = delete;

    // The item's cell; a width of 0 takes the whole row. Labels are one row high.
    virtual CSize GetSize() const;
    // Draws the item in its cell: its image when the collection has one for it, else its caption.
    virtual void Draw(CDC* pDC, CWVPControlGallery* pGallery, CRect rc, BOOL enabled, BOOL selected, BOOL pressed,
                      BOOL checked);

    int GetID() const
    {
        return m_nId;
    }
    // The id the item's tooltip is known by: its own tooltip id when set, else its id.
    int GetToolTipId() const
    {
        return m_nToolTipId >= 0 ? m_nToolTipId : m_nId;
    }
    void SetToolTipId(int id)
    {
        m_nToolTipId = id;
    }
    BOOL IsLabel() const
    {
        return m_bLabel;
    }
    CString GetCaption() const
    {
        return m_strCaption;
    }
    void SetCaption(LPCWSTR caption)
    {
        m_strCaption = caption;
    }
    // The tooltip text; the caption when none was set.
    CString GetToolTip() const
    {
        return m_strToolTip.IsEmpty() ? m_strCaption : m_strToolTip;
    }
    void SetToolTip(LPCWSTR text)
    {
        m_strToolTip = text;
    }
    CString GetDescription() const
    {
        return m_strDescription;
    }
    void SetDescription(LPCWSTR text)
    {
        m_strDescription = text;
    }
    // The image id in the collection's image manager (-1 none).
    int GetImageId() const
    {
        return m_nImageId;
    }
    void SetImageId(int id)
    {
        m_nImageId = id;
    }
    // An own cell size; (0, 0) takes the collection's item size.
    void SetSize(CSize size)
    {
        m_szItem = size;
    }
    CWVPGalleryItemCollection* GetCollection() const
    {
        return m_pCollection;
    }

  private:
    friend class CWVPGalleryItemCollection;
    int m_nId;
    int m_nToolTipId;
    BOOL m_bLabel;
    int m_nImageId;
    CSize m_szItem;
    CString m_strCaption;
    CString m_strToolTip;
    CString m_strDescription;
    CWVPGalleryItemCollection* m_pCollection;
};

class CWVPGalleryItemCollection : public CCmdTarget
{
  public:
    // Label rows are this high.
    static const int kLabelHeight = 19;

    CWVPGalleryItemCollection();
    ~CWVPGalleryItemCollection() override;

    // Appends an item (the collection owns it) and returns it.
    CWVPGalleryItem* AddItem(CWVPGalleryItem* pItem);
    CWVPGalleryItem* AddItem(int id, LPCWSTR caption, int imageId = -1);
    CWVPGalleryItem* AddLabel(LPCWSTR caption);
    void RemoveAll();
    void Remove(int index);

    int GetItemCount() const
    {
        return int(m_items.size());
    }
    // The item at the index, or none outside 0..count-1.
    CWVPGalleryItem* GetItem(int index) const;

    // The default cell of the items; its height is also the line-scroll step.
    CSize GetItemSize() const
    {
        return m_szItem;
    }
    void SetItemSize(CSize size)
    {
        m_szItem = size;
    }
    // Redraw only the rectangles of the items whose highlight changes, not the whole gallery.
    BOOL IsItemRedrawOnly() const
    {
        return m_bItemRedrawOnly;
    }
    void SetItemRedrawOnly(BOOL only)
    {
        m_bItemRedrawOnly = only;
    }
    // A value handed on to the tooltips of the items.
    CWVPImageManager* GetToolTipImageManager() const
    {
        return m_pToolTipImages;
    }
    void SetToolTipImageManager(CWVPImageManager* images)
    {
        m_pToolTipImages = images;
    }
    // The images the items draw (none: every item draws its caption).
    CWVPImageManager* GetImageManager() const
    {
        return m_pImages;
    }
    void SetImageManager(CWVPImageManager* images)
    {
        m_pImages = images;
    }

    // Lets an owner draw items itself: TRUE when it drew the item.
    virtual BOOL DrawItem(CDC* pDC, CWVPControlGallery* pGallery, CWVPGalleryItem* pItem, CRect rc, BOOL enabled,
                          BOOL selected, BOOL pressed, BOOL checked);

  private:
    std::vector<CWVPGalleryItem*> m_items;
    CSize m_szItem;
    BOOL m_bItemRedrawOnly;
    CWVPImageManager* m_pToolTipImages;
    CWVPImageManager* m_pImages;
};
