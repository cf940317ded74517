// The cursor display counter and the one cursor there is, the arrow.
#include "user/cursor.h"

#include "host/host.h"
#include "user/testing_hooks.h"

#include <windows.h>

namespace platform::user {
namespace {

int& Counter()
{
    static int counter = 0;
    return counter;
}

HCURSOR ArrowCursor()
{
    static int arrow;
    return reinterpret_cast<HCURSOR>(&arrow);
}

} // namespace

void ResetCursorCounter() { Counter() = 0; }

int CursorCounter() { return Counter(); }

} // namespace platform::user

int WINAPI ShowCursor(BOOL show)
{
    int& counter = platform::user::Counter();
    bool wasVisible = counter >= 0;
    counter += show ? 1 : -1;
    bool visible = counter >= 0;
    if (visible != wasVisible) platform::host::Current().SetCursorVisible(visible);
    return counter;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    // The module has no cursor resources; the system has the arrow.
    if (instance || name != IDC_ARROW) return nullptr;
    return platform::user::ArrowCursor();
}
