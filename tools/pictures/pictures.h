// The pictures the program runs with, each drawn by its own function.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pictures {

// The program's icon: a sun over green hills in a rounded square.
std::vector<uint8_t> DrawIconFile();

struct PictureFile {
    const char* name;
    std::vector<uint8_t> (*draw)();
};

// Every file the generator writes, in the order it writes them.
const std::vector<PictureFile>& AllPictureFiles();

} // namespace pictures
