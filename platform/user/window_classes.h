// The registered window classes. Class names compare case-insensitively, as
// on Windows; atoms are small nonzero numbers handed out in order.
#pragma once

#include <string>

#include <windows.h>

namespace platform::user {

struct WindowClass {
    ATOM atom = 0;
    std::string name; // code page 932 bytes
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    // The class menu (lpszMenuName): a resource number or a resource name.
    bool hasMenu = false;
    int menuResourceId = 0;
    std::string menuResourceName;
};

// `name` is a class name or an atom made with MAKEINTRESOURCE; null when
// there is no such class.
const WindowClass* FindWindowClass(LPCSTR name);
void ForgetWindowClasses();

// Case-insensitive for the ASCII letters of single-byte characters only: a
// trail byte of a double-byte character is never folded.
bool SameClassName(const std::string& a, const std::string& b);

} // namespace platform::user
