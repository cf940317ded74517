// One-pixel keyed copies may wait and be done together; whatever reads or
// writes either surface next must see them done, in order.
#include "ddraw_fake_host.h"

namespace ddraw_test {
namespace {

constexpr uint32_t kKey = 0xFF00FF;
constexpr int kWidth = 40, kHeight = 30;

class ColumnQueueTest : public DirectDrawTest {
protected:
    void SetUp() override
    {
        DirectDrawTest::SetUp();
        window = CreateTopLevelWindow(100, 50, 640, 480);
        directDraw = CreateDirectDraw2(DDSCL_NORMAL, window);
        ASSERT_NE(directDraw, nullptr);
        source = Offscreen(kWidth, kHeight);
        target = Offscreen(kWidth, kHeight + 10);
        WritePixels(source, Picture);
        DDCOLORKEY key = { kKey, kKey };
        ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
        ASSERT_EQ(Fill(target, NULL, 0x101010), DD_OK);
    }

    void TearDown() override
    {
        for (IDirectDrawSurface* surface : made)
            if (surface != nullptr) surface->Release();
        if (directDraw != nullptr) directDraw->Release();
        EXPECT_EQ(platform::ddraw::LiveObjectCount(), 0);
        DirectDrawTest::TearDown();
    }

    IDirectDrawSurface* Offscreen(DWORD width, DWORD height)
    {
        made.push_back(CreateOffscreen(directDraw, width, height));
        return made.back();
    }

    // Pixels tell where they came from; every fifth is the key.
    static uint32_t Picture(int x, int y)
    {
        return (x + y) % 5 == 0 ? kKey : 0x01000000u | uint32_t(x) << 12 | uint32_t(y);
    }

    // How far down the wave moves column x.
    static int Shift(int x) { return (x * 7) % 11; }

