// Peak resident size of sample-replay over long all-effect runs: a leak of
// fonts, device contexts or recovered surfaces shows as growth with the
// number of frames.
#pragma once

#include <string>

namespace bench {

// The replay script that switches every effect on and draws `frames`
// frames of 16 ms.
std::string AllEffectsScript(long frames);

struct MemoryFigures {
    long frames = 0;
    long peakKibibytes = 0; // ru_maxrss of the child
    int exitStatus = -1;
    double seconds = 0.0;
};

// Runs `replay` (sample-replay) in the current directory on a generated
// script. False, with `error`, when it cannot be run or does not end well.
bool MeasureReplayMemory(const std::string& replay, long frames, MemoryFigures& figures, std::string& error);

} // namespace bench
