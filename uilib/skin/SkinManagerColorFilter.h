#pragma once
// A colour filter of the skin manager: every skin colour and every skin bitmap pixel passes
// through the installed filters in the order they were added. The application makes them and
// hands them to the manager, which owns them from then on.
#include <windows.h>

class CWVPSkinManagerColorFilter
{
  public:
    virtual ~CWVPSkinManagerColorFilter() = default;
    virtual void ApplyColorFilter(COLORREF& clr) = 0;
};
