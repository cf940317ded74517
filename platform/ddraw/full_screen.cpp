#include "ddraw/full_screen.h"

#include <algorithm>
#include <cstring>

#include "ddraw/pixel_rows.h"
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

void ConvertToXrgb(const Raster& screen, std::vector<uint32_t>& out)
{
    const int width = std::max(screen.width, 0);
    const int height = std::max(screen.height, 0);
    out.resize(size_t(width) * size_t(height));
    if (screen.pixels == nullptr) return;
    for (int y = 0; y < height; ++y) {
        uint32_t* to = out.data() + size_t(y) * size_t(width);
        if (screen.bytesPerPixel == 2)
            rows::Widen565(to, screen.At(0, y), width);
        else
            rows::CopyMasked32(reinterpret_cast<uint8_t*>(to), screen.At(0, y), width, 0x00FFFFFFu);
    }
}

} // namespace platform::ddraw
