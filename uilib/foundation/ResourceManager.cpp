#include "uilib/foundation/ResourceManager.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/mfc/Bitmap.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/ToolBar.h"
#include "platform/mfc/WinApp.h"

namespace
{
const LANGID kEnglishUS = 0x0409;
const UINT kHtmlType = 23; // RT_HTML
const DWORD kIconFormatVersion = 0x30000;
const UINT kStringsPerBlock = 16;

const WVP_LANGUAGE_INFO kLanguages[] = {
    {0x0419, 1251, L"windows-1251", L"Russian", L"LANG_RUSSIAN", L"SUBLANG_DEFAULT", 204},
    {0x0411, 932, L"shift-jis", L"Japanese", L"LANG_JAPANESE", L"SUBLANG_DEFAULT", 128},
    {0x0401, 1256, L"windows-1256", L"Arabic (Saudi Arabia)", L"LANG_ARABIC", L"SUBLANG_ARABIC_SAUDI_ARABIA", 178},
    {0x0405, 1250, L"windows-1250", L"Czech", L"LANG_CZECH", L"SUBLANG_DEFAULT", 238},
    {0x0406, 1252, L"windows-1252", L"Danish", L"LANG_DANISH", L"SUBLANG_DEFAULT", 0},
    {0x0407, 1252, L"windows-1252", L"German (Germany)", L"LANG_GERMAN", L"SUBLANG_GERMAN", 0},
    {0x0408, 1253, L"windows-1253", L"Greek", L"LANG_GREEK", L"SUBLANG_DEFAULT", 161},
    {0x0409, 0, L"windows-1252", L"English (United States)", L"LANG_ENGLISH", L"SUBLANG_ENGLISH_US", 0},
    {0x0C0A, 1252, L"windows-1252", L"Spanish (Spain - Modern Sort)", L"LANG_SPANISH", L"SUBLANG_SPANISH_MODERN", 0},
    {0x0425, 1257, L"windows-1257", L"Estonian", L"LANG_ESTONIAN", L"SUBLANG_DEFAULT", 186},
    {0x040B, 1252, L"windows-1252", L"Finnish", L"LANG_FINNISH", L"SUBLANG_DEFAULT", 0},
    {0x040C, 1252, L"windows-1252", L"French (France)", L"LANG_FRENCH", L"SUBLANG_FRENCH", 0},
    {0x040D, 1255, L"windows-1255", L"Hebrew", L"LANG_HEBREW", L"SUBLANG_DEFAULT", 177},
    {0x041A, 1250, L"windows-1250", L"Croatian", L"LANG_CROATIAN", L"SUBLANG_DEFAULT", 238},
    {0x040E, 1250, L"windows-1250", L"Hungarian", L"LANG_HUNGARIAN", L"SUBLANG_DEFAULT", 238},
    {0x0410, 1252, L"windows-1252", L"Italian (Italy)", L"LANG_ITALIAN", L"SUBLANG_ITALIAN", 0},
    {0x0412, 949, L"ks_c_5601", L"Korean", L"LANG_KOREAN", L"SUBLANG_DEFAULT", 129},
    {0x0427, 1257, L"windows-1257", L"Lithuanian", L"LANG_LITHUANIAN", L"SUBLANG_LITHUANIAN", 186},
    {0x0426, 1257, L"windows-1257", L"Latvian", L"LANG_LATVIAN", L"SUBLANG_DEFAULT", 186},
    {0x0413, 1252, L"windows-1252", L"Dutch", L"LANG_DUTCH", L"SUBLANG_DUTCH", 0},
    {0x0414, 1252, L"windows-1252", L"Norwegian (Bokmal)", L"LANG_NORWEGIAN", L"SUBLANG_NORWEGIAN_BOKMAL", 0},
    {0x0415, 1250, L"windows-1250", L"Polish", L"LANG_POLISH", L"SUBLANG_DEFAULT", 238},
    {0x0816, 1252, L"windows-1252", L"Portuguese (Portugal)", L"LANG_PORTUGUESE", L"SUBLANG_PORTUGUESE", 0},
    {0x0416, 1252, L"windows-1252", L"Portuguese (Brazil)", L"LANG_PORTUGUESE", L"SUBLANG_PORTUGUESE_BRAZILIAN", 0},
    {0x0418, 1250, L"windows-1250", L"Romanian", L"LANG_ROMANIAN", L"SUBLANG_DEFAULT", 238},
    {0x041B, 1250, L"windows-1250", L"Slovak", L"LANG_SLOVAK", L"SUBLANG_DEFAULT", 238},
    {0x0424, 1250, L"windows-1250", L"Slovenian", L"LANG_SLOVENIAN", L"SUBLANG_DEFAULT", 238},
    {0x041D, 1252, L"windows-1252", L"Swedish", L"LANG_SWEDISH", L"SUBLANG_DEFAULT", 0},
    {0x041E, 874, L"windows-874", L"Thai", L"LANG_THAI", L"SUBLANG_DEFAULT", 222},
    {0x041F, 1254, L"windows-1254", L"Turkish", L"LANG_TURKISH", L"SUBLANG_DEFAULT", 162},
    {0x0422, 1251, L"windows-1251", L"Ukrainian ", L"LANG_UKRAINIAN", L"SUBLANG_DEFAULT", 204},
    {0x0402, 1251, L"windows-1251", L"Bulgarian", L"LANG_BULGARIAN", L"SUBLANG_DEFAULT", 204},
    {0x0804, 936, L"gb2312", L"Chinese (PRC)", L"LANG_CHINESE", L"SUBLANG_CHINESE_SIMPLIFIED", 134},
    {0x0404, 950, L"big5", L"Chinese (Taiwan)", L"LANG_CHINESE", L"SUBLANG_CHINESE_TRADITIONAL", 136},
};

// The code pages whose texts read right to left.
const UINT kRightToLeftCodePages[] = {1255, 1256};

// The bytes of a resource, or null.
const BYTE* ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, DWORD* size)
{
    HRSRC found = ::FindResourceW(module, name, type);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const BYTE* bytes = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    *size = bytes ? ::SizeofResource(module, found) : 0;
    return bytes;
}

