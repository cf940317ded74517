#include <algorithm>

#include "display/windowed_display.h"
#include "program_fixture.h"
#include "sound/sound_device.h"

namespace {

class SoundTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        soundObject = NULL;
    }

    static int IndexOf(const std::vector<std::string>& calls, const std::string& entry)
    {
        auto at = std::find(calls.begin(), calls.end(), entry);
        return at == calls.end() ? -1 : int(at - calls.begin());
    }
};

TEST_F(SoundTest, ClosingReleasesTheSoundBeforeTheDisplay)
{
    CreateMainWindow();
    ASSERT_TRUE(InitWindowedDisplay());
    EXPECT_TRUE(InitSound(mainWindow));
    ASSERT_NE(soundObject, nullptr);
    EXPECT_TRUE(headless::AudioOutputOpen());
    headless::StartCallLog();
    DestroyWindow(mainWindow);
    std::vector<std::string> calls = LoggedCalls();
    int sound = IndexOf(calls, "Release(sound)");
    int display = IndexOf(calls, "Release(clipper)");
    ASSERT_GE(sound, 0);
    ASSERT_GE(display, 0);
    EXPECT_LT(sound, display);
    EXPECT_FALSE(headless::AudioOutputOpen());
    EXPECT_TRUE(headless::MessageBoxesShown().empty());
}

TEST_F(SoundTest, NoDeviceIsReportedOnceAndStartUpGoesOn)
{
    headless::SetNoSound();
    CreateMainWindow();
    ASSERT_TRUE(InitWindowedDisplay());
    EXPECT_TRUE(InitSound(mainWindow));
    EXPECT_EQ(soundObject, nullptr);
    ASSERT_EQ(headless::MessageBoxesShown().size(), 1u);
    // Nothing left to release, and nothing to crash on.
    ReleaseSound();
}

} // namespace
