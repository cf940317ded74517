// What a resource script declares, before any file it names is read.
#pragma once

#include <string>
#include <vector>

namespace rc {

struct IconResource {
    int id = 0;
    std::string file; // as written in the script
    int line = 0;
};

// One entry of a menu flattened in script order; texts are UTF-8.
struct MenuItem {
    int depth = 0;
    bool popup = false;
    bool separator = false;
    std::string text;
    int id = 0;
};

struct MenuResource {
    int id = 0;
    std::vector<MenuItem> items;
};

struct ResourceScript {
    std::vector<IconResource> icons;
    std::vector<MenuResource> menus;
};

} // namespace rc
