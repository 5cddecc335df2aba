#include "uilib/commandbars/ControlEdit.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/ControlAction.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/foundation/CaptureLoop.h"
#include "uilib/foundation/ImageManager.h"
#include "uilib/foundation/ImageManagerIcon.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/foundation/PropExchange.h"
#include "platform/mfc/ExitSequence.h"

#include <windowsx.h>

IMPLEMENT_SERIAL(CWVPControlEdit, CWVPControl, VERSIONABLE_SCHEMA | 0x21)

namespace
{
const int kDefaultWidth = 100;
// The edit window's styles on top of the field's own: a child that scrolls horizontally.
const DWORD kEditWindowStyle = WS_CHILD | ES_AUTOHSCROLL;
const int kSpinWidth = 18;
const int kFieldInset = 3;
const int kLabelGap = 4;
const int kEditIconGap = 2;
const UINT_PTR kSpinTimer = 435;
const UINT kSpinFirstDelay = 530;
const UINT kSpinRepeatDelay = 100;
const DWORD kRtlLayoutStyle = 0x400000;
// Layout flag of a vertically docked bar: fields do not fit there.
const DWORD kVerticalDockLayout = 0x10;
// Position of a bar shown as a popup: it keeps tracking after a spin.
const int kPopupPosition = 5;
// The first schema whose streams keep "Width" with every control's keys.
const UINT kControlWidthSchema = 19;

void DestroyRichEditRecord(void* pRecord)
{
    DestroyStringRecord(pRecord);
}
} // namespace

void DestroyStringRecord(void* pRecord)
{
    WVPRichEditLibrary* pLibrary = static_cast<WVPRichEditLibrary*>(pRecord);
    delete pLibrary->pClassName;
    pLibrary->pClassName = nullptr;
}

const WVPRichEditLibrary& AFX_CDECL WVPRichEdit()
{
    static WVPRichEditLibrary library = {nullptr, nullptr, FALSE};
    static BOOL loaded = FALSE;
    if (!loaded)
    {
        loaded = TRUE;
        library.hModule = ::LoadLibraryW(L"RICHED20.DLL");
        if (library.hModule)
        {
            library.pClassName = new CString(L"RichEdit20W");
            library.bRich20 = TRUE;
        }
        else
        {
            library.hModule = ::LoadLibraryW(L"RICHED32.DLL");
            library.pClassName = new CString(L"RICHEDIT");
        }
        AfxRegisterExitHandler(&DestroyRichEditRecord, &library);
    }
    return library;
}

CWVPControlEdit::CWVPControlEdit()
    : m_pEdit(nullptr), m_bHasLabel(FALSE), m_bReadOnly(FALSE), m_nLabelWidth(0), m_bReplace(FALSE),
      m_bFocused(FALSE), m_bTextStale(TRUE), m_pAutoCompleteWnd(nullptr), m_dwShellAutoCompleteFlags(0),
      m_dwEditStyle(0), m_bSpinButtons(FALSE), m_nEditIconId(0)
{
    m_nType = wvpControlEdit;
    m_nWidth = kDefaultWidth;
}

CWVPControlEdit::~CWVPControlEdit()
{
    // A field that goes while focused gives back its hold on the mouse manager.
    if (m_bFocused)
    {
        if (CWVPMouseManager* pMouse = WVPMouseManagerNA())
            pMouse->m_nLock--;
        m_bFocused = FALSE;
    }
    if (m_pEdit)
    {
        m_pEdit->m_pControl = nullptr;
        if (::IsWindow(m_pEdit->m_hWnd))
            m_pEdit->DestroyWindow();
        delete m_pEdit;
        m_pEdit = nullptr;
    }
    delete m_pAutoCompleteWnd;
    m_pAutoCompleteWnd = nullptr;
}

// --- Text --------------------------------------------------------------------------------------

CString CWVPControlEdit::GetDisplayedText() const
{
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd) && m_bTextStale)
    {
        const WVPRichEditLibrary& rich = WVPRichEdit();
        if (rich.hModule && rich.bRich20)
        {
            GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_PRECISE, 1200};
            const int chars = int(m_pEdit->SendMessage(EM_GETTEXTLENGTHEX, WPARAM(&length), 0));
            CString text;
            if (chars > 0)
            {
                GETTEXTEX get = {};
                get.cb = DWORD((chars + 1) * sizeof(WCHAR));
                get.flags = GT_DEFAULT;
                get.codepage = 1200;
                LPWSTR buffer = text.GetBuffer(chars + 1);
                buffer[0] = 0;
                m_pEdit->SendMessage(EM_GETTEXTEX, WPARAM(&get), LPARAM(buffer));
                buffer[chars] = 0;
                text.ReleaseBuffer();
            }
            m_strText = text;
        }
        else
            m_pEdit->GetWindowText(m_strText);
        m_bTextStale = FALSE;
    }
    return m_strText;
}

