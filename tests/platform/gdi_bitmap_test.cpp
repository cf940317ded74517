// Bitmap files into DIB sections, memory contexts, and BitBlt into surfaces.
#include <gtest/gtest.h>

#include <filesystem>

#include <windows.h>

#include "common/diagnostics.h"
#include "gdi/testing_hooks.h"
#include "gdi_test_support.h"

using namespace gdi_test;

namespace {

// A 5 by 3 picture whose pixels all differ and use the low bits of every
// channel, so that a wrong shift or channel order shows.
std::vector<uint32_t> TestPixels()
{
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 15; ++i)
        pixels.push_back((0x13 * i + 7) << 16 | (0x29 * i + 3) << 8 | (0x3B * i + 1));
    for (auto& pixel : pixels)
        pixel &= 0xFFFFFF;
    pixels[0] = 0xFF00FF;
    return pixels;
}

class GdiBitmapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::gdi::ResetForTesting();
        platform::diagnostics::ClearFaults();
    }

    // Loads the test picture into a memory context; the bitmap is returned
    // so the test can put the context's default back and delete it.
    HDC MemoryContextWithPicture(bool topDown)
    {
        bitmap_ = LoadBitmapFile(directory_.Write("picture.bmp", Bitmap24(5, 3, TestPixels(), topDown)));
        EXPECT_NE(bitmap_, nullptr);
        HDC memory = CreateCompatibleDC(nullptr);
        kept_ = SelectObject(memory, bitmap_);
        EXPECT_NE(kept_, nullptr);
        return memory;
    }

    void EndMemoryContext(HDC memory)
    {
        EXPECT_EQ(SelectObject(memory, kept_), bitmap_);
        EXPECT_TRUE(DeleteDC(memory));
        EXPECT_TRUE(DeleteObject(bitmap_));
        EXPECT_EQ(platform::gdi::LiveObjectCount(), 0);
    }

    TemporaryDirectory directory_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ kept_ = nullptr;
};

TEST_F(GdiBitmapTest, DescribesBottomUpAndTopDownFiles)
{
    for (bool topDown : { false, true }) {
        HBITMAP bitmap = LoadBitmapFile(directory_.Write("p.bmp", Bitmap24(5, 3, TestPixels(), topDown)));
        ASSERT_NE(bitmap, nullptr);
        BITMAP description {};
        EXPECT_EQ(GetObjectA(bitmap, sizeof(description), &description), int(sizeof(BITMAP)));
        EXPECT_EQ(description.bmType, 0);
        EXPECT_EQ(description.bmWidth, 5);
        EXPECT_EQ(description.bmHeight, topDown ? -3 : 3);
        EXPECT_EQ(description.bmWidthBytes, 16); // 15 bytes of 24-bit pixels, padded
        EXPECT_EQ(description.bmPlanes, 1);
        EXPECT_EQ(description.bmBitsPixel, 24);
        EXPECT_NE(description.bmBits, nullptr);

        EXPECT_EQ(GetObjectA(bitmap, sizeof(description) - 1, &description), 0);
        EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), int(sizeof(BITMAP)));
        EXPECT_TRUE(DeleteObject(bitmap));
        EXPECT_EQ(GetObjectA(bitmap, sizeof(description), &description), 0); // stale now
    }
}

TEST_F(GdiBitmapTest, BlitConvertsEveryPixelExactly)
{
    const std::vector<uint32_t> pixels = TestPixels();
    for (bool topDown : { false, true }) {
        HDC memory = MemoryContextWithPicture(topDown);
        GuardedBuffer xrgb(5, 3, PixelFormat::Xrgb8888, 0xEE);
        GuardedBuffer rgb565(5, 3, PixelFormat::Rgb565, 0xEE);
        {
            SurfaceContext xrgbContext(xrgb), rgb565Context(rgb565);
            EXPECT_TRUE(BitBlt(xrgbContext.get(), 0, 0, 5, 3, memory, 0, 0, SRCCOPY));
            EXPECT_TRUE(BitBlt(rgb565Context.get(), 0, 0, 5, 3, memory, 0, 0, SRCCOPY));
        }
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                uint32_t rgb = pixels[y * 5 + x];
                uint32_t r = rgb >> 16, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
                EXPECT_EQ(xrgb.Raw(x, y), rgb) << x << "," << y;
                EXPECT_EQ(rgb565.Raw(x, y), (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3)) << x << "," << y;
            }
        }
        EXPECT_EQ(rgb565.Raw(0, 0), 0xF81Fu); // magenta
        EXPECT_TRUE(xrgb.GuardsIntact());
        EXPECT_TRUE(rgb565.GuardsIntact());
        EndMemoryContext(memory);
    }
}

