#include "ddraw/full_screen.h"

namespace platform::ddraw {
namespace {

struct FullScreenState {
    bool active = false;
    int width = 0;
    int height = 0;
};

FullScreenState& State()
{
    static FullScreenState state;
    return state;
}

} // namespace

void EnterFullScreen(int width, int height) { State() = { true, width, height }; }

void LeaveFullScreen() { State() = {}; }

// The host has no full-screen presentation yet; the frame stays in the
// primary's memory.
void ShowFullScreenFrame(const Raster&) { }

bool IsFullScreen() { return State().active; }

} // namespace platform::ddraw
