#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <functional>
#include <string>

#include "gdi/bitmap_file.h"

namespace {

using platform::gdi::BitmapRefusal;
using platform::gdi::DecodeBitmapFile;
using platform::gdi::DescribeRefusal;
using Bytes = std::vector<uint8_t>;
using Masks = std::array<uint32_t, 3>; // red, green, blue

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;
constexpr Masks k555 { 0x7C00, 0x03E0, 0x001F };
constexpr Masks k565 { 0xF800, 0x07E0, 0x001F };
constexpr Masks k888 { 0xFF0000, 0x00FF00, 0x0000FF };

void PutU16(Bytes& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(Bytes& out, uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void SetU32(Bytes& out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// What a writer puts in a bitmap file; Assemble lays it out as Windows does.
struct BitmapFile {
    uint32_t headerSize = 40;
    int32_t width = 1;
    int32_t height = 1; // negative: top-down
    uint16_t bitsPerPixel = 24;
    uint32_t compression = kRgb;
    uint32_t colorsUsed = 0;
    Masks masks {}; // inside headers of 52 bytes and more, after a 40-byte one
    std::vector<uint32_t> palette; // 0x00RRGGBB
    Bytes pixelData;
};

BitmapFile MakeFile(uint32_t headerSize, int32_t width, int32_t height, uint16_t bits, uint32_t compression = kRgb)
{
    BitmapFile file;
    file.headerSize = headerSize;
    file.width = width;
    file.height = height;
    file.bitsPerPixel = bits;
    file.compression = compression;
    return file;
}

Bytes Assemble(const BitmapFile& file)
{
    Bytes out { 'B', 'M' };
    PutU32(out, 0); // file size, set below
    PutU32(out, 0);
    PutU32(out, 0); // pixel offset, set below
    PutU32(out, file.headerSize);
    if (file.headerSize == 12) {
        PutU16(out, static_cast<uint32_t>(file.width));
        PutU16(out, static_cast<uint32_t>(file.height));
        PutU16(out, 1);
        PutU16(out, file.bitsPerPixel);
    } else {
        for (uint32_t value : { static_cast<uint32_t>(file.width), static_cast<uint32_t>(file.height) })
            PutU32(out, value);
        PutU16(out, 1);
        PutU16(out, file.bitsPerPixel);
        for (uint32_t value :
            { file.compression, static_cast<uint32_t>(file.pixelData.size()), 2835u, 2835u, file.colorsUsed, 0u })
            PutU32(out, value);
        bool masksInHeader = file.headerSize >= 52;
        if (masksInHeader || file.compression == kBitfields)
            for (uint32_t mask : file.masks)
                PutU32(out, mask);
        if (masksInHeader) out.resize(14 + file.headerSize, 0); // later V3 to V5 fields stay zero
    }
    for (uint32_t colour : file.palette) {
        for (int shift : { 0, 8, 16 })
            out.push_back(static_cast<uint8_t>(colour >> shift));
        if (file.headerSize != 12) out.push_back(0);
    }
    SetU32(out, 10, static_cast<uint32_t>(out.size()));
    out.insert(out.end(), file.pixelData.begin(), file.pixelData.end());
    SetU32(out, 2, static_cast<uint32_t>(out.size()));
    return out;
}

constexpr std::array<uint32_t, 8> kColours { 0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF,
    0xFF00FF };

// An odd width, so that rows below 32 bits need padding. Rows top to bottom.
constexpr int kWidth = 13, kHeight = 7;

std::vector<uint32_t> TestPicture(size_t colourCount)
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels.push_back(kColours[(x * 3 + y * 5 + x * y) % colourCount]);
    return pixels;
}

uint32_t PackMasked(uint32_t colour, const Masks& masks)
{
    uint32_t packed = 0;
    for (int c = 0; c < 3; ++c) {
        uint32_t value = (colour >> (16 - 8 * c)) & 0xFF;
        uint64_t maxValue = masks[c] >> std::countr_zero(masks[c]);
        packed |= static_cast<uint32_t>((value * maxValue + 127) / 255) << std::countr_zero(masks[c]);
    }
    return packed;
}

Bytes EncodeRows(const std::vector<uint32_t>& picture, const BitmapFile& file, const Masks& masks)
{
    int bits = file.bitsPerPixel;
    size_t rowBytes = (kWidth * bits + 31) / 32 * 4;
    Bytes data;
    for (int stored = 0; stored < kHeight; ++stored) {
        int y = file.height < 0 ? stored : kHeight - 1 - stored;
        Bytes row(rowBytes, 0);
        for (int x = 0; x < kWidth; ++x) {
            uint32_t colour = picture[y * kWidth + x];
            if (bits <= 8) {
                auto index = static_cast<uint32_t>(
                    std::find(file.palette.begin(), file.palette.end(), colour) - file.palette.begin());
                row[x * bits / 8] |= static_cast<uint8_t>(index << (8 - bits - x * bits % 8));
            } else if (bits == 24) {
                for (int i = 0; i < 3; ++i)
                    row[x * 3 + i] = static_cast<uint8_t>(colour >> (8 * i));
            } else {
                uint32_t packed = PackMasked(colour, masks);
                for (int i = 0; i < bits / 8; ++i)
                    row[x * bits / 8 + i] = static_cast<uint8_t>(packed >> (8 * i));
            }
        }
        data.insert(data.end(), row.begin(), row.end());
    }
    return data;
}

struct Format {
    std::string name;
    uint32_t headerSize;
    uint16_t bits;
    uint32_t compression;
    Masks masks; // how 16- and 32-bit pixels are packed
    size_t colourCount; // colours in the picture
    size_t paletteSize; // entries stored; fewer than 2^bits sets biClrUsed
};

const std::vector<Format> kFormats {
    { "info 1", 40, 1, kRgb, {}, 2, 2 },
    { "info 4 full palette", 40, 4, kRgb, {}, 8, 16 },
    { "info 8 short palette", 40, 8, kRgb, {}, 8, 8 },
    { "info 16 555", 40, 16, kRgb, k555, 8, 0 },
    { "info 16 565 masks after header", 40, 16, kBitfields, k565, 8, 0 },
    { "v2 16 444", 52, 16, kBitfields, { 0xF00, 0x0F0, 0x00F }, 8, 0 },
    { "v5 16 565", 124, 16, kBitfields, k565, 8, 0 },
    { "info 24", 40, 24, kRgb, {}, 8, 0 },
    { "v3 24", 56, 24, kRgb, {}, 8, 0 },
    { "info 32", 40, 32, kRgb, k888, 8, 0 },
    { "v4 32 swapped masks", 108, 32, kBitfields, { 0x0000FF, 0x00FF00, 0xFF0000 }, 8, 0 },
    { "v5 32 10-bit", 124, 32, kBitfields, { 0x3FF00000, 0x000FFC00, 0x000003FF }, 8, 0 },
    { "core 4", 12, 4, kRgb, {}, 8, 16 },
    { "core 8", 12, 8, kRgb, {}, 8, 256 },
    { "core 24", 12, 24, kRgb, {}, 8, 0 },
};

Bytes EncodeFormat(const Format& format, bool topDown)
{
    BitmapFile file
        = MakeFile(format.headerSize, kWidth, topDown ? -kHeight : kHeight, format.bits, format.compression);
    file.masks = format.masks;
    file.palette.assign(kColours.begin(), kColours.begin() + std::min(format.paletteSize, kColours.size()));
    file.palette.resize(format.paletteSize, 0x123456);
    if (format.bits <= 8 && format.paletteSize < (1u << format.bits))
        file.colorsUsed = static_cast<uint32_t>(format.paletteSize);
    file.pixelData = EncodeRows(TestPicture(format.colourCount), file, format.masks);
    return Assemble(file);
}

struct Sample {
    std::string name;
    Format format;
    bool topDown;
    Bytes file;
};

std::vector<Sample> ValidSamples()
{
    std::vector<Sample> samples;
    for (const Format& format : kFormats)
        for (bool topDown : { false, true })
            if (!(topDown && format.headerSize == 12)) // core heights are unsigned
                samples.push_back({ format.name + (topDown ? " top-down" : " bottom-up"), format, topDown,
                    EncodeFormat(format, topDown) });
    return samples;
}

TEST(BitmapFileTest, EveryFormatAndOrientationDecodesToTheSamePicture)
{
    for (const Sample& sample : ValidSamples()) {
        SCOPED_TRACE(sample.name);
        auto bitmap = DecodeBitmapFile(sample.file);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->width, kWidth);
        EXPECT_EQ(bitmap->height, kHeight);
        EXPECT_EQ(bitmap->topDown, sample.topDown);
        EXPECT_EQ(bitmap->bitsPerPixel, sample.format.bits);
        EXPECT_EQ(bitmap->pixels, TestPicture(sample.format.colourCount));
    }
}

uint32_t DecodeOnePixel(uint16_t bits, uint32_t compression, Masks masks, uint32_t raw)
{
    BitmapFile file = MakeFile(40, 1, 1, bits, compression);
    file.masks = masks;
    for (int i = 0; i < 4; ++i)
        file.pixelData.push_back(static_cast<uint8_t>(raw >> (8 * i)));
    auto bitmap = DecodeBitmapFile(Assemble(file));
    return bitmap ? bitmap->pixels.at(0) : 0xDEADBEEF;
}

TEST(BitmapFileTest, ChannelsScaleToEightBitsWithRounding)
{
    // 5-bit 16 is 132 and 6-bit 32 is 130: a plain shift would give 128.
    EXPECT_EQ(DecodeOnePixel(16, kBitfields, k565, 16 << 11 | 32 << 5 | 16), 0x848284u);
    EXPECT_EQ(DecodeOnePixel(16, kBitfields, k565, 0xFFFF), 0xFFFFFFu);
    EXPECT_EQ(
        DecodeOnePixel(32, kBitfields, { 0x3FF00000, 0x000FFC00, 0x3FF }, 1023u << 20 | 512u << 10 | 1), 0xFF8000u);
    // Bits outside the masks (5-5-5's top bit, 32-bit BI_RGB's high byte) mean nothing.
    EXPECT_EQ(DecodeOnePixel(16, kRgb, {}, 0x8000 | 0x7C00), 0xFF0000u);
    EXPECT_EQ(DecodeOnePixel(32, kRgb, {}, 0xAB123456), 0x123456u);
}

TEST(BitmapFileTest, IndexPastAShortPaletteIsBlack)
{
    BitmapFile file = MakeFile(40, 2, 1, 8);
    file.colorsUsed = 2;
    file.palette = { 0x00FF00, 0xFF0000 };
    file.pixelData = { 1, 5, 0, 0 };
    auto bitmap = DecodeBitmapFile(Assemble(file));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixels, (std::vector<uint32_t> { 0xFF0000, 0x000000 }));
}

// Index 0 is not black, so that pixels the data never writes show.
const std::vector<uint32_t> kRlePalette { 0x111111, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0xFFFF00, 0x00FFFF,
    0xFF00FF, 0x808080, 0x404040 };

Bytes RleFile(uint32_t compression, int width, int height, Bytes data)
{
    BitmapFile file = MakeFile(40, width, height, static_cast<uint16_t>(compression == kRle8 ? 8 : 4), compression);
    file.palette = kRlePalette;
    file.colorsUsed = static_cast<uint32_t>(kRlePalette.size());
    file.pixelData = std::move(data);
    return Assemble(file);
}

std::vector<uint32_t> Colours(std::initializer_list<int> indices)
{
    std::vector<uint32_t> colours;
    for (int index : indices)
        colours.push_back(kRlePalette[index]);
    return colours;
}

const Bytes kRle8Sample {
    3, 1, 0, 3, 2, 3, 4, 0, 0, 0, // bottom row: run, odd literal with its pad byte, end of line
    2, 5, 0, 2, 2, 1, // run, delta two right and one up
    4, 3, 0, 0, // run clipped at the right edge, end of line
    0, 4, 4, 3, 2, 1, 0, 1, // even literal, end of bitmap
};
const Bytes kRle4Sample {
    2, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, // run of alternating nibbles, odd literal padded to a word
    0, 0, 0, 2, 3, 0, 3, 0x89, 0, 1, // end of line, delta right, run, end of bitmap
};

TEST(BitmapFileTest, RunLengthSamplesDecode)
{
    auto rle8 = DecodeBitmapFile(RleFile(kRle8, 6, 4, kRle8Sample));
    ASSERT_TRUE(rle8);
    EXPECT_EQ(rle8->pixels,
        Colours({ 4, 3, 2, 1, 0, 0, /**/ 0, 0, 0, 0, 3, 3, /**/ 5, 5, 0, 0, 0, 0, /**/ 1, 1, 1, 2, 3, 4 }));

    auto rle4 = DecodeBitmapFile(RleFile(kRle4, 7, 2, kRle4Sample));
    ASSERT_TRUE(rle4);
    EXPECT_EQ(rle4->bitsPerPixel, 4);
    EXPECT_EQ(rle4->pixels, Colours({ 0, 0, 0, 8, 9, 8, 0, /**/ 1, 2, 3, 4, 5, 6, 7 }));

    auto empty = DecodeBitmapFile(RleFile(kRle8, 300, 200, { 0, 1 }));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->pixels, std::vector<uint32_t>(300 * 200, kRlePalette[0]));
}

