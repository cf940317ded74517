// alsa-lib's own error printing, silenced for the audio probe.
#pragma once

namespace platform::host {

// Call before SDL opens its audio. Does nothing where SDL runs without
// alsa-lib.
void SilenceAlsaErrors();

} // namespace platform::host
