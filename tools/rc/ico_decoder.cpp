#include "ico_decoder.h"

#include "rc_error.h"

#include <cstring>

namespace rc {
namespace {

constexpr size_t kDirectoryHeader = 6;
constexpr size_t kDirectoryEntry = 16;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int kMaxSide = 256;

struct Entry {
    int width;
    int height;
    int bitCount;
    uint32_t size;
    uint32_t offset;
};

// Reads little-endian values within one byte range; any read past its end
// is a malformed file.
class Reader {
public:
    Reader(const uint8_t* data, size_t size, const std::string& source)
        : data_(data)
        , size_(size)
        , source_(source)
    {
    }

    uint32_t U8(size_t at) const { return Bytes(at, 1)[0]; }
    uint32_t U16(size_t at) const
    {
        const uint8_t* p = Bytes(at, 2);
        return p[0] | uint32_t(p[1]) << 8;
    }
    uint32_t U32(size_t at) const
    {
        const uint8_t* p = Bytes(at, 4);
        return p[0] | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    const uint8_t* Bytes(size_t at, size_t count) const
    {
        if (at > size_ || count > size_ - at) Fail("is truncated");
        return data_ + at;
    }
    size_t Size() const { return size_; }
    [[noreturn]] void Fail(const std::string& what) const { throw RcError(source_ + ": icon file " + what); }

private:
    const uint8_t* data_;
    size_t size_;
    const std::string& source_;
};

Entry ReadEntry(const Reader& file, size_t index)
{
    size_t at = kDirectoryHeader + index * kDirectoryEntry;
    Entry entry {};
    entry.width = file.U8(at) ? int(file.U8(at)) : 256;
    entry.height = file.U8(at + 1) ? int(file.U8(at + 1)) : 256;
    entry.bitCount = int(file.U16(at + 6));
    entry.size = file.U32(at + 8);
    entry.offset = file.U32(at + 12);
    return entry;
}

Entry ChooseEntry(const Reader& file)
{
    if (file.Size() < kDirectoryHeader) file.Fail("is too short for an icon directory");
    if (file.U16(0) != 0 || file.U16(2) != 1) file.Fail("is not an icon (bad directory header)");
    size_t count = file.U16(4);
    if (count == 0) file.Fail("holds no images");
    if (count > (file.Size() - kDirectoryHeader) / kDirectoryEntry)
        file.Fail("directory runs past the end of the file");

    Entry chosen = ReadEntry(file, 0);
    for (size_t i = 1; i < count; ++i) {
        Entry entry = ReadEntry(file, i);
        bool chosenIs32 = chosen.width == 32 && chosen.height == 32;
        bool entryIs32 = entry.width == 32 && entry.height == 32;
        if (entryIs32 && (!chosenIs32 || entry.bitCount > chosen.bitCount)) chosen = entry;
    }
    if (chosen.offset > file.Size() || chosen.size > file.Size() - chosen.offset)
        file.Fail("image runs past the end of the file");
    return chosen;
}

uint32_t RowBytes(int width, int bitsPerPixel) { return (uint32_t(width) * uint32_t(bitsPerPixel) + 31) / 32 * 4; }

struct ImageLayout {
    int width;
    int height;
    int bitCount;
    uint32_t paletteOffset;
    uint32_t paletteCount;
    uint32_t xorOffset;
    uint32_t andOffset;
};

ImageLayout ReadLayout(const Reader& image)
{
    static const uint8_t kPng[] = { 0x89, 'P', 'N', 'G' };
    if (image.Size() >= 4 && std::memcmp(image.Bytes(0, 4), kPng, 4) == 0)
        image.Fail("holds a PNG-compressed image, which is not supported");
    uint32_t headerSize = image.U32(0);
    if (headerSize < kInfoHeaderSize || headerSize > image.Size()) image.Fail("has a bad bitmap header size");
    int32_t width = int32_t(image.U32(4));
    int32_t doubledHeight = int32_t(image.U32(8));
    ImageLayout layout {};
    layout.width = width;
    layout.height = doubledHeight / 2;
    layout.bitCount = int(image.U16(14));
    if (width < 1 || width > kMaxSide || doubledHeight < 2 || doubledHeight % 2 || layout.height > kMaxSide)
        image.Fail("has an image size of " + std::to_string(width) + " by " + std::to_string(doubledHeight)
            + " (colour and mask rows), outside 1 to 256");
    if (image.U16(12) != 1) image.Fail("has a bitmap with more than one plane");
    if (image.U32(16) != 0) image.Fail("has a compressed bitmap, which is not supported");
    int bits = layout.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        image.Fail("has " + std::to_string(bits) + " bits per pixel, which is not supported");

    uint32_t maxColours = bits <= 8 ? 1u << bits : 0;
    uint32_t coloursUsed = image.U32(32);
    layout.paletteCount = bits <= 8 ? (coloursUsed ? coloursUsed : maxColours) : 0;
    if (layout.paletteCount > maxColours) image.Fail("has more palette entries than its depth allows");
    layout.paletteOffset = headerSize;
    layout.xorOffset = layout.paletteOffset + layout.paletteCount * 4;
    layout.andOffset = layout.xorOffset + RowBytes(layout.width, bits) * uint32_t(layout.height);
    uint64_t end = uint64_t(layout.andOffset) + uint64_t(RowBytes(layout.width, 1)) * uint32_t(layout.height);
    if (end > image.Size()) image.Fail("image is shorter than its bitmap header says");
    return layout;
}

uint32_t IndexAt(const uint8_t* row, int x, int bits)
{
    if (bits == 8) return row[x];
    if (bits == 4) return (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

uint32_t ColourAt(const Reader& image, const ImageLayout& layout, const uint8_t* row, int x)
{
    if (layout.bitCount == 32) {
        const uint8_t* p = row + x * 4;
        return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    if (layout.bitCount == 24) {
        const uint8_t* p = row + x * 3;
        return 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    uint32_t index = IndexAt(row, x, layout.bitCount);
    if (index >= layout.paletteCount) image.Fail("has a pixel beyond the end of its palette");
    return 0xFF000000u | (image.U32(layout.paletteOffset + index * 4) & 0x00FFFFFF);
}

// A 32-bit image carries its own alpha; the mask counts only where every
// alpha is 0, as in icons written before alpha existed.
bool UsesOwnAlpha(const DecodedIcon& icon, int bitCount)
{
    if (bitCount != 32) return false;
    for (uint32_t pixel : icon.argb)
        if (pixel >> 24) return true;
    return false;
}

} // namespace

DecodedIcon DecodeIco(const std::vector<uint8_t>& bytes, const std::string& source)
{
    Reader file(bytes.data(), bytes.size(), source);
    Entry entry = ChooseEntry(file);
    Reader image(bytes.data() + entry.offset, entry.size, source);
    ImageLayout layout = ReadLayout(image);

    DecodedIcon icon;
    icon.width = layout.width;
    icon.height = layout.height;
    icon.argb.resize(size_t(layout.width) * layout.height);
    uint32_t xorRow = RowBytes(layout.width, layout.bitCount);
    uint32_t andRow = RowBytes(layout.width, 1);
    for (int y = 0; y < layout.height; ++y) {
        int stored = layout.height - 1 - y; // bitmaps are stored bottom-up
        const uint8_t* row = image.Bytes(layout.xorOffset + stored * xorRow, xorRow);
        for (int x = 0; x < layout.width; ++x)
            icon.argb[size_t(y) * layout.width + x] = ColourAt(image, layout, row, x);
    }
    if (UsesOwnAlpha(icon, layout.bitCount)) return icon;
    for (int y = 0; y < layout.height; ++y) {
        const uint8_t* mask = image.Bytes(layout.andOffset + (layout.height - 1 - y) * andRow, andRow);
        for (int x = 0; x < layout.width; ++x) {
            uint32_t& pixel = icon.argb[size_t(y) * layout.width + x];
            pixel = IndexAt(mask, x, 1) ? 0 : (pixel | 0xFF000000u);
        }
    }
    return icon;
}

} // namespace rc
