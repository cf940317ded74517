#include "user/modal_input.h"

#include "user/message_queue.h"
#include "user/system_messages.h"
#include "user/window_list.h"

namespace platform::user {
namespace {

using platform::host::InputEvent;

// Long enough to sleep, short enough to notice a host that changes its mind.
constexpr uint32_t kWaitMilliseconds = 250;

MSG Message(HWND window, UINT message)
{
    MSG made {};
    made.hwnd = window;
    made.message = message;
    return made;
}

POINT ClientOrigin(HWND owner)
{
    Window* window = FindWindow(owner);
    if (!window) return POINT {};
    const Rectangle client = ClientRectOnScreen(*window);
    return POINT { LONG(client.left), LONG(client.top) };
}

} // namespace

ModalInput::ModalInput(HWND owner)
    : owner_(owner)
{
}

ModalInput::~ModalInput()
{
    PutBackInFront(deferred_);
    for (const InputEvent& input : hostInput_)
        QueueHostEvent(input);
}

bool ModalInput::Next(ModalEvent& event)
{
    platform::host::Host& host = platform::host::Current();
    for (;;) {
        if (hostInput_.empty()) {
            std::vector<InputEvent> polled;
            host.PollInput(polled);
            hostInput_.insert(hostInput_.end(), polled.begin(), polled.end());
        }
        if (!hostInput_.empty()) {
            InputEvent input = hostInput_.front();
            hostInput_.pop_front();
            if (FromHost(input, event)) return true;
            continue;
        }
        MSG message {};
        if (TakeFirstPosted(message)) {
            if (FromQueue(message, event)) return true;
            continue;
        }
        if (!host.WaitForInput(kWaitMilliseconds)) return false;
    }
}

bool ModalInput::FromHost(const InputEvent& input, ModalEvent& event)
{
    switch (input.kind) {
    case InputEvent::Kind::KeyDown:
        event = ModalEvent { ModalEvent::Kind::KeyDown, input.virtualKey, input.repeat };
        return true;
    case InputEvent::Kind::MouseMove:
        event = ModalEvent { ModalEvent::Kind::MouseMove, 0, false, input.x, input.y };
        return true;
    case InputEvent::Kind::MouseButtonDown:
        event = ModalEvent { ModalEvent::Kind::ButtonDown, 0, false, input.x, input.y };
        return true;
    case InputEvent::Kind::MouseButtonUp:
        event = ModalEvent { ModalEvent::Kind::ButtonUp, 0, false, input.x, input.y };
        return true;
    case InputEvent::Kind::Close:
        deferred_.push_back(Message(owner_, WM_CLOSE));
        event = ModalEvent { ModalEvent::Kind::Close };
        return true;
    case InputEvent::Kind::KeyUp:
        return false;
    case InputEvent::Kind::DisplayLost:
        QueueHostEvent(input);
        return false;
    }
    return false;
}

bool ModalInput::FromQueue(const MSG& message, ModalEvent& event)
{
    auto clientX = [](LPARAM lParam) { return int(LOWORD(lParam)); };
    auto clientY = [](LPARAM lParam) { return int(HIWORD(lParam)); };
    POINT origin = ClientOrigin(owner_);
    auto screenX = [&](LPARAM lParam) { return int(SHORT(LOWORD(lParam))) - int(origin.x); };
    auto screenY = [&](LPARAM lParam) { return int(SHORT(HIWORD(lParam))) - int(origin.y); };
    bool repeat = (message.lParam & kKeyWasDown) != 0;
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        event = ModalEvent { ModalEvent::Kind::KeyDown, UINT(message.wParam), repeat };
        return true;
    case WM_KEYUP:
    case kWmSysKeyUp:
    case kWmSysChar:
        return false;
    case WM_MOUSEMOVE:
        event = ModalEvent { ModalEvent::Kind::MouseMove, 0, false, clientX(message.lParam), clientY(message.lParam) };
        return true;
    case kWmLButtonDown:
    case kWmLButtonUp: {
        auto kind = message.message == kWmLButtonDown ? ModalEvent::Kind::ButtonDown : ModalEvent::Kind::ButtonUp;
        event = ModalEvent { kind, 0, false, clientX(message.lParam), clientY(message.lParam) };
        return true;
    }
    case kWmNcMouseMove:
    case kWmNcLButtonDown:
    case kWmNcLButtonUp: {
        auto kind = message.message == kWmNcMouseMove ? ModalEvent::Kind::MouseMove
            : message.message == kWmNcLButtonDown     ? ModalEvent::Kind::ButtonDown
                                                      : ModalEvent::Kind::ButtonUp;
        event = ModalEvent { kind, 0, false, screenX(message.lParam), screenY(message.lParam) };
        return true;
    }
    case WM_CLOSE:
        deferred_.push_back(message);
        event = ModalEvent { ModalEvent::Kind::Close };
        return true;
    default:
        deferred_.push_back(message);
        return false;
    }
}

} // namespace platform::user
