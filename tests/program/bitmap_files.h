// Small Windows bitmap files written by the tests themselves.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

// A 24-bit bitmap whose pixel (x, y) is colourAt(x, y) as 0x00RRGGBB.
inline std::string WriteBitmap24(const std::string& name, int width, int height,
    const std::function<uint32_t(int, int)>& colourAt, bool topDown = false)
{
    // ctest runs tests in parallel processes: each writes its own files.
    std::string path = (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "_" + name)).string();
    int rowBytes = (width * 3 + 3) & ~3;
    uint32_t dataBytes = uint32_t(rowBytes) * uint32_t(height);
    std::vector<uint8_t> file(54 + dataBytes, 0);
    auto put16 = [&](size_t at, uint16_t v) {
        file[at] = uint8_t(v);
        file[at + 1] = uint8_t(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = uint8_t(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, uint32_t(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(topDown ? -height : height));
    put16(26, 1);
    put16(28, 24);
    put32(34, dataBytes);
    for (int y = 0; y < height; ++y) {
        int storedRow = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            uint32_t c = colourAt(x, y);
            size_t at = 54 + size_t(storedRow) * rowBytes + size_t(x) * 3;
            file[at] = uint8_t(c);
            file[at + 1] = uint8_t(c >> 8);
            file[at + 2] = uint8_t(c >> 16);
        }
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out) {
        std::fwrite(file.data(), 1, file.size(), out);
        std::fclose(out);
    }
    return path;
}
