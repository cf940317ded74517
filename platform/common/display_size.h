// The display this stand-in gives a program: the one full-screen mode, and
// the size a window takes when the program leaves it to the system.
#pragma once

namespace platform {

inline constexpr int kDisplayWidth = 640;
inline constexpr int kDisplayHeight = 480;

} // namespace platform
