// A few shapes the bitmaps share, drawn onto a Canvas.
#pragma once

#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace pictures {

// The colour the program draws as see-through.
constexpr uint32_t kMagenta = Rgb(255, 0, 255);

inline void FillEllipse(Canvas& canvas, double cx, double cy, double rx, double ry, uint32_t colour)
{
    for (int y = std::max(0, int(cy - ry) - 1); y <= std::min(canvas.Height() - 1, int(cy + ry) + 1); ++y)
        for (int x = std::max(0, int(cx - rx) - 1); x <= std::min(canvas.Width() - 1, int(cx + rx) + 1); ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) canvas.Set(x, y, colour);
        }
}

// Fills a triangle given by its three corners.
inline void FillTriangle(
    Canvas& canvas, double ax, double ay, double bx, double by, double cx, double cy, uint32_t colour)
{
    auto side = [](double px, double py, double qx, double qy, double x, double y) {
        return (qx - px) * (y - py) - (qy - py) * (x - px);
    };
    int left = std::max(0, int(std::min({ ax, bx, cx })));
    int right = std::min(canvas.Width() - 1, int(std::max({ ax, bx, cx })) + 1);
    int top = std::max(0, int(std::min({ ay, by, cy })));
    int bottom = std::min(canvas.Height() - 1, int(std::max({ ay, by, cy })) + 1);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            double px = x + 0.5, py = y + 0.5;
            double d1 = side(ax, ay, bx, by, px, py);
            double d2 = side(bx, by, cx, cy, px, py);
            double d3 = side(cx, cy, ax, ay, px, py);
            bool negative = d1 < 0 || d2 < 0 || d3 < 0;
            bool positive = d1 > 0 || d2 > 0 || d3 > 0;
            if (!(negative && positive)) canvas.Set(x, y, colour);
        }
}

// A hill whose ridge is a sum of two sine waves, shaded towards the bottom.
inline void FillHills(
    Canvas& canvas, double ridge, double amplitude, double frequency, double phase, uint32_t top, uint32_t bottom)
{
    int height = canvas.Height();
    for (int x = 0; x < canvas.Width(); ++x) {
        double wave = std::sin(x * frequency + phase) + 0.4 * std::sin(x * frequency * 2.7 + phase * 1.3);
        int start = std::clamp(int(std::lround(ridge + amplitude * wave)), 0, height - 1);
        for (int y = start; y < height; ++y)
            canvas.Set(x, y, Mix(top, bottom, double(y - start) / std::max(1, height - start)));
    }
}

// A five-pointed star, turned by `angle` radians.
inline void FillStar(Canvas& canvas, double cx, double cy, double outer, double inner, double angle, uint32_t colour)
{
    const double step = 3.14159265358979 / 5.0;
    for (int i = 0; i < 10; ++i) {
        double a0 = angle + i * step, a1 = angle + (i + 1) * step;
        double r0 = i % 2 == 0 ? outer : inner, r1 = i % 2 == 0 ? inner : outer;
        FillTriangle(canvas, cx, cy, cx + r0 * std::sin(a0), cy - r0 * std::cos(a0), cx + r1 * std::sin(a1),
            cy - r1 * std::cos(a1), colour);
    }
}

} // namespace pictures
