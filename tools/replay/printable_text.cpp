#include "printable_text.h"

#include <cstdint>
#include <cstdio>

namespace replay {
namespace {

// The length of the printable UTF-8 character at the start of `text`, or 0
// when it does not start with one (C1 controls and surrogates included).
size_t PrintableCharacterLength(std::string_view text)
{
    auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    uint8_t lead = byte(0);
    if (lead >= 0x20 && lead < 0x7F) return 1;
    size_t length = lead >= 0xC2 && lead <= 0xDF ? 2
        : lead >= 0xE0 && lead <= 0xEF           ? 3
        : lead >= 0xF0 && lead <= 0xF4           ? 4
                                                 : 0;
    if (length == 0 || text.size() < length) return 0;
    uint32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = code << 6 | (byte(i) & 0x3F);
    }
    static constexpr uint32_t kSmallest[] = { 0, 0, 0x80, 0x800, 0x10000 };
    bool wellFormed = code >= kSmallest[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    return wellFormed && code >= 0xA0 ? length : 0;
}

} // namespace

std::string PrintableText(std::string_view text, size_t maxCharacters)
{
    std::string out;
    size_t characters = 0;
    size_t at = 0;
    while (at < text.size()) {
        if (characters == maxCharacters) return out + "...";
        size_t length = PrintableCharacterLength(text.substr(at));
        if (length > 0) {
            out.append(text.substr(at, length));
            at += length;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<uint8_t>(text[at]));
            out += escaped;
            ++at;
        }
        ++characters;
    }
    return out;
}

} // namespace replay
