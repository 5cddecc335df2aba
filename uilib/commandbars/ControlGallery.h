#pragma once
// A gallery on a bar or in a popup: the items of its action's collection flow left to right in
// rows, label rows divide them into groups, and its own scroll bar scrolls the rows (a column of
// up, down and "more" buttons when the gallery also opens a popup). Hovering or keys highlight an
// item and announce a live preview to the owner; a click executes the control with the item.
// Shown as a button (styles 2 and 4) it is a plain popup control that opens its items.
#include "uilib/commandbars/ControlPopup.h"
#include "uilib/commandbars/ScrollBase.h"

#include <vector>

class CWVPControlGalleryPaintManager;
class CWVPGalleryItem;
class CWVPGalleryItemCollection;

// Notifications a gallery sends its owner (through the control's owner notification).
const UINT WVP_GN_PREVIEWSTART = 0x1010;
const UINT WVP_GN_PREVIEWCANCEL = 0x1011;
const UINT WVP_GN_PREVIEWAPPLY = 0x1012;
const UINT WVP_GN_PREVIEWCHANGE = 0x1013;
const UINT WVP_GN_BEGINDRAG = 0x1014;
const UINT WVP_GN_SELCHANGE = 0x1015;

class CWVPControlGallery : public CWVPControlPopup, public CWVPScrollBase
{
    DECLARE_SERIAL(CWVPControlGallery)

  public:
    struct GALLERYITEM_POSITION
    {
        CRect rcItem; // unscrolled control co-ordinates
        CWVPGalleryItem* pItem;
        BOOL bBeginRow;
    };

    CWVPControlGallery();
    ~CWVPControlGallery() override;

    // Control operations.
    void SetRect(CRect rc) override;
    CSize GetSize(CDC* pDC) override;
    void Draw(CDC* pDC) override;
    void SetAction(CWVPControlAction* pAction) override;
    void OnClick(BOOL keyboard = FALSE, CPoint pt = CPoint(0, 0)) override;
    BOOL OnHookKeyDown(UINT key) override;
    BOOL OnHookMouseWheel(UINT flags, short delta, CPoint pt) override;
    void OnLButtonUp(CPoint pt) override;
    void OnMouseMove(CPoint pt) override;
    void OnMouseHover() override;
    BOOL OnSetSelected(int state) override;
    BOOL IsCustomizeResizeAllow() const override;
    int GetCustomizeMinWidth() const override;
    int GetCustomizeMinHeight() const override;
    INT_PTR OnToolHitTest(CPoint pt, TOOLINFO* pTI) override;
    CWVPControl* Clone(BOOL recursive = FALSE) override;
    BOOL IsFocused() const override;
    void OnExecute() override;
    void DoPropExchange(CWVPPropExchange* pPX) override;
    void Copy(CWVPControl* pSource, BOOL recursive = FALSE) override;
    BOOL OnSetPopup(BOOL open) override;
    BOOL AdjustExcludeRect(CRect& rc, BOOL vertical) override;

    HRESULT GetAccessibleChildCount(LONG* pcountChildren) override;
    HRESULT GetAccessibleName(VARIANT varChild, BSTR* pszName) override;
    HRESULT GetAccessibleRole(VARIANT varChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(VARIANT varChild, VARIANT* pvarState) override;
    HRESULT GetAccessibleDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    HRESULT AccessibleLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight, VARIANT varChild) override;
    HRESULT AccessibleHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleDoDefaultAction(VARIANT varChild) override;
    HRESULT AccessibleSelect(LONG flagsSelect, VARIANT varChild) override;

    // The gallery's own operations.
    virtual CRect GetBorders() const;
    virtual void OnSelectedItemChanged();
    virtual CRect GetItemsMargins() const;
    virtual void NotifySelectionChanged();
    virtual void UpdateScrollBar();

    // Scroll-bar operations, as the gallery answers them.
    BOOL IsScrollBarEnabled() const override;
    CWnd* GetParentWindow() const override;
    void AnimateScroll() override;
    CRect GetScrollBarRect() override;
    void GetScrollInfo(SCROLLINFO* info) override;
    void DoScroll(int command, int position) override;
    void RedrawScrollBar() override;
    void CalcScrollBarInfo(CRect rc, WVP_SCROLLBAR_POSINFO* info, const SCROLLINFO* scroll) override;
    CWVPScrollBarPaintManager* GetScrollBarPaintManager() override;

