// The real window: the program's WinMain on the SDL host, with every effect
// switched on through the menu commands a user would choose, timed from the
// host's side of the seam. Needs a desktop: an X display (Xvfb will do) or
// a Wayland compositor (sway's headless one will).
#pragma once

#include <string>

namespace bench {

struct WindowFigures {
    int frames = 0;
    double seconds = 0.0;
    double presentSeconds = 0.0; // inside the host's Lend and Changed
    int exitCode = 0;
    std::string driver; // SDL's video driver the window ran on
    double FramesPerSecond() const { return seconds > 0.0 ? frames / seconds : 0.0; }
    double PresentShare() const { return seconds > 0.0 ? presentSeconds / seconds : 0.0; }
};

// False when there is no display to open a window on.
bool RunRealWindow(double seconds, WindowFigures& figures);

} // namespace bench
