#include <cmath>

#include "scene/effects.h"
#include "scene/step_timer.h"
#include "scene_fixture.h"

namespace {

TEST_F(SceneTest, StartFrameShowsOnlyTheDayBackgroundOnBlack)
{
    std::vector<uint32_t> frame = Frame(0.0f);
    int wrong = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            bool inside = x >= 20 && x < 620 && y >= 80 && y < 365;
            uint32_t expected = 0;
            if (inside && !InBackgroundCutOut(x - 20, y - 80)) expected = Marker(0, x - 20, y - 80);
            if (frame[y * 640 + x] != expected) ++wrong;
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(SceneTest, PicturesLoadInSlotOrderThenAllGetTheirKey)
{
    headless::StartCallLog();
    Frame(0.0f);
    std::vector<std::string> calls = LoggedCalls();
    std::vector<std::string> order;
    for (const std::string& call : calls)
        if (call.rfind("CreateSurface(offscreen", 0) == 0)
            order.push_back("load");
        else if (call.rfind("SetColorKey", 0) == 0)
            order.push_back("key");
    // Each load sets a provisional key of its own; magenta comes after all six.
    std::vector<std::string> expected;
    for (int slot = 0; slot < 6; ++slot)
        expected.insert(expected.end(), { "load", "key" });
    expected.insert(expected.end(), 6, "key");
    EXPECT_EQ(order, expected);
    const char* const names[6] = { "bg01.bmp", "bg02.bmp", "ch01.bmp", "koke.bmp", "mul.bmp", "chn.bmp" };
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_STREQ(imageTable[slot].fileName, names[slot]);
}

TEST_F(SceneTest, PicturesAreRequestedOnceEvenWhenOneIsMissing)
{
    std::filesystem::remove("mul.bmp");
    Frame(0.0f);
    EXPECT_EQ(imageTable[SPRITE_SLOT].loaded, 0);
    EXPECT_EQ(imageTable[EMBLEM_SLOT].loaded, 1);
    headless::StartCallLog();
    WritePictures();
    Frame(0.0f);
    EXPECT_TRUE(CallsStartingWith("CreateSurface").empty());
    EXPECT_EQ(imageTable[SPRITE_SLOT].loaded, 0);
    // Drawing the missing picture draws nothing of it.
    sceneState.spriteOn = 1;
    EXPECT_TRUE(BoxOf(Frame(0.0f), SPRITE_SLOT).Empty());
}

TEST_F(SceneTest, SwitchesAreComparedWithOne)
{
    sceneState.tilesOn = 2;
    sceneState.zoomOn = -1;
    sceneState.spriteOn = 7;
    sceneState.zoomWidth = sceneState.zoomHeight = 100;
    std::vector<uint32_t> frame = Frame(0.0f);
    EXPECT_TRUE(BoxOf(frame, TILE_SLOT).Empty());
    EXPECT_TRUE(BoxOf(frame, EMBLEM_SLOT).Empty());
    EXPECT_TRUE(BoxOf(frame, SPRITE_SLOT).Empty());
}

TEST_F(SceneTest, TwoSecondStepFiresEachTimerOnceAndGrowsTheZoomBy200)
{
    sceneState.captionOn = sceneState.spriteOn = sceneState.zoomOn = 1;
    sceneState.zoomTimer = 5.0f;
    Frame(2.0f);
    EXPECT_EQ(sceneState.captionLength, 2);
    EXPECT_EQ(sceneState.spriteFrame, 1);
    EXPECT_EQ(sceneState.stripWidth, 2);
    EXPECT_EQ(sceneState.captionTimer, 0.0f);
    EXPECT_EQ(sceneState.spriteTimer, 0.0f);
    EXPECT_EQ(sceneState.wipeTimer, 0.0f);
    EXPECT_EQ(sceneState.zoomTimer, 205.0f);
    EXPECT_EQ(sceneState.zoomWidth, 1);
}

TEST(StepTimer, FiresAtTheThresholdAndDiscardsTheExcess)
{
    FrameStep = 0.016f;
    float accumulator = 1.0f;
    EXPECT_FALSE(AdvanceStepTimer(accumulator, 80.0f, 3.0f, true));
    EXPECT_FLOAT_EQ(accumulator, 2.28f);
    EXPECT_TRUE(AdvanceStepTimer(accumulator, 80.0f, 3.0f, true));
    EXPECT_EQ(accumulator, 0.0f);
    // Without the reset the sum is kept and the timer fires every time.
    accumulator = 99.0f;
    EXPECT_TRUE(AdvanceStepTimer(accumulator, 100.0f, 100.0f, false));
    EXPECT_FLOAT_EQ(accumulator, 100.6f);
    EXPECT_TRUE(AdvanceStepTimer(accumulator, 100.0f, 100.0f, false));
}

TEST(StepTimer, ComparesTheSumBeforeItIsRounded)
{
    // Just below 3, by less than half a float step: stored as 3.0f, but
    // the timer does not fire in this frame; it does in the next.
    float accumulator = std::nextafter(3.0f, 0.0f);
    FrameStep = 1.5e-7f;
    EXPECT_FALSE(AdvanceStepTimer(accumulator, 1.0f, 3.0f, true));
    EXPECT_EQ(accumulator, 3.0f);
    FrameStep = 0.0f;
    EXPECT_TRUE(AdvanceStepTimer(accumulator, 1.0f, 3.0f, true));
}

TEST_F(SceneTest, WaveColumnsFollowTheSineFromPhaseZero)
{
    sceneState.backgroundMode = 2;
    sceneState.wavePhase = 359.0f;
    // 359 + 1.5 passes 360: the phase is 0 in this frame, not 0.5.
    std::vector<uint32_t> frame = Frame(0.005f);
    EXPECT_EQ(sceneState.wavePhase, 0.0f);
    struct Column {
        int c;
        int y;
    };
    for (Column column :
        { Column { 0, 80 }, Column { 10, 83 }, Column { 22, 84 }, Column { 45, 80 }, Column { 67, 76 } }) {
        SCOPED_TRACE(column.c);
        int x = 20 + column.c;
        int topRow = -1;
        for (int y = 0; y < 480 && topRow < 0; ++y) {
            MarkedPixel p = At(frame, x, y);
            if (p.slot == 0 && p.x == column.c && p.y == 20) topRow = y - 20;
        }
        EXPECT_EQ(topRow, column.y);
    }
}

TEST_F(SceneTest, WavePhaseAdvancesOnlyWhileTheWaveIsShown)
{
    sceneState.backgroundMode = 2;
    Frame(0.1f);
    EXPECT_FLOAT_EQ(sceneState.wavePhase, 30.0f);
    sceneState.backgroundMode = 1;
    std::vector<uint32_t> frame = Frame(0.1f);
    EXPECT_FLOAT_EQ(sceneState.wavePhase, 30.0f);
    EXPECT_EQ(At(frame, 20, 80).slot, BACKGROUND_EVENING_SLOT);
}

TEST_F(SceneTest, TilesShowThroughTheBackgroundsMagenta)
{
    sceneState.tilesOn = 1;
    std::vector<uint32_t> frame = Frame(0.0f);
    // The first tiled frame draws the grid at (0, 0).
    EXPECT_EQ(At(frame, 0, 0).slot, TILE_SLOT);
    MarkedPixel corner = At(frame, 17, 27);
    EXPECT_EQ(corner.slot, TILE_SLOT);
    EXPECT_EQ(corner.x, 2);
    EXPECT_EQ(corner.y, 2);
    EXPECT_EQ(At(frame, 20 + 150, 80 + 10).slot, TILE_SLOT);
    EXPECT_EQ(At(frame, 20 + 250, 80 + 10).slot, BACKGROUND_DAY_SLOT);
    EXPECT_EQ(At(frame, 639, 479).slot, TILE_SLOT);
}

TEST_F(SceneTest, TilesShowInTheWavesGapsAndCutOut)
{
    sceneState.tilesOn = 1;
    sceneState.backgroundMode = 2;
    sceneState.wavePhase = 359.0f;
    std::vector<uint32_t> frame = Frame(0.005f);
    // Column 22 moved down by 4: its old top rows show tiles.
    EXPECT_EQ(At(frame, 42, 81).slot, TILE_SLOT);
    EXPECT_EQ(At(frame, 42, 84).slot, BACKGROUND_DAY_SLOT);
    // Column 67 moved up by 4: tiles under its old bottom.
    EXPECT_EQ(At(frame, 87, 362).slot, TILE_SLOT);
    EXPECT_EQ(At(frame, 20 + 150, 84 + 5).slot, TILE_SLOT);
}

TEST_F(SceneTest, TileOffsetMovesAfterDrawingAndWrapsOneTileAFrame)
{
    sceneState.tilesOn = 1;
    sceneState.scrollX = -5.0f;
    sceneState.scrollY = -0.5f;
    std::vector<uint32_t> frame = Frame(2.0f);
    // Drawn at the old offset: x -5 and y -0.5 truncated to 0.
    EXPECT_EQ(At(frame, 0, 0).x, 5);
    EXPECT_EQ(At(frame, 0, 0).y, 0);
    // -5 + 40 = 35, one wrap: 20; -0.5 + 40 = 39.5, one wrap: 14.5.
    EXPECT_FLOAT_EQ(sceneState.scrollX, 20.0f);
    EXPECT_FLOAT_EQ(sceneState.scrollY, 14.5f);
    frame = Frame(0.0f);
    EXPECT_EQ(At(frame, 19, 400).slot, -1);
    EXPECT_EQ(At(frame, 20, 400).slot, TILE_SLOT);
    EXPECT_EQ(At(frame, 20, 400).x, 0);
    EXPECT_FLOAT_EQ(sceneState.scrollX, 5.0f);
    Frame(0.0f);
    EXPECT_FLOAT_EQ(sceneState.scrollX, -10.0f);
    Frame(0.0f);
    EXPECT_FLOAT_EQ(sceneState.scrollX, -10.0f);
}

TEST_F(SceneTest, TileWrapLeavesTheBoundsThemselvesAlone)
{
    sceneState.tilesOn = 1;
    sceneState.scrollX = -15.0f;
    sceneState.scrollY = 0.0f;
    Frame(0.0f);
    EXPECT_EQ(sceneState.scrollX, -15.0f);
    EXPECT_EQ(sceneState.scrollY, 0.0f);
    EXPECT_EQ(sceneState.tileRow, 21);
    EXPECT_EQ(sceneState.tileColumn, 44);
}

TEST_F(SceneTest, OutlandishStatesDrawSafely)
{
    sceneState.tilesOn = sceneState.spriteOn = sceneState.zoomOn = sceneState.captionOn = 1;
    sceneState.backgroundMode = 2;
    // Offsets no real frame reaches: the grid is simply off the screen.
    sceneState.scrollX = 3.0e12f;
    sceneState.scrollY = -3.0e12f;
    sceneState.mouseX = 65535;
    sceneState.mouseY = 65535;
    // A caption length past the working buffer still ends the text.
    sceneState.captionLength = 100000;
    std::vector<uint32_t> frame = Frame(0.0f);
    EXPECT_TRUE(BoxOf(frame, TILE_SLOT).Empty());
    EXPECT_TRUE(BoxOf(frame, SPRITE_SLOT).Empty());
    int red = 0;
    for (uint32_t pixel : frame)
        red += pixel == 0xFF0000;
    EXPECT_GT(red, 500);
    // A stall of the whole 32-bit tick range is absorbed in one step.
    sceneState.scrollX = sceneState.scrollY = 0.0f;
    frame = Frame(4294967.0f);
    EXPECT_EQ(sceneState.captionTimer, 0.0f);
    EXPECT_EQ(sceneState.wavePhase, 0.0f);
    EXPECT_FALSE(BoxOf(frame, BACKGROUND_DAY_SLOT).Empty());
}

} // namespace