TEST(BitmapFileTest, BadRunLengthDataIsRefused)
{
    const std::vector<std::pair<const char*, Bytes>> cases {
        { "pixels above the top", { 0, 0, 0, 0, 1, 1, 0, 1 } },
        { "end of line above the top", { 0, 0, 0, 0, 0, 0, 0, 1 } },
        { "delta above the top", { 0, 2, 0, 3, 0, 1 } },
        { "delta past the right edge", { 0, 2, 5, 0, 0, 1 } },
        { "no end of bitmap", { 2, 1 } },
        { "delta off the end", { 0, 2, 1 } },
        { "literal off the end", { 0, 5, 1, 2, 0, 1 } },
    };
    for (const auto& [name, data] : cases) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(DecodeBitmapFile(RleFile(kRle8, 4, 2, data)));
    }
    EXPECT_FALSE(DecodeBitmapFile(RleFile(kRle8, 6, -4, kRle8Sample))) << "top-down RLE";
    Bytes rle8WithFourBits = RleFile(kRle8, 6, 4, kRle8Sample);
    rle8WithFourBits[28] = 4;
    EXPECT_FALSE(DecodeBitmapFile(rle8WithFourBits));
}

TEST(BitmapFileTest, EveryTruncationIsRefused)
{
    std::vector<std::pair<std::string, Bytes>> files { { "rle8", RleFile(kRle8, 6, 4, kRle8Sample) },
        { "rle4", RleFile(kRle4, 7, 2, kRle4Sample) } };
    for (const Sample& sample : ValidSamples())
        files.emplace_back(sample.name, sample.file);
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(DecodeBitmapFile(file));
        for (size_t length = 0; length < file.size(); ++length)
            ASSERT_FALSE(DecodeBitmapFile(std::span(file).first(length))) << "prefix of " << length;
    }
}

