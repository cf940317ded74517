#include "bmp_writer.h"

#include <fstream>
#include <stdexcept>

namespace pictures {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPaletteSize = 256 * 4;

class ByteWriter {
public:
    void U8(uint32_t v) { bytes_.push_back(uint8_t(v)); }
    void U16(uint32_t v)
    {
        U8(v);
        U8(v >> 8);
    }
    void U32(uint32_t v)
    {
        U16(v);
        U16(v >> 16);
    }
    void PadRow(size_t rowStart)
    {
        while ((bytes_.size() - rowStart) % 4)
            U8(0);
    }
    size_t Size() const { return bytes_.size(); }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

uint32_t RowBytes(int width, int bitsPerPixel) { return (uint32_t(width) * bitsPerPixel + 31) / 32 * 4; }

void FileHeader(ByteWriter& out, uint32_t fileSize, uint32_t pixelOffset)
{
    out.U16(0x4D42); // "BM"
    out.U32(fileSize);
    out.U32(0);
    out.U32(pixelOffset);
}

void InfoHeader(ByteWriter& out, int width, int height, int bitsPerPixel, uint32_t imageSize, uint32_t coloursUsed)
{
    out.U32(kInfoHeaderSize);
    out.U32(uint32_t(width));
    out.U32(uint32_t(height));
    out.U16(1);
    out.U16(uint32_t(bitsPerPixel));
    out.U32(0); // BI_RGB
    out.U32(imageSize);
    out.U32(2835); // 72 dpi
    out.U32(2835);
    out.U32(coloursUsed);
    out.U32(0);
}

void Palette(ByteWriter& out, const IndexedImage& image)
{
    for (uint32_t rgb : image.palette) {
        out.U8(rgb);
        out.U8(rgb >> 8);
        out.U8(rgb >> 16);
        out.U8(0);
    }
}

void IndexRows(ByteWriter& out, const IndexedImage& image)
{
    for (int y = image.height - 1; y >= 0; --y) {
        size_t start = out.Size();
        for (int x = 0; x < image.width; ++x)
            out.U8(image.indices[size_t(y) * image.width + x]);
        out.PadRow(start);
    }
}

void MaskRows(ByteWriter& out, const IndexedImage& image)
{
    for (int y = image.height - 1; y >= 0; --y) {
        size_t start = out.Size();
        for (int x0 = 0; x0 < image.width; x0 += 8) {
            uint32_t bits = 0;
            for (int bit = 0; bit < 8 && x0 + bit < image.width; ++bit)
                if (image.transparent[size_t(y) * image.width + x0 + bit]) bits |= 0x80u >> bit;
            out.U8(bits);
        }
        out.PadRow(start);
    }
}

} // namespace

std::vector<uint8_t> EncodeBmp8(const IndexedImage& image)
{
    uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;
    uint32_t imageSize = RowBytes(image.width, 8) * uint32_t(image.height);
    ByteWriter out;
    FileHeader(out, pixelOffset + imageSize, pixelOffset);
    InfoHeader(out, image.width, image.height, 8, imageSize, 256);
    Palette(out, image);
    IndexRows(out, image);
    return out.Take();
}

std::vector<uint8_t> EncodeBmp24(const Canvas& canvas)
{
    uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;
    uint32_t imageSize = RowBytes(canvas.Width(), 24) * uint32_t(canvas.Height());
    ByteWriter out;
    FileHeader(out, pixelOffset + imageSize, pixelOffset);
    InfoHeader(out, canvas.Width(), canvas.Height(), 24, imageSize, 0);
    for (int y = canvas.Height() - 1; y >= 0; --y) {
        size_t start = out.Size();
        for (int x = 0; x < canvas.Width(); ++x) {
            uint32_t argb = canvas.At(x, y);
            out.U8(argb);
            out.U8(argb >> 8);
            out.U8(argb >> 16);
        }
        out.PadRow(start);
    }
    return out.Take();
}

std::vector<uint8_t> EncodeIco8(const IndexedImage& image)
{
    constexpr uint32_t kDirectorySize = 6 + 16;
    uint32_t xorSize = RowBytes(image.width, 8) * uint32_t(image.height);
    uint32_t andSize = RowBytes(image.width, 1) * uint32_t(image.height);
    uint32_t imageBytes = kInfoHeaderSize + kPaletteSize + xorSize + andSize;

    ByteWriter out;
    out.U16(0); // reserved
    out.U16(1); // icon
    out.U16(1); // one image
    out.U8(image.width >= 256 ? 0 : image.width);
    out.U8(image.height >= 256 ? 0 : image.height);
    out.U8(0); // 256 colours are written as 0
    out.U8(0);
    out.U16(1); // planes
    out.U16(8); // bits per pixel
    out.U32(imageBytes);
    out.U32(kDirectorySize);
    // The bitmap's height counts the colour rows and the mask rows.
    InfoHeader(out, image.width, image.height * 2, 8, xorSize + andSize, 256);
    Palette(out, image);
    IndexRows(out, image);
    MaskRows(out, image);
    return out.Take();
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file.flush()) throw std::runtime_error("cannot write " + path);
}

} // namespace pictures
