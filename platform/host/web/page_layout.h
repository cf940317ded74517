// Where the window lies in the page: the canvas's own pixels and the CSS
// pixels it is shown at. Pure arithmetic, apart from the page it measures.
#pragma once

namespace platform::host {

// The page is the program's desktop, whatever the screen: the window is
// fitted into the viewport, so the desktop holds it whole even where the
// screen in the program's pixels is narrower than the window (a phone).
constexpr int kPageDesktopWidth = 1024;
constexpr int kPageDesktopHeight = 768;

struct WindowFit {
    int factor = 1; // the canvas's pixels to each of the program's, each way
    double cssWidth = 1.0; // the canvas as shown
    double cssHeight = 1.0;
    // Shown at a size no whole number of device pixels to the canvas's:
    // smoothed (true) or as blocks of uneven width (false).
    bool smooth = false;
};

// A window of `width` by `height` of the program's pixels in `roomWidth`
// by `roomHeight` CSS pixels, `pixelRatio` device pixels to a CSS pixel:
// at `naturalScale` device pixels to each program pixel where that fits, as
// on a desktop; else at the largest whole number of device pixels that fits
// where that fills most of the room; else as large as fits with its aspect
// kept, smoothed from a canvas at least as fine as the screen shows it.
WindowFit FitWindow(int width, int height, int naturalScale, double pixelRatio, double roomWidth, double roomHeight);

} // namespace platform::host
