#include "app/shell/SkinStyle.h"

#include "app/shell/ColorFilterMonochrome.h"
#include "uilib/foundation/DrawHelpers.h"
#include "uilib/skin/SkinManager.h"

namespace
{
const WCHAR kNormal[] = L"normal";

const SkinStyleEntry kStyles[] = {
    {kNormal, L"menu_ui_normal", 32872, nullptr},
    {L"aroma", L"menu_ui_aroma", 32873, L"NORMALBLUE_INI"},
    {L"simple", L"menu_ui_simple", 32874, L"NORMALAQUA_INI"},
};

// Command 32890 is not a tint: the ninth tint follows at 32891.
const SkinTintEntry kTints[CSkinStyle::kTintCount] = {
    {0, L"menu_ui_color0", 32884, 0},
    {1, L"menu_ui_color1", 32885, RGB(200, 162, 112)},
    {2, L"menu_ui_color2", 32886, RGB(90, 8, 240)},
    {3, L"menu_ui_color3", 32887, RGB(8, 38, 237)},
    {4, L"menu_ui_color4", 32888, RGB(112, 168, 88)},
    {5, L"menu_ui_color5", 32889, RGB(11, 22, 33)},
    {6, L"menu_ui_color6", 32891, RGB(225, 3, 78)},
    {7, L"menu_ui_color7", 32892, RGB(180, 56, 44)},
    {8, L"menu_ui_color8", 32893, RGB(0, 0, 0)},
};

bool IsNormal(const CString& skinStyle)
{
    return skinStyle == kNormal;
}
} // namespace

const SkinStyleEntry* CSkinStyle::FindStyle(UINT command)
{
    for (const SkinStyleEntry& entry : kStyles)
        if (entry.command == command)
            return &entry;
    return nullptr;
}

const SkinStyleEntry* CSkinStyle::FindStyleByName(const CString& name)
{
    for (const SkinStyleEntry& entry : kStyles)
        if (name == entry.name)
            return &entry;
    return nullptr;
}

const SkinTintEntry* CSkinStyle::FindTint(UINT command)
{
    for (const SkinTintEntry& entry : kTints)
        if (entry.command == command)
            return &entry;
    return nullptr;
}

const SkinTintEntry& CSkinStyle::Tint(int index)
{
    return kTints[index];
}

bool CSkinStyle::TintOf(int skinColor, COLORREF* tint)
{
    if (skinColor < 1 || skinColor >= kTintCount)
        return false;
    *tint = kTints[skinColor].tint;
    return true;
}

void CSkinStyle::ApplySkinColor(const CString& skinStyle, int skinColor)
{
    CWVPSkinManager* manager = WVPSkinManager();
    manager->RemoveColorFilters();
    COLORREF tint = 0;
    if (!IsNormal(skinStyle) && TintOf(skinColor, &tint))
        manager->AddColorFilter(new CColorFilterMonochrome(CWVPDrawHelpers::ColorToHLS(tint)));
    manager->Refresh();
}

bool CSkinStyle::LoadStyle(const CString& skinStyle)
{
    const SkinStyleEntry* style = FindStyleByName(skinStyle);
    CWVPSkinManager* manager = WVPSkinManager();
    if (!style || !style->skinResource)
    {
        manager->LoadSkin(nullptr, nullptr);
        return true;
    }
    manager->GetResourceFile()->m_hCallerModule = ::GetModuleHandleW(nullptr);
    return manager->LoadSkin(nullptr, style->skinResource) != FALSE;
}

bool CSkinStyle::RunStyleCommand(UINT command, CString& skinStyle, int& skinColor)
{
    const SkinStyleEntry* style = FindStyle(command);
    if (!style)
        return false;
    if (!style->skinResource && skinColor != 0)
    {
        // Still under the old look: this removes the filter and refreshes.
        skinColor = 0;
        ApplySkinColor(skinStyle, skinColor);
    }
    LoadStyle(style->name);
    skinStyle = style->name;
    return true;
}

bool CSkinStyle::RunTintCommand(UINT command, const CString& skinStyle, int& skinColor)
{
    const SkinTintEntry* tint = FindTint(command);
    if (!tint)
        return false;
    skinColor = tint->value;
    ApplySkinColor(skinStyle, skinColor);
    return true;
}

bool CSkinStyle::UpdateItem(CCmdUI* cmdUI, const CString& skinStyle, int skinColor)
{
    if (const SkinStyleEntry* style = FindStyle(cmdUI->m_nID))
    {
        cmdUI->SetCheck(skinStyle == style->name ? 1 : 0);
        return true;
    }
    if (const SkinTintEntry* tint = FindTint(cmdUI->m_nID))
    {
        cmdUI->Enable(!IsNormal(skinStyle));
        cmdUI->SetCheck(skinColor == tint->value ? 1 : 0);
        return true;
    }
    return false;
}