void CWVPControlEdit::SetDisplayedText(LPCWSTR text)
{
    const CString value = text ? text : L"";
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
    {
        m_bTextStale = TRUE;
        if (GetDisplayedText() != value)
            m_pEdit->SetEditWindowText(value);
    }
    m_strText = value;
    m_bTextStale = FALSE;
}

CString CWVPControlEdit::GetEditText() const
{
    const CString text = GetDisplayedText();
    if (IsHintText(text))
        return CString();
    return text;
}

BOOL CWVPControlEdit::IsHintText(const CString& text) const
{
    const CString hint = GetEditHint();
    return !hint.IsEmpty() && text == hint;
}

BOOL CWVPControlEdit::IsHintShown() const
{
    return IsHintText(GetDisplayedText());
}

void CWVPControlEdit::SetEditText(LPCWSTR text)
{
    if (!text || !*text)
        SetDisplayedText(GetEditHint());
    else
        SetDisplayedText(text);
}

CString CWVPControlEdit::GetEditHint() const
{
    if (!m_strEditHint.IsEmpty())
        return m_strEditHint;
    if (m_pAction)
        return m_pAction->GetEditHint();
    return CString();
}

void CWVPControlEdit::SetEditHint(LPCWSTR hint)
{
    if (IsHintShown())
        SetDisplayedText(L"");
    m_strEditHint = hint ? hint : L"";
    ShowHintIfEmpty();
}

void CWVPControlEdit::ShowHintIfEmpty()
{
    const CString hint = GetEditHint();
    if (!hint.IsEmpty() && GetDisplayedText().IsEmpty() && !(m_pEdit && ::GetFocus() == m_pEdit->m_hWnd))
    {
        SetDisplayedText(hint);
        if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
            m_pEdit->UpdateCharFormat();
    }
}

void CWVPControlEdit::SetReadOnly(BOOL readOnly)
{
    m_bReadOnly = readOnly;
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
        m_pEdit->SetReadOnly(readOnly);
}

void CWVPControlEdit::SetHasLabel(BOOL hasLabel)
{
    if (m_bHasLabel == hasLabel)
        return;
    m_bHasLabel = hasLabel;
    DelayLayoutParent();
}

void CWVPControlEdit::SetLabelWidth(int width)
{
    if (width != m_nLabelWidth)
    {
        m_nLabelWidth = width;
        m_bReplace = TRUE;
    }
}

void CWVPControlEdit::ShowSpinButtons(BOOL show)
{
    if (m_bSpinButtons == show)
        return;
    m_bSpinButtons = show;
    m_bReplace = TRUE;
    DelayLayoutParent();
}

void CWVPControlEdit::StoreWindowText()
{
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
    {
        m_bTextStale = TRUE;
        GetDisplayedText();
    }
}

// --- Window ------------------------------------------------------------------------------------

CWVPControlEditCtrl* CWVPControlEdit::CreateEditWindowObject()
{
    CWVPControlEditCtrl* pEdit = new CWVPControlEditCtrl();
    pEdit->m_pControl = this;
    return pEdit;
}

void CWVPControlEdit::DestroyEditWindow()
{
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
        m_pEdit->DestroyWindow();
}

