// Which of SDL's video drivers the desktop host tries, and in what order.
// Pure, tested on its own.
#pragma once

#include <string>
#include <vector>

namespace platform::host {

// The drivers to try: first those the user names in `userChoice` (the
// SDL_VIDEODRIVER variable, names parted by commas, in any case; null or
// empty when unset), then SDL's others in `available` (SDL's own order of
// preference). Each once, spelt as SDL spells it; never one that shows
// nothing to anyone (offscreen, dummy, evdev), whoever names it.
std::vector<std::string> VideoDriverOrder(const char* userChoice, const std::vector<std::string>& available);

// Where the environment says what to expect: the user names drivers in
// `userChoice` (as above), and a desktop for x11 in `display` (DISPLAY)
// and for wayland in `waylandDisplay` (WAYLAND_DISPLAY); each may be null.
struct DesktopNames {
    const char* userChoice = nullptr;
    const char* display = nullptr;
    const char* waylandDisplay = nullptr;
};

// Whether `driver` is expected to start: the user names it, or a desktop
// for it. Only then is its failure worth telling; another desktop's driver
// failing on the way to the one named is no news.
bool DriverExpected(const std::string& driver, const DesktopNames& names);
// Whether any driver is: the user names one, or a desktop is named.
bool AnyDriverExpected(const DesktopNames& names);

} // namespace platform::host
