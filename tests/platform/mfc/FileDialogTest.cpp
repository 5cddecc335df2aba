// File dialogs: "|" filters become the system's null-separated list, and the selection buffer
// is walked into full paths for one file or for several (folder first, then the names).
#include "RwTest.h"

#include "MfcTestApp.h"

namespace
{
std::string FilterText(const CString& filter)
{
    // Show the null separators as '0' to compare the whole list.
    std::string text;
    LPCWSTR p = filter;
    for (int i = 0; i < filter.GetLength() + 2; ++i)
        text += p[i] ? (char)p[i] : '0';
    return text;
}

TEST(FileDialogTest, FiltersWithBarsBecomeNullSeparatedPairs)
{
    EXPECT_EQ("All files (*.*)0*.*0000", FilterText(CFileDialog::MakeFilter(L"All files (*.*)|*.*||")));
    EXPECT_EQ("Video0*.mp4;*.avi0Audio0*.mp3000",
              FilterText(CFileDialog::MakeFilter(L"Video|*.mp4;*.avi|Audio|*.mp3|")));
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST,
                       L"All (*.*)|*.*||");
    EXPECT_EQ(0, ::lstrcmpW(L"All (*.*)", dialog.m_ofn.lpstrFilter));
    EXPECT_EQ(0, ::lstrcmpW(L"*.*", dialog.m_ofn.lpstrFilter + 10));
    EXPECT_TRUE(dialog.m_ofn.Flags & OFN_EXPLORER);
}

TEST(FileDialogTest, SelectionsAreWalkedIntoFullPaths)
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT);
    // A larger buffer of the caller's, as the task list gives for long selections.
    std::vector<wchar_t> buffer(4096, 0);
    dialog.m_ofn.lpstrFile = buffer.data();
    dialog.m_ofn.nMaxFile = (DWORD)buffer.size();

    const wchar_t several[] = L"C:\\clips\0a.mp4\0b long.avi\0c.flv\0";
    memcpy(buffer.data(), several, sizeof(several));
    std::vector<std::string> paths;
    for (POSITION pos = dialog.GetStartPosition(); pos;)
        paths.push_back(Narrow(dialog.GetNextPathName(pos)));
    EXPECT_EQ((std::vector<std::string>{"C:\\clips\\a.mp4", "C:\\clips\\b long.avi", "C:\\clips\\c.flv"}), paths);
    EXPECT_EQ("C:\\clips", Narrow(dialog.GetFolderPath()));

    const wchar_t one[] = L"D:\\media\\movie.part.mkv\0";
    std::fill(buffer.begin(), buffer.end(), 0);
    memcpy(buffer.data(), one, sizeof(one));
    paths.clear();
    for (POSITION pos = dialog.GetStartPosition(); pos;)
        paths.push_back(Narrow(dialog.GetNextPathName(pos)));
    EXPECT_EQ(std::vector<std::string>{"D:\\media\\movie.part.mkv"}, paths);
    EXPECT_EQ("movie.part.mkv", Narrow(dialog.GetFileName()));
    EXPECT_EQ("mkv", Narrow(dialog.GetFileExt()));
    EXPECT_EQ("movie.part", Narrow(dialog.GetFileTitle()));
    EXPECT_EQ("D:\\media", Narrow(dialog.GetFolderPath()));

    buffer[0] = 0;
    EXPECT_EQ(nullptr, dialog.GetStartPosition());
}
}
