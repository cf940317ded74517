#include "user/input_messages.h"

#include <algorithm>

namespace platform::user {
namespace {

using platform::host::InputEvent;

// Repeat count 1 in bits 0-15; bit 30 says the key was already down.
LPARAM KeyDownFlags(bool repeat) { return LPARAM(1) | (repeat ? (LPARAM(1) << 30) : 0); }

LPARAM ClientPosition(int x, int y)
{
    return MAKELPARAM(WORD(std::clamp(x, 0, 0xFFFF)), WORD(std::clamp(y, 0, 0xFFFF)));
}

} // namespace

InputMessage MessageFromInput(const InputEvent& event)
{
    switch (event.kind) {
    case InputEvent::Kind::KeyDown:
        return InputMessage { WM_KEYDOWN, WPARAM(event.virtualKey), KeyDownFlags(event.repeat) };
    case InputEvent::Kind::MouseMove:
        return InputMessage { WM_MOUSEMOVE, 0, ClientPosition(event.x, event.y) };
    case InputEvent::Kind::Close:
        return InputMessage { WM_CLOSE, 0, 0 };
    case InputEvent::Kind::Command:
        // Menu ids are 16 bits; the high word 0 says "from a menu".
        return InputMessage { WM_COMMAND, WPARAM(WORD(event.commandId)), 0 };
    }
    return InputMessage {};
}

} // namespace platform::user