void CWVPControlEdit::SetRect(CRect rc)
{
    if (!m_pEdit)
        m_pEdit = CreateEditWindowObject();
    HWND hBar = m_pParent ? m_pParent->GetSafeHwnd() : nullptr;
    BOOL exists = ::IsWindow(m_pEdit->m_hWnd);
    if (exists && ((m_pEdit->GetExStyle() & kRtlLayoutStyle) || ::GetParent(m_pEdit->m_hWnd) != hBar))
    {
        m_pEdit->DestroyWindow();
        exists = FALSE;
    }
    if (exists && rc == m_rcControl && !m_bReplace)
        return;
    m_rcControl = rc;
    if (!hBar)
        return;
    if (!exists)
    {
        if (!m_pEdit->CreateEditWindow(m_dwEditStyle | kEditWindowStyle, m_pParent))
            return;
        if (!GetEnabled())
            m_pEdit->EnableWindow(FALSE);
        if (m_dwShellAutoCompleteFlags)
            SetShellAutoComplete(m_dwShellAutoCompleteFlags);
    }
    CWVPPaintManager* pPaintManager = GetPaintManager();
    if (pPaintManager)
    {
        CFont* pFont = pPaintManager->GetControlFont(m_pParent, FALSE);
        if (pFont)
            m_pEdit->SendMessage(WM_SETFONT, WPARAM(pFont->GetSafeHandle()), FALSE);
    }
    m_pEdit->SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    if (::GetFocus() != m_pEdit->m_hWnd)
        SetEditText(m_strText.IsEmpty() || IsHintText(m_strText) ? L"" : LPCWSTR(m_strText));
    m_pEdit->UpdateCharFormat();
    m_pEdit->SetGlass(IsOverDwmCaption());
    m_pEdit->SetReadOnly(m_bReadOnly);

    CRect rcEdit(rc.left + m_nLabelWidth + kLabelGap, rc.top + kFieldInset,
                 rc.right - (m_bSpinButtons ? kSpinWidth + 2 : kFieldInset), rc.bottom - kFieldInset);
    InsetForEditIcon(rcEdit.left);
    m_pEdit->MoveWindow(rcEdit, TRUE);
    UpdateWindowVisibility();
    m_bReplace = FALSE;
}

