#include "host/web/page.h"

#include <algorithm>

#include <emscripten.h>

// clang-format off
EM_JS(int, JsSteppingRequested, (), {
    return new URLSearchParams(window.location.search).has("step") ? 1 : 0;
});
EM_JS(double, JsDevicePixelRatio, (), { return window.devicePixelRatio || 1; });
EM_JS(double, JsNow, (), { return performance.now(); });
EM_JS(int, JsScreenWidth, (), { return window.screen.width | 0; });
EM_JS(int, JsScreenHeight, (), { return window.screen.height | 0; });
EM_JS(int, JsViewportWidth, (), { return document.documentElement.clientWidth | 0; });
EM_JS(int, JsViewportHeight, (), { return document.documentElement.clientHeight | 0; });

EM_JS(void, JsSetTitle, (const char* utf8), { document.title = UTF8ToString(utf8); });

EM_JS(void, JsSetIcon, (const void* pixels, int width, int height), {
    const bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4).slice();
    // Only the tab's: made once the program has given the browser its turn.
    setTimeout(() => {
        const canvas = document.createElement("canvas");
        canvas.width = width;
        canvas.height = height;
        canvas.getContext("2d").putImageData(new ImageData(bytes, width, height), 0, 0);
        let link = document.querySelector("link[rel=icon]");
        if (!link) {
            link = document.createElement("link");
            link.rel = "icon";
            document.head.appendChild(link);
        }
        link.href = canvas.toDataURL("image/png");
    }, 0);
});

EM_JS(void, JsSizeCanvas, (int width, int height, double cssWidth, double cssHeight, int pixelated), {
    const canvas = Module.canvas;
    if (canvas.width !== width) canvas.width = width;
    if (canvas.height !== height) canvas.height = height;
    canvas.style.width = cssWidth + "px";
    canvas.style.height = cssHeight + "px";
    canvas.style.imageRendering = pixelated ? "pixelated" : "auto";
    Module.canvasContext = canvas.getContext("2d", { alpha: false });
});

EM_JS(void, JsPutRows, (const void* pixels, int width, int height, int y, int rows), {
    const bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    Module.canvasContext.putImageData(new ImageData(bytes, width, height), 0, 0, 0, y, width, rows);
    const sample = window.sample || (window.sample = {});
    if (sample.firstShownAt === undefined) {
        sample.firstShownAt = performance.now();
        performance.mark("sample-first-picture");
        if (Module.onFirstPicture) Module.onFirstPicture();
    }
});

// The page's own script knows its frame and help line; without it the
// window keeps its natural size.
EM_JS(void, JsRoomForWindow, (double cssWidth, double cssHeight, double* room), {
    const [width, height] = Module.roomForWindow ? Module.roomForWindow(cssWidth, cssHeight) : [cssWidth, cssHeight];
    HEAPF64[room >> 3] = width;
    HEAPF64[(room >> 3) + 1] = height;
});
EM_JS(void, JsListenToFinger, (), {
    const screen = Module.canvas.parentElement;
    let finger = null;
    const tell = (phase, touch) => {
        const box = Module.canvas.getBoundingClientRect();
        const x = touch.clientX - box.left, y = touch.clientY - box.top;
        const beside = x < 0 || y < 0 || x >= box.width || y >= box.height;
        Module._sample_finger(phase, x, y, beside ? 1 : 0);
    };
    const listen = (type, phase) => screen.addEventListener(type, (event) => {
        event.preventDefault();
        const touch = Array.from(event.changedTouches).find((t) => phase === 0 ? finger === null : t.identifier === finger);
        if (!touch) return;
        finger = phase >= 2 ? null : touch.identifier;
        tell(phase, touch);
    }, { passive: false });
    listen("touchstart", 0);
    listen("touchmove", 1);
    listen("touchend", 2);
    listen("touchcancel", 3);
});

EM_JS(void, JsShowCanvas, (int visible), { Module.canvas.style.visibility = visible ? "visible" : "hidden"; });
EM_JS(void, JsShowCursor, (int visible), { Module.canvas.style.cursor = visible ? "default" : "none"; });

EM_JS(void, JsRequestFullScreen, (), {
    const screen = Module.canvas.parentElement;
    // The viewport at once, the screen once the browser gives it.
    document.body.classList.add("full");
    if (document.fullscreenElement === screen || !screen.requestFullscreen) return;
    screen.requestFullscreen().catch((reason) => {
        // No tap, click or key just before: asked again in the turn of the
        // next one, which the browser counts as the user's.
        console.warn("full screen refused:", reason.message);
        window.addEventListener("pointerup", () => {
            if (document.body.classList.contains("full") && !document.fullscreenElement)
                screen.requestFullscreen().catch(() => {});
        }, { once: true, capture: true });
    });
});
EM_JS(void, JsExitFullScreen, (), {
    document.body.classList.remove("full");
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
});
EM_JS(int, JsIsFullScreen, (), { return document.fullscreenElement ? 1 : 0; });

