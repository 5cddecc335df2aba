#include "platform/updater/ZipPackage.h"

#include "app/core/HandleHolder.h"

#include <zip.h>

#include <memory>
#include <vector>

namespace
{
const DWORD kMaxPackageSize = 512 * 1024 * 1024;
const int kNameCapacity = 1024;
const WCHAR kPartSuffix[] = L".rwnew";

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
    // libzip takes no bytes at all for an empty archive; a package is never empty.
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

// The Win32 path of an entry below the folder, "/" turned into "\".
bool EntryPath(const WCHAR* folder, const char* name, std::vector<WCHAR>& path)
{
    WCHAR relative[kNameCapacity] = {};
    if (!::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, relative, kNameCapacity))
        return false;
    for (WCHAR* c = relative; *c; ++c)
        if (*c == L'/')
            *c = L'\\';
    const int folderLength = ::lstrlenW(folder);
    path.assign(folder, folder + folderLength);
    path.push_back(L'\\');
    path.insert(path.end(), relative, relative + ::lstrlenW(relative));
    path.push_back(0);
    return true;
}

// Copies one entry's bytes into a new file.
bool WriteEntry(zip_file_t* entry, const WCHAR* path)
{
    CFileHandle out(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!out.Valid())
        return false;
    char buffer[65536];
    zip_int64_t got;
    while ((got = zip_fread(entry, buffer, sizeof buffer)) > 0)
    {
        DWORD put = 0;
        if (!::WriteFile(out.Get(), buffer, DWORD(got), &put, nullptr) || put != DWORD(got))
            return false;
    }
    return got == 0;
}

// Creates every folder on the way to the last backslash of the path.
bool CreateParents(std::vector<WCHAR> path, size_t from)
{
    for (size_t i = from; i < path.size() && path[i]; ++i)
    {
        if (path[i] != L'\\')
            continue;
        path[i] = 0;
        const DWORD attributes = ::GetFileAttributesW(path.data());
        if (attributes == INVALID_FILE_ATTRIBUTES && !::CreateDirectoryW(path.data(), nullptr))
            return false;
        path[i] = L'\\';
    }
    return true;
}
} // namespace

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

bool CZipPackage::ApplyTo(const WCHAR* folder)
{
    std::unique_ptr<zip_t, ZipCloser> archive = OpenArchive(m_bytes);
    if (!archive)
    {
        m_error = "the package is no ZIP archive";
        return false;
    }
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i)
    {
        if (!IsSafeEntryName(zip_get_name(archive.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS)))
        {
            m_error = "an entry would land outside the program folder";
            return false;
        }
    }
    const size_t folderLength = size_t(::lstrlenW(folder)) + 1;
    for (zip_int64_t i = 0; i < count; ++i)
    {
        const char* name = zip_get_name(archive.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        std::vector<WCHAR> path;
        if (!EntryPath(folder, name, path) || !CreateParents(path, folderLength))
        {
            m_error = "a folder cannot be created";
            return false;
        }
        const size_t nameLength = ::strlen(name);
        if (name[nameLength - 1] == '/' || name[nameLength - 1] == '\\')
            continue;
        // Written beside the target first, then moved over it: a file that is mapped (the
        // updater itself, a library) keeps its old contents until it is opened again.
        std::vector<WCHAR> partPath(path.begin(), path.end() - 1);
        partPath.insert(partPath.end(), kPartSuffix, kPartSuffix + ::lstrlenW(kPartSuffix) + 1);
        std::unique_ptr<zip_file_t, ZipFileCloser> entry(zip_fopen_index(archive.get(), zip_uint64_t(i), 0));
        if (!entry || !WriteEntry(entry.get(), partPath.data()) ||
            !::MoveFileExW(partPath.data(), path.data(), MOVEFILE_REPLACE_EXISTING))
        {
            ::DeleteFileW(partPath.data());
            m_error = "a file cannot be written";
            return false;
        }
    }
    return true;
}
