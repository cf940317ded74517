#include "dsound/direct_sound.h"

#include <new>

#include "common/call_log.h"
#include "common/diagnostics.h"
#include "common/unknown_iid.h"
#include "host/host.h"
#include "user/window_list.h"

namespace platform::dsound {
namespace {

// The cooperative levels there are: normal, priority, exclusive, write-primary.
constexpr DWORD kLowestLevel = DSSCL_NORMAL;
constexpr DWORD kHighestLevel = 4;

// The host's output is opened once for the first object and closed with the
// last, however many objects the program makes.
struct Objects {
    int generation = 0;
    int live = 0;
};

Objects& Registry()
{
    static Objects objects;
    return objects;
}

} // namespace

bool AcquireAudioOutput()
{
    Objects& objects = Registry();
    if (objects.live > 0) return true;
    return host::Current().OpenAudioOutput();
}

DirectSound::DirectSound()
    : generation_(Registry().generation)
{
    ++Registry().live;
}

DirectSound::~DirectSound()
{
    Objects& objects = Registry();
    if (generation_ != objects.generation) return;
    if (--objects.live == 0) host::Current().CloseAudioOutput();
}

HRESULT DirectSound::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (riid != IID_IDirectSound && riid != kIidUnknown) return E_NOINTERFACE;
    LogCall("QueryInterface", riid == IID_IDirectSound ? "IDirectSound" : "IUnknown");
    *object = static_cast<IDirectSound*>(this);
    AddRef();
    return S_OK;
}

ULONG DirectSound::AddRef() { return AddReference(); }

ULONG DirectSound::Release()
{
    LogCall("Release", "sound");
    return DropReference();
}

HRESULT DirectSound::SetCooperativeLevel(HWND window, DWORD level)
{
    LogCall("SetCooperativeLevel", "sound");
    if (diagnostics::ShouldFail("DirectSoundSetCooperativeLevel")) return DSERR_GENERIC;
    // The level belongs to a live top-level window, as on Windows.
    if (window == nullptr || user::FindWindow(window) == nullptr) return DSERR_INVALIDPARAM;
    if (level < kLowestLevel || level > kHighestLevel) return DSERR_INVALIDPARAM;
    return DS_OK;
}

void ResetForTesting()
{
    Objects& objects = Registry();
    ++objects.generation;
    objects.live = 0;
}

int LiveObjectCount() { return Registry().live; }

} // namespace platform::dsound

using platform::dsound::DirectSound;

HRESULT WINAPI DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* sound, LPUNKNOWN outer)
{
    platform::LogCall("DirectSoundCreate");
    if (sound == nullptr) return DSERR_INVALIDPARAM;
    *sound = nullptr;
    if (outer != nullptr) return DSERR_NOAGGREGATION;
    // Only the default device exists: any other one is a driver not there.
    if (device != nullptr) return DSERR_NODRIVER;
    if (platform::diagnostics::ShouldFail("DirectSoundCreate")) return DSERR_NODRIVER;
    if (!platform::dsound::AcquireAudioOutput()) return DSERR_NODRIVER;
    DirectSound* made = new (std::nothrow) DirectSound();
    if (made == nullptr) {
        // Give back an output opened for an object that never came to be.
        if (platform::dsound::LiveObjectCount() == 0) platform::host::Current().CloseAudioOutput();
        return DSERR_OUTOFMEMORY;
    }
    *sound = made;
    return DS_OK;
}
