#include "display/error_message.h"

#include <windows.h>

#include "display/display_context.h"
#include "shell/application.h"

bool ShowErrorMessage(const char* text)
{
    // Brings the desktop's surface forward so the box shows in full screen too.
    if (displayContext.directDraw != NULL) displayContext.directDraw->FlipToGDISurface();
    MessageBoxA(mainWindow, text, "エラー発生", MB_OK);
    return false;
}
