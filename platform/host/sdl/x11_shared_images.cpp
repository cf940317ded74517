// The window's pixels in two images in memory shared with the X server
// (MIT-SHM). XShmPutImage only asks the server to copy an image to the
// window; a completion event says when it has. Meanwhile the next frame is
// drawn into the other image, so that neither side waits for the other
// while each has work of its own. On a connection of our own: SDL's stays
// SDL's, and the completion events never reach its event loop.
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>

#include "host/image_pair.h"
#include "host/sdl/window_memory.h"

namespace platform::host {
namespace {

// Xlib's error handler is one for the whole process (SDL installs its own),
// so it is ours only around the attach, which fails on a server that cannot
// reach our memory (another machine, another container).
bool attachFailed = false;
int NoteAttachError(Display*, XErrorEvent*)
{
    attachFailed = true;
    return 0;
}

Rectangle ToRect(const SDL_Rect& r) { return Rectangle { r.x, r.y, r.x + r.w, r.y + r.h }; }

struct SharedImage {
    XImage* image = nullptr;
    XShmSegmentInfo segment {};
    int unread = 0; // puts the server has not finished reading

    uint32_t* Row(int y) const
    {
        return reinterpret_cast<uint32_t*>(image->data + ptrdiff_t(y) * image->bytes_per_line);
    }
};

class X11SharedImages final : public WindowMemory {
public:
    X11SharedImages(Display* display, ::Window window, Visual* visual)
        : display_(display)
        , window_(window)
        , visual_(visual)
        , completion_(XShmGetEventBase(display) + ShmCompletion)
    {
        XGCValues values {};
        values.graphics_exposures = False;
        gc_ = XCreateGC(display_, window_, GCGraphicsExposures, &values);
    }

    ~X11SharedImages() override
    {
        FreeImages();
        XFreeGC(display_, gc_);
        XCloseDisplay(display_);
    }

    X11SharedImages(const X11SharedImages&) = delete;
    X11SharedImages& operator=(const X11SharedImages&) = delete;

    PixelView Acquire(const SDL_Rect& overwritten) override
    {
        if (!images_[0].image) return {};
        Rectangle catchUp {};
        SharedImage& image = images_[pair_.Acquire(ToRect(overwritten), catchUp)];
        WaitUntilRead(image);
        CopyFromOther(image, catchUp);
        return PixelView::OfPixels(image.Row(0), width_, height_, image.image->bytes_per_line / 4);
    }

    void Put(const SDL_Rect& area) override
    {
        const SDL_Rect whole { 0, 0, width_, height_ };
        SDL_Rect shown {};
        SDL_IntersectRect(&area, &whole, &shown);
        const int put = pair_.Shown(ToRect(shown));
        if (put < 0 || SDL_RectEmpty(&shown)) return;
        SharedImage& image = images_[put];
        XShmPutImage(display_, window_, gc_, image.image, shown.x, shown.y, shown.x, shown.y, unsigned(shown.w),
            unsigned(shown.h), True);
        XFlush(display_);
        ++image.unread;
    }

    bool Resize(int width, int height) override
    {
        FreeImages();
        if (width <= 0 || height <= 0) return false;
        for (SharedImage& image : images_)
            if (!Create(image, width, height)) {
                FreeImages();
                return false;
            }
        width_ = width;
        height_ = height;
        return true;
    }

    bool KeepsPixels() const override { return true; }

private:
    bool Create(SharedImage& image, int width, int height)
    {
        image.image = XShmCreateImage(
            display_, visual_, 24, ZPixmap, nullptr, &image.segment, unsigned(width), unsigned(height));
        if (!image.image) return false;
        // 0x00RRGGBB in memory, as the program's pixels are.
        if (image.image->bits_per_pixel != 32 || image.image->byte_order != LSBFirst) return false;
        const size_t bytes = size_t(image.image->bytes_per_line) * size_t(height);
        image.segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
        if (image.segment.shmid < 0) return false;
        void* address = shmat(image.segment.shmid, nullptr, 0);
        // Freed once both sides have let go of it, whatever becomes of us.
        shmctl(image.segment.shmid, IPC_RMID, nullptr);
        if (address == reinterpret_cast<void*>(-1)) return false;
        image.segment.shmaddr = image.image->data = static_cast<char*>(address);
        image.segment.readOnly = False;
        attachFailed = false;
        XErrorHandler previous = XSetErrorHandler(NoteAttachError);
        const Status attached = XShmAttach(display_, &image.segment);
        XSync(display_, False);
        XSetErrorHandler(previous);
        if (!attached || attachFailed) {
            image.segment.shmseg = 0;
            return false;
        }
        return true;
    }

