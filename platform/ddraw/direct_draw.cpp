#include "ddraw/direct_draw.h"

#include <cstdio>
#include <new>

#include "common/call_log.h"
#include "common/diagnostics.h"
#include "common/display_size.h"
#include "common/unknown_iid.h"
#include "ddraw/clipper.h"
#include "ddraw/surface_creation.h"
#include "host/host.h"
#include "screens/full_screen.h"

namespace platform::ddraw {
namespace {

constexpr DWORD kKnownLevels
    = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_NOWINDOWCHANGES | DDSCL_NORMAL | DDSCL_EXCLUSIVE;

// Normal alone, or full screen together with exclusive (and a window).
bool IsValidLevel(HWND window, DWORD flags)
{
    if ((flags & ~kKnownLevels) != 0) return false;
    const bool normal = (flags & DDSCL_NORMAL) != 0;
    const bool fullScreen = (flags & DDSCL_FULLSCREEN) != 0;
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    if (normal) return !fullScreen && !exclusive;
    return fullScreen && exclusive && window != nullptr;
}

} // namespace

DirectDraw::DirectDraw()
    : display_(std::make_shared<DisplayState>())
{
    RegisterDisplay(display_.get());
}

DirectDraw::~DirectDraw()
{
    // Surfaces that outlive their DirectDraw object stay safe to call: they
    // are lost for good.
    GiveDisplayBack();
    display_->alive = false;
    display_->LoseSurfaces();
    UnregisterDisplay(display_.get());
}

void DirectDraw::GiveDisplayBack()
{
    if (!display_->modeSet) return;
    display_->modeSet = false;
    if (IsCurrent() && display_->alive) screens::LeaveFullScreen();
}

HRESULT DirectDraw::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (riid == IID_IDirectDraw2) {
        LogCall("QueryInterface", "IDirectDraw2");
        *object = static_cast<IDirectDraw2*>(this);
    } else if (riid == IID_IDirectDraw) {
        LogCall("QueryInterface", "IDirectDraw");
        *object = static_cast<IDirectDraw*>(this);
    } else if (riid == kIidUnknown) {
        LogCall("QueryInterface", "IUnknown");
        *object = static_cast<IUnknown*>(static_cast<IDirectDraw*>(this));
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG DirectDraw::AddRef() { return AddReference(); }

ULONG DirectDraw::Release()
{
    LogCall("Release", "directdraw");
    return DropReference();
}

HRESULT DirectDraw::SetCooperativeLevel(HWND window, DWORD flags)
{
    if (diagnostics::CallLogEnabled()) {
        char detail[16];
        std::snprintf(detail, sizeof(detail), "0x%X", static_cast<unsigned>(flags));
        LogCall("SetCooperativeLevel", detail);
    }
    if (!IsValidLevel(window, flags)) return DDERR_INVALIDPARAMS;
    // Leaving exclusive mode gives a changed display mode back.
    if ((flags & DDSCL_EXCLUSIVE) == 0 && display_->modeSet) {
        GiveDisplayBack();
        display_->LoseSurfaces();
    }
    display_->cooperativeLevel = flags;
    display_->window = window;
    return DD_OK;
}

HRESULT DirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate, DWORD flags)
{
    if (diagnostics::CallLogEnabled()) {
        char detail[48];
        std::snprintf(detail, sizeof(detail), "%ux%ux%u", static_cast<unsigned>(width), static_cast<unsigned>(height),
            static_cast<unsigned>(bitsPerPixel));
        LogCall("SetDisplayMode", detail);
    }
    if (diagnostics::ShouldFail("SetDisplayMode")) return DDERR_GENERIC;
    if (flags != 0) return DDERR_INVALIDPARAMS;
    if (!display_->IsExclusive()) return DDERR_NOEXCLUSIVEMODE;
    // The one mode there is, at 16 bits, any refresh rate.
    if (width != DWORD(kDisplayWidth) || height != DWORD(kDisplayHeight) || bitsPerPixel != 16 || refreshRate != 0)
        return DDERR_INVALIDMODE;
    if (display_->modeSet) return DD_OK;
    // Surfaces made for the old mode lose their memory, as on Windows.
    display_->LoseSurfaces();
    display_->modeSet = true;
    display_->modeWidth = kDisplayWidth;
    display_->modeHeight = kDisplayHeight;
    screens::EnterFullScreen(kDisplayWidth, kDisplayHeight);
    return DD_OK;
}

HRESULT DirectDraw::CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer)
{
    LogCall("CreateClipper");
    if (clipper == nullptr) return DDERR_INVALIDPARAMS;
    *clipper = nullptr;
    if (flags != 0 || outer != nullptr) return DDERR_INVALIDPARAMS;
    if (diagnostics::ShouldFail("CreateClipper")) return DDERR_OUTOFMEMORY;
    Clipper* made = new (std::nothrow) Clipper();
    if (made == nullptr) return DDERR_OUTOFMEMORY;
    *clipper = made;
    return DD_OK;
}

HRESULT DirectDraw::CreateSurface(LPDDSURFACEDESC description, LPDIRECTDRAWSURFACE* surface, IUnknown* outer)
{
    if (surface == nullptr) return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    if (description == nullptr || description->dwSize != sizeof(DDSURFACEDESC) || outer != nullptr) {
        LogCall("CreateSurface", "invalid");
        return DDERR_INVALIDPARAMS;
    }
    SurfaceRequest request;
    HRESULT result = ReadSurfaceRequest(*display_, *description, request);
    const SurfaceShape& shape = request.shape;
    if (diagnostics::CallLogEnabled()) {
        std::string detail = shape.role.Name();
        if (!shape.role.IsPrimary()) detail += " " + std::to_string(shape.width) + "x" + std::to_string(shape.height);
        LogCall("CreateSurface", result == DD_OK ? detail.c_str() : "invalid");
    }
    if (result != DD_OK) return result;
    // Tests fail either any creation or one kind: "CreateSurface(backbuffer)".
    const std::string roleFault = std::string("CreateSurface(") + shape.role.Name() + ")";
    if (diagnostics::ShouldFail("CreateSurface") || diagnostics::ShouldFail(roleFault)) return DDERR_OUTOFMEMORY;

    Surface* made = nullptr;
    result = CreateRequestedSurface(display_, request, &made);
    if (result == DD_OK) *surface = made;
    return result;
}

HRESULT DirectDraw::FlipToGDISurface()
{
    LogCall("FlipToGDISurface");
    return DD_OK;
}

} // namespace platform::ddraw

using namespace platform::ddraw;

HRESULT WINAPI DirectDrawCreate(GUID* driver, LPDIRECTDRAW* directDraw, IUnknown* outer)
{
    platform::LogCall("DirectDrawCreate");
    if (directDraw == nullptr) return DDERR_INVALIDPARAMS;
    *directDraw = nullptr;
    // Only the primary display driver exists.
    if (driver != nullptr || outer != nullptr) return DDERR_INVALIDPARAMS;
    if (platform::diagnostics::ShouldFail("DirectDrawCreate")) return DDERR_GENERIC;
    if (!platform::host::Current().HasDisplay()) return DDERR_GENERIC;
    DirectDraw* made = nullptr;
    try {
        made = new DirectDraw();
    } catch (const std::bad_alloc&) {
        return DDERR_OUTOFMEMORY;
    }
    *directDraw = made;
    return DD_OK;
}
