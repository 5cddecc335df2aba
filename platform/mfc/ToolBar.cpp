#include "platform/mfc/ToolBar.h"

#include "platform/mfc/FrameWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
ON_WM_PAINT()
ON_WM_NCCALCSIZE()
END_MESSAGE_MAP()

namespace
{
// The update request of one tool-bar button.
class CToolCmdUI : public CCmdUI
{
public:
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        CToolBar* bar = static_cast<CToolBar*>(m_pOther);
        bar->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(on ? 1 : 0, 0));
    }
    void SetCheck(int check) override
    {
        CToolBar* bar = static_cast<CToolBar*>(m_pOther);
        bar->SendMessage(TB_INDETERMINATE, m_nID, MAKELPARAM(check == 2 ? 1 : 0, 0));
        bar->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(check == 1 ? 1 : 0, 0));
    }
    void SetText(LPCWSTR) override {}
};

// The tool-bar resource: version, image width and height, count, then the command ids.
struct ToolBarResource
{
    WORD version;
    WORD width;
    WORD height;
    WORD count;
    WORD items[1];
};
}

CToolBar::CToolBar()
    : m_sizeImage(16, 15), m_sizeButton(23, 22), m_bDelayedButtonLayout(TRUE), m_hbmImageWell(nullptr),
      m_hInstImageWell(nullptr), m_hRsrcImageWell(nullptr)
{
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
}

CToolBar::~CToolBar()
{
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, 0, style, CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), id);
}

