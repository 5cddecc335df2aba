#include "platform/updater/ZipPackage.h"

#include "app/core/HandleHolder.h"
#include "platform/mfc/WinePath.h"

#include <sys/stat.h>

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
const DWORD kMaxPackageSize = 512 * 1024 * 1024;
// What a package may unpack to: a small archive must not fill the disk.
const UINT64 kMaxUnpackedSize = 256ull * 1024 * 1024;
const zip_int64_t kMaxEntryCount = 20000;
const int kNameCapacity = 1024;
const size_t kCopyBufferSize = 65536;
// The updater's own names beside each target: the staged new file and the old one's backup.
const WCHAR kPartSuffix[] = L".rwnew";
const WCHAR kBackupSuffix[] = L".rwold";

struct ZipCloser
{
    void operator()(zip_t* archive) const
    {
        zip_discard(archive);
    }
};
struct ZipFileCloser
{
    void operator()(zip_file_t* file) const
    {
        zip_fclose(file);
    }
};

std::unique_ptr<zip_t, ZipCloser> OpenArchive(const std::string& bytes)
{
    // libzip takes no bytes at all for an empty archive: an empty file is no package.
    if (bytes.empty())
        return nullptr;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source)
        return nullptr;
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive)
        zip_source_free(source);
    zip_error_fini(&error);
    return std::unique_ptr<zip_t, ZipCloser>(archive);
}

// A NUL-terminated Win32 path (the wide string classes of the C++ library assume another width).
typedef std::vector<WCHAR> WidePath;

WidePath WithSuffix(const WidePath& path, const WCHAR* suffix)
{
    WidePath result(path.begin(), path.end() - 1);
    result.insert(result.end(), suffix, suffix + ::lstrlenW(suffix) + 1);
    return result;
}

// The Win32 path of an entry below the folder, "/" turned into "\" and a final separator dropped.
bool EntryPath(const WCHAR* folder, const char* name, WidePath& path)
{
    WCHAR relative[kNameCapacity] = {};
    if (!::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, relative, kNameCapacity))
        return false;
    int length = ::lstrlenW(relative);
    for (WCHAR* c = relative; *c; ++c)
        if (*c == L'/')
            *c = L'\\';
    if (length > 0 && relative[length - 1] == L'\\')
        relative[--length] = 0;
    path.assign(folder, folder + ::lstrlenW(folder));
    path.push_back(L'\\');
    path.insert(path.end(), relative, relative + length);
    path.push_back(0);
    return true;
}

// The path up to its last backslash.
WidePath ParentOf(const WidePath& path)
{
    size_t slash = path.size() - 1;
    while (slash > 0 && path[slash] != L'\\')
        --slash;
    WidePath parent(path.begin(), path.begin() + (std::ptrdiff_t)slash);
    parent.push_back(0);
    return parent;
}

// The entry's path below the folder in upper case, for comparing names as the file system does.
WidePath FoldedName(const WidePath& path, size_t from)
{
    WidePath folded(path.begin() + (std::ptrdiff_t)from, path.end());
    ::CharUpperBuffW(folded.data(), DWORD(folded.size() - 1));
    return folded;
}

bool EndsWithNoCase(const WidePath& path, const WCHAR* suffix)
{
    const int length = ::lstrlenW(suffix), pathLength = int(path.size()) - 1;
    return pathLength >= length &&
           ::CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, path.data() + pathLength - length, length, suffix,
                            length) == CSTR_EQUAL;
}

// A symbolic link or other reparse point, seen by Win32 or, for a link Win32 shows as its
// target, by the Unix side.
bool IsLink(const WCHAR* path, DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return true;
    const CStringA unixPath = AfxToUnixPath(path);
    struct stat st;
    return !unixPath.IsEmpty() && ::lstat(unixPath, &st) == 0 && S_ISLNK(st.st_mode);
}

// Undoes a half-applied package unless committed: the replaced files come back from their
// backups, the written ones and the folders created for them go.
class CApplyTransaction
{
  public:
    CApplyTransaction() = default;
    CApplyTransaction(const CApplyTransaction&) = delete;
    CApplyTransaction& operator=(const CApplyTransaction&) = delete;
    ~CApplyTransaction()
    {
        if (!m_committed)
            RollBack();
    }

