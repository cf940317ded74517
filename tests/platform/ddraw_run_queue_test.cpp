// Keyed copies of one rectangle side by side wait as one run of copies,
// however the row of them is cut at its ends; copies that do not continue
// the run start another. Each row must end as the copies done one by one.
#include "ddraw_fake_host.h"

#include "compose/blit_queue.h"
#include "compose/testing_hooks.h"

namespace ddraw_test {
namespace {

constexpr uint32_t kKey = 0xFF00FF;
constexpr int kSourceWidth = 30, kSourceHeight = 12;
constexpr int kTargetWidth = 200, kTargetHeight = 40;

class RunQueueTest : public DirectDrawTest {
protected:
    void SetUp() override
    {
        DirectDrawTest::SetUp();
        window = CreateTopLevelWindow(100, 50, 640, 480);
        directDraw = CreateDirectDraw2(DDSCL_NORMAL, window);
        ASSERT_NE(directDraw, nullptr);
        source = CreateOffscreen(directDraw, kSourceWidth, kSourceHeight);
        target = CreateOffscreen(directDraw, kTargetWidth, kTargetHeight);
        // Every third pixel of a row is the key; the rest tell where they came from.
        WritePixels(
            source, [](int x, int y) { return (x + 2 * y) % 3 == 0 ? kKey : 0x01000000u | uint32_t(x << 8 | y); });
        DDCOLORKEY key = { kKey, kKey };
        ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    }

    void TearDown() override
    {
        platform::compose::SetBlitsWait(true);
        if (target != nullptr) target->Release();
        if (source != nullptr) source->Release();
        if (directDraw != nullptr) directDraw->Release();
        DirectDrawTest::TearDown();
    }

    // A keyed copy of source columns left .. right - 1, rows 2 .. 9, to (x, y).
    struct Copy {
        int x, y, left, right;
    };

    // The target after the copies, the copies waiting or done at once.
    std::vector<uint32_t> Draw(const std::vector<Copy>& copies, bool wait)
    {
        platform::compose::SetBlitsWait(wait);
        EXPECT_EQ(Fill(target, NULL, 0x202020), DD_OK);
        for (const Copy& copy : copies) {
            RECT part = { copy.left, 2, copy.right, 10 };
            EXPECT_EQ(
                target->BltFast(DWORD(copy.x), DWORD(copy.y), source, &part, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT),
                DD_OK);
        }
        return ReadPixels(target);
    }

    void ExpectSameEitherWay(const std::vector<Copy>& copies)
    {
        const std::vector<uint32_t> atOnce = Draw(copies, false);
        const std::vector<uint32_t> waiting = Draw(copies, true);
        ASSERT_EQ(atOnce.size(), waiting.size());
        for (size_t i = 0; i < atOnce.size(); ++i)
            ASSERT_EQ(atOnce[i], waiting[i]) << "pixel " << i % kTargetWidth << ", " << i / kTargetWidth;
    }

    // A row of copies of source columns 4 .. 23 from `x` on, cut to the
    // target's columns 0 .. right - 1 as a program clipping to the target
    // would cut it.
    static std::vector<Copy> RowOfCopies(int x, int y, int right)
    {
        std::vector<Copy> copies;
        for (int at = x; at < right; at += 20) {
            Copy copy { at, y, 4, 24 };
            if (copy.x < 0) copy.left -= copy.x, copy.x = 0;
            copy.right = std::min(copy.right, copy.left + right - copy.x);
            if (copy.right > copy.left) copies.push_back(copy);
        }
        return copies;
    }

    HWND window = nullptr;
    IDirectDraw2* directDraw = nullptr;
    IDirectDrawSurface* source = nullptr;
    IDirectDrawSurface* target = nullptr;
};

TEST_F(RunQueueTest, RowsOfCopiesCutAtEitherEndEndAsCopiesDoneOneByOne)
{
    // Every cut at the start, with and without one at the end.
    for (int x = -19; x <= 0; ++x)
        for (int right : { 200, 193, 181 })
            ExpectSameEitherWay(RowOfCopies(x, 3, right));
    // Several rows, as a pattern over the whole target, some repeating the
    // row above's run.
    std::vector<Copy> pattern;
    for (int y = -5; y + 8 <= kTargetHeight; y += 8)
        for (const Copy& copy : RowOfCopies(-7, std::max(y, 0), 200))
            pattern.push_back(copy);
    ExpectSameEitherWay(pattern);
}

TEST_F(RunQueueTest, CopiesThatDoNotContinueARunStartAnother)
{
    // A copy from the rectangle's middle after a whole one; a cut copy
    // followed by one that does not take up where it stopped; a copy wider
    // than what is left of the rectangle; copies of another rectangle, and
    // copies on other rows, in between.
    ExpectSameEitherWay({ { 0, 0, 4, 24 }, { 20, 0, 10, 24 }, { 34, 0, 4, 24 }, { 54, 0, 4, 14 }, { 64, 0, 4, 24 },
        { 84, 0, 14, 29 }, { 99, 0, 4, 24 }, { 119, 1, 4, 24 }, { 139, 1, 0, 30 }, { 169, 1, 4, 24 } });
    // A run cut at its start, then continued, cut again in the middle and
    // continued from where it stopped.
    ExpectSameEitherWay({ { 0, 5, 15, 24 }, { 9, 5, 4, 24 }, { 29, 5, 4, 13 }, { 38, 5, 13, 24 }, { 49, 5, 4, 24 } });
}

} // namespace
} // namespace ddraw_test
