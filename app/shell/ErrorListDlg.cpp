#include "app/shell/ErrorListDlg.h"

#include "app/core/Helpers.h"
#include "app/core/LangMgr.h"
#include "uilib/controls/HeaderCtrlTheme.h"
#include "uilib/foundation/DibReader.h"
#include "uilib/foundation/SortClass.h"

#include <algorithm>

namespace
{
const DWORD kListStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
const int kNameWidth = 150;
const int kReasonWidth = 300;
const int kMinColumnWidth = 10;
// The room a list cell leaves around its text.
const int kCellPadding = 16;

void SetTranslated(HWND window, LPCWSTR key)
{
    const CString text = LangMgr::GetText(key);
    if (window && !text.IsEmpty())
        ::SetWindowTextW(window, text);
}
// The colour a control's parent paints behind it; the button face when the brush is not a plain one.
COLORREF BackgroundOf(HWND control)
{
    HBRUSH brush = nullptr;
    if (HDC dc = ::GetDC(control))
    {
        brush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(control), WM_CTLCOLORSTATIC,
                                                        reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
        ::ReleaseDC(control, dc);
    }
    LOGBRUSH info = {};
    if (brush && ::GetObjectW(brush, sizeof info, &info) == sizeof info && info.lbStyle == BS_SOLID)
        return info.lbColor;
    return ::GetSysColor(COLOR_BTNFACE);
}

} // namespace

BEGIN_MESSAGE_MAP(CErrorListDlg, CResizableDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

CErrorListDlg::CErrorListDlg(CWnd* parent) : CResizableDialog(kTemplateId, parent)
{
}

void CErrorListDlg::DoDataExchange(CDataExchange* dx)
{
    CResizableDialog::DoDataExchange(dx);
    DDX_Control(dx, kListId, m_list);
}

BOOL CErrorListDlg::OnInitDialog()
{
    CResizableDialog::OnInitDialog();
    m_bShowGrip = FALSE;
    ::InvalidateRect(m_hWnd, &m_rcGrip, TRUE);
    AddAnchor(kListId, kAnchorTopLeft, kAnchorBottomRight);
    AddAnchor(IDOK, kAnchorBottomCenter, kAnchorBottomCenter);

    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | kListStyles);
    m_list.InsertColumn(0, LangMgr::GetText(L"err_list_obj"), LVCFMT_LEFT, kNameWidth);
    m_list.InsertColumn(1, LangMgr::GetText(L"err_list_info"), LVCFMT_LEFT, kReasonWidth);
    if (HWND header = ::GetDlgItem(m_list.m_hWnd, 0))
    {
        m_header.SubclassWindow(header);
        m_header.SetMinColumnWidth(kMinColumnWidth);
        m_header.SetAutoFitColumns(TRUE);
        m_header.SetTheme(new CWVHeaderCtrlThemeExplorer);
        m_header.EnablePopupMenus(FALSE);
    }

    m_list.DeleteAllItems();
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
    {
        const CString& entry = m_entries[i];
        const int split = entry.Find(m_split);
        const int row = m_list.InsertItem((int)i, split < 0 ? CString() : entry.Left(split));
        m_list.SetItemText(row, 1, split < 0 ? entry : entry.Mid(split + 1));
    }

    SetTranslated(m_hWnd, L"err_title");
    SetTranslated(::GetDlgItem(m_hWnd, kTipId), L"err_tip");
    SetTranslated(::GetDlgItem(m_hWnd, IDOK), L"idok");
    ShowPicture();
    FitReasonColumn();
    return TRUE;
}

void CErrorListDlg::ShowPicture()
{
    HWND picture = ::GetDlgItem(m_hWnd, kPictureId);
    if (!picture)
        return;
    CWVPDibImage image;
    if (!CWVPDibReader::ReadResource(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDB_ERRORTIP), image))
        return;
    const COLORREF background = BackgroundOf(picture);
    for (size_t i = 0; i + 3 < image.pixels.size(); i += 4)
    {
        BYTE* pixel = &image.pixels[i]; // blue, green, red, alpha
        if (RGB(pixel[2], pixel[1], pixel[0]) == kPictureMask)
        {
            pixel[0] = GetBValue(background);
            pixel[1] = GetGValue(background);
            pixel[2] = GetRValue(background);
        }
    }
    HBITMAP shown = CWVPDibReader::CreateDibSection(image);
    if (!shown)
        return;
    m_picture.DeleteObject();
    m_picture.Attach(shown);
    // The picture the static loaded from the template is its caller's to free.
    HGDIOBJ previous = reinterpret_cast<HGDIOBJ>(
        ::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown)));
    if (previous && previous != shown)
        ::DeleteObject(previous);
}

void CErrorListDlg::FitReasonColumn()
{
    int widest = 0;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        widest = std::max(widest, m_list.GetStringWidth(m_list.GetItemText(row, 1)));
    // The reason column takes what the name column leaves of the list.
    CRect client;
    m_list.GetClientRect(&client);
    const int missing = widest + kCellPadding - (client.Width() - m_list.GetColumnWidth(0));
    if (missing <= 0)
        return;
    // The dialog grows by what the longest reason lacks, as far as the screen allows, and stays centred.
    CRect window;
    ::GetWindowRect(m_hWnd, &window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const CRect work(monitor.rcWork);
    const int grow = std::min(missing, work.Width() - window.Width());
    if (grow <= 0)
        return;
    const int left = std::max<int>(work.left, std::min<int>(window.left - grow / 2, work.right - window.Width() - grow));
    ::SetWindowPos(m_hWnd, nullptr, left, window.top, window.Width() + grow, window.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void CErrorListDlg::OnSize(UINT type, int, int)
{
    // Only the reason column follows the width.
    if (m_header.m_hWnd)
        m_header.AddFixedColumn(0);
    Default();
    if (type != SIZE_MAXSHOW && type != SIZE_MAXHIDE)
        ArrangeLayout();
    if (m_header.m_hWnd)
    {
        // The list does not always size its header with itself; the header fits its columns as it
        // takes the list's width.
        CRect client, header;
        m_list.GetClientRect(&client);
        m_header.GetWindowRect(&header);
        if (header.Width() != client.Width())
            m_header.SetWindowPos(nullptr, 0, 0, client.Width(), header.Height(),
                                  SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_header.RemoveFixedColumn(0);
    }
}

void CErrorListDlg::SortColumn(int column)
{
    BOOL ascending = TRUE;
    if (column == m_nLastSortColumn)
        ascending = !m_bSortAscending;
    else if (m_header.m_hWnd)
        m_header.GetSortColumn(&ascending);
    m_nLastSortColumn = column;
    m_bSortAscending = ascending;
    if (m_header.m_hWnd)
        m_header.SetSortArrow(column, ascending);
    CWVSortClass sort(&m_list, column);
    sort.Sort(ascending, CWVSortClass::typeString);
}

BOOL CErrorListDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->hwndFrom == m_list.m_hWnd && header->code == LVN_COLUMNCLICK)
        SortColumn(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
    return CResizableDialog::OnNotify(wParam, lParam, result);
}

void ShowErrorListDlg(const CString& title, const CString& heading, const CStringArray& entries)
{
    if (entries.GetSize() == 0)
        return;
    CErrorListDlg dialog(AfxGetMainWnd());
    dialog.m_split = kErrorEntrySeparator;
    dialog.SetTitle(title);
    dialog.SetHeading(heading);
    dialog.m_entries.Copy(entries);
    dialog.DoModal();
}
