#include "user/testing_hooks.h"

#include "user/cursor.h"
#include "user/message_queue.h"
#include "user/window_classes.h"
#include "user/window_list.h"

namespace platform::user {

void ResetForTesting()
{
    ForgetWindows();
    ForgetWindowClasses();
    ForgetQueue();
    ResetCursorCounter();
    SetMenuBarHeight(DefaultMenuBarHeight());
}

} // namespace platform::user
