// The desktop host's input: SDL's events as the window manager's input.
#include "host/sdl/sdl_host.h"

#include "host/desktop_scale.h"
#include "host/sdl/key_map.h"
#include "host/sdl/wayland_desktop.h"

namespace platform::host {

void SdlHost::PollInput(std::vector<InputEvent>& out)
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        Translate(event, out);
    // Frames may have stopped (a menu is open): what the screen has not
    // taken yet goes once it asks.
    if (memory_) memory_->Flush();
}

void SdlHost::Translate(const SDL_Event& event, std::vector<InputEvent>& out)
{
    switch (event.type) {
    case SDL_QUIT: // a signal such as Ctrl+C in the terminal, or the compositor gone
        if (OnWayland()) EndIfWaylandConnectionLost(window_);
        out.push_back(InputEvent { InputEvent::Kind::Close });
        break;
    case SDL_WINDOWEVENT:
        if (InFullScreen()) HandleFullScreenWindowEvent(event.window, out);
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) out.push_back(InputEvent { InputEvent::Kind::Close });
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            RedrawAll();
        break;
    case SDL_KEYDOWN:
        TranslateKey(event.key, out);
        break;
    case SDL_MOUSEMOTION:
        TranslateMouseMotion(event.motion, out);
        break;
    case SDL_KEYUP:
        TranslateKeyUp(event.key, out);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        TranslateButton(event.button, out);
        break;
    default:
        break;
    }
}

void SdlHost::TranslateKey(const SDL_KeyboardEvent& key, std::vector<InputEvent>& out)
{
    // Without a window manager nobody else turns Alt+F4 into a close.
    if (key.keysym.sym == SDLK_F4 && (key.keysym.mod & KMOD_ALT)) {
        if (!key.repeat) out.push_back(InputEvent { InputEvent::Kind::Close });
        return;
    }
    UINT virtualKey = VirtualKeyFor(key.keysym.sym);
    if (!virtualKey) return;
    InputEvent input { InputEvent::Kind::KeyDown };
    input.virtualKey = virtualKey;
    input.repeat = key.repeat != 0;
    input.alt = (key.keysym.mod & KMOD_ALT) != 0 || virtualKey == VK_MENU;
    out.push_back(input);
}

void SdlHost::TranslateKeyUp(const SDL_KeyboardEvent& key, std::vector<InputEvent>& out)
{
    UINT virtualKey = VirtualKeyFor(key.keysym.sym);
    if (!virtualKey) return;
    InputEvent input { InputEvent::Kind::KeyUp };
    input.virtualKey = virtualKey;
    // Alt's own release comes with Alt no longer held.
    input.alt = (key.keysym.mod & KMOD_ALT) != 0 && virtualKey != VK_MENU;
    out.push_back(input);
}

// Over the menu bar y is negative: the window manager tracks the menu with
// it, and sends the program no WM_MOUSEMOVE there, as Windows does not.
void SdlHost::TranslateMouseMotion(const SDL_MouseMotionEvent& motion, std::vector<InputEvent>& out)
{
    if (InFullScreen()) {
        TranslateFullScreenMouse(motion, out);
        return;
    }
    const int x = Unscale(motion.x, windowScale_);
    if (x < 0 || (clientWidth_ > 0 && x >= clientWidth_)) return;
    InputEvent input { InputEvent::Kind::MouseMove };
    input.x = x;
    input.y = Unscale(motion.y, windowScale_) - menuBarHeight_;
    out.push_back(input);
}

// Only the left button has a meaning for menus and boxes.
void SdlHost::TranslateButton(const SDL_MouseButtonEvent& button, std::vector<InputEvent>& out)
{
    if (button.button != SDL_BUTTON_LEFT) return;
    InputEvent input { button.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::MouseButtonDown
                                                          : InputEvent::Kind::MouseButtonUp };
    input.x = Unscale(button.x, windowScale_);
    input.y = Unscale(button.y, windowScale_) - menuBarHeight_;
    if (InFullScreen() && window_) {
        // In picture pixels, as full-screen motion is.
        const PicturePoint point = FullScreenPoint(button.x, button.y);
        input.x = point.x;
        input.y = point.y;
    }
    out.push_back(input);
}

// A window position in full screen as a pixel of the picture.
PicturePoint SdlHost::FullScreenPoint(int x, int y) const
{
    int w = 0, h = 0;
    SDL_GetWindowSizeInPixels(window_, &w, &h);
    const Letterbox box = FitPicture(screens_.DisplayWidth(), screens_.DisplayHeight(), w, h);
    return ScreenToPicture(box, screens_.DisplayWidth(), screens_.DisplayHeight(), ToPixels(x), ToPixels(y));
}

void SdlHost::TranslateFullScreenMouse(const SDL_MouseMotionEvent& motion, std::vector<InputEvent>& out)
{
    const PicturePoint point = FullScreenPoint(motion.x, motion.y);
    InputEvent input { InputEvent::Kind::MouseMove };
    input.x = point.x;
    input.y = point.y;
    out.push_back(input);
}

} // namespace platform::host
