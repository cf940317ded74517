// The icon for the desktop's icon theme: PNG files that libpng reads back as
// the window's icon, every pixel a whole block at each size.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <png.h>

#include "canvas.h"
#include "pictures.h"
#include "png_encoder.h"

namespace {

// 0xAARRGGBB, rows top to bottom, as the canvas holds them.
pictures::Canvas ReadPng(const std::vector<uint8_t>& file)
{
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_memory(&image, file.data(), file.size())) << image.message;
    image.format = PNG_FORMAT_ARGB;
    std::vector<png_byte> argb(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr)) << image.message;
    pictures::Canvas canvas(int(image.width), int(image.height), 0);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const png_byte* p = &argb[(size_t(y) * canvas.Width() + size_t(x)) * 4];
            canvas.Set(x, y, uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]);
        }
    return canvas;
}

TEST(PngEncoder, ReadsBackEveryPixelWithItsAlpha)
{
    pictures::Canvas canvas(3, 2, pictures::Rgb(10, 20, 30));
    canvas.Set(0, 0, pictures::kTransparent);
    canvas.Set(2, 1, pictures::Rgb(255, 0, 128));
    pictures::Canvas read = ReadPng(pictures::EncodePngRgba(canvas));
    ASSERT_EQ(read.Width(), 3);
    ASSERT_EQ(read.Height(), 2);
    EXPECT_EQ(read.At(0, 0), pictures::kTransparent);
    EXPECT_EQ(read.At(1, 0), pictures::Rgb(10, 20, 30));
    EXPECT_EQ(read.At(2, 1), pictures::Rgb(255, 0, 128));
}

TEST(PngEncoder, ThemeIconsAreTheIconInWholeBlocks)
{
    const pictures::Canvas icon = pictures::DrawIcon();
    ASSERT_EQ(icon.Width(), 32);
    ASSERT_EQ(icon.Height(), 32);
    EXPECT_EQ(icon.At(0, 0), pictures::kTransparent) << "the rounded corners are transparent";
    for (int factor : { 1, 2, 8 }) {
        pictures::Canvas read = ReadPng(pictures::EncodePngRgba(icon.ScaledBy(factor)));
        ASSERT_EQ(read.Width(), 32 * factor);
        int differing = 0;
        for (int y = 0; y < read.Height(); ++y)
            for (int x = 0; x < read.Width(); ++x)
                differing += read.At(x, y) != icon.At(x / factor, y / factor);
        EXPECT_EQ(differing, 0) << "at " << 32 * factor << " pixels";
    }
}

} // namespace
