// Messages and codes the window manager sends itself and passes through the
// window procedure; the program never names them, so <windows.h> leaves
// them out.
#pragma once

#include <windows.h>

namespace platform::user {

constexpr UINT kWmNcMouseMove = 0x00A0;
constexpr UINT kWmNcLButtonDown = 0x00A1;
constexpr UINT kWmNcLButtonUp = 0x00A2;
constexpr UINT kWmSysKeyUp = 0x0105;
constexpr UINT kWmSysChar = 0x0106;
constexpr UINT kWmSysCommand = 0x0112;
constexpr UINT kWmLButtonDown = 0x0201;
constexpr UINT kWmLButtonUp = 0x0202;

constexpr WPARAM kHitMenu = 5; // HTMENU
constexpr WPARAM kMkLButton = 0x0001;

constexpr WPARAM kScClose = 0xF060;
constexpr WPARAM kScMouseMenu = 0xF090;
constexpr WPARAM kScKeyMenu = 0xF100;
constexpr WPARAM kScCommandMask = 0xFFF0;

// Key message lParam bits.
constexpr LPARAM kKeyContextAlt = LPARAM(1) << 29;
constexpr LPARAM kKeyWasDown = LPARAM(1) << 30;
constexpr LPARAM kKeyReleased = LPARAM(1) << 31;

} // namespace platform::user
