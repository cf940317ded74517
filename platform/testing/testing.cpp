// The control API of tests and tools, over the headless host and the hooks
// the window manager, GDI, DirectDraw and DirectSound offer for testing: the
// only code that reaches across the layers on a test's behalf.
#include "testing/testing.h"

#include "common/diagnostics.h"
#include "ddraw/testing_hooks.h"
#include "dsound/direct_sound.h"
#include "gdi/testing_hooks.h"
#include "host/headless/headless_host.h"
#include "user/testing_hooks.h"
#include "user/window_list.h"

namespace headless {
namespace {

platform::host::HeadlessHost& Host() { return platform::host::TheHeadlessHost(); }

void Push(platform::host::InputEvent event) { Host().PushInput(event); }

// Menu ids are 16 bits; the high word 0 says "from a menu". Without a window
// nobody is told.
void PostMenuCommand(int id)
{
    if (const platform::user::Window* window = platform::user::TopLevelWindow())
        PostMessageA(window->handle, WM_COMMAND, WPARAM(WORD(id)), 0);
}

// The display goes away as every host takes it: the DisplayLost input,
// delivered now, as the next PeekMessageA would deliver it.
void SendDisplayLost()
{
    Push(platform::host::InputEvent { platform::host::InputEvent::Kind::DisplayLost });
    platform::user::DeliverHostInput();
}

} // namespace

void Reset(uint32_t startTick)
{
    // The host first: the window manager and DirectDraw may talk to it while
    // they forget their objects.
    Host().Reset(startTick);
    platform::host::Install(&Host());
    Host().SetCommandPoster(PostMenuCommand);
    platform::user::ResetForTesting();
    platform::user::WatchMessageBoxes(platform::user::MessageBoxWatcher {
        [](const std::string& caption, const std::string& text, platform::host::MessageBoxButtons buttons) {
            Host().MessageBoxOpened(caption, text, buttons);
        },
        [](int answer) { Host().MessageBoxClosed(answer); } });
    platform::ddraw::ResetForTesting();
    platform::dsound::ResetForTesting();
    platform::gdi::ResetForTesting();
    platform::diagnostics::ClearFaults();
    platform::diagnostics::StopCallLog();
    platform::diagnostics::ClearCallLog();
}

void SetDesktopSize(int width, int height) { Host().SetDesktopSize(width, height); }
void SetMenuBarHeight(int height) { platform::user::SetMenuBarHeight(height); }
void SetNoDisplay() { Host().SetNoDisplay(); }
void SetNoSound() { Host().SetNoSound(); }

void SetTickCount(uint32_t tick) { Host().SetTickCount(tick); }
void AdvanceClock(uint32_t milliseconds) { Host().AdvanceClock(milliseconds); }

void PushKey(UINT virtualKey)
{
    platform::host::InputEvent event;
    event.kind = platform::host::InputEvent::Kind::KeyDown;
    event.virtualKey = virtualKey;
    Push(event);
}

void PushMouseMove(int x, int y)
{
    platform::host::InputEvent event;
    event.kind = platform::host::InputEvent::Kind::MouseMove;
    event.x = x;
    event.y = y;
    Push(event);
}

void PushMenuCommand(int id) { Host().PushMenuCommand(id); }

void PushClose()
{
    platform::host::InputEvent event;
    event.kind = platform::host::InputEvent::Kind::Close;
    Push(event);
}

void PushKeyDown(UINT virtualKey, bool alt)
{
    platform::host::InputEvent event;
    event.kind = platform::host::InputEvent::Kind::KeyDown;
    event.virtualKey = virtualKey;
    event.alt = alt || virtualKey == VK_MENU;
    Push(event);
}

void PushKeyUp(UINT virtualKey, bool alt)
{
    platform::host::InputEvent event;
    event.kind = platform::host::InputEvent::Kind::KeyUp;
    event.virtualKey = virtualKey;
    event.alt = alt && virtualKey != VK_MENU;
    Push(event);
}

void PushKeyPress(UINT virtualKey, bool alt)
{
    PushKeyDown(virtualKey, alt);
    PushKeyUp(virtualKey, alt);
}

void PushMouseButton(int x, int y, bool down)
{
    platform::host::InputEvent event;
    event.kind
        = down ? platform::host::InputEvent::Kind::MouseButtonDown : platform::host::InputEvent::Kind::MouseButtonUp;
    event.x = x;
    event.y = y;
    Push(event);
}

void PushClick(int x, int y)
{
    PushMouseButton(x, y, true);
    PushMouseButton(x, y, false);
}

void QueueAnswer(int answer) { Host().QueueAnswer(answer); }
const std::vector<ShownMessageBox>& MessageBoxesShown() { return Host().MessageBoxesShown(); }

void FailNext(const std::string& operation, int count) { platform::diagnostics::FailNext(operation, count); }
void LoseDisplay() { SendDisplayLost(); }

void StartCallLog() { platform::diagnostics::StartCallLog(); }
const std::vector<std::string>& CallLog() { return platform::diagnostics::CallLog(); }
void ClearCallLog() { platform::diagnostics::ClearCallLog(); }

Capture CaptureScreen() { return Host().CaptureScreen(); }
Capture CaptureWindow() { return Host().CaptureWindow(); }

int CursorCounter() { return platform::user::CursorCounter(); }
bool CursorVisible() { return Host().CursorVisible(); }

int FramesDrawn() { return Host().FramesDrawn(); }

bool IsFullScreen() { return Host().IsFullScreen(); }

void LoseFocus()
{
    if (Host().IsFullScreen()) SendDisplayLost();
}

bool AudioOutputOpen() { return Host().AudioOutputOpen(); }

} // namespace headless
