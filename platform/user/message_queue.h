// The thread's posted messages and its quit request.
#pragma once

#include "host/host.h"

#include <vector>

#include <windows.h>

namespace platform::user {

void PostToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostToQueueFront(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Host input as the messages Windows posts for it, to the top-level window.
void QueueHostEvent(const platform::host::InputEvent& event);
// Everything the host has pending, as QueueHostEvent does with each.
void MoveHostInputToQueue();
// For modal loops, which read the queue themselves: the oldest posted
// message (not the quit request), and a way to give messages back.
bool TakeFirstPosted(MSG& out);
void PutBackInFront(const std::vector<MSG>& messages);
// Posted messages of a window that is going away are dropped, as Windows does.
void DropMessagesFor(HWND window);
void ForgetQueue();

} // namespace platform::user
