// The message box as the window manager draws it, in the window's own
// style: caption bar, wrapped text, OK or はい/いいえ buttons. Layout and
// drawing work on any 0x00RRGGBB buffer: the client area when windowed, or
// a 640 by 480 frame in full screen.
#pragma once

#include "host/host.h"
#include "user/ui_canvas.h"

#include <string>
#include <vector>

namespace platform::user {

struct MessageBoxContent {
    std::string captionUtf8;
    std::string textUtf8;
    platform::host::MessageBoxButtons buttons = platform::host::MessageBoxButtons::Ok;
};

struct MessageBoxButton {
    Label label;
    int answer = IDOK;
    Rectangle box;
};

// Everything in the target's coordinates; the box is centred on it.
struct MessageBoxLayout {
    Rectangle frame;
    Rectangle captionBar;
    Label caption;
    std::vector<std::u32string> lines; // the text wrapped to the box width
    int textLeft = 0;
    int textTop = 0;
    int lineHeight = 0;
    Rectangle buttonStrip;
    std::vector<MessageBoxButton> buttons;
};
MessageBoxLayout LayOutMessageBox(const MessageBoxContent& content, int targetWidth, int targetHeight);

// Which button has the keyboard focus, and which one the mouse holds down.
struct MessageBoxLook {
    int focused = 0;
    int pressed = -1;
};
void DrawMessageBox(const Canvas& target, const MessageBoxLayout& layout, const MessageBoxLook& look);

// The button under (x, y), or -1.
int ButtonAt(const MessageBoxLayout& layout, int x, int y);

// Breaks text at line ends and wherever a line would pass `maxWidth`.
std::vector<std::u32string> WrapText(const std::u32string& text, int maxWidth);

} // namespace platform::user
