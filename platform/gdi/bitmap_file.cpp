#include "gdi/bitmap_file.h"

#include <array>
#include <bit>
#include <cstddef>

#include "gdi/bitmap_rle.h"

namespace platform::gdi {
namespace {

constexpr size_t kFileHeaderSize = kBitmapFileHeaderBytes;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV2HeaderSize = 52; // the first with colour masks inside
constexpr uint32_t kV3HeaderSize = 56;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kV5HeaderSize = kLargestBitmapInfoHeaderBytes;

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

// Runs give at most 255 pixels for two bytes, but deltas and an early end of
// bitmap cover more; this bounds the picture by what RLE data could describe
// in reasonable files, below the absolute caps.
constexpr int64_t kRlePixelsPerByte = 256;
constexpr int64_t kRleSlackPixels = 65536;

using Bytes = std::span<const uint8_t>;

uint16_t ReadU16(Bytes bytes, size_t at) { return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8); }

uint32_t ReadU32(Bytes bytes, size_t at)
{
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8
        | static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

int32_t ReadI32(Bytes bytes, size_t at) { return static_cast<int32_t>(ReadU32(bytes, at)); }

uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) { return red << 16 | green << 8 | blue; }

// One colour channel of a 16- or 32-bit pixel, widened or narrowed to 8 bits
// with rounding, so that full scale stays full scale at any width (5, 6, 10...).
class Channel {
public:
    Channel() = default;
    explicit Channel(uint32_t mask)
        : mask_(mask)
        , shift_(mask == 0 ? 0 : std::countr_zero(mask))
        , maxValue_(mask >> shift_)
    {
    }

    // A zero mask is allowed (the channel reads 0); a mask with gaps is not.
    bool IsContiguous() const { return (maxValue_ & (uint64_t { maxValue_ } + 1)) == 0; }

    uint32_t Extract(uint32_t pixel) const
    {
        if (maxValue_ == 0) return 0;
        uint64_t value = (pixel & mask_) >> shift_;
        return static_cast<uint32_t>((value * 255 + maxValue_ / 2) / maxValue_);
    }

private:
    uint32_t mask_ = 0;
    int shift_ = 0;
    uint32_t maxValue_ = 0;
};

struct ChannelMasks {
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
};

struct Header {
    uint32_t size = 0;
    int64_t width = 0;
    int64_t height = 0; // negative: top-down
    uint16_t planes = 0;
    uint16_t bitsPerPixel = 0;
    uint32_t compression = kBiRgb;
    uint32_t colorsUsed = 0;
    ChannelMasks masks; // only from headers of 52 bytes or more
};

// Everything needed to turn the pixel data into pixels, all checked.
struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    uint32_t compression = kBiRgb;
    std::array<Channel, 3> channels; // red, green, blue of 16- and 32-bit pixels
    std::vector<uint32_t> palette;
    Bytes pixelData; // from the pixel offset to the end of the file
};

bool IsKnownHeaderSize(uint32_t size)
{
    switch (size) {
    case kCoreHeaderSize:
    case kInfoHeaderSize:
    case kV2HeaderSize:
    case kV3HeaderSize:
    case kV4HeaderSize:
    case kV5HeaderSize:
        return true;
    default:
        return false;
    }
}

Header ReadCoreHeader(Bytes header)
{
    Header result;
    result.size = kCoreHeaderSize;
    result.width = ReadU16(header, 4);
    result.height = ReadU16(header, 6);
    result.planes = ReadU16(header, 8);
    result.bitsPerPixel = ReadU16(header, 10);
    return result;
}

Header ReadInfoHeader(Bytes header)
{
    Header result;
    result.size = static_cast<uint32_t>(header.size());
    result.width = ReadI32(header, 4);
    result.height = ReadI32(header, 8);
    result.planes = ReadU16(header, 12);
    result.bitsPerPixel = ReadU16(header, 14);
    result.compression = ReadU32(header, 16);
    result.colorsUsed = ReadU32(header, 32);
    if (header.size() >= kV2HeaderSize)
        result.masks = { ReadU32(header, 40), ReadU32(header, 44), ReadU32(header, 48) };
    return result;
}

std::optional<Header> ReadHeader(Bytes file, BitmapRefusal& refusal)
{
    refusal = BitmapRefusal::NotABitmap;
    if (file.size() < kFileHeaderSize + 4) return std::nullopt;
    if (file[0] != 'B' || file[1] != 'M') return std::nullopt;
    uint32_t size = ReadU32(file, kFileHeaderSize);
    if (!IsKnownHeaderSize(size)) return std::nullopt;
    refusal = BitmapRefusal::Damaged;
    if (file.size() - kFileHeaderSize < size) return std::nullopt;
    Bytes header = file.subspan(kFileHeaderSize, size);
    return size == kCoreHeaderSize ? ReadCoreHeader(header) : ReadInfoHeader(header);
}

