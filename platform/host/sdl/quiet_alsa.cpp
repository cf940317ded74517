// SDL's ALSA backend opens the default device through alsa-lib, which prints
// its own errors ("ALSA lib confmisc.c:855:(parse_card) cannot find card
// '0'", eight lines of them) on standard error wherever there is no sound
// card. They tell a user nothing: the program reports the missing device
// itself, with its message box. alsa-lib comes loaded with SDL where SDL uses
// it, so its error handler is swapped for a silent one through the loader,
// without linking to alsa-lib or needing its headers.
#include "host/sdl/quiet_alsa.h"

#include <dlfcn.h>

namespace platform::host {
namespace {

// alsa-lib's snd_lib_error_handler_t.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error, const char* format, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler handler);

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) { }

} // namespace

void SilenceAlsaErrors()
{
    // RTLD_NOLOAD: only the alsa-lib already in the process, never a new one.
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (alsa == nullptr) return;
    auto setHandler = reinterpret_cast<SetAlsaErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler != nullptr) setHandler(IgnoreAlsaError);
    dlclose(alsa); // drops only the reference taken above
}

} // namespace platform::host
