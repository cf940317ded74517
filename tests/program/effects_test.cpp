#include <cstring>

#include "display/drawing.h"
#include "scene/effects.h"
#include "scene_fixture.h"
#include "shell/input.h"

namespace {

// Columns 0..379 that show the character, as a string of '#' and '.'.
std::string CharacterColumns(const std::vector<uint32_t>& frame)
{
    std::string columns;
    for (int x = 0; x < 380; ++x) {
        MarkedPixel p = Decode(frame[400 * 640 + x]);
        columns += (p.slot == CHARACTER_SLOT && p.x == x && p.y == 400) ? '#' : '.';
    }
    return columns;
}

std::string Strips(int width)
{
    std::string columns;
    for (int x = 0; x < 380; ++x)
        columns += (x % 10) < width ? '#' : '.';
    return columns;
}

// 80 * 0.04 = 3.2: every frame fires the wipe's timer.
constexpr float kFiringStep = 0.04f;

class StripWipeTest : public SceneTest { };

TEST_F(StripWipeTest, AtStartNothingIsDrawnWhileTheStripsGrowTo11)
{
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(BoxOf(Frame(kFiringStep), CHARACTER_SLOT).Empty());
    EXPECT_EQ(sceneState.stripWidth, 11);
}

TEST_F(StripWipeTest, RevealsStripByStripThenInOnePieceAndHidesBack)
{
    for (int i = 0; i < 12; ++i)
        Frame(kFiringStep);
    Menu(IDM_CHARACTER);
    EXPECT_EQ(sceneState.stripWidth, 1);
    // A frame that does not fire shows one-pixel strips.
    EXPECT_EQ(CharacterColumns(Frame(0.0f)), Strips(1));
    for (int width = 2; width <= 10; ++width) {
        SCOPED_TRACE(width);
        EXPECT_EQ(CharacterColumns(Frame(kFiringStep)), Strips(width));
        EXPECT_EQ(sceneState.wipeRevealed, width == 10 ? 1 : 0);
    }
    std::vector<uint32_t> whole = Frame(kFiringStep);
    EXPECT_EQ(sceneState.stripWidth, 11);
    Box box = BoxOf(whole, CHARACTER_SLOT);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 380);
    EXPECT_EQ(box.bottom, 480);

    Menu(IDM_CHARACTER);
    EXPECT_EQ(CharacterColumns(Frame(0.0f)), Strips(9));
    EXPECT_EQ(CharacterColumns(Frame(kFiringStep)), Strips(8));
    EXPECT_EQ(CharacterColumns(Frame(kFiringStep)), Strips(7));
    for (int width = 4; width <= 9; ++width)
        Frame(kFiringStep);
    EXPECT_EQ(sceneState.stripWidth, 9);
    EXPECT_EQ(CharacterColumns(Frame(kFiringStep)), Strips(0));
    EXPECT_EQ(sceneState.wipeRevealed, 0);
    EXPECT_TRUE(BoxOf(Frame(kFiringStep), CHARACTER_SLOT).Empty());
}

TEST_F(StripWipeTest, ARevealToggledBackEarlyVanishesAtOnce)
{
    Menu(IDM_CHARACTER);
    Frame(kFiringStep);
    EXPECT_EQ(CharacterColumns(Frame(kFiringStep)), Strips(3));
    Menu(IDM_CHARACTER);
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(BoxOf(Frame(kFiringStep), CHARACTER_SLOT).Empty());
    EXPECT_EQ(sceneState.wipeRevealed, 0);
}

TEST_F(SceneTest, ZoomDrawsCentredAndTurnsAt480)
{
    sceneState.zoomOn = 1;
    // The first second of zoom time draws an empty rectangle.
    EXPECT_TRUE(BoxOf(Frame(0.5f), EMBLEM_SLOT).Empty());
    EXPECT_TRUE(BoxOf(Frame(0.4f), EMBLEM_SLOT).Empty());
    EXPECT_EQ(sceneState.zoomWidth, 0);
    Frame(0.1f);
    EXPECT_EQ(sceneState.zoomWidth, 1);
    std::vector<uint32_t> frame = Frame(0.0f);
    Box one = BoxOf(frame, EMBLEM_SLOT);
    EXPECT_EQ(one.left, 319);
    EXPECT_EQ(one.top, 239);
    EXPECT_EQ(one.right, 320);
    EXPECT_EQ(one.bottom, 240);
    // Once past one second it steps in every frame, however short.
    EXPECT_EQ(sceneState.zoomWidth, 2);

    sceneState.zoomWidth = sceneState.zoomHeight = 479;
    Frame(0.0f);
    EXPECT_EQ(sceneState.zoomWidth, 480);
    EXPECT_EQ(sceneState.zoomStep, -1);
    frame = Frame(0.0f);
    Box full = BoxOf(frame, EMBLEM_SLOT);
    EXPECT_EQ(full.left, 80);
    EXPECT_EQ(full.top, 0);
    EXPECT_EQ(full.right, 560);
    EXPECT_EQ(full.bottom, 480);
    MarkedPixel last = At(frame, 559, 479);
    EXPECT_EQ(last.x, 49);
    EXPECT_EQ(last.y, 49);
    EXPECT_EQ(sceneState.zoomWidth, 479);
}

