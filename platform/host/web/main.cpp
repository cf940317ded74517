// The page's program: WinMain on the browser host. The page calls
// sample_step (as sample.step) to grant frames when it drives the clock.
#include <emscripten.h>

#include <windows.h>

#include "host/web/page.h"
#include "host/web/page_events.h"
#include "host/web/web_host.h"

namespace {
platform::host::WebHost* theHost = nullptr;
}

extern "C" EMSCRIPTEN_KEEPALIVE void sample_step(int frames, int milliseconds)
{
    if (theHost && milliseconds >= 0) theHost->Grant(frames, uint32_t(milliseconds));
}

int main()
{
    // Lives as long as the page: the browser's handlers hold it after WinMain.
    static platform::host::WebHost host;
    theHost = &host;
    platform::host::Install(&host);
    platform::host::ListenToPage(host);
#if defined(SAMPLE_PAGE_FETCHED_FILES)
    // The pictures: first needed after the start-up box, fetched meanwhile.
    platform::host::page::FetchFiles(SAMPLE_PAGE_FETCHED_FILES);
#endif
    int exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
    platform::host::WebHost::Ended(exitCode);
    theHost = nullptr;
    return exitCode;
}
