#include "host/host.h"

#include <windows.h>

DWORD WINAPI GetTickCount() { return platform::host::Current().TickCount(); }
