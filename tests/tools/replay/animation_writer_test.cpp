// Recordings written as animated WebP and read back as a browser shows them.
#include "animation_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "animation_file.h"

namespace {

headless::Capture Filled(int width, int height, uint32_t colour)
{
    headless::Capture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign(size_t(width) * size_t(height), colour);
    return picture;
}

std::string TempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

animation::Animation ReadBack(const std::string& path)
{
    animation::Animation read;
    std::string error;
    EXPECT_TRUE(animation::ReadAnimation(path, read, error)) << error;
    return read;
}

TEST(AnimationWriter, EveryFrameReadsBackExactlyForItsTime)
{
    std::string path = TempPath("animation_round_trip.webp");
    headless::Capture first = Filled(64, 48, 0x102030);
    for (int x = 0; x < 64; ++x)
        first.pixels[size_t(x) * 48 % first.pixels.size()] = uint32_t(x) * 0x030507;
    headless::Capture second = first;
    second.pixels[5 * 64 + 7] = 0xFF00FF; // one pixel changes: stored as a small patch
    headless::Capture third = Filled(64, 48, 0);

    replay::AnimationWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Open(path, error)) << error;
    ASSERT_TRUE(writer.Add(first, 40, error)) << error;
    ASSERT_TRUE(writer.Add(second, 40, error)) << error;
    ASSERT_TRUE(writer.Add(third, 100, error)) << error;
    ASSERT_TRUE(writer.Finish(error)) << error;

    animation::Animation read = ReadBack(path);
    EXPECT_EQ(read.width, 64);
    EXPECT_EQ(read.height, 48);
    EXPECT_EQ(read.loopCount, 0) << "loops for ever";
    ASSERT_EQ(read.frames.size(), 3u);
    EXPECT_EQ(read.frames[0].picture.pixels, first.pixels);
    EXPECT_EQ(read.frames[1].picture.pixels, second.pixels);
    EXPECT_EQ(read.frames[2].picture.pixels, third.pixels);
    EXPECT_EQ(read.frames[0].milliseconds, 40);
    EXPECT_EQ(read.frames[1].milliseconds, 40);
    EXPECT_EQ(read.frames[2].milliseconds, 100);
    std::filesystem::remove(path);
}

TEST(AnimationWriter, AnimationsDifferInTimeOrPixelsAreToldApart)
{
    std::string path = TempPath("animation_compare.webp");
    auto write = [&](std::vector<std::pair<uint32_t, uint32_t>> frames) {
        replay::AnimationWriter writer;
        std::string error;
        EXPECT_TRUE(writer.Open(path, error)) << error;
        for (auto [colour, milliseconds] : frames)
            EXPECT_TRUE(writer.Add(Filled(8, 8, colour), milliseconds, error)) << error;
        EXPECT_TRUE(writer.Finish(error)) << error;
        return ReadBack(path);
    };
    animation::Animation base = write({ { 1, 40 }, { 1, 40 }, { 2, 40 } });
    EXPECT_EQ(animation::Difference(base, write({ { 1, 80 }, { 2, 40 } })), "")
        << "the same picture twice is the same as once for twice as long";
    EXPECT_EQ(animation::Difference(base, write({ { 1, 40 }, { 2, 80 } })), "at 40 ms 64 pixels differ");
    EXPECT_EQ(animation::Difference(base, write({ { 1, 80 }, { 2, 80 } })), "it lasts 160 ms, not 120 ms");
    std::filesystem::remove(path);
}

TEST(AnimationWriter, RefusalsSayWhyAndLeaveNoFile)
{
    std::string error;
    replay::AnimationWriter unwritable;
    EXPECT_FALSE(unwritable.Open("/nonexistent-dir/x.webp", error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;

    std::string path = TempPath("animation_refused.webp");
    {
        replay::AnimationWriter writer;
        ASSERT_TRUE(writer.Open(path, error)) << error;
        ASSERT_TRUE(writer.Add(Filled(8, 8, 1), 40, error)) << error;
        EXPECT_FALSE(writer.Add(Filled(9, 8, 1), 40, error));
        EXPECT_EQ(error, "the picture is 9 by 8, the recording 8 by 8");
        EXPECT_FALSE(writer.Add(headless::Capture {}, 40, error));
        EXPECT_EQ(error, "the picture is empty");
        EXPECT_EQ(writer.Frames(), 1);
    }
    EXPECT_FALSE(std::filesystem::exists(path)) << "an unfinished recording leaves no file";

    replay::AnimationWriter empty;
    ASSERT_TRUE(empty.Open(path, error)) << error;
    EXPECT_FALSE(empty.Finish(error));
    EXPECT_EQ(error, "no frame was recorded");
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
