// Reads the subset of the resource-script language the program's resources
// use: #pragma code_page(65001), #define NAME number, #include (skipped),
// LANGUAGE (skipped), ICON and MENU with POPUP, MENUITEM and SEPARATOR.
// Anything else is an error, so nothing in the script is silently lost.
#pragma once

#include "resource_script.h"

#include <string>
#include <string_view>

namespace rc {

// Throws RcError with "source:line: message".
ResourceScript ParseScript(std::string_view script, const std::string& source);

} // namespace rc
