// An evening landscape: orange to purple sky, a moon and stars, dark hills,
// with magenta arches and a cut-out corner so a pattern shows through.
#include "bmp_writer.h"
#include "pictures.h"
#include "shapes.h"

#include <cmath>

namespace pictures {
namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 285;

void DrawSky(Canvas& canvas)
{
    canvas.VerticalGradient(0, 100, Rgb(60, 30, 100), Rgb(170, 70, 120));
    canvas.VerticalGradient(100, 200, Rgb(170, 70, 120), Rgb(250, 150, 60));
    const int stars[][2] = { { 60, 30 }, { 150, 55 }, { 230, 20 }, { 330, 45 }, { 540, 25 }, { 580, 70 }, { 270, 80 } };
    for (const auto& star : stars) {
        canvas.FillRect(star[0] - 1, star[1], star[0] + 2, star[1] + 1, Rgb(255, 250, 220));
        canvas.FillRect(star[0], star[1] - 1, star[0] + 1, star[1] + 2, Rgb(255, 250, 220));
    }
}

// A crescent: the pixels of a pale disc that a second, offset disc misses.
void DrawMoon(Canvas& canvas)
{
    for (int y = 20; y < 100; ++y)
        for (int x = 400; x < 480; ++x) {
            double px = x + 0.5, py = y + 0.5;
            if (std::hypot(px - 440, py - 60) <= 30 && std::hypot(px - 454, py - 52) > 26)
                canvas.Set(x, y, Rgb(250, 245, 200));
        }
}

void CutHoles(Canvas& canvas)
{
    FillTriangle(canvas, 0, 0, 170, 0, 0, 90, kMagenta);
    for (int i = 0; i < 5; ++i) {
        int left = 230 + i * 70;
        canvas.FillRect(left, 250, left + 40, kHeight, kMagenta);
        FillEllipse(canvas, left + 20, 250, 20, 20, kMagenta);
    }
}

} // namespace

std::vector<uint8_t> DrawBackground02File()
{
    Canvas canvas(kWidth, kHeight, Rgb(255, 255, 255));
    DrawSky(canvas);
    DrawMoon(canvas);
    FillHills(canvas, 160, 22, 0.011, 1.7, Rgb(90, 50, 90), Rgb(60, 30, 70));
    FillHills(canvas, 200, 16, 0.018, 0.3, Rgb(50, 35, 60), Rgb(25, 20, 40));
    // Lit windows of a few houses on the near hill.
    for (int i = 0; i < 4; ++i) {
        int x = 80 + i * 120, y = 215 + (i % 2) * 12;
        canvas.FillRect(x, y, x + 34, y + 24, Rgb(35, 25, 45));
        FillTriangle(canvas, x - 4, y, x + 38, y, x + 17, y - 16, Rgb(35, 25, 45));
        canvas.FillRect(x + 6, y + 7, x + 14, y + 15, Rgb(255, 210, 90));
        canvas.FillRect(x + 20, y + 7, x + 28, y + 15, Rgb(255, 190, 70));
    }
    CutHoles(canvas);
    return EncodeBmp24(canvas);
}

} // namespace pictures
