#include "app/shell/LangText.h"

#include "app/core/LangMgr.h"

void SetItemLangText(HWND dialog, int id, LPCWSTR key)
{
    const CString text = LangMgr::GetText(key);
    if (!text.IsEmpty())
        ::SetDlgItemTextW(dialog, id, text);
}

void SetItemLangTexts(HWND dialog, const LangTextItem* items, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        SetItemLangText(dialog, items[i].id, items[i].key);
}

void SetWindowLangText(HWND window, LPCWSTR key)
{
    const CString text = LangMgr::GetText(key);
    if (!text.IsEmpty())
        ::SetWindowTextW(window, text);
}