// Language search over the enumeration callbacks: the first language that is neither neutral nor
// English (United States) ends it.
BOOL CALLBACK LanguageProc(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param)
{
    LANGID* found = reinterpret_cast<LANGID*>(param);
    if (language == 0)
        return TRUE;
    *found = language;
    return language == kEnglishUS;
}

BOOL CALLBACK NameProc(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    ::EnumResourceLanguagesW(module, type, name, LanguageProc, param);
    LANGID found = *reinterpret_cast<LANGID*>(param);
    return found == 0 || found == kEnglishUS;
}

BOOL CALLBACK TypeProc(HMODULE module, LPWSTR type, LONG_PTR param)
{
    ::EnumResourceNamesW(module, type, NameProc, param);
    LANGID found = *reinterpret_cast<LANGID*>(param);
    return found == 0 || found == kEnglishUS;
}

CProcessLocal<CWVPResourceManager> g_resourceManager;
} // namespace

CWVPResourceManager::CWVPResourceManager() : m_pLanguageInfo(FindLanguage(kEnglishUS))
{
}

CWVPResourceManager::~CWVPResourceManager()
{
    Close();
}

const WVP_LANGUAGE_INFO* CWVPResourceManager::FindLanguage(LANGID langId)
{
    for (const WVP_LANGUAGE_INFO& row : kLanguages)
        if (row.langId == langId)
            return &row;
    return nullptr;
}

void CWVPResourceManager::SetLanguage(LANGID langId)
{
    const WVP_LANGUAGE_INFO* row = FindLanguage(langId);
    m_pLanguageInfo = row ? row : FindLanguage(kEnglishUS);
}

LANGID CWVPResourceManager::GetResourcesLangID() const
{
    return m_pLanguageInfo->langId;
}

UINT CWVPResourceManager::GetCodePage() const
{
    return m_pLanguageInfo->codePage ? m_pLanguageInfo->codePage : ::GetACP();
}

LANGID CWVPResourceManager::FindResourcesLanguage(HMODULE module)
{
    LANGID found = 0;
    ::EnumResourceTypesW(module, TypeProc, reinterpret_cast<LONG_PTR>(&found));
    return found;
}

void CWVPResourceManager::UpdateResourcesLangID()
{
    SetLanguage(FindResourcesLanguage(AfxGetResourceHandle()));
}

CString CWVPResourceManager::LoadStringText(UINT id, int* missing)
{
    CString text;
    BOOL found = LoadString(&text, id);
    if (missing)
        *missing = found ? 0 : 1;
    if (!found)
        text.Empty();
    return text;
}

BOOL CWVPResourceManager::LoadString(CString* text, UINT id)
{
    if (!text)
        return FALSE;
    return text->LoadString(AfxGetResourceHandle(), id);
}

BOOL CWVPResourceManager::LoadMenu(CMenu* menu, UINT id)
{
    if (!menu)
        return FALSE;
    HMENU handle = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id));
    return handle && menu->Attach(handle);
}

BOOL CWVPResourceManager::LoadToolBar(CToolBar* toolBar, UINT id)
{
    return toolBar && toolBar->LoadToolBar(id);
}

BOOL CWVPResourceManager::LoadBitmap(CBitmap* bitmap, UINT id)
{
    if (!bitmap)
        return FALSE;
    HBITMAP handle = ::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id));
    return handle && bitmap->Attach(handle);
}

HCURSOR CWVPResourceManager::LoadCursor(UINT id)
{
    return ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id));
}

LPCDLGTEMPLATE CWVPResourceManager::LoadDialogTemplate(UINT id)
{
    HGLOBAL handle = LoadDialogTemplateHandle(id);
    return handle ? static_cast<LPCDLGTEMPLATE>(::LockResource(handle)) : nullptr;
}

