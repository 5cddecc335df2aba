#include "RwTest.h"

#include "platform/mfc/Mfc.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
CString ScratchFile(const char* folder, const WCHAR* name)
{
    return CString(rwtest::ToWin32Path(rwtest::ScratchDir(folder)).c_str()) + L"\\" + name;
}

void WriteBytes(const CString& path, const std::string& bytes)
{
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    file.Write(bytes.data(), UINT(bytes.size()));
}

std::string ReadBytes(const CString& path)
{
    CFile file(path, CFile::modeRead);
    std::string bytes(size_t(file.GetLength()), '\0');
    file.Read(&bytes[0], UINT(bytes.size()));
    return bytes;
}

std::string Utf8(const CString& s)
{
    char buffer[512];
    int n = ::WideCharToMultiByte(CP_UTF8, 0, s.GetString(), s.GetLength(), buffer, sizeof(buffer), nullptr, nullptr);
    return std::string(buffer, n);
}
} // namespace

TEST(File, ReadsWritesSeeksAndResizes)
{
    CString path = ScratchFile("file", L"data.bin");
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite));
    EXPECT_TRUE(file.GetFileName() == L"data.bin");
    EXPECT_TRUE(file.GetFileTitle() == L"data");
    EXPECT_EQ(file.GetFilePath().Right(9), CString(L"\\data.bin"));
    file.Write("0123456789", 10);
    EXPECT_EQ(file.GetLength(), 10u);
    EXPECT_EQ(file.Seek(-4, CFile::end), 6u);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, sizeof(buffer)), 4u);
    EXPECT_STREQ(buffer, "6789");
    EXPECT_EQ(file.Read(buffer, sizeof(buffer)), 0u);
    file.SetLength(3);
    EXPECT_EQ(file.GetLength(), 3u);
    EXPECT_EQ(file.GetPosition(), 3u);
    CFileStatus status;
    EXPECT_TRUE(file.GetStatus(status));
    EXPECT_EQ(status.m_size, 3u);
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);

    EXPECT_TRUE(CFile::GetStatus(path, status));
    CString renamed = path + L".old";
    CFile::Rename(path, renamed);
    EXPECT_FALSE(CFile::GetStatus(path, status));
    EXPECT_EQ(ReadBytes(renamed), "012");
    CFile::Remove(renamed);
    EXPECT_FALSE(CFile::GetStatus(renamed, status));
}

