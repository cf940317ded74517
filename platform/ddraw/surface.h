// IDirectDrawSurface: raw pixels with a pitch in the display's format. The
// windowed primary has no memory of its own: it stands for the desktop, and
// what is written to it lands in the top-level window's client pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <typeinfo>

#include <ddraw.h>

#include "common/diagnostics.h"
#include "common/pixel_memory.h"
#include "common/reference_count.h"
#include "common/win32_rect.h"
#include "compose/blit_queue.h"
#include "ddraw/display_state.h"
#include "ddraw/live_objects.h"
#include "ddraw/pixel_formats.h"
#include "ddraw/surface_role.h"
#include "screens/full_screen.h"

namespace platform::ddraw {

class Clipper;

// What CreateSurface decided a surface is.
struct SurfaceShape {
    SurfaceRole role = SurfaceRole::Picture();
    int width = 0;
    int height = 0;
    SurfaceFormat format = kXrgb8888;
    DWORD caps = 0;
};

class Surface final : public IDirectDrawSurface,
                      private LiveObject,
                      private ReferenceCounted<Surface>,
                      private screens::DisplayTenant {
public:
    // Null when the memory cannot be had.
    static Surface* Create(std::shared_ptr<DisplayState> display, const SurfaceShape& shape);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Blt(
        LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags, LPDDBLTFX effects) override;
    HRESULT STDMETHODCALLTYPE BltFast(
        DWORD x, DWORD y, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC* context) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC description) override;
    HRESULT STDMETHODCALLTYPE IsLost() override;
    HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC description, DWORD flags, HANDLE event) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC context) override;
    HRESULT STDMETHODCALLTYPE Restore() override;
    HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
    HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID surfaceData) override;

    // The display took the memory away; it comes back with Restore.
    void MarkLost();
    // The surface's display is gone for good: lost, with no memory.
    void Abandon();
    // Full screen ended: a primary whose pixels lived in the display's
    // memory goes on in its own (it is lost then, its pixels undefined).
    void LeaveDisplayMemory() override;
    // The flipping chain: the primary owns one reference on its back buffer.
    void AttachBackBuffer(Surface* backBuffer) { attached_ = backBuffer; }
    // A reference held inside DirectDraw; silent in the call log.
    void ReleaseQuietly();

    // The one way to the pixels' memory for anyone but the blit queue: what
    // waits to be drawn into it, or to read it, is settled first, as
    // `touch` needs for rows top .. bottom - 1. The full-screen primary's
    // memory is the display's.
    const PixelView& Memory(compose::Touch touch, int64_t top = 0, int64_t bottom = INT64_MAX);

    // Labels in the call log and in fault names: "Release(backbuffer)".
    const char* Role() const { return shape_.role.Name(); }
    // "Blt(backbuffer)": only a flag is read while the log is off; the
    // entry is made out of line, keeping the blits' own code small.
    void LogCallOnRole(const char* method) const
    {
        if (diagnostics::CallLogEnabled()) LogRoleCall(method);
    }
    void LogRoleCall(const char* method) const;

