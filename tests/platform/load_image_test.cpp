// LoadImageA on what a folder may hold under a picture's name: FIFOs,
// devices, directories, links to them, hostile files. Each is refused
// without blocking, and the user is told which file and why on standard error.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>

#include <windows.h>

#include "gdi/testing_hooks.h"
#include "gdi_test_support.h"

using namespace gdi_test;

namespace {

class LoadImageTest : public ::testing::Test {
protected:
    void SetUp() override { platform::gdi::ResetForTesting(); }

    // Loads `path`, expecting a refusal, and returns what went to stderr.
    static std::string RefusalMessage(const std::string& path)
    {
        ::testing::internal::CaptureStderr();
        HBITMAP bitmap = LoadBitmapFile(path);
        std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(bitmap, nullptr) << path;
        if (bitmap != nullptr) DeleteObject(bitmap);
        return said;
    }

    static std::string Line(const std::string& path, const std::string& reason)
    {
        return "platform: LoadImageA: " + path + ": " + reason + "\n";
    }

    TemporaryDirectory directory_;
};

// An 8-bit run-length file of `width` by `height` whose data ends the
// bitmap at once, padded to `dataBytes`.
std::vector<uint8_t> RunLengthFile(int32_t width, int32_t height, size_t dataBytes)
{
    const size_t offset = 14 + 40 + 256 * 4;
    std::vector<uint8_t> file(offset + dataBytes, 0);
    auto put32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = uint8_t(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, uint32_t(file.size()));
    put32(10, uint32_t(offset));
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    file[26] = 1; // planes
    file[28] = 8; // bits a pixel
    file[30] = 1; // BI_RLE8
    file[offset + 1] = 1; // end of bitmap
    return file;
}

TEST_F(LoadImageTest, AFifoIsRefusedWithoutWaitingForAWriter)
{
    std::string fifo = (directory_.path() / "bg01.bmp").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ::testing::internal::CaptureStderr();
    auto loading = std::async(std::launch::async, [&] { return LoadBitmapFile(fifo); });
    if (loading.wait_for(std::chrono::milliseconds(500)) != std::future_status::ready) {
        // Let the blocked open finish before failing, so the test ends.
        int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) close(writer);
        loading.wait();
        ::testing::internal::GetCapturedStderr();
        FAIL() << "LoadImageA blocked on a FIFO";
    }
    EXPECT_EQ(loading.get(), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), Line(fifo, "not a regular file (a FIFO)"));

    std::string link = (directory_.path() / "link.bmp").string();
    ASSERT_EQ(symlink(fifo.c_str(), link.c_str()), 0);
    EXPECT_EQ(RefusalMessage(link), Line(link, "not a regular file (a FIFO)"));
}

TEST_F(LoadImageTest, DirectoriesAndDevicesAreRefusedUnread)
{
    std::string folder = (directory_.path() / "koke.bmp").string();
    std::filesystem::create_directory(folder);
    EXPECT_EQ(RefusalMessage(folder), Line(folder, "not a regular file (a directory)"));
    EXPECT_EQ(RefusalMessage("/dev/null"), Line("/dev/null", "not a regular file (a device)"));
    // /dev/zero would never end if it were read.
    std::string link = (directory_.path() / "mul.bmp").string();
    ASSERT_EQ(symlink("/dev/zero", link.c_str()), 0);
    EXPECT_EQ(RefusalMessage(link), Line(link, "not a regular file (a device)"));
}

TEST_F(LoadImageTest, EachRefusalNamesTheFileAndTheReason)
{
    std::vector<uint8_t> good = Bitmap24(5, 3, std::vector<uint32_t>(15, 0x123456), false);
    std::string missing = (directory_.path() / "missing.bmp").string();
    std::string text = directory_.Write("text.bmp", { 'h', 'e', 'l', 'l', 'o', '\n' });
    std::string truncated = directory_.Write("truncated.bmp", std::vector<uint8_t>(good.begin(), good.end() - 4));
    std::string huge = directory_.Write("huge.bmp", RunLengthFile(16384, 16384, 4096));
    std::string sparse = directory_.Write("sparse.bmp", good);
    ASSERT_EQ(truncate(sparse.c_str(), 65 * 1024 * 1024), 0); // a hole, not 65 MiB on disk

    EXPECT_EQ(RefusalMessage(missing), Line(missing, "missing"));
    EXPECT_EQ(RefusalMessage(text), Line(text, "not a Windows bitmap"));
    EXPECT_EQ(RefusalMessage(truncated), Line(truncated, "damaged (truncated or inconsistent)"));
    EXPECT_EQ(RefusalMessage(huge), Line(huge, "too large (at most 16384 pixels a side and 16 Mi pixels in all)"));
    EXPECT_EQ(RefusalMessage(sparse), Line(sparse, "too large (a file of over 64 MiB)"));

    // A picture that loads says nothing.
    ::testing::internal::CaptureStderr();
    HBITMAP loaded = LoadBitmapFile(directory_.Write("good.bmp", good));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ASSERT_NE(loaded, nullptr);
    DeleteObject(loaded);
}

} // namespace
