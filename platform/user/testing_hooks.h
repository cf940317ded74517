// The window manager's side of the headless host's control API.
#pragma once

namespace platform::user {

// Forget every class, window, queued message and quit request; cursor
// counter back to 0; menu bar height back to its default.
void ResetForTesting();
int CursorCounter();
// Height of the menu bar of windows created from now on.
void SetMenuBarHeight(int height);
int DefaultMenuBarHeight();

} // namespace platform::user
