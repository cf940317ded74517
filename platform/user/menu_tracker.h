// What an open menu does with each key and mouse event, as Windows menus
// behave: a highlighted title with or without its drop-down, one hot item,
// and the end of tracking with a chosen id or none. No drawing, no I/O.
#pragma once

#include "user/menu_bar.h"

#include <windows.h>

namespace platform::user {

class MenuTracker {
public:
    // `title` starts highlighted; `open` drops it down, with its first item
    // hot when `firstItemHot` (keyboard) and none hot otherwise (mouse).
    MenuTracker(const MenuModel& model, int clientWidth, int title, bool open, bool firstItemHot);

    void OnKeyDown(UINT virtualKey);
    // Client coordinates; the bar lies at negative y.
    void OnMouseMove(int x, int y);
    void OnButtonDown(int x, int y);
    void OnButtonUp(int x, int y);
    void Cancel() { done_ = true; }

    bool Done() const { return done_; }
    int ChosenId() const { return chosenId_; } // 0: nothing chosen
    int HotTitle() const { return title_; }
    bool IsOpen() const { return open_; }
    int HotItem() const { return item_; }
    const DropDown& OpenDropDown() const { return dropDown_; }

private:
    const MenuTitle& Title() const { return model_.titles[size_t(title_)]; }
    void Highlight(int title, bool open, bool firstItemHot);
    int NextChoosable(int from, int step) const;
    void MoveToTitle(int step);
    void Choose(int item);
    bool OnMnemonic(char32_t letter);
    int TitleUnder(int x, int y) const;

    const MenuModel& model_;
    int clientWidth_;
    int title_ = 0;
    bool open_ = false;
    int item_ = -1;
    DropDown dropDown_;
    bool done_ = false;
    int chosenId_ = 0;
};

} // namespace platform::user
