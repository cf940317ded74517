// Where the font file of a family lies. On the desktop fontconfig knows
// (fontconfig_font_files.cpp); a page carries its fonts in a folder of its
// own (packed_font_files.cpp). Each build links one of the two.
#pragma once

#include <optional>
#include <string>
#include <tuple>

namespace platform::gdi {

struct FontFile {
    std::string path;
    int index = 0; // of the face within the file
    bool operator<(const FontFile& other) const { return std::tie(path, index) < std::tie(other.path, other.index); }
};

// The best file for `family`; `japanese` asks for one that covers Japanese.
// None when there is no font at all.
std::optional<FontFile> MatchFontFile(const std::string& family, bool japanese);
// At the end, after a match: what the lookup holds goes (fontconfig's
// caches, so that leak checkers stay quiet).
void ForgetFontFiles();

} // namespace platform::gdi
