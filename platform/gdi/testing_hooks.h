// GDI's side of the headless host's control API.
#pragma once

namespace platform::gdi {

// Forget every bitmap, font and context; old handles stay invalid.
void ResetForTesting();
// Bitmaps, fonts and contexts alive now (stock objects not counted).
int LiveObjectCount();
// Font faces FreeType has open, for checks that fonts share them.
int LoadedFaceCount();

} // namespace platform::gdi
