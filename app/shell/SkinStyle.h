#pragma once
// The looks the user picks for every window ("normal", "aroma", "simple") and the nine tints of
// the skinned looks: their menu commands, what each command changes in the settings, the check
// marks and greying of the menu items, and ApplySkinColor, which installs the tint.
#include "platform/mfc/Mfc.h"

// A look: its settings name, menu key, command and the skin description in the program's
// resources (null for "normal": no skin, the system draws).
struct SkinStyleEntry
{
    LPCWSTR name;
    LPCWSTR menuKey;
    UINT command;
    LPCWSTR skinResource;
};

// A tint: the "skincolor" value, menu key, command and colour; value 0 has no tint.
struct SkinTintEntry
{
    int value;
    LPCWSTR menuKey;
    UINT command;
    COLORREF tint;
};

class CSkinStyle
{
  public:
    static const UINT kFirstStyleCommand = 32872;
    static const UINT kLastStyleCommand = 32874;
    static const UINT kFirstTintCommand = 32884;
    static const UINT kLastTintCommand = 32893;
    static const int kTintCount = 9;

    static const SkinStyleEntry* FindStyle(UINT command);
    static const SkinStyleEntry* FindStyleByName(const CString& name);
    static const SkinTintEntry* FindTint(UINT command);
    static const SkinTintEntry& Tint(int index);
    // The tint colour of a "skincolor" value; false for 0 and for values outside 1 to 8.
    static bool TintOf(int skinColor, COLORREF* tint);

    // Installs the tint of skinColor when the look is not "normal", else removes every filter;
    // then lets the skin manager refresh every window.
    static void ApplySkinColor(const CString& skinStyle, int skinColor);
    // Runs a look command on the settings; false for a command that is not a look.
    static bool RunStyleCommand(UINT command, CString& skinStyle, int& skinColor);
    // Runs a tint command on the settings; false for a command that is not a tint.
    static bool RunTintCommand(UINT command, const CString& skinStyle, int& skinColor);
    // Check marks and greying of the look and tint items.
    static bool UpdateItem(CCmdUI* cmdUI, const CString& skinStyle, int skinColor);
    // Loads the look's skin (or unloads it for "normal"); false when the skin did not load.
    static bool LoadStyle(const CString& skinStyle);
};
