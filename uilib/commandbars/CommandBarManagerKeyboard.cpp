// The command-bar manager's keyboard: its list of bars, frame accelerators (Alt+letter), moving
// keyboard tracking between bars and the keyboard cues.
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/CommandBarManager.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"
#include "uilib/commandbars/KeyMatchesChar.h"
#include "uilib/commandbars/MouseManager.h"

#include <algorithm>

namespace
{
const int kFrameAccelOff = 2;
const int kOptionContinueIntoNextBar = 1;
const int kOptionMarkedOnly = 4;

BOOL IsShownBar(const CWVPCommandBar* pBar)
{
    return pBar && pBar->GetSafeHwnd() && pBar->IsVisible();
}
} // namespace

void CWVPCommandBarManager::AddBar(CWVPCommandBar* pBar)
{
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i)
        if (m_bars[i] == pBar)
            return;
    m_bars.Add(pBar);
    pBar->SetCommandBars(this);
    pBar->m_bListedInManager = TRUE;
}

void CWVPCommandBarManager::RemoveBar(CWVPCommandBar* pBar)
{
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i)
        if (m_bars[i] == pBar)
        {
            pBar->m_bListedInManager = FALSE;
            m_bars.RemoveAt(i);
            return;
        }
}

CWVPCommandBar* CWVPCommandBarManager::GetMenuBar() const
{
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i)
        if (m_bars[i]->GetType() == wvpBarTypeMenuBar)
            return m_bars[i];
    return nullptr;
}

int CWVPCommandBarManager::GetNextVisibleBar(int index, int direction) const
{
    const int count = GetBarCount();
    if (count == 0)
        return -1;
    int i = index;
    for (int step = 0; step < count + 1; ++step)
    {
        i += direction;
        if (i >= count || i < 0)
        {
            if (index == -1)
                return -1;
            i = i >= count ? 0 : count - 1;
        }
        if (i == index)
            return index;
        if (IsShownBar(GetBar(i)))
            return i;
    }
    return -1;
}

CWVPControl* CWVPCommandBarManager::GetNextControl(CWVPControls*& pControls, int index) const
{
    const int next = pControls->GetNext(index, 1);
    if (!(m_nKeyboardOptions & kOptionContinueIntoNextBar) || next == -1 || next > index)
        return pControls->GetAt(next);
    // The order wrapped: go on with the first control of the next shown bar.
    CWVPCommandBar* pStart = pControls->GetParent();
    int barIndex = -1;
    for (int i = 0; i < GetBarCount(); ++i)
        if (GetBar(i) == pStart)
            barIndex = i;
    const int nextBar = GetNextVisibleBar(barIndex, 1);
    if (nextBar == -1 || nextBar == barIndex)
        return pControls->GetAt(next);
    pControls = GetBar(nextBar)->GetControls();
    return pControls->GetAt(pControls->GetNext(-1, 1));
}

CWVPControl* CWVPCommandBarManager::FindAccelControl(CWVPCommandBar* pBar, UINT key, BOOL* ambiguous)
{
    *ambiguous = FALSE;
    if (!pBar)
        return nullptr;
    CWVPControls* pControls = pBar->GetControls();
    const int start = pBar->GetSelected();
    CWVPControl* pAccel = nullptr;
    CWVPControl* pFirstLetter = nullptr;
    CWVPControls* pWalk = pControls;
    int index = start;
    int total = 0;
    for (int i = 0; i < GetBarCount(); ++i)
        total += GetBar(i)->GetControlCount();
    total = std::max(total, pControls->GetCount());
    for (int step = 0; step < total; ++step)
    {
        CWVPControl* pControl = GetNextControl(pWalk, index);
        if (!pControl)
            break;
        index = pControl->GetIndex();
        if (pWalk == pControls && index == start && step > 0)
            break;
        if (!pControl->IsCaptionVisible() || !pControl->GetEnabled())
            continue;
        const CString caption = pControl->GetCaption();
        BOOL marked = FALSE;
        const WCHAR ch = WVPCaptionAccelerator(caption, &marked);
        if (!ch || !WVPKeyMatchesChar(ch, key))
            continue;
        if (marked)
        {
            if (pAccel)
            {
                *ambiguous = TRUE;
                return pAccel;
            }
            pAccel = pControl;
            continue;
        }
        CWVPCommandBar* pOwner = pControl->GetParent();
        if ((m_nKeyboardOptions & kOptionMarkedOnly) ||
            !(pOwner && (pOwner->GetType() == wvpBarTypeMenuBar || pOwner->GetTrackingMode())))
            continue;
        if (pFirstLetter)
            *ambiguous = TRUE;
        else
            pFirstLetter = pControl;
    }
    if (pAccel)
    {
        *ambiguous = FALSE;
        return pAccel;
    }
    return pFirstLetter;
}

