#include "uilib/commandbars/ControlComboBoxList.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/ControlComboBox.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"
#include "uilib/foundation/PropExchange.h"
#include "uilib/foundation/PropExchangeArchive.h"

#include <vector>

IMPLEMENT_SERIAL(CWVPControlComboBoxList, CWVPControlComboBoxPopupBar, VERSIONABLE_SCHEMA | 0x21)

BEGIN_MESSAGE_MAP(CWVPControlComboBoxList, CWVPControlComboBoxPopupBar)
ON_WM_PAINT()
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_WM_ERASEBKGND()
ON_WM_NCPAINT()
ON_WM_NCHITTEST()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONUP()
ON_WM_TIMER()
END_MESSAGE_MAP()

namespace
{
const DWORD kOwnerDrawStyles = LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE;
const DWORD kListExStyle = WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE;
const DWORD kOwnedListStyle = WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | LBS_NOTIFY;
const DWORD kPopupListStyle = WS_POPUP | WS_CLIPCHILDREN | WS_VSCROLL;
const DWORD kRtlExStyles = WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
// The window's border and client edge: 2 pixels on each side.
const int kListFrame = 4;
// A row of an owner-drawn list with icons is the icon height and this much.
const int kIconRowExtra = 4;
// The schema from which a stream carries "ListIconId".
const UINT kSchemaListIconId = 23;
// The outer frame's paint-manager colour.
const int kListFrameColor = 43;
// The popup bar's placement flags.
const UINT kShowFlags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
} // namespace

CWVPControlComboBoxList::CWVPControlComboBoxList() : m_nListIconId(-1)
{
    m_nMRUWidth = 0;
    m_dwStyle = 0;
    m_barPosition = WVP_COMBO_LIST_POSITION;
}

BOOL CWVPControlComboBoxList::CreateListWindow()
{
    if (::IsWindow(m_hWnd))
        return TRUE;
    const DWORD style = m_dwStyle & ~WVP_BARSTYLE_GRIPPER;
    const HWND site = GetOwnerSite();
    if (::IsWindow(site) && (style & kOwnerDrawStyles))
    {
        // Owner-drawn items are drawn through the site window, which owns the list.
        if (!CreateEx(kListExStyle, L"LISTBOX", L"", style | kOwnedListStyle, CRect(0, 0, 0, 0), CWnd::FromHandle(site),
                      0))
            return FALSE;
        ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, 0);
        ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & ~WS_CHILD) | WS_POPUP);
        ::SetWindowLongPtrW(m_hWnd, GWLP_HWNDPARENT, LONG_PTR(site));
    }
    else if (!CreateEx(kListExStyle, L"LISTBOX", L"", style | kPopupListStyle, CRect(0, 0, 0, 0), nullptr, 0))
        return FALSE;
    if (m_pCommandBars && m_nListIconId != -1)
        if (CWVPImageManager* images = GetImageManager())
            if (CWVPImageManagerIcon* icon = images->GetImage(UINT(m_nListIconId), 0))
                ::SendMessageW(m_hWnd, LB_SETITEMHEIGHT, 0, icon->GetHeight() + kIconRowExtra);
    return TRUE;
}

int CWVPControlComboBoxList::GetCurSel() const
{
    return ::IsWindow(m_hWnd) ? int(::SendMessageW(m_hWnd, LB_GETCURSEL, 0, 0)) : -1;
}

int CWVPControlComboBoxList::FindString(int start, LPCWSTR text) const
{
    return ::IsWindow(m_hWnd) ? int(::SendMessageW(m_hWnd, LB_FINDSTRING, WPARAM(start), LPARAM(text))) : -1;
}

int CWVPControlComboBoxList::FindStringExact(int start, LPCWSTR text) const
{
    return ::IsWindow(m_hWnd) ? int(::SendMessageW(m_hWnd, LB_FINDSTRINGEXACT, WPARAM(start), LPARAM(text))) : -1;
}

int CWVPControlComboBoxList::SetTopIndex(int index)
{
    return ::IsWindow(m_hWnd) ? int(::SendMessageW(m_hWnd, LB_SETTOPINDEX, WPARAM(index), 0)) : -1;
}

void CWVPControlComboBoxList::SetCurSel(int index)
{
    if (::IsWindow(m_hWnd))
        ::SendMessageW(m_hWnd, LB_SETCURSEL, WPARAM(index), 0);
}

void CWVPControlComboBoxList::GetText(int index, CString& text) const
{
    text.Empty();
    if (!::IsWindow(m_hWnd))
        return;
    const int length = int(::SendMessageW(m_hWnd, LB_GETTEXTLEN, WPARAM(index), 0));
    if (length <= 0)
        return;
    std::vector<WCHAR> buffer(size_t(length) + 1);
    if (::SendMessageW(m_hWnd, LB_GETTEXT, WPARAM(index), LPARAM(buffer.data())) != LB_ERR)
        text = buffer.data();
}

int CWVPControlComboBoxList::AddString(LPCWSTR text)
{
    if (!CreateListWindow())
        return LB_ERR;
    return int(::SendMessageW(m_hWnd, LB_ADDSTRING, 0, LPARAM(text)));
}

