// The pattern by which every animated effect turns the frame's seconds into
// discrete steps: the accumulator grows by FrameStep times the rate, and
// the effect steps once when it reaches the threshold.
#pragma once

// Advances the accumulator by this frame's FrameStep. True when the timer
// fires; a firing timer is set back to exactly 0 (the excess is lost)
// unless `resetOnFiring` is false, as for the zoom.
bool AdvanceStepTimer(float& accumulator, float rate, float threshold, bool resetOnFiring);
