#pragma once
// The ordered controls of one command bar: it owns them (one reference each), keeps them numbered
// and linked to their bar, makes controls by type or from menu items, finds and hit-tests them,
// gives the keyboard order, and lays them out for the bar.
#include "platform/mfc/Mfc.h"

#include <vector>

class CWVPControl;
class CWVPCommandBar;
class CWVPCommandBarManager;
class CWVPOriginalControls;

// What a site may change of a control made from a menu item (messages 10334 and 10335).
struct CREATE_CONTROL_NOTIFY
{
    int id;
    CWVPControl* pControl;
    BOOL toolBar;
    int index;
    CMenu* pMenu;
    CWVPCommandBar* pCommandBar;
    LPCWSTR caption;
    int controlType;
    int buttonStyle;
};

// A site's bar for a popup control (message 10337).
struct CREATE_BAR_NOTIFY
{
    CCmdTarget* pCreated;
    BOOL popup;
    DWORD reserved[3];
    LPCWSTR caption;
    int id;
};

const UINT WVP_WM_BEFORECREATECONTROL = 10334;
const UINT WVP_WM_AFTERCREATECONTROL = 10335;
const UINT WVP_WM_CREATEPOPUPBAR = 10337;
// Menu items with this id give no control.
const UINT WVP_ID_NOCONTROL = 0xFF00;
const UINT WVP_ID_OLEVERBS = 0xE210;

// One control's place during a layout run.
struct CONTROL_LAYOUT_INFO
{
    CRect rcControl;
    CRect rcRow;
    CSize size;
    BOOL visible;
    BOOL wrap;
    BOOL hidden;
    BOOL beginGroup;
    int style;
    CWVPControl* pControl;
};

class CWVPControls : public CCmdTarget
{
    DECLARE_DYNCREATE(CWVPControls)

  public:
    CWVPControls();
    ~CWVPControls() override;

    virtual void Remove(CWVPControl* pControl);
    virtual void Copy(CWVPControls* pSource, BOOL recursive = FALSE);
    virtual BOOL ShouldSaveControl(CWVPControl* pControl);
    virtual void OnControlAdded(CWVPControl* pControl);
    virtual void OnControlRemoved(CWVPControl* pControl);
    virtual BOOL IsControlKept(CWVPControl* pControl);
    virtual void RefreshIndexes();

    int GetCount() const
    {
        return int(m_controls.size());
    }
    CWVPControl* GetAt(int index) const;
    CWVPCommandBar* GetParent() const
    {
        return m_pParent;
    }
    void SetParent(CWVPCommandBar* pBar);
    CWVPCommandBarManager* GetCommandBars() const;
    void SetCommandBars(CWVPCommandBarManager* manager)
    {
        m_pCommandBars = manager;
    }
    CWVPOriginalControls* GetOriginalControls() const
    {
        return m_pOriginal;
    }
    void SetOriginalControls(CWVPOriginalControls* pOriginal);
    void ReleaseOriginalControls()
    {
        SetOriginalControls(nullptr);
    }

    CWVPControl* Insert(CWVPControl* pControl, int before = -1);
    CWVPControl* Add(CWVPControl* pControl)
    {
        return Insert(pControl, -1);
    }
    CWVPControl* AddControl(CWVPControl* pControl, int id, LPCWSTR parameter = L"", int before = -1,
                            BOOL temporary = FALSE);
    CWVPControl* AddByType(int type, int id, LPCWSTR parameter = L"", int before = -1, BOOL temporary = FALSE);
    CWVPControl* AddClone(CWVPControl* pSource, int before = -1, BOOL recursive = FALSE);
    CWVPControl* AddMenuItem(CMenu* pMenu, int position);
    CWVPControl* SetControlType(CWVPControl* pControl, int type);
    CWVPControl* SetControlTypeAt(int index, int type);
    void RemoveAll();

    CWVPControl* FindControl(int type, int id, BOOL visibleOnly = FALSE, BOOL recursive = FALSE) const;
    CWVPControl* FindControlById(int id) const
    {
        return FindControl(0, id, FALSE, FALSE);
    }
    CWVPControl* HitTest(CPoint pt) const;
    int GetVisibleCount(BOOL all = TRUE) const;
    CWVPControl* GetVisibleAt(int n, BOOL all = TRUE) const;
    int GetNext(int index, int direction, BOOL skipFlag2 = TRUE, BOOL skipTemporary = FALSE,
                BOOL narrowMask = TRUE) const;
    BOOL IsEqual(CWVPControls* pOther) const;
    BOOL IsChanged() const;
    CWVPControls* Duplicate(BOOL recursive = FALSE);
    void CreateOriginalControls();

    // Layouts: the tool-bar and large-button layout for a length and mode, and the popup-menu
    // layout; each returns the bar's size with its borders.
    CSize CalcDynamicSize(CDC* pDC, int length, DWORD mode, CRect borders, int minWidth = 0);
    CSize CalcPopupSize(CDC* pDC, int maxHeight, int width, CRect borders);

  protected:
    int WrapControls(std::vector<CONTROL_LAYOUT_INFO>& records, int rowLength, DWORD& mode);
    CSize CalcControlsSize(std::vector<CONTROL_LAYOUT_INFO>& records, BOOL vertical);
    void SizeToSquare(std::vector<CONTROL_LAYOUT_INFO>& records, DWORD& mode);
    // Bisects the row length between the narrowest and the widest wrap by the comparison.
    void BisectRowLength(std::vector<CONTROL_LAYOUT_INFO>& records, DWORD& mode, int (*compare)(CSize, int),
                         int target, BOOL wideOnRepeat);
    void FitToLength(std::vector<CONTROL_LAYOUT_INFO>& records, int length, DWORD& mode);
    void AdjustBorders(std::vector<CONTROL_LAYOUT_INFO>& records, CSize& size, DWORD mode, CRect borders);
    void SetRowRects(std::vector<CONTROL_LAYOUT_INFO>& records, size_t first, size_t last, int thickness,
                     CSize size, DWORD mode, CRect borders);
    void AlignAndStretch(std::vector<CONTROL_LAYOUT_INFO>& records, CSize size, CRect borders, DWORD mode);
    CSize CalcLargeButtonsLayout(std::vector<CONTROL_LAYOUT_INFO>& records, CDC* pDC, int length, DWORD& mode);
    CSize CalcColumns(std::vector<CONTROL_LAYOUT_INFO>& records, CDC* pDC, DWORD mode);
    CSize ReduceLargeButtons(std::vector<CONTROL_LAYOUT_INFO>& records, CDC* pDC, int length, DWORD& mode);
    void SetColumnWidth(size_t first, size_t last, int width);
    CWVPControl* CreateControl(int type, int id, LPCWSTR caption, BOOL fromMenu);

    CWVPCommandBar* m_pParent;
    std::vector<CWVPControl*> m_controls;
    CWVPCommandBarManager* m_pCommandBars;
    CWVPOriginalControls* m_pOriginal;
    BOOL m_bOriginal;

    // Kept between the steps of one layout run.
    CSize m_szSeparator;
    int m_nRowSpacing;
    CDC* m_pLayoutDC;
};

class CWVPOriginalControls : public CWVPControls
{
    DECLARE_DYNCREATE(CWVPOriginalControls)

  public:
    CWVPOriginalControls()
    {
        m_bOriginal = TRUE;
    }
};
