#include <regex>
#include <set>

#include "RwTest.h"

#include "CoreTestUtil.h"
#include "app/core/LangMgr.h"
#include "app/core/Profiles.h"

#include <ftw.h>

using coretest::Utf8;
using coretest::WinPath;
using coretest::WriteFile;

namespace
{
std::string LanguageFile(const std::string& name, const std::string& texts)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<langfile><langinfo><name>" + name +
           "</name><creator>us</creator><localid>1033</localid></langinfo><language>" + texts +
           "</language></langfile>\r\n";
}

class LangMgrTest : public testing::Test
{
protected:
    void SetUp() override { m_dir = rwtest::ScratchDir("LangMgrTest"); }
    void TearDown() override { LangMgr::ClearLanguages(); }
    CString Folder() const { return WinPath(m_dir); }
    CString PathOf(const char* file) const { return WinPath(m_dir + "/" + file); }

    std::string m_dir;
};

// Language keys that the code looks up: GetText(L"key") calls, constants named k...Key... and
// the item texts of menu resources.
std::set<std::string> g_usedKeys;

int CollectKeys(const char* path, const struct stat*, int type, struct FTW*)
{
    const std::string name = path;
    const bool source = name.size() > 4 && (name.rfind(".cpp") == name.size() - 4 || name.rfind(".h") == name.size() - 2 ||
                                            name.rfind(".rc") == name.size() - 3);
    if (type != FTW_F || !source || name.find("/tests/") != std::string::npos)
        return 0;
    static const std::regex patterns[] = {
        std::regex(R"re(GetText\(L"(\w+)"\))re"),
        std::regex(R"re(\bk\w*Key\w*\[\]\s*=\s*L"(\w+)")re"),
        std::regex(R"re(\b(?:MENUITEM|POPUP)\s+"([a-z]\w+)")re"),
    };
    const std::string content = coretest::ReadFile(name);
    for (const std::regex& pattern : patterns)
        for (std::sregex_iterator it(content.begin(), content.end(), pattern), end; it != end; ++it)
            g_usedKeys.insert((*it)[1].str());
    return 0;
}
} // namespace

TEST_F(LangMgrTest, ScansSelectsAndLooksUpTexts)
{
    WriteFile(m_dir + "/en.xml", LanguageFile("English", "<greeting>Hello\\nWorld\\tand tab</greeting><a>1</a><a>2</a>"));
    WriteFile(m_dir + "/de.xml", LanguageFile("Deutsch", "<greeting>Hallo</greeting>"));
    WriteFile(m_dir + "/noname.xml", LanguageFile("", "<greeting>?</greeting>"));
    WriteFile(m_dir + "/broken.xml", "<langfile><langinfo><name>Broken");
    WriteFile(m_dir + "/other.xml", "<?xml version=\"1.0\"?><settings/>");

    ASSERT_TRUE(LangMgr::ScanLanguages(Folder()));
    ASSERT_EQ(2, LangMgr::GetLanguageCount());
    std::set<std::string> names = {coretest::Narrow(LangMgr::GetLanguageName(0)), coretest::Narrow(LangMgr::GetLanguageName(1))};
    EXPECT_EQ((std::set<std::string>{"English", "Deutsch"}), names);
    EXPECT_EQ(CString(), LangMgr::GetLanguageName(2));
    EXPECT_EQ(CString(), LangMgr::GetLanguageName(-1));

    ASSERT_TRUE(LangMgr::SelectLanguage(L"ENGLISH"));
    EXPECT_EQ(PathOf("en.xml"), LangMgr::GetLanguageFile());
    EXPECT_EQ(CString(L"Hello\nWorld\tand tab"), LangMgr::GetText(L"greeting"));
    EXPECT_EQ(CString(L"2"), LangMgr::GetText(L"a"));
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(CString(), LangMgr::GetText(L"missing_key"));

    ASSERT_TRUE(LangMgr::SelectLanguage(L"deutsch"));
    EXPECT_EQ(CString(L"Hallo"), LangMgr::GetText(L"greeting"));
    EXPECT_TRUE(LangMgr::SelectLanguage(L"Klingon")); // falls back to English
    EXPECT_EQ(CString(L"Hello\nWorld\tand tab"), LangMgr::GetText(L"greeting"));
    EXPECT_FALSE(LangMgr::ScanLanguages(L"C:"));
}