    // Creates every missing folder of the path from the given position on, the last part too.
    bool CreateFolders(WidePath path, size_t from)
    {
        for (size_t i = from; i < path.size(); ++i)
        {
            if (path[i] != L'\\' && path[i] != 0)
                continue;
            const WCHAR kept = path[i];
            path[i] = 0;
            if (::GetFileAttributesW(path.data()) == INVALID_FILE_ATTRIBUTES)
            {
                if (!::CreateDirectoryW(path.data(), nullptr))
                    return false;
                m_folders.push_back(WidePath(path.begin(), path.begin() + (std::ptrdiff_t)i + 1));
            }
            path[i] = kept;
        }
        return true;
    }
    void Staged(const WidePath& path)
    {
        m_staged.push_back(path);
    }
    // Moves the staged file over its target, the target kept as a backup until the commit.
    bool Replace(const WidePath& staged, const WidePath& target)
    {
        const WidePath backup = WithSuffix(target, kBackupSuffix);
        const bool hadOld = ::GetFileAttributesW(target.data()) != INVALID_FILE_ATTRIBUTES;
        if (hadOld && !::MoveFileExW(target.data(), backup.data(), MOVEFILE_REPLACE_EXISTING))
            return false;
        m_replaced.push_back({target, backup, hadOld});
        return ::MoveFileExW(staged.data(), target.data(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    }
    // Keeps the new files and removes the backups; the backups that could not be removed.
    std::vector<WidePath> Commit()
    {
        m_committed = true;
        std::vector<WidePath> left;
        for (const Replaced& done : m_replaced)
            if (done.hadOld && !DeleteBackup(done.backup))
                left.push_back(done.backup);
        return left;
    }

  private:
    // A backup keeps the attributes of the file it was: a read-only one is made writable first.
    static bool DeleteBackup(const WidePath& backup)
    {
        const DWORD attributes = ::GetFileAttributesW(backup.data());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            ::SetFileAttributesW(backup.data(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
        return ::DeleteFileW(backup.data()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
    }

    struct Replaced
    {
        WidePath target;
        WidePath backup;
        bool hadOld;
    };

    void RollBack()
    {
        for (auto done = m_replaced.rbegin(); done != m_replaced.rend(); ++done)
        {
            if (done->hadOld)
                ::MoveFileExW(done->backup.data(), done->target.data(), MOVEFILE_REPLACE_EXISTING);
            else
                ::DeleteFileW(done->target.data());
        }
        for (const WidePath& staged : m_staged)
            ::DeleteFileW(staged.data());
        for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
            ::RemoveDirectoryW(folder->data());
    }

    std::vector<WidePath> m_folders;
    std::vector<WidePath> m_staged;
    std::vector<Replaced> m_replaced;
    bool m_committed = false;
};

// What an entry's central record declares about its unpacked bytes.
struct DeclaredData
{
    UINT64 size;
    bool hasCrc;
    DWORD crc;
};

// Copies one entry's bytes into a new file; the bytes count against the package's budget. False
// as soon as the entry unpacks to more than it declares, and at its end when it unpacked to fewer
// bytes or to other bytes (checksum) than it declares.
bool WriteEntry(zip_file_t* entry, const WCHAR* path, const DeclaredData& declared, UINT64& budget)
{
    CFileHandle out(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!out.Valid())
        return false;
    std::vector<char> buffer(kCopyBufferSize);
    UINT64 total = 0;
    uLong crc = ::crc32(0L, Z_NULL, 0);
    zip_int64_t got;
    while ((got = zip_fread(entry, buffer.data(), buffer.size())) > 0)
    {
        if (UINT64(got) > budget || UINT64(got) > declared.size - total)
            return false;
        budget -= UINT64(got);
        total += UINT64(got);
        crc = ::crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), uInt(got));
        DWORD put = 0;
        if (!::WriteFile(out.Get(), buffer.data(), DWORD(got), &put, nullptr) || put != DWORD(got))
            return false;
    }
    return got == 0 && total == declared.size && (!declared.hasCrc || DWORD(crc) == declared.crc);
}

struct PlannedEntry
{
    zip_uint64_t index;
    WidePath target;
    bool folder;
    DeclaredData declared;
};

// The paths in UTF-8, separated by ", ", for the log.
std::string JoinPaths(const std::vector<WidePath>& paths)
{
    std::string joined;
    for (const WidePath& path : paths)
    {
        char utf8[MAX_PATH * 3] = {};
        ::WideCharToMultiByte(CP_UTF8, 0, path.data(), -1, utf8, sizeof utf8, nullptr, nullptr);
        joined += (joined.empty() ? "" : ", ") + std::string(utf8);
    }
    return joined;
}
} // namespace

CZipPackage::CZipPackage() : m_maxUnpacked(kMaxUnpackedSize), m_maxEntries(kMaxEntryCount)
{
}

bool CZipPackage::IsSafeEntryName(const char* name)
{
    if (!name || !*name || name[0] == '/' || name[0] == '\\')
        return false;
    const char* part = name;
    for (const char* c = name;; ++c)
    {
        const bool end = *c == 0;
        if (end || *c == '/' || *c == '\\')
        {
            const size_t length = size_t(c - part);
            // A final separator marks a folder entry; empty parts elsewhere are refused.
            if (length == 0 && !(end && c != name))
                return false;
            if ((length == 1 && part[0] == '.') || (length == 2 && part[0] == '.' && part[1] == '.'))
                return false;
            if (end)
                return true;
            part = c + 1;
            continue;
        }
        const unsigned char u = static_cast<unsigned char>(*c);
        if (u < 0x20 || *c == ':' || *c == '*' || *c == '?' || *c == '"' || *c == '<' || *c == '>' || *c == '|')
            return false;
    }
}

bool CZipPackage::Load(const WCHAR* path)
{
    CFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.Valid())
    {
        m_error = "the package cannot be opened";
        return false;
    }
    const DWORD size = ::GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxPackageSize)
    {
        m_error = "the package is too large";
        return false;
    }
    std::string bytes(size, '\0');
    DWORD got = 0;
    if (size && (!::ReadFile(file.Get(), &bytes[0], size, &got, nullptr) || got != size))
    {
        m_error = "the package cannot be read";
        return false;
    }
    return LoadBytes(bytes);
}

