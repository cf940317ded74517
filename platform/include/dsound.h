// DirectSound as the program uses it: the device object and its cooperative level.
#pragma once

#include <windows.h>

#define DS_OK S_OK
#define DSERR_NODRIVER ((HRESULT)0x88780078L)
#define DSERR_INVALIDPARAM E_INVALIDARG
#define DSERR_GENERIC E_FAIL
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY
#define DSERR_NOAGGREGATION ((HRESULT)0x80040110L)

#define DSSCL_NORMAL 0x00000001

struct DECLSPEC_NOVTABLE IDirectSound : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) = 0;

protected:
    ~IDirectSound() = default;
};
typedef IDirectSound* LPDIRECTSOUND;

inline constexpr GUID IID_IDirectSound
    = { 0x279AFA83, 0x4981, 0x11CE, { 0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60 } };

HRESULT WINAPI DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* sound, LPUNKNOWN outer);
