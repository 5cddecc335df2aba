#include "app/core/Helpers.h"

#include "app/core/HandleHolder.h"
#include "app/core/LangMgr.h"
#include "app/core/TextNumbers.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

ErrorListHandler g_errorListHandler = nullptr;
MenuLocaliser g_menuLocaliser = nullptr;
ExitWindowsFunction g_exitWindows = ::ExitWindowsEx;

namespace
{
const int kModuleNameCapacity = 256;
const UINT kStatusBitmapId = 133;
const COLORREF kStatusMaskColor = 0xFF00FF;
const UINT kErrorTitleId = 40027;
const UINT kErrorHeadingId = 40026;
const INT64 kGigabyte = 1073741824;
const INT64 kMegabyte = 1048576;
const INT64 kKilobyte = 1024;
const int kCommandCapacity = 1024;

class CComInit
{
public:
    CComInit() { ::CoInitialize(nullptr); }
    ~CComInit() { ::CoUninitialize(); }
    CComInit(const CComInit&) = delete;
    CComInit& operator=(const CComInit&) = delete;
};

// Frees an item id list through the shell's allocator.
void FreeIdList(LPITEMIDLIST list)
{
    IMalloc* allocator = nullptr;
    if (list && SUCCEEDED(::SHGetMalloc(&allocator)) && allocator)
    {
        allocator->Free(list);
        allocator->Release();
    }
}

CString TempFolder()
{
    WCHAR folder[MAX_PATH] = {};
    if (!::GetTempPathW(MAX_PATH, folder))
        return CString();
    return folder;
}
} // namespace

CString GetAppDir()
{
    WCHAR name[kModuleNameCapacity] = {};
    ::GetModuleFileNameW(nullptr, name, kModuleNameCapacity);
    CString path = name;
    const int slash = path.ReverseFind(L'\\');
    return slash < 0 ? CString() : path.Left(slash + 1);
}

CString BrowseForFolder()
{
    const CString title = LangMgr::GetText(L"browsedlg_title");
    BROWSEINFOW info = {};
    info.lpszTitle = title;
    LPITEMIDLIST chosen = ::SHBrowseForFolderW(&info);
    if (!chosen)
        return CString();
    WCHAR path[MAX_PATH] = {};
    const BOOL hasPath = ::SHGetPathFromIDListW(chosen, path);
    FreeIdList(chosen);
    return hasPath ? CString(path) : CString();
}

CString LoadResString(UINT id)
{
    CString text;
    if (!text.LoadString(id))
        text.Empty();
    return text;
}

bool CreateStatusImageList(HIMAGELIST* list)
{
    *list = ::ImageList_Create(16, 16, ILC_MASK | ILC_COLOR16, 1, 1);
    if (!*list)
        return false;
    HBITMAP bitmap = ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kStatusBitmapId));
    if (!bitmap)
        return false;
    const int added = ::ImageList_AddMasked(*list, bitmap, kStatusMaskColor);
    ::DeleteObject(bitmap);
    return added >= 0;
}

bool FileExists(const CString& path)
{
    return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES || ::GetLastError() != ERROR_FILE_NOT_FOUND;
}

