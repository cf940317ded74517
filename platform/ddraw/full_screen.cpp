#include "ddraw/full_screen.h"

#include <algorithm>
#include <cstring>

#include "host/host.h"

namespace platform::ddraw {
namespace {

struct FullScreenState {
    bool active = false;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> picture; // kept between frames: no allocation per frame
};

FullScreenState& State()
{
    static FullScreenState state;
    return state;
}

} // namespace

void EnterFullScreen(int width, int height)
{
    FullScreenState& state = State();
    if (state.active && state.width == width && state.height == height) return;
    state.active = true;
    state.width = width;
    state.height = height;
    host::Current().EnterFullScreen(width, height);
}

void LeaveFullScreen()
{
    FullScreenState& state = State();
    if (!state.active) return;
    state.active = false;
    state.picture.clear();
    host::Current().LeaveFullScreen();
}

void ShowFullScreenFrame(const Raster& screen)
{
    FullScreenState& state = State();
    if (!state.active || screen.pixels == nullptr || screen.width != state.width || screen.height != state.height)
        return;
    ConvertToXrgb(screen, state.picture);
    host::Current().PresentFullScreen(
        host::PixelView { state.picture.data(), screen.width, screen.height, screen.width });
}

bool IsFullScreen() { return State().active; }

bool FullScreenPicture(std::vector<uint32_t>& pixels, int& width, int& height)
{
    const FullScreenState& state = State();
    if (!state.active || state.width <= 0 || state.height <= 0) return false;
    width = state.width;
    height = state.height;
    pixels = state.picture;
    pixels.resize(size_t(width) * size_t(height), 0);
    return true;
}

void ConvertToXrgb(const Raster& screen, std::vector<uint32_t>& out)
{
    const int width = std::max(screen.width, 0);
    const int height = std::max(screen.height, 0);
    out.resize(size_t(width) * size_t(height));
    if (screen.pixels == nullptr) return;
    uint32_t* to = out.data();
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = screen.At(0, y);
        for (int x = 0; x < width; ++x) {
            if (screen.bytesPerPixel == 2) {
                uint16_t raw = 0;
                std::memcpy(&raw, row + x * 2, 2);
                *to++ = Rgb565ToXrgb(raw);
            } else {
                uint32_t raw = 0;
                std::memcpy(&raw, row + x * 4, 4);
                *to++ = raw & 0x00FFFFFFu;
            }
        }
    }
}

} // namespace platform::ddraw
