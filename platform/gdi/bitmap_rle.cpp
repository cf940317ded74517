#include "gdi/bitmap_rle.h"

#include <cstddef>

namespace platform::gdi {
namespace {

constexpr uint8_t kEscape = 0;
constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfBitmap = 1;
constexpr uint8_t kDelta = 2;

// The index picture with the pen the codes move. Rows count from the bottom.
class RleCanvas {
public:
    RleCanvas(int width, int height)
        : width_(width)
        , height_(height)
        , indices_(static_cast<size_t>(width) * static_cast<size_t>(height), 0)
    {
    }

    // Pixels past the right edge are dropped: encoders commonly let the last
    // run of a line overshoot. Pixels above the top row are an error.
    bool Put(uint8_t index)
    {
        if (y_ >= height_) return false;
        if (x_ < width_) {
            indices_[static_cast<size_t>(y_) * static_cast<size_t>(width_) + static_cast<size_t>(x_)] = index;
            ++x_;
        }
        return true;
    }

    bool EndLine()
    {
        if (y_ >= height_) return false;
        x_ = 0;
        ++y_;
        return true;
    }

    bool Move(int dx, int dy)
    {
        if (x_ + dx > width_ || y_ + dy > height_) return false;
        x_ += dx;
        y_ += dy;
        return true;
    }

    std::vector<uint8_t> Take() { return std::move(indices_); }

private:
    int width_;
    int height_;
    int x_ = 0;
    int y_ = 0;
    std::vector<uint8_t> indices_;
};

// RLE4 packs two indices a byte, high nibble first.
uint8_t IndexAt(std::span<const uint8_t> bytes, size_t i, int bitsPerIndex)
{
    if (bitsPerIndex == 8) return bytes[i];
    uint8_t byte = bytes[i / 2];
    return (i % 2 == 0) ? byte >> 4 : byte & 0x0F;
}

// An encoded run repeats one byte: in RLE4 its two nibbles alternate.
bool PutRun(RleCanvas& canvas, int count, uint8_t value, int bitsPerIndex)
{
    uint8_t even = bitsPerIndex == 8 ? value : value >> 4;
    uint8_t odd = bitsPerIndex == 8 ? value : value & 0x0F;
    for (int i = 0; i < count; ++i)
        if (!canvas.Put(i % 2 == 0 ? even : odd)) return false;
    return true;
}

bool PutLiteral(RleCanvas& canvas, std::span<const uint8_t> bytes, int count, int bitsPerIndex)
{
    for (int i = 0; i < count; ++i)
        if (!canvas.Put(IndexAt(bytes, static_cast<size_t>(i), bitsPerIndex))) return false;
    return true;
}

} // namespace

std::optional<std::vector<uint8_t>> DecodeRle(std::span<const uint8_t> data, int bitsPerIndex, int width, int height)
{
    RleCanvas canvas(width, height);
    size_t at = 0;
    // Every pass consumes at least two bytes, so the loop ends with the data.
    while (data.size() - at >= 2) {
        uint8_t first = data[at];
        uint8_t second = data[at + 1];
        at += 2;
        if (first != kEscape) {
            if (!PutRun(canvas, first, second, bitsPerIndex)) return std::nullopt;
        } else if (second == kEndOfLine) {
            if (!canvas.EndLine()) return std::nullopt;
        } else if (second == kEndOfBitmap) {
            return canvas.Take();
        } else if (second == kDelta) {
            if (data.size() - at < 2) return std::nullopt;
            if (!canvas.Move(data[at], data[at + 1])) return std::nullopt;
            at += 2;
        } else {
            // Absolute mode: `second` literal indices, padded to a 16-bit word.
            size_t bytes = bitsPerIndex == 8 ? second : (second + 1u) / 2;
            size_t padded = bytes + bytes % 2;
            if (data.size() - at < padded) return std::nullopt;
            if (!PutLiteral(canvas, data.subspan(at, bytes), second, bitsPerIndex)) return std::nullopt;
            at += padded;
        }
    }
    return std::nullopt;
}

} // namespace platform::gdi
