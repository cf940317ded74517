// The program's texts are code page 932 (Shift-JIS); hosts speak UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace platform::encoding {

// Bytes that are not valid CP932 become U+FFFD; never fails.
std::string Cp932ToUtf8(std::string_view text);
std::string Utf8ToCp932(std::string_view text);

} // namespace platform::encoding
