// The browser's key names as the virtual keys the program, its menus and
// its boxes read; anything else is no key to them.
#include "host/web/key_map.h"

#include <gtest/gtest.h>

namespace {

using platform::host::VirtualKeyForCode;

TEST(WebKeyMap, TheKeysTheProgramAndItsMenusRead)
{
    EXPECT_EQ(VirtualKeyForCode("Escape"), UINT(VK_ESCAPE));
    EXPECT_EQ(VirtualKeyForCode("ArrowUp"), UINT(VK_UP));
    EXPECT_EQ(VirtualKeyForCode("ArrowDown"), UINT(VK_DOWN));
    EXPECT_EQ(VirtualKeyForCode("ArrowLeft"), UINT(VK_LEFT));
    EXPECT_EQ(VirtualKeyForCode("ArrowRight"), UINT(VK_RIGHT));
    EXPECT_EQ(VirtualKeyForCode("F12"), UINT(VK_F12));
    EXPECT_EQ(VirtualKeyForCode("F10"), UINT(VK_F10));
    EXPECT_EQ(VirtualKeyForCode("F1"), 0x70u);
    EXPECT_EQ(VirtualKeyForCode("AltLeft"), UINT(VK_MENU));
    EXPECT_EQ(VirtualKeyForCode("AltRight"), UINT(VK_MENU));
    EXPECT_EQ(VirtualKeyForCode("Enter"), UINT(VK_RETURN));
    EXPECT_EQ(VirtualKeyForCode("NumpadEnter"), UINT(VK_RETURN));
    EXPECT_EQ(VirtualKeyForCode("Tab"), UINT(VK_TAB));
    EXPECT_EQ(VirtualKeyForCode("Space"), UINT(VK_SPACE));
    // Letters and digits by where they lie, whatever the layout types there.
    EXPECT_EQ(VirtualKeyForCode("KeyA"), UINT('A'));
    EXPECT_EQ(VirtualKeyForCode("KeyY"), UINT('Y'));
    EXPECT_EQ(VirtualKeyForCode("KeyZ"), UINT('Z'));
    EXPECT_EQ(VirtualKeyForCode("Digit0"), UINT('0'));
    EXPECT_EQ(VirtualKeyForCode("Digit9"), UINT('9'));
}

TEST(WebKeyMap, NamesThatAreNoKeyHereGiveNone)
{
    for (const char* code : { "", "F0", "F13", "F01", "F1x", "Key", "Keya", "KeyAB", "Digit", "Digit10", "escape",
             "MetaLeft", "Numpad5", "Unidentified" })
        EXPECT_EQ(VirtualKeyForCode(code), 0u) << code;
    EXPECT_EQ(VirtualKeyForCode(nullptr), 0u);
}

} // namespace
