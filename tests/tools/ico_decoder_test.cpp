// Icon files into pixels: the generator's own icons read back exactly, and
// broken files end in an error, never a crash or a read past the data.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "canvas.h"
#include "ico_decoder.h"
#include "indexed_image.h"
#include "pictures.h"
#include "rc_error.h"

namespace {

using Bytes = std::vector<uint8_t>;
using rc::DecodeIco;
using rc::RcError;

std::string ErrorOf(const Bytes& file)
{
    try {
        DecodeIco(file, "test.ico");
    } catch (const RcError& error) {
        return error.what();
    }
    return "";
}

void PutU16(Bytes& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void PutU32(Bytes& out, uint32_t v)
{
    PutU16(out, v);
    PutU16(out, v >> 16);
}
void SetU32(Bytes& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = uint8_t(v >> (8 * i));
}

// One directory entry and a bitmap image: the colour rows `xorRows` and the
// mask rows `andRows`, both already bottom-up and padded.
struct IconImage {
    int width = 2;
    int height = 2;
    int bitCount = 24;
    std::vector<uint32_t> palette;
    Bytes xorRows;
    Bytes andRows;
};

Bytes ImageBytes(const IconImage& image)
{
    Bytes out;
    PutU32(out, 40);
    PutU32(out, uint32_t(image.width));
    PutU32(out, uint32_t(image.height * 2));
    PutU16(out, 1);
    PutU16(out, uint32_t(image.bitCount));
    PutU32(out, 0);
    PutU32(out, uint32_t(image.xorRows.size() + image.andRows.size()));
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, uint32_t(image.palette.size()));
    PutU32(out, 0);
    for (uint32_t rgb : image.palette)
        PutU32(out, rgb);
    out.insert(out.end(), image.xorRows.begin(), image.xorRows.end());
    out.insert(out.end(), image.andRows.begin(), image.andRows.end());
    return out;
}

Bytes IcoFile(const std::vector<IconImage>& images)
{
    Bytes out;
    PutU16(out, 0);
    PutU16(out, 1);
    PutU16(out, uint32_t(images.size()));
    std::vector<Bytes> bodies;
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (const auto& image : images) {
        bodies.push_back(ImageBytes(image));
        out.push_back(uint8_t(image.width));
        out.push_back(uint8_t(image.height));
        out.push_back(0);
        out.push_back(0);
        PutU16(out, 1);
        PutU16(out, uint32_t(image.bitCount));
        PutU32(out, uint32_t(bodies.back().size()));
        PutU32(out, offset);
        offset += uint32_t(bodies.back().size());
    }
    for (const auto& body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}

// 2 by 2, 24 bits: bottom row blue, green; top row red, white. The mask
// clears the top-right pixel.
IconImage TwoByTwo24()
{
    IconImage image;
    image.xorRows = { 0xFF, 0, 0, 0, 0xFF, 0, 0, 0, // bottom row, padded to 8 bytes
        0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0 };
    image.andRows = { 0x00, 0, 0, 0, 0x40, 0, 0, 0 };
    return image;
}

TEST(IcoDecoder, ReadsRowsTopDownAndTheMaskAsTransparency)
{
    auto icon = DecodeIco(IcoFile({ TwoByTwo24() }), "test.ico");
    ASSERT_EQ(icon.width, 2);
    ASSERT_EQ(icon.height, 2);
    EXPECT_EQ(icon.argb, (std::vector<uint32_t> { 0xFFFF0000, 0x00000000, 0xFF0000FF, 0xFF00FF00 }));
}

TEST(IcoDecoder, ReadsBackTheGeneratorsPalettedIconExactly)
{
    pictures::Canvas canvas(5, 3, pictures::Rgb(10, 20, 30));
    canvas.Set(0, 0, pictures::kTransparent);
    canvas.Set(4, 0, pictures::Rgb(255, 0, 0));
    canvas.Set(2, 2, pictures::Rgb(0, 0, 255));
    auto icon = DecodeIco(pictures::EncodeIco8(pictures::ToIndexed(canvas)), "test.ico");
    ASSERT_EQ(icon.width, 5);
    ASSERT_EQ(icon.height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(icon.argb[size_t(y * 5 + x)], canvas.At(x, y)) << x << "," << y;
}

TEST(IcoDecoder, TheProgramIconIs32By32AndMostlyOpaque)
{
    auto icon = DecodeIco(pictures::DrawIconFile(), "sample.ico");
    ASSERT_EQ(icon.width, 32);
    ASSERT_EQ(icon.height, 32);
    int opaque = 0;
    for (uint32_t pixel : icon.argb)
        opaque += (pixel >> 24) == 0xFF;
    EXPECT_GT(opaque, 700);
    EXPECT_EQ(icon.argb[0], 0u);
}

TEST(IcoDecoder, PrefersThe32By32Image)
{
    IconImage big;
    big.width = big.height = 32;
    big.xorRows.assign(32 * 32 * 3, 0x80);
    big.andRows.assign(32 * 4, 0);
    auto icon = DecodeIco(IcoFile({ TwoByTwo24(), big }), "test.ico");
    EXPECT_EQ(icon.width, 32);
    EXPECT_EQ(icon.argb[0], 0xFF808080u);
}

TEST(IcoDecoder, ThirtyTwoBitImagesKeepTheirOwnAlpha)
{
    IconImage image;
    image.width = 1;
    image.height = 1;
    image.bitCount = 32;
    image.xorRows = { 0x11, 0x22, 0x33, 0x80 };
    image.andRows = { 0x80, 0, 0, 0 }; // would clear it, but alpha wins
    EXPECT_EQ(DecodeIco(IcoFile({ image }), "t.ico").argb[0], 0x80332211u);
}

TEST(IcoDecoder, EveryTruncationIsAnError)
{
    Bytes file = pictures::DrawIconFile();
    for (size_t length = 0; length < file.size(); ++length) {
        Bytes cut(file.begin(), file.begin() + ptrdiff_t(length));
        EXPECT_NE(ErrorOf(cut), "") << "cut at " << length;
    }
}

TEST(IcoDecoder, BrokenHeadersAreNamedInTheError)
{
    Bytes good = IcoFile({ TwoByTwo24() });

    Bytes cursor = good;
    cursor[2] = 2;
    EXPECT_NE(ErrorOf(cursor).find("test.ico: icon file is not an icon"), std::string::npos);

    Bytes manyImages = good;
    manyImages[4] = 0xFF;
    EXPECT_NE(ErrorOf(manyImages).find("directory runs past the end"), std::string::npos);

    Bytes farOffset = good;
    SetU32(farOffset, 6 + 12, 0xFFFFFFF0u);
    EXPECT_NE(ErrorOf(farOffset).find("runs past the end of the file"), std::string::npos);

    Bytes hugeWidth = good;
    SetU32(hugeWidth, 22 + 4, 100000);
    EXPECT_NE(ErrorOf(hugeWidth).find("outside 1 to 256"), std::string::npos);

    Bytes negativeHeight = good;
    SetU32(negativeHeight, 22 + 8, uint32_t(-4));
    EXPECT_NE(ErrorOf(negativeHeight).find("outside 1 to 256"), std::string::npos);

    Bytes png = good;
    png[22] = 0x89, png[23] = 'P', png[24] = 'N', png[25] = 'G';
    EXPECT_NE(ErrorOf(png).find("PNG"), std::string::npos);

    Bytes depth = good;
    depth[22 + 14] = 16;
    EXPECT_NE(ErrorOf(depth).find("16 bits per pixel"), std::string::npos);
}

TEST(IcoDecoder, APixelBeyondThePaletteIsAnError)
{
    IconImage image;
    image.width = 1;
    image.height = 1;
    image.bitCount = 8;
    image.palette = { 0x000000, 0xFFFFFF };
    image.xorRows = { 5, 0, 0, 0 };
    image.andRows = { 0, 0, 0, 0 };
    EXPECT_NE(ErrorOf(IcoFile({ image })).find("beyond the end of its palette"), std::string::npos);
}

} // namespace
