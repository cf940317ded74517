// The menu bar above the client area: the window's menu resource as titles
// and drop-downs, their layout, and the pictures of both.
#pragma once

#include "user/ui_canvas.h"

#include <vector>

namespace platform::user {

struct Window;

int MenuBarHeightForNewWindows();

struct MenuItem {
    Label label;
    int id = 0;
    bool separator = false;
};

struct MenuTitle {
    Label label;
    std::vector<MenuItem> items;
    Rectangle box; // in the bar's own coordinates: y from 0 to the bar height
};

struct MenuModel {
    std::vector<MenuTitle> titles;
    int barHeight = 0;
};

// Empty when the window has no menu or its resource is unknown.
MenuModel MenuModelFor(const Window& window);
int TitleAt(const MenuModel& model, int x, int barY);
int TitleWithMnemonic(const MenuModel& model, char32_t mnemonic);

// The open drop-down of a title, in client coordinates: it hangs from the
// bottom of the bar and is kept inside the client width where it fits.
struct DropDown {
    Rectangle frame;
    std::vector<Rectangle> rows; // one per item, separators included
};
DropDown LayoutDropDown(const MenuTitle& title, int clientWidth);
// The choosable item under (x, y), or -1 (separators are not choosable).
int ItemAt(const MenuTitle& title, const DropDown& dropDown, int x, int y);

// `hotTitle` is drawn highlighted; -1 for none.
void DrawMenuBar(const Canvas& bar, const MenuModel& model, int hotTitle);
void DrawDropDown(const Canvas& client, const MenuTitle& title, const DropDown& dropDown, int hotItem);

// Draws the window's bar and hands it to the host.
void PresentMenuBar(const Window& window, int hotTitle = -1);

} // namespace platform::user
