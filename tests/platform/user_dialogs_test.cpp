// Message boxes, the cursor counter, the tick count, and the text encoding
// underneath the ...A functions.
#include "common/encoding.h"
#include "user_fake_host.h"

#include <windows.h>

namespace {

using namespace user_test;
using platform::encoding::Cp932ToUtf8;
using platform::encoding::Utf8ToCp932;

using UserDialogsTest = UserTest;

TEST_F(UserDialogsTest, MessageBoxShowsJapaneseTextAsUtf8)
{
    // "終了していい？" and "終了確認" in Shift-JIS.
    Host().answer = IDYES;
    int answer = MessageBoxA(nullptr, "\x8f\x49\x97\xb9\x82\xb5\x82\xc4\x82\xa2\x82\xa2\x81\x48",
        "\x8f\x49\x97\xb9\x8a\x6d\x94\x46", MB_YESNO);
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(Host().boxText, "終了していい？");
    EXPECT_EQ(Host().boxCaption, "終了確認");
    EXPECT_EQ(Host().boxButtons, MessageBoxButtons::YesNo);
}

TEST_F(UserDialogsTest, MessageBoxAnswersAreButtonsOfTheBox)
{
    Host().answer = IDCANCEL;
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", MB_YESNO), IDNO);
    Host().answer = IDNO;
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", MB_YESNO), IDNO);
    Host().answer = IDYES;
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", MB_OK), IDOK);
    EXPECT_EQ(Host().boxButtons, MessageBoxButtons::Ok);
    // An unsupported button set (MB_YESNOCANCEL) shows OK.
    EXPECT_EQ(MessageBoxA(nullptr, "q", "c", 0x3), IDOK);
    EXPECT_EQ(Host().boxButtons, MessageBoxButtons::Ok);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);
    EXPECT_EQ(Host().boxText, "");
    EXPECT_EQ(Host().boxCaption, "");
}

TEST_F(UserDialogsTest, CursorCounterTellsTheHostOnlyWhenVisibilityChanges)
{
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(ShowCursor(TRUE), 1);
    EXPECT_EQ(platform::user::CursorCounter(), 1);
    EXPECT_EQ(Host().cursorVisibility, (std::vector<bool> { false, true }));
    platform::user::ResetForTesting();
    EXPECT_EQ(platform::user::CursorCounter(), 0);
}

TEST_F(UserDialogsTest, TickCountIsTheHostClock)
{
    Host().tick = 0xFFFFFFF0u;
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
}

TEST(Encoding, ConvertsShiftJisBothWays)
{
    // Half-width katakana "ﾌｧｲﾙ(&F)" as the menu stores it.
    const char* menuText = "\xcc\xa7\xb2\xd9(&F)";
    EXPECT_EQ(Cp932ToUtf8(menuText), "ﾌｧｲﾙ(&F)");
    EXPECT_EQ(Utf8ToCp932("ﾌｧｲﾙ(&F)"), menuText);
    EXPECT_EQ(Utf8ToCp932("ＭＳゴシック"), "\x82\x6c\x82\x72\x83\x53\x83\x56\x83\x62\x83\x4e");
    EXPECT_EQ(Cp932ToUtf8(""), "");
    EXPECT_EQ(Utf8ToCp932(""), "");
}

TEST(Encoding, BadInputIsReplacedNotFatal)
{
    // 0xFD is no character of CP932; a lone lead byte at the end is cut short.
    EXPECT_EQ(Cp932ToUtf8("a\xfd"
                          "b"),
        "a\xEF\xBF\xBD"
        "b");
    EXPECT_EQ(Cp932ToUtf8("a\x82"), "a\xEF\xBF\xBD");
    // An emoji has no CP932 form; a stray continuation byte is no UTF-8.
    EXPECT_EQ(Utf8ToCp932("x😀y"), "x?y");
    EXPECT_EQ(Utf8ToCp932("x\x80y"), "x?y");
    std::string withNul("a\0b", 3);
    EXPECT_EQ(Cp932ToUtf8(withNul), withNul);
}

} // namespace
