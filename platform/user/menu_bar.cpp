#include "user/menu_bar.h"

#include "common/encoding.h"
#include "common/resources.h"
#include "host/host.h"
#include "user/testing_hooks.h"
#include "user/window_list.h"

#include <algorithm>

namespace platform::user {
namespace {

constexpr int kDefaultMenuBarHeight = 20;
constexpr int kMaxMenuBarHeight = 400;

constexpr int kTitlePadding = 7;
constexpr int kItemTextLeft = 24; // room for a check mark, as Windows leaves
constexpr int kItemTextRight = 24;
constexpr int kMinimumItemHeight = 20;
constexpr int kSeparatorHeight = 7;
constexpr int kMinimumDropDownWidth = 100;

constexpr uint32_t kBarColour = 0xF0F0F0;
constexpr uint32_t kTextColour = 0x000000;
constexpr uint32_t kHotColour = 0x0078D7;
constexpr uint32_t kHotTextColour = 0xFFFFFF;
constexpr uint32_t kDropDownColour = 0xF2F2F2;
constexpr uint32_t kDropDownBorder = 0x808080;
constexpr uint32_t kSeparatorColour = 0xBDBDBD;

int& Height()
{
    static int height = kDefaultMenuBarHeight;
    return height;
}

int ItemHeight() { return std::max(kMinimumItemHeight, UiCellHeight() + 6); }

int TextTop(int rowTop, int rowHeight) { return rowTop + (rowHeight - UiCellHeight()) / 2; }

void LayOutTitles(MenuModel& model)
{
    int x = 0;
    for (MenuTitle& title : model.titles) {
        int width = UiTextWidth(title.label.shown) + 2 * kTitlePadding;
        title.box = Rectangle { x, 0, x + width, model.barHeight };
        x += width;
    }
}

} // namespace

int MenuBarHeightForNewWindows() { return Height(); }

void SetMenuBarHeight(int height) { Height() = std::clamp(height, 0, kMaxMenuBarHeight); }

int DefaultMenuBarHeight() { return kDefaultMenuBarHeight; }

MenuModel MenuModelFor(const Window& window)
{
    MenuModel model;
    model.barHeight = window.menuBarHeight;
    const platform::resources::Menu* menu = platform::resources::FindMenu(window.menuResourceId);
    if (!menu || window.menuBarHeight <= 0) return model;
    for (int i = 0; i < menu->count; ++i) {
        const platform::resources::MenuEntry& entry = menu->entries[i];
        std::string text = platform::encoding::Cp932ToUtf8(entry.text ? entry.text : "");
        if (entry.depth == 0) {
            model.titles.push_back(MenuTitle { ParseLabel(text), {}, {} });
        } else if (entry.depth == 1 && !entry.popup && !model.titles.empty()) {
            // Nested popups are not offered: this program's menu has none.
            model.titles.back().items.push_back(MenuItem { ParseLabel(text), entry.id, entry.separator });
        }
    }
    LayOutTitles(model);
    return model;
}

int TitleAt(const MenuModel& model, int x, int barY)
{
    for (size_t i = 0; i < model.titles.size(); ++i)
        if (model.titles[i].box.Contains(x, barY)) return int(i);
    return -1;
}

int TitleWithMnemonic(const MenuModel& model, char32_t mnemonic)
{
    for (size_t i = 0; i < model.titles.size(); ++i)
        if (mnemonic != 0 && model.titles[i].label.Mnemonic() == mnemonic) return int(i);
    return -1;
}

DropDown LayoutDropDown(const MenuTitle& title, int clientWidth)
{
    int textWidth = 0;
    for (const MenuItem& item : title.items)
        textWidth = std::max(textWidth, UiTextWidth(item.label.shown));
    int width
        = std::max({ textWidth + kItemTextLeft + kItemTextRight + 2, kMinimumDropDownWidth, int(title.box.Width()) });
    int left = int(title.box.left);
    if (left + width > clientWidth) left = std::max(0, clientWidth - width);
    DropDown dropDown;
    int y = 1;
    for (const MenuItem& item : title.items) {
        int height = item.separator ? kSeparatorHeight : ItemHeight();
        dropDown.rows.push_back(Rectangle { left + 1, y, left + width - 1, y + height });
        y += height;
    }
    dropDown.frame = Rectangle { left, 0, left + width, y + 1 };
    return dropDown;
}

int ItemAt(const MenuTitle& title, const DropDown& dropDown, int x, int y)
{
    for (size_t i = 0; i < dropDown.rows.size() && i < title.items.size(); ++i)
        if (dropDown.rows[i].Contains(x, y)) return title.items[i].separator ? -1 : int(i);
    return -1;
}

void DrawMenuBar(const Canvas& bar, const MenuModel& model, int hotTitle)
{
    FillBox(bar, bar.memory.Bounds(), kBarColour);
    for (size_t i = 0; i < model.titles.size(); ++i) {
        const MenuTitle& title = model.titles[i];
        bool hot = int(i) == hotTitle;
        if (hot) FillBox(bar, title.box, kHotColour);
        DrawLabel(bar, title.box.left + kTitlePadding, TextTop(0, bar.memory.height), title.label,
            hot ? kHotTextColour : kTextColour);
    }
}

void DrawDropDown(const Canvas& client, const MenuTitle& title, const DropDown& dropDown, int hotItem)
{
    FillBox(client, dropDown.frame, kDropDownColour);
    OutlineBox(client, dropDown.frame, kDropDownBorder);
    for (size_t i = 0; i < dropDown.rows.size() && i < title.items.size(); ++i) {
        const Rectangle& row = dropDown.rows[i];
        const MenuItem& item = title.items[i];
        if (item.separator) {
            int middle = row.top + row.Height() / 2;
            FillBox(client, Rectangle { row.left + 2, middle, row.right - 2, middle + 1 }, kSeparatorColour);
            continue;
        }
        bool hot = int(i) == hotItem;
        if (hot) FillBox(client, row, kHotColour);
        DrawLabel(client, row.left + kItemTextLeft - 1, TextTop(row.top, row.Height()), item.label,
            hot ? kHotTextColour : kTextColour);
    }
}

void PresentMenuBar(const Window& window, int hotTitle)
{
    int width = int(window.outer.right - window.outer.left);
    if (window.menuBarHeight <= 0 || width <= 0) return;
    std::vector<uint32_t> pixels(size_t(width) * size_t(window.menuBarHeight));
    const Canvas bar { PixelView::OfPixels(pixels.data(), width, window.menuBarHeight, width) };
    DrawMenuBar(bar, MenuModelFor(window), hotTitle);
    platform::host::Current().PresentMenuBar(
        platform::ReadOnlyPixelView::OfPixels(pixels.data(), width, window.menuBarHeight, width));
}

} // namespace platform::user