    // Column x of the source, rows 0 .. height - 1, to column x of the
    // target, moved down by Shift(x).
    HRESULT CopyColumn(IDirectDrawSurface* to, int x, int height = kHeight)
    {
        RECT column = { x, 0, x + 1, height };
        return to->BltFast(DWORD(x), DWORD(Shift(x)), source, &column, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
    }

    // What CopyColumn over `columns` makes of a target filled with `ground`.
    static std::vector<uint32_t> Expected(const std::vector<int>& columns, uint32_t ground, int height = kHeight)
    {
        std::vector<uint32_t> pixels(size_t(kWidth) * (kHeight + 10), ground);
        for (int x : columns)
            for (int y = 0; y < height; ++y)
                if (Picture(x, y) != kKey) pixels[size_t(y + Shift(x)) * kWidth + x] = Picture(x, y);
        return pixels;
    }

    static std::vector<int> Range(int from, int to, int step = 1)
    {
        std::vector<int> columns;
        for (int x = from; step > 0 ? x < to : x > to; x += step)
            columns.push_back(x);
        return columns;
    }

    HWND window = nullptr;
    IDirectDraw2* directDraw = nullptr;
    IDirectDrawSurface* source = nullptr;
    IDirectDrawSurface* target = nullptr;
    std::vector<IDirectDrawSurface*> made;
};

TEST_F(ColumnQueueTest, ColumnsInAnyOrderEndAsIfDoneOneByOne)
{
    // Left to right, right to left, and with gaps and repeats: a column
    // drawn twice onto the same place must not be lost or doubled.
    const std::vector<std::vector<int>> orders
        = { Range(0, kWidth), Range(kWidth - 1, -1, -1), { 3, 9, 4, 4, 20, 21, 22, 0, 39, 38 } };
    for (const std::vector<int>& order : orders) {
        ASSERT_EQ(Fill(target, NULL, 0x101010), DD_OK);
        for (int x : order)
            ASSERT_EQ(CopyColumn(target, x), DD_OK);
        EXPECT_EQ(ReadPixels(target), Expected(order, 0x101010));
    }

    // Onto the same place from another source column: the later copy wins
    // wherever it is not the key.
    ASSERT_EQ(Fill(target, NULL, 0x101010), DD_OK);
    for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(CopyColumn(target, x), DD_OK);
    RECT neighbour = { 6, 0, 7, kHeight };
    ASSERT_EQ(target->BltFast(5, DWORD(Shift(5)), source, &neighbour, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    std::vector<uint32_t> expected = Expected(Range(0, kWidth), 0x101010);
    for (int y = 0; y < kHeight; ++y)
        if (Picture(6, y) != kKey) expected[size_t(y + Shift(5)) * kWidth + 5] = Picture(6, y);
    EXPECT_EQ(ReadPixels(target), expected);
}

// Columns taken right to left, and columns cut at the target's top and
// bottom (each then reads other source rows, for another height), join as
// columns taken left to right do, and end as if copied one by one.
TEST_F(ColumnQueueTest, ColumnsRightToLeftOrCutAtTheEdgesEndAsIfDoneOneByOne)
{
    IDirectDrawSurface* low = Offscreen(kWidth, 20);
    for (bool leftward : { false, true }) {
        ASSERT_EQ(Fill(low, NULL, 0x101010), DD_OK);
        std::vector<uint32_t> expected(size_t(kWidth) * 20, 0x101010);
        for (int step = 0; step < kWidth; ++step) {
            const int x = leftward ? kWidth - 1 - step : step;
            // Moved up by 0 to 10 rows and cut at row 0, or down and cut at
            // the bottom.
            const int y = (x * 5) % 21 - 10;
            RECT column = { x, 0, x + 1, kHeight };
            int atY = y;
            if (atY < 0) column.top -= atY, atY = 0;
            column.bottom = std::min<LONG>(column.bottom, column.top + 20 - atY);
            ASSERT_EQ(
                low->BltFast(DWORD(x), DWORD(atY), source, &column, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
            for (int row = column.top; row < column.bottom; ++row)
                if (Picture(x, row) != kKey) expected[size_t(atY + row - column.top) * kWidth + x] = Picture(x, row);
        }
        EXPECT_EQ(ReadPixels(low), expected) << (leftward ? "right to left" : "left to right");
    }
}

TEST_F(ColumnQueueTest, ColumnsOfDifferentHeightsKeysAndTargets)
{
    IDirectDrawSurface* other = Offscreen(kWidth, kHeight + 10);
    ASSERT_EQ(Fill(other, NULL, 0x202020), DD_OK);
    // Alternating targets, and a change of key half way.
    for (int x = 0; x < kWidth; ++x) {
        ASSERT_EQ(CopyColumn(x % 2 == 0 ? target : other, x, x <= 20 ? kHeight : 9), DD_OK);
        if (x == 20) {
            DDCOLORKEY none = { 0x123456, 0x123456 };
            ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &none), DD_OK);
        }
    }
    std::vector<uint32_t> even = Expected(Range(0, 21, 2), 0x101010);
    std::vector<uint32_t> odd = Expected(Range(1, 20, 2), 0x202020);
    // After the change the old key colour is drawn like any other.
    for (int x = 21; x < kWidth; ++x)
        for (int y = 0; y < 9; ++y)
            (x % 2 == 0 ? even : odd)[size_t(y + Shift(x)) * kWidth + x] = Picture(x, y);
    EXPECT_EQ(ReadPixels(target), even);
    EXPECT_EQ(ReadPixels(other), odd);
}

TEST_F(ColumnQueueTest, LaterWritesToTheTargetWinAndLaterReadsSeeTheColumns)
{
    for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(CopyColumn(target, x), DD_OK);
    // A fill after the columns covers them.
    RECT band = { 0, 5, kWidth, 8 };
    ASSERT_EQ(Fill(target, &band, 0x303030), DD_OK);
    std::vector<uint32_t> expected = Expected(Range(0, kWidth), 0x101010);
    for (int y = 5; y < 8; ++y)
        for (int x = 0; x < kWidth; ++x)
            expected[size_t(y) * kWidth + x] = 0x303030;
    EXPECT_EQ(ReadPixels(target), expected);

    // A copy out of the target sees the columns.
    ASSERT_EQ(Fill(target, NULL, 0x101010), DD_OK);
    for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(CopyColumn(target, x), DD_OK);
    IDirectDrawSurface* copy = Offscreen(kWidth, kHeight + 10);
    ASSERT_EQ(copy->BltFast(0, 0, target, NULL, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(ReadPixels(copy), Expected(Range(0, kWidth), 0x101010));

    // So does GDI, through the target's device context.
    ASSERT_EQ(Fill(target, NULL, 0x101010), DD_OK);
    ASSERT_EQ(CopyColumn(target, 1), DD_OK);
    HDC context = nullptr;
    ASSERT_EQ(target->GetDC(&context), DD_OK);
    const uint32_t raw = Picture(1, 2);
    const COLORREF seen = GetPixel(context, 1, 2 + Shift(1));
    EXPECT_EQ(seen, RGB((raw >> 16) & 0xFF, (raw >> 8) & 0xFF, raw & 0xFF));
    ASSERT_EQ(target->ReleaseDC(context), DD_OK);
}

TEST_F(ColumnQueueTest, ColumnsTakeTheSourceAsItWasWhenTheyWereAskedFor)
{
    for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(CopyColumn(target, x), DD_OK);
    // Writing the source afterwards, by fill or by lock, changes nothing already asked for.
    ASSERT_EQ(Fill(source, NULL, 0x404040), DD_OK);
    EXPECT_EQ(ReadPixels(target), Expected(Range(0, kWidth), 0x101010));

    WritePixels(source, Picture);
    ASSERT_EQ(Fill(target, NULL, 0x101010), DD_OK);
    for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(CopyColumn(target, x), DD_OK);
    WritePixels(source, [](int, int) { return 0x505050u; });
    EXPECT_EQ(ReadPixels(target), Expected(Range(0, kWidth), 0x101010));

    // The same when the source is released before the target is read.
    WritePixels(source, Picture);
    ASSERT_EQ(Fill(target, NULL, 0x101010), DD_OK);
    for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(CopyColumn(target, x), DD_OK);
    source->Release();
    made[0] = nullptr;
    EXPECT_EQ(ReadPixels(target), Expected(Range(0, kWidth), 0x101010));
}

TEST_F(ColumnQueueTest, ReleasedOrLostTargetsTakeNoLateWrites)
{
    // Released with columns waiting: nothing is written after its memory is gone
    // (the sanitizer build would see it), and the next copies go on normally.
    for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(CopyColumn(target, x), DD_OK);
    target->Release();
    made[1] = nullptr;
    IDirectDrawSurface* next = Offscreen(kWidth, kHeight + 10);
    ASSERT_EQ(Fill(next, NULL, 0x101010), DD_OK);
    for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(CopyColumn(next, x), DD_OK);
    EXPECT_EQ(ReadPixels(next), Expected(Range(0, kWidth), 0x101010));

    // Lost with columns waiting: the restored surface shows the restore
    // pattern, not columns written over it afterwards.
    IDirectDrawSurface* clean = Offscreen(kWidth, kHeight + 10);
    ASSERT_EQ(Fill(clean, NULL, 0x101010), DD_OK);
    platform::screens::LoseDisplay();
    for (IDirectDrawSurface* surface : made)
        if (surface != nullptr) {
            ASSERT_EQ(surface->Restore(), DD_OK);
        }
    ASSERT_EQ(Fill(next, NULL, 0x101010), DD_OK);
    WritePixels(source, Picture);
    for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(CopyColumn(next, x), DD_OK);
    platform::screens::LoseDisplay();
    ASSERT_EQ(next->Restore(), DD_OK);
    ASSERT_EQ(clean->Restore(), DD_OK);
    EXPECT_EQ(ReadPixels(next), ReadPixels(clean));
}

TEST_F(ColumnQueueTest, ColumnsOntoThePrimaryAreShownAtOnce)
{
    DDSURFACEDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface* primary = nullptr;
    ASSERT_EQ(directDraw->CreateSurface(&description, &primary, NULL), DD_OK);
    made.push_back(primary);
    IDirectDrawClipper* clipper = nullptr;
    ASSERT_EQ(directDraw->CreateClipper(0, &clipper, NULL), DD_OK);
    ASSERT_EQ(clipper->SetHWnd(0, window), DD_OK);
    ASSERT_EQ(primary->SetClipper(clipper), DD_OK);
    clipper->Release();
    FillClient(0x101010);
    const int before = host.presentations;
    RECT column = { 3, 0, 4, kHeight };
    ASSERT_EQ(primary->BltFast(100 + 3, 50, source, &column, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    EXPECT_GT(host.presentations, before);
    // The window keeps colour only.
    EXPECT_EQ(ClientPixel(3, 1), Picture(3, 1) & 0xFFFFFFu);
    EXPECT_EQ(ClientPixel(3, 2), 0x101010u); // (3 + 2) % 5 == 0: the key
}

} // namespace
} // namespace ddraw_test
