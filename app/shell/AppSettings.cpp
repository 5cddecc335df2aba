#include "app/shell/AppSettings.h"

#include "app/core/LangMgr.h"
#include "app/core/UpdateManager.h"
#include "app/core/VideoManager.h"
#include "app/core/XmlDocument.h"
#include "app/shell/AppLog.h"
#include "engine/Engine.h"

#include <shlobj.h>

namespace
{
const WCHAR kSettingsFile[] = L"Reelwright.xml";
const WCHAR kMovedAsideSuffix[] = L".bad";
// Later copies moved aside are numbered: "Reelwright.xml.2.bad" up to this number, the last
// replaced after that.
const int kMaxMovedAsideCopies = 99;
// A real settings file holds a few kilobytes; one far larger is damaged (or made to stall the
// program) and is not read.
const ULONGLONG kMaxSettingsFileSize = 1024 * 1024;
const WCHAR kRoot[] = L"Corvantis";
const WCHAR kBasic[] = L"Basic";
const WCHAR kUpdate[] = L"Update";

// The "Basic" section: key and field, in the file's element order.
enum Kind
{
    kBool,
    kInt,
    kText,
    kRect
};
struct Field
{
    const WCHAR* key;
    Kind kind;
    size_t offset;
};
#define RW_FIELD(name, kind)                                                                                           \
    {                                                                                                                  \
        L## #name, kind, offsetof(AppSettings, name)                                                                   \
    }
const Field kBasicFields[] = {
    RW_FIELD(showmenu, kBool),        RW_FIELD(autoupdate, kBool),  RW_FIELD(istray, kBool),
    RW_FIELD(snap_path, kText),       RW_FIELD(background, kBool),  RW_FIELD(del_uncompleted, kBool),
    RW_FIELD(action_completed, kInt), RW_FIELD(max_tasks, kInt),    RW_FIELD(voice_enable, kBool),
    RW_FIELD(voice_volume, kInt),     RW_FIELD(skinstyle, kText),   RW_FIELD(skincolor, kInt),
    RW_FIELD(language, kText),        RW_FIELD(output_path, kText), RW_FIELD(param_sel, kText),
    RW_FIELD(mainwndpos, kRect),      RW_FIELD(mainwndstate, kInt),
};
#undef RW_FIELD

template <typename T> T& At(AppSettings& settings, const Field& field)
{
    return *reinterpret_cast<T*>(reinterpret_cast<char*>(&settings) + field.offset);
}
template <typename T> const T& At(const AppSettings& settings, const Field& field)
{
    return *reinterpret_cast<const T*>(reinterpret_cast<const char*>(&settings) + field.offset);
}

void ReadField(CXmlDocument* doc, IXMLDOMNode* section, const Field& f, AppSettings& settings)
{
    switch (f.kind)
    {
    case kBool:
        CXmlDocument::GetChildBool(doc, section, f.key, At<bool>(settings, f));
        break;
    case kInt:
        CXmlDocument::GetChildInt(doc, section, f.key, At<INT32>(settings, f));
        break;
    case kText:
        CXmlDocument::GetChildString(doc, section, f.key, At<CString>(settings, f));
        break;
    case kRect:
        CXmlDocument::GetChildRect(doc, section, f.key, At<RECT>(settings, f));
        break;
    }
}

bool WriteField(CXmlDocument* doc, IXMLDOMNode* section, const Field& f, const AppSettings& settings)
{
    switch (f.kind)
    {
    case kBool:
        return CXmlDocument::SetChildBool(doc, section, f.key, At<bool>(settings, f));
    case kInt:
        return CXmlDocument::SetChildInt(doc, section, f.key, At<INT32>(settings, f));
    case kText:
        return CXmlDocument::SetChildString(doc, section, f.key, At<CString>(settings, f));
    case kRect:
        return CXmlDocument::SetChildRect(doc, section, f.key, At<RECT>(settings, f));
    }
    return false;
}

// Releases a node reference at the end of its scope.
class NodeRef
{
  public:
    explicit NodeRef(IXMLDOMNode* node) : m_node(node)
    {
    }
    ~NodeRef()
    {
        if (m_node)
            m_node->Release();
    }
    NodeRef(const NodeRef&) = delete;
    NodeRef& operator=(const NodeRef&) = delete;
    IXMLDOMNode* Get() const
    {
        return m_node;
    }

  private:
    IXMLDOMNode* m_node;
};

CString ShellFolder(int csidl)
{
    WCHAR path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) || !path[0])
        return CString();
    return CString(path);
}

// Keeps an unreadable settings file for the user instead of overwriting it with the defaults;
// an earlier copy stays too.
void MoveAside(const CString& path, const WCHAR* why)
{
    CString aside = path + kMovedAsideSuffix;
    BOOL moved = ::MoveFileExW(path, aside, 0);
    for (int number = 2; !moved && ::GetLastError() == ERROR_ALREADY_EXISTS && number <= kMaxMovedAsideCopies;
         ++number)
    {
        aside.Format(L"%s.%d%s", (LPCWSTR)path, number, kMovedAsideSuffix);
        moved = ::MoveFileExW(path, aside, number == kMaxMovedAsideCopies ? MOVEFILE_REPLACE_EXISTING : 0);
    }
    if (moved)
        WriteLog(L"The settings file %s; it was kept as %s\n", why, (LPCWSTR)aside);
    else
        WriteLog(L"The settings file %s, and it could not be moved aside (error %u)\n", why, ::GetLastError());
}

