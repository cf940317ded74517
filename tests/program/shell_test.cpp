#include "display/release_display.h"
#include "program_fixture.h"
#include "replay_run.h"

using ShellTest = ProgramTest;

TEST_F(ShellTest, FrameStepSurvivesTheTickCounterWrap)
{
    EXPECT_FLOAT_EQ(ComputeFrameStep(5, 0xFFFFFFF0u), 0.021f);
    EXPECT_FLOAT_EQ(ComputeFrameStep(2000, 0), 2.0f);
    EXPECT_EQ(ComputeFrameStep(7, 7), 0.0f);
}

TEST_F(ShellTest, ClientAreaLocksTo640By480WhateverTheMenuBarTakes)
{
    for (int barHeight : { 20, 40, 0 }) {
        SCOPED_TRACE(barHeight);
        SetUp();
        headless::SetMenuBarHeight(barHeight);
        CreateMainWindow();
        RECT client;
        ASSERT_TRUE(GetClientRect(mainWindow, &client));
        EXPECT_EQ(client.right - client.left, 640);
        EXPECT_EQ(client.bottom - client.top, 480);
        RECT outer;
        GetWindowRect(mainWindow, &outer);
        EXPECT_EQ(outer.bottom - outer.top, 480 + barHeight);
    }
}

TEST_F(ShellTest, CreationEmptiesTheImageTable)
{
    imageTable[0].loaded = 1;
    imageTable[99].loaded = 1;
    imageTable[99].surface = reinterpret_cast<IDirectDrawSurface*>(0x1);
    CreateMainWindow();
    EXPECT_EQ(imageTable[0].loaded, 0);
    EXPECT_EQ(imageTable[99].loaded, 0);
    EXPECT_EQ(imageTable[99].surface, nullptr);
}

TEST_F(ShellTest, FailedDirectDrawShowsOneBoxAndEndsWithoutAFrame)
{
    replay::Result result;
    std::string error;
    ASSERT_TRUE(replay::Run("fail DirectDrawCreate\nframe 5\n", result, error)) << error;
    ASSERT_EQ(headless::MessageBoxesShown().size(), 1u);
    EXPECT_EQ(headless::MessageBoxesShown()[0].captionUtf8, "");
    EXPECT_EQ(headless::MessageBoxesShown()[0].textUtf8,
        "\xE3\x83\x80\xE3\x82\xA4\xE3\x83\xAC\xE3\x82\xAF\xE3\x83\x88"
        "\xE3\x83\x89\xE3\x83\xAD\xE3\x83\xBC\xE3\x81\xAE\xE5\x88\x9D"
        "\xE6\x9C\x9F\xE5\x8C\x96\xE3\x81\xAB\xE5\xA4\xB1\xE6\x95\x97");
    EXPECT_EQ(result.frames, 0);
    EXPECT_EQ(result.exitCode, 0);
}

TEST_F(ShellTest, ClosingTheWindowReleasesTheDisplayAndExitsZero)
{
    replay::Result result;
    std::string error;
    ASSERT_TRUE(replay::Run("frame 3\nclose\nframe 3\n", result, error)) << error;
    EXPECT_EQ(result.frames, 3);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(displayContext.directDraw, nullptr);
    EXPECT_TRUE(headless::MessageBoxesShown().empty());
}

TEST_F(ShellTest, PostedMessagesAreAllHandledBeforeTheNextFrame)
{
    // Many keys queued before one frame: the frame comes only after all of
    // them, and the close posted among them ends the run before it.
    replay::Result result;
    std::string error;
    std::string script = "frame 2\n";
    for (int i = 0; i < 50; ++i)
        script += "key 0x41\n";
    script += "close\nframe 1\n";
    ASSERT_TRUE(replay::Run(script, result, error)) << error;
    EXPECT_EQ(result.frames, 2);
    EXPECT_EQ(result.exitCode, 0);
}

TEST_F(ShellTest, ExitQuestionAnsweredYesQuitsWithTheDevicesStillHeld)
{
    replay::Result result;
    std::string error;
    ASSERT_TRUE(replay::Run("frame 2\nanswer yes\nmenu 40001\nframe 5\n", result, error)) << error;
    EXPECT_EQ(result.frames, 2);
    EXPECT_EQ(result.exitCode, 0);
    ASSERT_EQ(headless::MessageBoxesShown().size(), 1u);
    EXPECT_EQ(headless::MessageBoxesShown()[0].answer, IDYES);
    // The quit message skips WM_DESTROY: nothing was released.
    EXPECT_NE(displayContext.directDraw, nullptr);
    EXPECT_NE(displayContext.primary, nullptr);
    ReleaseDisplay();
}

TEST_F(ShellTest, ExitQuestionAnsweredNoRunsOn)
{
    replay::Result result;
    std::string error;
    ASSERT_TRUE(replay::Run("answer no\nmenu 40001\nframe 5\n", result, error)) << error;
    EXPECT_EQ(result.frames, 5);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(headless::MessageBoxesShown().size(), 1u);
    EXPECT_EQ(displayContext.directDraw, nullptr);
}

TEST_F(ShellTest, EscapeClosesAtOnceAndReleasesTheDisplay)
{
    replay::Result result;
    std::string error;
    ASSERT_TRUE(replay::Run("frame 1\nkey ESC\nframe 5\n", result, error)) << error;
    EXPECT_EQ(result.frames, 1);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(headless::MessageBoxesShown().empty());
    EXPECT_EQ(displayContext.directDraw, nullptr);
}
