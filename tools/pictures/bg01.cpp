// A daytime landscape: blue sky, sun, green hills, a lake and trees, with a
// band of magenta windows and a cut-out corner so a pattern shows through.
#include "bmp_writer.h"
#include "pictures.h"
#include "shapes.h"

namespace pictures {
namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 285;

void DrawTree(Canvas& canvas, double x, double base, double size)
{
    canvas.FillRect(int(x - size * 0.12), int(base - size * 0.5), int(x + size * 0.12), int(base), Rgb(110, 70, 35));
    FillTriangle(canvas, x - size * 0.6, base - size * 0.4, x + size * 0.6, base - size * 0.4, x, base - size * 1.5,
        Rgb(30, 110, 45));
    FillTriangle(canvas, x - size * 0.45, base - size * 0.9, x + size * 0.45, base - size * 0.9, x, base - size * 1.9,
        Rgb(45, 135, 55));
}

void DrawCloud(Canvas& canvas, double x, double y)
{
    FillEllipse(canvas, x, y, 34, 14, Rgb(250, 250, 252));
    FillEllipse(canvas, x - 20, y + 4, 20, 10, Rgb(240, 244, 250));
    FillEllipse(canvas, x + 14, y - 8, 18, 12, Rgb(252, 252, 255));
}

// Magenta cut-outs: a stepped corner at the top left and a row of round windows.
void CutHoles(Canvas& canvas)
{
    for (int step = 0; step < 4; ++step)
        canvas.FillRect(0, step * 12, 120 - step * 30, step * 12 + 12, kMagenta);
    FillEllipse(canvas, 0, 0, 150, 70, kMagenta);
    for (int i = 0; i < 6; ++i) {
        int left = 300 + i * 48;
        canvas.FillRect(left, 8, left + 30, 30, kMagenta);
        FillEllipse(canvas, left + 15, 8, 15, 10, kMagenta);
    }
}

} // namespace

std::vector<uint8_t> DrawBackground01File()
{
    Canvas canvas(kWidth, kHeight, Rgb(255, 255, 255));
    canvas.VerticalGradient(0, 180, Rgb(40, 110, 210), Rgb(180, 225, 250));
    FillEllipse(canvas, 470, 70, 42, 42, Rgb(255, 200, 60));
    FillEllipse(canvas, 470, 70, 34, 34, Rgb(255, 235, 120));
    DrawCloud(canvas, 200, 60);
    DrawCloud(canvas, 380, 105);
    FillHills(canvas, 150, 18, 0.012, 0.8, Rgb(120, 180, 110), Rgb(80, 140, 80));
    FillHills(canvas, 185, 14, 0.02, 2.5, Rgb(90, 175, 70), Rgb(40, 120, 45));
    // The lake, with a lighter rim and a glint of the sun.
    FillEllipse(canvas, 300, 235, 150, 32, Rgb(70, 140, 200));
    FillEllipse(canvas, 300, 238, 138, 25, Rgb(50, 115, 185));
    for (int i = 0; i < 4; ++i)
        canvas.FillRect(350 + i * 12, 225 + i * 6, 380 + i * 8, 227 + i * 6, Rgb(200, 230, 250));
    for (int i = 0; i < 5; ++i) {
        DrawTree(canvas, 40 + i * 28, 250 + (i % 2) * 10, 26 + (i % 3) * 5);
        DrawTree(canvas, 480 + i * 26, 255 - (i % 2) * 8, 24 + (i % 2) * 8);
    }
    CutHoles(canvas);
    return EncodeBmp24(canvas);
}

} // namespace pictures
