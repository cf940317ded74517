// The pictures the program runs with, each drawn by its own function.
#pragma once

#include "canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pictures {

// The program's icon: a sun over green hills in a rounded square, 32 by 32,
// transparent outside the square; as the window's .ico file.
Canvas DrawIcon();
std::vector<uint8_t> DrawIconFile();

// 600x285 landscapes with magenta cut-outs: daytime, then evening.
std::vector<uint8_t> DrawBackground01File();
std::vector<uint8_t> DrawBackground02File();
// A 380x480 standing character on magenta.
std::vector<uint8_t> DrawCharacter01File();
// A 15x25 kokeshi doll tile on magenta.
std::vector<uint8_t> DrawKokeshiFile();
// Three 100x100 animation frames stacked vertically, on magenta.
std::vector<uint8_t> DrawAnimationFile();
// A 50x50 emblem.
std::vector<uint8_t> DrawEmblemFile();

struct PictureFile {
    const char* name;
    std::vector<uint8_t> (*draw)();
};

// Every file the generator writes, in the order it writes them.
const std::vector<PictureFile>& AllPictureFiles();

} // namespace pictures