TEST_F(LangMgrTest, DefaultFollowsTheLocaleWithEnglishAsFallback)
{
    struct Case
    {
        LCID locale;
        const char* name;
    } cases[] = {{0x804, "简体中文"}, {0xC04, "繁體中文"}, {0x40C, "Français"}, {0x47E, "Français"},
                 {0x484, "Français"}, {0x411, "日本語"},    {0x407, "deutsch"},   {0x409, "English"},
                 {0x809, "English"}};
    for (const Case& c : cases)
        EXPECT_EQ(Utf8(c.name), LangMgr::LanguageForLocale(c.locale)) << c.locale;

    WriteFile(m_dir + "/en.xml", LanguageFile("English", "<t>en</t>"));
    ASSERT_TRUE(LangMgr::ScanLanguages(Folder()));
    EXPECT_TRUE(LangMgr::SelectLanguage(LangMgr::LanguageForLocale(0xC04)));
    EXPECT_EQ(CString(L"en"), LangMgr::GetText(L"t"));
    WriteFile(m_dir + "/zh.xml", LanguageFile("繁體中文", "<t>zh</t>"));
    ASSERT_TRUE(LangMgr::ScanLanguages(Folder()));
    EXPECT_TRUE(LangMgr::SelectLanguage(LangMgr::LanguageForLocale(0xC04)));
    EXPECT_EQ(CString(L"zh"), LangMgr::GetText(L"t"));
    EXPECT_TRUE(LangMgr::SelectLanguage(L"")); // the system's default, English under test
    EXPECT_EQ(CString(L"en"), LangMgr::GetText(L"t"));
}

TEST_F(LangMgrTest, ShowsDataNamesByTranslationOrAsTheyAre)
{
    WriteFile(m_dir + "/en.xml", LanguageFile("English", "<DivX_Movie>DivX film</DivX_Movie><_3GP_H_263>Phone</_3GP_H_263>"));
    ASSERT_TRUE(LangMgr::ScanLanguages(Folder()));
    ASSERT_TRUE(LangMgr::SelectLanguage(L"English"));
    struct Case
    {
        const WCHAR* name;
        const WCHAR* key;
        const WCHAR* shown;
    } cases[] = {{L"DivX Movie", L"DivX_Movie", L"DivX film"},
                 {L"3GP H.263", L"_3GP_H_263", L"Phone"},
                 {L"AC-3 Audio (5.1)", L"AC_3_Audio__5_1_", L"AC-3 Audio (5.1)"},
                 {L"", L"", L""}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(CString(c.key), MakeLanguageKey(c.name));
        EXPECT_EQ(CString(c.shown), LangMgr::GetNameText(c.name));
    }
}

TEST_F(LangMgrTest, EnglishHasEveryTextTheProgramShows)
{
    ASSERT_TRUE(LangMgr::ScanLanguages(WinPath(rwtest::ProgramDir() + "/lang")));
    ASSERT_TRUE(LangMgr::SelectLanguage(L"English"));
    g_usedKeys.clear();
    for (const char* dir : {"/app", "/uilib", "/resources"})
        ::nftw((std::string(RW_SOURCE_DIR) + dir).c_str(), CollectKeys, 16, FTW_PHYS);
    EXPECT_FALSE(g_usedKeys.empty());
    // The program's own keys (the question before closing among them) in every shipped language.
    EXPECT_TRUE(g_usedKeys.count("ask_close_converting"));
    ASSERT_GT(LangMgr::GetLanguageCount(), 0);
    for (int language = 0; language < LangMgr::GetLanguageCount(); ++language)
    {
        ASSERT_TRUE(LangMgr::SelectLanguage(LangMgr::GetLanguageName(language)));
        for (const std::string& key : g_usedKeys)
            EXPECT_FALSE(LangMgr::GetText(Utf8(key)).IsEmpty()) << key << " in " << LangMgr::GetLanguageName(language);
    }
    ASSERT_TRUE(LangMgr::SelectLanguage(L"English"));

    CategoryArray categories;
    LoadProfiles(categories, WinPath(rwtest::ProgramDir() + "/profiles"));
    ASSERT_GT(categories.GetSize(), 0);
    for (INT_PTR c = 0; c < categories.GetSize(); ++c)
    {
        const LeftShowItem& category = categories[c];
        EXPECT_FALSE(LangMgr::GetText(MakeLanguageKey(category.m_name)).IsEmpty()) << category.m_name;
        EXPECT_FALSE(LangMgr::GetText(category.m_description).IsEmpty()) << category.m_description;
        for (INT_PTR p = 0; p < category.m_profiles.GetSize(); ++p)
        {
            const ConvertSetting& profile = category.m_profiles[p];
            EXPECT_FALSE(LangMgr::GetText(MakeLanguageKey(profile.m_name)).IsEmpty()) << profile.m_name;
            EXPECT_FALSE(LangMgr::GetText(profile.m_description).IsEmpty()) << profile.m_description;
        }
    }
}
