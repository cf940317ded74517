#include "user/input_messages.h"

#include "user/system_messages.h"

#include <algorithm>

namespace platform::user {
namespace {

using platform::host::InputEvent;

// Repeat count 1 in bits 0-15; bit 30 says the key was already down.
LPARAM KeyDownFlags(bool repeat) { return LPARAM(1) | (repeat ? kKeyWasDown : 0); }

LPARAM ClientPosition(int x, int y)
{
    return MAKELPARAM(WORD(std::clamp(x, 0, 0xFFFF)), WORD(std::clamp(y, 0, 0xFFFF)));
}

// Screen positions are signed 16-bit each, as GET_X_LPARAM reads them.
LPARAM ScreenPosition(const Rectangle& client, int x, int y)
{
    auto word = [](int64_t value) { return WORD(SHORT(std::clamp<int64_t>(value, -0x8000, 0x7FFF))); };
    return MAKELPARAM(word(client.left + x), word(client.top + y));
}

// Only the bar lies above the client area; elsewhere positions keep being
// client positions, clamped, as hosts have always delivered them.
bool OverMenuBar(int y) { return y < 0; }

// Alt itself, F10 and every key pressed while Alt is held go to the menu's
// side of the window procedure: the program never sees them as WM_KEYDOWN.
bool IsSystemKey(const InputEvent& event)
{
    return event.alt || event.virtualKey == VK_MENU || event.virtualKey == VK_F10;
}

LPARAM AltContext(const InputEvent& event) { return event.alt ? kKeyContextAlt : 0; }

InputMessage KeyDownMessage(const InputEvent& event)
{
    UINT message = IsSystemKey(event) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    return InputMessage { message, WPARAM(event.virtualKey), KeyDownFlags(event.repeat) | AltContext(event) };
}

InputMessage KeyUpMessage(const InputEvent& event)
{
    UINT message = IsSystemKey(event) ? kWmSysKeyUp : WM_KEYUP;
    return InputMessage { message, WPARAM(event.virtualKey), 1 | kKeyWasDown | kKeyReleased | AltContext(event) };
}

InputMessage MouseMessage(const InputEvent& event, const Rectangle& client, UINT clientMessage, UINT menuMessage)
{
    if (!OverMenuBar(event.y)) {
        WPARAM buttons = clientMessage == kWmLButtonDown ? kMkLButton : 0;
        return InputMessage { clientMessage, buttons, ClientPosition(event.x, event.y) };
    }
    // Outside the client area the window's frame is the menu bar.
    return InputMessage { menuMessage, kHitMenu, ScreenPosition(client, event.x, event.y) };
}

} // namespace

InputMessage MessageFromInput(const InputEvent& event, const Rectangle& clientOnScreen)
{
    switch (event.kind) {
    case InputEvent::Kind::KeyDown:
        return KeyDownMessage(event);
    case InputEvent::Kind::KeyUp:
        return KeyUpMessage(event);
    case InputEvent::Kind::MouseMove:
        return MouseMessage(event, clientOnScreen, WM_MOUSEMOVE, kWmNcMouseMove);
    case InputEvent::Kind::MouseButtonDown:
        return MouseMessage(event, clientOnScreen, kWmLButtonDown, kWmNcLButtonDown);
    case InputEvent::Kind::MouseButtonUp:
        return MouseMessage(event, clientOnScreen, kWmLButtonUp, kWmNcLButtonUp);
    case InputEvent::Kind::Close:
        return InputMessage { WM_CLOSE, 0, 0 };
    case InputEvent::Kind::DisplayLost:
        break;
    }
    return InputMessage {};
}

} // namespace platform::user
