// Where the 640 by 480 full-screen picture lands on a desktop, and where a
// mouse position on the desktop falls in the picture.
#include "host/letterbox.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using platform::host::FitPicture;
using platform::host::Letterbox;
using platform::host::PicturePoint;
using platform::host::ScreenToPicture;

void ExpectBox(const Letterbox& box, int x, int y, int width, int height)
{
    EXPECT_EQ(box.x, x);
    EXPECT_EQ(box.y, y);
    EXPECT_EQ(box.width, width);
    EXPECT_EQ(box.height, height);
}

TEST(Letterbox, WideDesktopGetsBarsLeftAndRight)
{
    ExpectBox(FitPicture(640, 480, 1920, 1080), 240, 0, 1440, 1080);
    ExpectBox(FitPicture(640, 480, 1366, 768), 171, 0, 1024, 768);
}

TEST(Letterbox, TallDesktopGetsBarsAboveAndBelow)
{
    ExpectBox(FitPicture(640, 480, 1280, 1024), 0, 32, 1280, 960);
    ExpectBox(FitPicture(640, 480, 480, 640), 0, 140, 480, 360);
}

TEST(Letterbox, SameSizeIsTheIdentity)
{
    const Letterbox box = FitPicture(640, 480, 640, 480);
    ExpectBox(box, 0, 0, 640, 480);
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

TEST(Letterbox, MouseMapsBackIntoThePicture)
{
    const Letterbox box = FitPicture(640, 480, 1920, 1080);
    PicturePoint point = ScreenToPicture(box, 640, 480, 240, 0);
    EXPECT_EQ(point.x, 0);
    EXPECT_EQ(point.y, 0);
    point = ScreenToPicture(box, 640, 480, 240 + 1440 - 1, 1079);
    EXPECT_EQ(point.x, 639);
    EXPECT_EQ(point.y, 479);
    // 2.25 screen pixels a picture pixel: the middle of the screen.
    point = ScreenToPicture(box, 640, 480, 960, 540);
    EXPECT_EQ(point.x, 320);
    EXPECT_EQ(point.y, 240);
    point = ScreenToPicture(box, 640, 480, 240 + 3, 3);
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
