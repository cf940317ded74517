// A true-colour drawing surface for the generated pictures, with the few
// shapes they are made of. Pixels are 0xAARRGGBB; alpha 0 marks pixels an
// icon leaves transparent, pictures ignore it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pictures {

constexpr uint32_t Rgb(int r, int g, int b)
{
    return 0xFF000000u | (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b);
}

constexpr uint32_t kTransparent = 0;

// Mixes two colours; t = 0 gives `a`, t = 1 gives `b`.
uint32_t Mix(uint32_t a, uint32_t b, double t);

class Canvas {
public:
    Canvas(int width, int height, uint32_t fill);

    int Width() const { return width_; }
    int Height() const { return height_; }
    uint32_t At(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }
    void Set(int x, int y, uint32_t colour);

    void FillRect(int left, int top, int right, int bottom, uint32_t colour);
    // Rows blend from `top` to `bottom` colour over [y0, y1).
    void VerticalGradient(int y0, int y1, uint32_t top, uint32_t bottom);
    void FillCircle(double cx, double cy, double radius, uint32_t colour);
    // Pixels outside a square with corners rounded by `radius` become transparent.
    void ClipToRoundedRect(double radius);
    // Every pixel a `factor` by `factor` block: sharp at any whole factor.
    Canvas ScaledBy(int factor) const;

private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
};

} // namespace pictures
