// Input for a modal loop (menu, message box). Like Windows' own modal loops
// it reads the thread's queue itself, and the host beneath it, sleeping while
// there is nothing, so no frames are drawn meanwhile. Input the host hands
// over during the loop is taken before messages queued earlier (a scripted
// host answers a box that way, ahead of the program's own keys).
//
// What the loop does not use is not lost: other posted messages (a menu
// command, WM_CLOSE) go back to the queue in their order when it ends, and
// so does input left over after it.
#pragma once

#include "host/host.h"

#include <deque>
#include <vector>

#include <windows.h>

namespace platform::user {

struct ModalEvent {
    enum class Kind { KeyDown, MouseMove, ButtonDown, ButtonUp, Close };
    Kind kind = Kind::KeyDown;
    UINT virtualKey = 0;
    bool repeat = false;
    int x = 0; // client coordinates; negative y over the menu bar
    int y = 0;
};

class ModalInput {
public:
    explicit ModalInput(HWND owner);
    ~ModalInput();
    ModalInput(const ModalInput&) = delete;
    ModalInput& operator=(const ModalInput&) = delete;

    // The next event, waiting for one; false when the host says no more will
    // come. A close request is returned too: the loop should end on it.
    bool Next(ModalEvent& event);

private:
    bool FromHost(const platform::host::InputEvent& input, ModalEvent& event);
    bool FromQueue(const MSG& message, ModalEvent& event);

    HWND owner_;
    std::deque<platform::host::InputEvent> hostInput_;
    std::vector<MSG> deferred_;
};

} // namespace platform::user