TEST(BitmapFileTest, InconsistentHeadersAreRefusedWithTheirReason)
{
    using enum BitmapRefusal;
    BitmapFile base = MakeFile(40, 4, 2, 24);
    base.pixelData.assign(24, 0x7F);
    auto size = [](uint32_t width, uint32_t height) {
        return [=](Bytes& f) {
            SetU32(f, 18, width);
            SetU32(f, 22, height);
        };
    };
    struct Case {
        const char* name;
        std::function<void(Bytes&)> mutate;
        BitmapRefusal refusal;
    };
    // Offsets: 10 pixel offset, 14 header size, 18 width, 22 height, 26 planes, 28 bits, 30 compression.
    const std::vector<Case> cases {
        { "bad magic", [](Bytes& f) { f[1] = 'A'; }, NotABitmap },
        { "unknown header size", [](Bytes& f) { SetU32(f, 14, 64); }, NotABitmap },
        { "header past the end", [](Bytes& f) { SetU32(f, 14, 124); }, Damaged },
        { "zero width", [](Bytes& f) { SetU32(f, 18, 0); }, Damaged },
        { "negative width", [](Bytes& f) { SetU32(f, 18, static_cast<uint32_t>(-4)); }, Damaged },
        { "zero height", [](Bytes& f) { SetU32(f, 22, 0); }, Damaged },
        { "height INT_MIN", [](Bytes& f) { SetU32(f, 22, static_cast<uint32_t>(INT_MIN)); }, TooLarge },
        { "100000 by 100000", size(100000, 100000), TooLarge },
        { "16385 wide", size(16385, 1), TooLarge },
        { "16385 high, top-down", size(1, static_cast<uint32_t>(-16385)), TooLarge },
        { "4097 by 4096: one row past 16 Mi pixels", size(4097, 4096), TooLarge },
        { "one row too many", [](Bytes& f) { SetU32(f, 22, 3); }, Damaged },
        { "two planes", [](Bytes& f) { f[26] = 2; }, Damaged },
        { "2 bits", [](Bytes& f) { f[28] = 2; }, Unsupported },
        { "JPEG", [](Bytes& f) { SetU32(f, 30, 4); }, Unsupported },
        { "PNG", [](Bytes& f) { SetU32(f, 30, 5); }, Unsupported },
        { "bitfields at 24 bits", [](Bytes& f) { SetU32(f, 30, kBitfields); }, Unsupported },
        { "offset past the end", [](Bytes& f) { SetU32(f, 10, static_cast<uint32_t>(f.size() + 1)); }, Damaged },
        { "offset inside the header", [](Bytes& f) { SetU32(f, 10, 40); }, Damaged },
    };
    ASSERT_TRUE(DecodeBitmapFile(Assemble(base)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = Assemble(base);
        c.mutate(file);
        BitmapRefusal refusal = NotABitmap;
        EXPECT_FALSE(DecodeBitmapFile(file, &refusal));
        EXPECT_EQ(refusal, c.refusal) << DescribeRefusal(refusal);
    }
    BitmapRefusal refusal = NotABitmap;
    EXPECT_FALSE(DecodeBitmapFile(Bytes {}, &refusal));
    EXPECT_EQ(refusal, NotABitmap);
}

// A few bytes of run-length data can claim any size; the caps hold before a
// single pixel is allocated, and up to them a picture still loads.
TEST(BitmapFileTest, RunLengthPicturesAreCappedWhateverTheirData)
{
    BitmapRefusal refusal = BitmapRefusal::Damaged;
    Bytes fewKilobytes(4096, 0);
    fewKilobytes[0] = 0;
    fewKilobytes[1] = 1; // end of bitmap at once; the rest is padding
    EXPECT_FALSE(DecodeBitmapFile(RleFile(kRle8, 16384, 16384, fewKilobytes), &refusal));
    EXPECT_EQ(refusal, BitmapRefusal::TooLarge);
    EXPECT_FALSE(DecodeBitmapFile(RleFile(kRle8, 4000, 4000, fewKilobytes), &refusal));
    EXPECT_EQ(refusal, BitmapRefusal::Damaged) << "more pixels than the data could describe";

    Bytes enough(70'000, 0);
    enough[1] = 1;
    auto atCap = DecodeBitmapFile(RleFile(kRle8, 4096, 4096, enough));
    ASSERT_TRUE(atCap);
    EXPECT_EQ(atCap->pixels.size(), size_t { 4096 } * 4096);
    EXPECT_FALSE(DecodeBitmapFile(RleFile(kRle4, 4096, 4097, enough), &refusal));
    EXPECT_EQ(refusal, BitmapRefusal::TooLarge);
}

TEST(BitmapFileTest, TablesMustLieBeforeThePixels)
{
    BitmapFile paletted = MakeFile(40, 8, 1, 1);
    paletted.palette = { 0, 0xFFFFFF };
    paletted.pixelData = { 0xAA, 0, 0, 0 };
    Bytes file = Assemble(paletted);
    SetU32(file, 10, 54 + 4); // the second palette entry now overlaps the pixels
    EXPECT_FALSE(DecodeBitmapFile(file));

    BitmapFile masked = MakeFile(40, 1, 1, 16, kBitfields);
    masked.masks = { 0xF0F0, 0x0F00, 0x000F }; // a gap in the red mask
    masked.pixelData = { 0, 0, 0, 0 };
    EXPECT_FALSE(DecodeBitmapFile(Assemble(masked)));
    masked.masks = k565;
    file = Assemble(masked);
    SetU32(file, 10, 54 + 8); // the blue mask now overlaps the pixels
    EXPECT_FALSE(DecodeBitmapFile(file));
}

} // namespace
