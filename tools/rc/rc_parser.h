// Reads the subset of the resource-script language the program's resources
// use: #pragma code_page(65001), #define NAME number, #include "header"
// holding such lines (#include <...> is skipped), #pragma once, LANGUAGE
// (skipped), ICON and MENU with POPUP, MENUITEM and SEPARATOR.
// Anything else is an error, so nothing in the script is silently lost.
#pragma once

#include "resource_script.h"

#include <functional>
#include <string>
#include <string_view>

namespace rc {

struct IncludedFile {
    std::string path; // names the file in messages; the same file always has the same path
    std::string text;
};
// Reads the file of an `#include "name"`; `where` ("source:line") is for
// its error. Throws RcError when there is no such file.
using IncludeLoader = std::function<IncludedFile(const std::string& name, const std::string& where)>;

// Throws RcError with "source:line: message". Without a loader, a quoted
// #include is an error.
ResourceScript ParseScript(std::string_view script, const std::string& source, const IncludeLoader& loadInclude = {});

} // namespace rc
