// Virtual-key codes a host delivers that the program itself never names, so
// <windows.h> leaves them out. Their values are Windows' own.
#pragma once

#include <windows.h>

namespace platform::host {

constexpr UINT kVkPrior = 0x21;
constexpr UINT kVkNext = 0x22;
constexpr UINT kVkEnd = 0x23;
constexpr UINT kVkHome = 0x24;
constexpr UINT kVkInsert = 0x2D;
constexpr UINT kVkDelete = 0x2E;
constexpr UINT kVkF1 = 0x70;

} // namespace platform::host
