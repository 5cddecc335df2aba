#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarKeyboardTip.h"
#include "uilib/commandbars/KeyMatchesChar.h"
#include "uilib/commandbars/MouseManager.h"
#include "uilib/foundation/DCGuards.h"
#include "uilib/commandbars/ControlActions.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/controls/ToolTipContext.h"
#include "uilib/foundation/ImageManager.h"

#include <algorithm>

CWVPCommandBarManager::CWVPCommandBarManager()
    : m_hwndSite(nullptr), m_pPaintManager(nullptr), m_pImageManager(nullptr), m_pActions(nullptr),
      m_bCustomizeMode(FALSE), m_pDragControl(nullptr), m_pKeyboardTipsWindow(nullptr), m_nKeyboardTipsLevel(0),
      m_bKeyboardCuesVisible(FALSE), m_pToolTipContext(nullptr)
{
    m_nKeyboardTipsPrefix = 0;
    m_bShowKeyboardTips = TRUE;
    m_bKeyboardCuesOption = FALSE;
    m_nKeyboardOptions = 0;
    m_bKeypadAccelerators = TRUE;
}

CWVPCommandBarManager::~CWVPCommandBarManager()
{
    HideKeyboardTips();
    ReleaseDockedBars();
    // Bars that outlive the manager forget it.
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i)
    {
        m_bars[i]->m_bListedInManager = FALSE;
        m_bars[i]->SetCommandBars(nullptr);
    }
    if (m_pToolTipContext)
        m_pToolTipContext->InternalRelease();
    delete m_pActions;
    if (m_pPaintManager)
        m_pPaintManager->InternalRelease();
    if (m_pImageManager)
        m_pImageManager->InternalRelease();
}

CWVPPaintManager* CWVPCommandBarManager::GetPaintManager() const
{
    return m_pPaintManager ? m_pPaintManager : CWVPPaintManager::GetInstance();
}

CWVPImageManager* CWVPCommandBarManager::GetImageManager() const
{
    return m_pImageManager ? m_pImageManager : WVPImageManager();
}

void CWVPCommandBarManager::EnableActions()
{
    if (!m_pActions)
        m_pActions = new CWVPControlActions(this);
}

CWVPControlAction* CWVPCommandBarManager::FindAction(int id) const
{
    return m_pActions ? m_pActions->FindAction(id) : nullptr;
}

CWVPControlAction* CWVPCommandBarManager::CreateAction(int id)
{
    EnableActions();
    return m_pActions->Add(id);
}

void CWVPCommandBarManager::SetCommandUsed(int id)
{
    if (id)
        m_usedCommands.SetAt(UINT(id), TRUE);
}

BOOL CWVPCommandBarManager::IsCommandUsed(int id) const
{
    BOOL used = FALSE;
    return m_usedCommands.Lookup(UINT(id), used) && used;
}

void CWVPCommandBarManager::SetShortcutText(UINT id, LPCWSTR text)
{
    if (text && *text)
        m_shortcuts.SetAt(id, text);
    else
        m_shortcuts.RemoveKey(id);
}

CString CWVPCommandBarManager::GetShortcutText(UINT id) const
{
    CString text;
    m_shortcuts.Lookup(id, text);
    return text;
}

CWVPToolTipContext* CWVPCommandBarManager::GetToolTipContext()
{
    if (!m_pToolTipContext)
        m_pToolTipContext = new CWVPToolTipContext;
    return m_pToolTipContext;
}

void CWVPCommandBarManager::ClosePopups()
{
    WVPMouseManager()->CloseTrackedBars();
}

void CWVPCommandBarManager::OnTrackingModeChanged(CWVPCommandBar*, int mode)
{
    CWVPMouseManager* mouse = WVPMouseManagerNA();
    if (mode == 0 && m_pKeyboardTipsWindow && (!mouse || mouse->GetTrackedCount() == 0))
        HideKeyboardTips();
}