void CWVPControlEdit::UpdateWindowVisibility()
{
    if (!m_pEdit || !::IsWindow(m_pEdit->m_hWnd))
        return;
    const BOOL show = m_pControls && m_pParent && IsVisible() && m_pParent->GetSafeHwnd();
    ::SetWindowPos(m_pEdit->m_hWnd, nullptr, 0, 0, 0, 0,
                   (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
                       SWP_NOACTIVATE);
}

void CWVPControlEdit::InvalidatePlacement()
{
    m_bReplace = TRUE;
}

void CWVPControlEdit::InsetForEditIcon(int& left)
{
    if (m_nEditIconId <= 0)
        return;
    CWVPImageManager* pImages = GetImageManager();
    CWVPImageManagerIcon* pIcon = pImages ? pImages->GetImage(UINT(m_nEditIconId), 16) : nullptr;
    if (pIcon)
        left += pIcon->GetWidth() + kEditIconGap;
}

void CWVPControlEdit::DrawEditIcon(CDC* pDC, int x, int top, int bottom)
{
    if (m_nEditIconId <= 0)
        return;
    CWVPImageManager* pImages = GetImageManager();
    CWVPImageManagerIcon* pIcon = pImages ? pImages->GetImage(UINT(m_nEditIconId), 16) : nullptr;
    if (!pIcon)
        return;
    const CSize size(pIcon->GetWidth(), pIcon->GetHeight());
    CWVPPaintManager* pPaintManager = GetPaintManager();
    if (pPaintManager)
        pPaintManager->DrawImage(pDC, CPoint(x, (top + bottom - size.cy) / 2), size, pIcon, FALSE, FALSE,
                                 GetEnabled(), FALSE, FALSE);
}

void CWVPControlEdit::SetParent(CWVPCommandBar* pBar)
{
    m_pParent = pBar;
    if (!pBar)
        DestroyEditWindow();
}

void CWVPControlEdit::OnRemoved()
{
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
    {
        m_pEdit->ShowWindow(SW_HIDE);
        if (!m_pControls)
            m_pEdit->DestroyWindow();
    }
    CWVPControl::OnRemoved();
}

void CWVPControlEdit::SetEnabled(int enabled)
{
    if (enabled == m_nEnabled)
        return;
    m_nEnabled = enabled;
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
    {
        m_pEdit->EnableWindow(GetEnabled());
        m_pEdit->UpdateCharFormat();
    }
    RedrawParent(TRUE);
}

void CWVPControlEdit::SetHideFlags(DWORD flags)
{
    if (flags == m_dwHideFlags)
        return;
    m_dwHideFlags = flags;
    UpdateWindowVisibility();
    DelayLayoutParent();
}

void CWVPControlEdit::OnCalcDynamicSize(DWORD mode)
{
    const DWORD old = m_dwHideFlags;
    if (mode & kVerticalDockLayout)
        m_dwHideFlags |= WVP_HIDE_VERTICALDOCK;
    else
        m_dwHideFlags &= ~WVP_HIDE_VERTICALDOCK;
    if (old != m_dwHideFlags)
        UpdateWindowVisibility();
}

BOOL CWVPControlEdit::IsCaptionVisible() const
{
    if (m_pParent && m_pParent->GetType() == wvpBarTypePopup)
        return TRUE;
    if (GetCaption().IsEmpty())
        return FALSE;
    const int style = GetStyle();
    if (style == wvpButtonCaption || style == wvpButtonIconAndCaption || style == wvpButtonIconAndCaptionBelow)
        return TRUE;
    return m_bHasLabel;
}

BOOL CWVPControlEdit::Compare(CWVPControl* pOther)
{
    return CWVPControl::Compare(pOther) && pOther->IsKindOf(RUNTIME_CLASS(CWVPControlEdit));
}

void CWVPControlEdit::Copy(CWVPControl* pSource, BOOL recursive)
{
    CWVPControl::Copy(pSource, recursive);
    CWVPControlEdit* pEdit = DYNAMIC_DOWNCAST(CWVPControlEdit, pSource);
    if (!pEdit)
        return;
    m_dwEditStyle = pEdit->m_dwEditStyle;
    SetEditText(pEdit->GetEditText());
    m_bHasLabel = pEdit->m_bHasLabel;
    m_bReadOnly = pEdit->m_bReadOnly;
    m_strEditHint = pEdit->m_strEditHint;
    m_dwShellAutoCompleteFlags = pEdit->m_dwShellAutoCompleteFlags;
    m_bSpinButtons = pEdit->m_bSpinButtons;
}

CWVPControl* CWVPControlEdit::Clone(BOOL recursive)
{
    CWVPControlEdit* pClone = new CWVPControlEdit();
    pClone->Copy(this, recursive);
    return pClone;
}

void CWVPControlEdit::DoPropExchange(CWVPPropExchange* pPX)
{
    CWVPControl::DoPropExchange(pPX);
    const UINT schema = pPX->GetSchema();
    long width = m_nWidth, style = long(m_dwEditStyle), autoComplete = long(m_dwShellAutoCompleteFlags);
    if (schema > 5)
    {
        WVPExchangeBool(pPX, L"HasLabel", m_bHasLabel, FALSE);
        // Newer streams keep the width with every control's keys.
        if (schema < kControlWidthSchema)
            WVPExchangeLong(pPX, L"Width", width, 0);
    }
    if (schema > 7)
        WVPExchangeBool(pPX, L"ReadOnly", m_bReadOnly, FALSE);
    if (schema > 8)
    {
        WVPExchangeString(pPX, L"EditHint", m_strEditHint, L"");
        WVPExchangeLong(pPX, L"ShellAutoCompleteFlags", autoComplete, 0);
    }
    if (schema > 16)
        WVPExchangeLong(pPX, L"EditStyle", style, 0);
    if (schema > 18)
        WVPExchangeBool(pPX, L"ShowSpinButtons", m_bSpinButtons, FALSE);
    if (pPX->IsLoading())
    {
        m_nWidth = int(width);
        m_dwEditStyle = DWORD(style);
        m_dwShellAutoCompleteFlags = DWORD(autoComplete);
        ShowHintIfEmpty();
    }
}

BOOL CWVPControlEdit::IsCustomizeResizeAllow() const
{
    return TRUE;
}

int CWVPControlEdit::GetCustomizeMinWidth() const
{
    return m_nLabelWidth + 10;
}

BOOL CWVPControlEdit::IsFocusable() const
{
    return m_pEdit && ::IsWindow(m_pEdit->m_hWnd);
}

void CWVPControlEdit::OnActionChanged(int property)
{
    CWVPControl::OnActionChanged(property);
    if (!m_pEdit || !::IsWindow(m_pEdit->m_hWnd))
        return;
    switch (property)
    {
    case CWVPControlAction::PropertyVisible:
        UpdateWindowVisibility();
        break;
    case CWVPControlAction::PropertyEnabled:
        m_pEdit->EnableWindow(GetEnabled());
        m_pEdit->UpdateCharFormat();
        break;
    case CWVPControlAction::PropertyEditHint:
        ShowHintIfEmpty();
        break;
    default:
        break;
    }
}

void CWVPControlEdit::OnActionChanging(int property)
{
    if (property == CWVPControlAction::PropertyEditHint && IsHintShown())
        SetDisplayedText(L"");
}

// --- Focus -------------------------------------------------------------------------------------

BOOL CWVPControlEdit::IsFocused() const
{
    return m_bFocused;
}

void CWVPControlEdit::SetFocused(BOOL focused)
{
    if (focused == m_bFocused)
        return;
    m_bFocused = focused;
    CWVPMouseManager* pMouse = WVPMouseManager();
    if (focused)
    {
        if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd) && ::GetFocus() != m_pEdit->m_hWnd)
            m_pEdit->SetFocus();
        if (m_pParent)
        {
            m_pParent->SetTrackingMode(1, FALSE, FALSE);
            m_pParent->SetSelected(m_nIndex);
        }
        pMouse->m_nLock++;
        NotifyOwner(WVP_NOTIFY_EDIT_SETFOCUS);
    }
    else
    {
        if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd) && ::GetFocus() == m_pEdit->m_hWnd && m_pParent)
        {
            HWND hSaved = m_pParent->GetSavedFocus();
            ::SetFocus(::IsWindow(hSaved) ? hSaved : nullptr);
        }
        pMouse->m_nLock--;
        NotifyOwner(WVP_NOTIFY_EDIT_KILLFOCUS);
    }
    RedrawParent(TRUE);
}

