// The one place where the stand-in meets the real machine. Everything above
// it (window manager, message queue, GDI, DirectDraw) is the same code on
// every host; a host only shows pixels, delivers input and keeps time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

namespace platform::host {

// Input as the host sees it; the window manager turns it into messages.
struct InputEvent {
    enum class Kind {
        KeyDown, // virtualKey, repeat
        MouseMove, // x, y in client coordinates (640 by 480 in full screen)
        Close, // the window's close button, Alt+F4
        Command, // a menu item chosen (commandId)
        // Raw keys and buttons for the menu bar and modal loops. Positions
        // are client coordinates too; over the menu bar y is negative.
        KeyUp, // virtualKey
        MouseButtonDown, // left button, at x, y
        MouseButtonUp, // left button, at x, y
    };
    Kind kind = Kind::KeyDown;
    UINT virtualKey = 0;
    bool repeat = false;
    int x = 0;
    int y = 0;
    int commandId = 0;
    bool alt = false; // key events: Alt is held down (also on Alt's own KeyDown)
};

enum class MessageBoxButtons { Ok, YesNo };

// A picture in memory: 0x00RRGGBB pixels, rows top to bottom.
struct PixelView {
    const uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitchPixels = 0;
    // The pixels stay where they are, changed only before another
    // presentation, until the window is destroyed: a host may show them
    // from there instead of copying them now.
    bool lasting = false;
};

class Host {
public:
    virtual ~Host() = default;

    // The screen: the rectangle the primary surface covers, in screen pixels.
    virtual bool HasDisplay() = 0;
    virtual RECT DesktopRect() = 0;

    // The one top-level window. `outer` is menu bar plus client area.
    virtual void CreateWindow(const std::string& titleUtf8, const RECT& outer, int menuBarHeight) = 0;
    virtual void SetWindowIcon(const PixelView& icon) = 0;
    virtual void PlaceWindow(const RECT& outer, int menuBarHeight) = 0;
    virtual void ShowWindow(bool visible) = 0;
    virtual void DestroyWindow() = 0;

    // What the client area now shows; called after every change of it.
    virtual void PresentClient(const PixelView& client) = 0;

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
    virtual bool OpenAudioOutput() { return true; }
    virtual void CloseAudioOutput() { }

    // Exclusive full screen. The window covers the whole desktop and shows a
    // `width` by `height` picture scaled with its aspect kept, black bars
    // around it and no menu bar; mouse positions arrive in picture pixels.
    // Leaving puts the window back where it was, with its bar.
    virtual void EnterFullScreen(int /*width*/, int /*height*/) { }
    // What the full-screen display now shows; called after every change.
    virtual void PresentFullScreen(const PixelView& /*screen*/) { }
    // Where the next full-screen picture may be written in place, saving a
    // copy of every frame; null when the host copies what it is given.
    virtual uint32_t* FullScreenCanvas(int /*width*/, int /*height*/) { return nullptr; }
    // True: the host shows the display's own memory, which it fetches into
    // its canvas with platform::ddraw::SettleFullScreenFrame when it needs
    // the picture; each change is only announced by FullScreenChanged.
    virtual bool ShowsFullScreenOnDemand() { return false; }
    virtual void FullScreenChanged() { }
    virtual void LeaveFullScreen() { }

    // ---- Menu bar, modal loops and drawn message boxes ----
    // The menu bar strip as the window manager drew it, window width by bar
    // height; shown above the client area until the next one.
    virtual void PresentMenuBar(const PixelView& bar) { (void)bar; }
    // Modal loops (menu, message box) sleep here between inputs: returns once
    // input may be pending or `timeoutMilliseconds` passed. False means no
    // input will ever come, and the loop gives up as if cancelled.
    virtual bool WaitForInput(uint32_t timeoutMilliseconds)
    {
        (void)timeoutMilliseconds;
        return false;
    }
    // A message box drawn by the window manager opens, and later closes with
    // `answer`; the box itself reads input like any modal loop. Hosts that
    // script or record boxes hook in here. ShowMessageBox above is used
    // instead only where no box can be drawn (no display, hidden window).
    virtual void MessageBoxOpened(
        const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons)
    {
        (void)captionUtf8;
        (void)textUtf8;
        (void)buttons;
    }
    virtual void MessageBoxClosed(int answer) { (void)answer; }
};

// The host the process runs on; installed by the executable's main.
Host& Current();
void Install(Host* host);

} // namespace platform::host