void CWVPCommandBarManager::HideKeyboardTips()
{
    for (INT_PTR i = 0; i < m_keyboardTips.GetSize(); ++i)
    {
        m_keyboardTips[i]->DestroyWindow();
        delete m_keyboardTips[i];
    }
    m_keyboardTips.RemoveAll();
    m_pKeyboardTipsWindow = nullptr;
    m_nKeyboardTipsLevel = 0;
    m_nKeyboardTipsPrefix = 0;
}

namespace
{
// Tip windows are at least this big, and this much larger than their text.
const int kTipMinWidth = 16;
const int kTipMinHeight = 15;
const int kTipPadWidth = 6;
const int kTipPadHeight = 2;
const BYTE kDisabledTipAlpha = 150;

// The letters a tip shows when the application gave none: the character after the caption's
// first single '&' ("&&" is a literal ampersand), else its first character.
CString DeriveTipText(const CString& caption)
{
    for (int i = 0; i + 1 < caption.GetLength(); ++i)
    {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] == L'&')
        {
            ++i;
            continue;
        }
        return CString(WVPUpperChar(caption[i + 1]));
    }
    return caption.IsEmpty() ? CString() : CString(WVPUpperChar(caption[0]));
}

struct UsedChars
{
    CString chars;
    BOOL Has(WCHAR ch) const
    {
        return chars.Find(WVPUpperChar(ch)) >= 0;
    }
    void Add(WCHAR ch)
    {
        chars += WVPUpperChar(ch);
    }
};

// A second letter for a tip that shares its first with others: a caption letter that follows a
// space, else any caption letter not used yet, else a digit of the running count.
WCHAR SecondTipChar(const CString& caption, WCHAR own, const UsedChars& used, int& counter)
{
    if (caption.GetLength() >= 2)
        for (int i = 0; i + 1 < caption.GetLength(); ++i)
            if (caption[i] == L' ' && caption[i + 1] != L'&' && !used.Has(caption[i + 1]))
                return WVPUpperChar(caption[i + 1]);
    int start = caption.GetLength() && caption[0] == L'&' ? 1 : 0;
    if (start < caption.GetLength() && WVPUpperChar(caption[start]) == WVPUpperChar(own))
        ++start;
    for (int i = start; i < caption.GetLength(); ++i)
        if (!used.Has(caption[i]))
            return WVPUpperChar(caption[i]);
    WCHAR digits[16];
    ::wsprintfW(digits, L"%i", counter++);
    return digits[0];
}
} // namespace

