#include "screens/display_loss.h"

namespace platform::screens {
namespace {
DisplayLossHandler listener = nullptr;
}

void ListenForDisplayLoss(DisplayLossHandler handler) { listener = handler; }

void LoseDisplay()
{
    if (listener) listener();
}

} // namespace platform::screens
