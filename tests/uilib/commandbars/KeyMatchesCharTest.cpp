// Which keys type which characters for mnemonics and keyboard tips: keypad digits only match their
// digit, letters match either case, and a shifted symbol matches its key only when another
// installed layout types it (the test prefix has one layout).
#include "RwTest.h"
#include "uilib/commandbars/KeyMatchesChar.h"

TEST(KeyMatchesCharTest, KeysMatchTheirCharacters)
{
    ASSERT_EQ(1, ::GetKeyboardLayoutList(0, nullptr)) << "the cases below assume one keyboard layout";
    const struct
    {
        WCHAR ch;
        UINT vk;
        BOOL matches;
    } cases[] = {
        {L'1', VK_NUMPAD1, TRUE}, {L'2', VK_NUMPAD1, FALSE}, {L'a', VK_NUMPAD1, FALSE}, {L'a', 'A', TRUE},
        {L'A', 'A', TRUE},        {L'b', 'A', FALSE},        {L'7', '7', TRUE},         {L'!', '1', FALSE},
        {L'a', VK_F1, FALSE},     {L' ', VK_SHIFT, FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.matches, WVPKeyMatchesChar(c.ch, c.vk)) << char(c.ch) << " " << c.vk;
}
