// The desktop executable: the program's WinMain on the SDL host.
// SDL would otherwise be free to rename main on some systems.
#define SDL_MAIN_HANDLED

#include <windows.h>

#include "host/sdl/sdl_host.h"

int main(int, char**)
{
    platform::host::SdlHost host;
    platform::host::Install(&host);
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
    platform::host::Install(nullptr);
    return exitCode;
}