bool FolderExists(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool OpenFolderAndSelect(const CString& path)
{
    typedef HRESULT(WINAPI * OpenAndSelect)(LPCITEMIDLIST, UINT, LPCITEMIDLIST*, DWORD);
    CModuleHandle shell(::LoadLibraryW(L"shell32.dll"));
    OpenAndSelect open =
        shell.Get() ? reinterpret_cast<OpenAndSelect>(::GetProcAddress(shell.Get(), "SHOpenFolderAndSelectItems"))
                    : nullptr;
    if (open)
    {
        CComInit com;
        IShellFolder* desktop = nullptr;
        if (FAILED(::SHGetDesktopFolder(&desktop)) || !desktop)
            return false;
        LPITEMIDLIST list = nullptr;
        CString name = path;
        HRESULT hr = desktop->ParseDisplayName(nullptr, nullptr, name.GetBuffer(), nullptr, &list, nullptr);
        name.ReleaseBuffer();
        if (SUCCEEDED(hr))
            hr = open(list, 0, nullptr, 0);
        FreeIdList(list);
        desktop->Release();
        return SUCCEEDED(hr);
    }
    CStringA command(L"explorer.exe /e,/select," + path);
    if (command.GetLength() >= kCommandCapacity)
        return false;
    return ::WinExec(command, SW_SHOWNORMAL) > 31;
}

namespace
{
// A folder's identity: the volume and the file index, the same through every path that reaches it.
struct FolderId
{
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
    bool operator==(const FolderId& other) const
    {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

bool ReadFolderId(const CString& folder, FolderId& id)
{
    CFileHandle handle(::CreateFileW(folder, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!handle.Valid() || !::GetFileInformationByHandle(handle.Get(), &info))
        return false;
    id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

// Lists one folder below the given one; the folders on the way down are kept so that a folder
// reached again (through a link the system does not mark) is not listed twice.
int FindFilesBelow(const CString& folderIn, std::vector<CString>& files, std::vector<FolderId>& path)
{
    CString folder = folderIn.Left(MAX_PATH);
    folder.TrimRight(L'\\');
    if (folder.IsEmpty())
        return -1;
    FolderId id;
    if (ReadFolderId(folder, id))
    {
        if (std::find(path.begin(), path.end(), id) != path.end())
            return 0;
        path.push_back(id);
    }
    else
    {
        path.push_back(FolderId{});
    }
    folder += L"\\";
    WIN32_FIND_DATAW found;
    CFindHandle find(::FindFirstFileW(folder + L"*.*", &found));
    if (!find.Valid())
    {
        path.pop_back();
        return -2;
    }
    int count = 0;
    do
    {
        const CString name = found.cFileName;
        // Links and other reparse points are not followed: one to a parent would list a tree
        // again and again.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            continue;
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN))
        {
            if (name == L"." || name == L"..")
                continue;
            const int below = FindFilesBelow(folder + name, files, path);
            if (below > 0)
                count += below;
        }
        else
        {
            files.push_back(folder + name);
            ++count;
        }
    } while (::FindNextFileW(find.Get(), &found));
    const DWORD error = ::GetLastError();
    path.pop_back();
    return error == ERROR_NO_MORE_FILES ? count : -2;
}
} // namespace

int FindFilesRecursive(const CString& folder, std::vector<CString>& files)
{
    std::vector<FolderId> path;
    return FindFilesBelow(folder, files, path);
}

void ShowPopupMenu(HWND owner, UINT menuId, int x, int y)
{
    CMenuHandle menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId)));
    HMENU popup = menu.Get() ? ::GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup)
        return;
    if (g_menuLocaliser)
        g_menuLocaliser(popup);
    HWND top = owner;
    while (top && (::GetWindowLongW(top, GWL_STYLE) & WS_CHILD))
        top = ::GetParent(top);
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, top ? top : owner, nullptr);
}

bool GetFileTimeText(const CString& path, CString& out)
{
    CFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid())
        return false;
    FILETIME created;
    const BOOL ok = ::GetFileTime(file.Get(), &created, nullptr, nullptr);
    SYSTEMTIME utc, local;
    if (!ok || !::FileTimeToSystemTime(&created, &utc) || !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return false;
    out.Format(L"%02d-%02d-%02d, %02d:%02d:%02d", local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
               local.wSecond);
    return true;
}

CString FormatThousands(int value)
{
    CString digits;
    digits.Format(L"%d", value);
    for (int pos = digits.GetLength() - 3; pos > 0 && digits[pos - 1] != L'-'; pos -= 3)
        digits.Insert(pos, L',');
    return digits;
}

CString FormatFileSize(INT64 bytes)
{
    if (bytes <= 0)
        return L"0 bytes";
    const WCHAR* unit = nullptr;
    INT64 divisor = 1;
    if (bytes >= kGigabyte)
        unit = L"GB", divisor = kGigabyte;
    else if (bytes >= kMegabyte)
        unit = L"MB", divisor = kMegabyte;
    else if (bytes >= kKilobyte)
        unit = L"KB", divisor = kKilobyte;
    if (!unit)
        return FormatThousands((int)bytes);
    CString number;
    number.Format(L"%.02f", (double)bytes / (double)divisor);
    const int dot = number.Find(L'.');
    CString text;
    text.Format(L"%s%s %s", (const WCHAR*)FormatThousands(ReadLeadingInt(number)), (const WCHAR*)number.Mid(dot), unit);
    return text;
}

CString FormatDuration(int seconds)
{
    CString text;
    text.Format(L"%02d:%02d:%02d", seconds / 3600, seconds % 3600 / 60, seconds % 60);
    return text;
}

int AddErrorEntry(const CString& file, const CString& reason, CStringArray& entries)
{
    entries.Add(file + kErrorEntrySeparator + reason);
    return 1;
}

