#include "user/icons.h"

#include <deque>

namespace platform::user {
namespace {

struct IconHandle {
    int placeholder = 0; // gives each handle its own address
    const platform::resources::Icon* pixels = nullptr;
};

// Handles for the module's icons, made on first load and kept, so loading
// the same icon twice gives the same handle, as on Windows.
// A deque keeps every handle's address as more are added.
std::deque<IconHandle>& ResourceIcons()
{
    static std::deque<IconHandle> icons;
    return icons;
}

IconHandle& StockApplicationIcon()
{
    static IconHandle icon;
    return icon;
}

HICON HandleOf(IconHandle& icon) { return reinterpret_cast<HICON>(&icon); }

} // namespace

const platform::resources::Icon* IconPixels(HICON icon)
{
    for (IconHandle& known : ResourceIcons())
        if (HandleOf(known) == icon) return known.pixels;
    return nullptr;
}

} // namespace platform::user

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name)
{
    using namespace platform::user;
    if (!instance) return name == IDI_APPLICATION ? HandleOf(StockApplicationIcon()) : nullptr;
    // The module's icons are numbered; it has no named ones.
    if (!name || !IS_INTRESOURCE(name)) return nullptr;
    const platform::resources::Icon* pixels = platform::resources::FindIcon(int(uintptr_t(name)));
    if (!pixels) return nullptr;
    for (IconHandle& known : ResourceIcons())
        if (known.pixels == pixels) return HandleOf(known);
    ResourceIcons().push_back(IconHandle { 0, pixels });
    return HandleOf(ResourceIcons().back());
}
