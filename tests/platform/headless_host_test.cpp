// The headless host: its clock, input, frames, message boxes and screen.
#include "host/headless/headless_host.h"

#include <gtest/gtest.h>

#include <cstring>

#include "headless_window_fixture.h"
#include "testing/testing.h"

namespace {

using platform::Rectangle;

using platform::host::HeadlessHost;
using platform::host::InputEvent;
using platform::host::MessageBoxButtons;

class HeadlessHostTest : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    HeadlessHost& host = platform::host::TheHeadlessHost();
};

TEST_F(HeadlessHostTest, ResetInstallsAFreshHost)
{
    headless::PushKey(VK_UP);
    headless::QueueAnswer(IDYES);
    host.SetNoDisplay();
    host.CreateWindow("sample", Rectangle { 0, 0, 640, 500 }, 20);
    headless::Reset(1234);

    EXPECT_EQ(&platform::host::Current(), &host);
    EXPECT_EQ(host.TickCount(), 1234u);
    EXPECT_TRUE(host.HasDisplay());
    EXPECT_FALSE(host.Window().exists);
    EXPECT_EQ(host.PendingInputCount(), 0u);
    EXPECT_EQ(host.ShowMessageBox("c", "t", MessageBoxButtons::YesNo), IDNO);
    Rectangle desktop = host.DesktopRect();
    EXPECT_EQ(desktop.right - desktop.left, 1024);
    EXPECT_EQ(desktop.bottom - desktop.top, 768);
}

TEST_F(HeadlessHostTest, AudioOutputOpensUnlessThereIsNoSound)
{
    EXPECT_TRUE(host.OpenAudioOutput());
    EXPECT_TRUE(host.AudioOutputOpen());
    host.CloseAudioOutput();
    headless::SetNoSound();
    EXPECT_FALSE(host.OpenAudioOutput());
    EXPECT_FALSE(host.AudioOutputOpen());
}

TEST_F(HeadlessHostTest, ClockIsA32BitCounterThatWraps)
{
    headless::SetTickCount(0xFFFFFFF0u);
    headless::AdvanceClock(0x20);
    EXPECT_EQ(host.TickCount(), 0x10u);
}

TEST_F(HeadlessHostTest, InputIsHandedOutOnceInOrder)
{
    headless::PushKey(VK_DOWN);
    headless::PushMouseMove(3, 4);
    headless::PushClose();
    std::vector<InputEvent> events;
    host.PollInput(events);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, InputEvent::Kind::KeyDown);
    EXPECT_EQ(events[0].virtualKey, UINT(VK_DOWN));
    EXPECT_FALSE(events[0].repeat);
    EXPECT_EQ(events[1].kind, InputEvent::Kind::MouseMove);
    EXPECT_EQ(events[1].x, 3);
    EXPECT_EQ(events[1].y, 4);
    EXPECT_EQ(events[2].kind, InputEvent::Kind::Close);

    std::vector<InputEvent> again;
    host.PollInput(again);
    EXPECT_TRUE(again.empty());
}

using MenuCommandTest = menu_test::HeadlessWindowTest;

// Commands are posted to the window in their turn among the input, even when
// all of it waits for the same PeekMessageA; menu ids are 16 bits.
TEST_F(MenuCommandTest, CommandsReachTheWindowInTheirTurnAmongTheInput)
{
    headless::PushKey(VK_DOWN);
    headless::PushMenuCommand(40007);
    headless::PushMenuCommand(0x10000 + 40009);
    headless::PushMenuCommand(0);
    headless::PushKey(VK_UP);
    Pump();
    std::vector<menu_test::Received> seen;
    for (const menu_test::Received& received : menu_test::Log())
        if (received.message == WM_KEYDOWN || received.message == WM_COMMAND) seen.push_back(received);
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0].message, UINT(WM_KEYDOWN));
    EXPECT_EQ(seen[0].wParam, WPARAM(VK_DOWN));
    EXPECT_EQ(seen[1].message, UINT(WM_COMMAND));
    EXPECT_EQ(seen[1].wParam, WPARAM(40007));
    EXPECT_EQ(seen[1].lParam, 0);
    EXPECT_EQ(seen[2].message, UINT(WM_COMMAND));
    EXPECT_EQ(seen[2].wParam, WPARAM(40009));
    EXPECT_EQ(seen[3].message, UINT(WM_COMMAND)) << "0 is an id like any other";
    EXPECT_EQ(seen[3].wParam, WPARAM(0));
    EXPECT_EQ(seen[4].message, UINT(WM_KEYDOWN));
    EXPECT_EQ(seen[4].wParam, WPARAM(VK_UP));
    EXPECT_EQ(platform::host::TheHeadlessHost().PendingInputCount(), 0u);
}

