// DirectDraw's side of the headless host's control API.
#pragma once

namespace platform::ddraw {

// Forget every DirectDraw object (they are abandoned, not released).
void ResetForTesting();
// Objects alive now, for leak checks: DirectDraw objects, surfaces, clippers.
int LiveObjectCount();

} // namespace platform::ddraw
