// The DirectDraw object: one COM object behind both IDirectDraw (what
// DirectDrawCreate gives) and IDirectDraw2 (what the program asks for),
// with one reference count.
#pragma once

#include <memory>

#include <ddraw.h>

#include "common/reference_count.h"
#include "ddraw/display_state.h"
#include "ddraw/live_objects.h"

namespace platform::ddraw {

class DirectDraw final : public IDirectDraw,
                         public IDirectDraw2,
                         private LiveObject,
                         private ReferenceCounted<DirectDraw> {
public:
    DirectDraw();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreateSurface(
        LPDDSURFACEDESC description, LPDIRECTDRAWSURFACE* surface, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE FlipToGDISurface() override;
    HRESULT STDMETHODCALLTYPE SetDisplayMode(
        DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate, DWORD flags) override;

private:
    friend class ReferenceCounted<DirectDraw>;
    ~DirectDraw();
    void GiveDisplayBack();

    std::shared_ptr<DisplayState> display_;
};

} // namespace platform::ddraw