int CWVPControlComboBoxList::GetCount() const
{
    return ::IsWindow(m_hWnd) ? int(::SendMessageW(m_hWnd, LB_GETCOUNT, 0, 0)) : 0;
}

void CWVPControlComboBoxList::ResetContent()
{
    if (::IsWindow(m_hWnd))
        ::SendMessageW(m_hWnd, LB_RESETCONTENT, 0, 0);
}

void CWVPControlComboBoxList::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (CWVPControlComboBox* pCombo = GetParentCombo())
        pCombo->DrawItem(lpDrawItemStruct);
}

void CWVPControlComboBoxList::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (CWVPControlComboBox* pCombo = GetParentCombo())
        pCombo->MeasureItem(lpMeasureItemStruct);
}

BOOL CWVPControlComboBoxList::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM)
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    else if (message == WM_MEASUREITEM)
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
    else
        return CWVPControlComboBoxPopupBar::OnChildNotify(message, wParam, lParam, pResult);
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

BOOL CWVPControlComboBoxList::Popup(CWVPControl* pControl, BOOL keyboard)
{
    if (!pControl || !pControl->IsKindOf(RUNTIME_CLASS(CWVPControlComboBox)))
        return FALSE;
    CWVPControlComboBox* pCombo = static_cast<CWVPControlComboBox*>(pControl);
    SetControlPopup(pCombo);
    if (!CreateListWindow())
        return FALSE;
    ::SendMessageW(m_hWnd, WM_SETFONT, WPARAM(GetPaintManager()->GetControlFont(this, FALSE)->GetSafeHandle()), TRUE);
    const HWND site = GetOwnerSite();
    if (::IsWindow(site))
        ::SendMessageW(site, WVP_WM_POPUPSHOWING, 0, LPARAM(this));

    LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    if (pCombo->GetParent() && pCombo->GetParent()->IsLayoutRTL())
        exStyle = (exStyle & ~LONG_PTR(WS_EX_LAYOUTRTL)) | kRtlExStyles;
    else
        exStyle &= ~LONG_PTR(kRtlExStyles);
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, exStyle);

    SetTrackingMode(1, FALSE, keyboard);
    UpdateExcludeRect();
    const int rows = std::max(1, std::min(pCombo->GetDropDownItemCount(), GetCount()));
    const int itemHeight = int(::SendMessageW(m_hWnd, LB_GETITEMHEIGHT, 0, 0));
    const CSize size(m_nMRUWidth > 0 ? m_nMRUWidth : pCombo->GetRect().Width(), itemHeight * rows + kListFrame);
    const CRect rc = CalcPopupPosition(m_ptPopup, size);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.Width(), rc.Height(), kShowFlags);
    ::EnableWindow(m_hWnd, TRUE);
    return TRUE;
}

BOOL CWVPControlComboBoxList::SetTrackingMode(int mode, BOOL selectFirst, BOOL keyboard)
{
    // The list window stays for the next opening: the popup bar's leaving (which destroys its
    // window) is not used.
    if (!CWVPCommandBar::SetTrackingMode(mode, FALSE, keyboard))
        return FALSE;
    (void)selectFirst;
    CWVPControlComboBox* pCombo = GetParentCombo();
    CWVPMouseManager* mouse = mode ? WVPMouseManager() : WVPMouseManagerNA();
    if (mode)
    {
        ++mouse->m_nLock;
        if (pCombo)
        {
            pCombo->SelectMatchingItem();
            pCombo->NotifyOwner(CBN_DROPDOWN);
        }
        return TRUE;
    }
    if (pCombo)
        pCombo->NotifyOwner(CBN_CLOSEUP);
    if (mouse)
        --mouse->m_nLock;
    if (::IsWindow(m_hWnd))
        ::ShowWindow(m_hWnd, SW_HIDE);
    if (pCombo && pCombo->GetParent())
        pCombo->GetParent()->SetPopuped(-1);
    // The combo box still holds the list; it becomes the parent again when the list next opens.
    SetControlPopup(nullptr);
    return TRUE;
}

int CWVPControlComboBoxList::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult)
{
    if (nMessage == WM_MOUSEWHEEL && m_nTrackingMode && ::IsWindow(m_hWnd))
    {
        DefWindowProc(nMessage, wParam, lParam);
        return HookHandled;
    }
    return CWVPControlComboBoxPopupBar::OnHookMessage(hWnd, nMessage, wParam, lParam, lResult);
}

void CWVPControlComboBoxList::ForwardComboKey(UINT key, BOOL editable)
{
    if (!CreateListWindow())
        return;
    DefWindowProc(WM_KEYDOWN, key, 0);
    if (editable)
        return;
    // Typing in a drop-down list selects by first letter, as the list box does with its characters.
    const UINT ch = LOWORD(::MapVirtualKeyW(key, MAPVK_VK_TO_CHAR));
    if (ch >= L' ')
        DefWindowProc(WM_CHAR, ch, 0);
}