TEST_F(SceneTest, ZoomRunsDownToZeroAndGrowsAgain)
{
    sceneState.zoomOn = 1;
    sceneState.zoomTimer = 100.0f;
    sceneState.zoomWidth = sceneState.zoomHeight = 1;
    sceneState.zoomStep = -1;
    Frame(0.0f);
    EXPECT_EQ(sceneState.zoomWidth, 0);
    EXPECT_EQ(sceneState.zoomStep, 1);
    Frame(0.0f);
    EXPECT_EQ(sceneState.zoomWidth, 1);
    EXPECT_EQ(sceneState.zoomHeight, 1);
}

TEST_F(SceneTest, SpriteFollowsTheMouseAndIsClippedAtTheEdge)
{
    sceneState.spriteOn = 1;
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(600, 450));
    std::vector<uint32_t> frame = Frame(0.0f);
    Box box = BoxOf(frame, SPRITE_SLOT);
    EXPECT_EQ(box.left, 600);
    EXPECT_EQ(box.top, 450);
    EXPECT_EQ(box.right, 640);
    EXPECT_EQ(box.bottom, 480);
    EXPECT_EQ(At(frame, 639, 479).x, 39);
    EXPECT_EQ(At(frame, 639, 479).y, 29);
}

TEST_F(SceneTest, SpriteFramesRunZeroOneTwoAndBack)
{
    sceneState.spriteOn = 1;
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 100));
    for (int expected : { 1, 2, 0, 1 }) {
        std::vector<uint32_t> frame = Frame(kFiringStep);
        EXPECT_EQ(sceneState.spriteFrame, expected);
        EXPECT_EQ(At(frame, 10, 100).y, 100 * expected);
    }
}

// The red pixels of the caption area, as a picture of their own.
std::vector<bool> RedPixels(const std::vector<uint32_t>& frame)
{
    std::vector<bool> red;
    for (int y = 420; y < 460; ++y)
        for (int x = 0; x < 640; ++x)
            red.push_back(frame[y * 640 + x] == 0xFF0000);
    return red;
}

std::vector<bool> RedPixelsOfText(const char* text)
{
    ClearBackBuffer();
    DrawTextLine(text, 16, 21, 431, 0, 0, 0);
    DrawTextLine(text, 16, 20, 430, 255, 0, 0);
    return RedPixels(ReadBackBuffer());
}

int Count(const std::vector<bool>& pixels) { return int(std::count(pixels.begin(), pixels.end(), true)); }

TEST_F(SceneTest, CaptionTypesOneCharacterPerStepAndStopsAt70)
{
    EXPECT_EQ(std::strlen(captionText), 68u);
    Menu(IDM_TEXT);
    // 80 * 0.016 is below 3: the line is still empty.
    EXPECT_EQ(Count(RedPixels(Frame(0.016f))), 0);
    sceneState.captionLength = 10;
    std::vector<bool> five = RedPixels(Frame(0.0f));
    EXPECT_GT(Count(five), 50);
    EXPECT_EQ(five, RedPixelsOfText("上下でＤＤ"));

    sceneState.captionLength = 68;
    std::vector<bool> whole = RedPixels(Frame(0.0f));
    EXPECT_EQ(whole, RedPixelsOfText(captionText));
    EXPECT_EQ(RedPixels(Frame(kFiringStep)), whole);
    EXPECT_EQ(sceneState.captionLength, 70);
    Frame(kFiringStep);
    EXPECT_EQ(sceneState.captionLength, 70);
}

TEST_F(SceneTest, CaptionShadowLiesBelowRightOfTheFace)
{
    Menu(IDM_TEXT);
    sceneState.captionLength = 2;
    // Over the tiles the black shadow shows: a red pixel whose lower right
    // neighbour is not red has the shadow there.
    sceneState.tilesOn = 1;
    std::vector<uint32_t> frame = Frame(0.0f);
    int shadowed = 0;
    for (int y = 430; y < 450; ++y)
        for (int x = 20; x < 40; ++x)
            if (frame[y * 640 + x] == 0xFF0000 && frame[(y + 1) * 640 + x + 1] != 0xFF0000) {
                EXPECT_EQ(frame[(y + 1) * 640 + x + 1], 0u);
                ++shadowed;
            }
    EXPECT_GT(shadowed, 0);
}

TEST_F(SceneTest, CaptionOffAndOnTypesAfresh)
{
    Menu(IDM_TEXT);
    Frame(kFiringStep);
    Frame(kFiringStep);
    EXPECT_EQ(sceneState.captionLength, 4);
    Menu(IDM_TEXT);
    EXPECT_EQ(sceneState.captionLength, 0);
    Frame(kFiringStep);
    EXPECT_EQ(sceneState.captionLength, 0);
    Menu(IDM_TEXT);
    EXPECT_EQ(Count(RedPixels(Frame(0.0f))), 0);
}

} // namespace