bool IsSupportedDepth(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool IsCompressionValid(uint32_t compression, int bits, bool topDown)
{
    switch (compression) {
    case kBiRgb:
        return true;
    case kBiRle8:
        return bits == 8 && !topDown; // RLE is bottom-up by definition
    case kBiRle4:
        return bits == 4 && !topDown;
    case kBiBitfields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

ChannelMasks DefaultMasks(int bits)
{
    if (bits == 16) return { 0x7C00, 0x03E0, 0x001F };
    return { 0xFF0000, 0x00FF00, 0x0000FF };
}

std::optional<std::array<Channel, 3>> MakeChannels(ChannelMasks masks)
{
    std::array<Channel, 3> channels { Channel(masks.red), Channel(masks.green), Channel(masks.blue) };
    for (const Channel& channel : channels)
        if (!channel.IsContiguous()) return std::nullopt;
    return channels;
}

// Reads the masks (after a 40-byte header, or from a larger one) and moves
// `tableAt` past them when they are stored after the header.
std::optional<std::array<Channel, 3>> ReadChannels(Bytes file, const Header& header, size_t& tableAt)
{
    if (header.compression != kBiBitfields) return MakeChannels(DefaultMasks(header.bitsPerPixel));
    if (header.size >= kV2HeaderSize) return MakeChannels(header.masks);
    if (file.size() - tableAt < 12) return std::nullopt;
    ChannelMasks masks { ReadU32(file, tableAt), ReadU32(file, tableAt + 4), ReadU32(file, tableAt + 8) };
    tableAt += 12;
    return MakeChannels(masks);
}

// Core headers store RGBTRIPLEs and always a full palette; the others store
// RGBQUADs, as many as biClrUsed says (0: full). Only indices the depth can
// reach are read. Nullopt when the palette runs past the pixel offset, which
// lies at or after `tableAt` and inside the file.
std::optional<std::vector<uint32_t>> ReadPalette(Bytes file, const Header& header, size_t tableAt, size_t pixelOffset)
{
    if (header.bitsPerPixel > 8) return std::vector<uint32_t> {};
    size_t fullCount = size_t { 1 } << header.bitsPerPixel;
    bool core = header.size == kCoreHeaderSize;
    size_t count = (core || header.colorsUsed == 0 || header.colorsUsed > fullCount) ? fullCount : header.colorsUsed;
    size_t entrySize = core ? 3 : 4;
    if ((pixelOffset - tableAt) / entrySize < count) return std::nullopt;
    std::vector<uint32_t> palette(count);
    for (size_t i = 0; i < count; ++i) {
        size_t at = tableAt + i * entrySize;
        palette[i] = Rgb(file[at + 2], file[at + 1], file[at]);
    }
    return palette;
}

// Refuses pictures whose pixels the data could not hold, before anything is
// allocated for them.
bool DataCanHoldPixels(const Layout& layout)
{
    int64_t pixels = int64_t { layout.width } * layout.height;
    auto available = static_cast<int64_t>(layout.pixelData.size());
    if (layout.compression == kBiRle8 || layout.compression == kBiRle4)
        return pixels <= available * kRlePixelsPerByte + kRleSlackPixels;
    return BitmapRowBytes(layout.width, layout.bitsPerPixel) * layout.height <= available;
}

// Sizes within the caps, and a depth and compression that go together.
std::optional<BitmapRefusal> ShapeFault(const Header& header)
{
    bool topDown = header.height < 0;
    int64_t height = topDown ? -header.height : header.height;
    if (header.width <= 0 || height == 0 || header.planes != 1) return BitmapRefusal::Damaged;
    if (header.width > kMaxBitmapSide || height > kMaxBitmapSide || header.width * height > kMaxBitmapPixels)
        return BitmapRefusal::TooLarge;
    if (!IsSupportedDepth(header.bitsPerPixel) || !IsCompressionValid(header.compression, header.bitsPerPixel, topDown))
        return BitmapRefusal::Unsupported;
    return std::nullopt;
}

std::optional<Layout> ReadLayout(Bytes file, BitmapRefusal& refusal)
{
    std::optional<Header> header = ReadHeader(file, refusal);
    if (!header) return std::nullopt;
    if (std::optional<BitmapRefusal> fault = ShapeFault(*header)) {
        refusal = *fault;
        return std::nullopt;
    }
    // Whatever fails from here on is data that does not hold together.
    refusal = BitmapRefusal::Damaged;
    Layout layout;
    layout.topDown = header->height < 0;
    layout.width = static_cast<int>(header->width);
    layout.height = static_cast<int>(layout.topDown ? -header->height : header->height);
    layout.bitsPerPixel = header->bitsPerPixel;
    layout.compression = header->compression;

    size_t tableAt = kFileHeaderSize + header->size;
    std::optional<std::array<Channel, 3>> channels = ReadChannels(file, *header, tableAt);
    if (!channels) return std::nullopt;
    layout.channels = *channels;

    size_t pixelOffset = ReadU32(file, 10);
    if (pixelOffset < tableAt || pixelOffset > file.size()) return std::nullopt;
    std::optional<std::vector<uint32_t>> palette = ReadPalette(file, *header, tableAt, pixelOffset);
    if (!palette) return std::nullopt;
    layout.palette = std::move(*palette);
    layout.pixelData = file.subspan(pixelOffset);
    if (!DataCanHoldPixels(layout)) return std::nullopt;
    return layout;
}

uint32_t PaletteColour(const Layout& layout, size_t index)
{
    return index < layout.palette.size() ? layout.palette[index] : 0;
}

uint32_t MaskedColour(const Layout& layout, uint32_t pixel)
{
    return Rgb(layout.channels[0].Extract(pixel), layout.channels[1].Extract(pixel), layout.channels[2].Extract(pixel));
}

// Indices of 1, 4 and 8 bits are packed from the most significant bit down.
size_t IndexInRow(Bytes row, int x, int bits)
{
    size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bits);
    auto shift = static_cast<unsigned>(8 - bits - static_cast<int>(bit % 8));
    return (row[bit / 8] >> shift) & ((1u << bits) - 1);
}

uint32_t PixelInRow(const Layout& layout, Bytes row, int x)
{
    auto at = static_cast<size_t>(x);
    switch (layout.bitsPerPixel) {
    case 16:
        return MaskedColour(layout, ReadU16(row, at * 2));
    case 24:
        return Rgb(row[at * 3 + 2], row[at * 3 + 1], row[at * 3]);
    case 32:
        return MaskedColour(layout, ReadU32(row, at * 4));
    default:
        return PaletteColour(layout, IndexInRow(row, x, layout.bitsPerPixel));
    }
}

size_t OutputRow(const Layout& layout, int storedRow)
{
    return static_cast<size_t>(layout.topDown ? storedRow : layout.height - 1 - storedRow);
}

std::vector<uint32_t> DecodeUncompressed(const Layout& layout)
{
    auto width = static_cast<size_t>(layout.width);
    size_t rowBytes = (width * static_cast<size_t>(layout.bitsPerPixel) + 31) / 32 * 4;
    std::vector<uint32_t> pixels(width * static_cast<size_t>(layout.height));
    for (int stored = 0; stored < layout.height; ++stored) {
        Bytes row = layout.pixelData.subspan(static_cast<size_t>(stored) * rowBytes, rowBytes);
        uint32_t* out = pixels.data() + OutputRow(layout, stored) * width;
        for (int x = 0; x < layout.width; ++x)
            out[x] = PixelInRow(layout, row, x);
    }
    return pixels;
}

std::optional<std::vector<uint32_t>> DecodeRunLength(const Layout& layout)
{
    std::optional<std::vector<uint8_t>> indices
        = DecodeRle(layout.pixelData, layout.bitsPerPixel, layout.width, layout.height);
    if (!indices) return std::nullopt;
    auto width = static_cast<size_t>(layout.width);
    std::vector<uint32_t> pixels(indices->size());
    for (int stored = 0; stored < layout.height; ++stored) {
        const uint8_t* in = indices->data() + static_cast<size_t>(stored) * width;
        uint32_t* out = pixels.data() + OutputRow(layout, stored) * width;
        for (size_t x = 0; x < width; ++x)
            out[x] = PaletteColour(layout, in[x]);
    }
    return pixels;
}

} // namespace

std::optional<DecodedBitmap> DecodeBitmapFile(std::span<const uint8_t> file, BitmapRefusal* refusal)
{
    BitmapRefusal fault = BitmapRefusal::Damaged;
    std::optional<Layout> layout = ReadLayout(file, fault);
    if (!layout) {
        if (refusal != nullptr) *refusal = fault;
        return std::nullopt;
    }
    DecodedBitmap bitmap;
    bitmap.width = layout->width;
    bitmap.height = layout->height;
    bitmap.topDown = layout->topDown;
    bitmap.bitsPerPixel = layout->bitsPerPixel;
    if (layout->compression == kBiRle8 || layout->compression == kBiRle4) {
        std::optional<std::vector<uint32_t>> pixels = DecodeRunLength(*layout);
        if (!pixels) {
            if (refusal != nullptr) *refusal = BitmapRefusal::Damaged;
            return std::nullopt;
        }
        bitmap.pixels = std::move(*pixels);
    } else {
        bitmap.pixels = DecodeUncompressed(*layout);
    }
    return bitmap;
}

const char* DescribeRefusal(BitmapRefusal refusal)
{
    switch (refusal) {
    case BitmapRefusal::NotABitmap:
        return "not a Windows bitmap";
    case BitmapRefusal::Unsupported:
        return "a kind of Windows bitmap that is not read (compression or depth)";
    case BitmapRefusal::TooLarge:
        return "too large (at most 16384 pixels a side and 16 Mi pixels in all)";
    case BitmapRefusal::Damaged:
        break;
    }
    return "damaged (truncated or inconsistent)";
}

} // namespace platform::gdi
