// Animated WebP files read back frame by frame, as a browser shows them:
// the whole picture at each frame and how long it stays.
#pragma once

#include <string>
#include <vector>

#include "testing/testing.h"

namespace animation {

struct Frame {
    headless::Capture picture; // 0x00RRGGBB; fully transparent pixels read as 0
    int milliseconds = 0;
};

struct Animation {
    int width = 0;
    int height = 0;
    int loopCount = 0; // 0: for ever
    std::vector<Frame> frames;
};

// False with `error` set when the file cannot be read or is no animation.
bool ReadAnimation(const std::string& path, Animation& animation, std::string& error);

// Empty when both show the same pictures for the same times; otherwise what
// differs first.
std::string Difference(const Animation& expected, const Animation& actual);

} // namespace animation
