// A replay script played against the headless host, with the test standing
// in for the program's message loop.
#include "host/headless/replay_session.h"

#include <gtest/gtest.h>

#include "common/diagnostics.h"
#include "testing.h"

namespace {

using platform::host::HeadlessHost;
using platform::host::InputEvent;
using platform::host::MessageBoxButtons;
using platform::host::ReplayCommand;
using platform::host::ReplaySession;

std::vector<ReplayCommand> Parse(const std::string& text)
{
    std::vector<ReplayCommand> commands;
    std::string error;
    EXPECT_TRUE(platform::host::ParseReplayScript(text, commands, error)) << error;
    return commands;
}

class ReplaySessionTest : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }

    std::vector<InputEvent> Poll()
    {
        std::vector<InputEvent> events;
        host.PollInput(events);
        return events;
    }

    HeadlessHost& host = platform::host::TheHeadlessHost();
    std::vector<std::string> printed;
};

TEST_F(ReplaySessionTest, InputBeforeAFrameIsDeliveredBeforeIt)
{
    ReplaySession session(host, Parse("key ESC\nframe 2 10\nmouse 5 6\nframe\n"), nullptr);
    session.Begin();
    std::vector<InputEvent> escape = Poll();
    ASSERT_EQ(escape.size(), 2u) << "input before the first frame is there at start";
    EXPECT_EQ(escape[0].kind, InputEvent::Kind::KeyDown);
    EXPECT_EQ(escape[1].kind, InputEvent::Kind::KeyUp) << "a key line presses and releases the key";
    EXPECT_EQ(escape[1].virtualKey, UINT(VK_ESCAPE));

    EXPECT_FALSE(host.Idle()) << "the frame line sets the budget; the queue is polled first";
    EXPECT_TRUE(host.Idle());
    EXPECT_TRUE(host.Idle());
    EXPECT_EQ(host.TickCount(), 0x10000u + 20);
    EXPECT_TRUE(Poll().empty());

    EXPECT_FALSE(host.Idle());
    std::vector<InputEvent> mouse = Poll();
    ASSERT_EQ(mouse.size(), 1u);
    EXPECT_EQ(mouse[0].x, 5);
    EXPECT_TRUE(host.Idle());
    EXPECT_EQ(host.TickCount(), 0x10000u + 36);
    EXPECT_EQ(host.FramesDrawn(), 3);
}

TEST_F(ReplaySessionTest, TheEndOfTheScriptClosesTheWindowOnce)
{
    ReplaySession session(host, Parse("frame 1\nkey UP\n"), nullptr);
    session.Begin();
    EXPECT_FALSE(host.Idle());
    EXPECT_TRUE(host.Idle());
    EXPECT_FALSE(host.Idle()); // runs `key UP`, the last line
    EXPECT_EQ(Poll().size(), 2u); // pressed and released
    EXPECT_FALSE(host.Idle());
    std::vector<InputEvent> close = Poll();
    ASSERT_EQ(close.size(), 1u);
    EXPECT_EQ(close[0].kind, InputEvent::Kind::Close);
    // A program that lingers may still draw, but gets no second close.
    EXPECT_TRUE(host.Idle());
    EXPECT_TRUE(Poll().empty());
}

TEST_F(ReplaySessionTest, StartOnlyCommandsAndFaultsApplyBeforeTheProgramRuns)
{
    ReplaySession session(host, Parse("nodisplay\nnosound\nfail GetDC 2\nanswer yes\nframe\n"), nullptr);
    session.Begin();
    EXPECT_FALSE(host.HasDisplay());
    EXPECT_FALSE(host.SoundAvailable());
    EXPECT_TRUE(platform::diagnostics::ShouldFail("GetDC"));
    EXPECT_TRUE(platform::diagnostics::ShouldFail("GetDC"));
    EXPECT_FALSE(platform::diagnostics::ShouldFail("GetDC"));
    EXPECT_EQ(host.ShowMessageBox("終了確認", "終了していい？", MessageBoxButtons::YesNo), IDYES);
}

TEST_F(ReplaySessionTest, OutputHasTheBoxesThenFramesAndExit)
{
    ReplaySession session(
        host, Parse("frame 2\nmenu 40001\nanswer no\n"), [this](const std::string& line) { printed.push_back(line); });
    session.Begin();
    EXPECT_FALSE(host.Idle());
    EXPECT_TRUE(host.Idle());
    EXPECT_TRUE(host.Idle());
    EXPECT_FALSE(host.Idle()); // runs the menu line and queues the answer
    host.ShowMessageBox("終了確認", "終了していい？", MessageBoxButtons::YesNo);
    session.Finish(0);
    std::vector<std::string> expected = { "messagebox 終了確認 | 終了していい？ | no", "frames 2", "exit 0" };
    EXPECT_EQ(session.Output(), expected);
    EXPECT_EQ(printed, expected);
}

TEST_F(ReplaySessionTest, AnUnwritableCaptureIsReportedWithItsLine)
{
    ReplaySession session(host, Parse("frame\n\ncapture /nonexistent-dir/shot.png\n"), nullptr);
    session.Begin();
    EXPECT_FALSE(host.Idle());
    EXPECT_TRUE(host.Idle());
    EXPECT_FALSE(host.Idle());
    ASSERT_EQ(session.Errors().size(), 1u);
    EXPECT_EQ(session.Errors()[0].rfind("line 3: cannot write /nonexistent-dir/shot.png: ", 0), 0u)
        << session.Errors()[0];
}

TEST_F(ReplaySessionTest, SessionLetsGoOfTheHostWhenItEnds)
{
    {
        ReplaySession session(host, Parse("frame 0\n"), nullptr);
        session.Begin();
    }
    EXPECT_TRUE(host.Idle()) << "no budget and no script: a plain frame";
}

TEST(ReplaySessionDeathTest, AProgramThatNeverEndsIsGivenUp)
{
    auto runForever = [] {
        headless::Reset();
        HeadlessHost& host = platform::host::TheHeadlessHost();
        ReplaySession session(host, Parse("frame\n"), nullptr);
        session.Begin();
        for (;;)
            host.Idle();
    };
    EXPECT_EXIT(runForever(), ::testing::ExitedWithCode(3), "did not end after the window was closed");
}

} // namespace
