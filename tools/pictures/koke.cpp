// A small kokeshi doll tile: round head with black hair, red patterned body.
#include "bmp_writer.h"
#include "pictures.h"
#include "shapes.h"

namespace pictures {

std::vector<uint8_t> DrawKokeshiFile()
{
    constexpr uint32_t kRed = Rgb(200, 30, 40);
    Canvas canvas(15, 25, kMagenta);
    // Body: a red column with a yellow sash and flower dots, on a wooden base.
    canvas.FillRect(3, 11, 12, 23, kRed);
    canvas.FillRect(2, 23, 13, 25, Rgb(200, 150, 90));
    canvas.FillRect(3, 15, 12, 17, Rgb(250, 200, 60));
    canvas.Set(5, 13, Rgb(255, 230, 240));
    canvas.Set(9, 12, Rgb(255, 230, 240));
    canvas.Set(5, 19, Rgb(255, 230, 240));
    canvas.Set(9, 20, Rgb(255, 230, 240));
    canvas.Set(7, 21, Rgb(255, 230, 240));
    // Head: black hair around a pale face.
    FillEllipse(canvas, 7.5, 6.0, 6.0, 5.5, Rgb(10, 10, 10));
    FillEllipse(canvas, 7.5, 7.0, 4.0, 3.6, Rgb(250, 230, 210));
    canvas.FillRect(4, 3, 11, 5, Rgb(10, 10, 10));
    canvas.Set(6, 7, Rgb(10, 10, 10));
    canvas.Set(9, 7, Rgb(10, 10, 10));
    canvas.Set(7, 9, kRed);
    canvas.Set(8, 9, kRed);
    return EncodeBmp24(canvas);
}

} // namespace pictures
