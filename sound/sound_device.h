// The DirectSound object, held for the whole run; nothing is ever played.
#pragma once

#include <dsound.h>
#include <windows.h>

extern IDirectSound* soundObject;

// Creates the object on the default device at the normal cooperative
// level. Failures are reported to the user; start-up goes on regardless,
// so the result is always true.
bool InitSound(HWND window);
// Releases the object, once, when the window is destroyed.
void ReleaseSound();
