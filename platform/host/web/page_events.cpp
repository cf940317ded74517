#include "host/web/page_events.h"

#include <cmath>

#include <emscripten.h>
#include <emscripten/html5.h>

#include "host/web/key_map.h"
#include "host/web/page.h"

namespace platform::host {
namespace {

constexpr const char* kCanvas = "#canvas";
// Left to the browser as well: reloading the page, and its own full screen.
constexpr UINT kVkF5 = 0x74;
constexpr UINT kVkF11 = 0x7A;
constexpr UINT kVkF12 = 0x7B;

WebHost& HostOf(void* user) { return *static_cast<WebHost*>(user); }

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* key, void* user)
{
    // Ctrl and the command key belong to the browser's own shortcuts.
    if (key->ctrlKey || key->metaKey) return EM_FALSE;
    const UINT virtualKey = VirtualKeyForCode(key->code);
    if (virtualKey == 0) return EM_FALSE;
    InputEvent event;
    event.virtualKey = virtualKey;
    if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
        event.kind = InputEvent::Kind::KeyDown;
        event.repeat = key->repeat != 0;
        event.alt = key->altKey != 0 || virtualKey == VK_MENU;
    } else {
        event.kind = InputEvent::Kind::KeyUp;
        // Alt's own release comes with Alt no longer held.
        event.alt = key->altKey != 0 && virtualKey != VK_MENU;
    }
    HostOf(user).Push(event);
    // Arrows must not scroll the page, Tab not move the focus, Alt and F10
    // not open the browser's menu.
    return virtualKey != kVkF5 && virtualKey != kVkF11;
}

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* mouse, void* user)
{
    WebHost& host = HostOf(user);
    InputEvent event;
    switch (type) {
    case EMSCRIPTEN_EVENT_MOUSEMOVE:
        event.kind = InputEvent::Kind::MouseMove;
        break;
    case EMSCRIPTEN_EVENT_MOUSEDOWN:
    case EMSCRIPTEN_EVENT_MOUSEUP:
        // Only the left button has a meaning for menus and boxes.
        if (mouse->button != 0) return EM_FALSE;
        event.kind
            = type == EMSCRIPTEN_EVENT_MOUSEDOWN ? InputEvent::Kind::MouseButtonDown : InputEvent::Kind::MouseButtonUp;
        break;
    default:
        return EM_FALSE;
    }
    const POINT point = host.ToProgram(double(mouse->targetX), double(mouse->targetY));
    event.x = point.x;
    event.y = point.y;
    host.Push(event);
    return type != EMSCRIPTEN_EVENT_MOUSEMOVE;
}

WebHost* touchedHost = nullptr;

void PushMouse(WebHost& host, InputEvent::Kind kind, double cssX, double cssY)
{
    InputEvent event;
    event.kind = kind;
    const POINT at = host.ToProgram(cssX, cssY);
    event.x = at.x;
    event.y = at.y;
    host.Push(event);
}

void PushKey(WebHost& host, UINT virtualKey)
{
    InputEvent event;
    event.virtualKey = virtualKey;
    event.kind = InputEvent::Kind::KeyDown;
    host.Push(event);
    event.kind = InputEvent::Kind::KeyUp;
    host.Push(event);
}

// Leaving the browser's full screen (its own Esc, switching away) is leaving
// the exclusive display: the program's surfaces are lost, as on Windows.
EM_BOOL OnFullScreenChange(int, const EmscriptenFullscreenChangeEvent* change, void* user)
{
    WebHost& host = HostOf(user);
    if (host.InFullScreen() && !change->isFullscreen) {
        InputEvent lost;
        lost.kind = InputEvent::Kind::DisplayLost;
        host.Push(lost);
    }
    host.LayOut();
    return EM_FALSE;
}

EM_BOOL OnResize(int, const EmscriptenUiEvent*, void* user)
{
    // A phone turned, a window resized, the browser's zoom: the window is
    // fitted again.
    HostOf(user).LayOut();
    return EM_FALSE;
}

} // namespace

void ListenToPage(WebHost& host)
{
    void* user = &host;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, user, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, user, EM_TRUE, OnKey);
    emscripten_set_mousemove_callback(kCanvas, user, EM_TRUE, OnMouse);
    emscripten_set_mousedown_callback(kCanvas, user, EM_TRUE, OnMouse);
    emscripten_set_mouseup_callback(kCanvas, user, EM_TRUE, OnMouse);
    touchedHost = &host;
    page::ListenToFinger();
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, user, EM_TRUE, OnFullScreenChange);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, user, EM_TRUE, OnResize);
}

} // namespace platform::host

// One finger is the mouse (page::ListenToFinger): down where it lands, the
// mouse following it, up where it leaves, so that a tap is a click. In full
// screen, which has no menu, a tap on the black beside the picture is the
// fingers' way back to the window, as F12 is the keyboard's; it moves no
// mouse.
extern "C" EMSCRIPTEN_KEEPALIVE void sample_finger(int phase, double cssX, double cssY, int besidePicture)
{
    using platform::host::InputEvent;
    using platform::host::page::FingerPhase;
    static bool fingerIsMouse = false;
    if (!platform::host::touchedHost || !std::isfinite(cssX) || !std::isfinite(cssY)) return;
    platform::host::WebHost& host = *platform::host::touchedHost;
    const bool beside = besidePicture != 0 && host.InFullScreen();
    switch (FingerPhase(phase)) {
    case FingerPhase::Down:
        fingerIsMouse = !beside;
        if (!fingerIsMouse) break;
        platform::host::PushMouse(host, InputEvent::Kind::MouseMove, cssX, cssY);
        platform::host::PushMouse(host, InputEvent::Kind::MouseButtonDown, cssX, cssY);
        break;
    case FingerPhase::Move:
        if (fingerIsMouse) platform::host::PushMouse(host, InputEvent::Kind::MouseMove, cssX, cssY);
        break;
    case FingerPhase::Up:
    case FingerPhase::Cancelled:
        if (fingerIsMouse)
            platform::host::PushMouse(host, InputEvent::Kind::MouseButtonUp, cssX, cssY);
        else if (FingerPhase(phase) == FingerPhase::Up && beside)
            platform::host::PushKey(host, platform::host::kVkF12);
        fingerIsMouse = false;
        break;
    }
}
