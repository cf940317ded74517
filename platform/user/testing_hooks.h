// The window manager's side of the headless host's control API.
#pragma once

#include <functional>
#include <string>

#include "host/host.h"

namespace platform::user {

// Forget every class, window, queued message and quit request; cursor
// counter back to 0; menu bar height back to its default.
void ResetForTesting();
int CursorCounter();
// Height of the menu bar of windows created from now on.
void SetMenuBarHeight(int height);
int DefaultMenuBarHeight();
// The host's pending input into the queue now, as the next PeekMessageA
// would move it.
void DeliverHostInput();

// Told as a message box drawn by the window manager opens and, later, closes
// with its answer, for a host that scripts or records boxes. The box itself
// reads input like any modal loop. Nobody is told by default.
struct MessageBoxWatcher {
    std::function<void(const std::string& captionUtf8, const std::string& textUtf8, host::MessageBoxButtons)> opened;
    std::function<void(int answer)> closed;
};
void WatchMessageBoxes(MessageBoxWatcher watcher);

} // namespace platform::user
