// The program's Japanese string literals as code page 932 bytes, for a
// compiler that cannot store them so itself (clang refuses
// -fexec-charset=CP932). The copy differs from the source only inside
// plain narrow string literals, where each run of non-ASCII text becomes
// its code page 932 bytes as three-digit octal escapes, which no following
// character can lengthen; line numbers stay as they are.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace literals {

// UTF-8 text to code page 932 bytes; false when it cannot be.
using Encoder = std::function<bool(std::string_view utf8, std::string& codePage)>;

// False with `error` = "line N: what is wrong" for what it cannot copy
// faithfully: non-ASCII text outside comments and plain string literals
// (a character literal, a raw, wide or u8 literal, an identifier), text the
// encoder refuses, and a literal or comment left open.
bool RewriteLiterals(std::string_view source, const Encoder& encode, std::string& out, std::string& error);

} // namespace literals
