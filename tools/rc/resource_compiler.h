// From a script on disk to the source of its resource table.
#pragma once

#include <string>
#include <vector>

namespace rc {

// Files the script names are looked for in `searchDirs`, then beside the
// script. Throws RcError on any fault.
std::string CompileScriptFile(const std::string& scriptPath, const std::vector<std::string>& searchDirs);

} // namespace rc
