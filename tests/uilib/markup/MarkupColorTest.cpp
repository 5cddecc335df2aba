// Named and system colours against a table written here from the CSS colour keywords (extended
// colour keywords) and the Win32 system-colour indexes.
#include "MarkupFixture.h"

#include "uilib/markup/MarkupConverters.h"

namespace
{
struct Keyword
{
    const char* name;
    int r, g, b;
};

// CSS Color Module Level 3, extended colour keywords, with the grey shades spelt "gray".
const Keyword kCss[] = {
    {"aliceblue", 240, 248, 255}, {"antiquewhite", 250, 235, 215}, {"aqua", 0, 255, 255},
    {"aquamarine", 127, 255, 212}, {"azure", 240, 255, 255}, {"beige", 245, 245, 220}, {"bisque", 255, 228, 196},
    {"black", 0, 0, 0}, {"blanchedalmond", 255, 235, 205}, {"blue", 0, 0, 255}, {"blueviolet", 138, 43, 226},
    {"brown", 165, 42, 42}, {"burlywood", 222, 184, 135}, {"cadetblue", 95, 158, 160}, {"chartreuse", 127, 255, 0},
    {"chocolate", 210, 105, 30}, {"coral", 255, 127, 80}, {"cornflowerblue", 100, 149, 237},
    {"cornsilk", 255, 248, 220}, {"crimson", 220, 20, 60}, {"cyan", 0, 255, 255}, {"darkblue", 0, 0, 139},
    {"darkcyan", 0, 139, 139}, {"darkgoldenrod", 184, 134, 11}, {"darkgray", 169, 169, 169},
    {"darkgreen", 0, 100, 0}, {"darkkhaki", 189, 183, 107}, {"darkmagenta", 139, 0, 139},
    {"darkolivegreen", 85, 107, 47}, {"darkorange", 255, 140, 0}, {"darkorchid", 153, 50, 204},
    {"darkred", 139, 0, 0}, {"darksalmon", 233, 150, 122}, {"darkseagreen", 143, 188, 143},
    {"darkslateblue", 72, 61, 139}, {"darkslategray", 47, 79, 79}, {"darkturquoise", 0, 206, 209},
    {"darkviolet", 148, 0, 211}, {"deeppink", 255, 20, 147}, {"deepskyblue", 0, 191, 255}, {"dimgray", 105, 105, 105},
    {"dodgerblue", 30, 144, 255}, {"firebrick", 178, 34, 34}, {"floralwhite", 255, 250, 240},
    {"forestgreen", 34, 139, 34}, {"fuchsia", 255, 0, 255}, {"gainsboro", 220, 220, 220},
    {"ghostwhite", 248, 248, 255}, {"gold", 255, 215, 0}, {"goldenrod", 218, 165, 32}, {"gray", 128, 128, 128},
    {"green", 0, 128, 0}, {"greenyellow", 173, 255, 47}, {"honeydew", 240, 255, 240}, {"hotpink", 255, 105, 180},
    {"indianred", 205, 92, 92}, {"indigo", 75, 0, 130}, {"ivory", 255, 255, 240}, {"khaki", 240, 230, 140},
    {"lavender", 230, 230, 250}, {"lavenderblush", 255, 240, 245}, {"lawngreen", 124, 252, 0},
    {"lemonchiffon", 255, 250, 205}, {"lightblue", 173, 216, 230}, {"lightcoral", 240, 128, 128},
    {"lightcyan", 224, 255, 255}, {"lightgoldenrodyellow", 250, 250, 210}, {"lightgray", 211, 211, 211},
    {"lightgreen", 144, 238, 144}, {"lightpink", 255, 182, 193}, {"lightsalmon", 255, 160, 122},
    {"lightseagreen", 32, 178, 170}, {"lightskyblue", 135, 206, 250}, {"lightslategray", 119, 136, 153},
    {"lightsteelblue", 176, 196, 222}, {"lightyellow", 255, 255, 224}, {"lime", 0, 255, 0},
    {"limegreen", 50, 205, 50}, {"linen", 250, 240, 230}, {"magenta", 255, 0, 255}, {"maroon", 128, 0, 0},
    {"mediumaquamarine", 102, 205, 170}, {"mediumblue", 0, 0, 205}, {"mediumorchid", 186, 85, 211},
    {"mediumpurple", 147, 112, 219}, {"mediumseagreen", 60, 179, 113}, {"mediumslateblue", 123, 104, 238},
    {"mediumspringgreen", 0, 250, 154}, {"mediumturquoise", 72, 209, 204}, {"mediumvioletred", 199, 21, 133},
    {"midnightblue", 25, 25, 112}, {"mintcream", 245, 255, 250}, {"mistyrose", 255, 228, 225},
    {"moccasin", 255, 228, 181}, {"navajowhite", 255, 222, 173}, {"navy", 0, 0, 128}, {"oldlace", 253, 245, 230},
    {"olive", 128, 128, 0}, {"olivedrab", 107, 142, 35}, {"orange", 255, 165, 0}, {"orangered", 255, 69, 0},
    {"orchid", 218, 112, 214}, {"palegoldenrod", 238, 232, 170}, {"palegreen", 152, 251, 152},
    {"paleturquoise", 175, 238, 238}, {"palevioletred", 219, 112, 147}, {"papayawhip", 255, 239, 213},
    {"peachpuff", 255, 218, 185}, {"peru", 205, 133, 63}, {"pink", 255, 192, 203}, {"plum", 221, 160, 221},
    {"powderblue", 176, 224, 230}, {"purple", 128, 0, 128}, {"red", 255, 0, 0}, {"rosybrown", 188, 143, 143},
    {"royalblue", 65, 105, 225}, {"saddlebrown", 139, 69, 19}, {"salmon", 250, 128, 114},
    {"sandybrown", 244, 164, 96}, {"seagreen", 46, 139, 87}, {"seashell", 255, 245, 238}, {"sienna", 160, 82, 45},
    {"silver", 192, 192, 192}, {"skyblue", 135, 206, 235}, {"slateblue", 106, 90, 205},
    {"slategray", 112, 128, 144}, {"snow", 255, 250, 250}, {"springgreen", 0, 255, 127},
    {"steelblue", 70, 130, 180}, {"tan", 210, 180, 140}, {"teal", 0, 128, 128}, {"thistle", 216, 191, 216},
    {"tomato", 255, 99, 71}, {"turquoise", 64, 224, 208}, {"violet", 238, 130, 238}, {"wheat", 245, 222, 179},
    {"white", 255, 255, 255}, {"whitesmoke", 245, 245, 245}, {"yellow", 255, 255, 0},
    {"yellowgreen", 154, 205, 50},
};

// An ASCII text as UTF-16, with a case changer applied.
struct Text
{
    WCHAR units[64];
    Text(const char* s, int (*change)(int) = nullptr)
    {
        int i = 0;
        for (; s[i] && i < 63; ++i)
            units[i] = (WCHAR)(change ? change((unsigned char)s[i]) : s[i]);
        units[i] = 0;
    }
};

int Upper(int c)
{
    return c >= 'a' && c <= 'z' ? c - 32 : c;
}

// Mixed case: every other letter in upper case.
int g_flip;
int Mixed(int c)
{
    return (g_flip++ & 1) ? Upper(c) : c;
}
} // namespace

