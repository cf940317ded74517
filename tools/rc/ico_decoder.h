// Decodes a Windows icon file into the pixels the window manager shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rc {

struct DecodedIcon {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb; // 0xAARRGGBB, rows top to bottom; masked pixels are 0
};

// Takes the 32 by 32 image of the deepest colour, or else the first one.
// Every offset and size is checked against the file; a malformed file
// throws RcError naming `source`.
DecodedIcon DecodeIco(const std::vector<uint8_t>& file, const std::string& source);

} // namespace rc
