#pragma once

// Releases the picture surfaces and every DirectDraw object of the current
// display; the slots keep their loaded flag and file name for the reload.
bool ReleaseDisplay();
