// A lost display in a window, with the wave, the tiles and the sprite on:
// over 1,500 copies of the frame that notices it fail, yet each picture is
// read from its file once, and the next frame is whole.
#include <algorithm>

#include "scene/effects.h"
#include "scene_fixture.h"

namespace {

class LossRecoveryTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        sceneState.backgroundMode = 2;
        sceneState.tilesOn = 1;
        sceneState.spriteOn = 1;
        sceneState.mouseX = 300;
        sceneState.mouseY = 200;
    }

    static size_t Loads(const std::string& file) { return CallsStartingWith("LoadImageA(" + file + ")").size(); }
};

TEST_F(LossRecoveryTest, EachPictureIsReadOnceAndTheNextFrameIsWhole)
{
    Frame(0.0f);
    PresentFrame();
    std::vector<uint32_t> whole = Frame(0.0f);
    PresentFrame();

    headless::LoseDisplay();
    headless::StartCallLog();
    Frame(0.0f);
    EXPECT_EQ(Loads("koke.bmp"), 1u);
    EXPECT_EQ(Loads("bg01.bmp"), 1u);
    EXPECT_EQ(Loads("mul.bmp"), 1u);
    EXPECT_EQ(CallsStartingWith("LoadImageA").size(), 3u);
    // The first failed copy restores the primary, then the picture's surface,
    // then reads the picture; the back buffer waits for the presentation.
    std::vector<std::string> log = LoggedCalls();
    auto firstLoad = std::find(log.begin(), log.end(), "LoadImageA(koke.bmp)");
    ASSERT_NE(firstLoad, log.end());
    std::vector<std::string> restores;
    for (auto entry = log.begin(); entry != firstLoad; ++entry)
        if (entry->rfind("Restore(", 0) == 0) restores.push_back(*entry);
    EXPECT_EQ(restores, (std::vector<std::string> { "Restore(primary)", "Restore(offscreen)" }));
    EXPECT_TRUE(CallsStartingWith("Restore(backbuffer)").empty());

    PresentFrame();
    EXPECT_EQ(CallsStartingWith("Restore(backbuffer)").size(), 1u);
    headless::ClearCallLog();
    EXPECT_EQ(Frame(0.0f), whole);
    EXPECT_TRUE(CallsStartingWith("LoadImageA").empty());
    EXPECT_TRUE(CallsStartingWith("Restore").empty());
}

// A picture that cannot be read again stays with its restored surface, and
// the frames after the loss still try it only once each loss.
TEST_F(LossRecoveryTest, APictureGoneAfterTheLossIsTriedOncePerLoss)
{
    Frame(0.0f);
    PresentFrame();
    std::filesystem::remove("koke.bmp");
    for (int loss = 0; loss < 2; ++loss) {
        headless::LoseDisplay();
        headless::StartCallLog();
        Frame(0.0f);
        PresentFrame();
        Frame(0.0f);
        EXPECT_EQ(Loads("koke.bmp"), 1u) << "loss " << loss;
        EXPECT_EQ(imageTable[TILE_SLOT].loaded, 1);
        headless::ClearCallLog();
    }
}

} // namespace