BOOL CWVPCommandBarManager::OnFrameAccel(UINT key)
{
    if (m_nKeyboardOptions == kFrameAccelOff)
        return FALSE;
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9 && !m_bKeypadAccelerators)
        return FALSE;
    if (LOWORD(::MapVirtualKeyW(key, MAPVK_VK_TO_CHAR)) == 0)
        return FALSE;
    CWVPCommandBar* pTarget = nullptr;
    for (int i = 0; i < GetBarCount() && !pTarget; ++i)
        if (GetBar(i)->GetTrackingMode())
            pTarget = GetBar(i);
    if (!pTarget && IsShownBar(GetMenuBar()))
        pTarget = GetMenuBar();
    if (!pTarget && (m_nKeyboardOptions & kOptionContinueIntoNextBar))
        for (int i = 0; i < GetBarCount() && !pTarget; ++i)
            if (IsShownBar(GetBar(i)))
                pTarget = GetBar(i);
    if (!pTarget || !IsShownBar(pTarget))
        return FALSE;
    if (pTarget->OnFrameAccel(key))
        return TRUE;
    BOOL ambiguous = FALSE;
    CWVPControl* pControl = FindAccelControl(pTarget, key, &ambiguous);
    if (!pControl)
        return FALSE;
    CWVPCommandBar* pBar = pControl->GetParent();
    if (!pBar->GetTrackingMode())
        ClosePopups();
    ShowKeyboardCues(TRUE);
    pBar->SetTrackingMode(1, FALSE, TRUE);
    pBar->SetSelected(pControl->GetIndex(), 1);
    if (!ambiguous)
    {
        pControl->InternalAddRef();
        pControl->ActivateByKeyboard();
        pControl->InternalRelease();
    }
    return TRUE;
}

BOOL CWVPCommandBarManager::SetKeyboardFocus(CWVPCommandBar* pBar, int direction)
{
    if (direction)
    {
        if (GetBarCount() < 2)
            return FALSE;
        int index = -1;
        for (int i = 0; i < GetBarCount(); ++i)
            if (GetBar(i) == pBar)
                index = i;
        const int next = GetNextVisibleBar(index, direction);
        if (next == -1 || next == index)
            return FALSE;
        pBar = GetBar(next);
    }
    if (!pBar)
        return FALSE;
    ClosePopups();
    ShowKeyboardCues(TRUE);
    pBar->SetTrackingMode(1, FALSE, TRUE);
    pBar->SetSelected(pBar->GetControls()->GetNext(-1, 1, pBar->GetType() == wvpBarTypeMenuBar), 2);
    return TRUE;
}

void CWVPCommandBarManager::ShowKeyboardCues(BOOL show)
{
    if (!m_bKeyboardCuesOption || m_bKeyboardCuesVisible == show)
        return;
    m_bKeyboardCuesVisible = show;
    for (int i = 0; i < GetBarCount(); ++i)
        if (IsShownBar(GetBar(i)))
            GetBar(i)->Redraw();
}
