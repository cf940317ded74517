// Icon handles: the module's icon resources and the stock application icon.
#pragma once

#include "common/resources.h"

#include <windows.h>

namespace platform::user {

// The pixels behind an icon handle; null for the stock icon (it has none of
// ours) and for anything that is not an icon handle.
const platform::resources::Icon* IconPixels(HICON icon);

} // namespace platform::user
