#include "host/web/page_layout.h"

#include <algorithm>
#include <cmath>

namespace platform::host {
namespace {

// A whole factor this much of the smooth fit's size, or more, is kept: the
// sharp blocks are worth the margin.
constexpr double kWholeFactorShare = 0.75;
// Canvases finer than this many pixels a program pixel gain nothing.
constexpr int kMaxFactor = 8;

// Rounding in the browser's layout must not count as not fitting.
constexpr double kSlack = 0.01;

WindowFit WholeFit(int width, int height, int factor, double pixelRatio)
{
    return WindowFit { factor, width * factor / pixelRatio, height * factor / pixelRatio, false };
}

} // namespace

WindowFit FitWindow(int width, int height, int naturalScale, double pixelRatio, double roomWidth, double roomHeight)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    naturalScale = std::clamp(naturalScale, 1, kMaxFactor);
    if (!(pixelRatio > 0) || !std::isfinite(pixelRatio)) pixelRatio = 1.0;
    if (!(roomWidth >= 1) || !std::isfinite(roomWidth)) roomWidth = 1.0;
    if (!(roomHeight >= 1) || !std::isfinite(roomHeight)) roomHeight = 1.0;

    const WindowFit natural = WholeFit(width, height, naturalScale, pixelRatio);
    if (natural.cssWidth <= roomWidth + kSlack && natural.cssHeight <= roomHeight + kSlack) return natural;

    // CSS pixels to each program pixel, as large as fits.
    const double fill = std::min(roomWidth / width, roomHeight / height);
    const int whole = int(std::min(
        std::floor(roomWidth * pixelRatio + kSlack) / width, std::floor(roomHeight * pixelRatio + kSlack) / height));
    if (whole >= 1 && whole / pixelRatio >= kWholeFactorShare * fill)
        return WholeFit(width, height, std::min(whole, kMaxFactor), pixelRatio);

    const int finer = std::clamp(int(std::ceil(fill * pixelRatio - kSlack)), 1, kMaxFactor);
    return WindowFit { finer, width * fill, height * fill, true };
}

} // namespace platform::host
