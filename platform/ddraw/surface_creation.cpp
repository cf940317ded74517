#include "ddraw/surface_creation.h"

#include "host/host.h"

namespace platform::ddraw {
namespace {

constexpr DWORD kKnownDescriptionFlags
    = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_BACKBUFFERCOUNT | DDSD_LPSURFACE | DDSD_PIXELFORMAT;
// Caps only DirectDraw itself gives, to the surfaces of a flipping chain.
constexpr DWORD kChainCaps = DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX;

bool SizeFits(int width, int height, const SurfaceFormat& format)
{
    const size_t bytes = static_cast<size_t>(RowPitch(width, format.bytesPerPixel)) * static_cast<size_t>(height);
    return bytes <= kMaxSurfaceBytes;
}

HRESULT ReadPrimary(const DisplayState& display, const DDSURFACEDESC& description, DWORD caps, SurfaceRequest& request)
{
    // The primary is the screen: its size is the display's, never asked for.
    if ((description.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != 0) return DDERR_INVALIDPARAMS;
    if ((caps & DDSCAPS_OFFSCREENPLAIN) != 0 || (caps & (DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER)) != 0)
        return DDERR_INVALIDPARAMS;
    if (display.primary != nullptr) return DDERR_PRIMARYSURFACEALREADYEXISTS;

    request.flipping = (caps & DDSCAPS_FLIP) != 0;
    const bool hasCount = (description.dwFlags & DDSD_BACKBUFFERCOUNT) != 0;
    if (request.flipping) {
        if ((caps & DDSCAPS_COMPLEX) == 0 || !hasCount || description.dwBackBufferCount == 0)
            return DDERR_INVALIDPARAMS;
        if (description.dwBackBufferCount > 1) return DDERR_UNSUPPORTED;
        if (!display.IsExclusive()) return DDERR_NOEXCLUSIVEMODE;
    } else if (hasCount || (caps & DDSCAPS_COMPLEX) != 0) {
        return DDERR_INVALIDPARAMS;
    }

    SurfaceShape& shape = request.shape;
    shape.caps = caps | (request.flipping ? DDSCAPS_FRONTBUFFER : 0);
    shape.format = display.Format();
    if (display.modeSet) {
        shape.width = display.modeWidth;
        shape.height = display.modeHeight;
    } else {
        const Rectangle desktop = host::Current().DesktopRect();
        shape.width = int(desktop.Width());
        shape.height = int(desktop.Height());
    }
    if (shape.width <= 0 || shape.height <= 0 || !SizeFits(shape.width, shape.height, shape.format))
        return DDERR_GENERIC;
    // In full screen the primary is a picture of its own; windowed, it is
    // the desktop, of which only the window's client area is ours.
    shape.role = request.flipping || display.InFullScreenMode() ? SurfaceRole::ScreenPrimary()
                                                                : SurfaceRole::WindowedPrimary();
    return DD_OK;
}

HRESULT ReadOffscreen(
    const DisplayState& display, const DDSURFACEDESC& description, DWORD caps, SurfaceRequest& request)
{
    if ((caps & kChainCaps) != 0 || (description.dwFlags & DDSD_BACKBUFFERCOUNT) != 0) return DDERR_INVALIDPARAMS;
    const DWORD sized = DDSD_WIDTH | DDSD_HEIGHT;
    if ((description.dwFlags & sized) != sized) return DDERR_INVALIDPARAMS;
    if (description.dwWidth < 1 || description.dwWidth > kMaxSurfaceSide || description.dwHeight < 1
        || description.dwHeight > kMaxSurfaceSide)
        return DDERR_INVALIDPARAMS;

    SurfaceShape& shape = request.shape;
    // The windowed back buffer is the off-screen surface made for 3-D.
    shape.role = (caps & DDSCAPS_3DDEVICE) != 0 ? SurfaceRole::BackBuffer() : SurfaceRole::Picture();
    shape.caps = caps | DDSCAPS_OFFSCREENPLAIN;
    shape.width = static_cast<int>(description.dwWidth);
    shape.height = static_cast<int>(description.dwHeight);
    shape.format = display.Format();
    if (!SizeFits(shape.width, shape.height, shape.format)) return DDERR_OUTOFMEMORY;
    return DD_OK;
}

} // namespace

HRESULT ReadSurfaceRequest(const DisplayState& display, const DDSURFACEDESC& description, SurfaceRequest& request)
{
    if ((description.dwFlags & ~kKnownDescriptionFlags) != 0) return DDERR_INVALIDPARAMS;
    // Surfaces over the program's own memory are not offered.
    if ((description.dwFlags & (DDSD_PITCH | DDSD_LPSURFACE)) != 0) return DDERR_UNSUPPORTED;
    // Surfaces take the display's format; asking for another one fails.
    if ((description.dwFlags & DDSD_PIXELFORMAT) != 0 && !MatchesFormat(description.ddpfPixelFormat, display.Format()))
        return DDERR_INVALIDPIXELFORMAT;

    const DWORD caps = (description.dwFlags & DDSD_CAPS) != 0 ? description.ddsCaps.dwCaps : 0;
    if ((caps & DDSCAPS_PRIMARYSURFACE) != 0) return ReadPrimary(display, description, caps, request);
    return ReadOffscreen(display, description, caps, request);
}

HRESULT CreateRequestedSurface(
    const std::shared_ptr<DisplayState>& display, const SurfaceRequest& request, Surface** surface)
{
    Surface* made = Surface::Create(display, request.shape);
    if (made == nullptr) return DDERR_OUTOFMEMORY;
    if (request.flipping) {
        SurfaceShape back = request.shape;
        back.role = SurfaceRole::BackBuffer();
        back.caps = (request.shape.caps & ~(DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER)) | DDSCAPS_BACKBUFFER;
        Surface* backBuffer = Surface::Create(display, back);
        if (backBuffer == nullptr) {
            made->ReleaseQuietly();
            return DDERR_OUTOFMEMORY;
        }
        made->AttachBackBuffer(backBuffer);
    }
    *surface = made;
    return DD_OK;
}

} // namespace platform::ddraw
