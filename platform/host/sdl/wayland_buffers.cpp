// The window's pixels in buffers of memory shared with the Wayland
// compositor (wl_shm), attached to the window's own surface, which SDL
// makes and maps but never draws on. A buffer the compositor holds is not
// written until it gives it back (its release event); the next picture
// goes into another, which first catches up with what changed since it last
// held the latest one. A picture is handed over when the compositor asks
// for one (the surface's frame callback); until then the program draws
// into the same buffer again, so that it never waits for the screen and
// the compositor gets no more pictures than it shows. Releases and frame
// callbacks arrive on a queue of our own: SDL's dispatch never sees them,
// as the X server's completion events never reach SDL's loop.
#include <SDL_syswm.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "host/desktop_scale.h"
#include "host/image_set.h"
#include "host/sdl/window_memory.h"

namespace platform::host {
namespace {

// Two are what a compositor that gives each buffer back when the next one
// arrives needs; more for one that holds on to a buffer while it shows it.
constexpr int kFirstBuffers = 2;
constexpr int kMaxBuffers = 4;
// How long a picture may wait for a buffer to come back, at the most, when
// all are held; a compositor that holds them longer has stopped reading.
constexpr Uint32 kReleaseWaitMilliseconds = 2000;

Rectangle ToRect(const SDL_Rect& r) { return Rectangle { r.x, r.y, r.x + r.w, r.y + r.h }; }

struct ShmBuffer {
    wl_buffer* buffer = nullptr;
    uint32_t* pixels = nullptr;
    size_t bytes = 0;
    bool held = false; // attached, and not yet given back by the compositor

    uint32_t* Row(int y, int width) const { return pixels + ptrdiff_t(y) * width; }
};

void OnRelease(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->held = false; }
const wl_buffer_listener kBufferListener = { OnRelease };

class WaylandBuffers final : public WindowMemory {
public:
    WaylandBuffers(SDL_Window* window, wl_display* display, wl_surface* surface)
        : window_(window)
        , display_(display)
        , surface_(surface)
    {
    }

    ~WaylandBuffers() override
    {
        FreeBuffers();
        if (frame_) wl_callback_destroy(frame_);
        if (surfaceOnQueue_) wl_proxy_wrapper_destroy(surfaceOnQueue_);
        if (shm_) wl_shm_destroy(shm_);
        if (registry_) wl_registry_destroy(registry_);
        if (queue_) {
            // Whatever still came for our queue goes with it.
            wl_display_dispatch_queue_pending(display_, queue_);
            wl_event_queue_destroy(queue_);
        }
    }

    WaylandBuffers(const WaylandBuffers&) = delete;
    WaylandBuffers& operator=(const WaylandBuffers&) = delete;

    // Binds the compositor's shared memory on our own queue.
    bool Connect()
    {
        queue_ = wl_display_create_queue(display_);
        if (!queue_) return false;
        auto* displayOnQueue = static_cast<wl_display*>(wl_proxy_create_wrapper(display_));
        if (!displayOnQueue) return false;
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(displayOnQueue), queue_);
        registry_ = wl_display_get_registry(displayOnQueue);
        wl_proxy_wrapper_destroy(displayOnQueue);
        if (!registry_) return false;
        wl_registry_add_listener(registry_, &kRegistryListener, this);
        if (wl_display_roundtrip_queue(display_, queue_) < 0 || !shm_) return false;
        surfaceOnQueue_ = static_cast<wl_surface*>(wl_proxy_create_wrapper(surface_));
        if (!surfaceOnQueue_) return false;
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(surfaceOnQueue_), queue_);
        return true;
    }

    PixelView Acquire(const SDL_Rect& overwritten) override
    {
        if (count_ == 0) return {};
        TakeEvents(0);
        int image = FreeImage();
        const Uint32 start = SDL_GetTicks();
        while (image < 0 && SDL_GetTicks() - start < kReleaseWaitMilliseconds) {
            if (!TakeEvents(kWaitStep)) return {};
            image = FreeImage();
        }
        if (image < 0) return {};
        const int latest = images_.Latest();
        const Rectangle catchUp = images_.Acquire(image, ToRect(overwritten));
        if (image != latest) CopyRect(buffers_[latest], buffers_[image], catchUp);
        return PixelView::OfPixels(buffers_[image].pixels, width_, height_, width_);
    }

