// A replay script played against the headless host, with the test standing
// in for the program's message loop.
#include "replay_session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "animation_file.h"
#include "common/diagnostics.h"
#include "testing/testing.h"

namespace {

using platform::host::HeadlessHost;
using platform::host::InputEvent;
using platform::host::MessageBoxButtons;
using replay::ReplayCommand;
using replay::ReplaySession;

std::vector<ReplayCommand> Parse(const std::string& text)
{
    std::vector<ReplayCommand> commands;
    std::string error;
    EXPECT_TRUE(replay::ParseReplayScript(text, commands, error)) << error;
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

    // Stands in for the program's loop: every idle turn that lets a frame
    // through shows a picture of one colour, 1 for the first frame, 2 for
    // the next, until `frames` have been shown.
    void ShowFrames(int frames)
    {
        for (int turns = 0; shown < frames && turns < 100 * frames; ++turns) {
            if (!host.Idle()) continue;
            const platform::PixelView lent
                = host.Lend(platform::host::Screen::Client, 4, 3, platform::Rectangle { 0, 0, 4, 3 });
            ASSERT_NE(lent.pixels, nullptr);
            ++shown;
            for (int y = 0; y < 3; ++y)
                std::fill_n(reinterpret_cast<uint32_t*>(lent.pixels + y * lent.pitch), 4, uint32_t(shown));
            host.Changed(platform::host::Screen::Client, platform::Rectangle { 0, 0, 4, 3 });
        }
        ASSERT_EQ(shown, frames);
    }

    HeadlessHost& host = platform::host::TheHeadlessHost();
    std::vector<std::string> printed;
    int shown = 0;
};

std::string TempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

// Each frame's colour and how long it shows.
std::vector<std::pair<uint32_t, int>> Recorded(const std::string& path)
{
    animation::Animation recorded;
    std::string error;
    EXPECT_TRUE(animation::ReadAnimation(path, recorded, error)) << error;
    std::vector<std::pair<uint32_t, int>> frames;
    for (const animation::Frame& frame : recorded.frames)
        frames.emplace_back(frame.picture.At(0, 0), frame.milliseconds);
    return frames;
}

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

TEST_F(ReplaySessionTest, ARecordingHoldsEachFrameAsShownAndGoesOnAcrossInput)
{
    std::string path = TempPath("replay_session_recording.webp");
    std::filesystem::remove(path);
    std::string script = "record " + path + " 3 50\nmouse 1 2\nrecord " + path + " 2 20\nframe\n";
    ReplaySession session(host, Parse(script), nullptr);
    session.Begin();
    ShowFrames(3);
    EXPECT_EQ(host.TickCount(), 0x10000u + 150) << "the clock moves on 50 ms before each recorded frame";
    EXPECT_FALSE(std::filesystem::exists(path) && std::filesystem::file_size(path) > 0)
        << "the next record line may still continue it";
    ShowFrames(5);
    EXPECT_EQ(Poll().size(), 1u) << "the mouse line between the two record lines";
    EXPECT_EQ(host.TickCount(), 0x10000u + 190);
    ShowFrames(6); // the frame line ends the recording before its frame
    std::vector<std::pair<uint32_t, int>> expected = { { 1, 50 }, { 2, 50 }, { 3, 50 }, { 4, 20 }, { 5, 20 } };
    EXPECT_EQ(Recorded(path), expected);
    EXPECT_TRUE(session.Errors().empty());
    std::filesystem::remove(path);
}

TEST_F(ReplaySessionTest, ARecordingOpenWhenTheProgramEndsKeepsWhatWasDrawn)
{
    std::string path = TempPath("replay_session_cut_short.webp");
    ReplaySession session(host, Parse("record " + path + " 1000\n"), nullptr);
    session.Begin();
    ShowFrames(3); // the third is captured on the idle turn after it, which never comes
    session.Finish(0);
    std::vector<std::pair<uint32_t, int>> expected = { { 1, 40 }, { 2, 40 } };
    EXPECT_EQ(Recorded(path), expected) << "frames of 40 ms unless the line says otherwise";
    std::filesystem::remove(path);
}

TEST_F(ReplaySessionTest, AnUnwritableRecordingIsReportedWithItsLineAndTheFramesStillCome)
{
    ReplaySession session(host, Parse("frame\nrecord /nonexistent-dir/a.webp 4 20\n"), nullptr);
    session.Begin();
    ShowFrames(5);
    session.Finish(0);
    ASSERT_EQ(session.Errors().size(), 1u);
    EXPECT_EQ(session.Errors()[0], "line 2: cannot write /nonexistent-dir/a.webp: No such file or directory");
    EXPECT_EQ(host.TickCount(), 0x10000u + 16 + 80);
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
