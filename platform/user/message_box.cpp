// MessageBoxA: drawn over the owner's client area and run modally where the
// window shows; otherwise left to the host (standard error without a display).
#include "common/encoding.h"
#include "host/host.h"
#include "user/message_box_session.h"
#include "user/window_list.h"

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

int DrawnMessageBox(Window& window, const platform::user::MessageBoxContent& content)
{
    platform::host::Host& host = platform::host::Current();
    HWND handle = window.handle;
    host.MessageBoxOpened(content.captionUtf8, content.textUtf8, content.buttons);
    platform::user::ModalBackdrop backdrop { window.clientPixels, window.clientWidth, window.clientHeight,
        [&host](const platform::host::PixelView& view) { host.PresentClient(view); } };
    int answer = ValidAnswer(content.buttons, platform::user::RunMessageBox(handle, content, backdrop));
    // The program's own picture again, as it was under the box.
    if (Window* live = platform::user::FindWindow(handle))
        host.PresentClient(platform::host::PixelView {
            live->clientPixels.data(), live->clientWidth, live->clientHeight, live->clientWidth });
    host.MessageBoxClosed(answer);
    return answer;
}

} // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    platform::user::MessageBoxContent content { platform::encoding::Cp932ToUtf8(caption ? caption : ""),
        platform::encoding::Cp932ToUtf8(text ? text : ""), ButtonsOf(type) };
    platform::host::Host& host = platform::host::Current();
    Window* window = host.HasDisplay() ? DrawingTarget(owner) : nullptr;
    if (window) return DrawnMessageBox(*window, content);
    return ValidAnswer(content.buttons, host.ShowMessageBox(content.captionUtf8, content.textUtf8, content.buttons));
}
