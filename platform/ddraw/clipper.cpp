#include "ddraw/clipper.h"

#include "common/call_log.h"
#include "common/unknown_iid.h"

namespace platform::ddraw {

HRESULT Clipper::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (riid != IID_IDirectDrawClipper && riid != kIidUnknown) return E_NOINTERFACE;
    *object = static_cast<IDirectDrawClipper*>(this);
    AddRef();
    return S_OK;
}

ULONG Clipper::AddRef() { return AddReference(); }

ULONG Clipper::Release()
{
    LogCall("Release", "clipper");
    return DropReference();
}

void Clipper::ReleaseQuietly() { DropReference(); }

HRESULT Clipper::SetHWnd(DWORD flags, HWND window)
{
    LogCall("SetHWnd");
    if (flags != 0) return DDERR_INVALIDPARAMS;
    window_ = window;
    return DD_OK;
}

Clipper* AsClipper(IDirectDrawClipper* clipper) { return dynamic_cast<Clipper*>(clipper); }

} // namespace platform::ddraw
