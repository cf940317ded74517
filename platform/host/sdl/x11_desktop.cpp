#include "host/sdl/x11_desktop.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

#include "host/desktop_scale.h"
#include "host/sdl/lost_display.h"

namespace platform::host {
namespace {

// The Motif window manager hints, which window managers still read for the
// buttons and borders of a frame.
constexpr long kMotifFunctionsFlag = 1;
constexpr long kMotifDecorationsFlag = 2;
constexpr long kMotifMove = 4;
constexpr long kMotifMinimize = 8;
constexpr long kMotifClose = 32;
constexpr long kMotifBorder = 2;
constexpr long kMotifTitle = 8;
constexpr long kMotifMenu = 16;
constexpr long kMotifMinimizeButton = 32;

int EndForLostConnection(Display* display) { EndForLostDisplay("X11", DisplayString(display)); }

} // namespace

int ReadDesktopScale()
{
    // SDL keeps its own connection to itself; a short one of our own reads
    // the resource database the desktop loaded (xrdb), where Xft.dpi lives.
    std::string resources;
    if (Display* display = XOpenDisplay(nullptr)) {
        if (const char* text = XResourceManagerString(display)) resources = text;
        XCloseDisplay(display);
    }
    return DesktopScale(std::getenv("GDK_SCALE"), resources.empty() ? nullptr : resources.c_str());
}

// SDL already sets equal minimum and maximum sizes, which takes the sizing
// border away, but some window managers (openbox among them) still draw a
// maximise button that does nothing; Windows shows none for this style.
void AskForFixedSizeFrame(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    Display* display = info.info.x11.display;
    const Atom motifHints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    // flags, functions, decorations, input mode, status
    const long hints[5] = { kMotifFunctionsFlag | kMotifDecorationsFlag, kMotifMove | kMotifMinimize | kMotifClose,
        kMotifBorder | kMotifTitle | kMotifMenu | kMotifMinimizeButton, 0, 0 };
    XChangeProperty(display, info.info.x11.window, motifHints, motifHints, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(hints), 5);
    XFlush(display);
}

void EndOnLostX11Connection() { XSetIOErrorHandler(EndForLostConnection); }

} // namespace platform::host
