// Writes the C++ source of the resource table (common/resources.h) that is
// linked into every executable.
#pragma once

#include <string>
#include <vector>

#include "ico_decoder.h"

namespace rc {

struct CompiledIcon {
    int id;
    DecodedIcon image;
};

struct CompiledMenuEntry {
    int depth;
    bool popup;
    bool separator;
    std::string textCp932;
    int id;
};

struct CompiledMenu {
    int id;
    std::vector<CompiledMenuEntry> entries;
};

// Texts become escaped byte strings, so the generated file is plain ASCII
// and means the same whatever execution character set compiles it.
std::string WriteResourceTable(
    const std::vector<CompiledIcon>& icons, const std::vector<CompiledMenu>& menus, const std::string& scriptName);

// A C++ string literal holding exactly `bytes`.
std::string CppStringLiteral(const std::string& bytes);

} // namespace rc
