// The window's own pixels, 0x00RRGGBB, as large as the window: what the
// desktop host draws into, and how they reach the screen.
#pragma once

#include <SDL.h>

#include <memory>

#include "host/scaled_copy.h"

namespace platform::host {

class WindowMemory {
public:
    virtual ~WindowMemory() = default;

    // Memory for drawing now, holding what the window shows except in
    // `overwritten`, which the caller writes whole. Null pixels when there
    // is none.
    virtual PixelView Acquire(const SDL_Rect& overwritten) = 0;
    // Puts `area` of the memory last acquired on the screen. The next
    // Acquire may hand out other memory.
    virtual void Put(const SDL_Rect& area) = 0;
    // The window's size changed: memory of the new size, black. False when
    // there is none to be had.
    virtual bool Resize(int width, int height) = 0;
    // True when the memory is the host's alone, so that pixels the program
    // draws may stay in it from frame to frame; false when the window system
    // may take it away (SDL replaces its window surface on a resize).
    virtual bool KeepsPixels() const = 0;
    // A screen that takes pictures only when it asks for them (Wayland's
    // frame callbacks) may hold the last one back: Flush hands it over if
    // the screen has asked since, and Holding says that one waits.
    virtual void Flush() { }
    virtual bool Holding() const { return false; }
};

// Two images the X server reads straight from shared memory (MIT-SHM): the
// next frame is drawn into one while the server copies the other. Null
// where the window is not on an X server that shares memory with this
// process, or its pixels are not 24-bit 0x00RRGGBB ones.
std::unique_ptr<WindowMemory> OpenX11SharedImages(SDL_Window* window);
// Buffers in memory shared with a Wayland compositor (wl_shm), attached to
// the window's own surface; as many as the compositor's releases call for.
// Null where the window is not on a Wayland compositor.
std::unique_ptr<WindowMemory> OpenWaylandBuffers(SDL_Window* window);
// SDL's window surface: every window system SDL knows, presenting each
// change before it returns. Null where SDL has none for the window (its
// Wayland driver, unless it draws the surface through OpenGL).
std::unique_ptr<WindowMemory> OpenWindowSurface(SDL_Window* window);

} // namespace platform::host
