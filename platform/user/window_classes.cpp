#include "user/window_classes.h"

#include <vector>

namespace platform::user {
namespace {

std::vector<WindowClass>& Classes()
{
    static std::vector<WindowClass> classes;
    return classes;
}

bool IsLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// Class atoms live in the range Windows uses for them; they only have to
// tell the classes apart.
ATOM NextAtom()
{
    static ATOM next = 0xC000;
    if (next == 0xFFFF) next = 0xC000;
    return next++;
}

} // namespace

bool SameClassName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

const WindowClass* FindWindowClass(LPCSTR name)
{
    if (!name) return nullptr;
    for (const WindowClass& windowClass : Classes()) {
        if (IS_INTRESOURCE(name) ? windowClass.atom == ATOM(uintptr_t(name)) : SameClassName(windowClass.name, name))
            return &windowClass;
    }
    return nullptr;
}

void ForgetWindowClasses() { Classes().clear(); }

} // namespace platform::user

using platform::user::WindowClass;

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass)
{
    if (!windowClass || !windowClass->lpfnWndProc) return 0;
    LPCSTR name = windowClass->lpszClassName;
    // Integer class names are not supported; reading one as a string would crash.
    if (!name || IS_INTRESOURCE(name) || *name == '\0') return 0;
    if (platform::user::FindWindowClass(name)) return 0;

    WindowClass registered;
    registered.name = name;
    registered.style = windowClass->style;
    registered.procedure = windowClass->lpfnWndProc;
    registered.instance = windowClass->hInstance;
    registered.icon = windowClass->hIcon;
    registered.cursor = windowClass->hCursor;
    registered.background = windowClass->hbrBackground;
    if (LPCSTR menu = windowClass->lpszMenuName) {
        registered.hasMenu = true;
        if (IS_INTRESOURCE(menu))
            registered.menuResourceId = int(uintptr_t(menu));
        else
            registered.menuResourceName = menu;
    }
    registered.atom = platform::user::NextAtom();
    platform::user::Classes().push_back(std::move(registered));
    return platform::user::Classes().back().atom;
}
