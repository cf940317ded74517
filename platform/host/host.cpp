#include "host/host.h"

#include <cstdio>
#include <cstdlib>

namespace platform::host {
namespace {
Host* installed = nullptr;
}

Host& Current()
{
    if (!installed) {
        std::fputs("platform: no host installed\n", stderr);
        std::abort();
    }
    return *installed;
}

void Install(Host* host) { installed = host; }

Host* Installed() { return installed; }

} // namespace platform::host