const WCHAR kUnreadable[] = L"could not be read";
const WCHAR kOversized[] = L"is far larger than any real one";

// True when the file is there and larger than a settings file can be.
bool IsOversized(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return ::GetFileAttributesExW(path, GetFileExInfoStandard, &data) &&
           ((ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow) > kMaxSettingsFileSize;
}
} // namespace

CString GetSettingsPath(const CString& programDir)
{
    return programDir + kSettingsFile;
}

CString GetDefaultMediaFolder(const CString& programDir)
{
    CString folder = ShellFolder(CSIDL_MYVIDEO);
    if (folder.IsEmpty())
        folder = ShellFolder(CSIDL_PERSONAL);
    return folder.IsEmpty() ? programDir : folder;
}

void SetDefaultSettings(AppSettings& settings, const CString& programDir)
{
    const CString media = GetDefaultMediaFolder(programDir);
    settings.showmenu = false;
    settings.istray = true;
    settings.autoupdate = true;
    settings.snap_path = media;
    settings.del_uncompleted = true;
    settings.background = false;
    settings.action_completed = 0;
    settings.max_tasks = 3;
    settings.voice_enable = true;
    settings.voice_volume = 80;
    settings.skinstyle = L"simple";
    settings.skincolor = 4;
    settings.language = LangMgr::GetDefaultLanguage();
    settings.output_path = media;
    settings.param_sel = L"DivX Movie";
    settings.mainwndpos = {-1, -1, -1, -1};
    settings.mainwndstate = 0;
}

bool LoadSettings(AppSettings& settings, UpdateManager& update, const CString& programDir)
{
    const CString path = GetSettingsPath(programDir);
    const DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (IsOversized(path))
    {
        MoveAside(path, kOversized);
        return false;
    }
    CXmlFile file;
    if (!file.Get() || !CXmlDocument::Load(file.Get(), path, false))
    {
        // A document that exists but did not parse is the file's fault; without one, XML is
        // not available at all and the file may be fine.
        if (file.Get() && file.Get()->m_document)
            MoveAside(path, kUnreadable);
        return false;
    }
    CXmlDocument* doc = file.Get();
    NodeRef root(CXmlDocument::GetOrCreateChild(doc, nullptr, kRoot));
    if (!root.Get())
    {
        MoveAside(path, kUnreadable);
        return false;
    }
    {
        NodeRef basic(CXmlDocument::SelectNode(doc, root.Get(), kBasic));
        if (basic.Get())
            for (const Field& f : kBasicFields)
                ReadField(doc, basic.Get(), f, settings);
    }
    {
        NodeRef section(CXmlDocument::SelectNode(doc, root.Get(), kUpdate));
        update.LoadSettings(doc, section.Get());
    }
    ValidateSettings(settings);
    ApplySettings(settings, update);
    return true;
}

bool ValidateSettings(AppSettings& settings)
{
    if (settings.skinstyle != L"normal" && settings.skinstyle != L"aroma" && settings.skinstyle != L"simple")
        settings.skinstyle = L"normal";
    if (settings.language.IsEmpty())
        settings.language = L"English";
    if (settings.skincolor < 0 || settings.skincolor > kMaxSkinColor)
        settings.skincolor = 0;
    // A task limit outside the Options dialog's choices would run no task or too many.
    if (settings.max_tasks < kMinTasks)
        settings.max_tasks = kMinTasks;
    if (settings.max_tasks > kMaxTasks)
        settings.max_tasks = kMaxTasks;
    return true;
}

void ApplySettings(const AppSettings& settings, UpdateManager& update)
{
    g_maxTasks = settings.max_tasks;
    g_deleteUncompleted = settings.del_uncompleted;
    if (CVideoManager::EnforceMaxTasks())
        CVideoManager::Schedule(0);
    g_backgroundConversion = settings.background ? 1 : 0;
    // Off maps to the update manager's no-check mode, so no check starts by itself.
    update.SetAutoUpdate(settings.autoupdate);
}

bool SaveSettings(const AppSettings& settings, const UpdateManager& update, const CString& programDir)
{
    const CString path = GetSettingsPath(programDir);
    // The settings are written into the file as it is: one too large to read is moved aside first.
    if (IsOversized(path))
        MoveAside(path, kOversized);
    CXmlFile file;
    if (IsOversized(path) || !file.Get() || !CXmlDocument::Load(file.Get(), path, true))
        return false;
    CXmlDocument* doc = file.Get();
    NodeRef root(CXmlDocument::GetOrCreateChild(doc, nullptr, kRoot));
    if (!root.Get())
        return false;
    NodeRef basic(CXmlDocument::GetOrCreateChild(doc, root.Get(), kBasic));
    if (!basic.Get())
        return false;
    for (const Field& f : kBasicFields)
        if (!WriteField(doc, basic.Get(), f, settings))
            return false;
    NodeRef section(CXmlDocument::GetOrCreateChild(doc, root.Get(), kUpdate));
    if (!update.SaveSettings(doc, section.Get()))
        return false;
    return CXmlDocument::Save(doc);
}
