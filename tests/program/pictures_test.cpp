#include <windows.h>

#include <gtest/gtest.h>

#include <testing/testing.h>

// The pictures the build draws into the folder the program runs in, at least
// as large as the regions the effects take from them.
TEST(Pictures, EveryPictureIsThereAndLargeEnough)
{
    headless::Reset();
    struct Expected {
        const char* name;
        LONG width;
        LONG height;
    };
    for (Expected picture :
        { Expected { "bg01.bmp", 600, 285 }, Expected { "bg02.bmp", 600, 285 }, Expected { "ch01.bmp", 380, 480 },
            Expected { "koke.bmp", 15, 25 }, Expected { "mul.bmp", 100, 300 }, Expected { "chn.bmp", 50, 50 } }) {
        SCOPED_TRACE(picture.name);
        HBITMAP bitmap
            = (HBITMAP)LoadImageA(NULL, picture.name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        ASSERT_NE(bitmap, nullptr);
        BITMAP description = {};
        ASSERT_EQ(GetObjectA(bitmap, sizeof(description), &description), (int)sizeof(description));
        EXPECT_GE(description.bmWidth, picture.width);
        EXPECT_GE(description.bmHeight < 0 ? -description.bmHeight : description.bmHeight, picture.height);
        DeleteObject(bitmap);
    }
}
