// MessageBoxA: drawn over the owner's client area and run modally where the
// window shows; otherwise left to the host (standard error without a display).
#include "common/encoding.h"
#include "host/host.h"
#include "screens/full_screen.h"
#include "user/client_area.h"
#include "user/message_box_session.h"
#include "user/testing_hooks.h"
#include "user/window_list.h"

#include <utility>

#include <windows.h>

namespace {

using platform::host::MessageBoxButtons;
using platform::user::Window;

constexpr UINT kButtonSetMask = 0xF;

// Only MB_OK and MB_YESNO are offered; any other button set shows OK.
MessageBoxButtons ButtonsOf(UINT type)
{
    return (type & kButtonSetMask) == MB_YESNO ? MessageBoxButtons::YesNo : MessageBoxButtons::Ok;
}

// A host answer that is not a button of the box becomes the default button.
int ValidAnswer(MessageBoxButtons buttons, int answer)
{
    if (buttons == MessageBoxButtons::YesNo) return (answer == IDYES || answer == IDNO) ? answer : IDNO;
    return IDOK;
}

// A box is drawn on a window that is on screen; a hidden owner (or none)
// leaves the box to the host.
Window* DrawingTarget(HWND owner)
{
    Window* window = owner ? platform::user::FindWindow(owner) : platform::user::TopLevelWindow();
    if (!window || !window->visible || window->clientWidth <= 0 || window->clientHeight <= 0) return nullptr;
    return window;
}

platform::user::MessageBoxBackdropSource& BackdropSource()
{
    static platform::user::MessageBoxBackdropSource source;
    return source;
}

platform::user::MessageBoxWatcher& Watcher()
{
    static platform::user::MessageBoxWatcher watcher;
    return watcher;
}

int DrawnMessageBox(
    HWND owner, platform::user::ModalBackdrop backdrop, const platform::user::MessageBoxContent& content)
{
    if (Watcher().opened) Watcher().opened(content.captionUtf8, content.textUtf8, content.buttons);
    int answer = ValidAnswer(content.buttons, platform::user::RunMessageBox(owner, content, backdrop));
    // The picture under the box again, as it was.
    if (backdrop.present && !backdrop.pixels.empty())
        backdrop.present(platform::ReadOnlyPixelView::OfPixels(
            backdrop.pixels.data(), backdrop.width, backdrop.height, backdrop.width));
    if (Watcher().closed) Watcher().closed(answer);
    return answer;
}

// A backdrop that claims a size must hold the pixels for it.
bool Usable(const platform::user::ModalBackdrop& backdrop)
{
    return backdrop.width > 0 && backdrop.height > 0 && backdrop.present
        && backdrop.pixels.size() == size_t(backdrop.width) * size_t(backdrop.height);
}

// In full screen the box goes over the full-screen picture, the way
// FlipToGDISurface lets a box show over an exclusive display on Windows.
bool FullScreenBackdrop(platform::user::ModalBackdrop& backdrop)
{
    if (!platform::screens::FullScreenPicture(backdrop.pixels, backdrop.width, backdrop.height)) return false;
    backdrop.present = [](const platform::ReadOnlyPixelView& view) { platform::screens::ShowOverFullScreen(view); };
    return true;
}

// A source's picture where it has one, the full-screen picture in full
// screen, else the client area.
platform::user::ModalBackdrop BackdropFor(const Window& window)
{
    platform::user::ModalBackdrop backdrop;
    if (BackdropSource() && BackdropSource()(backdrop) && Usable(backdrop)) return backdrop;
    backdrop = {};
    if (FullScreenBackdrop(backdrop) && Usable(backdrop)) return backdrop;
    return platform::user::ModalBackdrop { platform::user::ClientPicture(), window.clientWidth, window.clientHeight,
        [](const platform::ReadOnlyPixelView& view) { platform::user::ShowClientPicture(view); } };
}

} // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    platform::user::MessageBoxContent content { platform::encoding::Cp932ToUtf8(caption ? caption : ""),
        platform::encoding::Cp932ToUtf8(text ? text : ""), ButtonsOf(type) };
    platform::host::Host& host = platform::host::Current();
    Window* window = host.HasDisplay() ? DrawingTarget(owner) : nullptr;
    if (window) return DrawnMessageBox(window->handle, BackdropFor(*window), content);
    return ValidAnswer(content.buttons, host.ShowMessageBox(content.captionUtf8, content.textUtf8, content.buttons));
}

void platform::user::SetMessageBoxBackdropSource(MessageBoxBackdropSource source)
{
    BackdropSource() = std::move(source);
}

void platform::user::WatchMessageBoxes(MessageBoxWatcher watcher) { Watcher() = std::move(watcher); }