    BOOL IsDisplayedAsButton() const;
    CWVPGalleryItemCollection* GetItems() const;
    int GetItemCount() const;
    CWVPGalleryItem* GetItem(int index) const;
    CRect GetItemsArea() const;
    int ItemFromPoint(CPoint pt, CRect* pRect = nullptr) const;
    CRect GetItemVisibleRect(int index) const;
    CString GetItemText(int index) const;
    int GetSelectedItem() const
    {
        return m_nSelectedItem;
    }
    void SetSelectedItem(int index);
    void HideHighlight();
    BOOL IsSelectionHidden() const
    {
        return m_bHideSelection;
    }
    void BringItemIntoView(int index);
    int ScrollItemToTop(int index);
    void SetScrollOffset(int pos);
    int GetScrollOffset() const
    {
        return m_nScrollPos;
    }
    void StartScrollAnimation(int pos);
    BOOL IsAnimating() const
    {
        return m_bAnimating;
    }
    int FindItemByText(int start, LPCWSTR text, BOOL exact) const;
    void RedrawArea(LPCRECT rc = nullptr, BOOL animate = FALSE);
    BOOL IsScrollButtonEnabled(int part) const;
    BOOL HasBottomSeparator() const;
    CWVPControlGalleryPaintManager* GetGalleryPaintManager() const;
    void FillBackground(CDC* pDC, CRect rc);
    void DrawScrollBar(CDC* pDC);
    void LayoutItems();
    // Items are laid out only when the gallery sits on a bar; a window-less gallery is laid out
    // on request as well (the positions of its items and its scrolling).
    int GetItemsHeight() const
    {
        return m_nItemsHeight;
    }
    const std::vector<GALLERYITEM_POSITION>& GetPositions() const
    {
        return m_positions;
    }
    // The next selectable item from the index in a direction (+1 or -1), wrapping once.
    int GetNextItem(int index, int direction) const;
    int GetPageItem(int index, int direction) const;
    int GetRowItem(int index, int direction) const;
    int GetColumnItem(int index, int direction) const;

    void SetCheckedItem(int id)
    {
        m_nChecked = id;
    }
    int GetCheckedItem() const
    {
        return m_nChecked;
    }
    BOOL IsShowLabels() const
    {
        return m_bShowLabels;
    }
    void ShowLabels(BOOL show)
    {
        m_bShowLabels = show;
    }
    BOOL IsShowScrollBar() const
    {
        return m_bShowScrollBar;
    }
    void ShowScrollBar(BOOL show)
    {
        m_bShowScrollBar = show;
    }
    BOOL IsShowBorders() const
    {
        return m_bShowBorders;
    }
    void ShowBorders(BOOL show)
    {
        m_bShowBorders = show;
    }
    CRect GetGalleryMargin() const
    {
        return m_rcMargin;
    }
    void SetGalleryMargin(CRect rc)
    {
        m_rcMargin = rc;
    }
    BOOL IsResizable() const
    {
        return m_nResizable != 0;
    }
    void SetResizable(BOOL resizable)
    {
        m_nResizable = resizable;
    }
    BOOL IsPreviewing() const
    {
        return m_bPreview;
    }
    int GetHotScrollPart() const
    {
        return m_nHotScrollPart;
    }
    BOOL IsScrollPartPressed() const
    {
        return m_bScrollPartPressed;
    }

  protected:
    // TRUE when the gallery also opens a popup of its items (its scroll bar is a button column).
    BOOL HasPopupBar() const;
    int GetVisibleHeight() const;
    int GetMaxScroll() const;
    void RedrawItem(int index);
    void DrawItems(CDC* pDC);
    void StopScrollAnimation();
    int ScrollPartFromPoint(CPoint pt);
    BOOL IsItemSelectable(int index) const;

    int m_nHotScrollPart;
    BOOL m_bScrollPartPressed;
    BOOL m_bAnimating;
    int m_nChecked;
    int m_nSelectedItem;
    BOOL m_bHideSelection;
    BOOL m_bPressed;
    CPoint m_ptPressed;
    int m_nScrollPos;
    int m_nScrollTarget;
    double m_dScrollStep;
    BOOL m_bKeyboardSelected;
    int m_nItemsHeight;
    BOOL m_bShowLabels;
    BOOL m_bShowScrollBar;
    BOOL m_bShowBorders;
    CRect m_rcMargin;
    BOOL m_bPreview;
    int m_nResizable;
    std::vector<GALLERYITEM_POSITION> m_positions;
};
