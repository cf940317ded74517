// Modal message boxes on the desktop, or on standard error without one.
#pragma once

#include <SDL.h>

#include <string>

#include "host/host.h"

namespace platform::host {

// The answer when the box is dismissed without a button: OK, or No.
int DefaultAnswer(MessageBoxButtons buttons);

// Returns IDOK, IDYES or IDNO. `parent` may be null.
int ShowSdlMessageBox(
    SDL_Window* parent, const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons);

// Where there is no display: "caption: text" on standard error, default answer.
int ReportMessageBoxOnStderr(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons);

} // namespace platform::host
