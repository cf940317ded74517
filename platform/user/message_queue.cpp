// The posted-message FIFO, the quit request, and PeekMessageA over both.
#include "user/message_queue.h"

#include "host/host.h"
#include "screens/display_loss.h"
#include "user/input_messages.h"
#include "user/system_messages.h"
#include "user/window_list.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace platform::user {
namespace {

struct QueueState {
    std::deque<MSG> posted;
    bool quitRequested = false;
    int quitCode = 0;
    POINT lastMouseClient {};
};

QueueState& State()
{
    static QueueState state;
    return state;
}

// Where the mouse was last seen, in screen coordinates, as MSG.pt wants it.
POINT MouseOnScreen()
{
    POINT point = State().lastMouseClient;
    if (Window* window = TopLevelWindow()) {
        const Rectangle client = ClientRectOnScreen(*window);
        point.x += LONG(client.left);
        point.y += LONG(client.top);
    }
    return point;
}

bool Matches(const MSG& message, HWND filter, UINT filterMin, UINT filterMax)
{
    if (filter && message.hwnd != filter) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return message.message >= filterMin && message.message <= filterMax;
}

bool TakePosted(MSG& out, HWND filter, UINT filterMin, UINT filterMax, bool remove)
{
    auto& posted = State().posted;
    for (auto it = posted.begin(); it != posted.end(); ++it) {
        if (!Matches(*it, filter, filterMin, filterMax)) continue;
        out = *it;
        if (remove) posted.erase(it);
        return true;
    }
    return false;
}

// The quit request comes only once the queue holds nothing else, whatever
// the filter: it belongs to the thread, not to a window.
bool TakeQuit(MSG& out, bool remove)
{
    QueueState& state = State();
    if (!state.quitRequested) return false;
    out = MSG {};
    out.message = WM_QUIT;
    out.wParam = WPARAM(state.quitCode);
    out.time = platform::host::Current().TickCount();
    out.pt = MouseOnScreen();
    if (remove) state.quitRequested = false;
    return true;
}

} // namespace

void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG posted {};
    posted.hwnd = window;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    posted.time = platform::host::Current().TickCount();
    posted.pt = MouseOnScreen();
    State().posted.push_back(posted);
}

void QueueHostEvent(const platform::host::InputEvent& event)
{
    // Not a message: the surfaces are taken away at once, as the switch
    // away from an exclusive display does on Windows.
    if (event.kind == platform::host::InputEvent::Kind::DisplayLost) {
        platform::screens::LoseDisplay();
        return;
    }
    Window* window = TopLevelWindow();
    if (!window) return; // no one to tell
    if (event.kind == platform::host::InputEvent::Kind::MouseMove && event.y >= 0)
        State().lastMouseClient = POINT { event.x, event.y };
    InputMessage message = MessageFromInput(event, ClientRectOnScreen(*window));
    PostToQueue(window->handle, message.message, message.wParam, message.lParam);
}

void MoveHostInputToQueue()
{
    std::vector<platform::host::InputEvent> events;
    platform::host::Current().PollInput(events);
    for (const platform::host::InputEvent& event : events)
        QueueHostEvent(event);
}

bool TakeFirstPosted(MSG& out)
{
    auto& posted = State().posted;
    if (posted.empty()) return false;
    out = posted.front();
    posted.pop_front();
    return true;
}

void PutBackInFront(const std::vector<MSG>& messages)
{
    auto& posted = State().posted;
    posted.insert(posted.begin(), messages.begin(), messages.end());
}

void PostToQueueFront(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PostToQueue(window, message, wParam, lParam);
    auto& posted = State().posted;
    std::rotate(posted.begin(), posted.end() - 1, posted.end());
}

void DropMessagesFor(HWND window)
{
    std::erase_if(State().posted, [window](const MSG& message) { return message.hwnd == window; });
}

void ForgetQueue() { State() = QueueState {}; }

} // namespace platform::user

using namespace platform::user;

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A null window posts to the thread itself, as on Windows.
    if (window && !FindWindow(window)) return FALSE;
    PostToQueue(window, message, wParam, lParam);
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode)
{
    State().quitRequested = true;
    State().quitCode = exitCode;
}

BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    if (!message) return FALSE;
    bool remove = (removeFlags & PM_REMOVE) != 0;
    for (;;) {
        MoveHostInputToQueue();
        if (TakePosted(*message, window, filterMin, filterMax, remove)) return TRUE;
        if (TakeQuit(*message, remove)) return TRUE;
        if (platform::host::Current().Idle()) return FALSE;
    }
}

BOOL WINAPI TranslateMessage(const MSG* message)
{
    // Only Alt+letter becomes a character (WM_SYSCHAR, which opens the menu
    // by its mnemonic); no WM_CHAR, the program reads virtual keys only.
    // It comes before anything queued after the key, as on Windows.
    if (!message || message->message != WM_SYSKEYDOWN || !(message->lParam & kKeyContextAlt)) return FALSE;
    WPARAM key = message->wParam;
    bool letter = key >= 'A' && key <= 'Z';
    bool digit = key >= '0' && key <= '9';
    if (!letter && !digit) return FALSE;
    PostToQueueFront(message->hwnd, kWmSysChar, letter ? key - 'A' + 'a' : key, message->lParam);
    return TRUE;
}