void CWVPControlEdit::OnSetFocus(HWND hWndOld)
{
    if (IsHintShown())
    {
        SetDisplayedText(L"");
        if (m_pEdit)
            m_pEdit->UpdateCharFormat();
    }
    m_strTextOnFocus = GetEditText();
    if (m_pParent)
    {
        if (!m_pParent->GetSavedFocus())
            m_pParent->SetSavedFocus(hWndOld ? hWndOld : m_pParent->GetSite());
        m_pParent->SetPopuped(-1);
    }
    SetFocused(TRUE);
    if (m_pAutoCompleteWnd)
        m_pAutoCompleteWnd->SetWatching(TRUE);
}

void CWVPControlEdit::OnKillFocus()
{
    ShowHintIfEmpty();
    SetFocused(FALSE);
    if (m_pAutoCompleteWnd)
        m_pAutoCompleteWnd->SetWatching(FALSE);
}

BOOL CWVPControlEdit::ActivateByKeyboard()
{
    if (m_pParent)
        m_pParent->HideKeyboardTips();
    SetFocused(TRUE);
    return TRUE;
}

void CWVPControlEdit::OnMouseHover()
{
    CWVPMouseManager* pMouse = WVPMouseManagerNA();
    if (pMouse && pMouse->IsLocked())
        return;
    CWVPControl::OnMouseHover();
}

BOOL CWVPControlEdit::OnSetSelected(int state)
{
    const BOOL changed = CWVPControl::OnSetSelected(state);
    if (!state)
        SetFocused(FALSE);
    if (m_pEdit && ::IsWindow(m_pEdit->m_hWnd))
        m_pEdit->UpdateCharFormat();
    return changed;
}

void CWVPControlEdit::OnEditTextChanged()
{
    NotifyOwner(WVP_NOTIFY_EDIT_CHANGED);
}

