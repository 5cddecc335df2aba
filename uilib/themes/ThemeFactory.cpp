#include "uilib/themes/ThemeFactory.h"
#include "uilib/commandbars/PaintManager.h"
#include "uilib/themes/DefaultTheme.h"

CWVPPaintManager* WVPCreateThemePaintManager(int number)
{
    switch (number)
    {
    // The office, office 2003, native XP, Whidbey, office 2007, ribbon and Visual Studio 2008
    // themes draw with the classic theme until their own classes exist.
    case wvpThemeOffice:
    case wvpThemeOffice2003:
    case wvpThemeNativeXP:
    case wvpThemeWhidbey:
    case wvpThemeOffice2007:
    case wvpThemeRibbon:
    case wvpThemeVisualStudio2008:
    case wvpThemeDefault:
    default:
        return new CWVPDefaultTheme;
    }
}
