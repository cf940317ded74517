// What the headless host keeps of the screen and of the boxes shown, as a
// test reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::host {

// A picture as a screen shows it: 0x00RRGGBB, rows top to bottom.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

struct ShownMessageBox {
    std::string captionUtf8;
    std::string textUtf8;
    int answer = 0;
};

} // namespace platform::host
