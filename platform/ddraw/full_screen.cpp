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
    const uint32_t* shown = nullptr; // the last picture shown: `picture` or the host's canvas
    Raster pending; // the primary's memory, for a host that fetches on demand
    bool stale = false; // `pending` changed since the host's canvas was filled
};

FullScreenState& State()
{
    static FullScreenState state;
    return state;
}

// `screen` into `out`, rows without padding.
void ConvertRows(const Raster& screen, uint32_t* out)
{
    if (screen.pixels == nullptr) return;
    for (int y = 0; y < screen.height; ++y) {
        uint32_t* to = out + size_t(y) * size_t(screen.width);
        if (screen.bytesPerPixel == 2)
            rows::Widen565(to, screen.At(0, y), screen.width);
        else
            rows::CopyMasked32(reinterpret_cast<uint8_t*>(to), screen.At(0, y), screen.width, 0x00FFFFFFu);
    }
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
    state.shown = nullptr;
    state.pending = {};
    state.stale = false;
    host::Current().LeaveFullScreen();
}

// Widens `screen` into the host's canvas (or our own picture) and shows it.
static void PresentNow(FullScreenState& state, const Raster& screen)
{
    host::Host& host = host::Current();
    uint32_t* canvas = host.FullScreenCanvas(screen.width, screen.height);
    if (canvas == nullptr) {
        state.picture.resize(size_t(screen.width) * size_t(screen.height));
        canvas = state.picture.data();
    }
    ConvertRows(screen, canvas);
    state.shown = canvas;
    host.PresentFullScreen(host::PixelView { canvas, screen.width, screen.height, screen.width });
}

void ShowFullScreenFrame(const Raster& screen)
{
    FullScreenState& state = State();
    if (!state.active || screen.pixels == nullptr || screen.width != state.width || screen.height != state.height)
        return;
    host::Host& host = host::Current();
    if (host.ShowsFullScreenOnDemand()) {
        state.pending = screen;
        state.stale = true;
        host.FullScreenChanged();
        return;
    }
    PresentNow(state, screen);
}

void SettleFullScreenFrame()
{
    FullScreenState& state = State();
    if (!state.active || !state.stale) return;
    state.stale = false;
    uint32_t* canvas = host::Current().FullScreenCanvas(state.pending.width, state.pending.height);
    if (canvas == nullptr) {
        PresentNow(state, state.pending);
        return;
    }
    ConvertRows(state.pending, canvas);
    state.shown = canvas;
}

void ForgetFullScreenMemory(const uint8_t* memory)
{
    FullScreenState& state = State();
    if (memory == nullptr || state.pending.pixels != memory) return;
    SettleFullScreenFrame();
    state.pending = {};
}

bool IsFullScreen() { return State().active; }

bool FullScreenPicture(std::vector<uint32_t>& pixels, int& width, int& height)
{
    SettleFullScreenFrame();
    const FullScreenState& state = State();
    if (!state.active || state.width <= 0 || state.height <= 0) return false;
    width = state.width;
    height = state.height;
    size_t count = size_t(width) * size_t(height);
    // Black until the first frame is shown.
    if (state.shown)
        pixels.assign(state.shown, state.shown + count);
    else
        pixels.assign(count, 0);
    return true;
}

} // namespace platform::ddraw