TEST(MarkupColor, NamedColoursMatchTheCssKeywords)
{
    ASSERT_EQ(140u, sizeof(kCss) / sizeof(kCss[0]));
    for (const Keyword& k : kCss)
    {
        for (auto change : {(int (*)(int)) nullptr, Upper, Mixed})
        {
            Text name(k.name, change);
            COLORREF c = 0x12345678;
            ASSERT_TRUE(WVPMarkupNamedColor(name.units, &c)) << k.name;
            EXPECT_EQ(RGB(k.r, k.g, k.b), c) << k.name;
            COLORREF parsed = 0;
            EXPECT_TRUE(CWVPMarkupColor::ParseColor(name.units, &parsed)) << k.name;
            EXPECT_EQ(RGB(k.r, k.g, k.b), parsed) << k.name;
        }
    }
}

TEST(MarkupColor, RefusesWhatIsNoNamedColour)
{
    const char* refused[] = {"transparent", "TRANSPARENT", "grey", "darkgrey", "darkslategrey", "dimgrey",
                             "lightgrey", "lightslategrey", "slategrey", "re", "", "redd", "1red", "red ",
                             "lightgoldenrodyellowx", "rebeccapurple"};
    for (const char* name : refused)
    {
        Text t(name);
        COLORREF c = 0;
        EXPECT_FALSE(WVPMarkupNamedColor(t.units, &c)) << name;
    }
    // Black is a colour although its value is 0.
    COLORREF black = 1;
    EXPECT_TRUE(WVPMarkupNamedColor(L"BLACK", &black));
    EXPECT_EQ(0u, black);
}

