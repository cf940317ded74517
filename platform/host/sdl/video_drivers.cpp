#include "host/sdl/video_drivers.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace platform::host {
namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// SDL's evdev driver is its dummy display with input read from the kernel.
bool ShowsNothing(std::string_view driver)
{
    return SameName(driver, "offscreen") || SameName(driver, "dummy") || SameName(driver, "evdev");
}

bool Set(const char* value) { return value && *value; }

// The names in a comma-separated list, in its order.
std::vector<std::string_view> NamesIn(const char* list)
{
    std::vector<std::string_view> names;
    std::string_view rest = list ? list : "";
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        names.push_back(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view {} : rest.substr(comma + 1);
    }
    return names;
}

void AddOnce(std::vector<std::string>& order, const std::string& driver)
{
    if (ShowsNothing(driver)) return;
    for (const std::string& taken : order)
        if (SameName(taken, driver)) return;
    order.push_back(driver);
}

} // namespace

std::vector<std::string> VideoDriverOrder(const char* userChoice, const std::vector<std::string>& available)
{
    std::vector<std::string> order;
    for (std::string_view name : NamesIn(userChoice))
        for (const std::string& driver : available)
            if (SameName(driver, name)) AddOnce(order, driver);
    for (const std::string& driver : available)
        AddOnce(order, driver);
    return order;
}

bool DriverExpected(const std::string& driver, const DesktopNames& names)
{
    for (std::string_view name : NamesIn(names.userChoice))
        if (SameName(name, driver)) return true;
    if (SameName(driver, "x11")) return Set(names.display);
    if (SameName(driver, "wayland")) return Set(names.waylandDisplay);
    return false;
}

bool AnyDriverExpected(const DesktopNames& names)
{
    return Set(names.userChoice) || Set(names.display) || Set(names.waylandDisplay);
}

} // namespace platform::host
