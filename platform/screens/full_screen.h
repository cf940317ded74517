// The exclusive full-screen display: entering and leaving it, and the memory
// its pixels live in, which the host lends. The full-screen primary's pixels
// live there, in the display's 5-6-5, so that a frame copied onto the
// primary is on the screen without another copy. Below both the window
// manager (which draws boxes over it) and DirectDraw (which draws on it).
#pragma once

#include <cstdint>
#include <vector>

#include "common/pixel_view.h"
#include "compose/blit_queue.h"
#include "host/host.h"

namespace platform::screens {

// Whoever keeps its pixels in the display's memory: the full-screen primary.
class DisplayTenant {
public:
    // Full screen ended: the pixels go on in memory of the tenant's own.
    virtual void LeaveDisplayMemory() = 0;
    // The display's memory, with what waits to be drawn into it (or to read
    // it) settled as `touch` needs.
    virtual const PixelView& SettledMemory(compose::Touch touch) = 0;

protected:
    ~DisplayTenant() = default;
};

// SetDisplayMode succeeded on an exclusive DirectDraw object.
void EnterFullScreen(int width, int height);
// The exclusive object gave the display back (Release, normal level, reset).
// A tenant still on the display's memory moves to memory of its own.
void LeaveFullScreen();

// The display's memory for `tenant`, of the display's size: it lives there
// until full screen ends or the tenant goes. Null pixels when there is no
// such memory, or another tenant has it.
PixelView LendFullScreenMemory(DisplayTenant* tenant, int width, int height);
// `tenant` is going away.
void TenantGone(const DisplayTenant* tenant);
// The full-screen picture, whose memory is `screen`, changed in `area`.
void ShowFullScreenFrame(const PixelView& screen, const Rectangle& area);

bool IsFullScreen();
// What full screen shows now as 0x00RRGGBB (black before the first frame),
// so that a message box can be drawn over it. False when not full screen.
bool FullScreenPicture(std::vector<uint32_t>& pixels, int& width, int& height);
// Shows `picture`, the display's size, in full screen, as a 16-bit display
// shows it: each channel's top bits.
void ShowOverFullScreen(const platform::ReadOnlyPixelView& picture);

} // namespace platform::screens
