// Called by a host when the display is taken away from the program (focus
// lost in full screen, or a test says so): every surface of every DirectDraw
// object is lost until restored.
#pragma once

namespace platform::ddraw {

void LoseAllSurfaces();

} // namespace platform::ddraw
