// Blits that wait in the queue must end exactly as blits done at once: the
// same random scripts of every kind of blit, with reads, GDI, writes to the
// sources and presentations in between, run both ways, in both display
// formats, in each vector set the processor has, with either way of storing
// a partly keyed vector and with either store kind.
#include "ddraw_fake_host.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "compose/blit_queue.h"
#include "compose/testing_hooks.h"
#include "pixels/presentation_stores.h"
#include "pixels/testing_hooks.h"

#include "loop_cases.h"

namespace ddraw_test {
namespace {

namespace pixels = platform::pixels;

struct Case {
    LoopCase loops;
    bool fullScreen; // 16-bit pixels, presented onto the full-screen primary
    pixels::PresentationStores storeKind; // of the presentations
};

std::string CaseName(const ::testing::TestParamInfo<Case>& info)
{
    return LoopCaseName(info.param.loops) + (info.param.fullScreen ? "Full16" : "Window32")
        + (info.param.storeKind == pixels::PresentationStores::Streaming ? "Streaming" : "Ordinary");
}

constexpr int kOddWidth = 203, kOddHeight = 77;

class BlitQueueTest : public DirectDrawTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override
    {
        HoldLoops(GetParam().loops);
        if (IsSkipped()) return;
        DirectDrawTest::SetUp();
        pixels::HoldPresentationStores(GetParam().storeKind);
    }

    void TearDown() override
    {
        ReleaseLoops();
        pixels::HoldPresentationStores(std::nullopt);
        platform::compose::SetBlitsWait(true);
        DirectDrawTest::TearDown();
    }

    // The surfaces of one run.
    struct Scene {
        HWND window = nullptr;
        IDirectDraw2* directDraw = nullptr;
        IDirectDrawSurface* primary = nullptr;
        IDirectDrawSurface* target = nullptr; // 640 by 480
        IDirectDrawSurface* odd = nullptr; // an odd size, to copy out of
        IDirectDrawSurface* copy = nullptr; // its size, to copy into
        IDirectDrawSurface* sources[4] = {};
        std::vector<IDirectDrawSurface*> made;

        ~Scene()
        {
            for (auto it = made.rbegin(); it != made.rend(); ++it)
                (*it)->Release();
            if (directDraw != nullptr) directDraw->Release();
            if (window != nullptr) DestroyWindow(window);
        }
    };

