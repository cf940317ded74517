// The DirectSound object on the headless host: it holds the audio output
// while it lives and fails cleanly where there is none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <dsound.h>

#include "dsound/direct_sound.h"
#include "testing/testing.h"

namespace {

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

class DirectSoundTest : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }

    HWND CreateMainWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.lpszClassName = "Sound Test";
        RegisterClassA(&windowClass);
        return CreateWindowExA(0, "Sound Test", "test", WS_CAPTION, 0, 0, 640, 480, NULL, NULL, NULL, NULL);
    }
};

TEST_F(DirectSoundTest, CreateOpensTheOutputAndReleaseClosesIt)
{
    LPDIRECTSOUND sound = nullptr;
    ASSERT_EQ(DirectSoundCreate(NULL, &sound, NULL), DS_OK);
    ASSERT_NE(sound, nullptr);
    EXPECT_TRUE(headless::AudioOutputOpen());
    sound->AddRef();
    EXPECT_EQ(sound->Release(), 1u);
    EXPECT_TRUE(headless::AudioOutputOpen());
    // A second object shares the one open output.
    LPDIRECTSOUND second = nullptr;
    ASSERT_EQ(DirectSoundCreate(NULL, &second, NULL), DS_OK);
    EXPECT_EQ(sound->Release(), 0u);
    EXPECT_TRUE(headless::AudioOutputOpen());
    second->Release();
    EXPECT_FALSE(headless::AudioOutputOpen());
    EXPECT_EQ(platform::dsound::LiveObjectCount(), 0);
}

TEST_F(DirectSoundTest, NoSoundOrAFaultFailsWithNoObject)
{
    headless::SetNoSound();
    auto sound = reinterpret_cast<LPDIRECTSOUND>(0x1);
    EXPECT_EQ(DirectSoundCreate(NULL, &sound, NULL), DSERR_NODRIVER);
    EXPECT_EQ(sound, nullptr);
    EXPECT_FALSE(headless::AudioOutputOpen());

    headless::Reset();
    headless::FailNext("DirectSoundCreate");
    sound = reinterpret_cast<LPDIRECTSOUND>(0x1);
    EXPECT_EQ(DirectSoundCreate(NULL, &sound, NULL), DSERR_NODRIVER);
    EXPECT_EQ(sound, nullptr);
    EXPECT_FALSE(headless::AudioOutputOpen());
    EXPECT_EQ(platform::dsound::LiveObjectCount(), 0);
    // The fault was for one call only.
    ASSERT_EQ(DirectSoundCreate(NULL, &sound, NULL), DS_OK);
    sound->Release();
}

TEST_F(DirectSoundTest, BadArgumentsAreRefused)
{
    EXPECT_EQ(DirectSoundCreate(NULL, NULL, NULL), DSERR_INVALIDPARAM);
    auto sound = reinterpret_cast<LPDIRECTSOUND>(0x1);
    const GUID otherDevice = { 1, 2, 3, { 4, 5, 6, 7, 8, 9, 10, 11 } };
    EXPECT_EQ(DirectSoundCreate(&otherDevice, &sound, NULL), DSERR_NODRIVER);
    EXPECT_EQ(sound, nullptr);
    auto outer = reinterpret_cast<LPUNKNOWN>(0x1);
    sound = reinterpret_cast<LPDIRECTSOUND>(0x1);
    EXPECT_EQ(DirectSoundCreate(NULL, &sound, outer), DSERR_NOAGGREGATION);
    EXPECT_EQ(sound, nullptr);
    EXPECT_FALSE(headless::AudioOutputOpen());
}

TEST_F(DirectSoundTest, CooperativeLevelNeedsALiveWindowAndALevel)
{
    HWND window = CreateMainWindow();
    ASSERT_NE(window, nullptr);
    LPDIRECTSOUND sound = nullptr;
    ASSERT_EQ(DirectSoundCreate(NULL, &sound, NULL), DS_OK);
    EXPECT_EQ(sound->SetCooperativeLevel(NULL, DSSCL_NORMAL), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound->SetCooperativeLevel(window, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound->SetCooperativeLevel(window, 5), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound->SetCooperativeLevel(window, DSSCL_NORMAL), DS_OK);
    headless::FailNext("DirectSoundSetCooperativeLevel");
    EXPECT_NE(sound->SetCooperativeLevel(window, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(sound->SetCooperativeLevel(window, DSSCL_NORMAL), DS_OK);
    DestroyWindow(window);
    EXPECT_EQ(sound->SetCooperativeLevel(window, DSSCL_NORMAL), DSERR_INVALIDPARAM);
    sound->Release();
}

TEST_F(DirectSoundTest, CallsAreLogged)
{
    HWND window = CreateMainWindow();
    headless::StartCallLog();
    LPDIRECTSOUND sound = nullptr;
    ASSERT_EQ(DirectSoundCreate(NULL, &sound, NULL), DS_OK);
    sound->SetCooperativeLevel(window, DSSCL_NORMAL);
    sound->Release();
    const std::vector<std::string> expected = { "DirectSoundCreate", "SetCooperativeLevel(sound)", "Release(sound)" };
    EXPECT_EQ(headless::CallLog(), expected);
}

TEST_F(DirectSoundTest, ObjectsAbandonedByAResetDoNotCloseTheNewOutput)
{
    LPDIRECTSOUND old = nullptr;
    ASSERT_EQ(DirectSoundCreate(NULL, &old, NULL), DS_OK);
    headless::Reset();
    LPDIRECTSOUND fresh = nullptr;
    ASSERT_EQ(DirectSoundCreate(NULL, &fresh, NULL), DS_OK);
    old->Release();
    EXPECT_TRUE(headless::AudioOutputOpen());
    fresh->Release();
    EXPECT_FALSE(headless::AudioOutputOpen());
}

} // namespace
