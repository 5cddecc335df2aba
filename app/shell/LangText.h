#pragma once
// Puts translated texts into windows: a key whose translation is empty leaves the window's text
// as it was. Every dialog and panel of the shell translates its texts this way.
#include "platform/mfc/Mfc.h"

struct LangTextItem
{
    int id;
    LPCWSTR key;
};

// The translation of key into control id of the dialog.
void SetItemLangText(HWND dialog, int id, LPCWSTR key);
// A table of controls and keys.
void SetItemLangTexts(HWND dialog, const LangTextItem* items, size_t count);
// The translation of key as the window's own text (a title).
void SetWindowLangText(HWND window, LPCWSTR key);

template <size_t N> void SetItemLangTexts(HWND dialog, const LangTextItem (&items)[N])
{
    SetItemLangTexts(dialog, items, N);
}
