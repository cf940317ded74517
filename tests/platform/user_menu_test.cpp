// The menu bar: its picture, and the modal menu loop opened by Alt, F10,
// mnemonics and clicks, on the headless host.
#include "headless_window_fixture.h"

#include <algorithm>

#include "host/headless/headless_host.h"

namespace {

using namespace menu_test;

constexpr int kBarHeight = 20;
constexpr int kItemHeight = 20;

// Client y of the middle of item `index` in a drop-down of plain items.
int ItemY(int index) { return 1 + index * kItemHeight + kItemHeight / 2; }

// Columns of the bar that hold dark (text) pixels, grouped where they lie
// closer than `gap` columns to each other.
std::vector<std::pair<int, int>> DarkColumnGroups(const headless::Capture& window, int rows, int gap)
{
    std::vector<std::pair<int, int>> groups;
    for (int x = 0; x < window.width; ++x) {
        bool dark = false;
        for (int y = 0; y < rows; ++y)
            dark = dark || (window.At(x, y) & 0xFFFFFF) < 0x404040;
        if (!dark) continue;
        if (!groups.empty() && x - groups.back().second <= gap)
            groups.back().second = x;
        else
            groups.push_back({ x, x });
    }
    return groups;
}

using MenuBarTest = HeadlessWindowTest;

TEST_F(MenuBarTest, BarShowsThreeTitlesAboveTheClientArea)
{
    headless::Capture whole = headless::CaptureWindow();
    ASSERT_EQ(whole.width, 640);
    ASSERT_EQ(whole.height, 500);
    std::vector<std::pair<int, int>> titles = DarkColumnGroups(whole, kBarHeight, 8);
    ASSERT_EQ(titles.size(), 3u);
    for (auto [first, last] : titles)
        EXPECT_GE(last - first, 20) << "a title is several characters wide";
    EXPECT_LT(titles[2].second, 320) << "titles sit at the left of the bar";
    // The client area below is still the program's black.
    EXPECT_EQ(whole.At(320, kBarHeight + 240), 0u);
}

TEST_F(MenuBarTest, MnemonicLettersAreUnderlined)
{
    // An underline is a run of dark pixels in one row, wider than any
    // stroke of the letters above it: "(F)" and "(X)" have one, "ﾃﾞﾊﾞｯｸ" none.
    headless::Capture whole = headless::CaptureWindow();
    std::vector<std::pair<int, int>> titles = DarkColumnGroups(whole, kBarHeight, 8);
    ASSERT_EQ(titles.size(), 3u);
    auto longestRun = [&](std::pair<int, int> title, int y) {
        int longest = 0, run = 0;
        for (int x = title.first; x <= title.second; ++x) {
            run = (whole.At(x, y) & 0xFFFFFF) < 0x404040 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        return longest;
    };
    auto underlineRow = [&](std::pair<int, int> title) {
        for (int y = kBarHeight - 1; y >= kBarHeight / 2; --y)
            if (longestRun(title, y) >= 4) return y;
        return -1;
    };
    int fileUnderline = underlineRow(titles[0]);
    EXPECT_GT(fileUnderline, kBarHeight / 2);
    EXPECT_EQ(underlineRow(titles[1]), fileUnderline);
    EXPECT_LT(underlineRow(titles[2]), fileUnderline) << "ﾃﾞﾊﾞｯｸ has no mnemonic";
}

using MenuLoopTest = HeadlessWindowTest;

TEST_F(MenuLoopTest, AltThenDownThenEnterChoosesExit)
{
    headless::PushKeyPress(VK_MENU);
    headless::PushKeyPress(VK_DOWN);
    headless::PushKeyPress(VK_RETURN);
    Pump();
    EXPECT_EQ(Commands(), std::vector<int> { 40001 });
    EXPECT_TRUE(KeyDowns().empty()) << "keys of the menu never reach the program";
    // Posted after the loop closed: the bar is plain again by then.
    auto command = std::find_if(Log().begin(), Log().end(), [](const Received& r) { return r.message == WM_COMMAND; });
    ASSERT_NE(command, Log().end());
    EXPECT_EQ(HIWORD(command->wParam), 0);
    EXPECT_EQ(command->lParam, 0);
}

TEST_F(MenuLoopTest, F10AndArrowsReachZoomSkippingNothingChoosable)
{
    headless::PushKeyPress(VK_F10);
    headless::PushKeyPress(VK_RIGHT);
    headless::PushKeyPress(VK_RIGHT);
    for (int i = 0; i < 6; ++i) // opens ﾃﾞﾊﾞｯｸ on 背景１, then down to ｽﾞｰﾑ
        headless::PushKeyPress(VK_DOWN);
    headless::PushKeyPress(VK_RETURN);
    Pump();
    EXPECT_EQ(Commands(), std::vector<int> { 40009 });
}

TEST_F(MenuLoopTest, DownStepsOverSeparatorsAndWraps)
{
    // 背景１ .. ｷｬﾗ (7), separator, 文字, "-", separator, "-", "-", separator.
    headless::PushKeyPress(VK_F10);
    headless::PushKeyPress(VK_LEFT); // wraps to ﾃﾞﾊﾞｯｸ
    for (int i = 0; i < 1 + 7; ++i)
        headless::PushKeyPress(VK_DOWN);
    headless::PushKeyPress(VK_RETURN);
    Pump();
    EXPECT_EQ(Commands(), std::vector<int> { 40015 }) << "the separator after ｷｬﾗ is stepped over";

    Log().clear();
    headless::PushKeyPress(VK_F10);
    headless::PushKeyPress(VK_LEFT);
    headless::PushKeyPress(VK_UP); // opens on the last choosable item
    headless::PushKeyPress(VK_RETURN);
    Pump();
    EXPECT_EQ(Commands(), std::vector<int> { 40014 });

    Log().clear();
    headless::PushKeyPress(VK_F10);
    headless::PushKeyPress(VK_LEFT);
    headless::PushKeyPress(VK_UP);
    for (int i = 0; i < 3; ++i) // 40013, then 40012 over a separator, then 文字
        headless::PushKeyPress(VK_UP);
    headless::PushKeyPress(VK_DOWN);
    headless::PushKeyPress(VK_RETURN);
    Pump();
    EXPECT_EQ(Commands(), std::vector<int> { 40012 }) << "\"-\" items are choosable";
}

TEST_F(MenuLoopTest, EscapeFoldsUpThenCloses)
{
    headless::PushKeyPress(VK_MENU);
    headless::PushKeyPress(VK_DOWN);
    headless::PushKeyPress(VK_ESCAPE);
    headless::PushKeyPress(VK_ESCAPE);
    headless::PushKeyPress(VK_UP); // for the program again
    Pump();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(KeyDowns(), std::vector<UINT> { VK_UP });
}

TEST_F(MenuLoopTest, AltPressedAgainClosesTheMenu)
{
    headless::PushKeyPress(VK_MENU);
    headless::PushKeyPress(VK_MENU);
    headless::PushKeyPress(VK_ESCAPE);
    Pump();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(KeyDowns(), std::vector<UINT> { VK_ESCAPE }) << "the second Alt closed it; ESC is the program's";
}

TEST_F(MenuLoopTest, AltWithMnemonicOpensThatPopup)
{
    headless::PushKeyDown(VK_MENU);
    headless::PushKeyDown('X', true);
    headless::PushKeyUp('X', true);
    headless::PushKeyUp(VK_MENU);
    headless::PushKeyPress(VK_RETURN); // ﾌﾙｽｸﾘｰﾝﾓｰﾄﾞ, the first item of ｳｨﾝﾄﾞｳ
    Pump();
    EXPECT_EQ(Commands(), std::vector<int> { 40002 });

    Log().clear();
    headless::PushKeyDown(VK_MENU);
    headless::PushKeyDown('F', true);
    headless::PushKeyUp('F', true);
    headless::PushKeyUp(VK_MENU);
    headless::PushKeyPress('X'); // 終了(&X) inside the popup
    Pump();
    EXPECT_EQ(Commands(), std::vector<int> { 40001 });
}

TEST_F(MenuLoopTest, AltWithAnUnknownLetterOpensNothing)
{
    headless::PushKeyDown(VK_MENU);
    headless::PushKeyPress('Q', true);
    headless::PushKeyUp(VK_MENU);
    headless::PushKeyPress(VK_DOWN);
    Pump();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(KeyDowns(), std::vector<UINT> { VK_DOWN }) << "Alt was not alone, so no menu opened";
}

TEST_F(MenuLoopTest, ClicksOnTitleThenItemChooseIt)
{
    std::vector<std::pair<int, int>> titles = DarkColumnGroups(headless::CaptureWindow(), kBarHeight, 8);
    ASSERT_EQ(titles.size(), 3u);
    int debugX = (titles[2].first + titles[2].second) / 2;
    headless::PushClick(debugX, -kBarHeight / 2);
    headless::PushMouseMove(debugX + 10, ItemY(3)); // hover こけし on the way
    headless::PushClick(debugX + 10, ItemY(5)); // ｽﾞｰﾑ
    Pump();
    EXPECT_EQ(Commands(), std::vector<int> { 40009 });
    for (const Received& r : Log())
        EXPECT_NE(r.message, UINT(WM_MOUSEMOVE)) << "moves inside the menu are the menu's";
}

TEST_F(MenuLoopTest, ClickOnSeparatorChoosesNothingAndOutsideCloses)
{
    std::vector<std::pair<int, int>> titles = DarkColumnGroups(headless::CaptureWindow(), kBarHeight, 8);
    ASSERT_EQ(titles.size(), 3u);
    int debugX = (titles[2].first + titles[2].second) / 2;
    headless::PushClick(debugX, -kBarHeight / 2);
    headless::PushClick(debugX + 10, 1 + 7 * kItemHeight + 3); // the separator after ｷｬﾗ
    headless::PushClick(600, 400); // outside: closes
    headless::PushKeyPress(VK_DOWN);
    Pump();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(KeyDowns(), std::vector<UINT> { VK_DOWN });
}

TEST_F(MenuLoopTest, OpenDropDownIsDrawnAndThePictureComesBack)
{
    headless::Capture before = headless::CaptureWindow();
    // Tracked while open: the client shows the drop-down; no frame is drawn.
    int framesBefore = headless::FramesDrawn();
    headless::PushKeyPress(VK_MENU);
    headless::PushKeyPress(VK_DOWN);
    bool sawDropDown = false;
    platform::host::HeadlessHost& host = platform::host::TheHeadlessHost();
    host.SetModalStarvedHandler([&] {
        headless::Capture open = headless::CaptureWindow();
        sawDropDown = open.At(10, kBarHeight + ItemY(0)) != before.At(10, kBarHeight + ItemY(0));
        EXPECT_NE(open.At(2, kBarHeight / 2), before.At(2, kBarHeight / 2)) << "the open title is highlighted";
        headless::PushKeyPress(VK_ESCAPE);
        headless::PushKeyPress(VK_ESCAPE);
        host.SetModalStarvedHandler({});
        return true;
    });
    Pump();
    EXPECT_TRUE(sawDropDown);
    headless::Capture after = headless::CaptureWindow();
    EXPECT_EQ(after.pixels, before.pixels);
    EXPECT_LE(headless::FramesDrawn() - framesBefore, 1) << "only the pump's final idle turn";
}

TEST_F(MenuLoopTest, ProgramKeysStayKeyDownAndInputRunningDryEndsTheLoop)
{
    for (UINT key : { UINT(VK_UP), UINT(VK_DOWN), UINT(VK_ESCAPE), UINT(VK_F12), UINT('A') })
        headless::PushKeyPress(key);
    Pump();
    EXPECT_EQ(KeyDowns(), (std::vector<UINT> { VK_UP, VK_DOWN, VK_ESCAPE, VK_F12, 'A' }));

    // A menu left open when no more input will come does not hang.
    Log().clear();
    headless::PushKeyPress(VK_F10);
    Pump();
    EXPECT_TRUE(Commands().empty());
    int sysKeys
        = int(std::count_if(Log().begin(), Log().end(), [](const Received& r) { return r.message == WM_SYSKEYDOWN; }));
    EXPECT_EQ(sysKeys, 1) << "F10 arrives as WM_SYSKEYDOWN";
}

TEST_F(MenuLoopTest, CloseDuringTheMenuStillClosesTheWindow)
{
    headless::PushKeyPress(VK_MENU);
    headless::PushKeyPress(VK_DOWN);
    headless::PushClose();
    Pump();
    EXPECT_TRUE(Commands().empty());
    bool destroyed = std::any_of(Log().begin(), Log().end(), [](const Received& r) { return r.message == WM_DESTROY; });
    EXPECT_TRUE(destroyed) << "the close request waited for the menu, then went through";
}

} // namespace

namespace {

using namespace menu_test;
using InputFormTest = HeadlessWindowTest;

TEST_F(InputFormTest, RawInputArrivesInTheFormsWindowsPosts)
{
    // The window is at (100, 100); its client area starts 20 rows lower.
    headless::PushMouseMove(5, -10); // over the bar, right of the titles
    headless::PushMouseButton(600, -10, true);
    headless::PushMouseButton(600, -10, false);
    headless::PushMouseButton(30, 40, true);
    headless::PushKeyDown('Q', true);
    headless::PushKeyUp('Q', true);
    Pump();
    auto find = [](UINT message) {
        auto it = std::find_if(Log().begin(), Log().end(), [&](const Received& r) { return r.message == message; });
        return it == Log().end() ? nullptr : &*it;
    };
    for (const Received& r : Log())
        EXPECT_NE(r.message, UINT(WM_MOUSEMOVE)) << "the bar is no client area";
    const Received* move = find(0x00A0); // WM_NCMOUSEMOVE
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(SHORT(LOWORD(move->lParam)), 105);
    EXPECT_EQ(SHORT(HIWORD(move->lParam)), 110);
    const Received* press = find(0x00A1); // WM_NCLBUTTONDOWN, HTMENU
    ASSERT_NE(press, nullptr);
    EXPECT_EQ(press->wParam, WPARAM(5));
    const Received* clientPress = find(0x0201); // WM_LBUTTONDOWN
    ASSERT_NE(clientPress, nullptr);
    EXPECT_EQ(clientPress->lParam, MAKELPARAM(30, 40));
    const Received* sysKey = find(WM_SYSKEYDOWN);
    ASSERT_NE(sysKey, nullptr);
    EXPECT_EQ(sysKey->wParam, WPARAM('Q'));
    EXPECT_NE(sysKey->lParam & (LPARAM(1) << 29), 0) << "Alt held";
    EXPECT_NE(find(0x0106), nullptr) << "Alt+Q also comes as WM_SYSCHAR";
    EXPECT_TRUE(Commands().empty()) << "a click right of the titles opens nothing";
}

TEST_F(InputFormTest, AltF4ClosesTheWindow)
{
    headless::PushKeyDown(VK_MENU);
    headless::PushKeyDown(VK_F4, true);
    Pump();
    bool destroyed = std::any_of(Log().begin(), Log().end(), [](const Received& r) { return r.message == WM_DESTROY; });
    EXPECT_TRUE(destroyed);
}

} // namespace