// With no window there is nobody to tell; the command is not kept for later.
TEST_F(HeadlessHostTest, CommandWithoutAWindowIsDropped)
{
    headless::PushMenuCommand(40007);
    std::vector<InputEvent> events;
    host.PollInput(events);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(host.PendingInputCount(), 0u);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(HeadlessHostTest, FrameBudgetAdvancesTheClockThenAsksTheHandler)
{
    int handlerCalls = 0;
    host.SetBudgetSpentHandler([&] {
        ++handlerCalls;
        return false;
    });
    host.SetFrameBudget(3, 20);
    EXPECT_TRUE(host.Idle());
    EXPECT_TRUE(host.Idle());
    EXPECT_TRUE(host.Idle());
    EXPECT_EQ(host.TickCount(), 0x10000u + 60);
    EXPECT_EQ(handlerCalls, 0);
    EXPECT_FALSE(host.Idle());
    EXPECT_EQ(handlerCalls, 1);
    EXPECT_EQ(headless::FramesDrawn(), 3);
}

TEST_F(HeadlessHostTest, WithoutAScriptEveryIdleTurnIsAFrameAndTimeStands)
{
    EXPECT_TRUE(host.Idle());
    EXPECT_TRUE(host.Idle());
    EXPECT_EQ(headless::FramesDrawn(), 2);
    EXPECT_EQ(host.TickCount(), 0x10000u);
}

TEST_F(HeadlessHostTest, MessageBoxAnswersMustFitTheButtons)
{
    std::vector<std::string> lines;
    host.SetOutputSink([&](const std::string& line) { lines.push_back(line); });
    headless::QueueAnswer(IDYES); // not a button of an OK box
    headless::QueueAnswer(IDOK); // not a button of a Yes/No box
    headless::QueueAnswer(IDYES);
    EXPECT_EQ(host.ShowMessageBox("エラー発生", "壊れた", MessageBoxButtons::Ok), IDOK);
    EXPECT_EQ(host.ShowMessageBox("終了確認", "終了していい？", MessageBoxButtons::YesNo), IDNO);
    EXPECT_EQ(host.ShowMessageBox("終了確認", "終了していい？", MessageBoxButtons::YesNo), IDYES);
    EXPECT_EQ(host.ShowMessageBox("", "no answer left", MessageBoxButtons::YesNo), IDNO);

    const auto& shown = headless::MessageBoxesShown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].captionUtf8, "エラー発生");
    EXPECT_EQ(shown[2].answer, IDYES);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "messagebox エラー発生 | 壊れた | ok");
    EXPECT_EQ(lines[1], "messagebox 終了確認 | 終了していい？ | no");
    EXPECT_EQ(lines[2], "messagebox 終了確認 | 終了していい？ | yes");
    EXPECT_EQ(lines[3], "messagebox  | no answer left | no");
}

TEST_F(HeadlessHostTest, CaptureIsTheLastPresentedClientWithoutAlpha)
{
    const platform::PixelView lent = host.Lend(platform::host::Screen::Client, 2, 2, Rectangle {});
    ASSERT_NE(lent.pixels, nullptr);
    ASSERT_EQ(lent.pitch, 8);
    const uint32_t pixels[] = { 0xFF112233, 0x00445566, 0x00000001, 0x00ABCDEF };
    std::memcpy(lent.pixels, pixels, sizeof(pixels));
    host.Changed(platform::host::Screen::Client, Rectangle { 0, 0, 2, 2 });
    headless::Capture capture = headless::CaptureScreen();
    ASSERT_EQ(capture.width, 2);
    ASSERT_EQ(capture.height, 2);
    EXPECT_EQ(capture.At(0, 0), 0x112233u);
    EXPECT_EQ(capture.At(1, 0), 0x445566u);
    EXPECT_EQ(capture.At(0, 1), 0x000001u);
    EXPECT_EQ(capture.At(1, 1), 0xABCDEFu);
}

TEST_F(HeadlessHostTest, CaptureBeforeAnyPresentationIsABlackClientArea)
{
    host.CreateWindow("sample", Rectangle { 10, 10, 650, 510 }, 20);
    headless::Capture capture = headless::CaptureScreen();
    EXPECT_EQ(capture.width, 640);
    EXPECT_EQ(capture.height, 480);
    EXPECT_EQ(capture.At(639, 479), 0u);
}

} // namespace
