// IDirectDrawClipper: binds the primary surface to a window, so that copies
// onto the screen keep inside that window's client area.
#pragma once

#include <ddraw.h>

#include "common/reference_count.h"
#include "ddraw/live_objects.h"

namespace platform::ddraw {

class Clipper final : public IDirectDrawClipper, private LiveObject, private ReferenceCounted<Clipper> {
public:
    Clipper() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE SetHWnd(DWORD flags, HWND window) override;

    HWND Window() const { return window_; }
    // The reference a surface holds; silent in the call log.
    void ReleaseQuietly();

private:
    friend class ReferenceCounted<Clipper>;
    ~Clipper() = default;

    HWND window_ = nullptr;
};

// The clipper behind an interface pointer, or null when it is not one of ours.
Clipper* AsClipper(IDirectDrawClipper* clipper);

} // namespace platform::ddraw
