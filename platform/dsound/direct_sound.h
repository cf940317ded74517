// The DirectSound object: it holds the host's default audio output open for
// as long as it lives. No buffer is ever made on it, so nothing is played.
#pragma once

#include <dsound.h>

#include "common/reference_count.h"

namespace platform::dsound {

class DirectSound final : public IDirectSound, private ReferenceCounted<DirectSound> {
public:
    DirectSound();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) override;

private:
    friend class ReferenceCounted<DirectSound>;
    ~DirectSound();

    int generation_;
};

// True when the audio output could be had for one more object.
bool AcquireAudioOutput();

// Forget every object (they are abandoned: their Release stays safe but no
// longer closes the output of a host that never opened it).
void ResetForTesting();
// DirectSound objects alive now, for leak checks.
int LiveObjectCount();

} // namespace platform::dsound
