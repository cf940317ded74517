#include "host/desktop_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace platform::host {
namespace {

constexpr double kBaseDpi = 96.0; // a factor of 1

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// A positive finite number making up all of `text`, or 0.
double PositiveNumber(std::string_view text)
{
    const std::string copy(Trimmed(text));
    if (copy.empty()) return 0;
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value) || value <= 0) return 0;
    return value;
}

// The value of resource `name` in the database text, or an empty view.
std::string_view ResourceValue(std::string_view resources, std::string_view name)
{
    while (!resources.empty()) {
        const auto end = resources.find('\n');
        const std::string_view line = resources.substr(0, end);
        const auto colon = line.find(':');
        if (colon != std::string_view::npos && Trimmed(line.substr(0, colon)) == name) return line.substr(colon + 1);
        if (end == std::string_view::npos) break;
        resources.remove_prefix(end + 1);
    }
    return {};
}

// 0 for anything below a factor of 1: the caller then asks elsewhere.
int WholeFactor(double factor)
{
    if (factor < 1) return 0;
    return int(std::min(std::floor(factor), double(kMaxDesktopScale)));
}

} // namespace

int DesktopScale(const char* gdkScale, const char* xResources)
{
    if (gdkScale) {
        if (const int factor = WholeFactor(PositiveNumber(gdkScale))) return factor;
    }
    if (xResources) {
        if (const int factor = WholeFactor(PositiveNumber(ResourceValue(xResources, "Xft.dpi")) / kBaseDpi))
            return factor;
    }
    return 1;
}

int PixelRatioScale(double devicePixelRatio)
{
    // NaN fails every comparison and comes out as 1, as any other nonsense.
    const int factor = devicePixelRatio >= 1 ? WholeFactor(devicePixelRatio) : 0;
    return factor > 0 ? factor : 1;
}

int Unscale(int screenValue, int scale)
{
    if (scale <= 1) return screenValue;
    const int quotient = screenValue / scale;
    return (screenValue % scale < 0) ? quotient - 1 : quotient;
}

int WholeScaleOf(int pixelWidth, int pixelHeight, int unitWidth, int unitHeight)
{
    if (unitWidth <= 0 || unitHeight <= 0 || pixelWidth <= 0 || pixelWidth % unitWidth != 0) return 1;
    const int scale = pixelWidth / unitWidth;
    if (int64_t(unitHeight) * scale != pixelHeight) return 1;
    return scale;
}

Rectangle PixelsToUnits(const Rectangle& pixels, int scale)
{
    if (scale <= 1) return pixels;
    auto down = [scale](int64_t value) { return int64_t(Unscale(int(value), scale)); };
    auto up = [scale](int64_t value) { return int64_t(-Unscale(-int(value), scale)); };
    return Rectangle { down(pixels.left), down(pixels.top), up(pixels.right), up(pixels.bottom) };
}

} // namespace platform::host