BOOL CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, CRect borders, UINT id)
{
    SetBorders(borders);
    m_dwStyle = style & CBRS_ALL;
    // The control does not place itself: the frame's layout does.
    DWORD windowStyle = (style & ~CBRS_ALL) | ctrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NORESIZE |
                        CCS_NODIVIDER | WS_CHILD;
    if (style & CBRS_TOOLTIPS)
        windowStyle |= TBSTYLE_TOOLTIPS;
    AfxDeferRegisterClass(AFX_WNDCOMMCTLS_REG);
    if (!CWnd::Create(TOOLBARCLASSNAMEW, nullptr, windowStyle, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SetOwner(parent);
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

BOOL CToolBar::SetBitmap(HBITMAP bitmap)
{
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = bitmap;
    if (!bitmap)
        return FALSE;
    BITMAP info = {};
    ::GetObjectW(bitmap, sizeof(info), &info);
    TBADDBITMAP add = {nullptr, (UINT_PTR)bitmap};
    int images = m_sizeImage.cx > 0 ? info.bmWidth / m_sizeImage.cx : 0;
    return SendMessage(TB_ADDBITMAP, (WPARAM)images, (LPARAM)&add) != -1;
}

BOOL CToolBar::LoadBitmap(LPCWSTR name)
{
    m_hInstImageWell = AfxFindResourceHandle(name, (LPCWSTR)RT_BITMAP);
    m_hRsrcImageWell = ::FindResourceW(m_hInstImageWell, name, (LPCWSTR)RT_BITMAP);
    HBITMAP bitmap = (HBITMAP)::LoadImageW(m_hInstImageWell, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    return bitmap ? SetBitmap(bitmap) : FALSE;
}

BOOL CToolBar::LoadToolBar(LPCWSTR name)
{
    HINSTANCE module = AfxFindResourceHandle(name, (LPCWSTR)RT_TOOLBAR);
    HRSRC resource = ::FindResourceW(module, name, (LPCWSTR)RT_TOOLBAR);
    HGLOBAL handle = resource ? ::LoadResource(module, resource) : nullptr;
    const ToolBarResource* data = handle ? static_cast<const ToolBarResource*>(::LockResource(handle)) : nullptr;
    if (!data || data->version != 1)
        return FALSE;
    UINT* ids = new UINT[data->count ? data->count : 1];
    for (WORD i = 0; i < data->count; ++i)
        ids[i] = data->items[i];
    BOOL ok = SetButtons(ids, data->count);
    delete[] ids;
    if (ok)
    {
        SetSizes(CSize(data->width + 7, data->height + 7), CSize(data->width, data->height));
        ok = LoadBitmap(name);
    }
    return ok;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    while (SendMessage(TB_DELETEBUTTON, 0))
    {
    }
    int image = 0;
    for (int i = 0; i < count; ++i)
    {
        TBBUTTON button = {};
        button.fsState = TBSTATE_ENABLED;
        if (!ids || ids[i] == ID_SEPARATOR)
        {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = 6; // separator width
        }
        else
        {
            button.idCommand = (int)ids[i];
            button.fsStyle = TBSTYLE_BUTTON;
            button.iBitmap = image++;
        }
        if (!SendMessage(TB_ADDBUTTONSW, 1, (LPARAM)&button))
            return FALSE;
    }
    m_nCount = count;
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    m_sizeButton = button;
    m_sizeImage = image;
    if (!m_hWnd)
        return;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
    Invalidate();
}

void CToolBar::SetHeight(int height)
{
    int spare = height - m_sizeButton.cy;
    m_cyTopBorder = spare > 0 ? spare / 2 : 0;
    m_cyBottomBorder = spare > 0 ? spare - m_cyTopBorder : 0;
}

BOOL CToolBar::GetButton(int index, TBBUTTON* button) const
{
    ::ZeroMemory(button, sizeof(*button));
    return (BOOL)SendMessage(TB_GETBUTTON, (WPARAM)index, (LPARAM)button);
}

int CToolBar::CommandToIndex(UINT id) const
{
    return (int)SendMessage(TB_COMMANDTOINDEX, id);
}

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button;
    if (!GetButton(index, &button))
        return 0;
    return (button.fsStyle & TBSTYLE_SEP) ? ID_SEPARATOR : (UINT)button.idCommand;
}

void CToolBar::GetItemRect(int index, LPRECT rect) const
{
    if (!SendMessage(TB_GETITEMRECT, (WPARAM)index, (LPARAM)rect))
        ::SetRectEmpty(rect);
}

UINT CToolBar::GetButtonStyle(int index) const
{
    TBBUTTON button;
    if (!GetButton(index, &button))
        return 0;
    // The framework keeps "disabled" where the control keeps "enabled".
    return MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
}

void CToolBar::SetButtonStyle(int index, UINT style)
{
    TBBUTTON button;
    if (!GetButton(index, &button))
        return;
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE | TBIF_STATE | TBIF_BYINDEX;
    info.fsStyle = (BYTE)LOWORD(style);
    info.fsState = (BYTE)(HIWORD(style) ^ TBSTATE_ENABLED);
    SendMessage(TB_SETBUTTONINFOW, (WPARAM)index, (LPARAM)&info);
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const
{
    TBBUTTON button;
    GetButton(index, &button);
    id = (UINT)button.idCommand;
    style = MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
    image = button.iBitmap;
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image)
{
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_COMMAND | TBIF_STYLE | TBIF_STATE | TBIF_IMAGE | TBIF_BYINDEX;
    info.idCommand = (int)id;
    info.fsStyle = (BYTE)LOWORD(style);
    info.fsState = (BYTE)(HIWORD(style) ^ TBSTATE_ENABLED);
    info.iImage = image;
    if (LOWORD(style) & TBSTYLE_SEP)
    {
        info.dwMask |= TBIF_SIZE;
        info.cx = (WORD)image;
    }
    SendMessage(TB_SETBUTTONINFOW, (WPARAM)index, (LPARAM)&info);
    m_bDelayedButtonLayout = TRUE;
}

BOOL CToolBar::SetButtonText(int index, LPCWSTR text)
{
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = const_cast<LPWSTR>(text);
    return (BOOL)SendMessage(TB_SETBUTTONINFOW, (WPARAM)index, (LPARAM)&info);
}

CString CToolBar::GetButtonText(int index) const
{
    wchar_t text[256] = {0};
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = text;
    info.cchText = 256;
    SendMessage(TB_GETBUTTONINFOW, (WPARAM)index, (LPARAM)&info);
    return CString(text);
}

void CToolBar::Layout()
{
    m_bDelayedButtonLayout = FALSE;
    if (!m_hWnd)
        return;
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(m_sizeButton.cx, m_sizeButton.cy));
    SendMessage(TB_AUTOSIZE);
}

CSize CToolBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    if (m_bDelayedButtonLayout)
        Layout();
    // The extent of the buttons as the control places them, plus the bar's borders.
    CSize size(0, 0);
    int count = GetButtonCount();
    for (int i = 0; i < count; ++i)
    {
        TBBUTTON button;
        if (!GetButton(i, &button) || (button.fsState & TBSTATE_HIDDEN))
            continue;
        CRect item;
        GetItemRect(i, &item);
        size.cx = std::max<LONG>(size.cx, item.right);
        size.cy = std::max<LONG>(size.cy, item.bottom);
    }
    if (count == 0)
        size = m_sizeButton;
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, horizontal);
    size.cx -= inside.Width();
    size.cy -= inside.Height();
    return StretchedSize(size, stretch, horizontal);
}

CSize CToolBar::CalcDynamicLayout(int, DWORD mode)
{
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CToolBar::OnBarStyleChange(DWORD, DWORD)
{
    Invalidate();
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)GetButtonCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex)
    {
        TBBUTTON button;
        if (!GetButton((int)state.m_nIndex, &button) || (button.fsStyle & TBSTYLE_SEP))
            continue;
        state.m_nID = (UINT)button.idCommand;
        UpdateItem(state, target, disableIfNoHandler);
    }
    // Controls hosted in the bar update themselves.
    UpdateDialogControls(target, disableIfNoHandler);
}

void CToolBar::OnNcCalcSize(BOOL calcValid, NCCALCSIZE_PARAMS* params)
{
    CWnd::OnNcCalcSize(calcValid, params);
}
