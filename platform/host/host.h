// The one place where the stand-in meets the real machine. Everything above
// it (window manager, message queue, GDI, DirectDraw) is the same code on
// every host; a host only shows pixels, delivers input and keeps time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "common/pixel_view.h"
#include "common/rectangle.h"

namespace platform::host {

// Input as the host sees it; the window manager turns it into messages.
struct InputEvent {
    enum class Kind {
        KeyDown, // virtualKey, repeat
        MouseMove, // x, y in client coordinates (640 by 480 in full screen)
        Close, // the window's close button, Alt+F4
        // Raw keys and buttons for the menu bar and modal loops. Positions
        // are client coordinates too; over the menu bar y is negative.
        KeyUp, // virtualKey
        MouseButtonDown, // left button, at x, y
        MouseButtonUp, // left button, at x, y
        // The user switched away from the exclusive display (focus lost,
        // minimised): every surface is lost.
        DisplayLost,
    };
    Kind kind = Kind::KeyDown;
    UINT virtualKey = 0;
    bool repeat = false;
    int x = 0;
    int y = 0;
    bool alt = false; // key events: Alt is held down (also on Alt's own KeyDown)
};

enum class MessageBoxButtons { Ok, YesNo };

// Pictures passed to a host (icon, menu bar) are 0x00RRGGBB pixels, four
// bytes each, in a ReadOnlyPixelView (common/pixel_view.h).

// What a host shows of the program: the window's client area, or the
// exclusive full-screen display.
enum class Screen { Client, FullScreen };

// Memory a host lends for a screen's pixels, a PixelView: 0x00RRGGBB for
// the client area (the top byte is never shown), the display's 5-6-5 in
// full screen.
inline constexpr int kClientBytesPerPixel = 4;
inline constexpr int kFullScreenBytesPerPixel = 2;

class Host {
public:
    virtual ~Host() = default;

    // The screen: the rectangle the primary surface covers, in screen pixels.
    virtual bool HasDisplay() = 0;
    virtual Rectangle DesktopRect() = 0;

    // The one top-level window. `outer` is menu bar plus client area.
    virtual void CreateWindow(const std::string& titleUtf8, const Rectangle& outer, int menuBarHeight) = 0;
    virtual void SetWindowIcon(const ReadOnlyPixelView& icon) = 0;
    virtual void PlaceWindow(const Rectangle& outer, int menuBarHeight) = 0;
    virtual void ShowWindow(bool visible) = 0;
    virtual void DestroyWindow() = 0;

    // The one way pixels reach the screen, the same for both screens: the
    // host lends the memory a screen's pixels live in, and is told what
    // changed there. Lend gives memory of `width` by `height` holding what
    // the screen shows now, except in `overwritten`, which the caller is
    // about to write whole; null pixels when the host cannot lend that size.
    // The client area's memory may move at every Changed (a host may let
    // the screen read one picture while the next is drawn): lend it again
    // before each write. Full screen's stays where it is from EnterFullScreen
    // on, and is never freed before the host ends or full screen comes back
    // at another size, so that a pointer into it never dangles.
    virtual PixelView Lend(Screen screen, int width, int height, const Rectangle& overwritten) = 0;
    // The caller wrote `area` of the memory last lent for `screen`.
    virtual void Changed(Screen screen, const Rectangle& area) = 0;

    // Moves pending host input into `out`. Never blocks.
    virtual void PollInput(std::vector<InputEvent>& out) = 0;
    // The message queue has run dry. True: the program may go on (draw a
    // frame); false: poll for input again first.
    virtual bool Idle() = 0;

    // Modal; returns IDOK, IDYES or IDNO.
    virtual int ShowMessageBox(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons)
        = 0;
    virtual void SetCursorVisible(bool visible) = 0;
    virtual uint32_t TickCount() = 0;

    // The default audio output, held while a DirectSound object lives.
    // False when there is none. Nothing is ever played on it.
    virtual bool OpenAudioOutput() = 0;
    virtual void CloseAudioOutput() = 0;

    // Exclusive full screen. The window covers the whole desktop and shows a
    // `width` by `height` picture (lent as Screen::FullScreen) scaled with
    // its aspect kept, black bars around it and no menu bar; mouse positions
    // arrive in picture pixels. Leaving puts the window back where it was,
    // with its bar, showing the client area again.
    virtual void EnterFullScreen(int width, int height) = 0;
    virtual void LeaveFullScreen() = 0;

    // ---- Menu bar, modal loops and drawn message boxes ----
    // The menu bar strip as the window manager drew it, window width by bar
    // height; shown above the client area until the next one.
    virtual void PresentMenuBar(const ReadOnlyPixelView& bar) = 0;
    // Modal loops (menu, message box) sleep here between inputs: returns once
    // input may be pending or `timeoutMilliseconds` passed. False means no
    // input will ever come, and the loop gives up as if cancelled. Message
    // boxes are drawn by the window manager and read input like any modal
    // loop; ShowMessageBox above is used only where no box can be drawn (no
    // display, hidden window).
    virtual bool WaitForInput(uint32_t timeoutMilliseconds) = 0;

    // ---- Files ----
    // The program is about to read the file at `path`. A host still
    // fetching some of the program's files (the page, its pictures, which
    // come after its first picture) returns once that one is whole or will
    // never come; a host with every file from the start returns at once.
    virtual void AwaitFile(const std::string& path) { (void)path; }
};

// The host the process runs on; installed by the executable's main.
Host& Current();
void Install(Host* host);
// The installed host, or null: the tools and tests that only read files
// run on none.
Host* Installed();

} // namespace platform::host