TEST(MarkupColor, HexadecimalForms)
{
    struct Case
    {
        LPCWSTR text;
        BOOL ok;
        COLORREF colour;
    } cases[] = {
        {L"#FF0000", TRUE, RGB(255, 0, 0)},   {L"#80FF0000", TRUE, RGB(255, 0, 0)}, {L"#0a0B0c", TRUE, RGB(10, 11, 12)},
        {L"#F00", FALSE, 0},                  {L"#GG0000", FALSE, 0},               {L"#F0F0FG", FALSE, 0},
        {L"# F0000", FALSE, 0},               {L"#+F0000", FALSE, 0},               {L"#FF00000", FALSE, 0},
        {L"#", FALSE, 0},                     {L"#80FF00G0", FALSE, 0},
    };
    for (const Case& c : cases)
    {
        COLORREF colour = 0;
        EXPECT_EQ(c.ok, CWVPMarkupColor::ParseColor(c.text, &colour)) << rwtest::Utf8(c.text);
        if (c.ok)
            EXPECT_EQ(c.colour, colour) << rwtest::Utf8(c.text);
    }
}

TEST(MarkupColor, SystemColoursThroughStaticMembers)
{
    struct Key
    {
        LPCWSTR name;
        int index;
    } keys[] = {
        {L"ActiveBorder", COLOR_ACTIVEBORDER}, {L"ActiveCaption", COLOR_ACTIVECAPTION},
        {L"ActiveCaptionText", COLOR_CAPTIONTEXT}, {L"AppWorkspace", COLOR_APPWORKSPACE},
        {L"Control", COLOR_BTNFACE}, {L"ControlDark", COLOR_BTNSHADOW}, {L"ControlDarkDark", COLOR_3DDKSHADOW},
        {L"ControlLight", COLOR_3DLIGHT}, {L"ControlLightLight", COLOR_BTNHIGHLIGHT},
        {L"ControlText", COLOR_BTNTEXT}, {L"Desktop", COLOR_DESKTOP},
        {L"GradientActiveCaption", COLOR_GRADIENTACTIVECAPTION},
        {L"GradientInactiveCaption", COLOR_GRADIENTINACTIVECAPTION}, {L"GrayText", COLOR_GRAYTEXT},
        {L"Highlight", COLOR_HIGHLIGHT}, {L"HighlightText", COLOR_HIGHLIGHTTEXT}, {L"HotTrack", COLOR_HOTLIGHT},
        {L"InactiveBorder", COLOR_INACTIVEBORDER}, {L"InactiveCaption", COLOR_INACTIVECAPTION},
        {L"InactiveCaptionText", COLOR_INACTIVECAPTIONTEXT}, {L"Info", COLOR_INFOBK}, {L"InfoText", COLOR_INFOTEXT},
        {L"Menu", COLOR_MENU}, {L"MenuBar", COLOR_MENUBAR}, {L"MenuHighlight", COLOR_MENUHILIGHT},
        {L"MenuText", COLOR_MENUTEXT}, {L"ScrollBar", COLOR_SCROLLBAR}, {L"Window", COLOR_WINDOW},
        {L"WindowFrame", COLOR_WINDOWFRAME}, {L"WindowText", COLOR_WINDOWTEXT},
    };
    markuptest::Context context;
    for (const Key& k : keys)
    {
        EXPECT_EQ(k.index, WVPMarkupSystemColorIndex(k.name, lstrlenW(k.name))) << rwtest::Utf8(k.name);
        WCHAR markup[256];
        wsprintfW(markup, L"<TextBlock Foreground=\"{x:Static SystemColors.%sBrush}\" Tag=\"{x:Static SystemColors.%sColor}\"/>",
                  k.name, k.name);
        CWVPMarkupObject* root = context.Parse(markup);
        ASSERT_NE(nullptr, root) << context.Error();
        char expected[32];
        COLORREF c = ::GetSysColor(k.index);
        std::snprintf(expected, sizeof(expected), "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
        EXPECT_EQ(std::string("Brush:") + expected, markuptest::PropertyText(root, nullptr, L"Foreground"));
        EXPECT_EQ(std::string("Color:") + expected, markuptest::PropertyText(root, nullptr, L"Tag"));
        root->Release();
    }
    // A proper prefix resolves to the first key it begins, in alphabetical order.
    EXPECT_EQ(COLOR_BTNFACE, WVPMarkupSystemColorIndex(L"Cont", 4));
    EXPECT_EQ(-1, WVPMarkupSystemColorIndex(L"control", 7));
}
