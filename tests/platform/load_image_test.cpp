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

#include "gdi/bitmap_file.h"
#include "gdi/testing_hooks.h"
#include "gdi_test_support.h"
#include "user_fake_host.h"

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

// The colour of pixel (x, y) in the pictures below: both within 12 bits.
uint32_t Pattern(int x, int y) { return uint32_t(x) << 12 | uint32_t(y); }

// The header of a 32-bit BI_RGB file behind a BITMAPV5HEADER and a full
// palette (which the depth ignores): the largest file a picture of that size
// can be.
std::vector<uint8_t> Largest32BitHeader(int width, int height)
{
    const uint32_t offset = 14 + 124 + 256 * 4;
    const uint32_t pixelBytes = uint32_t(width) * uint32_t(height) * 4;
    std::vector<uint8_t> head;
    Put16(head, 0x4D42);
    Put32(head, offset + pixelBytes);
    Put32(head, 0);
    Put32(head, offset);
    Put32(head, 124);
    Put32(head, uint32_t(width));
    Put32(head, uint32_t(height));
    Put16(head, 1); // planes
    Put16(head, 32);
    Put32(head, 0); // BI_RGB
    Put32(head, pixelBytes);
    Put32(head, 0);
    Put32(head, 0);
    Put32(head, 256); // colours used
    head.resize(offset, 0); // the rest of the header, and the palette
    return head;
}

// The whole file, written a row at a time, bottom row first.
std::string WriteLargest32BitFile(const std::filesystem::path& path, int width, int height)
{
    std::ofstream out(path, std::ios::binary);
    std::vector<uint8_t> head = Largest32BitHeader(width, height);
    out.write(reinterpret_cast<const char*>(head.data()), std::streamsize(head.size()));
    std::vector<uint8_t> row(size_t(width) * 4, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            uint32_t rgb = Pattern(x, y);
            row[size_t(x) * 4 + 0] = uint8_t(rgb);
            row[size_t(x) * 4 + 1] = uint8_t(rgb >> 8);
            row[size_t(x) * 4 + 2] = uint8_t(rgb >> 16);
        }
        out.write(reinterpret_cast<const char*>(row.data()), std::streamsize(row.size()));
    }
    return path.string();
}

// The file cap follows from the pixel cap: a 32-bit picture of 16 Mi pixels
// in the largest file it can be loads; a byte more, or a row more, does not.
TEST_F(LoadImageTest, APictureAtThePixelCapLoadsFromTheLargestFileAllowed)
{
    static_assert(int64_t { 4096 } * 4096 == platform::gdi::kMaxBitmapPixels);
    std::string path = WriteLargest32BitFile(directory_.path() / "cap.bmp", 4096, 4096);
    ASSERT_EQ(std::filesystem::file_size(path), uintmax_t(platform::gdi::kMaxBitmapFileBytes));

    ::testing::internal::CaptureStderr();
    HBITMAP loaded = LoadBitmapFile(path);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ASSERT_NE(loaded, nullptr);
    BITMAP description {};
    ASSERT_EQ(GetObjectA(loaded, sizeof(description), &description), int(sizeof(BITMAP)));
    EXPECT_EQ(description.bmWidth, 4096);
    EXPECT_EQ(description.bmHeight, 4096);
    EXPECT_EQ(description.bmBitsPixel, 32);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ kept = SelectObject(memory, loaded);
    for (auto [x, y] : { std::pair { 0, 0 }, { 4095, 0 }, { 0, 4095 }, { 4095, 4095 }, { 1234, 567 } })
        EXPECT_EQ(GetPixel(memory, x, y), platform::gdi::RgbToColorRef(Pattern(x, y))) << x << ", " << y;
    SelectObject(memory, kept);
    DeleteDC(memory);
    DeleteObject(loaded);

    ASSERT_EQ(truncate(path.c_str(), platform::gdi::kMaxBitmapFileBytes + 1), 0);
    EXPECT_EQ(RefusalMessage(path), Line(path, "too large (a file of over 67110026 bytes)"));
    // A row past the pixel cap needs a larger file still; its pixels are a
    // hole, never read.
    std::string over = directory_.Write("over.bmp", Largest32BitHeader(4097, 4096));
    ASSERT_EQ(truncate(over.c_str(), 14 + 124 + 256 * 4 + off_t { 4097 } * 4096 * 4), 0);
    EXPECT_EQ(RefusalMessage(over), Line(over, "too large (a file of over 67110026 bytes)"));
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
    EXPECT_EQ(RefusalMessage(sparse), Line(sparse, "too large (a file of over 67110026 bytes)"));

    // A picture that loads says nothing.
    ::testing::internal::CaptureStderr();
    HBITMAP loaded = LoadBitmapFile(directory_.Write("good.bmp", good));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ASSERT_NE(loaded, nullptr);
    DeleteObject(loaded);
}

// A host whose files come while the program runs (the page's pictures):
// each is written only when the program says it is about to read it.
class ArrivingFilesHost final : public user_test::FakeHost {
public:
    explicit ArrivingFilesHost(const TemporaryDirectory& directory)
        : directory_(directory)
    {
    }
    void AwaitFile(const std::string& path) override
    {
        awaited.push_back(path);
        if (path == directory_.path() / "late.bmp")
            directory_.Write("late.bmp", Bitmap24(2, 2, std::vector<uint32_t>(4, 0x00ff00), false));
    }
    std::vector<std::string> awaited;

private:
    const TemporaryDirectory& directory_;
};

TEST_F(LoadImageTest, AFileStillArrivingIsWaitedForBeforeItIsLookedAt)
{
    ArrivingFilesHost host(directory_);
    platform::host::Install(&host);
    const std::string late = (directory_.path() / "late.bmp").string();
    const std::string never = (directory_.path() / "never.bmp").string();

    HBITMAP loaded = LoadBitmapFile(late);
    EXPECT_NE(loaded, nullptr) << "the file was looked for before it had arrived";
    if (loaded != nullptr) DeleteObject(loaded);
    // One that never comes is missing, as on a disk without it.
    EXPECT_EQ(RefusalMessage(never), Line(never, "missing"));
    EXPECT_EQ(host.awaited, (std::vector<std::string> { late, never }));
    platform::host::Install(nullptr);
}

} // namespace