HGLOBAL CWVPResourceManager::LoadDialogTemplateHandle(UINT id)
{
    HMODULE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), (LPCWSTR)RT_DIALOG);
    return found ? ::LoadResource(module, found) : nullptr;
}

BOOL CWVPResourceManager::LoadHTML(CString* text, UINT id)
{
    if (!text)
        return FALSE;
    DWORD size = 0;
    const BYTE* bytes = ResourceBytes(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kHtmlType), &size);
    if (!bytes || size == 0)
        return FALSE;
    std::vector<WCHAR> wide((size_t)size * 2 + 2, 0);
    int converted = ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes), (int)size, wide.data(),
                                          (int)wide.size() - 1);
    if (converted <= 0)
        return FALSE;
    *text = wide.data(); // ends at the first zero
    return TRUE;
}

HICON CWVPResourceManager::LoadIconById(UINT id, int width, int height)
{
    return LoadIcon(MAKEINTRESOURCEW(id), width, height);
}

HICON CWVPResourceManager::LoadIcon(LPCWSTR name, int width, int height)
{
    return (HICON)::LoadImageW(AfxGetResourceHandle(), name, IMAGE_ICON, width, height, LR_DEFAULTCOLOR);
}

HICON CWVPResourceManager::CreateIconFromResource(HMODULE module, LPCWSTR name, int width, int height)
{
    DWORD size = 0;
    const BYTE* directory = ResourceBytes(module, name, (LPCWSTR)RT_GROUP_ICON, &size);
    if (!directory)
        return nullptr;
    int iconId = ::LookupIconIdFromDirectoryEx(const_cast<BYTE*>(directory), TRUE, width, height, LR_DEFAULTCOLOR);
    if (iconId == 0)
        return nullptr;
    const BYTE* bits = ResourceBytes(module, MAKEINTRESOURCEW(iconId), (LPCWSTR)RT_ICON, &size);
    if (!bits)
        return nullptr;
    return ::CreateIconFromResourceEx(const_cast<BYTE*>(bits), size, TRUE, kIconFormatVersion, width, height,
                                      LR_DEFAULTCOLOR);
}

void CWVPResourceManager::Close()
{
    // The manager holds no resource library of its own: resources come from the application.
}

UINT CWVPResourceManager::GetMessageBoxStyle(UINT style) const
{
    UINT codePage = m_pLanguageInfo->codePage;
    for (UINT rtl : kRightToLeftCodePages)
        if (codePage == rtl)
            return style | MB_RTLREADING;
    return style;
}

int CWVPResourceManager::ShowMessageBox(LPCWSTR text, UINT style)
{
    return AfxMessageBox(text, GetMessageBoxStyle(style), 0);
}

int CWVPResourceManager::GetMenuString(CMenu* menu, UINT item, CString& text, UINT flags)
{
    if (!menu || !menu->m_hMenu)
        return 0;
    int length = ::GetMenuStringW(menu->m_hMenu, item, nullptr, 0, flags);
    if (length <= 0)
    {
        text.Empty();
        return length;
    }
    ::GetMenuStringW(menu->m_hMenu, item, text.GetBuffer(length + 1), length + 1, flags);
    text.ReleaseBuffer();
    return length;
}

int CWVPResourceManager::LoadStringFromTable(HMODULE module, UINT id, CString& text)
{
    text.Empty();
    DWORD size = 0;
    const BYTE* block = ResourceBytes(module, MAKEINTRESOURCEW(id / kStringsPerBlock + 1), (LPCWSTR)RT_STRING, &size);
    if (!block)
        return 0;
    const WCHAR* entry = reinterpret_cast<const WCHAR*>(block);
    const WCHAR* end = entry + size / sizeof(WCHAR);
    for (UINT skip = id % kStringsPerBlock; skip > 0; --skip)
    {
        if (entry >= end)
            return 0;
        entry += 1 + *entry;
    }
    if (entry >= end || *entry == 0 || entry + 1 + *entry > end)
        return 0;
    int length = *entry;
    WCHAR* buffer = text.GetBuffer(length);
    std::memcpy(buffer, entry + 1, length * sizeof(WCHAR));
    text.ReleaseBuffer(length);
    return length;
}

CWVPResourceManager* WVPResourceManager()
{
    return g_resourceManager.GetData();
}

CWVPNarrowString::CWVPNarrowString(LPCWSTR text) : m_text(nullptr)
{
    UINT codePage = WVPResourceManager()->GetCodePage();
    int size = text ? ::WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr) : 0;
    m_text = new char[std::max(size, 0) + 1];
    m_text[0] = 0;
    if (size > 0)
        ::WideCharToMultiByte(codePage, 0, text, -1, m_text, size, nullptr, nullptr);
    m_text[std::max(size, 0)] = 0;
}

CWVPNarrowString::~CWVPNarrowString()
{
    delete[] m_text;
}
