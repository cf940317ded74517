// How many screen pixels a high-density desktop gives each pixel of a
// program that knows nothing of screen density, as Windows and Wayland
// compositors scale such programs up. Pure arithmetic on what the desktop
// says, shared by hosts and tested on its own.
#pragma once

#include "common/rectangle.h"

namespace platform::host {

// The largest factor taken; past it a setting is more likely a mistake than
// a screen (8 is 768 dots per inch).
constexpr int kMaxDesktopScale = 8;

// The whole factor the desktop asks for, from 1 to kMaxDesktopScale:
// `gdkScale` (the GDK_SCALE variable, null when unset) when it holds a number
// from 1 on, otherwise the X resource Xft.dpi over 96 found in `xResources`
// (the X server's resource database as text, "name:\tvalue" lines; null when
// there is none); both rounded down. 1 when neither says more.
int DesktopScale(const char* gdkScale, const char* xResources);

// The same for a browser's devicePixelRatio (device pixels to a CSS pixel):
// 1.5 gives 1, 2 and 2.5 give 2; at most kMaxDesktopScale, 1 for anything
// that is no ratio (0, negative, not a number).
int PixelRatioScale(double devicePixelRatio);
// A window position in screen pixels as the program's pixels: rounded
// towards minus infinity, so the pixels left of or above the window stay
// outside it.
int Unscale(int screenValue, int scale);

// Pixels to each unit of a window whose `pixelWidth` by `pixelHeight`
// pixels cover `unitWidth` by `unitHeight` units (a Wayland window on an
// output of scale 2 has two pixels a unit each way): the whole factor, or 1
// where the pixels are no whole multiple of the units (a fractional scale,
// or sizes not known yet).
int WholeScaleOf(int pixelWidth, int pixelHeight, int unitWidth, int unitHeight);

// A rectangle of pixels in units, `scale` pixels to a unit: grown to the
// whole units it touches, so that nothing of it is left out.
Rectangle PixelsToUnits(const Rectangle& pixels, int scale);

} // namespace platform::host
