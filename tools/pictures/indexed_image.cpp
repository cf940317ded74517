#include "indexed_image.h"

#include <limits>
#include <map>

namespace pictures {
namespace {

constexpr uint32_t kRgbMask = 0x00FFFFFF;

bool IsTransparent(uint32_t argb) { return (argb >> 24) == 0; }

// Black first, then the canvas's colours in order of first use; empty when
// they do not fit.
std::vector<uint32_t> ExactPalette(const Canvas& canvas)
{
    std::vector<uint32_t> palette { 0 };
    std::map<uint32_t, bool> seen { { 0, true } };
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            uint32_t argb = canvas.At(x, y);
            if (IsTransparent(argb)) continue;
            uint32_t rgb = argb & kRgbMask;
            if (seen.emplace(rgb, true).second) palette.push_back(rgb);
            if (palette.size() > 256) return {};
        }
    }
    return palette;
}

// A 6x6x6 colour cube and a ramp of greys.
std::vector<uint32_t> FixedPalette()
{
    std::vector<uint32_t> palette { 0 };
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                if (r || g || b) palette.push_back(uint32_t(r * 51) << 16 | uint32_t(g * 51) << 8 | uint32_t(b * 51));
    while (palette.size() < 256) {
        uint32_t grey = uint32_t(palette.size() - 216) * 6;
        palette.push_back(grey << 16 | grey << 8 | grey);
    }
    return palette;
}

uint8_t Nearest(const std::vector<uint32_t>& palette, uint32_t rgb)
{
    auto channelDistance = [](uint32_t a, uint32_t b, int shift) {
        int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        return d * d;
    };
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (size_t i = 0; i < palette.size(); ++i) {
        int distance = channelDistance(palette[i], rgb, 16) + channelDistance(palette[i], rgb, 8)
            + channelDistance(palette[i], rgb, 0);
        if (distance < bestDistance) {
            best = int(i);
            bestDistance = distance;
        }
    }
    return uint8_t(best);
}

} // namespace

IndexedImage ToIndexed(const Canvas& canvas)
{
    IndexedImage image;
    image.width = canvas.Width();
    image.height = canvas.Height();
    image.palette = ExactPalette(canvas);
    if (image.palette.empty()) image.palette = FixedPalette();

    std::map<uint32_t, uint8_t> indexOf;
    for (size_t i = 0; i < image.palette.size(); ++i)
        indexOf.emplace(image.palette[i], uint8_t(i));
    image.palette.resize(256, 0);

    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            uint32_t argb = canvas.At(x, y);
            bool clear = IsTransparent(argb);
            image.transparent.push_back(clear);
            if (clear) {
                image.indices.push_back(0);
                continue;
            }
            auto found = indexOf.find(argb & kRgbMask);
            image.indices.push_back(found != indexOf.end() ? found->second : Nearest(image.palette, argb & kRgbMask));
        }
    }
    return image;
}

} // namespace pictures
