// The resource table compiled from resources/sample.rc: the menu the window
// shows and the class icon.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/resources.h"

namespace {

using platform::resources::FindIcon;
using platform::resources::FindMenu;
using platform::resources::MenuEntry;

struct Expected {
    int depth;
    bool popup;
    bool separator;
    std::string cp932; // the text's bytes, written out so no charset is involved
    int id;
};

std::string Hex(const char* text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char* p = text; *p; ++p) {
        auto byte = static_cast<unsigned char>(*p);
        if (!hex.empty()) hex += ' ';
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

const std::vector<Expected> kMainMenu {
    { 0, true, false, "CC A7 B2 D9 28 26 46 29", 0 }, // ﾌｧｲﾙ(&F)
    { 1, false, false, "8F 49 97 B9 28 26 58 29", 40001 }, // 終了(&X)
    { 0, true, false, "B3 A8 DD C4 DE B3 28 26 58 29", 0 }, // ｳｨﾝﾄﾞｳ(&X)
    { 1, false, false, "CC D9 BD B8 D8 B0 DD D3 B0 C4 DE", 40002 }, // ﾌﾙｽｸﾘｰﾝﾓｰﾄﾞ
    { 1, false, false, "B3 B2 DD C4 DE B3 D3 B0 C4 DE", 40003 }, // ｳｲﾝﾄﾞｳﾓｰﾄﾞ
    { 0, true, false, "C3 DE CA DE AF B8", 0 }, // ﾃﾞﾊﾞｯｸ
    { 1, false, false, "94 77 8C 69 82 50", 40004 }, // 背景１
    { 1, false, false, "94 77 8C 69 82 51", 40005 }, // 背景２
    { 1, false, false, "97 68 82 EA 82 E9 94 77 8C 69", 40006 }, // 揺れる背景
    { 1, false, false, "82 B1 82 AF 82 B5", 40007 }, // こけし
    { 1, false, false, "CF D9 C1", 40008 }, // ﾏﾙﾁ
    { 1, false, false, "BD DE B0 D1", 40009 }, // ｽﾞｰﾑ
    { 1, false, false, "B7 AC D7", 40010 }, // ｷｬﾗ
    { 1, false, true, "", 0 },
    { 1, false, false, "95 B6 8E 9A", 40015 }, // 文字
    { 1, false, false, "2D", 40012 },
    { 1, false, true, "", 0 },
    { 1, false, false, "2D", 40013 },
    { 1, false, false, "2D", 40014 },
    { 1, false, true, "", 0 },
};

TEST(ResourceTable, MainMenuHasTheJapaneseTextsAndIdsInOrder)
{
    const auto* menu = FindMenu(102);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->count, int(kMainMenu.size()));
    for (int i = 0; i < menu->count; ++i) {
        const MenuEntry& entry = menu->entries[i];
        const Expected& expected = kMainMenu[size_t(i)];
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_EQ(entry.depth, expected.depth);
        EXPECT_EQ(entry.popup, expected.popup);
        EXPECT_EQ(entry.separator, expected.separator);
        ASSERT_NE(entry.text, nullptr);
        EXPECT_EQ(Hex(entry.text), expected.cp932);
        EXPECT_EQ(entry.id, expected.id);
    }
}

TEST(ResourceTable, ClassIconIs32By32WithATransparentCornerAndAnOpaqueMiddle)
{
    const auto* icon = FindIcon(101);
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(icon->width, 32);
    ASSERT_EQ(icon->height, 32);
    ASSERT_NE(icon->argb, nullptr);
    EXPECT_EQ(icon->argb[0] >> 24, 0u) << "the rounded corner is masked out";
    EXPECT_EQ(icon->argb[16 * 32 + 16] >> 24, 0xFFu);
    int opaque = 0;
    for (int i = 0; i < 32 * 32; ++i)
        opaque += (icon->argb[i] >> 24) == 0xFF;
    EXPECT_GT(opaque, 32 * 32 * 3 / 4);
}

TEST(ResourceTable, UnknownIdsFindNothing)
{
    EXPECT_EQ(FindIcon(999), nullptr);
    EXPECT_EQ(FindMenu(999), nullptr);
    EXPECT_EQ(FindIcon(102), nullptr) << "ids are per resource type";
    EXPECT_EQ(FindMenu(101), nullptr);
}

} // namespace
