#pragma once

namespace platform::user {

void ResetCursorCounter();

} // namespace platform::user
