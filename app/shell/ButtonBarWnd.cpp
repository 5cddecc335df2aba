#include "app/shell/ButtonBarWnd.h"

#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "app/shell/MainPanels.h"
#include "resources/resource.h"

namespace
{
struct BarButton
{
    UINT id;
    UINT bitmap;
    const WCHAR* tipKey;
    bool canBeDisabled; // its tooltip is relayed while the button is disabled
};

// The buttons in table order: command, picture strip, tooltip key.
const BarButton kBarButtons[CButtonBarWnd::kButtonCount] = {
    {ID_FILE_ADDFILE, IDB_ADDFILE, L"tip_add_file", false}, {ID_FILE_ADDDIR, IDB_ADDDIR, L"tip_add_dir", false},
    {ID_EDIT_DELETE, IDB_DELETE, L"tip_delete", true},      {ID_ACTION_START, IDB_START, L"tip_start", true},
    {ID_ACTION_PAUSE, IDB_PAUSE, L"tip_pause", true},       {ID_ACTION_STOP, IDB_STOP, L"tip_stop", true},
    {ID_TOOL_OPTION, IDB_OPTION, L"tip_option", false},
};

// The buttons keep their size and stay centred as a group when the panel grows.
const CResizableAnchor kCentre = {50, 50};
} // namespace

CButtonBarWnd::PopupMenuFunction CButtonBarWnd::s_showPopupMenu = ShowPopupMenu;

BEGIN_MESSAGE_MAP(CButtonBarWnd, CResizableDialog)
ON_WM_CONTEXTMENU()
ON_WM_PAINT()
ON_MESSAGE(WM_RW_PANEL_RELOADTEXTS, OnPanelReloadTexts)
END_MESSAGE_MAP()

CButtonBarWnd::CButtonBarWnd() : CResizableDialog(IDD)
{
    // A panel inside the frame is sized by the frame only: no grip to drag it by.
    m_bShowGrip = FALSE;
}

CButtonBarWnd::~CButtonBarWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CButtonBarWnd::Create(CWnd* parent)
{
    return CDialog::Create(IDD, parent);
}

UINT CButtonBarWnd::ButtonId(int index)
{
    return kBarButtons[index].id;
}

void CButtonBarWnd::DoDataExchange(CDataExchange* dx)
{
    CResizableDialog::DoDataExchange(dx);
    for (int i = 0; i < kButtonCount; i++)
        DDX_Control(dx, int(kBarButtons[i].id), m_buttons[i]);
}

BOOL CButtonBarWnd::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    HINSTANCE instance = AfxGetResourceHandle();
    for (int i = 0; i < kButtonCount; i++)
    {
        HBITMAP strip = static_cast<HBITMAP>(
            ::LoadImageW(instance, MAKEINTRESOURCEW(kBarButtons[i].bitmap), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (strip)
            m_buttons[i].SetBitmap(strip);
        m_buttons[i].m_bTransparent = TRUE;
        m_buttons[i].m_crTransparent = kTransparentColour;
    }
    ReloadTexts();
    for (CButtonST& button : m_buttons)
        AddAnchor(button.m_hWnd, kCentre, kCentre);
    ArrangeLayout();
    return TRUE;
}

void CButtonBarWnd::ReloadTexts()
{
    for (int i = 0; i < kButtonCount; i++)
    {
        const CString text = LangMgr::GetText(kBarButtons[i].tipKey);
        if (!text.IsEmpty() && m_buttons[i].m_hWnd)
            m_buttons[i].SetTooltipText(text);
    }
}

LRESULT CButtonBarWnd::OnPanelReloadTexts(WPARAM, LPARAM)
{
    ReloadTexts();
    return 0;
}

BOOL CButtonBarWnd::PreTranslateMessage(MSG* msg)
{
    // Disabled buttons receive no mouse messages: their tooltips get them from here.
    for (int i = 0; i < kButtonCount; i++)
        if (kBarButtons[i].canBeDisabled && m_buttons[i].m_hWnd)
            m_buttons[i].RelayToolTipForDisabled(msg);
    return CResizableDialog::PreTranslateMessage(msg);
}

void CButtonBarWnd::OnOK()
{
}

void CButtonBarWnd::OnCancel()
{
}

bool CButtonBarWnd::IsOverButton(CPoint screenPoint) const
{
    for (const CButtonST& button : m_buttons)
    {
        CRect rect;
        if (button.m_hWnd && ::GetWindowRect(button.m_hWnd, &rect) && rect.PtInRect(screenPoint))
            return true;
    }
    return false;
}

void CButtonBarWnd::OnContextMenu(CWnd* wnd, CPoint point)
{
    Default();
    // Only the gaps show the menu; a disabled button passes its clicks to the panel, so the point
    // tells it apart too.
    if (wnd && wnd->m_hWnd == m_hWnd && !IsOverButton(point) && s_showPopupMenu)
        s_showPopupMenu(m_hWnd, kContextMenu, point.x, point.y);
}

void CButtonBarWnd::OnPaint()
{
    // The panel's look is its background and the skin's.
    CPaintDC paint(this);
}
