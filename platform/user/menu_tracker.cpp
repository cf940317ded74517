#include "user/menu_tracker.h"

#include <algorithm>

namespace platform::user {

MenuTracker::MenuTracker(const MenuModel& model, int clientWidth, int title, bool open, bool firstItemHot)
    : model_(model)
    , clientWidth_(clientWidth)
{
    if (model_.titles.empty()) {
        done_ = true;
        return;
    }
    Highlight(std::clamp(title, 0, int(model_.titles.size()) - 1), open, firstItemHot);
}

void MenuTracker::Highlight(int title, bool open, bool firstItemHot)
{
    title_ = title;
    open_ = open;
    item_ = (open && firstItemHot) ? NextChoosable(-1, 1) : -1;
    dropDown_ = open ? LayoutDropDown(Title(), clientWidth_) : DropDown {};
}

// Separators are stepped over; -1 when the popup has nothing choosable.
int MenuTracker::NextChoosable(int from, int step) const
{
    const std::vector<MenuItem>& items = Title().items;
    int count = int(items.size());
    if (count == 0) return -1;
    int index = from < 0 && step < 0 ? count : from;
    for (int tries = 0; tries < count; ++tries) {
        index = ((index + step) % count + count) % count;
        if (!items[size_t(index)].separator) return index;
    }
    return -1;
}

void MenuTracker::MoveToTitle(int step)
{
    int count = int(model_.titles.size());
    Highlight(((title_ + step) % count + count) % count, open_, true);
}

void MenuTracker::Choose(int item)
{
    if (item < 0 || size_t(item) >= Title().items.size() || Title().items[size_t(item)].separator) return;
    chosenId_ = Title().items[size_t(item)].id;
    done_ = true;
}

bool MenuTracker::OnMnemonic(char32_t letter)
{
    if (!open_) {
        int title = TitleWithMnemonic(model_, letter);
        if (title < 0) return false;
        Highlight(title, true, true);
        return true;
    }
    const std::vector<MenuItem>& items = Title().items;
    for (size_t i = 0; i < items.size(); ++i)
        if (!items[i].separator && items[i].label.Mnemonic() == letter) {
            Choose(int(i));
            return true;
        }
    return false;
}

void MenuTracker::OnKeyDown(UINT key)
{
    if (done_) return;
    switch (key) {
    case VK_ESCAPE:
        // The first Esc folds the drop-down up, the second leaves the bar.
        if (open_)
            Highlight(title_, false, false);
        else
            done_ = true;
        return;
    case VK_MENU:
    case VK_F10:
        done_ = true;
        return;
    case VK_LEFT:
        MoveToTitle(-1);
        return;
    case VK_RIGHT:
        MoveToTitle(1);
        return;
    case VK_DOWN:
        if (!open_)
            Highlight(title_, true, true);
        else
            item_ = NextChoosable(item_, 1);
        return;
    case VK_UP:
        if (!open_) {
            Highlight(title_, true, false);
            item_ = NextChoosable(-1, -1);
        } else {
            item_ = NextChoosable(item_, -1);
        }
        return;
    case VK_RETURN:
        if (!open_)
            Highlight(title_, true, true);
        else
            Choose(item_);
        return;
    default:
        if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) OnMnemonic(char32_t(key));
        return;
    }
}

int MenuTracker::TitleUnder(int x, int y) const
{
    if (y >= 0) return -1;
    return TitleAt(model_, x, y + model_.barHeight);
}

void MenuTracker::OnMouseMove(int x, int y)
{
    if (done_) return;
    int title = TitleUnder(x, y);
    if (title >= 0) {
        if (title != title_) Highlight(title, open_, false);
        return;
    }
    if (open_) item_ = ItemAt(Title(), dropDown_, x, y);
}

void MenuTracker::OnButtonDown(int x, int y)
{
    if (done_) return;
    int title = TitleUnder(x, y);
    if (title >= 0) {
        // A click on the title that is open folds the whole menu away.
        if (open_ && title == title_)
            done_ = true;
        else
            Highlight(title, true, false);
        return;
    }
    if (open_ && dropDown_.frame.Contains(x, y)) return; // chosen on release
    done_ = true;
}

void MenuTracker::OnButtonUp(int x, int y)
{
    if (done_ || !open_) return;
    Choose(ItemAt(Title(), dropDown_, x, y));
}

} // namespace platform::user
