// Menu texts are stored as the program's code page, 932 (Shift-JIS).
#pragma once

#include <string>

namespace rc {

// Throws RcError naming `where` when the text is not UTF-8 or has a
// character code page 932 cannot hold.
std::string Utf8ToCp932(const std::string& utf8, const std::string& where);

} // namespace rc
