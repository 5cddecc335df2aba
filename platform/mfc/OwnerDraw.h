// The owner-draw requests that a parent reflects back to its controls: a reflected handler in
// the control's message map wins; otherwise the control's DrawItem (and for lists and combo
// boxes MeasureItem, CompareItem and DeleteItem) virtuals answer.
#pragma once

#include "platform/mfc/Wnd.h"

// Controls that only draw (buttons, labels, headers, tabs, list views).
template <class T>
BOOL AfxDrawItemChildNotify(T* control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return control->CWnd::OnChildNotify(message, wParam, lParam, pResult);
    if (control->ReflectChildNotify(message, wParam, lParam, pResult))
        return TRUE;
    control->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

// Hands the owner-draw messages of a list or combo box to the control's virtuals.
template <class T>
BOOL AfxOwnerDrawChildNotify(T* control, UINT message, LPARAM lParam, LRESULT* pResult)
{
    switch (message)
    {
    case WM_DRAWITEM:
        control->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        control->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM:
        if (pResult)
            *pResult = control->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        return TRUE;
    case WM_DELETEITEM:
        control->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return FALSE;
    }
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}
