// Text from outside (a script's words, file names) made fit for a terminal
// and a log line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace replay {

// Printable ASCII and printable UTF-8 characters stay as they are; every
// other byte (controls, escape sequences, broken UTF-8) becomes \xNN. Past
// `maxCharacters` characters of the result the text is cut and ends in "...".
std::string PrintableText(std::string_view text, size_t maxCharacters = std::string_view::npos);

} // namespace replay
