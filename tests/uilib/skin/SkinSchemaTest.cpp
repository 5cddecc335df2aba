#include "RwTest.h"
#include "TestPaths.h"
#include "WideText.h"
#include "uilib/skin/SkinManager.h"
#include "uilib/skin/SkinSchemaNames.h"

#include <cstdio>
#include <memory>

namespace
{

// Writes a class-data text as UTF-16LE with a byte-order mark into a scratch folder and returns
// the folder's Win32 path.
CString WriteIni(const std::string& folder, const char* name, const char* text)
{
    std::string dir = rwtest::ScratchDir(folder);
    FILE* f = fopen((dir + "/" + name).c_str(), "wb");
    fputc(0xFF, f), fputc(0xFE, f);
    for (const char* p = text; *p; ++p)
    {
        if (*p == '\n')
            fputc('\r', f), fputc(0, f);
        fputc(*p, f), fputc(0, f);
    }
    fclose(f);
    return CString(rwtest::ToWin32Path(dir).c_str());
}

const char kSchemaText[] = "; comment line\n"
                           "[Globals]\n"
                           "TextColor = 1 2 3\n"
                           "FillColor = 0x10 010 16\n"
                           "[Window]\n"
                           "TextColor = 4 5 6\n"
                           "[Window.Caption]\n"
                           "TextColor = 7 8 9\n"
                           "[Window.Caption(Active)]\n"
                           "TextColor = 255 255 255\n"
                           "[ button . checkbox ( checkeddisabled ) ]\n"
                           "ImageFile = Folder\\Check Box.bmp\n"
                           "SizingMargins = 3, 4, 5, 6\n"
                           "ContentMargins=1,2\n"
                           "BgType = BorderFill\n"
                           "SizingType = Sideways\n"
                           "ImageCount = -12abc\n"
                           "Transparent = True\n"
                           "BorderOnly = yes\n"
                           "Offset = 0x10, -3\n"
                           "FillColorHint = 228 93 61 ; a hint\n"
                           "FromHue1 = 1\n"
                           "FromHue1 = 2\n"
                           "AccentColorHint\n"
                           "=5\n"
                           "Colorschemes=1,2,3\n"
                           "[Button.CheckBox(CheckedDisabled)]\n"
                           "FromHue1 = 3\n"
                           "[SysMetrics]\n"
                           "CaptionFont = Trebuchet MS, 10, bold\n"
                           "MenuFont = Tahoma, 10\n"
                           "StatusFont = , 10, bold\n"
                           "[Tab.TabItemBothEdge(Normal)]\n"
                           "TextColor = 1 1 1\n"
                           "[Window.FrameLeft(Active)]\n"
                           "TextColor = 1 1 1\n"
                           "[Edit] ; comment after a header\n"
                           "TextColor = 9 9 9\n"
                           "[Edit:Application]\n"
                           "TextColor = 9 9 9\n"
                           "[\n"
                           "TextColor = 9 9 9\n"
                           "[X(]\n"
                           "TextColor = 9 9 9\n"
                           "[Tab.Body(]\n"
                           "TextColor = 9 9 9\n"
                           "[Menu]\n"
                           "TextColor = 9 9 9\n"
                           "[ListBox]\n"
                           "IntList = 1, 2, 3\n"
                           "TextColor = 20 21 22\n";

class SkinSchemaTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        manager = new CWVPSkinManager;
        CString dir = WriteIni("skin-schema", "schema.ini", kSchemaText);
        ASSERT_TRUE(manager->LoadSkin(dir, L"schema.ini"));
        schema = manager->GetSchema();
    }
    void TearDown() override
    {
        delete manager;
    }

    CWVPSkinManager* manager = nullptr;
    CWVPSkinManagerSchema* schema = nullptr;
};

