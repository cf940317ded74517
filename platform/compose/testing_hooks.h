// What tests switch in the blit queue; nothing else includes this.
#pragma once

namespace platform::compose {

// Tests compare blits that wait with blits done at once.
void SetBlitsWait(bool wait);

} // namespace platform::compose