    void FreeImages()
    {
        // The server may still be reading them.
        XSync(display_, False);
        for (SharedImage& image : images_) {
            if (!image.image) continue;
            if (image.segment.shmseg) XShmDetach(display_, &image.segment);
            if (image.segment.shmaddr) shmdt(image.segment.shmaddr);
            image.image->data = nullptr; // not Xlib's to free
            XDestroyImage(image.image);
            image = SharedImage {};
        }
        XSync(display_, False);
        DropCompletions();
        pair_.Reset();
        width_ = height_ = 0;
    }

    // Counts the completions that have arrived, without waiting for any.
    void TakeCompletions()
    {
        XEventsQueued(display_, QueuedAfterReading);
        XEvent event;
        while (XCheckTypedEvent(display_, completion_, &event)) {
            const auto& done = reinterpret_cast<const XShmCompletionEvent&>(event);
            for (SharedImage& image : images_)
                if (image.image && image.segment.shmseg == done.shmseg && image.unread > 0) --image.unread;
        }
    }

    void DropCompletions()
    {
        XEvent event;
        while (XCheckTypedEvent(display_, completion_, &event)) { }
    }

    void WaitUntilRead(SharedImage& image)
    {
        if (image.unread == 0) return;
        TakeCompletions();
        if (image.unread == 0) return;
        // Once the server answers, it has done every request before: it
        // has read every image.
        XSync(display_, False);
        DropCompletions();
        for (SharedImage& each : images_)
            each.unread = 0;
    }

    void CopyFromOther(SharedImage& image, const Rectangle& area)
    {
        const SharedImage& other = images_[&image == &images_[0] ? 1 : 0];
        for (int64_t y = area.top; y < area.bottom; ++y)
            std::copy(other.Row(int(y)) + area.left, other.Row(int(y)) + area.right, image.Row(int(y)) + area.left);
    }

    Display* display_;
    ::Window window_;
    Visual* visual_;
    int completion_;
    GC gc_ = nullptr;
    SharedImage images_[2];
    ImagePair pair_;
    int width_ = 0;
    int height_ = 0;
};

// A 24-bit window whose pixels are 0x00RRGGBB: the program's own format,
// the same bytes SDL would hand the server for it. (A 32-bit visual would
// take the top byte for alpha.) Xvfb's default visual is a direct-colour one.
bool IsProgramsFormat(const XWindowAttributes& attributes)
{
    const Visual* visual = attributes.visual;
    return attributes.depth == 24 && visual && (visual->c_class == TrueColor || visual->c_class == DirectColor)
        && visual->red_mask == 0xFF0000 && visual->green_mask == 0x00FF00 && visual->blue_mask == 0x0000FF;
}

} // namespace

std::unique_ptr<WindowMemory> OpenX11SharedImages(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    Display* display = XOpenDisplay(XDisplayString(info.info.x11.display));
    if (!display) return nullptr;
    XWindowAttributes attributes {};
    if (!XShmQueryExtension(display) || !XGetWindowAttributes(display, info.info.x11.window, &attributes)
        || !IsProgramsFormat(attributes)) {
        XCloseDisplay(display);
        return nullptr;
    }
    auto images = std::make_unique<X11SharedImages>(display, info.info.x11.window, attributes.visual);
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    if (!images->Resize(width, height)) return nullptr;
    return images;
}

} // namespace platform::host
