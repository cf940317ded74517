// Blt and BltFast: colour fills, unscaled (optionally keyed) copies and
// nearest-neighbour scaling, with the rectangle rule that no call may touch
// memory outside a surface.
#include <new>
#include <vector>

#include "common/call_log.h"
#include "compose/blit_queue.h"
#include "ddraw/clipper.h"
#include "ddraw/surface.h"
#include "host/host.h"
#include "pixels/blitters.h"
#include "user/client_area.h"

namespace platform::ddraw {
namespace {

constexpr DWORD kKnownBltFlags = DDBLT_COLORFILL | DDBLT_KEYSRC | DDBLT_WAIT;
constexpr DWORD kKnownBltFastFlags = DDBLTFAST_SRCCOLORKEY | DDBLTFAST_DESTCOLORKEY | DDBLTFAST_WAIT;

// A client area in the primary's coordinates, whose (0, 0) is the desktop's
// top-left corner.
Rectangle ClientOnPrimary(const user::ClientArea& area, const Rectangle& desktop)
{
    return Offset(area.screenRect, -desktop.left, -desktop.top);
}

// Keeps a copy of an overlapping same-surface source, so that the copy
// reads what was there before it started writing.
struct SourceSnapshot {
    std::vector<uint8_t> bytes;
    PixelView raster;