bool CZipPackage::LoadBytes(const std::string& bytes)
{
    m_bytes = bytes;
    if (!OpenArchive(m_bytes))
    {
        m_error = "the package is no ZIP archive";
        m_bytes.clear();
        return false;
    }
    return true;
}

bool CZipPackage::Refuse(const char* reason)
{
    m_error = reason;
    return false;
}

bool CZipPackage::ApplyTo(const WCHAR* folder)
{
    m_leftovers.clear();
    std::unique_ptr<zip_t, ZipCloser> archive = OpenArchive(m_bytes);
    if (!archive)
        return Refuse("the package is no ZIP archive");
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count > m_maxEntries)
        return Refuse("the package has too many entries");
    const size_t folderLength = size_t(::lstrlenW(folder)) + 1;
    std::vector<PlannedEntry> plan;
    std::vector<WidePath> fileNames, folderNames;
    UINT64 unpacked = 0;
    // Everything is checked before anything is written.
    for (zip_int64_t i = 0; i < count; ++i)
    {
        const char* name = zip_get_name(archive.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (!IsSafeEntryName(name))
            return Refuse("an entry would land outside the program folder");
        PlannedEntry entry = {zip_uint64_t(i), WidePath(), false, {0, false, 0}};
        const size_t nameLength = ::strlen(name);
        entry.folder = name[nameLength - 1] == '/' || name[nameLength - 1] == '\\';
        if (!EntryPath(folder, name, entry.target))
            return Refuse("an entry name is not valid UTF-8 or too long");
        if (entry.target.size() + ::lstrlenW(kBackupSuffix) > MAX_PATH)
            return Refuse("an entry name is too long");
        if (EndsWithNoCase(entry.target, kPartSuffix) || EndsWithNoCase(entry.target, kBackupSuffix))
            return Refuse("an entry uses a name the updater keeps for itself");
        zip_stat_t stat;
        if (zip_stat_index(archive.get(), entry.index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
            return Refuse("an entry cannot be read");
        if (!entry.folder &&
            (!(stat.valid & ZIP_STAT_COMP_METHOD) || !zip_compression_method_supported(stat.comp_method, 0)))
            return Refuse("an entry uses an unsupported compression");
        if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
            return Refuse("an entry is encrypted");
        entry.declared = {stat.size, (stat.valid & ZIP_STAT_CRC) != 0, DWORD(stat.crc)};
        unpacked += stat.size;
        if (unpacked > m_maxUnpacked)
            return Refuse("the package unpacks to more than the updater allows");
        // Every folder on the way is a folder name; the entry itself a file or folder name.
        const WidePath folded = FoldedName(entry.target, folderLength);
        for (size_t at = 0; at < folded.size(); ++at)
            if (folded[at] == L'\\')
            {
                WidePath parent(folded.begin(), folded.begin() + (std::ptrdiff_t)at);
                parent.push_back(0);
                folderNames.push_back(parent);
            }
        (entry.folder ? folderNames : fileNames).push_back(folded);
        plan.push_back(entry);
    }
    if (fileNames.empty())
        return Refuse("the package holds no file");
    std::sort(fileNames.begin(), fileNames.end());
    std::sort(folderNames.begin(), folderNames.end());
    if (std::adjacent_find(fileNames.begin(), fileNames.end()) != fileNames.end())
        return Refuse("two entries name the same file");
    for (const WidePath& name : fileNames)
        if (std::binary_search(folderNames.begin(), folderNames.end(), name))
            return Refuse("an entry names a file that another entry needs as a folder");
    for (const PlannedEntry& entry : plan)
        if (!CheckTarget(entry.target, folderLength, entry.folder))
            return false;

    // Every file is staged beside its target, then all replace their targets; any failure
    // undoes everything.
    CApplyTransaction transaction;
    UINT64 budget = m_maxUnpacked;
    for (const PlannedEntry& entry : plan)
    {
        if (entry.folder)
        {
            if (!transaction.CreateFolders(entry.target, folderLength))
                return Refuse("a folder cannot be created");
            continue;
        }
        const WidePath parent = ParentOf(entry.target);
        if (parent.size() > folderLength && !transaction.CreateFolders(parent, folderLength))
            return Refuse("a folder cannot be created");
        const WidePath staged = WithSuffix(entry.target, kPartSuffix);
        transaction.Staged(staged);
        std::unique_ptr<zip_file_t, ZipFileCloser> file(zip_fopen_index(archive.get(), entry.index, 0));
        if (!file || !WriteEntry(file.get(), staged.data(), entry.declared, budget))
            return Refuse("a file cannot be unpacked (damaged entry, other size or checksum than declared, "
                          "unsupported data or no room)");
    }
    for (const PlannedEntry& entry : plan)
        if (!entry.folder && !transaction.Replace(WithSuffix(entry.target, kPartSuffix), entry.target))
            return Refuse("a file of the program cannot be replaced");
    const std::vector<WidePath> left = transaction.Commit();
    m_leftovers = left.empty() ? std::string() : "backups left in the program folder: " + JoinPaths(left);
    return true;
}

bool CZipPackage::CheckTarget(const WidePath& target, size_t folderLength, bool folder)
{
    // No part below the program folder may be a link: writing through it would change files
    // elsewhere. Parts that exist must be folders, the target itself of the entry's kind.
    WidePath path = target;
    for (size_t i = folderLength; i < path.size(); ++i)
    {
        if (path[i] != L'\\' && path[i] != 0)
            continue;
        const WCHAR kept = path[i];
        path[i] = 0;
        const DWORD attributes = ::GetFileAttributesW(path.data());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return true;
        if (IsLink(path.data(), attributes))
            return Refuse("an entry would be written through a link");
        const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool last = kept == 0;
        if (!last && !isFolder)
            return Refuse("an entry needs a folder where the program has a file");
        if (last && isFolder != folder)
            return Refuse(folder ? "a folder entry names an existing file" : "an entry names an existing folder");
        path[i] = kept;
    }
    return true;
}
