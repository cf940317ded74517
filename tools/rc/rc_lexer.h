// Splits a resource script into tokens. Comments vanish; a preprocessor
// line becomes one Directive token holding the text after '#'.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rc {

struct Token {
    enum class Kind { Identifier, Number, String, Punctuation, Directive, End };
    Kind kind = Kind::End;
    std::string text; // String: the decoded contents (UTF-8 as in the file)
    long number = 0;
    int line = 0;
};

// `source` names the script in error messages ("sample.rc:12: ...").
std::vector<Token> Tokenize(std::string_view script, const std::string& source);

} // namespace rc
