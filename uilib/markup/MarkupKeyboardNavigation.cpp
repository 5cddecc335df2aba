#include "uilib/markup/MarkupKeyboardNavigation.h"

#include "uilib/markup/MarkupConverters.h"
#include "uilib/markup/MarkupDependencyProperty.h"
#include "uilib/markup/MarkupInputElement.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"

IMPLEMENT_MARKUP_TYPE(CWVPMarkupKeyboardNavigation, kTypeKeyboardNavigation)
CWVPMarkupDependencyProperty* CWVPMarkupKeyboardNavigation::s_pIsTabStopProperty;
CWVPMarkupDependencyProperty* CWVPMarkupKeyboardNavigation::s_pTabNavigationProperty;
CWVPMarkupDependencyProperty* CWVPMarkupKeyboardNavigation::s_pTabIndexProperty;

void CWVPMarkupKeyboardNavigation::RegisterProperties()
{
    typedef CWVPMarkupDependencyProperty Property;
    s_pIsTabStopProperty =
        Property::RegisterAttached(L"IsTabStop", CWVPMarkupBool::Type(), Type(),
                                   new CWVPMarkupPropertyMetadata(CWVPMarkupBool::CreateTrueValue(), 0));
    s_pTabNavigationProperty =
        Property::RegisterAttached(L"TabNavigation", CWVPMarkupEnum::Type(), Type(),
                                   new CWVPMarkupPropertyMetadata(nullptr, MarkupConvertTabNavigation, 0));
    s_pTabIndexProperty = Property::RegisterAttached(L"TabIndex", CWVPMarkupInt::Type(), Type(),
                                                     new CWVPMarkupPropertyMetadata(new CWVPMarkupInt(kNoTabIndex), 0));
}

CWVPMarkupKeyboardNavigation::CWVPMarkupKeyboardNavigation(CWVPMarkupContext* context) : m_pContext(context)
{
}

BOOL CWVPMarkupKeyboardNavigation::OnWndMsg(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

void CWVPMarkupKeyboardNavigation::Focus(CWVPMarkupInputElement*)
{
}
