#include "uilib/commandbars/ListControlItems.h"
#include "uilib/commandbars/CommandBar.h"
#include "uilib/commandbars/Control.h"
#include "uilib/commandbars/Controls.h"

CString WVPFormatMenuCaption(LPCWSTR text, int number)
{
    CString escaped(text ? text : L"");
    escaped.Replace(L"&", L"&&");
    CString caption;
    if (number <= 0)
        return escaped;
    if (number < 10)
        caption.Format(L"&%i %s", number, (LPCWSTR)escaped);
    else if (number == 10)
        caption.Format(L"1&0 %s", (LPCWSTR)escaped);
    else
        caption.Format(L"%i %s", number, (LPCWSTR)escaped);
    return caption;
}

void WVPRemoveGeneratedItems(CWVPControl* pList, WVPGeneratedItemTest isGenerated)
{
    CWVPControls* controls = pList->GetControls();
    if (!controls)
        return;
    for (;;)
    {
        CWVPControl* next = controls->GetAt(pList->GetIndex() + 1);
        if (!next || !isGenerated(pList, next))
            return;
        controls->Remove(next);
    }
}

BOOL WVPBeginListRebuild(CWVPControl* pList, WVPGeneratedItemTest isGenerated)
{
    WVPRemoveGeneratedItems(pList, isGenerated);
    if (!pList->IsCustomizeMode())
        return TRUE;
    pList->SetHideFlags(0);
    return FALSE;
}

BOOL WVPListControlDropAllowed(CWVPCommandBar* pTarget)
{
    return pTarget && pTarget->GetType() == wvpBarTypePopup;
}
