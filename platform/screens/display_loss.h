// The host took the display away from the program (focus lost in full
// screen, minimised, or a test says so): whoever keeps surfaces on it loses
// them all until they are restored. The window manager tells it, as input
// arrives; DirectDraw, above it, listens.
#pragma once

namespace platform::screens {

using DisplayLossHandler = void (*)();

// One listener: the last one set.
void ListenForDisplayLoss(DisplayLossHandler handler);
void LoseDisplay();

} // namespace platform::screens