void CWVPCommandBarManager::ShowKeyboardTips(CWnd* pWnd, int level)
{
    HideKeyboardTips();
    if (!m_bShowKeyboardTips || !pWnd || !pWnd->GetSafeHwnd())
        return;
    pWnd->UpdateWindow();
    m_pKeyboardTipsWindow = pWnd;
    m_nKeyboardTipsLevel = level;
    m_nKeyboardTipsPrefix = 0;
    if (pWnd->IsKindOf(RUNTIME_CLASS(CWVPCommandBar)))
        static_cast<CWVPCommandBar*>(pWnd)->CreateKeyboardTips();
    if (m_keyboardTips.GetSize() == 0)
    {
        m_pKeyboardTipsWindow = nullptr;
        m_nKeyboardTipsLevel = 0;
        return;
    }
    CClientDC dc(pWnd);
    CWVPPaintManager* paintManager = GetPaintManager();
    CWVPFontDC font(&dc, &paintManager->m_fontStatus);

    for (INT_PTR i = m_keyboardTips.GetSize() - 1; i >= 0; --i)
    {
        CWVPCommandBarKeyboardTip* pTip = m_keyboardTips[i];
        if (!pTip->GetTipText().IsEmpty())
        {
            pTip->m_bExplicit = TRUE;
            continue;
        }
        if (pTip->GetCaption().IsEmpty() && pTip->m_strExplicitTip.IsEmpty())
        {
            m_keyboardTips.RemoveAt(i);
            delete pTip;
            continue;
        }
        pTip->SetTipText(!pTip->m_strExplicitTip.IsEmpty() ? pTip->m_strExplicitTip
                                                           : DeriveTipText(pTip->GetCaption()));
    }

    for (INT_PTR i = 0; i < m_keyboardTips.GetSize(); ++i)
    {
        const CString text = m_keyboardTips[i]->GetTipText();
        if (text.IsEmpty())
            continue;
        const WCHAR first = WVPUpperChar(text[0]);
        CArray<CWVPCommandBarKeyboardTip*, CWVPCommandBarKeyboardTip*> gathered;
        gathered.Add(m_keyboardTips[i]);
        for (INT_PTR j = i + 1; j < m_keyboardTips.GetSize(); ++j)
        {
            const CString other = m_keyboardTips[j]->GetTipText();
            if (!other.IsEmpty() && WVPUpperChar(other[0]) == first)
                gathered.Add(m_keyboardTips[j]);
        }
        if (gathered.GetSize() < 2)
            continue;
        UsedChars used;
        used.Add(L'&');
        used.Add(L' ');
        for (INT_PTR k = 0; k < gathered.GetSize(); ++k)
            if (gathered[k]->GetTipText().GetLength() == 2)
                used.Add(gathered[k]->GetTipText()[1]);
        int counter = 1;
        for (INT_PTR k = 0; k < gathered.GetSize(); ++k)
        {
            CWVPCommandBarKeyboardTip* pTip = gathered[k];
            if (pTip->GetTipText().GetLength() != 1)
                continue;
            const WCHAR second = SecondTipChar(pTip->GetCaption(), first, used, counter);
            used.Add(second);
            pTip->SetTipText(pTip->GetTipText() + CString(second));
        }
    }

    LPCWSTR tipClass = AfxRegisterWndClass(CS_SAVEBITS, ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    for (INT_PTR i = 0; i < m_keyboardTips.GetSize(); ++i)
    {
        CWVPCommandBarKeyboardTip* pTip = m_keyboardTips[i];
        if (!pTip->IsVisible())
            continue;
        const CSize extent = dc.GetTextExtent(pTip->GetTipText());
        const CSize size(std::max<int>(extent.cx + kTipPadWidth, kTipMinWidth),
                         std::max<int>(extent.cy + kTipPadHeight, kTipMinHeight));
        CPoint anchor = pTip->GetAnchor();
        if (pTip->GetOwner() && !pTip->GetOwner()->IsKindOf(RUNTIME_CLASS(CWVPCommandBar)))
            ::ClientToScreen(pWnd->GetSafeHwnd(), &anchor);
        const int align = pTip->GetAlign();
        CRect rc(anchor, size);
        if (align & CWVPCommandBarKeyboardTip::AlignCenterX)
            rc.OffsetRect(-size.cx / 2, 0);
        else if (align & CWVPCommandBarKeyboardTip::AlignRight)
            rc.OffsetRect(-size.cx, 0);
        if (align & CWVPCommandBarKeyboardTip::AlignCenterY)
            rc.OffsetRect(0, -size.cy / 2);
        else if (align & CWVPCommandBarKeyboardTip::AlignBottom)
            rc.OffsetRect(0, -size.cy);
        const BOOL layered = !pTip->IsEnabled() && paintManager->m_pfnSetLayeredWindowAttributes;
        if (!pTip->CreateEx(WS_EX_TOOLWINDOW | (layered ? WS_EX_LAYERED : 0), tipClass, L"", WS_POPUP, rc.left, rc.top,
                            rc.Width(), rc.Height(), pWnd->GetSafeHwnd(), nullptr))
            continue;
        ::SetWindowPos(pTip->GetSafeHwnd(), nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
        paintManager->DrawKeyboardTip(nullptr, pTip, TRUE);
        if (layered)
            paintManager->m_pfnSetLayeredWindowAttributes(pTip->GetSafeHwnd(), 0, kDisabledTipAlpha, LWA_ALPHA);
    }
    for (INT_PTR i = 0; i < m_keyboardTips.GetSize(); ++i)
        if (m_keyboardTips[i]->GetSafeHwnd())
            ::SetWindowPos(m_keyboardTips[i]->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}
