#include "user/menu_bar.h"

#include "user/testing_hooks.h"

#include <algorithm>

namespace platform::user {
namespace {

constexpr int kDefaultMenuBarHeight = 20;
constexpr int kMaxMenuBarHeight = 400;

int& Height()
{
    static int height = kDefaultMenuBarHeight;
    return height;
}

} // namespace

int MenuBarHeightForNewWindows() { return Height(); }

void SetMenuBarHeight(int height) { Height() = std::clamp(height, 0, kMaxMenuBarHeight); }

int DefaultMenuBarHeight() { return kDefaultMenuBarHeight; }

} // namespace platform::user
