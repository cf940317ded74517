#include "png_encoder.h"

#include <stdexcept>
#include <string>

#include <zlib.h>

namespace pictures {
namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(value >> shift));
}

// Length, type, data and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& data)
{
    PutU32(out, uint32_t(data.size()));
    size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, out.data() + typeAt, uInt(out.size() - typeAt));
    PutU32(out, uint32_t(crc));
}

// Every row starts with filter byte 0 (none), then R, G, B, A per pixel.
std::vector<uint8_t> Scanlines(const Canvas& canvas)
{
    std::vector<uint8_t> rows;
    rows.reserve(size_t(canvas.Height()) * (1 + size_t(canvas.Width()) * 4));
    for (int y = 0; y < canvas.Height(); ++y) {
        rows.push_back(0);
        for (int x = 0; x < canvas.Width(); ++x) {
            uint32_t pixel = canvas.At(x, y);
            for (int shift : { 16, 8, 0, 24 })
                rows.push_back(uint8_t(pixel >> shift));
        }
    }
    return rows;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& bytes)
{
    uLongf size = compressBound(uLong(bytes.size()));
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, bytes.data(), uLong(bytes.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("zlib could not compress " + std::to_string(bytes.size()) + " bytes");
    packed.resize(size);
    return packed;
}

} // namespace

std::vector<uint8_t> EncodePngRgba(const Canvas& canvas)
{
    static constexpr uint8_t kSignature[] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    std::vector<uint8_t> out(std::begin(kSignature), std::end(kSignature));
    std::vector<uint8_t> header;
    PutU32(header, uint32_t(canvas.Width()));
    PutU32(header, uint32_t(canvas.Height()));
    header.insert(header.end(), { 8, 6, 0, 0, 0 }); // 8 bits, RGBA, deflate, adaptive filters, no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", Deflate(Scanlines(canvas)));
    PutChunk(out, "IEND", {});
    return out;
}

} // namespace pictures