EM_JS(void, JsReportProgress, (double frames, double inputTaken), {
    const sample = window.sample || (window.sample = {});
    sample.frames = frames;
    sample.inputTaken = inputTaken;
});
EM_JS(void, JsReportEnded, (int exitCode), {
    const sample = window.sample || (window.sample = {});
    sample.ended = true;
    sample.exitCode = exitCode;
    if (Module.onEnded) Module.onEnded(exitCode);
});

EM_ASYNC_JS(void, JsSleepUntilWoken, (int milliseconds), {
    await new Promise((resolve) => {
        const timer = setTimeout(done, milliseconds);
        function done() {
            clearTimeout(timer);
            Module.wakeHost = null;
            resolve();
        }
        Module.wakeHost = done;
    });
});
EM_JS(void, JsWake, (), { if (Module.wakeHost) Module.wakeHost(); });

// A hidden page gets no animation frames; the timer keeps it turning slowly.
EM_ASYNC_JS(void, JsYieldForPaint, (), {
    await new Promise((resolve) => {
        let done = false;
        const finish = () => { if (!done) { done = true; resolve(); } };
        requestAnimationFrame(finish);
        setTimeout(finish, 100);
    });
});

// Asked for once the program first gives the browser its turn, which shows
// its first picture, so that the requests and the arriving bytes take no
// time from it; at once if the program wants one before. A file that cannot
// be fetched is left out: the program finds it missing.
EM_JS(void, JsFetchFiles, (const char* names), {
    const waiting = UTF8ToString(names).split(" ").filter(Boolean);
    // Each file's fetch while it is on its way; gone once it has come or failed.
    const arriving = new Map();
    const askForAll = () => {
        for (const name of waiting.splice(0)) {
            arriving.set(name, fetch(name)
                .then((response) => {
                    if (!response.ok) throw new Error(response.status + " " + response.statusText);
                    return response.arrayBuffer();
                })
                .then((bytes) => FS.writeFile("/" + name, new Uint8Array(bytes)))
                .catch((error) => console.warn("platform: " + name + " could not be fetched: " + error.message))
                .finally(() => arriving.delete(name)));
        }
    };
    setTimeout(askForAll, 0);
    // The program names them from its folder, the root.
    Module.arrivingFile = (path) => {
        const name = path.startsWith("./") ? path.slice(2) : path.startsWith("/") ? path.slice(1) : path;
        if (waiting.includes(name)) askForAll();
        return arriving.get(name) || null;
    };
});
EM_JS(int, JsFileArriving, (const char* path), {
    return Module.arrivingFile && Module.arrivingFile(UTF8ToString(path)) ? 1 : 0;
});
EM_ASYNC_JS(void, JsAwaitFile, (const char* path), { await Module.arrivingFile(UTF8ToString(path)); });
// clang-format on

namespace platform::host::page {

bool SteppingRequested() { return JsSteppingRequested() != 0; }
double DevicePixelRatio() { return JsDevicePixelRatio(); }
double Now() { return JsNow(); }
int ScreenWidth() { return JsScreenWidth(); }
int ScreenHeight() { return JsScreenHeight(); }
int ViewportWidth() { return JsViewportWidth(); }
int ViewportHeight() { return JsViewportHeight(); }
void SetTitle(const char* utf8) { JsSetTitle(utf8); }
void SetIcon(const uint32_t* pixels, int width, int height) { JsSetIcon(pixels, width, height); }
void SizeCanvas(int width, int height, double cssWidth, double cssHeight, bool pixelated)
{
    JsSizeCanvas(width, height, cssWidth, cssHeight, pixelated ? 1 : 0);
}
void PutRows(const uint32_t* pixels, int width, int height, int y, int rows)
{
    JsPutRows(pixels, width, height, y, rows);
}
void ShowCanvas(bool visible) { JsShowCanvas(visible ? 1 : 0); }
void ShowCursor(bool visible) { JsShowCursor(visible ? 1 : 0); }
WindowFit FitWindowInPage(int width, int height, int naturalScale, double pixelRatio)
{
    // The window at its natural size in CSS pixels, for the page to weigh.
    const int scale = std::max(naturalScale, 1);
    double room[2] = { 0.0, 0.0 };
    JsRoomForWindow(width * scale / pixelRatio, height * scale / pixelRatio, room);
    return FitWindow(width, height, naturalScale, pixelRatio, room[0], room[1]);
}
void ListenToFinger() { JsListenToFinger(); }
void RequestFullScreen() { JsRequestFullScreen(); }
void ExitFullScreen() { JsExitFullScreen(); }
bool IsFullScreen() { return JsIsFullScreen() != 0; }
void ReportProgress(double frames, double inputTaken) { JsReportProgress(frames, inputTaken); }
void ReportEnded(int exitCode) { JsReportEnded(exitCode); }
void SleepUntilWoken(uint32_t milliseconds) { JsSleepUntilWoken(int(milliseconds)); }
void Wake() { JsWake(); }
void YieldForPaint() { JsYieldForPaint(); }
void FetchFiles(const char* names) { JsFetchFiles(names); }
void AwaitFile(const char* path)
{
    // Waiting costs a return to the browser; a file here already needs none.
    if (JsFileArriving(path)) JsAwaitFile(path);
}

} // namespace platform::host::page
