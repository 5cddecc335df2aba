#include "RwTest.h"

#include "CoreTestUtil.h"
#include "app/core/Profiles.h"
#include "app/core/TextNumbers.h"

#include <set>

using coretest::WinPath;
using coretest::WriteFile;

namespace
{
const char kHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

class ProfilesTest : public testing::Test
{
protected:
    void SetUp() override { m_dir = rwtest::ScratchDir("ProfilesTest"); }
    void Write(const char* name, const std::string& body) { WriteFile(m_dir + "/" + name, kHead + body); }
    CString Folder() const { return WinPath(m_dir); }

    std::string m_dir;
};

int SplitCount(const WCHAR* text, bool keepEmpty)
{
    CStringArray out;
    SplitString(text, L",", keepEmpty, out);
    return (int)out.GetSize();
}
} // namespace

TEST_F(ProfilesTest, LoadsEveryListedFileAndEveryCategory)
{
    Write("menu.xml", "<items><item filename=\"a.xml\"/><item/><Item filename=\"skipped.xml\"/><!-- c -->"
                      "<item filename=\"b.xml\"/><item filename=\"missing.xml\"/><item filename=\"bad.xml\"/></items>");
    Write("a.xml", "<profiles><cat name=\"Video\" desc=\"d\" icon=\"i.bmp\">"
                   "<p name=\"One\" extname=\"avi\" format=\"avi\">"
                   "<x name=\"vb\" group=\"video\" key=\"vb\" type=\"integer\" def=\"768\" step=\"1000,768\"/>"
                   "<!-- becomes an empty parameter -->"
                   "<x name=\"s\" group=\"video\" key=\"s\" type=\"list\" def=\"320x240\" step=\"640x480,320x240,176x144\""
                   " displaystep=\"VGA,QVGA\"/>"
                   "<x name=\"ab\" group=\"audio\" key=\"ab\" type=\"list\" def=\"\" step=\",,128\" displaystep=\"\"/>"
                   "</p><!-- between profiles --><q name=\"Two\"/></cat>"
                   "<cat name=\"Second\"><p name=\"Three\">"
                   "<x key=\"odd\" type=\"weird\" def=\"5\" min=\"abc\"/><x key=\"n\" type=\"integer\" def=\"7\" min=\"low\" max=\"high\"/>"
                   "</p></cat></profiles>");
    Write("b.xml", "<profiles><!-- first --><c name=\"Audio\"/></profiles>");
    Write("skipped.xml", "<profiles><c name=\"Skipped\"/></profiles>");
    Write("bad.xml", "<profiles><c name=\"Bad\">");

    CategoryArray categories;
    EXPECT_EQ(0, LoadProfiles(categories, Folder()));
    ASSERT_EQ(3, (int)categories.GetSize());
    EXPECT_EQ(CString(L"Video"), categories[0].m_name);
    EXPECT_EQ(CString(L"i.bmp"), categories[0].m_icon);
    EXPECT_EQ(CString(L"Second"), categories[1].m_name);
    EXPECT_EQ(CString(L"Audio"), categories[2].m_name);
    EXPECT_EQ(0, (int)categories[2].m_profiles.GetSize());

    ASSERT_EQ(2, (int)categories[0].m_profiles.GetSize());
    const ConvertSetting& one = categories[0].m_profiles[0];
    EXPECT_EQ(CString(L"avi"), one.m_extension);
    ASSERT_EQ(3, (int)one.m_params.GetSize()); // the mislabelled "s" is dropped
    EXPECT_EQ(CString(L"list"), one.m_params[0].m_type);  // two steps make a list
    EXPECT_EQ(CString(L"768"), one.m_params[0].m_value);
    EXPECT_EQ(CString(), one.m_params[1].m_key);          // the comment
    EXPECT_EQ(3, (int)one.m_params[2].m_valueList.GetSize());
    EXPECT_EQ(CString(L"-vb 768 "), one.BuildArguments());
    EXPECT_EQ(0, (int)categories[0].m_profiles[1].m_params.GetSize());

    // Unknown types and bounds that are no numbers load and behave safely.
    ConvertSetting& three = categories.ElementAt(1).m_profiles.ElementAt(0);
    EXPECT_EQ(CString(L"-odd 5 -n 7 "), three.BuildArguments());
    EXPECT_TRUE(three.SetParamValue(L"odd", L"x1"));
    EXPECT_TRUE(three.SetParamValue(L"n", L"12"));
    EXPECT_EQ(CString(L"-odd x1 -n 12 "), three.BuildArguments());

    LoadProfiles(categories, Folder() + L"\\missing");
    LoadProfiles(categories, WinPath(m_dir + "/a.xml"));
    EXPECT_EQ(3, (int)categories.GetSize());
    clear_inst_all(categories);
    EXPECT_EQ(0, (int)categories.GetSize());
}