    void Open(Scene& scene)
    {
        scene.window = CreateTopLevelWindow(100, 50, 640, 480);
        const bool full = GetParam().fullScreen;
        scene.directDraw = CreateDirectDraw2(full ? DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE : DDSCL_NORMAL, scene.window);
        ASSERT_NE(scene.directDraw, nullptr);
        if (full) {
            ASSERT_EQ(scene.directDraw->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
            DDSURFACEDESC description = {};
            description.dwSize = sizeof(description);
            description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
            description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
            description.dwBackBufferCount = 1;
            ASSERT_EQ(scene.directDraw->CreateSurface(&description, &scene.primary, NULL), DD_OK);
            scene.made.push_back(scene.primary);
            DDSCAPS caps = { DDSCAPS_BACKBUFFER };
            ASSERT_EQ(scene.primary->GetAttachedSurface(&caps, &scene.target), DD_OK);
            scene.made.push_back(scene.target);
        } else {
            scene.primary = CreatePrimary(scene.directDraw);
            scene.made.push_back(scene.primary);
            IDirectDrawClipper* clipper = nullptr;
            ASSERT_EQ(scene.directDraw->CreateClipper(0, &clipper, NULL), DD_OK);
            clipper->SetHWnd(0, scene.window);
            scene.primary->SetClipper(clipper);
            clipper->Release();
            scene.target = Make(scene, 640, 480, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
        }
        scene.odd = Make(scene, kOddWidth, kOddHeight);
        scene.copy = Make(scene, kOddWidth, kOddHeight);
        const int sizes[4][2] = { { 60, 45 }, { 15, 25 }, { 600, 40 }, { 7, 300 } };
        for (int i = 0; i < 4; ++i)
            scene.sources[i] = Make(scene, DWORD(sizes[i][0]), DWORD(sizes[i][1]));
    }

    IDirectDrawSurface* Make(Scene& scene, DWORD width, DWORD height, DWORD caps = DDSCAPS_OFFSCREENPLAIN)
    {
        scene.made.push_back(CreateOffscreen(scene.directDraw, width, height, caps));
        return scene.made.back();
    }

    uint32_t Mask() const { return GetParam().fullScreen ? 0xFFFFu : 0xFFFFFFFFu; }
    uint32_t Key() const { return GetParam().fullScreen ? 0xF81Fu : 0x00FF00FFu; }

    // Runs the script of `seed` with blits waiting or not, and returns every
    // picture it read: surfaces by Lock, pixels by GDI, what was presented.
    std::vector<std::vector<uint32_t>> Run(uint32_t seed, bool wait)
    {
        platform::compose::SetBlitsWait(wait);
        std::vector<std::vector<uint32_t>> seen;
        Scene scene;
        Open(scene);
        if (HasFatalFailure()) return seen;
        std::mt19937 random(seed);
        auto below = [&](int limit) { return limit <= 0 ? 0 : int(random() % uint32_t(limit)); };
        auto pixel = [&] { return below(3) == 0 ? Key() : uint32_t(random()) & Mask(); };
        for (IDirectDrawSurface* source : scene.sources) {
            WritePixels(source, [&](int, int) { return pixel(); });
            DDCOLORKEY key = { Key(), Key() };
            source->SetColorKey(DDCKEY_SRCBLT, &key);
        }
        Fill(scene.target, NULL, 0x123456 & Mask());

        for (int step = 0; step < 80; ++step) {
            IDirectDrawSurface* target = below(6) == 0 ? scene.odd : scene.target;
            const int targetWidth = target == scene.odd ? kOddWidth : 640;
            const int targetHeight = target == scene.odd ? kOddHeight : 480;
            const int pick = below(4);
            IDirectDrawSurface* source = scene.sources[pick];
            DDSURFACEDESC description = {};
            description.dwSize = sizeof(description);
            source->GetSurfaceDesc(&description);
            const int sourceWidth = int(description.dwWidth), sourceHeight = int(description.dwHeight);
            // A rectangle of the source, and a place for it on the target
            // (now and then partly outside, which must fail alike).
            const int left = below(sourceWidth), top = below(sourceHeight);
            RECT from = { left, top, left + 1 + below(sourceWidth - left), top + 1 + below(sourceHeight - top) };
            const int x = below(targetWidth + 20) - 10, y = below(targetHeight + 20) - 10;
            switch (below(13)) {
            case 0: { // a fill, now and then of the whole surface
                RECT area = { below(targetWidth), below(targetHeight), 0, 0 };
                area.right = area.left + 1 + below(targetWidth - area.left);
                area.bottom = area.top + 1 + below(targetHeight - area.top);
                const bool whole = below(4) == 0;
                Fill(target, whole ? NULL : &area, random() & Mask());
                break;
            }
            case 1:
            case 2:
                target->BltFast(DWORD(x), DWORD(y), source, &from, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
                break;
            case 3:
                target->BltFast(DWORD(x), DWORD(y), source, &from, DDBLTFAST_WAIT);
                break;
            case 4: { // a stretch, within the target
                RECT to = { below(targetWidth), below(targetHeight), 0, 0 };
                to.right = to.left + 1 + below(targetWidth - int(to.left));
                to.bottom = to.top + 1 + below(targetHeight - int(to.top));
                target->Blt(&to, source, &from, DDBLT_WAIT, NULL);
                break;
            }
            case 5: { // a grid of tiles, some cut at the edges
                const int width = int(from.right - from.left), height = int(from.bottom - from.top);
                const int originX = -below(width), originY = -below(height);
                for (int row = 0; originY + row * height < targetHeight; ++row)
                    for (int column = 0; originX + column * width < targetWidth; ++column) {
                        RECT tile = from;
                        int tileX = originX + column * width, tileY = originY + row * height;
                        if (tileX < 0) tile.left -= tileX, tileX = 0;
                        if (tileY < 0) tile.top -= tileY, tileY = 0;
                        tile.right = std::min<LONG>(tile.right, tile.left + targetWidth - tileX);
                        tile.bottom = std::min<LONG>(tile.bottom, tile.top + targetHeight - tileY);
                        target->BltFast(
                            DWORD(tileX), DWORD(tileY), source, &tile, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
                    }
                break;
            }
            case 6: { // a wave of one-pixel columns, left to right or back, cut at the target's edges
                const int count = 1 + below(sourceWidth - left), phase = below(90);
                const bool leftward = below(3) == 0;
                for (int step = 0; step < count; ++step) {
                    const int column = leftward ? count - 1 - step : step;
                    RECT one = { left + column, from.top, left + column + 1, from.bottom };
                    const int shift = int(5 * std::sin((4 * column + phase) * 0.01744)) + below(2);
                    int atY = y + shift;
                    if (atY < 0) one.top -= atY, atY = 0;
                    one.bottom = std::min<LONG>(one.bottom, one.top + targetHeight - atY);
                    if (one.bottom <= one.top) continue;
                    target->BltFast(
                        DWORD(x + column), DWORD(atY), source, &one, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
                }
                break;
            }
            case 7: { // GDI reads a pixel, writes one and some text
                HDC context = nullptr;
                if (target->GetDC(&context) != DD_OK) break;
                const int readX = below(targetWidth), readY = below(targetHeight);
                seen.push_back({ GetPixel(context, readX, readY) });
                const int writeX = below(targetWidth), writeY = below(targetHeight), red = below(256);
                SetPixel(context, writeX, writeY, RGB(red, 0, 255 - red));
                SetBkMode(context, below(2) == 0 ? TRANSPARENT : OPAQUE);
                SetTextColor(context, RGB(255, red, 0));
                TextOutA(context, x, y, "Wave", 4);
                target->ReleaseDC(context);
                break;
            }
            case 8: // a source changes, or its key does
                if (below(2) == 0) {
                    Fill(source, NULL, random() & Mask());
                } else {
                    DDCOLORKEY key = { Key(), Key() + uint32_t(below(3)) };
                    source->SetColorKey(DDCKEY_SRCBLT, &key);
                }
                break;
            case 9:
                seen.push_back(ReadPixels(target));
                break;
            case 11: { // straight onto the screen, in part: a fill, a keyed copy or a stretch
                if (below(2) == 0) {
                    seen.push_back(Present(scene));
                    break;
                }
                const int screenX = GetParam().fullScreen ? 0 : 100, screenY = GetParam().fullScreen ? 0 : 50;
                const int atX = std::clamp(x, 0, 600), atY = std::clamp(y, 0, 440);
                RECT area = { screenX + atX, screenY + atY, screenX + atX + 1 + below(640 - atX),
                    screenY + atY + 1 + below(480 - atY) };
                const int kind = below(3);
                if (kind == 0)
                    Fill(scene.primary, &area, random() & Mask());
                else if (kind == 1)
                    scene.primary->BltFast(
                        DWORD(area.left), DWORD(area.top), source, &from, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
                else
                    scene.primary->Blt(&area, source, &from, DDBLT_WAIT, NULL);
                seen.push_back(Shown(scene));
                break;
            }
            case 10: { // a copy out of the odd surface, part of it
                RECT part = { below(kOddWidth), below(kOddHeight), kOddWidth, kOddHeight };
                if (below(2) == 0) part = { 0, 0, kOddWidth, kOddHeight };
                const bool corner = below(2) == 0;
                scene.copy->BltFast(
                    corner ? 0 : DWORD(part.left), corner ? 0 : DWORD(part.top), scene.odd, &part, DDBLTFAST_WAIT);
                seen.push_back(ReadPixels(scene.copy));
                break;
            }
            default:
                seen.push_back(Present(scene));
            }
        }
        seen.push_back(ReadPixels(scene.target));
        seen.push_back(ReadPixels(scene.odd));
        seen.push_back(Present(scene));
        return seen;
    }

    // The frame as the program presents it, and what the screen then shows.
    std::vector<uint32_t> Present(Scene& scene)
    {
        RECT whole = { 0, 0, 640, 480 };
        if (GetParam().fullScreen) {
            scene.primary->BltFast(0, 0, scene.target, &whole, DDBLTFAST_WAIT);
            return ReadPixels(scene.primary);
        }
        RECT client = { 100, 50, 740, 530 };
        scene.primary->Blt(&client, scene.target, &whole, DDBLT_WAIT, NULL);
        return Shown(scene);
    }

    // What the screen shows: the client area, or the full-screen primary.
    std::vector<uint32_t> Shown(Scene& scene)
    {
        if (GetParam().fullScreen) return ReadPixels(scene.primary);
        return platform::user::ClientPicture();
    }
};

INSTANTIATE_TEST_SUITE_P(Loops, BlitQueueTest,
    ::testing::Values(Case { { pixels::VectorSet::Portable, pixels::KeyedStores::Blend }, false,
                          pixels::PresentationStores::Ordinary },
        Case {
            { pixels::VectorSet::Portable, pixels::KeyedStores::Blend }, true, pixels::PresentationStores::Streaming },
        Case { { pixels::VectorSet::Sse2, pixels::KeyedStores::Blend }, false, pixels::PresentationStores::Ordinary },
        Case { { pixels::VectorSet::Sse2, pixels::KeyedStores::Blend }, true, pixels::PresentationStores::Streaming },
        Case { { pixels::VectorSet::Avx2, pixels::KeyedStores::Masked }, false, pixels::PresentationStores::Ordinary },
        Case { { pixels::VectorSet::Avx2, pixels::KeyedStores::Blend }, false, pixels::PresentationStores::Streaming },
        Case { { pixels::VectorSet::Avx2, pixels::KeyedStores::Blend }, true, pixels::PresentationStores::Ordinary },
        Case {
            { pixels::VectorSet::Avx512, pixels::KeyedStores::Masked }, false, pixels::PresentationStores::Ordinary },
        Case { { pixels::VectorSet::Avx512, pixels::KeyedStores::Masked }, true, pixels::PresentationStores::Ordinary },
        Case {
            { pixels::VectorSet::Avx512, pixels::KeyedStores::Blend }, false, pixels::PresentationStores::Streaming },
        Case { { pixels::VectorSet::Avx512, pixels::KeyedStores::Blend }, true, pixels::PresentationStores::Ordinary },
        Case { { pixels::VectorSet::WasmSimd128, pixels::KeyedStores::Blend }, false,
            pixels::PresentationStores::Ordinary },
        Case { { pixels::VectorSet::WasmSimd128, pixels::KeyedStores::Blend }, true,
            pixels::PresentationStores::Streaming }),
    CaseName);

// The same scripts on a screen whose client memory moves at every change
// and comes with what is to be overwritten spoilt: every write goes to the
// memory just lent, covers all it promised, and every change is told.
TEST_P(BlitQueueTest, AScreenWhoseMemoryMovesEveryChangeShowsTheSame)
{
    for (uint32_t seed : { 5u, 6u }) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::vector<std::vector<uint32_t>> staying = Run(seed, true);
        host.movesClientMemory = true;
        const std::vector<std::vector<uint32_t>> moving = Run(seed, true);
        host.movesClientMemory = false;
        ASSERT_EQ(staying.size(), moving.size());
        for (size_t i = 0; i < staying.size(); ++i)
            ASSERT_EQ(staying[i], moving[i]) << "read " << i;
    }
}

TEST_P(BlitQueueTest, WaitingBlitsEndAsBlitsDoneAtOnce)
{
    for (uint32_t seed : { 1u, 2u, 3u, 4u }) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::vector<std::vector<uint32_t>> atOnce = Run(seed, false);
        const std::vector<std::vector<uint32_t>> waiting = Run(seed, true);
        ASSERT_EQ(atOnce.size(), waiting.size());
        for (size_t i = 0; i < atOnce.size(); ++i) {
            ASSERT_EQ(atOnce[i].size(), waiting[i].size()) << "read " << i;
            for (size_t p = 0; p < atOnce[i].size(); ++p)
                ASSERT_EQ(atOnce[i][p], waiting[i][p]) << "read " << i << ", pixel " << p;
        }
    }
}

} // namespace
} // namespace ddraw_test
