// The module's resources (icon 101, menu 102), compiled at build time from
// resources/sample.rc by tools/rc into a table linked into each executable.
#pragma once

#include <cstdint>

namespace platform::resources {

struct Icon {
    int id;
    int width;
    int height;
    const uint32_t* argb; // 0xAARRGGBB, rows top to bottom
};

// A menu flattened in resource order. Popups open a level (depth + 1) that
// their entries fill; a separator has no text and id 0.
struct MenuEntry {
    int depth; // 0 for the bar's popups, 1 for their items
    bool popup; // a popup title
    bool separator; // MENUITEM SEPARATOR
    const char* text; // code page 932 bytes, with the '&' mnemonics as written
    int id; // command id of an item
};

struct Menu {
    int id;
    const MenuEntry* entries;
    int count;
};

const Icon* FindIcon(int id);
const Menu* FindMenu(int id);

} // namespace platform::resources