void CWVPControlEdit::FillCharFormat(CHARFORMAT2W& cf)
{
    ::ZeroMemory(&cf, sizeof(cf));
    cf.dwMask = CFM_COLOR | CFM_BACKCOLOR;
    const BOOL grey = !GetEnabled() || IsHintShown();
    cf.crTextColor = ::GetSysColor(grey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    CWVPPaintManager* pPaintManager = GetPaintManager();
    cf.crBackColor = pPaintManager ? pPaintManager->GetEditBackColor(this) : ::GetSysColor(COLOR_WINDOW);
}

// --- Clicks, keys and spin buttons -------------------------------------------------------------

BOOL CWVPControlEdit::IsSpinnable() const
{
    return m_bSpinButtons && GetEnabled() && !m_bReadOnly;
}

CRect CWVPControlEdit::GetSpinButtonsRect() const
{
    if (!m_bSpinButtons)
        return CRect(0, 0, 0, 0);
    return CRect(m_rcControl.right - kSpinWidth, m_rcControl.top + 1, m_rcControl.right - 1, m_rcControl.bottom - 1);
}

void CWVPControlEdit::OnClick(BOOL keyboard, CPoint pt)
{
    if (IsCustomizeMode())
    {
        if (m_pParent)
        {
            m_pParent->SetPopuped(-1);
            m_pParent->SetSelected(-1);
        }
        return;
    }
    if (!m_pEdit || !::IsWindow(m_pEdit->m_hWnd))
        return;
    if (keyboard)
    {
        if (::GetFocus() == m_pEdit->m_hWnd)
            OnExecute();
        else
            m_pEdit->SetFocus();
        return;
    }
    if (IsSpinnable() && GetSpinButtonsRect().PtInRect(pt))
    {
        TrackSpinButton(pt);
        return;
    }
    m_pEdit->SetFocus();
}

void CWVPControlEdit::OnMouseMove(CPoint pt)
{
    if (!m_bSpinButtons || !GetEnabled() || !m_nSelected)
        return;
    const CRect rc = GetSpinButtonsRect();
    int state = m_nSelected;
    if (rc.PtInRect(pt))
        state = pt.y < rc.CenterPoint().y ? WVP_SELECTED_SPINUP : WVP_SELECTED_SPINDOWN;
    else if (m_nSelected == WVP_SELECTED_SPINUP || m_nSelected == WVP_SELECTED_SPINDOWN)
        state = 1;
    if (state != m_nSelected)
    {
        m_nSelected = state;
        RedrawParent(FALSE);
    }
}

namespace
{
// The spin buttons' pressed loop: the held button repeats, faster the longer it is held.
class CSpinLoop : public CWVPCaptureLoop
{
  public:
    CSpinLoop(CWVPControlEdit* pControl, HWND hBar, BOOL up, CRect rcHalf)
        : CWVPCaptureLoop(hBar), m_pControl(pControl), m_bUp(up), m_rcHalf(rcHalf), m_dwStart(::GetTickCount()),
          m_bFirstTick(TRUE)
    {
    }

    // The step after the button has been held for the given time: 1, then 5, then 20.
    static int StepForElapsed(DWORD elapsed)
    {
        const DWORD seconds = elapsed / 1024;
        return seconds < 2 ? 1 : seconds < 5 ? 5 : 20;
    }

  protected:
    BOOL OnMessage(MSG& msg) override
    {
        switch (msg.message)
        {
        case WM_LBUTTONUP:
            Stop();
            return TRUE;
        case WM_MOUSEMOVE:
        {
            if (msg.hwnd != GetWindow())
                return TRUE;
            const CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            const int state = m_rcHalf.PtInRect(pt) ? (m_bUp ? WVP_SELECTED_SPINUP : WVP_SELECTED_SPINDOWN) : 0;
            if ((state != 0) != (m_pControl->GetSelected() != 0))
            {
                m_pControl->SetSelectedState(state);
                m_pControl->SetPressed(state);
                m_dwStart = ::GetTickCount();
                m_pControl->RedrawParent(FALSE);
            }
            return TRUE;
        }
        case WM_TIMER:
            if (msg.hwnd == GetWindow() && msg.wParam == kSpinTimer)
            {
                if (m_bFirstTick)
                {
                    m_bFirstTick = FALSE;
                    ::SetTimer(GetWindow(), kSpinTimer, kSpinRepeatDelay, nullptr);
                }
                if (m_pControl->GetSelected())
                    m_pControl->OnSpinStep(StepForElapsed(::GetTickCount() - m_dwStart), m_bUp ? 1 : -1);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
        }
    }

  private:
    CWVPControlEdit* m_pControl;
    BOOL m_bUp;
    CRect m_rcHalf;
    DWORD m_dwStart;
    BOOL m_bFirstTick;
};
} // namespace

void CWVPControlEdit::TrackSpinButton(CPoint pt)
{
    if (!m_pParent || !m_pParent->GetSafeHwnd())
        return;
    CRect rcHalf = GetSpinButtonsRect();
    const int middle = rcHalf.CenterPoint().y;
    const BOOL up = pt.y < middle;
    if (up)
        rcHalf.bottom = middle;
    else
        rcHalf.top = middle;
    m_pParent->SetSelected(-1);
    m_pParent->SetSelected(m_nIndex);
    const int state = up ? WVP_SELECTED_SPINUP : WVP_SELECTED_SPINDOWN;
    m_nPressed = state;
    m_nSelected = state;
    RedrawParent(FALSE);
    OnSpinStep(1, up ? 1 : -1);

    const HWND hBar = m_pParent->GetSafeHwnd();
    ::SetTimer(hBar, kSpinTimer, kSpinFirstDelay, nullptr);
    {
        CSpinLoop loop(this, hBar, up, rcHalf);
        loop.Run();
    }
    ::KillTimer(hBar, kSpinTimer);
    m_nPressed = 0;
    if (::GetCapture() == hBar)
        ::ReleaseCapture();
    RedrawParent(FALSE);
    if (m_pParent && m_pParent->GetPosition() != kPopupPosition)
        m_pParent->SetTrackingMode(0, FALSE, FALSE);
}

int AFX_CDECL WVPParseSpinValue(LPCWSTR text)
{
    // A leading sign and decimal digits, read no further than the text's end; anything else is 0.
    if (!text)
        return 0;
    LPCWSTR p = text;
    while (*p == L' ' || *p == L'\t')
        ++p;
    BOOL negative = FALSE;
    if (*p == L'-' || *p == L'+')
        negative = *p++ == L'-';
    long long value = 0;
    BOOL digits = FALSE;
    while (*p >= L'0' && *p <= L'9')
    {
        digits = TRUE;
        if (value < 0x7fffffffLL)
            value = value * 10 + (*p - L'0');
        ++p;
    }
    if (!digits)
        return 0;
    if (value > 0x7fffffffLL)
        value = 0x7fffffffLL;
    return int(negative ? -value : value);
}

void CWVPControlEdit::OnSpinStep(int step, int direction)
{
    if (step <= 0)
        step = 1;
    NMWVPSPIN record = {};
    record.hdr.pControl = this;
    record.delta = step * direction;
    if (NotifyOwnerEx(direction > 0 ? WVP_NOTIFY_EDIT_SPINUP : WVP_NOTIFY_EDIT_SPINDOWN, &record.hdr.hdr))
        return;
    long long value = WVPParseSpinValue(GetEditText());
    value += step * direction;
    while (value % step != 0)
        value += direction;
    if (value > 0x7fffffffLL)
        value = 0x7fffffffLL;
    if (value < -0x7fffffffLL)
        value = -0x7fffffffLL;
    WCHAR buffer[16];
    ::wsprintfW(buffer, L"%i", int(value));
    SetEditText(buffer);
    NotifyOwner(WVP_NOTIFY_EXECUTE);
}

BOOL CWVPControlEdit::OnHookKeyDown(UINT key)
{
    if (!m_bFocused || !m_pEdit || !::IsWindow(m_pEdit->m_hWnd))
        return 0;
    if (m_pEdit->IsComposing())
        return 2;
    switch (key)
    {
    case VK_TAB:
    case VK_RETURN:
        return 0;
    case VK_ESCAPE:
    {
        SetEditText(m_strTextOnFocus);
        SetFocused(FALSE);
        return m_pParent && m_pParent->GetType() == wvpBarTypePopup ? 1 : 0;
    }
    default:
        break;
    }
    if (::GetKeyState(VK_MENU) < 0 && ::GetKeyState(VK_CONTROL) >= 0)
    {
        CWVPCommandBarManager* pManager = m_pParent ? m_pParent->GetCommandBars() : nullptr;
        if (pManager && pManager->OnFrameAccel(key))
            return 1;
    }
    if ((key == VK_UP || key == VK_DOWN) && IsSpinnable())
    {
        OnSpinStep(1, key == VK_UP ? 1 : -1);
        if (::GetFocus() == m_pEdit->m_hWnd)
            m_pEdit->SetSel(0, -1);
        return 1;
    }
    if (m_pAutoCompleteWnd && m_pAutoCompleteWnd->ForwardKeyToDropDown(key))
        return 1;
    return m_pEdit->ProcessEditKey(key);
}

// --- Shell auto-completion ---------------------------------------------------------------------

void CWVPControlEdit::SetShellAutoComplete(DWORD flags)
{
    m_dwShellAutoCompleteFlags = flags;
    delete m_pAutoCompleteWnd;
    m_pAutoCompleteWnd = nullptr;
    if (!flags || !m_pEdit || !::IsWindow(m_pEdit->m_hWnd))
        return;
    m_pAutoCompleteWnd = new CWVPControlComboBoxAutoCompleteWnd(m_pEdit->m_hWnd);
    if (!CWVPControlComboBoxAutoCompleteWnd::ApplyShellAutoComplete(m_pEdit->m_hWnd, flags))
    {
        delete m_pAutoCompleteWnd;
        m_pAutoCompleteWnd = nullptr;
    }
}
