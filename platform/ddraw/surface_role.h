// What CreateSurface made a surface for: the primary (the window's, standing
// for the desktop, or one with memory of its own: the full-screen display's
// or the front of a flipping chain), a back buffer, or a picture. The blits
// ask the role what a surface does, not flags of their own.
#pragma once

namespace platform::ddraw {

class SurfaceRole {
public:
    // No memory of its own: it stands for the desktop, of which only the
    // window's client area is ours.
    static constexpr SurfaceRole WindowedPrimary() { return SurfaceRole(Kind::WindowedPrimary); }
    // A primary of its own memory, which in full screen is the display's.
    static constexpr SurfaceRole ScreenPrimary() { return SurfaceRole(Kind::ScreenPrimary); }
    static constexpr SurfaceRole BackBuffer() { return SurfaceRole(Kind::BackBuffer); }
    static constexpr SurfaceRole Picture() { return SurfaceRole(Kind::Picture); }

    // As the call log and fault names say it: "primary", "backbuffer", "offscreen".
    constexpr const char* Name() const
    {
        switch (kind_) {
        case Kind::WindowedPrimary:
        case Kind::ScreenPrimary:
            return "primary";
        case Kind::BackBuffer:
            return "backbuffer";
        case Kind::Picture:
            break;
        }
        return "offscreen";
    }
    // What is written to a primary is on the screen at once: it never waits
    // in the blit queue.
    constexpr bool IsPrimary() const { return kind_ == Kind::WindowedPrimary || kind_ == Kind::ScreenPrimary; }
    constexpr bool IsWindowedPrimary() const { return kind_ == Kind::WindowedPrimary; }
    constexpr bool HasOwnMemory() const { return kind_ != Kind::WindowedPrimary; }
    constexpr bool operator==(const SurfaceRole&) const = default;

private:
    enum class Kind { WindowedPrimary, ScreenPrimary, BackBuffer, Picture };
    constexpr explicit SurfaceRole(Kind kind)
        : kind_(kind)
    {
    }
    Kind kind_;
};

} // namespace platform::ddraw
