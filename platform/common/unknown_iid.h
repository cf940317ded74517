// The interface id of IUnknown, which every COM object answers to.
#pragma once

#include <windows.h>

namespace platform {

inline constexpr GUID kIidUnknown = { 0x00000000, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };

} // namespace platform