    bool Take(const PixelView& source, const Rectangle& rect)
    {
        raster = PixelView { nullptr, static_cast<int>(rect.Width()), static_cast<int>(rect.Height()),
            static_cast<int>(rect.Width()) * source.bytesPerPixel, source.bytesPerPixel };
        try {
            bytes.resize(static_cast<size_t>(raster.pitch) * static_cast<size_t>(raster.height));
        } catch (const std::bad_alloc&) {
            return false;
        }
        raster.pixels = bytes.data();
        pixels::CopyPixels(raster, raster.Bounds(), source, rect.left, rect.top, pixels::kKeepAllBits);
        return true;
    }
};

} // namespace

bool Surface::FindWriteTarget(const Rectangle& dest, bool opaque, WriteTarget& target) const
{
    if (memory_) {
        target.raster = raster_;
        target.visible = Intersect(Bounds(), dest);
        return !target.visible.IsEmpty();
    }
    // The windowed primary: only the top-level window's client area is ours.
    user::ClientArea area;
    if (!user::GetClientArea(nullptr, area)) return false;
    const Rectangle desktop = host::Current().DesktopRect();
    const Rectangle client = ClientOnPrimary(area, desktop);
    Rectangle visible = Intersect(Intersect(client, Bounds()), dest);
    if (clipper_ != nullptr && clipper_->Window() != nullptr) {
        user::ClientArea clipArea;
        if (!user::GetClientArea(clipper_->Window(), clipArea)) return false;
        visible = Intersect(visible, ClientOnPrimary(clipArea, desktop));
    }
    if (visible.IsEmpty()) return false;
    // The host need not bring up to date what is about to be written whole.
    const Rectangle inClient = Offset(visible, -client.left, -client.top);
    if (!user::LendClientPixels(opaque ? inClient : Rectangle {}, target.raster)) return false;
    target.originX = client.left;
    target.originY = client.top;
    target.visible = visible;
    target.keepBits = pixels::kKeepColourBits;
    return true;
}

const PixelView& Surface::WriteAtOnce(const WriteTarget& target, const Rectangle& area)
{
    // The windowed primary writes the window's client pixels, which no blit
    // waits for.
    if (target.raster.pixels != raster_.pixels) return target.raster;
    return Memory(compose::Touch::Write, area.top, area.bottom);
}

// The windowed primary with a clipper clips; every other surface refuses a
// destination that does not lie inside it.
HRESULT Surface::PrepareDestination(const Rectangle& dest, bool opaque, WriteTarget& target) const
{
    const bool clips = shape_.role.IsWindowedPrimary() && clipper_ != nullptr;
    if (clips ? !IsOrdered(dest) : !LiesInside(dest, Bounds())) return DDERR_INVALIDRECT;
    if (!FindWriteTarget(dest, opaque, target)) target.visible = {};
    return DD_OK;
}

void Surface::WriteFinished(const Rectangle& area)
{
    if (area.IsEmpty()) return;
    if (shape_.role.IsWindowedPrimary())
        user::ClientPixelsChanged(area);
    else if (shape_.role.IsPrimary() && display_->InFullScreenMode())
        screens::ShowFullScreenFrame(Memory(compose::Touch::Read, area.top, area.bottom), area);
}

HRESULT Surface::ColorFill(const Rectangle& dest, DWORD raw)
{
    WriteTarget target;
    HRESULT result = PrepareDestination(dest, true, target);
    if (result != DD_OK) return result;
    const Rectangle area = Offset(target.visible, -target.originX, -target.originY);
    if (TakesQueuedBlits() && compose::QueueFill(target.raster, area, raw)) return DD_OK;
    pixels::FillPixels(WriteAtOnce(target, area), area, raw, target.keepBits);
    WriteFinished(area);
    return DD_OK;
}

// Queueing touches no memory: the queue settles before anyone else does.
inline bool Surface::QueueCopy(Surface& source, const Rectangle& dest, const Rectangle& fromRect, bool keyed)
{
    const PixelView& from = source.raster_;
    if (dest.Width() != fromRect.Width() || dest.Height() != fromRect.Height())
        return compose::QueueStretch(raster_, dest, dest, from, fromRect);
    if (keyed) return compose::QueueKeyedCopy(raster_, dest, from, fromRect.left, fromRect.top, source.sourceKey_);
    return compose::QueueCopy(raster_, dest, from, fromRect.left, fromRect.top);
}

bool Surface::IsPresentation(const Surface& source, const Rectangle& sourceRect, bool keyed, bool scaled) const
{
    const Rectangle whole = source.Bounds();
    return shape_.role.IsPrimary() && !keyed && !scaled && sourceRect.left == whole.left && sourceRect.top == whole.top
        && sourceRect.right == whole.right && sourceRect.bottom == whole.bottom;
}

[[gnu::always_inline]] inline HRESULT Surface::CopyFrom(
    Surface& source, const Rectangle& dest, const Rectangle& sourceRect, bool keyed)
{
    if (!LiesInside(sourceRect, source.Bounds())) return DDERR_INVALIDRECT;
    // The common case, from another surface into this one's memory, with
    // nothing to clip: straight to the queue.
    if (TakesQueuedBlits() && &source != this) {
        if (!LiesInside(dest, Bounds())) return DDERR_INVALIDRECT;
        if (dest.IsEmpty() || sourceRect.IsEmpty() || QueueCopy(source, dest, sourceRect, keyed)) return DD_OK;
    }
    return CopyAtOnce(source, dest, sourceRect, keyed);
}

// Blits that clip, copy within one surface or write a primary, and those
// the queue does not take.
HRESULT Surface::CopyAtOnce(Surface& source, const Rectangle& dest, const Rectangle& sourceRect, bool keyed)
{
    WriteTarget target;
    // A copy from an empty rectangle writes nothing.
    HRESULT result = PrepareDestination(dest, !keyed && !sourceRect.IsEmpty(), target);
    if (result != DD_OK) return result;
    const Rectangle& visible = target.visible;
    if (visible.IsEmpty() || sourceRect.IsEmpty()) return DD_OK;
    const Rectangle area = Offset(visible, -target.originX, -target.originY);
    // Clipping moves the source by as much as it cut from the destination.
    const int64_t sourceX = sourceRect.left + (visible.left - dest.left);
    const int64_t sourceY = sourceRect.top + (visible.top - dest.top);

    const bool scaled = dest.Width() != sourceRect.Width() || dest.Height() != sourceRect.Height();
    const pixels::PresentationStores stores = IsPresentation(source, sourceRect, keyed, scaled)
        ? pixels::StoresForPresentation(
            size_t(source.shape_.width) * size_t(source.shape_.height) * size_t(source.shape_.format.bytesPerPixel))
        : pixels::PresentationStores::Ordinary;
    // A copy out of a surface whose blits wait, such as a frame's
    // presentation, draws them on its way.
    if (!scaled && !keyed && &source != this
        && compose::CopyOut(target.raster, area, source.raster_, sourceX, sourceY, target.keepBits, stores)) {
        WriteFinished(area);
        return DD_OK;
    }

    PixelView from = source.Memory(compose::Touch::Read, sourceRect.top, sourceRect.bottom);
    const PixelView& to = WriteAtOnce(target, area);
    Rectangle fromRect = sourceRect;
    SourceSnapshot snapshot;
    if (&source == this && Overlap(sourceRect, dest)) {
        if (!snapshot.Take(from, sourceRect)) return DDERR_OUTOFMEMORY;
        from = snapshot.raster;
        fromRect = from.Bounds();
    }

    if (scaled) {
        const Rectangle destination { dest.left - target.originX, dest.top - target.originY,
            dest.right - target.originX, dest.bottom - target.originY };
        pixels::StretchPixels(to, destination, area, from, fromRect, target.keepBits);
    } else {
        const int64_t fromX = fromRect.left + (visible.left - dest.left);
        const int64_t fromY = fromRect.top + (visible.top - dest.top);
        if (keyed)
            pixels::CopyKeyedPixels(to, area, from, fromX, fromY, source.sourceKey_, target.keepBits);
        else
            pixels::CopyPixels(to, area, from, fromX, fromY, target.keepBits, stores);
    }
    WriteFinished(area);
    return DD_OK;
}

HRESULT Surface::Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags, LPDDBLTFX effects)
{
    LogCallOnRole("Blt");
    if ((flags & ~kKnownBltFlags) != 0) return DDERR_INVALIDPARAMS;
    if ((flags & DDBLT_KEYSRC) != 0) return DDERR_UNSUPPORTED;
    if (IsGone()) return DDERR_SURFACELOST;
    if (IsBusy()) return DDERR_SURFACEBUSY;
    const Rectangle dest = destRect != nullptr ? ToRectangle(*destRect) : Bounds();

    if ((flags & DDBLT_COLORFILL) != 0) {
        if (effects == nullptr || effects->dwSize != sizeof(DDBLTFX)) return DDERR_INVALIDPARAMS;
        return ColorFill(dest, effects->dwFillColor);
    }
    if (source == nullptr) return DDERR_INVALIDPARAMS;
    Surface* from = AsSurface(source);
    HRESULT result = CheckBlitSource(from);
    if (result != DD_OK) return result;
    const Rectangle fromRect = sourceRect != nullptr ? ToRectangle(*sourceRect) : from->Bounds();
    return CopyFrom(*from, dest, fromRect, false);
}

