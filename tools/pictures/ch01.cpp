// A standing character made of circles and rectangles on magenta.
#include "bmp_writer.h"
#include "pictures.h"
#include "shapes.h"

namespace pictures {

std::vector<uint8_t> DrawCharacter01File()
{
    constexpr uint32_t kSkin = Rgb(250, 215, 180);
    constexpr uint32_t kHair = Rgb(90, 50, 30);
    constexpr uint32_t kShirt = Rgb(60, 120, 200);
    constexpr uint32_t kTrousers = Rgb(50, 55, 90);
    constexpr uint32_t kShoes = Rgb(70, 40, 30);
    Canvas canvas(380, 480, kMagenta);

    // Legs and shoes.
    canvas.FillRect(150, 300, 185, 440, kTrousers);
    canvas.FillRect(195, 300, 230, 440, kTrousers);
    FillEllipse(canvas, 160, 448, 30, 14, kShoes);
    FillEllipse(canvas, 220, 448, 30, 14, kShoes);
    // Arms, then the body over their tops, then the hands.
    canvas.FillRect(105, 175, 135, 300, kShirt);
    canvas.FillRect(245, 175, 275, 300, kShirt);
    FillEllipse(canvas, 120, 310, 18, 18, kSkin);
    FillEllipse(canvas, 260, 310, 18, 18, kSkin);
    canvas.FillRect(130, 165, 250, 310, kShirt);
    FillEllipse(canvas, 190, 170, 60, 20, kShirt);
    canvas.FillRect(130, 295, 250, 312, Rgb(140, 90, 40));
    canvas.FillRect(182, 295, 198, 312, Rgb(230, 200, 80));
    for (int i = 0; i < 3; ++i)
        FillEllipse(canvas, 190, 200 + i * 30, 5, 5, Rgb(240, 240, 240));
    // Neck, head, hair and face.
    canvas.FillRect(175, 140, 205, 165, kSkin);
    FillEllipse(canvas, 190, 95, 62, 62, kHair);
    FillEllipse(canvas, 190, 105, 56, 56, kSkin);
    FillEllipse(canvas, 190, 62, 58, 26, kHair);
    FillEllipse(canvas, 134, 105, 9, 14, kSkin);
    FillEllipse(canvas, 246, 105, 9, 14, kSkin);
    FillEllipse(canvas, 170, 105, 7, 9, Rgb(30, 30, 40));
    FillEllipse(canvas, 210, 105, 7, 9, Rgb(30, 30, 40));
    FillEllipse(canvas, 172, 102, 2.5, 2.5, Rgb(255, 255, 255));
    FillEllipse(canvas, 212, 102, 2.5, 2.5, Rgb(255, 255, 255));
    FillEllipse(canvas, 155, 125, 9, 5, Rgb(245, 170, 160));
    FillEllipse(canvas, 225, 125, 9, 5, Rgb(245, 170, 160));
    FillEllipse(canvas, 190, 132, 14, 7, Rgb(190, 70, 70));
    FillEllipse(canvas, 190, 128, 15, 5, kSkin);
    return EncodeBmp24(canvas);
}

} // namespace pictures
