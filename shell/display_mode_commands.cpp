#include "shell/display_mode_commands.h"

#include "display/full_screen_display.h"
#include "display/image_slot.h"

// After a failed set-up the close request already posted ends the program
// before another frame; there is nothing to reload into.
static void FinishModeSwitch(HWND window, bool made)
{
    if (made) ReloadLoadedImages();
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
}

void ChooseFullScreen(HWND window) { FinishModeSwitch(window, SwitchToFullScreen()); }

void ChooseWindowed(HWND window) { FinishModeSwitch(window, SwitchToWindowed()); }