TEST(File, ReportsFailuresWithCauses)
{
    CString missing = ScratchFile("file-errors", L"missing.bin");
    struct Case
    {
        CString path;
        UINT flags;
        int cause;
    };
    const Case cases[] = {
        {missing, CFile::modeRead, CFileException::fileNotFound},
        {missing + L"\\..\\nofolder\\x\\y.bin", CFile::modeCreate | CFile::modeWrite, CFileException::badPath},
    };
    for (const Case& c : cases)
    {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(c.path, c.flags, &error));
        EXPECT_EQ(error.m_cause, c.cause);
        EXPECT_NE(error.m_lOsError, 0);
        EXPECT_TRUE(error.m_strFileName == c.path);
    }

    // The throwing constructor and operations on a file opened the other way.
    bool threw = false;
    try
    {
        CFile file(missing, CFile::modeRead);
    }
    catch (CFileException* e)
    {
        threw = e->m_cause == CFileException::fileNotFound;
        e->Delete();
    }
    EXPECT_TRUE(threw);
    WriteBytes(missing, "abc");
    threw = false;
    try
    {
        CFile readOnly(missing, CFile::modeRead);
        readOnly.Write("x", 1);
    }
    catch (CFileException* e)
    {
        threw = e->m_cause == CFileException::accessDenied;
        e->Delete();
    }
    EXPECT_TRUE(threw);

    // Share modes are honoured.
    CFile exclusive(missing, CFile::modeRead | CFile::shareExclusive);
    CFile second;
    CFileException error;
    EXPECT_FALSE(second.Open(missing, CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
}

TEST(MemFile, GrowsInStepsAndHandsItsBytesOver)
{
    CMemFile file;
    std::vector<BYTE> data(1500, 7);
    file.Write(data.data(), 1000);
    file.Write(data.data(), 500);
    EXPECT_EQ(file.GetLength(), 1500u);
    file.Seek(3000, CFile::begin);
    file.Write("z", 1);
    EXPECT_EQ(file.GetLength(), 3001u);
    file.Seek(1500, CFile::begin);
    BYTE gap[4] = {1, 1, 1, 1};
    EXPECT_EQ(file.Read(gap, 4), 4u);
    EXPECT_EQ(gap[0] | gap[1] | gap[2] | gap[3], 0);
    file.SetLength(10);
    EXPECT_EQ(file.GetPosition(), 10u);
    BYTE* bytes = file.Detach();
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[9], 7);
    std::free(bytes);
    EXPECT_EQ(file.GetLength(), 0u);

    // Over a caller's fixed buffer: reads its bytes, refuses to grow.
    BYTE fixed[4] = {'a', 'b', 'c', 'd'};
    CMemFile over(fixed, sizeof(fixed));
    char text[8] = {};
    EXPECT_EQ(over.Read(text, 8), 4u);
    EXPECT_STREQ(text, "abcd");
    bool threw = false;
    try
    {
        over.Write("e", 1);
    }
    catch (CException* e)
    {
        threw = e->IsKindOf(RUNTIME_CLASS(CMemoryException));
        e->Delete();
    }
    EXPECT_TRUE(threw);
    bool badSeek = false;
    try
    {
        over.Seek(-10, CFile::current);
    }
    catch (CFileException* e)
    {
        badSeek = e->m_cause == CFileException::badSeek;
        e->Delete();
    }
    EXPECT_TRUE(badSeek);
}

TEST(StdioFile, ReadsLinesInTextAndBinaryMode)
{
    CString path = ScratchFile("stdio", L"lines.txt");
    // Bytes in the ANSI code page (ASCII here), CR LF, a bare LF, an empty line and no final end.
    WriteBytes(path, "first line\r\nsecond\n\r\nlast");
    {
        CStdioFile file(path, CFile::modeRead | CFile::typeText);
        std::vector<std::string> lines;
        CString line;
        while (file.ReadString(line))
            lines.push_back(Utf8(line));
        EXPECT_EQ(lines, (std::vector<std::string>{"first line", "second", "", "last"}));
        EXPECT_FALSE(file.ReadString(line));
        EXPECT_TRUE(line.IsEmpty());
    }
    {
        CStdioFile file(path, CFile::modeRead);
        WCHAR buffer[8];
        std::vector<std::string> parts;
        while (file.ReadString(buffer, _countof(buffer)))
            parts.push_back(Utf8(buffer));
        EXPECT_EQ(parts, (std::vector<std::string>{"first l", "ine\n", "second\n", "\n", "last"}));
    }
    {
        CStdioFile file(path, CFile::modeCreate | CFile::modeWrite);
        file.WriteString(L"one\ntwo\n");
        file.WriteString(L"caf\x00e9");
    }
    std::string written = ReadBytes(path);
    EXPECT_EQ(written.substr(0, 10), "one\r\ntwo\r\n");
    {
        CStdioFile file(path, CFile::modeRead);
        CString line;
        file.ReadString(line);
        file.ReadString(line);
        EXPECT_EQ(file.GetPosition(), 10u);
        file.ReadString(line);
        EXPECT_EQ(Utf8(line), "caf\xc3\xa9");
    }
    {
        CStdioFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.WriteString(L"\x4e2d\x6587\nnext");
    }
    {
        CStdioFile file(path, CFile::modeRead | CFile::typeBinary);
        CString line;
        EXPECT_TRUE(file.ReadString(line));
        EXPECT_EQ(Utf8(line), "\xe4\xb8\xad\xe6\x96\x87");
        EXPECT_TRUE(file.ReadString(line));
        EXPECT_EQ(Utf8(line), "next");
        EXPECT_FALSE(file.ReadString(line));
    }
}
