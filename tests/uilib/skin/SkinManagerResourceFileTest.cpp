#include "RwTest.h"
#include "TestPaths.h"
#include "WideText.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinManagerModuleList.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

std::vector<std::string> ReadLines(CWVPSkinManagerResourceFile& file)
{
    std::vector<std::string> lines;
    CString line;
    while (file.ReadString(line))
        lines.push_back(rwtest::Utf8(line));
    return lines;
}

TEST(SkinManagerResourceFile, ReadsEveryKindOfLineEnd)
{
    struct Case
    {
        const wchar_t* ini;
        std::vector<std::string> lines;
    } cases[] = {
        // The byte-order mark is skipped; the last line keeps its text without a line end.
        {L"BOM_LINES_INI", {"[Globals]", "TextColor = 1 2 3", "", "last line"}},
        {L"bom_lines.ini", {"[Globals]", "TextColor = 1 2 3", "", "last line"}},
        {L"LF_LINES_INI", {"first", "second"}},
        {L"CR_LINES_INI", {"first", "second"}},
        {L"EMPTY_INI", {}},
        {L"folder\\lines.ini", {"[Globals]"}},
    };
    CWVPSkinManagerResourceFile file;
    file.m_hCallerModule = ::GetModuleHandleW(nullptr);
    for (const Case& c : cases)
    {
        ASSERT_TRUE(file.Open(L"Z:\\ignored", reinterpret_cast<LPCWSTR>(c.ini)));
        EXPECT_EQ(c.lines, ReadLines(file)) << rwtest::Utf8(c.ini);
        EXPECT_EQ(::GetModuleHandleW(nullptr), file.GetSkinModule());
        file.Close();
    }
    // The caller's module is never freed by Close.
    EXPECT_NE(nullptr, ::GetModuleHandleW(nullptr));
}

TEST(SkinManagerResourceFile, FailsWithoutTextOrName)
{
    CWVPSkinManagerResourceFile file;
    file.m_hCallerModule = ::GetModuleHandleW(nullptr);
    EXPECT_FALSE(file.Open(nullptr, L""));
    EXPECT_FALSE(file.Open(nullptr, nullptr));
    EXPECT_FALSE(file.Open(nullptr, L"NO_SUCH_INI"));
    CString line;
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(file.GetDefaultIniName().IsEmpty()) << "this module has no THEMES_INI";

    CWVPSkinManagerResourceFile noModule;
    EXPECT_FALSE(noModule.Open(nullptr, L"BOM_LINES_INI"));
    EXPECT_FALSE(noModule.Open(L"", L"BOM_LINES_INI"));
    EXPECT_FALSE(noModule.Open(L"Z:\\no\\such\\skin.dll", L"BOM_LINES_INI"));
}

TEST(SkinManagerResourceFile, OpensADiskSkinAndReadsItsImagesFromFiles)
{
    std::string dir = rwtest::ScratchDir("skin-disk");
    {
        // An ANSI text with LF line ends and no final line end.
        FILE* f = fopen((dir + "/skin.ini").c_str(), "wb");
        fputs("[Button.PushButton]\nImageFile = Pics\\Face.bmp\nImageCount = 1", f);
        fclose(f);
        std::string pics = dir + "/Pics";
        CreateDirectoryA(rwtest::ToWin32Path(pics).c_str(), nullptr);
        // A 2 x 1 24-bit BMP.
        const unsigned char bmp[] = {'B', 'M', 62, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0,  0,  40, 0,  0,  0,  2, 0, 0,
                                     0,   1,   0,  0, 0, 1, 0, 24, 0, 0, 0,  0, 0,  8,  0,  0,  0,  0,  0, 0, 0,
                                     0,   0,   0,  0, 0, 0, 0, 0,  0, 0, 0,  0, 10, 20, 30, 40, 50, 60, 0, 0};
        f = fopen((pics + "/Face.bmp").c_str(), "wb");
        fwrite(bmp, 1, sizeof bmp, f);
        fclose(f);
    }
    std::string win = rwtest::ToWin32Path(dir);
    CString path(win.c_str());
    CWVPSkinManager manager;
    ASSERT_TRUE(manager.LoadSkin(path, L"skin.ini"));
    EXPECT_TRUE(manager.GetResourceFile()->IsOpenFromDisk());
    CWVPSkinManagerClass* button = manager.GetSkinClass(L"Button");
    ASSERT_NE(nullptr, button);
    SIZE size = {};
    ASSERT_TRUE(button->GetThemePartSize(1, 1, nullptr, CWVPSkinManagerClass::kSizeTrue, size));
    EXPECT_EQ(2, size.cx);
    EXPECT_EQ(1, size.cy);
    EXPECT_EQ(nullptr, manager.GetResourceFile()->LoadImage(L"Pics\\Missing.bmp"));
    EXPECT_EQ(nullptr, manager.GetResourceFile()->LoadImage(L"Pics")) << "a folder is no image";
    // A folder without the INI is tried as a skin library, which it is not.
    EXPECT_FALSE(manager.LoadSkin(path, L"other.ini"));
    EXPECT_FALSE(manager.IsSkinLoaded());
}

TEST(SkinManagerModuleList, BothWaysListTheProcessModulesWithBaseAndSize)
{
    ASSERT_TRUE(CWVPSkinManagerModuleList::IsEnumerationAvailable());
    HMODULE exe = ::GetModuleHandleW(nullptr), kernel = ::GetModuleHandleW(L"kernel32.dll");
    for (auto method : {CWVPSkinManagerModuleList::kPsapi, CWVPSkinManagerModuleList::kToolHelp,
                        CWVPSkinManagerModuleList::kAutomatic})
    {
        CWVPSkinManagerModuleList list(::GetCurrentProcessId(), method);
        std::vector<HMODULE> modules;
        for (HMODULE m = list.GetFirstModule(); m; m = list.GetNextModule())
            modules.push_back(m);
        EXPECT_GT(modules.size(), 3u) << method;
        EXPECT_NE(modules.end(), std::find(modules.begin(), modules.end(), exe)) << method;
        EXPECT_NE(modules.end(), std::find(modules.begin(), modules.end(), kernel)) << method;
        MODULEINFO info = {};
        ASSERT_TRUE(list.GetModuleInformation(kernel, &info)) << method;
        EXPECT_EQ(static_cast<void*>(kernel), info.lpBaseOfDll) << method;
        // The image holds the module's own exports.
        BYTE* export_ = reinterpret_cast<BYTE*>(::GetProcAddress(kernel, "GetTickCount"));
        EXPECT_GE(export_, static_cast<BYTE*>(info.lpBaseOfDll)) << method;
        EXPECT_LT(export_, static_cast<BYTE*>(info.lpBaseOfDll) + info.SizeOfImage) << method;
        EXPECT_FALSE(list.GetModuleInformation(nullptr, &info)) << method;
        EXPECT_FALSE(list.GetModuleInformation(reinterpret_cast<HMODULE>(0x10), &info)) << method;
    }
}

} // namespace