    void Put(const SDL_Rect& area) override
    {
        const SDL_Rect whole { 0, 0, width_, height_ };
        SDL_Rect shown {};
        SDL_IntersectRect(&area, &whole, &shown);
        if (images_.Changed(ToRect(shown)) < 0) return;
        waiting_ = UnionOf(waiting_, ToRect(shown));
        Hand();
    }

    bool Resize(int width, int height) override
    {
        FreeBuffers();
        // A buffer's size is an int32 of bytes for the compositor.
        if (width <= 0 || height <= 0 || int64_t(width) * height * 4 > INT32_MAX) return false;
        width_ = width;
        height_ = height;
        int windowWidth = 0, windowHeight = 0;
        SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
        scale_ = WholeScaleOf(width, height, windowWidth, windowHeight);
        for (int i = 0; i < kFirstBuffers; ++i)
            if (!Create(buffers_[i])) {
                FreeBuffers();
                return false;
            }
        count_ = kFirstBuffers;
        images_.Reset(count_);
        return true;
    }

    bool KeepsPixels() const override { return true; }

    void Flush() override
    {
        TakeEvents(0);
        Hand();
    }

    bool Holding() const override { return !waiting_.IsEmpty(); }

private:
    static constexpr int kWaitStep = 100;

    static void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
    {
        auto* self = static_cast<WaylandBuffers*>(data);
        if (std::strcmp(interface, wl_shm_interface.name) == 0 && !self->shm_)
            self->shm_ = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    }
    static void OnGlobalRemove(void*, wl_registry*, uint32_t) { }
    static constexpr wl_registry_listener kRegistryListener = { OnGlobal, OnGlobalRemove };

    static void OnFrame(void* data, wl_callback* callback, uint32_t)
    {
        auto* self = static_cast<WaylandBuffers*>(data);
        wl_callback_destroy(callback);
        self->frame_ = nullptr;
    }
    static constexpr wl_callback_listener kFrameListener = { OnFrame };

    // The buffer to draw into: the latest one while the compositor does not
    // hold it (nothing to catch up), else one it gave back, else a new one.
    int FreeImage()
    {
        const int latest = images_.Latest();
        if (!buffers_[latest].held) return latest;
        for (int i = 0; i < count_; ++i)
            if (!buffers_[i].held) return i;
        if (count_ == kMaxBuffers || !Create(buffers_[count_])) return -1;
        ++count_;
        return images_.Add(Rectangle { 0, 0, width_, height_ });
    }

    // Hands the latest picture to the compositor, if it has asked for one
    // and the window is on the screen.
    void Hand()
    {
        if (waiting_.IsEmpty()) return;
        if (SDL_GetWindowFlags(window_) & SDL_WINDOW_HIDDEN) {
            // A hidden surface may never be asked for a picture again; the
            // one shown after it is, as soon as it is mapped.
            if (frame_) wl_callback_destroy(frame_);
            frame_ = nullptr;
            return;
        }
        if (frame_) return;
        ShmBuffer& buffer = buffers_[images_.Latest()];
        // SDL sets the same scale when it makes the window, but the buffer
        // is ours to describe.
        wl_surface_set_buffer_scale(surface_, scale_);
        wl_surface_attach(surface_, buffer.buffer, 0, 0);
        Damage(waiting_);
        frame_ = wl_surface_frame(surfaceOnQueue_);
        wl_callback_add_listener(frame_, &kFrameListener, this);
        wl_surface_commit(surface_);
        wl_display_flush(display_);
        buffer.held = true;
        waiting_ = {};
    }

