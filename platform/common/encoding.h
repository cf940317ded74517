// The program's texts are code page 932 (Shift-JIS); hosts speak UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace platform::encoding {

// Bytes that are not valid CP932 become U+FFFD; never fails.
std::string Cp932ToUtf8(std::string_view text);
std::string Utf8ToCp932(std::string_view text);
// Malformed sequences become U+FFFD one byte at a time; never fails.
std::u32string Utf8ToCodePoints(std::string_view text);

} // namespace platform::encoding
