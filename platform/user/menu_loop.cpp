#include "user/menu_loop.h"

#include "host/host.h"
#include "screens/full_screen.h"
#include "user/client_area.h"
#include "user/menu_bar.h"
#include "user/menu_tracker.h"
#include "user/message_queue.h"
#include "user/modal_input.h"
#include "user/window_list.h"

#include <vector>

namespace platform::user {
namespace {

struct MenuKeys {
    bool altAlone = false;
    bool f10Down = false;
};

MenuKeys& Keys()
{
    static MenuKeys keys;
    return keys;
}

char32_t Upper(char32_t c) { return (c >= U'a' && c <= U'z') ? c - U'a' + U'A' : c; }

// The program's last picture, `under`, with the drop-down over it.
void PresentTracking(
    const Window& window, const std::vector<uint32_t>& under, const MenuModel& model, const MenuTracker& tracker)
{
    PresentMenuBar(window, tracker.HotTitle());
    if (under.size() != size_t(window.clientWidth) * size_t(window.clientHeight)) return;
    std::vector<uint32_t> composed = under;
    if (tracker.IsOpen()) {
        const Canvas client { PixelView::OfPixels(
            composed.data(), window.clientWidth, window.clientHeight, window.clientWidth) };
        DrawDropDown(client, model.titles[size_t(tracker.HotTitle())], tracker.OpenDropDown(), tracker.HotItem());
    }
    ShowClientPicture(platform::ReadOnlyPixelView::OfPixels(
        composed.data(), window.clientWidth, window.clientHeight, window.clientWidth));
}

void RestorePicture(HWND handle, const std::vector<uint32_t>& under)
{
    Window* window = FindWindow(handle);
    if (!window) return;
    PresentMenuBar(*window);
    if (under.size() != size_t(window->clientWidth) * size_t(window->clientHeight)) return;
    ShowClientPicture(platform::ReadOnlyPixelView::OfPixels(
        under.data(), window->clientWidth, window->clientHeight, window->clientWidth));
}

void Feed(MenuTracker& tracker, const ModalEvent& event)
{
    switch (event.kind) {
    case ModalEvent::Kind::KeyDown:
        // A held Alt repeats; only a new press closes the menu.
        if (!(event.repeat && (event.virtualKey == VK_MENU || event.virtualKey == VK_F10)))
            tracker.OnKeyDown(event.virtualKey);
        break;
    case ModalEvent::Kind::MouseMove:
        tracker.OnMouseMove(event.x, event.y);
        break;
    case ModalEvent::Kind::ButtonDown:
        tracker.OnButtonDown(event.x, event.y);
        break;
    case ModalEvent::Kind::ButtonUp:
        tracker.OnButtonUp(event.x, event.y);
        break;
    case ModalEvent::Kind::Close:
        tracker.Cancel();
        break;
    }
}

int RunTracker(HWND handle, const std::vector<uint32_t>& under, const MenuModel& model, MenuTracker& tracker)
{
    ModalInput input(handle);
    while (!tracker.Done()) {
        Window* window = FindWindow(handle);
        if (!window) break;
        PresentTracking(*window, under, model, tracker);
        ModalEvent event;
        if (!input.Next(event)) break;
        Feed(tracker, event);
    }
    return tracker.ChosenId();
}

} // namespace

void TrackMenuBar(HWND handle, MenuStart start, char32_t letter, POINT screenPoint)
{
    ForgetMenuKeys();
    Window* window = FindWindow(handle);
    // Full screen shows no bar: a menu nobody can see would only stop the
    // program's frames until a blind Esc.
    if (!window || !window->visible || platform::screens::IsFullScreen()) return;
    MenuModel model = MenuModelFor(*window);
    if (model.titles.empty()) return;

    int title = 0;
    bool open = false;
    if (start == MenuStart::Mnemonic) {
        title = TitleWithMnemonic(model, Upper(letter));
        if (title < 0) return; // no such title: Windows only beeps
        open = true;
    } else if (start == MenuStart::Mouse) {
        const Rectangle client = ClientRectOnScreen(*window);
        title = TitleAt(model, int(screenPoint.x - client.left), int(screenPoint.y - window->outer.top));
        if (title < 0) return;
        open = true;
    }
    MenuTracker tracker(model, window->clientWidth, title, open, start == MenuStart::Mnemonic);
    // No frames are drawn while the menu is open: the picture under it stays.
    const std::vector<uint32_t> under = ClientPicture();
    int chosen = RunTracker(handle, under, model, tracker);
    RestorePicture(handle, under);
    ForgetMenuKeys();
    if (chosen != 0 && FindWindow(handle)) PostToQueue(handle, WM_COMMAND, WPARAM(WORD(chosen)), 0);
}

void NoteSystemKeyDown(UINT virtualKey, bool repeat)
{
    MenuKeys& keys = Keys();
    if (virtualKey == VK_MENU) {
        if (!repeat) keys.altAlone = true;
        return;
    }
    keys.altAlone = false;
    keys.f10Down = virtualKey == VK_F10;
}

bool SystemKeyUpOpensMenu(UINT virtualKey)
{
    MenuKeys& keys = Keys();
    bool opens = (virtualKey == VK_MENU && keys.altAlone) || (virtualKey == VK_F10 && keys.f10Down);
    if (virtualKey == VK_MENU || virtualKey == VK_F10) keys = MenuKeys {};
    return opens;
}

void ForgetMenuKeys() { Keys() = MenuKeys {}; }

} // namespace platform::user
