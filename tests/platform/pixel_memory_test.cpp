// Pixel memory ends against a guard page, so that a loop writing or reading
// past a surface faults there and then; and memory given back comes again
// at the same address, as the C library's allocator hands it out, so that
// a queue still holding the old pointer meets memory of another shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>

#include "common/pixel_memory.h"
#include "compose/blit_queue.h"
#include "pixels/pixel_values.h"

namespace {

using platform::PixelMemory;
namespace compose = platform::compose;
namespace pixels = platform::pixels;

// The back buffer's memory in either display format, as DirectDraw lays it
// out: 640 by 480 pixels, rows one cache line longer than packed.
constexpr int kWidth = 640, kHeight = 480;
constexpr int kPitch32 = 2624, kPitch16 = 1344;

size_t MappingCount()
{
    std::ifstream maps("/proc/self/maps");
    return size_t(std::count(std::istreambuf_iterator<char>(maps), std::istreambuf_iterator<char>(), '\n'));
}

TEST(PixelMemoryTest, IsZeroedAndReusedZeroedAtTheSameAddress)
{
    uint8_t* first = nullptr;
    {
        PixelMemory memory = PixelMemory::Allocate(10000);
        ASSERT_TRUE(memory);
        ASSERT_EQ(memory.Size(), 10000u);
        EXPECT_TRUE(std::all_of(memory.Data(), memory.Data() + 10000, [](uint8_t b) { return b == 0; }));
        std::memset(memory.Data(), 0xAB, memory.Size());
        first = memory.Data();
    }
    PixelMemory again = PixelMemory::Allocate(10000);
    ASSERT_TRUE(again);
    if (PixelMemory::Guarded()) {
        EXPECT_EQ(again.Data(), first);
    }
    EXPECT_TRUE(std::all_of(again.Data(), again.Data() + 10000, [](uint8_t b) { return b == 0; }))
        << "memory given back came again with its old content";
    EXPECT_FALSE(PixelMemory::Allocate(0));
}

TEST(PixelMemoryTest, MovingHandsTheBytesOverOnce)
{
    PixelMemory memory = PixelMemory::Allocate(300);
    uint8_t* data = memory.Data();
    PixelMemory moved = std::move(memory);
    EXPECT_FALSE(memory);
    EXPECT_EQ(moved.Data(), data);
    moved = PixelMemory::Allocate(50);
    EXPECT_EQ(moved.Size(), 50u);
}

TEST(PixelMemoryTest, ManyAllocationsOfChangingSizesKeepTheMappingsFew)
{
    const size_t before = MappingCount();
    for (int round = 0; round < 5000; ++round) {
        PixelMemory big = PixelMemory::Allocate(size_t(kPitch32) * kHeight);
        PixelMemory small = PixelMemory::Allocate(size_t(1 + round % 7) * 1000);
        ASSERT_TRUE(big && small);
        big.Data()[big.Size() - 1] = 1;
        small.Data()[0] = 1;
    }
    EXPECT_LT(MappingCount(), before + 40);
}

using PixelMemoryDeathTest = ::testing::Test;

TEST_F(PixelMemoryDeathTest, TheByteAfterTheEndIsGuarded)
{
    if (!PixelMemory::Guarded()) GTEST_SKIP() << "no page protection on this system";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (size_t bytes : { size_t(1), size_t(800), size_t(4096), size_t(kPitch16) * kHeight }) {
        PixelMemory memory = PixelMemory::Allocate(bytes);
        ASSERT_TRUE(memory);
        volatile uint8_t* data = memory.Data();
        data[bytes - 1] = 7; // the last byte is ours
        EXPECT_DEATH(data[bytes] = 7, "") << bytes << " bytes";
    }
}

// A surface given up while nothing waited for it, and its memory handed to
// a surface of the other display format: whatever the queue drew into the
// old one must not be taken for the new one's shape. Before this was
// mended, the fill below went out in 32-bit rows of the old pitch and ran
// half a frame past the new memory's end.
TEST(PixelMemoryTest, MemoryGivenUpAndTakenAgainAsAnotherShapeIsDrawnInTheNewShape)
{
    uint8_t* old = nullptr;
    {
        PixelMemory memory = PixelMemory::Allocate(size_t(kPitch32) * kHeight);
        const platform::PixelView window { memory.Data(), kWidth, kHeight, kPitch32, 4 };
        ASSERT_TRUE(compose::QueueFill(window, window.Bounds(), 0x00123456u));
        compose::Settle(window.pixels, compose::Touch::Read, 0, kHeight); // nothing waits now
        compose::Settle(window.pixels, compose::Touch::Discard, 0, kHeight); // the surface is released
        old = memory.Data();
    }
    PixelMemory memory = PixelMemory::Allocate(size_t(kPitch16) * kHeight);
    if (PixelMemory::Guarded()) {
        ASSERT_EQ(memory.Data(), old) << "the memory was not handed out again";
    }
    const platform::PixelView full { memory.Data(), kWidth, kHeight, kPitch16, 2 };
    ASSERT_TRUE(compose::QueueFill(full, full.Bounds(), 0xF81Fu));
    compose::Settle(full.pixels, compose::Touch::Read, 0, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(pixels::Load<uint16_t>(full.At(x, y)), 0xF81Fu) << x << "," << y;
    compose::Settle(full.pixels, compose::Touch::Discard, 0, kHeight);
}

// The same memory named as a raster of another shape while blits still
// wait for the old one: the memory was given up without a word, so what
// waits for the old shape is dropped, never drawn into the new one.
TEST(PixelMemoryTest, AnotherShapeAtTheSameMemoryDropsWhatWaitedForTheOld)
{
    PixelMemory memory = PixelMemory::Allocate(size_t(kPitch16) * kHeight);
    const platform::PixelView wide { memory.Data(), kWidth / 2, kHeight, kPitch16, 4 };
    ASSERT_TRUE(compose::QueueFill(wide, { 0, 0, kWidth / 2, kHeight / 2 }, 0x11111111u));
    const platform::PixelView full { memory.Data(), kWidth, kHeight, kPitch16, 2 };
    ASSERT_TRUE(compose::QueueFill(full, { 0, kHeight / 2, kWidth, kHeight }, 0x07E0u));
    compose::Settle(full.pixels, compose::Touch::Read, 0, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            ASSERT_EQ(pixels::Load<uint16_t>(full.At(x, y)), y < kHeight / 2 ? 0u : 0x07E0u) << x << "," << y;
    compose::Settle(full.pixels, compose::Touch::Discard, 0, kHeight);
}

} // namespace