TEST_F(GdiBitmapTest, ClippedBlitsStayInsideBothTargets)
{
    const std::vector<uint32_t> pixels = TestPixels();
    HDC memory = MemoryContextWithPicture(false);
    struct Case {
        int x, y, width, height, sourceX, sourceY;
    };
    const Case cases[] = {
        { -2, -1, 5, 3, 0, 0 },
        { 2, 1, 5, 3, 0, 0 },
        { 0, 0, 100, 100, 0, 0 },
        { 0, 0, 5, 3, -3, -2 },
        { 1, 1, 5, 3, 3, 2 },
        { 4, 2, 9, 9, 4, 2 },
        { 5, 0, 5, 3, 0, 0 },
        { 0, 0, 5, 3, 5, 3 },
        { -2147483647, 0, 5, 3, 0, 0 },
        { 0, 0, 2147483647, 2147483647, -2147483647, 0 },
    };
    for (PixelFormat format : { PixelFormat::Xrgb8888, PixelFormat::Rgb565 }) {
        for (const Case& c : cases) {
            GuardedBuffer target(4, 3, format, 0x11);
            const uint32_t untouched = target.Raw(0, 0);
            {
                SurfaceContext context(target);
                EXPECT_TRUE(BitBlt(context.get(), c.x, c.y, c.width, c.height, memory, c.sourceX, c.sourceY, SRCCOPY));
            }
            EXPECT_TRUE(target.GuardsIntact()) << c.x << "," << c.y;
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 4; ++x) {
                    int64_t sx = int64_t { x } - c.x + c.sourceX, sy = int64_t { y } - c.y + c.sourceY;
                    bool copied = x >= c.x && y >= c.y && int64_t { x } - c.x < c.width
                        && int64_t { y } - c.y < c.height && sx >= 0 && sy >= 0 && sx < 5 && sy < 3;
                    uint32_t expected = copied ? platform::gdi::RgbToRaw(pixels[sy * 5 + sx], format) : untouched;
                    EXPECT_EQ(target.Raw(x, y), expected) << "case " << c.x << "," << c.y << " pixel " << x << "," << y;
                }
            }
        }
    }
    EndMemoryContext(memory);
}

TEST_F(GdiBitmapTest, BlitBetweenMemoryContextsAndFromSurfaces)
{
    HDC memory = MemoryContextWithPicture(true);
    {
        GuardedBuffer rgb565(5, 3, PixelFormat::Rgb565);
        GuardedBuffer xrgb(5, 3, PixelFormat::Xrgb8888);
        SurfaceContext from565(rgb565), toXrgb(xrgb);
        ASSERT_TRUE(BitBlt(from565.get(), 0, 0, 5, 3, memory, 0, 0, SRCCOPY));
        // 5-6-5 back to 8-8-8-8 widens by bit replication: magenta stays magenta.
        ASSERT_TRUE(BitBlt(toXrgb.get(), 0, 0, 5, 3, from565.get(), 0, 0, SRCCOPY));
        EXPECT_EQ(xrgb.Raw(0, 0), 0xFF00FFu);
        EXPECT_EQ(xrgb.Raw(1, 0), platform::gdi::RawToRgb(rgb565.Raw(1, 0), PixelFormat::Rgb565));

        // An overlapping copy within one buffer moves the picture intact.
        GuardedBuffer before(5, 3, PixelFormat::Xrgb8888);
        SurfaceContext beforeContext(before);
        ASSERT_TRUE(BitBlt(beforeContext.get(), 0, 0, 5, 3, memory, 0, 0, SRCCOPY));
        ASSERT_TRUE(BitBlt(memory, 1, 1, 4, 2, memory, 0, 0, SRCCOPY));
        for (int y = 1; y < 3; ++y)
            for (int x = 1; x < 5; ++x)
                EXPECT_EQ(GetPixel(memory, x, y), platform::gdi::RgbToColorRef(before.Raw(x - 1, y - 1)));
    }
    EndMemoryContext(memory);
}

