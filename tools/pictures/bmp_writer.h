// Windows bitmap and icon files, written byte by byte (little-endian, rows
// bottom-up, each padded to four bytes) so no imaging library is needed.
#pragma once

#include "canvas.h"
#include "indexed_image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pictures {

std::vector<uint8_t> EncodeBmp8(const IndexedImage& image);
std::vector<uint8_t> EncodeBmp24(const Canvas& canvas);
// One image: an 8-bit bitmap with its 256-entry palette and the AND mask.
std::vector<uint8_t> EncodeIco8(const IndexedImage& image);

// Throws std::runtime_error naming the file when it cannot be written.
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace pictures
