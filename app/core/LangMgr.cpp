#include "app/core/LangMgr.h"

#include "app/core/ComHolders.h"
#include "app/core/HandleHolder.h"
#include "app/core/XmlDocument.h"
#include "platform/mfc/ExitSequence.h"

namespace
{
const int kTextMapBlockSize = 10;

// The three globals live on the heap and are emptied by the exit sequence: static destructors
// run too late on this platform to free framework strings.
struct LanguageState
{
    CArray<LangMgr::LangInfo, const LangMgr::LangInfo&> languages;
    CMapStringToString texts{kTextMapBlockSize};
    CString file;
};

void EmptyLanguageState(void* context)
{
    LanguageState* state = static_cast<LanguageState*>(context);
    state->languages.RemoveAll();
    state->texts.RemoveAll();
    state->file.Empty();
}

LanguageState& State()
{
    static LanguageState* state = [] {
        LanguageState* created = new LanguageState();
        AfxRegisterExitHandler(EmptyLanguageState, created);
        return created;
    }();
    return *state;
}


const WCHAR kFallbackLanguage[] = L"English";

struct LocaleLanguage
{
    LCID locale;
    const char16_t* name;
};

const LocaleLanguage kLocaleLanguages[] = {
    {0x804, u"\u7B80\u4F53\u4E2D\u6587"}, // Simplified Chinese
    {0xC04, u"\u7E41\u9AD4\u4E2D\u6587"}, // Traditional Chinese
    {0x40C, u"Fran\u00E7ais"},
    {0x47E, u"Fran\u00E7ais"},
    {0x484, u"Fran\u00E7ais"},
    {0x411, u"\u65E5\u672C\u8A9E"},
    {0x407, u"deutsch"},
};

// "\n" and "\t" (backslash and letter) stand for a line break and a tab.
CString Unescape(const CString& text)
{
    CString result = text;
    result.Replace(L"\\n", L"\n");
    result.Replace(L"\\t", L"\t");
    return result;
}

bool FindLanguage(const CString& name, CString& path)
{
    for (INT_PTR i = 0; i < State().languages.GetSize(); ++i)
        if (State().languages.GetAt(i).name.CompareNoCase(name) == 0)
        {
            path = State().languages.GetAt(i).path;
            return true;
        }
    return false;
}
} // namespace

bool LangMgr::ScanLanguages(const CString& folderIn)
{
    State().languages.RemoveAll();
    if (folderIn.GetLength() < 3)
        return false;
    CString folder = folderIn;
    if (folder[folder.GetLength() - 1] != L'\\')
        folder += L"\\";
    WIN32_FIND_DATAW found;
    CFindHandle find(::FindFirstFileW(folder + L"*.xml", &found));
    if (!find.Valid())
        return false;
    do
    {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const CString path = folder + found.cFileName;
        CXmlFile xml;
        if (!CXmlDocument::Load(xml.Get(), path, false))
            continue;
        CComHolder<IXMLDOMNode> root(CXmlDocument::SelectNode(xml.Get(), nullptr, L"langfile"));
        CComHolder<IXMLDOMNode> info(CXmlDocument::SelectNode(xml.Get(), root.Get(), L"langinfo"));
        if (!root || !info)
            continue;
        LangInfo language;
        CXmlDocument::GetChildString(xml.Get(), info.Get(), L"name", language.name);
        CXmlDocument::GetChildString(xml.Get(), info.Get(), L"creator", language.creator);
        CXmlDocument::GetChildString(xml.Get(), info.Get(), L"desc", language.description);
        CXmlDocument::GetChildString(xml.Get(), info.Get(), L"tip", language.tip);
        CXmlDocument::GetChildString(xml.Get(), info.Get(), L"localid", language.localeId);
        language.path = path;
        if (!language.name.IsEmpty())
            State().languages.Add(language);
    } while (::FindNextFileW(find.Get(), &found));
    return State().languages.GetSize() > 0;
}

CString LangMgr::GetLanguageName(int index)
{
    if (index < 0 || index >= State().languages.GetSize())
        return CString();
    return State().languages.GetAt(index).name;
}

int LangMgr::GetLanguageCount()
{
    return (int)State().languages.GetSize();
}

bool LangMgr::LoadLanguageFile(const CString& path)
{
    CXmlFile xml;
    if (!CXmlDocument::Load(xml.Get(), path, false))
        return false;
    CComHolder<IXMLDOMNode> root(CXmlDocument::SelectNode(xml.Get(), nullptr, L"langfile"));
    if (!root)
        return false;
    State().texts.RemoveAll();
    CComHolder<IXMLDOMNode> language(CXmlDocument::SelectNode(xml.Get(), root.Get(), L"language"));
    CComHolder<IXMLDOMNode> node(CXmlDocument::FirstChild(language.Get()));
    while (node)
    {
        CString key, text;
        if (CXmlDocument::GetNodeType(node.Get()) == NODE_ELEMENT && CXmlDocument::GetNodeName(node.Get(), key) &&
            CXmlDocument::GetNodeText(node.Get(), text))
            State().texts.SetAt(key, Unescape(text));
        CComHolder<IXMLDOMNode> next(CXmlDocument::NextSibling(node.Get()));
        *node.Receive() = next.Detach();
    }
    return State().texts.GetCount() > 0;
}

bool LangMgr::SelectLanguage(const CString& nameIn)
{
    CString name = nameIn.IsEmpty() ? GetDefaultLanguage() : nameIn;
    for (;;)
    {
        CString path;
        if (FindLanguage(name, path))
        {
            if (!LoadLanguageFile(path))
                return false;
            State().file = path;
            return true;
        }
        if (name.CompareNoCase(kFallbackLanguage) == 0)
            return false;
        name = kFallbackLanguage;
    }
}

CString LangMgr::LanguageForLocale(LCID locale)
{
    for (const LocaleLanguage& row : kLocaleLanguages)
        if (row.locale == locale)
            return reinterpret_cast<const WCHAR*>(row.name);
    return kFallbackLanguage;
}

CString LangMgr::GetDefaultLanguage()
{
    return LanguageForLocale(::GetSystemDefaultLCID());
}

CString LangMgr::GetText(const CString& key)
{
    return State().texts[key];
}

CString LangMgr::GetNameText(const CString& name)
{
    CString text;
    if (!name.IsEmpty() && State().texts.Lookup(MakeLanguageKey(name), text) && !text.IsEmpty())
        return text;
    return name;
}

void LangMgr::ClearLanguages()
{
    State().languages.RemoveAll();
}

CString LangMgr::GetLanguageFile()
{
    return State().file;
}

CString MakeLanguageKey(const CString& name)
{
    CString key = name;
    for (int i = 0; i < key.GetLength(); ++i)
    {
        const WCHAR c = key[i];
        const bool keep = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
        if (!keep)
            key.SetAt(i, L'_');
    }
    if (!key.IsEmpty() && key[0] >= L'0' && key[0] <= L'9')
        key.Insert(0, L'_');
    return key;
}