TEST_F(GdiBitmapTest, RefusesWhatIsNotALoadableBitmap)
{
    std::vector<uint8_t> good = Bitmap24(5, 3, TestPixels(), false);
    std::vector<uint8_t> truncated(good.begin(), good.begin() + 60);
    std::vector<uint8_t> text = { 'n', 'o', 't', ' ', 'a', ' ', 'b', 'i', 't', 'm', 'a', 'p' };
    EXPECT_EQ(LoadBitmapFile((directory_.path() / "missing.bmp").string()), nullptr);
    EXPECT_EQ(LoadBitmapFile(directory_.Write("text.bmp", text)), nullptr);
    EXPECT_EQ(LoadBitmapFile(directory_.Write("truncated.bmp", truncated)), nullptr);
    EXPECT_EQ(LoadBitmapFile(directory_.Write("empty.bmp", {})), nullptr);
    EXPECT_EQ(LoadBitmapFile(directory_.path().string()), nullptr); // a directory

    std::string path = directory_.Write("good.bmp", good);
    UINT fromFile = LR_LOADFROMFILE | LR_CREATEDIBSECTION;
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), 1 /* IMAGE_ICON */, 0, 0, fromFile), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 10, 10, fromFile), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, fromFile), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(101), IMAGE_BITMAP, 0, 0, fromFile), nullptr);

    platform::diagnostics::FailNext("LoadImageA", 1);
    EXPECT_EQ(LoadBitmapFile(path), nullptr);
    HBITMAP loaded = LoadBitmapFile(path);
    EXPECT_NE(loaded, nullptr);
    DeleteObject(loaded);
    EXPECT_EQ(platform::gdi::LiveObjectCount(), 0);
}

TEST_F(GdiBitmapTest, ResolvesCodePage932NamesAgainstTheCurrentDirectory)
{
    std::vector<uint8_t> file = Bitmap24(5, 3, TestPixels(), false);
    directory_.Write("表.bmp", file); // its CP932 form ends in a 0x5C trail byte
    std::filesystem::create_directories(directory_.path() / "sub");
    directory_.Write("sub/絵.bmp", file);
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(directory_.path());
    HBITMAP plain = LoadBitmapFile("\x95\x5C.bmp");
    HBITMAP withSeparator = LoadBitmapFile("sub\\\x8A\x47.bmp");
    std::filesystem::current_path(previous);
    EXPECT_NE(plain, nullptr);
    EXPECT_NE(withSeparator, nullptr);
    DeleteObject(plain);
    DeleteObject(withSeparator);
}

TEST_F(GdiBitmapTest, SelectionRulesProtectBitmapsInUse)
{
    HDC memory = MemoryContextWithPicture(false);
    HDC other = CreateCompatibleDC(memory);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(SelectObject(other, bitmap_), nullptr); // already drawn through `memory`
    EXPECT_FALSE(DeleteObject(bitmap_)); // still selected: refused, still valid
    BITMAP description {};
    EXPECT_EQ(GetObjectA(bitmap_, sizeof(description), &description), int(sizeof(BITMAP)));

    // The default bitmap is 1 by 1 monochrome, shared and not deletable.
    HGDIOBJ defaultBitmap = kept_;
    ASSERT_EQ(GetObjectA(defaultBitmap, sizeof(description), &description), int(sizeof(BITMAP)));
    EXPECT_EQ(description.bmWidth, 1);
    EXPECT_EQ(description.bmHeight, 1);
    EXPECT_EQ(description.bmBitsPixel, 1);
    EXPECT_TRUE(DeleteObject(defaultBitmap));
    EXPECT_EQ(GetObjectA(defaultBitmap, sizeof(description), &description), int(sizeof(BITMAP)));

    // A context deleted with the bitmap still in it lets the bitmap go.
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_TRUE(DeleteObject(bitmap_));
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_EQ(platform::gdi::LiveObjectCount(), 0);
}

} // namespace
