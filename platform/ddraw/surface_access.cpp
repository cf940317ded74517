// Direct access to a surface's memory: Lock and Unlock for the program's own
// reads, GetDC and ReleaseDC for GDI. Either holds the surface until it is
// given back; blits to or from it meanwhile fail with DDERR_SURFACEBUSY.
#include "common/call_log.h"
#include "common/diagnostics.h"
#include "ddraw/surface.h"
#include "gdi/surface_dc.h"

namespace platform::ddraw {

HRESULT Surface::Lock(LPRECT rect, LPDDSURFACEDESC description, DWORD flags, HANDLE)
{
    LogCallOnRole("Lock");
    if (description == nullptr || description->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    // A busy blitter is only ever simulated; with DDLOCK_WAIT it is waited out.
    if (diagnostics::ShouldFail("LockStillDrawing") && (flags & DDLOCK_WAIT) == 0) return DDERR_WASSTILLDRAWING;
    if (diagnostics::ShouldFail("Lock")) return DDERR_GENERIC;
    if (IsGone()) return DDERR_SURFACELOST;
    if (IsBusy()) return DDERR_SURFACEBUSY;
    // The windowed primary has no memory to hand out.
    if (!memory_) return DDERR_UNSUPPORTED;
    const Rectangle area = rect != nullptr ? ToRectangle(*rect) : Bounds();
    if (!LiesInside(area, Bounds())) return DDERR_INVALIDRECT;

    FillDescription(*description);
    description->dwFlags |= DDSD_LPSURFACE;
    description->lpSurface = Memory(compose::Touch::Write).At(area.left, area.top);
    locked_ = true;
    return DD_OK;
}

HRESULT Surface::Unlock(LPVOID)
{
    LogCallOnRole("Unlock");
    if (!locked_) return DDERR_NOTLOCKED;
    locked_ = false;
    WriteFinished(Bounds());
    return DD_OK;
}

HRESULT Surface::GetDC(HDC* context)
{
    LogCallOnRole("GetDC");
    if (context == nullptr) return DDERR_INVALIDPARAMS;
    *context = nullptr;
    if (diagnostics::ShouldFail("GetDC")) return DDERR_CANTCREATEDC;
    if (IsGone()) return DDERR_SURFACELOST;
    if (dc_ != nullptr) return DDERR_DCALREADYCREATED;
    if (locked_) return DDERR_SURFACEBUSY;
    if (!memory_) return DDERR_CANTCREATEDC;
    // Blits into the surface may go on waiting: GDI asks for the rows it
    // touches. Blits reading it are done now, since GDI may write it.
    const PixelView& memory = Memory(compose::Touch::Write, 0, 0);
    auto prepareRows = [](void* owner, int top, int bottom) {
        static_cast<Surface*>(owner)->Memory(compose::Touch::Write, top, bottom);
    };
    const gdi::DrawingTarget target { memory, shape_.format.gdiFormat, this, prepareRows };
    dc_ = gdi::CreateSurfaceDC(target);
    if (dc_ == nullptr) return DDERR_CANTCREATEDC;
    *context = dc_;
    return DD_OK;
}

HRESULT Surface::ReleaseDC(HDC context)
{
    LogCallOnRole("ReleaseDC");
    if (dc_ == nullptr) return DDERR_NODC;
    if (context != dc_) return DDERR_INVALIDPARAMS;
    gdi::DeleteSurfaceDC(dc_);
    dc_ = nullptr;
    WriteFinished(Bounds());
    return DD_OK;
}

} // namespace platform::ddraw
