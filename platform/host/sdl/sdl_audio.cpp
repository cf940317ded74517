// The desktop host's audio output: the default playback device, held
// silent while a DirectSound object lives.
#include "host/sdl/sdl_host.h"

#include <algorithm>

#include "host/sdl/quiet_alsa.h"

namespace platform::host {
namespace {

void WriteSilence(void*, Uint8* stream, int length) { SDL_memset(stream, 0, size_t(std::max(length, 0))); }

// SDL's dummy and disk drivers pretend there is a device; the program must
// learn that there is none, as on a machine without a sound card.
bool StartAudio()
{
    SilenceAlsaErrors();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || SDL_strcmp(driver, "dummy") == 0 || SDL_strcmp(driver, "disk") == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

} // namespace

bool SdlHost::OpenAudioOutput()
{
    if (audioDevice_ != 0) return true;
    if (!StartAudio()) return false;
    SDL_AudioSpec wanted {};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS; // signed: silence is zero bytes
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = WriteSilence;
    SDL_AudioSpec obtained {};
    // No changes allowed: SDL converts, and the callback's zeros stay silence.
    audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (audioDevice_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // Left paused: nothing is ever played.
    return true;
}

void SdlHost::CloseAudioOutput()
{
    if (audioDevice_ == 0) return;
    SDL_CloseAudioDevice(audioDevice_);
    audioDevice_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace platform::host
