// Captures encoded as PNG and read back with libpng.
#include <gtest/gtest.h>

#include <png.h>

#include "testing/testing.h"

namespace {

headless::Capture Gradient(int width, int height)
{
    headless::Capture capture;
    capture.width = width;
    capture.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            capture.pixels.push_back(uint32_t(x) << 16 | uint32_t(y) << 8 | 0x5A);
    return capture;
}

TEST(EncodePng, RoundTripKeepsSizeAndPixels)
{
    headless::Capture capture = Gradient(200, 3);
    capture.pixels[size_t(2) * 200 + 199] = 0xFF00FF;
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(headless::EncodePng(capture, png, &error)) << error;

    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size())) << image.message;
    image.format = PNG_FORMAT_RGB;
    EXPECT_EQ(image.width, 200u);
    EXPECT_EQ(image.height, 3u);
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
    auto pixelAt = [&](int x, int y) {
        const png_byte* p = &rgb[(size_t(y) * 200 + size_t(x)) * 3];
        return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    };
    EXPECT_EQ(pixelAt(0, 0), capture.At(0, 0));
    EXPECT_EQ(pixelAt(137, 1), capture.At(137, 1));
    EXPECT_EQ(pixelAt(199, 2), 0xFF00FFu);
}

TEST(EncodePng, AnEmptyPictureSaysWhy)
{
    std::vector<uint8_t> png = { 1, 2, 3 };
    std::string error;
    EXPECT_FALSE(headless::EncodePng(headless::Capture {}, png, &error));
    EXPECT_EQ(error, "the picture is empty");
    EXPECT_TRUE(png.empty());
}

} // namespace
