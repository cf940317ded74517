#include "bmp_writer.h"
#include "canvas.h"
#include "pictures.h"

#include <cmath>

namespace pictures {
namespace {

constexpr int kSize = 32;
constexpr uint32_t kOutline = Rgb(20, 40, 80);

void DrawSky(Canvas& canvas) { canvas.VerticalGradient(0, 22, Rgb(30, 90, 200), Rgb(160, 215, 250)); }

void DrawSun(Canvas& canvas)
{
    canvas.FillCircle(21.5, 10.5, 6.5, Rgb(255, 150, 40));
    canvas.FillCircle(21.5, 10.5, 5.0, Rgb(255, 215, 70));
    canvas.FillCircle(20.5, 9.5, 2.0, Rgb(255, 245, 180));
}

// A hill whose ridge is a sine wave, shaded darker towards the bottom.
void DrawHill(Canvas& canvas, double ridge, double amplitude, double phase, uint32_t top, uint32_t bottom)
{
    for (int x = 0; x < kSize; ++x) {
        int start = int(std::lround(ridge + amplitude * std::sin(x * 0.22 + phase)));
        for (int y = std::max(start, 0); y < kSize; ++y)
            canvas.Set(x, y, Mix(top, bottom, double(y - start) / (kSize - start)));
    }
}

// Opaque pixels next to a transparent one or the edge form the border.
void DrawOutline(Canvas& canvas)
{
    Canvas shape = canvas;
    auto clear
        = [&](int x, int y) { return x < 0 || y < 0 || x >= kSize || y >= kSize || (shape.At(x, y) >> 24) == 0; };
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (!clear(x, y) && (clear(x - 1, y) || clear(x + 1, y) || clear(x, y - 1) || clear(x, y + 1)))
                canvas.Set(x, y, kOutline);
}

} // namespace

Canvas DrawIcon()
{
    Canvas canvas(kSize, kSize, Rgb(0, 0, 0));
    DrawSky(canvas);
    DrawSun(canvas);
    DrawHill(canvas, 19.0, 2.5, 0.5, Rgb(110, 190, 80), Rgb(50, 120, 50));
    DrawHill(canvas, 24.0, 2.0, 3.0, Rgb(60, 150, 60), Rgb(20, 80, 40));
    canvas.ClipToRoundedRect(6.0);
    DrawOutline(canvas);
    return canvas;
}

std::vector<uint8_t> DrawIconFile() { return EncodeIco8(ToIndexed(DrawIcon())); }

} // namespace pictures