HRESULT Surface::BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags)
{
    LogCallOnRole("BltFast");
    if ((flags & ~kKnownBltFastFlags) != 0) return DDERR_INVALIDPARAMS;
    if ((flags & DDBLTFAST_DESTCOLORKEY) != 0) return DDERR_UNSUPPORTED;
    if (source == nullptr) return DDERR_INVALIDPARAMS;
    if (IsGone()) return DDERR_SURFACELOST;
    if (IsBusy()) return DDERR_SURFACEBUSY;
    Surface* from = AsSurface(source);
    HRESULT result = CheckBlitSource(from);
    if (result != DD_OK) return result;
    const bool keyed = (flags & DDBLTFAST_SRCCOLORKEY) != 0;
    if (keyed && !from->hasSourceKey_) return DDERR_NOCOLORKEY;

    const Rectangle fromRect = sourceRect != nullptr ? ToRectangle(*sourceRect) : from->Bounds();
    if (!IsOrdered(fromRect)) return DDERR_INVALIDRECT;
    // The position arrives as DWORD; a program's negative int is meant.
    const int64_t left = static_cast<int32_t>(x);
    const int64_t top = static_cast<int32_t>(y);
    const Rectangle dest { left, top, left + fromRect.Width(), top + fromRect.Height() };
    return CopyFrom(*from, dest, fromRect, keyed);
}

} // namespace platform::ddraw
