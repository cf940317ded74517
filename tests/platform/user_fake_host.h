// A host in a few lines for the window manager's tests: it records what the
// window manager asked of it and answers from scripted values.
#pragma once

#include "host/host.h"
#include "host/screen_memory.h"
#include "user/testing_hooks.h"

#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace user_test {

using platform::ReadOnlyPixelView;
using platform::host::InputEvent;
using platform::host::MessageBoxButtons;

class FakeHost : public platform::host::Host {
public:
    void Reset() { *this = FakeHost {}; }

    bool HasDisplay() override { return true; }
    platform::Rectangle DesktopRect() override { return desktop; }

    void CreateWindow(const std::string& titleUtf8, const platform::Rectangle& outer, int menuBarHeight) override
    {
        ++windowsCreated;
        title = titleUtf8;
        placed = outer;
        placedMenuBarHeight = menuBarHeight;
    }
    void SetWindowIcon(const ReadOnlyPixelView& view) override { icon = view; }
    void PlaceWindow(const platform::Rectangle& outer, int menuBarHeight) override
    {
        ++placements;
        placed = outer;
        placedMenuBarHeight = menuBarHeight;
    }
    void ShowWindow(bool visible) override { windowVisible = visible; }
    void DestroyWindow() override { ++windowsDestroyed; }
    platform::PixelView Lend(platform::host::Screen screen, int width, int height, const platform::Rectangle&) override
    {
        if (screen != platform::host::Screen::Client) return {};
        platform::PixelView lent = client.Lend(width, height, 4);
        // A host that lends memory of another size than asked.
        if (lendsWrongSize) lent.width += 1;
        return lent;
    }
    void Changed(platform::host::Screen screen, const platform::Rectangle& area) override
    {
        if (screen != platform::host::Screen::Client) return;
        ++clientChanges;
        changed = area;
    }

    void PollInput(std::vector<InputEvent>& out) override
    {
        ++polls;
        if (input.empty()) return;
        out.insert(out.end(), input.front().begin(), input.front().end());
        input.pop_front();
    }
    bool Idle() override
    {
        ++idles;
        if (busyIdles > 0) {
            --busyIdles;
            return false;
        }
        return true;
    }

    int ShowMessageBox(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons) override
    {
        boxCaption = captionUtf8;
        boxText = textUtf8;
        boxButtons = buttons;
        return answer;
    }
    void SetCursorVisible(bool visible) override { cursorVisibility.push_back(visible); }
    uint32_t TickCount() override { return tick; }
    bool OpenAudioOutput() override { return true; }
    void CloseAudioOutput() override { }
    void EnterFullScreen(int, int) override { }
    void LeaveFullScreen() override { }
    void PresentMenuBar(const ReadOnlyPixelView&) override { }
    // Nothing more will come: modal loops give up at once.
    bool WaitForInput(uint32_t) override { return false; }

    platform::Rectangle desktop { 0, 0, 1920, 1080 };
    std::deque<std::vector<InputEvent>> input; // one batch per PollInput
    int busyIdles = 0; // Idle answers false this often first
    int answer = IDOK;
    uint32_t tick = 1000;

    int windowsCreated = 0;
    int windowsDestroyed = 0;
    int placements = 0;
    int polls = 0;
    int idles = 0;
    std::string title;
    platform::Rectangle placed {};
    int placedMenuBarHeight = -1;
    bool windowVisible = false;
    ReadOnlyPixelView icon {};
    platform::host::ScreenMemory client;
    bool lendsWrongSize = false;
    int clientChanges = 0;
    platform::Rectangle changed {};
    std::string boxCaption = "(none)";
    std::string boxText = "(none)";
    MessageBoxButtons boxButtons = MessageBoxButtons::Ok;
    std::vector<bool> cursorVisibility;
};

// One host for the whole process, so no other test is left with a pointer
// to a host that has gone.
inline FakeHost& Host()
{
    static FakeHost host;
    return host;
}

class UserTest : public testing::Test {
protected:
    void SetUp() override
    {
        Host().Reset();
        platform::host::Install(&Host());
        platform::user::ResetForTesting();
    }
    void TearDown() override { platform::user::ResetForTesting(); }
};

inline InputEvent Key(UINT virtualKey, bool repeat = false)
{
    InputEvent event;
    event.kind = InputEvent::Kind::KeyDown;
    event.virtualKey = virtualKey;
    event.repeat = repeat;
    return event;
}

inline InputEvent Mouse(int x, int y)
{
    InputEvent event;
    event.kind = InputEvent::Kind::MouseMove;
    event.x = x;
    event.y = y;
    return event;
}

inline InputEvent Close()
{
    InputEvent event;
    event.kind = InputEvent::Kind::Close;
    return event;
}

} // namespace user_test
