#include "uilib/skin/SkinManagerResourceFile.h"

#include "uilib/skin/SkinImage.h"
#include "uilib/skin/SkinManagerSchemaDefault.h"

#include <memory>

namespace
{

const WCHAR kByteOrderMark = 0xFEFF;
const WCHAR kTextFileType[] = L"TEXTFILE";
const WCHAR kThemesIni[] = L"THEMES_INI";
const WCHAR kFileSectionPrefix[] = L"[File.";
const ULONGLONG kMaxIniFileSize = 64ull * 1024 * 1024;

bool IsExistingFile(LPCWSTR path)
{
    DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CString JoinPath(const CString& folder, LPCWSTR name)
{
    CString path = folder;
    if (!path.IsEmpty() && path[path.GetLength() - 1] != L'\\' && path[path.GetLength() - 1] != L'/')
        path += L'\\';
    return path + name;
}

// The locked text of a TEXTFILE resource, in whole UTF-16 characters; false when absent.
bool FindText(HMODULE module, LPCWSTR name, const WCHAR*& begin, const WCHAR*& end)
{
    HRSRC resource = module ? ::FindResourceW(module, name, kTextFileType) : nullptr;
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data)
        return false;
    begin = static_cast<const WCHAR*>(data);
    end = begin + ::SizeofResource(module, resource) / sizeof(WCHAR);
    return true;
}

// Decodes a disk INI: UTF-16LE or UTF-8 after their byte-order marks, the ANSI code page otherwise.
void DecodeText(const std::vector<BYTE>& bytes, std::vector<WCHAR>& text)
{
    text.clear();
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
    {
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(WCHAR(bytes[i] | bytes[i + 1] << 8));
        return;
    }
    UINT codePage = CP_ACP;
    size_t start = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        codePage = CP_UTF8, start = 3;
    int count = int(bytes.size() - start);
    if (count <= 0)
        return;
    const char* source = reinterpret_cast<const char*>(bytes.data() + start);
    int length = ::MultiByteToWideChar(codePage, 0, source, count, nullptr, 0);
    if (length <= 0)
        return;
    text.resize(size_t(length));
    ::MultiByteToWideChar(codePage, 0, source, count, text.data(), length);
}

} // namespace

CWVPSkinManagerResourceFile::CWVPSkinManagerResourceFile() = default;

CWVPSkinManagerResourceFile::~CWVPSkinManagerResourceFile()
{
    Close();
}

CString CWVPSkinManagerResourceFile::MakeResourceName(LPCWSTR lpszFileName)
{
    CString name = lpszFileName ? lpszFileName : L"";
    name.Replace(L'.', L'_');
    name.Replace(L'\\', L'_');
    return name;
}