    void Damage(const Rectangle& area)
    {
        if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(surface_)) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION) {
            wl_surface_damage_buffer(
                surface_, int(area.left), int(area.top), int(area.right - area.left), int(area.bottom - area.top));
            return;
        }
        const Rectangle onSurface = PixelsToUnits(area, scale_);
        wl_surface_damage(surface_, int(onSurface.left), int(onSurface.top), int(onSurface.right - onSurface.left),
            int(onSurface.bottom - onSurface.top));
    }

    // Moves what the compositor sent for our queue in, waiting up to
    // `timeoutMilliseconds` for something to arrive. False when the
    // connection is gone.
    bool TakeEvents(int timeoutMilliseconds)
    {
        while (wl_display_prepare_read_queue(display_, queue_) != 0)
            if (wl_display_dispatch_queue_pending(display_, queue_) < 0) return false;
        wl_display_flush(display_);
        pollfd readable { wl_display_get_fd(display_), POLLIN, 0 };
        int ready = 0;
        do
            ready = poll(&readable, 1, timeoutMilliseconds);
        while (ready < 0 && errno == EINTR);
        if (ready > 0) {
            if (wl_display_read_events(display_) < 0) return false;
        } else {
            wl_display_cancel_read(display_);
        }
        return wl_display_dispatch_queue_pending(display_, queue_) >= 0;
    }

    bool Create(ShmBuffer& buffer)
    {
        const int stride = width_ * 4;
        const size_t bytes = size_t(stride) * size_t(height_);
        const int file = memfd_create("sample-window", MFD_CLOEXEC);
        if (file < 0) return false;
        void* memory = MAP_FAILED;
        if (ftruncate(file, off_t(bytes)) == 0)
            memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
        if (memory == MAP_FAILED) {
            close(file);
            return false;
        }
        // The buffer keeps the pool's memory; neither the pool nor the file
        // is needed once it is made.
        wl_shm_pool* pool = wl_shm_create_pool(shm_, file, int32_t(bytes));
        buffer.buffer = wl_shm_pool_create_buffer(pool, 0, width_, height_, stride, WL_SHM_FORMAT_XRGB8888);
        wl_shm_pool_destroy(pool);
        close(file);
        buffer.pixels = static_cast<uint32_t*>(memory); // fresh memory is zeros: black
        buffer.bytes = bytes;
        buffer.held = false;
        if (!buffer.buffer) return false;
        wl_buffer_add_listener(buffer.buffer, &kBufferListener, &buffer);
        return true;
    }

    void FreeBuffers()
    {
        for (int i = 0; i < kMaxBuffers; ++i) {
            ShmBuffer& buffer = buffers_[i];
            // The compositor keeps its own mapping of what it still shows.
            if (buffer.buffer) wl_buffer_destroy(buffer.buffer);
            if (buffer.pixels) munmap(buffer.pixels, buffer.bytes);
            buffer = ShmBuffer {};
        }
        count_ = 0;
        waiting_ = {};
        width_ = height_ = 0;
    }

    void CopyRect(const ShmBuffer& from, ShmBuffer& to, const Rectangle& area) const
    {
        for (int64_t y = area.top; y < area.bottom; ++y)
            std::copy(from.Row(int(y), width_) + area.left, from.Row(int(y), width_) + area.right,
                to.Row(int(y), width_) + area.left);
    }

    SDL_Window* window_;
    wl_display* display_;
    wl_surface* surface_;
    wl_event_queue* queue_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_surface* surfaceOnQueue_ = nullptr; // the window's surface, its events on our queue
    wl_callback* frame_ = nullptr; // the compositor has yet to ask for the next picture

    ShmBuffer buffers_[kMaxBuffers]; // fixed places: the release listeners point at them
    int count_ = 0;
    ImageSet images_;
    Rectangle waiting_ {}; // changed since the last picture handed over
    int width_ = 0;
    int height_ = 0;
    int scale_ = 1;
};

} // namespace

std::unique_ptr<WindowMemory> OpenWaylandBuffers(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return nullptr;
    if (!info.info.wl.display || !info.info.wl.surface) return nullptr;
    auto buffers = std::make_unique<WaylandBuffers>(window, info.info.wl.display, info.info.wl.surface);
    if (!buffers->Connect()) return nullptr;
    int width = 0, height = 0;
    SDL_GetWindowSizeInPixels(window, &width, &height);
    if (!buffers->Resize(width, height)) return nullptr;
    return buffers;
}

} // namespace platform::host
