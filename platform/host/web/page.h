// What the web host asks of the page it runs in: the canvas, the title, full
// screen, the clock, and waiting. Thin calls into the page's JavaScript.
#pragma once

#include <cstdint>

#include "host/web/page_layout.h"

namespace platform::host::page {

bool SteppingRequested(); // ?step in the page's address
double DevicePixelRatio();
double Now(); // performance.now(), milliseconds
int ScreenWidth(); // CSS pixels
int ScreenHeight();
int ViewportWidth(); // CSS pixels of the page's viewport (the screen in full screen)
int ViewportHeight();

void SetTitle(const char* utf8);
// The page's icon, from RGBA pixels.
void SetIcon(const uint32_t* pixels, int width, int height);
// The canvas's backing store in device pixels, shown at a size in CSS
// pixels; `pixelated` where that is no whole multiple.
void SizeCanvas(int width, int height, double cssWidth, double cssHeight, bool pixelated);
// Rows `y` to `y + rows` of `pixels` (RGBA, `width` by `height`) onto the canvas.
void PutRows(const uint32_t* pixels, int width, int height, int y, int rows);
void ShowCanvas(bool visible);
void ShowCursor(bool visible);
// The window of `width` by `height` program pixels fitted into the room the
// page gives it (all of the viewport on a small screen).
WindowFit FitWindowInPage(int width, int height, int naturalScale, double pixelRatio);
// One finger on the canvas or its frame, as page_events.cpp's sample_finger
// hears it: where it is, in CSS pixels from the canvas's top-left corner, and
// whether that is beside the canvas. Other fingers are ignored, and no
// touch is left to the browser, which would scroll, zoom, or click again
// with a mouse of its own.
enum class FingerPhase { Down = 0, Move = 1, Up = 2, Cancelled = 3 };
void ListenToFinger();
// The page's element holding the canvas takes the whole screen, or gives it
// back; it fills the viewport where the browser will not give the screen.
void RequestFullScreen();
void ExitFullScreen();
bool IsFullScreen();

// For whoever watches the page: the frames drawn and the input events the
// program has taken so far, told when all of it is on the canvas.
void ReportProgress(double frames, double inputTaken);
void ReportEnded(int exitCode);

// Back to the browser until Wake is called or `milliseconds` pass.
void SleepUntilWoken(uint32_t milliseconds);
void Wake();
// Back to the browser until it has painted what was put on the canvas.
void YieldForPaint();

// Files fetched beside the program rather than packed with it, so that its
// first picture waits for none of them: `names` separated by spaces,
// relative to the page, each written to the same path in the program's
// folder when it arrives. AwaitFile returns once `path` (one of them, or
// any other file at once) is whole or has failed.
void FetchFiles(const char* names);
void AwaitFile(const char* path);

} // namespace platform::host::page
