#include "user/testing_hooks.h"

#include "user/cursor.h"
#include "user/menu_loop.h"
#include "user/message_box_session.h"
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
    ForgetMenuKeys();
    SetMessageBoxBackdropSource({});
    WatchMessageBoxes({});
    SetMenuBarHeight(DefaultMenuBarHeight());
}

void DeliverHostInput() { MoveHostInputToQueue(); }

} // namespace platform::user