BOOL CWVPSkinManagerResourceFile::Open(LPCWSTR lpszResourcePath, LPCWSTR lpszIniFileName)
{
    Close();
    m_strResourcePath = lpszResourcePath ? lpszResourcePath : L"";
    m_strIniFileName = lpszIniFileName ? lpszIniFileName : L"";
    if (m_hCallerModule)
        m_hModule = m_strIniFileName.IsEmpty() ? nullptr : m_hCallerModule;
    else
    {
        if (m_strResourcePath.IsEmpty())
            return FALSE;
        if (!m_strIniFileName.IsEmpty())
        {
            CString iniPath = JoinPath(m_strResourcePath, m_strIniFileName);
            if (IsExistingFile(iniPath))
                return OpenDiskText(iniPath);
        }
        m_hModule = ::LoadLibraryW(m_strResourcePath);
        if (!m_hModule)
            m_hModule = ::LoadLibraryExW(m_strResourcePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    if (!m_hModule)
        return FALSE;
    if (m_strIniFileName.IsEmpty())
        m_strIniFileName = GetDefaultIniName();
    return OpenResourceText(m_strIniFileName);
}

BOOL CWVPSkinManagerResourceFile::OpenResourceText(LPCWSTR lpszIniFileName)
{
    const WCHAR *begin, *end;
    if (!lpszIniFileName || !*lpszIniFileName || !FindText(m_hModule, MakeResourceName(lpszIniFileName), begin, end))
        return FALSE;
    if (begin < end && *begin == kByteOrderMark)
        ++begin;
    m_pPos = begin;
    m_pEnd = end;
    return TRUE;
}

BOOL CWVPSkinManagerResourceFile::OpenDiskText(LPCWSTR lpszFullPath)
{
    HANDLE file = ::CreateFileW(lpszFullPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    std::vector<BYTE> bytes;
    LARGE_INTEGER size = {};
    bool ok = ::GetFileSizeEx(file, &size) && ULONGLONG(size.QuadPart) <= kMaxIniFileSize;
    if (ok)
    {
        bytes.resize(size_t(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() ||
             (::ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) && read == bytes.size());
    }
    ::CloseHandle(file);
    if (!ok)
        return FALSE;
    DecodeText(bytes, m_diskText);
    m_bFromDisk = TRUE;
    m_pPos = m_diskText.data();
    m_pEnd = m_pPos + m_diskText.size();
    return TRUE;
}

BOOL CWVPSkinManagerResourceFile::ReadString(CString& str)
{
    if (!m_pPos || m_pPos >= m_pEnd)
        return FALSE;
    const WCHAR* lineEnd = m_pPos;
    while (lineEnd < m_pEnd && *lineEnd != L'\r' && *lineEnd != L'\n')
        ++lineEnd;
    str.SetString(m_pPos, int(lineEnd - m_pPos));
    m_pPos = lineEnd;
    if (m_pPos < m_pEnd && *m_pPos == L'\r')
        ++m_pPos;
    if (m_pPos < m_pEnd && *m_pPos == L'\n')
        ++m_pPos;
    return TRUE;
}

void CWVPSkinManagerResourceFile::Close()
{
    if (m_hModule && m_hModule != m_hCallerModule)
        ::FreeLibrary(m_hModule);
    m_hModule = nullptr;
    m_bFromDisk = FALSE;
    m_diskText.clear();
    m_pPos = m_pEnd = nullptr;
}

CWVPSkinImage* CWVPSkinManagerResourceFile::LoadImage(LPCWSTR lpszFileName)
{
    if (!lpszFileName || !*lpszFileName)
        return nullptr;
    std::unique_ptr<CWVPSkinImage> image(new CWVPSkinImage(m_pManager));
    if (m_bFromDisk)
    {
        CString path = JoinPath(m_strResourcePath, lpszFileName);
        if (!IsExistingFile(path) || !image->LoadFile(path))
            return nullptr;
    }
    else if (!image->LoadResource(m_hModule, MakeResourceName(lpszFileName)))
        return nullptr;
    return image.release();
}

CWVPSkinManagerSchema* CWVPSkinManagerResourceFile::CreateSchema()
{
    return new CWVPSkinManagerSchemaDefault(m_pManager);
}

CString CWVPSkinManagerResourceFile::GetDefaultIniName() const
{
    const WCHAR *begin, *end;
    if (!FindText(m_hModule, kThemesIni, begin, end))
        return CString();
    const int prefixLength = int(sizeof kFileSectionPrefix / sizeof(WCHAR)) - 1;
    for (const WCHAR* p = begin; end - p >= prefixLength; ++p)
    {
        if (::CompareStringOrdinal(p, prefixLength, kFileSectionPrefix, prefixLength, FALSE) != CSTR_EQUAL)
            continue;
        const WCHAR* nameBegin = p + prefixLength;
        const WCHAR* nameEnd = nameBegin;
        while (nameEnd < end && *nameEnd != L']')
            ++nameEnd;
        if (nameEnd == end)
            return CString();
        return CString(nameBegin, int(nameEnd - nameBegin)) + L"_ini";
    }
    return CString();
}
