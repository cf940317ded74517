// A 50x50 emblem: a gold ring holding a red cross, a white star at its
// centre, on magenta.
#include "bmp_writer.h"
#include "pictures.h"
#include "shapes.h"

namespace pictures {

std::vector<uint8_t> DrawEmblemFile()
{
    Canvas canvas(50, 50, kMagenta);
    FillEllipse(canvas, 25, 25, 24, 24, Rgb(180, 130, 30));
    FillEllipse(canvas, 25, 25, 21, 21, Rgb(240, 200, 70));
    FillEllipse(canvas, 25, 25, 18, 18, Rgb(30, 50, 120));
    canvas.FillRect(21, 8, 29, 42, Rgb(210, 40, 40));
    canvas.FillRect(8, 21, 42, 29, Rgb(210, 40, 40));
    FillStar(canvas, 25, 25, 9, 4, 0.0, Rgb(255, 255, 255));
    return EncodeBmp24(canvas);
}

} // namespace pictures