private:
    const PixelView& SettledMemory(compose::Touch touch) override { return Memory(touch); }

    // Where a blit writes: `raster` holds surface point (x, y) at
    // (x - originX, y - originY); only `visible` (surface coordinates) is ours.
    struct WriteTarget {
        PixelView raster;
        int64_t originX = 0;
        int64_t originY = 0;
        Rectangle visible;
        uint32_t keepBits = pixels::kKeepAllBits;
    };

    Surface(std::shared_ptr<DisplayState> display, const SurfaceShape& shape, PixelMemory memory, int pitch);
    friend class ReferenceCounted<Surface>;
    ~Surface();
    HRESULT RestoreQuietly();

    Rectangle Bounds() const { return { 0, 0, shape_.width, shape_.height }; }
    bool IsBusy() const { return dc_ != nullptr || locked_; }
    bool IsGone() const { return lost_ || !display_->alive; }
    // Where the pixels live, for telling rasters apart and for blits that wait.
    uint8_t* Pixels() const { return raster_.pixels; }

    HRESULT CheckBlitSource(const Surface* source) const
    {
        if (source == nullptr) return DDERR_INVALIDOBJECT;
        if (source->IsGone()) return DDERR_SURFACELOST;
        if (source->IsBusy()) return DDERR_SURFACEBUSY;
        // The windowed primary's pixels belong to the windows on the desktop.
        if (!source->memory_) return DDERR_UNSUPPORTED;
        if (!(source->shape_.format == shape_.format)) return DDERR_INVALIDPIXELFORMAT;
        return DD_OK;
    }
    // `opaque`: every visible pixel of `dest` is about to be written.
    HRESULT PrepareDestination(const Rectangle& dest, bool opaque, WriteTarget& target) const;
    bool FindWriteTarget(const Rectangle& dest, bool opaque, WriteTarget& target) const;
    // The write target's memory for a write at once into `area` of it.
    const PixelView& WriteAtOnce(const WriteTarget& target, const Rectangle& area);
    // Shows what a write changed of a primary (`area`, in the write
    // target's raster).
    void WriteFinished(const Rectangle& area);
    HRESULT ColorFill(const Rectangle& dest, DWORD raw);
    // Blits into a primary are shown as soon as they are written, so they
    // never wait in the queue; blits into other surface memory do.
    bool TakesQueuedBlits() const { return memory_ && !shape_.role.IsPrimary(); }
    // Leaves the copy to the blit queue; false when it does not take it.
    bool QueueCopy(Surface& source, const Rectangle& dest, const Rectangle& fromRect, bool keyed);
    // A copy of the whole of `source` onto the screen: a frame presented.
    bool IsPresentation(const Surface& source, const Rectangle& sourceRect, bool keyed, bool scaled) const;
    HRESULT CopyFrom(Surface& source, const Rectangle& dest, const Rectangle& sourceRect, bool keyed);
    HRESULT CopyAtOnce(Surface& source, const Rectangle& dest, const Rectangle& sourceRect, bool keyed);
    void FillDescription(DDSURFACEDESC& description) const;

    std::shared_ptr<DisplayState> display_;
    SurfaceShape shape_;
    PixelMemory memory_;
    int pitch_ = 0;
    PixelView raster_; // the pixels' memory with its size, pitch and depth; reached through Memory
    bool lost_ = false;
    bool locked_ = false;
    HDC dc_ = nullptr;
    bool hasSourceKey_ = false;
    pixels::ColourKey sourceKey_ {};
    DDCOLORKEY sourceKeyAsSet_ {};
    Clipper* clipper_ = nullptr;
    Surface* attached_ = nullptr;
};

// The surface behind an interface pointer, or null when it is not one of
// ours. Surface is final, so the exact type test says what dynamic_cast
// would, without its walk through the base classes on every blit.
inline Surface* AsSurface(IDirectDrawSurface* surface)
{
    if (surface == nullptr || typeid(*surface) != typeid(Surface)) return nullptr;
    return static_cast<Surface*>(surface);
}

// Pitch in bytes of a surface row: rows start on 4-byte boundaries, so that
// a 32-bit read at the start of any row stays inside the surface. Rows an
// even number of cache lines apart (640 pixels at either depth) would put a
// column of pixels into a few cache sets only, and a walk down a column,
// such as a band of one-pixel copies, would keep evicting itself: such
// rows get one cache line more.
constexpr int RowPitch(int width, int bytesPerPixel)
{
    constexpr int kCacheLine = 64;
    const int packed = (width * bytesPerPixel + 3) / 4 * 4;
    return packed >= 8 * kCacheLine && packed % (2 * kCacheLine) == 0 ? packed + kCacheLine : packed;
}

} // namespace platform::ddraw