void ShowErrorList(const CStringArray& entries)
{
    ShowErrorListDialog(LoadResString(kErrorTitleId), LoadResString(kErrorHeadingId), entries);
}

void ShowErrorListDialog(const CString& title, const CString& heading, const CStringArray& entries)
{
    if (entries.GetSize() > 0 && g_errorListHandler)
        g_errorListHandler(title, heading, entries);
}

void SplitAtChar(CString& first, CString& text, WCHAR separator)
{
    first.Empty();
    const int pos = text.IsEmpty() ? -1 : text.Find(separator);
    if (pos < 0)
        return;
    first = text.Left(pos);
    text = text.Mid(pos + 1);
}

int ShutdownSystem()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return -1;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    ::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
    ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    const DWORD error = ::GetLastError();
    ::CloseHandle(token);
    if (error != 0)
        return -2;
    return g_exitWindows(EWX_SHUTDOWN | EWX_FORCEIFHUNG, 0) ? 0 : -3;
}

bool CreateDirectoryPath(const CString& path)
{
    int slash = path.Find(L'\\');
    if (slash < 0)
        return false;
    for (slash = path.Find(L'\\', slash + 2); slash >= 0; slash = path.Find(L'\\', slash + 2))
        ::CreateDirectoryW(path.Left(slash), nullptr);
    return ::CreateDirectoryW(path, nullptr) != FALSE;
}

CString MakeTempFileName()
{
    const CString folder = TempFolder();
    WCHAR name[MAX_PATH] = {};
    if (folder.IsEmpty() || !::GetTempFileNameW(folder, L"sqv", 0, name))
        return CString();
    return name;
}

void SetHeaderItemText(int column, HWND header, const CString& text)
{
    CString copy = text;
    HDITEMW item = {};
    item.mask = HDI_TEXT;
    item.pszText = copy.GetBuffer();
    item.cchTextMax = copy.GetLength();
    ::SendMessageW(header, HDM_SETITEMW, (WPARAM)column, (LPARAM)&item);
    copy.ReleaseBuffer();
}

namespace
{
const int kMaxNameCounter = 100000;
} // namespace

bool OutputNameTaken(const CString& name, const CString& segmentPattern)
{
    if (::GetFileAttributesW(name) != INVALID_FILE_ATTRIBUTES)
        return true;
    if (segmentPattern.IsEmpty())
        return false;
    WIN32_FIND_DATAW found;
    CFindHandle find(::FindFirstFileW(segmentPattern, &found));
    return find.Valid();
}

int MakeUniqueFileName(const char* path, char* buffer, int bufferSize, bool segmented)
{
    if (bufferSize <= 0)
        return kUniqueNameTooLong;
    buffer[0] = 0;
    const CStringA original = path;
    // The extension starts at the last "." of the file name, never at one in a folder name.
    const int separator = std::max(original.ReverseFind('\\'), original.ReverseFind('/'));
    const int dot = original.ReverseFind('.');
    const bool hasExtension = dot > separator;
    const CStringA base = hasExtension ? original.Left(dot) : original;
    const CStringA extension = hasExtension ? original.Mid(dot) : CStringA();
    CStringA name = original;
    for (int counter = 1; counter <= kMaxNameCounter; ++counter)
    {
        // A name that does not fit is never cut: a shorter name could be another file's.
        if (name.GetLength() >= bufferSize)
            return kUniqueNameTooLong;
        const int nameDot = hasExtension ? name.GetLength() - extension.GetLength() : name.GetLength();
        const CStringA segments = segmented ? name.Left(nameDot) + " - *" + extension : CStringA();
        if (!OutputNameTaken(CString(name), CString(segments)))
        {
            CFileHandle created(
                ::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (created.Valid())
            {
                ::lstrcpynA(buffer, name, bufferSize);
                return name.GetLength();
            }
            // Taken in the meantime: try the next name; any other failure ends the search.
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
                return kUniqueNameNotCreated;
        }
        name.Format("%s (%d)%s", (const char*)base, counter, (const char*)extension);
    }
    return kUniqueNameNotCreated;
}

int DeleteFolderTree(const CString& folder)
{
    WCHAR paths[MAX_PATH + 1] = {};
    CString path = folder;
    if (!path.IsEmpty() && path[path.GetLength() - 1] == L'\\')
        path = path.Left(path.GetLength() - 1);
    ::lstrcpynW(paths, path, MAX_PATH - 1);
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = paths;
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    ::SHFileOperationW(&operation);
    return 0;
}
