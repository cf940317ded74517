#include "scene/step_timer.h"

#include "shell/application.h"

bool AdvanceStepTimer(float& accumulator, float rate, float threshold, bool resetOnFiring)
{
    // The test sees the sum before it is rounded to 32 bits.
    double sum = (double)accumulator + (double)FrameStep * (double)rate;
    accumulator = (float)sum;
    if (sum < (double)threshold) return false;
    if (resetOnFiring) accumulator = 0.0f;
    return true;
}
