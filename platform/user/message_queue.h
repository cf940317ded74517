// The thread's posted messages and its quit request.
#pragma once

#include <windows.h>

namespace platform::user {

void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Posted messages of a window that is going away are dropped, as Windows does.
void DropMessagesFor(HWND window);
void ForgetQueue();

} // namespace platform::user
