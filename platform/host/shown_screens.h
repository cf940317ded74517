// What every host keeps of what it shows, written once beside the seam: the
// client area's memory, the exclusive display's memory and its picture
// widened for the screen, and the menu-bar strip, with the drawing of each
// onto a host's own pixels. A host only carries these pixels and its
// platform's events between this and its window, canvas or capture.
#pragma once

#include <cstdint>
#include <vector>

#include "host/host.h"
#include "host/letterbox.h"
#include "host/scaled_copy.h"
#include "host/screen_memory.h"

namespace platform::host {

class ShownScreens {
public:
    // The seam's Lend, from memory of the host's own: the client area's, or
    // the display's while full screen lasts (null pixels otherwise).
    PixelView Lend(Screen screen, int width, int height);

    // Full screen: the display's memory, `width` by `height`, black until
    // the program draws.
    void EnterFullScreen(int width, int height);
    void LeaveFullScreen() { fullScreen_ = false; }
    bool InFullScreen() const { return fullScreen_; }

    const PixelView& Client() const { return client_.Pixels(); }
    ScreenMemory& ClientMemory() { return client_; }
    const ScreenMemory& ClientMemory() const { return client_; }
    const PixelView& Display() const { return display_.Pixels(); }
    // The display's size as entered, whether or not there was memory for it.
    int DisplayWidth() const { return displayWidth_; }
    int DisplayHeight() const { return displayHeight_; }
    const ScreenMemory& DisplayMemory() const { return display_; }

    // The display's picture as 0x00RRGGBB, brought up to date in `changed`.
    ReadOnlyPixelView WidenDisplay(const Rectangle& changed);
    // The whole of it as last widened.
    ReadOnlyPixelView DisplayPicture() const;

    // The bar as the window manager drew it; false, with nothing kept, for
    // a picture that is not whole.
    bool KeepMenuBar(const ReadOnlyPixelView& bar);
    // Its first `rows` rows at most; empty before any was kept.
    ReadOnlyPixelView MenuBar(int rows) const;

    // The client pixels' `area` (client coordinates, clipped to them) drawn
    // into `target` at `scale`, the client's top-left corner at (0, top).
    // Returns the part of the target written, empty for none.
    Rectangle DrawClient(const PixelView& target, int scale, int top, const Rectangle& area) const;
    // The bar's rows drawn into `target` at `scale`, at most `barHeight` of
    // the program's rows; `background`, where given, fills the bar's rows
    // first, so that a bar not drawn yet, or a short one, shows it.
    void DrawMenuBar(const PixelView& target, int scale, int barHeight, const uint32_t* background) const;
    // The display's picture letterboxed on `target`: black bars (when
    // `withBars`), every picture pixel a square block. False, with the
    // picture left for the caller to stretch, when the factor is not whole.
    bool DrawDisplayLetterboxed(const PixelView& target, bool withBars) const;

private:
    ScreenMemory client_;
    bool fullScreen_ = false;
    ScreenMemory display_; // 5-6-5, as the program's display
    int displayWidth_ = 0;
    int displayHeight_ = 0;
    std::vector<uint32_t> displayPicture_; // widened, on its way to the screen
    std::vector<uint32_t> menuBar_;
    int menuBarWidth_ = 0;
    int menuBarRows_ = 0;
};

// `area` of `target` filled with `value`, clipped to the target.
void FillArea(const PixelView& target, const Rectangle& area, uint32_t value);
} // namespace platform::host
