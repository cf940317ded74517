// Where the 640 by 480 full-screen picture lands on a desktop, and where a
// mouse position on the desktop falls in the picture.
#include "host/letterbox.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace {

using platform::host::FitPicture;
using platform::host::Letterbox;
using platform::host::PicturePoint;
using platform::host::ScreenToPicture;

void ExpectBox(const Letterbox& box, int x, int y, int width, int height, int wholeFactor)
{
    EXPECT_EQ(box.x, x);
    EXPECT_EQ(box.y, y);
    EXPECT_EQ(box.width, width);
    EXPECT_EQ(box.height, height);
    EXPECT_EQ(box.wholeFactor, wholeFactor);
}

// Twice the picture's size or more both ways: square blocks, centred.
TEST(Letterbox, LargeDesktopsTakeTheLargestWholeFactor)
{
    ExpectBox(FitPicture(640, 480, 1920, 1080), 320, 60, 1280, 960, 2);
    ExpectBox(FitPicture(640, 480, 2560, 1440), 320, 0, 1920, 1440, 3);
    ExpectBox(FitPicture(640, 480, 3840, 2160), 640, 120, 2560, 1920, 4);
    ExpectBox(FitPicture(640, 480, 1280, 960), 0, 0, 1280, 960, 2);
    ExpectBox(FitPicture(640, 480, 1280, 1024), 0, 32, 1280, 960, 2);
    // One pixel short of twice the height: the aspect-kept scale again.
    ExpectBox(FitPicture(640, 480, 1920, 959), 321, 0, 1278, 959, 0);
}

TEST(Letterbox, SmallerDesktopsKeepTheAspect)
{
    ExpectBox(FitPicture(640, 480, 1366, 768), 171, 0, 1024, 768, 0);
    ExpectBox(FitPicture(640, 480, 1280, 800), 107, 0, 1066, 800, 0);
    ExpectBox(FitPicture(640, 480, 1280, 720), 160, 0, 960, 720, 0);
    ExpectBox(FitPicture(640, 480, 480, 640), 0, 140, 480, 360, 0);
    ExpectBox(FitPicture(640, 480, 1279, 960), 0, 0, 1279, 959, 0);
}

TEST(Letterbox, SameSizeIsTheIdentity)
{
    const Letterbox box = FitPicture(640, 480, 640, 480);
    ExpectBox(box, 0, 0, 640, 480, 1);
    for (int v : { 0, 1, 317, 479 }) {
        const PicturePoint point = ScreenToPicture(box, 640, 480, v, v);
        EXPECT_EQ(point.x, v);
        EXPECT_EQ(point.y, v);
    }
}

TEST(Letterbox, TinyAndNonsenseSizesNeverGiveAnEmptyBox)
{
    for (int w : { -5, 0, 1, 2, 3 })
        for (int h : { -5, 0, 1, 2, 3 }) {
            const Letterbox box = FitPicture(640, 480, w, h);
            EXPECT_GE(box.width, 1) << w << "x" << h;
            EXPECT_GE(box.height, 1) << w << "x" << h;
            EXPECT_GE(box.x, 0);
            EXPECT_GE(box.y, 0);
            const PicturePoint point = ScreenToPicture(box, 640, 480, 1, 1);
            EXPECT_GE(point.x, 0);
            EXPECT_LT(point.x, 640);
            EXPECT_GE(point.y, 0);
            EXPECT_LT(point.y, 480);
        }
    const Letterbox odd = FitPicture(0, -1, 1000, 10);
    EXPECT_GE(odd.width, 1);
    EXPECT_GE(odd.height, 1);
}

TEST(Letterbox, MouseMapsBackToTheBlockUnderIt)
{
    const Letterbox box = FitPicture(640, 480, 1920, 1080);
    for (const auto& [x, y, pictureX, pictureY] : { std::array { 320, 60, 0, 0 }, { 321, 61, 0, 0 }, { 322, 63, 1, 1 },
             { 960, 540, 320, 240 }, { 320 + 1279, 60 + 959, 639, 479 } }) {
        const PicturePoint point = ScreenToPicture(box, 640, 480, x, y);
        EXPECT_EQ(point.x, pictureX) << x << "," << y;
        EXPECT_EQ(point.y, pictureY) << x << "," << y;
    }
}

TEST(Letterbox, MouseMapsBackThroughAnUnevenScale)
{
    const Letterbox box = FitPicture(640, 480, 1366, 768);
    PicturePoint point = ScreenToPicture(box, 640, 480, 171, 0);
    EXPECT_EQ(point.x, 0);
    EXPECT_EQ(point.y, 0);
    point = ScreenToPicture(box, 640, 480, 171 + 1023, 767);
    EXPECT_EQ(point.x, 639);
    EXPECT_EQ(point.y, 479);
    // 1.6 screen pixels a picture pixel.
    point = ScreenToPicture(box, 640, 480, 171 + 3, 3);
    EXPECT_EQ(point.x, 1);
    EXPECT_EQ(point.y, 1);
}

TEST(Letterbox, PositionsOnTheBarsClampToTheEdge)
{
    const Letterbox box = FitPicture(640, 480, 1280, 1024);
    PicturePoint point = ScreenToPicture(box, 640, 480, 600, 5); // the bar above
    EXPECT_EQ(point.x, 300);
    EXPECT_EQ(point.y, 0);
    point = ScreenToPicture(box, 640, 480, 600, 1020); // the bar below
    EXPECT_EQ(point.y, 479);
    point = ScreenToPicture(box, 640, 480, -50, 31);
    EXPECT_EQ(point.x, 0);
    EXPECT_EQ(point.y, 0);
    point = ScreenToPicture(box, 640, 480, INT_MAX, INT_MIN);
    EXPECT_EQ(point.x, 639);
    EXPECT_EQ(point.y, 0);
}

} // namespace
