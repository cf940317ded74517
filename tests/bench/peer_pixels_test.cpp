// The SDL2 peer must draw what the program draws, or the benchmark's ratio
// compares different work. The caption is the one thing the peer takes
// ready-made, so it is left out of the comparison.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <testing/testing.h>

#include "fixed_scenes.h"
#include "memory_run.h"
#include "replay_run.h"
#include "sdl_peer.h"

namespace {

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

class PeerPixelsTest : public ::testing::TestWithParam<bench::DisplayMode> {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(bench::OpenProgramDisplay(GetParam(), error)) << error;
        ASSERT_TRUE(bench::RenderCaptionLayer(caption));
        ASSERT_TRUE(peer.Open(GetParam(), caption, error)) << error;
        captionBox
            = { caption.left, caption.top, caption.left + caption.image.width, caption.top + caption.image.height };
    }

    void TearDown() override { bench::CloseProgramDisplay(); }

    // Back-buffer pixels that differ outside `excluded`; also counts those
    // compared. The back buffers, not the screens: SDL widens 5-6-5 to the
    // window's 8-8-8 by another rounding rule than ours.
    int Differences(const bench::FixedScene& scene, const std::vector<Box>& excluded, int& compared)
    {
        bench::DrawProgramFrame(scene);
        bench::RawImage program;
        EXPECT_TRUE(bench::ReadProgramBackBuffer(program));
        peer.DrawFrame(scene);
        const SDL_Surface* back = peer.BackBuffer();
        const int bytes = program.bytesPerPixel;
        EXPECT_EQ(bytes, back->format->BytesPerPixel);
        const uint32_t colourBits = bytes == 4 ? 0xFFFFFFu : 0xFFFFu;
        int differences = 0;
        compared = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                bool skip = false;
                for (const Box& box : excluded)
                    skip = skip || box.Holds(x, y);
                if (skip) continue;
                ++compared;
                uint32_t ours = 0, theirs = 0;
                std::memcpy(&ours, program.bytes.data() + (size_t(y) * 640 + size_t(x)) * bytes, size_t(bytes));
                std::memcpy(&theirs, static_cast<const uint8_t*>(back->pixels) + ptrdiff_t(y) * back->pitch + x * bytes,
                    size_t(bytes));
                if ((ours & colourBits) != (theirs & colourBits) && differences++ == 0)
                    ADD_FAILURE() << "first difference at (" << x << ", " << y << "): program " << std::hex << ours
                                  << ", peer " << theirs;
            }
        return differences;
    }

    bench::CaptionLayer caption;
    bench::SdlPeer peer;
    Box captionBox;
};

TEST_P(PeerPixelsTest, EveryBenchSceneButTheCaptionIsPixelForPixelTheSame)
{
    for (bench::FixedScene scene : bench::BenchScenes()) {
        // The two nearest-neighbour rules agree at whole magnifications;
        // 480 of 50 pixels rounds some columns differently in SDL.
        if (scene.zoomSize >= 0) scene.zoomSize = 400;
        int compared = 0;
        EXPECT_EQ(Differences(scene, { captionBox }, compared), 0) << scene.name;
        EXPECT_GT(compared, 600 * 400) << scene.name;
    }
}

TEST_P(PeerPixelsTest, TheFullZoomDiffersAtMostInsideItsSquare)
{
    bench::FixedScene all = bench::BenchScenes().back();
    ASSERT_EQ(all.zoomSize, 480);
    int compared = 0;
    EXPECT_EQ(Differences(all, { captionBox, { 80, 0, 560, 480 } }, compared), 0);
    EXPECT_GT(compared, 160 * 480 - captionBox.right * 20);
}

TEST_P(PeerPixelsTest, TheCaptionLayerHoldsTheRedTextAndItsShadow)
{
    EXPECT_GE(caption.left, 20);
    EXPECT_LT(caption.left, 30);
    EXPECT_GE(caption.top, 430);
    EXPECT_LE(caption.top + caption.image.height, 431 + 17);
    EXPECT_GT(caption.image.width, 300);
}

// The fair floor counts each source pixel the finished frame shows once:
// the still background's pixels that are not its key, and, behind a zoom,
// only those the zoom leaves visible, plus every pixel of the zoomed square.
TEST_P(PeerPixelsTest, TheFairFloorCountsEachVisibleSourcePixelOnce)
{
    SDL_Surface* loaded = SDL_LoadBMP("bg01.bmp");
    ASSERT_NE(loaded, nullptr);
    const bool wide = GetParam() == bench::DisplayMode::Window32;
    SDL_Surface* background
        = SDL_ConvertSurfaceFormat(loaded, wide ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565, 0);
    SDL_FreeSurface(loaded);
    ASSERT_NE(background, nullptr);
    const uint32_t key = SDL_MapRGB(background->format, 255, 0, 255);
    const int bytes = background->format->BytesPerPixel;
    uint64_t shown = 0, shownBesideZoom = 0;
    for (int y = 0; y < 285; ++y)
        for (int x = 0; x < 600; ++x) {
            uint32_t value = 0;
            std::memcpy(&value,
                static_cast<const uint8_t*>(background->pixels) + ptrdiff_t(y) * background->pitch + x * bytes,
                size_t(bytes));
            if (value == key) continue;
            ++shown;
            // The background lies at (20, 80); a zoom of 480 covers x 80 to 559.
            if (20 + x < 80 || 20 + x >= 560) ++shownBesideZoom;
        }
    SDL_FreeSurface(background);
    EXPECT_EQ(peer.VisibleSourceBytes(bench::BenchScenes().front()), shown * uint64_t(bytes));
    EXPECT_EQ(peer.VisibleSourceBytes(bench::ZoomScene(480)), (shownBesideZoom + 50 * 50) * uint64_t(bytes));
    EXPECT_LT(shownBesideZoom, shown);
}

INSTANTIATE_TEST_SUITE_P(Modes, PeerPixelsTest,
    ::testing::Values(bench::DisplayMode::Window32, bench::DisplayMode::FullScreen16),
    [](const ::testing::TestParamInfo<bench::DisplayMode>& info) { return std::string(bench::ModeName(info.param)); });

// The memory run's script must be one that sample-replay takes and that
// ends with every frame drawn.
TEST(MemoryScriptTest, TheAllEffectsScriptRunsToItsLastFrame)
{
    replay::Result result;
    std::string error;
    ASSERT_TRUE(replay::Run(bench::AllEffectsScript(30), result, error)) << error;
    EXPECT_EQ(result.frames, 30);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.errors.empty());
}

} // namespace
