// The menu bar above the client area. Only its height lives here for now;
// drawing it and the menu loop build on this.
#pragma once

namespace platform::user {

int MenuBarHeightForNewWindows();

} // namespace platform::user
