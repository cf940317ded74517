#include "screens/full_screen.h"

#include <algorithm>
#include <cstring>

#include "common/rgb565.h"
#include "pixels/blitters.h"

namespace platform::screens {
namespace {

struct FullScreenState {
    bool active = false;
    int width = 0;
    int height = 0;
    PixelView memory; // the display's, lent by the host while full screen lasts
    DisplayTenant* onMemory = nullptr; // whose pixels live there
};

FullScreenState& State()
{
    static FullScreenState state;
    return state;
}

constexpr int kBytesPerPixel = 2;

bool HasMemory(const FullScreenState& state) { return state.active && state.memory.pixels != nullptr; }

} // namespace

void EnterFullScreen(int width, int height)
{
    FullScreenState& state = State();
    if (state.active && state.width == width && state.height == height) return;
    if (state.onMemory) state.onMemory->LeaveDisplayMemory();
    state = FullScreenState {};
    state.active = true;
    state.width = width;
    state.height = height;
    host::Host& host = host::Current();
    host.EnterFullScreen(width, height);
    const platform::PixelView lent = host.Lend(host::Screen::FullScreen, width, height, Rectangle {});
    if (lent.pixels && lent.width == width && lent.height == height && lent.bytesPerPixel == kBytesPerPixel
        && lent.RowsFit() && lent.pitch % kBytesPerPixel == 0)
        state.memory = lent;
}

void LeaveFullScreen()
{
    FullScreenState& state = State();
    if (!state.active) return;
    DisplayTenant* tenant = state.onMemory;
    state = FullScreenState {};
    if (tenant) tenant->LeaveDisplayMemory();
    host::Current().LeaveFullScreen();
}

PixelView LendFullScreenMemory(DisplayTenant* tenant, int width, int height)
{
    FullScreenState& state = State();
    if (!HasMemory(state) || state.onMemory || width != state.width || height != state.height) return {};
    state.onMemory = tenant;
    return state.memory;
}

void TenantGone(const DisplayTenant* tenant)
{
    FullScreenState& state = State();
    if (state.onMemory == tenant) state.onMemory = nullptr;
}

void ShowFullScreenFrame(const PixelView& screen, const Rectangle& area)
{
    FullScreenState& state = State();
    if (!HasMemory(state) || screen.pixels == nullptr || screen.width != state.width || screen.height != state.height
        || screen.bytesPerPixel != kBytesPerPixel)
        return;
    const Rectangle shown = Intersect(area, state.memory.Bounds());
    if (shown.IsEmpty()) return;
    // A primary of its own memory (one from an earlier mode, restored) is
    // shown by copying what changed.
    if (screen.pixels != state.memory.pixels)
        pixels::CopyPixels(state.memory, shown, screen, shown.left, shown.top, pixels::kKeepAllBits);
    host::Current().Changed(host::Screen::FullScreen, shown);
}

bool IsFullScreen() { return State().active; }

bool FullScreenPicture(std::vector<uint32_t>& pixels, int& width, int& height)
{
    const FullScreenState& state = State();
    if (!state.active || state.width <= 0 || state.height <= 0) return false;
    width = state.width;
    height = state.height;
    pixels.assign(size_t(width) * size_t(height), 0);
    if (!HasMemory(state)) return true;
    const PixelView& memory = state.onMemory ? state.onMemory->SettledMemory(compose::Touch::Read) : state.memory;
    for (int y = 0; y < height; ++y)
        rgb565::WidenRow(pixels.data() + size_t(y) * size_t(width), memory.At(0, y), width);
    return true;
}

void ShowOverFullScreen(const platform::ReadOnlyPixelView& picture)
{
    const FullScreenState& state = State();
    if (!HasMemory(state) || !picture.pixels || picture.width != state.width || picture.height != state.height
        || picture.bytesPerPixel != 4 || !picture.RowsFit())
        return;
    // Blits still to read the primary read it as it was.
    const PixelView& memory = state.onMemory ? state.onMemory->SettledMemory(compose::Touch::Write) : state.memory;
    for (int y = 0; y < state.height; ++y) {
        const uint32_t* from = picture.Row<uint32_t>(y);
        uint8_t* to = memory.At(0, y);
        for (int x = 0; x < state.width; ++x) {
            const uint16_t pixel = rgb565::FromXrgb(from[x]);
            std::memcpy(to + x * kBytesPerPixel, &pixel, kBytesPerPixel);
        }
    }
    host::Current().Changed(host::Screen::FullScreen, Rectangle { 0, 0, state.width, state.height });
}

} // namespace platform::screens
