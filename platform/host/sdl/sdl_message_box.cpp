#include "host/sdl/sdl_message_box.h"

#include <cstdio>
#include <vector>

namespace platform::host {

int DefaultAnswer(MessageBoxButtons buttons) { return buttons == MessageBoxButtons::YesNo ? IDNO : IDOK; }

int ReportMessageBoxOnStderr(const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons)
{
    if (captionUtf8.empty())
        std::fprintf(stderr, "%s\n", textUtf8.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", captionUtf8.c_str(), textUtf8.c_str());
    return DefaultAnswer(buttons);
}

int ShowSdlMessageBox(
    SDL_Window* parent, const std::string& captionUtf8, const std::string& textUtf8, MessageBoxButtons buttons)
{
    // Enter takes the first button, as on Windows; Esc takes OK or No.
    std::vector<SDL_MessageBoxButtonData> choices;
    if (buttons == MessageBoxButtons::YesNo) {
        choices.push_back({ SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "はい(Y)" });
        choices.push_back({ SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "いいえ(N)" });
    } else {
        choices.push_back(
            { SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK" });
    }
    SDL_MessageBoxData box {};
    box.flags = SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = parent;
    box.title = captionUtf8.c_str();
    box.message = textUtf8.c_str();
    box.numbuttons = int(choices.size());
    box.buttons = choices.data();

    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) < 0) return ReportMessageBoxOnStderr(captionUtf8, textUtf8, buttons);
    // Closing the box with its own close button answers like Esc.
    return pressed < 0 ? DefaultAnswer(buttons) : pressed;
}

} // namespace platform::host
