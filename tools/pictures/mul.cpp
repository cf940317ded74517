// Three 100x100 animation frames stacked top to bottom: a ball bouncing
// while a star behind it turns, on magenta.
#include "bmp_writer.h"
#include "pictures.h"
#include "shapes.h"

namespace pictures {

std::vector<uint8_t> DrawAnimationFile()
{
    constexpr int kFrame = 100;
    Canvas canvas(kFrame, kFrame * 3, kMagenta);
    const double heights[] = { 30, 55, 72 };
    for (int frame = 0; frame < 3; ++frame) {
        double top = frame * kFrame;
        FillStar(canvas, 50, top + 50, 40, 17, frame * 0.42, Rgb(255, 210, 50));
        FillStar(canvas, 50, top + 50, 30, 12, frame * 0.42, Rgb(255, 240, 130));
        // The ball squashes a little as it nears the floor.
        double cy = top + heights[frame];
        double squash = frame == 2 ? 1.25 : 1.0;
        FillEllipse(canvas, 50 + 1, cy + 2, 16 * squash, 16 / squash, Rgb(120, 20, 50));
        FillEllipse(canvas, 50, cy, 16 * squash, 16 / squash, Rgb(220, 50, 60));
        FillEllipse(canvas, 44, cy - 6, 5, 4, Rgb(255, 190, 190));
        canvas.FillRect(10, int(top) + 90, 90, int(top) + 94, Rgb(80, 160, 80));
    }
    return EncodeBmp24(canvas);
}

} // namespace pictures