TEST(SkinSchemaNames, TablesGiveThePublishedNumbers)
{
    struct Case
    {
        const wchar_t* section;
        UINT key;
    } cases[] = {
        {L"WINDOW.CAPTION(ACTIVE)", WVPSkinMakePropertyKey(6, 1, 1, 0)},
        {L"button.checkbox(checkeddisabled)", WVPSkinMakePropertyKey(7, 3, 8, 0)},
        {L" Scrollbar . ArrowBtn ( RightDisabled ) ", WVPSkinMakePropertyKey(21, 1, 16, 0)},
        {L"TRACKBAR(NORMAL)", WVPSkinMakePropertyKey(16, 0, 1, 0)},
        {L"TOOLBAR(HOTCHECKED)", WVPSkinMakePropertyKey(9, 0, 6, 0)},
        {L"TOOLBAR.BUTTON(HOT)", 0}, // no state set is named after the part
        {L"PAGE.DOWNHORZ", WVPSkinMakePropertyKey(20, 4, 0, 0)},
        {L"MENUBAND.SEPERATOR", WVPSkinMakePropertyKey(30, 2, 0, 0)},
        {L"TAB.TABITEMBOTHEDGE(NORMAL)", 0},
        {L"WINDOW.FRAMELEFT(ACTIVE)", 0},
        {L"MENU", 0},
        {L"EDIT:APP", 0},
        {L"NOSUCHCLASS", 0},
        {L"WINDOW.NOSUCHPART", 0},
        {L"(", 0},
        {L"X(", 0},
        {L"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.key, WVPSkinParseSectionName(c.section)) << rwtest::Utf8(c.section);

    int type = -1;
    EXPECT_EQ(3803, WVPSkinGetPropertyId(L"textcolor", &type));
    EXPECT_EQ(kSkinValueColor, type);
    EXPECT_EQ(3601, WVPSkinGetPropertyId(L"SIZINGMARGINS", &type));
    EXPECT_EQ(kSkinValueRect, type);
    EXPECT_EQ(3402, WVPSkinGetPropertyId(L"TEXTSHADOWOFFSET", &type));
    EXPECT_EQ(kSkinValuePosition, type);
    EXPECT_EQ(1631, WVPSkinGetPropertyId(L"MENUBAR", &type));
    EXPECT_EQ(5003, WVPSkinGetPropertyId(L"BLENDCOLOR", &type));
    EXPECT_EQ(2424, WVPSkinGetPropertyId(L"MINDPI5", &type));
    EXPECT_EQ(kSkinValueInt, type);
    EXPECT_EQ(0, WVPSkinGetPropertyId(L"NOSUCHPROPERTY", &type));
    EXPECT_EQ(kSkinValueNone, type);
    EXPECT_EQ(1, WVPSkinGetEnumValue(L"BGTYPE", L"borderfill"));
    EXPECT_EQ(13, WVPSkinGetEnumValue(L"OFFSETTYPE", L"BELOWLASTBUTTON"));
    EXPECT_EQ(2, WVPSkinGetEnumValue(L"TRUESIZESCALINGTYPE", L"DPI"));
    EXPECT_EQ(-1, WVPSkinGetEnumValue(L"BGTYPE", L"SIDEWAYS"));
    EXPECT_EQ(0u, WVPSkinMakePropertyKey(0, 0, 0, 0));
    // The key wraps in 32 bits: state 1023 of part 63 of class 63.
    EXPECT_EQ(UINT(((1023ull * 4096 + 63 * 64 + 63) * 16384 + 5) & 0xFFFFFFFF),
              WVPSkinMakePropertyKey(63, 63, 1023, 5));
}

TEST_F(SkinSchemaTest, ColoursFallBackFromStateToPartToClassToGlobals)
{
    struct Case
    {
        int cls, part, state, property;
        HRESULT hr;
        COLORREF colour;
    } cases[] = {
        {6, 1, 1, 3803, S_OK, RGB(255, 255, 255)}, // the state's own section
        {6, 1, 2, 3803, S_OK, RGB(7, 8, 9)},       // state -> part
        {6, 2, 1, 3803, S_OK, RGB(4, 5, 6)},       // part -> class
        {7, 0, 0, 3803, S_OK, RGB(1, 2, 3)},       // class -> globals
        {7, 3, 8, 3802, S_OK, RGB(16, 8, 16)},     // hexadecimal and octal components
        {7, 3, 8, 3821, S_OK, RGB(228, 93, 61)},   // a comment after the value
        {15, 4, 1, 3803, S_OK, RGB(1, 2, 3)},      // no state set is named after TABITEMBOTHEDGE
        {6, 7, 1, 3803, S_OK, RGB(4, 5, 6)},       // nor after FRAMELEFT
        {4, 0, 0, 3803, S_OK, RGB(20, 21, 22)},    // an integer-list line is skipped, the next is read
        {22, 0, 0, 3803, S_OK, RGB(1, 2, 3)},      // "[Edit] ; comment" is ignored with its section
        {15, 10, 0, 3803, S_OK, RGB(9, 9, 9)},     // "[Tab.Body(]": an empty state, so the part itself
        {7, 3, 8, 3820, E_FAIL, 0},                // never set, not even globally
        {7, 3, 8, 2401, E_INVALIDARG, 0},          // an int asked as a colour
    };
    for (const Case& c : cases)
    {
        COLORREF colour = 0x12345678;
        EXPECT_EQ(c.hr, schema->GetColorProperty(c.cls, c.part, c.state, c.property, colour)) << c.property;
        EXPECT_EQ(c.hr == S_OK ? c.colour : 0x12345678, colour) << c.cls << "." << c.part << "." << c.state;
    }
    // MENU is no skin class: its sections are not read and no class is made for it.
    EXPECT_EQ(nullptr, manager->GetSkinClass(L"Menu"));
    EXPECT_NE(nullptr, manager->GetSkinClass(L"button"));
}

TEST_F(SkinSchemaTest, ValuesParseIntoTheirTypes)
{
    CWVPSkinManagerSchemaProperty* p = schema->FindProperty(7, 3, 8, 3601);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(kSkinValueRect, p->m_nValueType);
    EXPECT_EQ(3, p->m_rcValue.left);
    EXPECT_EQ(5, p->m_rcValue.top);
    EXPECT_EQ(4, p->m_rcValue.right);
    EXPECT_EQ(6, p->m_rcValue.bottom);
    p = schema->FindProperty(7, 3, 8, 3602);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(1, p->m_rcValue.left);
    EXPECT_EQ(2, p->m_rcValue.right);
    EXPECT_EQ(0, p->m_rcValue.top);
    EXPECT_EQ(0, p->m_rcValue.bottom);

    p = schema->FindProperty(7, 3, 8, 3001);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ("FOLDER\\CHECK BOX.BMP", rwtest::Utf8(p->m_strValue));
    EXPECT_EQ("FOLDER_CHECK BOX_BMP", rwtest::Utf8(CWVPSkinManagerResourceFile::MakeResourceName(p->m_strValue)));

    int value = 0;
    EXPECT_EQ(S_OK, schema->GetIntProperty(7, 3, 8, 2401, value));
    EXPECT_EQ(-12, value);
    EXPECT_EQ(S_OK, schema->GetIntProperty(7, 3, 8, 1801, value));
    EXPECT_EQ(3, value) << "a later section with the same header replaces the value";
    BOOL flag = FALSE;
    EXPECT_EQ(S_OK, schema->GetBoolProperty(7, 3, 8, 2201, flag));
    EXPECT_TRUE(flag);
    EXPECT_EQ(S_OK, schema->GetBoolProperty(7, 3, 8, 2203, flag));
    EXPECT_FALSE(flag);
    p = schema->FindProperty(7, 3, 8, 4001);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(1, p->m_nValue);
    p = schema->FindProperty(7, 3, 8, 4004);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(-1, p->m_nValue);
    p = schema->FindProperty(7, 3, 8, 3401);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(16, p->m_ptValue.x);
    EXPECT_EQ(-3, p->m_ptValue.y);
    p = schema->FindProperty(7, 3, 8, 401);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ("1,2,3", rwtest::Utf8(p->m_strValue));
    EXPECT_EQ(nullptr, schema->FindProperty(7, 3, 8, 3823)) << "a line without '=' or without a name";
}

TEST_F(SkinSchemaTest, FontsTakeFaceSizeAndWeight)
{
    LOGFONTW font = {};
    ASSERT_EQ(S_OK, schema->GetFontProperty(3, 0, 0, 801, font));
    EXPECT_EQ("TREBUCHET MS", rwtest::Utf8(font.lfFaceName));
    EXPECT_EQ(700, font.lfWeight);
    EXPECT_EQ(-13, font.lfHeight);
    ASSERT_EQ(S_OK, schema->GetFontProperty(3, 0, 0, 803, font));
    EXPECT_EQ("TAHOMA", rwtest::Utf8(font.lfFaceName));
    EXPECT_EQ(400, font.lfWeight);
    ASSERT_EQ(S_OK, schema->GetFontProperty(3, 0, 0, 804, font));
    EXPECT_EQ("", rwtest::Utf8(font.lfFaceName));
    EXPECT_EQ(0, font.lfHeight);
}

TEST(SkinSchemaParse, LongValuesStayInsideTheirFields)
{
    // A face longer than a LOGFONT holds, huge numbers and many components.
    std::unique_ptr<CWVPSkinManagerSchemaProperty> font(
        WVPSkinCreateProperty(L"CAPTIONFONT", kSkinValueFont,
                              L"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOP, 99999999999, BOLDBOLDBOLDBOLDBOLD"));
    ASSERT_TRUE(font && font->m_pFont);
    EXPECT_EQ(31, lstrlenW(font->m_pFont->lfFaceName));
    EXPECT_EQ(400, font->m_pFont->lfWeight);
    std::unique_ptr<CWVPSkinManagerSchemaProperty> rect(
        WVPSkinCreateProperty(L"SIZINGMARGINS", kSkinValueRect, L"99999999999, -2, 3, 4, 5, 6"));
    ASSERT_TRUE(rect);
    EXPECT_EQ(-2, rect->m_rcValue.right);
    EXPECT_EQ(3, rect->m_rcValue.top);
    EXPECT_EQ(4, rect->m_rcValue.bottom);
    std::unique_ptr<CWVPSkinManagerSchemaProperty> colour(
        WVPSkinCreateProperty(L"TEXTCOLOR", kSkinValueColor, L"0x1FF -1"));
    ASSERT_TRUE(colour);
    EXPECT_EQ(RGB(0xFF, 0xFF, 0), colour->m_clrValue);
    EXPECT_EQ(nullptr, WVPSkinCreateProperty(L"INTLIST", kSkinValueIntList, L"1, 2"));
}

} // namespace
