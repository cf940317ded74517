#include "ddraw/surface.h"

#include <new>
#include <typeinfo>

#include "common/call_log.h"
#include "common/unknown_iid.h"
#include "ddraw/clipper.h"
#include "gdi/surface_dc.h"

namespace platform::ddraw {
namespace {

// What a restored surface holds until the program draws it again: a loud
// checkerboard, so that a missing redraw is plain to see.
void FillLostPattern(const PixelView& target)
{
    // Magenta and green squares of 8 pixels, in either depth.
    const uint32_t first = target.bytesPerPixel == 2 ? 0xF81Fu : 0x00FF00FFu;
    const uint32_t second = target.bytesPerPixel == 2 ? 0x07E0u : 0x0000FF00u;
    for (int y = 0; y < target.height; ++y)
        for (int x = 0; x < target.width; ++x) {
            const uint32_t value = ((x / 8 + y / 8) % 2 == 0) ? first : second;
            if (target.bytesPerPixel == 2)
                pixels::Store<uint16_t>(target.At(x, y), static_cast<uint16_t>(value));
            else
                pixels::Store<uint32_t>(target.At(x, y), value);
        }
}

} // namespace

Surface* Surface::Create(std::shared_ptr<DisplayState> display, const SurfaceShape& shape)
{
    PixelMemory memory;
    int pitch = 0;
    if (shape.role.HasOwnMemory()) {
        pitch = RowPitch(shape.width, shape.format.bytesPerPixel);
        memory = PixelMemory::Allocate(static_cast<size_t>(pitch) * static_cast<size_t>(shape.height));
        if (!memory) return nullptr;
    }
    const bool onDisplay = shape.role == SurfaceRole::ScreenPrimary() && display->InFullScreenMode();
    Surface* made = nullptr;
    try {
        made = new Surface(std::move(display), shape, std::move(memory), pitch);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    // The full-screen primary is the display's memory; its own stays for
    // after full screen.
    if (onDisplay) {
        const PixelView lent = screens::LendFullScreenMemory(made, shape.width, shape.height);
        if (lent.pixels) made->raster_ = lent;
    }
    return made;
}

Surface::Surface(std::shared_ptr<DisplayState> display, const SurfaceShape& shape, PixelMemory memory, int pitch)
    : display_(std::move(display))
    , shape_(shape)
    , memory_(std::move(memory))
    , pitch_(pitch)
    , raster_ { memory_.Data(), shape_.width, shape_.height, pitch_, shape_.format.bytesPerPixel }
{
    display_->surfaces.push_back(this);
    if (shape_.role.IsPrimary()) display_->primary = this;
}

Surface::~Surface()
{
    // Blits waiting to read this memory are done now; those into it, dropped.
    Memory(compose::Touch::Discard);
    screens::TenantGone(this);
    if (dc_ != nullptr) gdi::DeleteSurfaceDC(dc_);
    if (clipper_ != nullptr) clipper_->ReleaseQuietly();
    if (attached_ != nullptr) attached_->ReleaseQuietly();
    display_->Forget(this);
}

HRESULT Surface::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (riid != IID_IDirectDrawSurface && riid != kIidUnknown) return E_NOINTERFACE;
    *object = static_cast<IDirectDrawSurface*>(this);
    AddRef();
    return S_OK;
}

void Surface::LogRoleCall(const char* method) const { LogCall(method, Role()); }

ULONG Surface::AddRef() { return AddReference(); }

ULONG Surface::Release()
{
    LogCallOnRole("Release");
    return DropReference();
}

void Surface::ReleaseQuietly() { DropReference(); }

// Surfaces of a released DirectDraw object count as lost, as blits on them
// report.
HRESULT Surface::IsLost() { return IsGone() ? DDERR_SURFACELOST : DD_OK; }

HRESULT Surface::Restore()
{
    LogCallOnRole("Restore");
    return RestoreQuietly();
}

const PixelView& Surface::Memory(compose::Touch touch, int64_t top, int64_t bottom)
{
    compose::Settle(raster_.pixels, touch, top, bottom);
    return raster_;
}

// A lost surface's content is undefined until it is restored and drawn
// again: what waits to be drawn into it is dropped.
void Surface::MarkLost()
{
    Memory(compose::Touch::Discard);
    lost_ = true;
}

void Surface::Abandon()
{
    MarkLost();
    screens::TenantGone(this);
    raster_ = PixelView {};
    memory_ = PixelMemory {};
}

void Surface::LeaveDisplayMemory()
{
    if (!memory_ || Pixels() == memory_.Data()) return;
    Memory(compose::Touch::Discard);
    raster_ = PixelView { memory_.Data(), shape_.width, shape_.height, pitch_, shape_.format.bytesPerPixel };
}

// Restoring the front of a flipping chain restores the whole chain.
HRESULT Surface::RestoreQuietly()
{
    // Surfaces of a released DirectDraw object have no display to come back to.
    if (!display_->alive) return DDERR_INVALIDOBJECT;
    if (attached_ != nullptr) attached_->RestoreQuietly();
    if (!lost_) return DD_OK;
    lost_ = false;
    // The window's client pixels are not ours to scribble on; surfaces with
    // memory of their own come back with content no program may rely on.
    if (memory_) {
        FillLostPattern(Memory(compose::Touch::Write));
        WriteFinished(Bounds());
    }
    return DD_OK;
}

HRESULT Surface::SetClipper(LPDIRECTDRAWCLIPPER clipper)
{
    LogCall("SetClipper");
    Clipper* attached = nullptr;
    if (clipper != nullptr) {
        attached = AsClipper(clipper);
        if (attached == nullptr) return DDERR_INVALIDOBJECT;
        attached->AddRef();
    }
    if (clipper_ != nullptr) clipper_->ReleaseQuietly();
    clipper_ = attached;
    return DD_OK;
}

HRESULT Surface::SetColorKey(DWORD flags, LPDDCOLORKEY key)
{
    LogCallOnRole("SetColorKey");
    if (flags != DDCKEY_SRCBLT) return flags == DDCKEY_DESTBLT ? DDERR_UNSUPPORTED : DDERR_INVALIDPARAMS;
    hasSourceKey_ = key != nullptr;
    sourceKeyAsSet_ = key != nullptr ? *key : DDCOLORKEY {};
    // A range given upside down keys its low value alone.
    const DWORD low = sourceKeyAsSet_.dwColorSpaceLowValue, high = sourceKeyAsSet_.dwColorSpaceHighValue;
    sourceKey_ = { low, high >= low ? high - low : 0 };
    return DD_OK;
}

void Surface::FillDescription(DDSURFACEDESC& description) const
{
    description = {};
    description.dwSize = sizeof(DDSURFACEDESC);
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.dwWidth = static_cast<DWORD>(shape_.width);
    description.dwHeight = static_cast<DWORD>(shape_.height);
    if (memory_) {
        description.dwFlags |= DDSD_PITCH;
        description.lPitch = raster_.pitch;
    }
    if (attached_ != nullptr) {
        description.dwFlags |= DDSD_BACKBUFFERCOUNT;
        description.dwBackBufferCount = 1;
    }
    description.ddckCKSrcBlt = sourceKeyAsSet_;
    DescribeFormat(shape_.format, description.ddpfPixelFormat);
    description.ddsCaps.dwCaps = shape_.caps;
}

HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC description)
{
    LogCallOnRole("GetSurfaceDesc");
    if (description == nullptr || description->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    FillDescription(*description);
    return DD_OK;
}

HRESULT Surface::GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached)
{
    LogCallOnRole("GetAttachedSurface");
    if (attached == nullptr) return DDERR_INVALIDPARAMS;
    *attached = nullptr;
    if (caps == nullptr) return DDERR_INVALIDPARAMS;
    if (attached_ == nullptr || (caps->dwCaps & ~attached_->shape_.caps) != 0) return DDERR_NOTFOUND;
    attached_->AddRef();
    *attached = attached_;
    return DD_OK;
}

} // namespace platform::ddraw
