// The keyboard side of a markup context: one per context, receiving its focus and key messages
// and the elements' focus requests. It carries the attached tab properties of the language
// (IsTabStop, TabNavigation, TabIndex) and moves no focus itself.
#pragma once

#include <windows.h>

#include "uilib/markup/MarkupObject.h"

class CWVPMarkupContext;
class CWVPMarkupInputElement;

class CWVPMarkupKeyboardNavigation : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    // TabNavigation values.
    enum TabNavigation
    {
        navigationContinue = 0,
        navigationOnce = 1,
        navigationCycle = 2,
        navigationNone = 3,
        navigationContained = 4,
        navigationLocal = 5
    };
    // TabIndex of an element that sets none.
    static const int kNoTabIndex = 2147483647;

    explicit CWVPMarkupKeyboardNavigation(CWVPMarkupContext* context = nullptr);
    // Called by the context for WM_SETFOCUS, WM_KILLFOCUS and WM_KEYDOWN; handles none of them, so
    // the context carries on with its own handling.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void Focus(CWVPMarkupInputElement* element);
    CWVPMarkupContext* GetContext() const
    {
        return m_pContext;
    }

    static void RegisterProperties();
    static CWVPMarkupDependencyProperty* s_pIsTabStopProperty;
    static CWVPMarkupDependencyProperty* s_pTabNavigationProperty;
    static CWVPMarkupDependencyProperty* s_pTabIndexProperty;

  private:
    CWVPMarkupContext* m_pContext;
};
