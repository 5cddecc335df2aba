#pragma once
// The directory of an icon group resource (RT_GROUP_ICON): which icon images of which sizes it
// holds. The image manager and its icon images read icon groups through it.
#include <windows.h>

#include <vector>

struct WVPIconGroupEntry
{
    int width;   // 256 where the directory stores 0
    int height;  // likewise
    WORD iconId; // the RT_ICON resource of this image
};

// Reads the directory of the group in its order; FALSE when the resource is missing or shorter
// than the entries it announces.
BOOL WVPReadIconGroupDirectory(HMODULE module, HRSRC group, std::vector<WVPIconGroupEntry>& entries);