TEST_F(ProfilesTest, FindsProfilesByNameAndPosition)
{
    Write("menu.xml", "<items><item filename=\"a.xml\"/></items>");
    Write("a.xml", "<profiles><c name=\"A\"><p name=\"DivX Movie\" extname=\"avi\"/><p name=\"Same\" extname=\"1\"/></c>"
                   "<c name=\"B\"><p name=\"Same\" extname=\"2\"/></c></profiles>");
    CategoryArray categories;
    LoadProfiles(categories, Folder());
    ConvertSetting found;
    int category = -1, profile = -1;
    EXPECT_TRUE(FindProfileByName(categories, L"Same", found));
    EXPECT_EQ(CString(L"1"), found.m_extension);
    EXPECT_TRUE(LocateProfileByName(categories, L"Same", &category, &profile));
    EXPECT_EQ(0, category);
    EXPECT_EQ(1, profile);
    category = profile = 9;
    EXPECT_FALSE(LocateProfileByName(categories, L"divx movie", &category, &profile));
    EXPECT_EQ(9, category);
    EXPECT_FALSE(FindProfileByName(categories, L"DIVX MOVIE", found));

    EXPECT_TRUE(GetProfileAt(0, 1, categories, found));
    EXPECT_EQ(CString(L"2"), found.m_extension);
    for (auto bad : {std::make_pair(-1, 0), std::make_pair(1, 1), std::make_pair(0, 2), std::make_pair(0, -1)})
        EXPECT_FALSE(GetProfileAt(bad.first, bad.second, categories, found)) << bad.first << "," << bad.second;
}

TEST_F(ProfilesTest, SplitsLists)
{
    CStringArray out;
    EXPECT_EQ(3, SplitCount(L"a,,b", true));
    EXPECT_EQ(2, SplitCount(L"a,,b", false));
    EXPECT_EQ(2, SplitCount(L"a,b,", true));
    EXPECT_EQ(0, SplitCount(L"", true));
    SplitString(L"a,,b", L",", true, out);
    EXPECT_EQ(CString(), out[1]);
    out.RemoveAll();
    SplitString(L"1;2", L"", true, out);
    EXPECT_EQ(1, (int)out.GetSize());
    out.RemoveAll();
    SplitString(L"1::2::3", L"::", true, out);
    EXPECT_EQ(3, (int)out.GetSize());
}

TEST_F(ProfilesTest, ShipsAFullProfileSet)
{
    CategoryArray categories;
    LoadProfiles(categories, WinPath(rwtest::ProgramDir() + "/profiles"));
    ASSERT_GE(categories.GetSize(), 7);
    ConvertSetting divx;
    ASSERT_TRUE(FindProfileByName(categories, L"DivX Movie", divx));
    EXPECT_EQ(CString(L"avi"), divx.m_extension);
    std::set<CString> names;
    for (INT_PTR c = 0; c < categories.GetSize(); ++c)
        for (INT_PTR p = 0; p < categories[c].m_profiles.GetSize(); ++p)
        {
            const ConvertSetting& profile = categories[c].m_profiles[p];
            EXPECT_TRUE(names.insert(profile.m_name).second) << "duplicate " << profile.m_name;
            SubParameters param;
            const bool audioOnly = profile.BuildArguments().Find(L"-vn 1 ") >= 0;
            const bool dvdLike = profile.FindParam(L"normal", L"target", param);
            if (!audioOnly && !dvdLike)
            {
                EXPECT_TRUE(profile.FindParam(L"video", L"s", param)) << profile.m_name;
                EXPECT_TRUE(profile.FindParam(L"video", L"vb", param)) << profile.m_name;
                EXPECT_EQ(5, (int)param.m_valueList.GetSize()) << profile.m_name;
                for (int i = 1; i < param.m_valueList.GetSize(); ++i)
                    EXPECT_GT(ReadLeadingInt(param.m_valueList[i - 1]), ReadLeadingInt(param.m_valueList[i])) << profile.m_name;
            }
            if (!audioOnly)
                EXPECT_GE(profile.BuildArguments().Find(L"-threads 0 "), 0) << profile.m_name;
            if (profile.m_extension != L"wav" && !dvdLike)
            {
                EXPECT_TRUE(profile.FindParam(L"audio", L"ab", param)) << profile.m_name;
                EXPECT_EQ(5, (int)param.m_valueList.GetSize()) << profile.m_name;
            }
            EXPECT_TRUE(profile.FindParam(L"audio", L"vol", param)) << profile.m_name;
            EXPECT_TRUE(profile.FindParam(L"normal", L"t", param)) << profile.m_name;
            EXPECT_TRUE(profile.FindParam(L"normal", L"fs", param)) << profile.m_name;
        }
    ConvertSetting dpg;
    ASSERT_TRUE(FindProfileByName(categories, L"DPG Video", dpg));
    const CString dpgArgs = dpg.BuildArguments();
    for (const WCHAR* part : {L"-r ", L"-ar 32000", L"-s 256x192", L"mpeg1video", L"mp2"})
        EXPECT_GE(dpgArgs.Find(part), 0) << dpgArgs << " lacks " << CString(part);
}
