#include "user/window_list.h"

using namespace platform::user;

LRESULT WINAPI DispatchMessageA(const MSG* message)
{
    if (!message) return 0;
    return SendToWindow(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendToWindow(window, message, wParam, lParam);
}