void CWVPControlComboBoxList::DrawCommandBar(CDC* pDC, CRect)
{
    CRect rc;
    ::GetClientRect(m_hWnd, &rc);
    pDC->FillSolidRect(rc, ::GetSysColor(COLOR_WINDOW));
    DefWindowProc(WM_PAINT, WPARAM(pDC->GetSafeHdc()), 0);
}

void CWVPControlComboBoxList::OnPaint()
{
    CPaintDC dc(this);
    DrawCommandBar(&dc, CRect(dc.m_ps.rcPaint));
}

LRESULT CWVPControlComboBoxList::OnPrintClient(WPARAM wParam, LPARAM)
{
    CDC* pDC = CDC::FromHandle(HDC(wParam));
    DrawCommandBar(pDC, CRect());
    return 1;
}

BOOL CWVPControlComboBoxList::OnEraseBkgnd(CDC*)
{
    return BOOL(Default());
}

void CWVPControlComboBoxList::OnNcPaint()
{
    Default();
    CWindowDC dc(this);
    CRect rc;
    ::GetWindowRect(m_hWnd, &rc);
    rc.OffsetRect(-rc.left, -rc.top);
    dc.Draw3dRect(rc, GetPaintManager()->GetColor(kListFrameColor), GetPaintManager()->GetColor(kListFrameColor));
    rc.DeflateRect(1, 1);
    dc.Draw3dRect(rc, ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOW));
}

LRESULT CWVPControlComboBoxList::OnNcHitTest(CPoint)
{
    return Default();
}

void CWVPControlComboBoxList::OnMouseMove(UINT flags, CPoint pt)
{
    const DWORD hit = DWORD(::SendMessageW(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y)));
    if (HIWORD(hit) == 0 && int(LOWORD(hit)) != GetCurSel())
        SetCurSel(LOWORD(hit));
    CWVPControlComboBoxPopupBar::OnMouseMove(flags, pt);
}

void CWVPControlComboBoxList::OnLButtonDown(UINT, CPoint)
{
}

void CWVPControlComboBoxList::OnLButtonUp(UINT, CPoint)
{
    CWVPControlComboBox* pCombo = GetParentCombo();
    if (!pCombo)
        return;
    pCombo->InternalAddRef();
    pCombo->OnSelChanged();
    pCombo->OnExecute();
    pCombo->InternalRelease();
}

void CWVPControlComboBoxList::OnLButtonDblClk(UINT, CPoint)
{
}

void CWVPControlComboBoxList::OnRButtonUp(UINT, CPoint)
{
}

void CWVPControlComboBoxList::OnTimer(UINT_PTR)
{
    Default();
}

void CWVPControlComboBoxList::DoPropExchange(CWVPPropExchange* pPX)
{
    if (pPX->GetSchema() > kSchemaListIconId)
    {
        const int noIcon = -1;
        pPX->ExchangeProp(L"ListIconId", WVPPropLong, &m_nListIconId, &noIcon);
    }
    CWVPPropExchangeSectionRef items(pPX->GetSection(L"Items"));
    if (!static_cast<CWVPPropExchange*>(items))
        return;
    if (pPX->IsStoring())
    {
        int count = GetCount();
        items->ExchangeProp(L"Count", WVPPropLong, &count);
        for (int i = 0; i < count; ++i)
        {
            CString name, text;
            name.Format(L"Item%i", i);
            GetText(i, text);
            items->ExchangeProp(name, WVPPropString, &text);
        }
        return;
    }
    int count = 0;
    const int none = 0;
    items->ExchangeProp(L"Count", WVPPropLong, &count, &none);
    if (count < 0)
        AfxThrowArchiveException(CArchiveException::badIndex, nullptr);
    // Every item takes at least one byte of a stream: a count is never trusted alone.
    if (items->IsBinaryStream())
        if (CFile* pFile = static_cast<CWVPPropExchangeArchive*>(static_cast<CWVPPropExchange*>(items))->GetArchiveRef().GetFile())
            if (ULONGLONG(count) > pFile->GetLength())
                AfxThrowArchiveException(CArchiveException::endOfFile, nullptr);
    // All items are read before the list changes, so that a short stream leaves it as it was.
    std::vector<CString> loaded;
    for (int i = 0; i < count; ++i)
    {
        CString name, text;
        name.Format(L"Item%i", i);
        items->ExchangeProp(name, WVPPropString, &text);
        loaded.push_back(text);
    }
    if (!CreateListWindow())
        return;
    for (const CString& text : loaded)
        ::SendMessageW(m_hWnd, LB_ADDSTRING, 0, LPARAM(LPCWSTR(text)));
}

void CWVPControlComboBoxList::Copy(CWVPControlComboBoxList* pSource)
{
    m_nListIconId = pSource->m_nListIconId;
    m_dwStyle = pSource->m_dwStyle;
    m_nMRUWidth = pSource->m_nMRUWidth;
    if (!CreateListWindow())
        return;
    for (int i = 0; i < pSource->GetCount(); ++i)
    {
        CString text;
        pSource->GetText(i, text);
        AddString(text);
    }
}
