// The same fixed frames composed the way an SDL2 program would draw them:
// one SDL_Surface per picture in the display's format, colour-keyed
// SDL_BlitSurface for the keyed copies, SDL_FillRect for the clear,
// SDL_BlitScaled for the zoom and the caption rendered once and blitted.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "fixed_scenes.h"
#include "visible_sources.h"

namespace bench {

// Bytes a frame reads and writes: cleared, copied and presented pixels.
struct FrameTraffic {
    uint64_t bytesRead = 0;
    uint64_t bytesWritten = 0;
    uint64_t Total() const { return bytesRead + bytesWritten; }
};

class SdlPeer {
public:
    SdlPeer() = default;
    ~SdlPeer();
    SdlPeer(const SdlPeer&) = delete;
    SdlPeer& operator=(const SdlPeer&) = delete;

    // Loads the six pictures from the current directory into `mode`'s
    // format. The caption comes pre-rendered from the program's font.
    bool Open(DisplayMode mode, const CaptionLayer& caption, std::string& error);
    // Presents into `screen` (a window's surface, not owned) from now on,
    // rather than into a surface of the peer's own.
    void PresentInto(SDL_Surface* screen) { screen_ = screen; }

    void DrawFrame(const FixedScene& scene);
    // One frame drawn while counting what it moves.
    FrameTraffic MeasureFrame(const FixedScene& scene);

    // What the window shows after the frame: 0x00RRGGBB, 640 by 480.
    SDL_Surface* Screen() const { return screen_; }
    // The frame before presenting, in the display's format.
    SDL_Surface* BackBuffer() const { return back_; }
    // The bytes the pictures of `scene` occupy, with back buffer and screen.
    uint64_t WorkingSetBytes(const FixedScene& scene) const;
    // The bytes of the source pixels the finished frame shows, each once.
    uint64_t VisibleSourceBytes(const FixedScene& scene);

private:
    void Close();
    void Keyed(int slot, SDL_Rect source, int x, int y);
    void Stretched(int slot, SDL_Rect source, SDL_Rect destination);
    void Tiles();
    void Background(int mode);
    void Zoom(int size);
    void Caption();
    void Present();
    void Count(uint64_t read, uint64_t written);

    SDL_Surface* pictures_[6] = {};
    SDL_Surface* caption_ = nullptr;
    SDL_Rect captionPlace_ {};
    SDL_Surface* back_ = nullptr;
    SDL_Surface* ownScreen_ = nullptr;
    SDL_Surface* screen_ = nullptr;
    int bytesPerPixel_ = 4;
    FrameTraffic* traffic_ = nullptr;
    VisibleSources* visible_ = nullptr;
};

} // namespace bench
