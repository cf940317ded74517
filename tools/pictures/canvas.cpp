#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace pictures {

uint32_t Mix(uint32_t a, uint32_t b, double t)
{
    auto channel = [&](int shift) {
        double from = (a >> shift) & 0xFF;
        double to = (b >> shift) & 0xFF;
        return uint32_t(std::lround(from + (to - from) * t)) << shift;
    };
    return channel(24) | channel(16) | channel(8) | channel(0);
}

Canvas::Canvas(int width, int height, uint32_t fill)
    : width_(width)
    , height_(height)
    , pixels_(size_t(width) * height, fill)
{
}

void Canvas::Set(int x, int y, uint32_t colour)
{
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[size_t(y) * width_ + x] = colour;
}

void Canvas::FillRect(int left, int top, int right, int bottom, uint32_t colour)
{
    for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y)
        for (int x = std::max(left, 0); x < std::min(right, width_); ++x)
            Set(x, y, colour);
}

void Canvas::VerticalGradient(int y0, int y1, uint32_t top, uint32_t bottom)
{
    for (int y = y0; y < y1; ++y) {
        double t = y1 - y0 > 1 ? double(y - y0) / (y1 - y0 - 1) : 0.0;
        FillRect(0, y, width_, y + 1, Mix(top, bottom, t));
    }
}

void Canvas::FillCircle(double cx, double cy, double radius, uint32_t colour)
{
    // Pixel centres decide coverage, so small circles stay round.
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius) Set(x, y, colour);
}

void Canvas::ClipToRoundedRect(double radius)
{
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            double px = x + 0.5, py = y + 0.5;
            double nearestX = std::clamp(px, radius, width_ - radius);
            double nearestY = std::clamp(py, radius, height_ - radius);
            if (std::hypot(px - nearestX, py - nearestY) > radius) Set(x, y, kTransparent);
        }
    }
}

Canvas Canvas::ScaledBy(int factor) const
{
    Canvas scaled(width_ * factor, height_ * factor, kTransparent);
    for (int y = 0; y < scaled.height_; ++y)
        for (int x = 0; x < scaled.width_; ++x)
            scaled.Set(x, y, At(x / factor, y / factor));
    return scaled;
}

} // namespace pictures
