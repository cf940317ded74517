// The one rectangle of platform/ and its conversions at the Win32 edge.
#include "common/rectangle.h"
#include "common/win32_rect.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using platform::Rectangle;

TEST(RectangleTest, RightAndBottomAreExcluded)
{
    const Rectangle r { 2, 3, 5, 7 };
    EXPECT_EQ(r.Width(), 3);
    EXPECT_EQ(r.Height(), 4);
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_TRUE(r.Contains(4, 6));
    EXPECT_FALSE(r.Contains(5, 3));
    EXPECT_FALSE(r.Contains(2, 7));
    EXPECT_TRUE((Rectangle { 4, 4, 4, 9 }).IsEmpty());
    EXPECT_TRUE((Rectangle { 9, 0, 4, 9 }).IsEmpty()) << "reversed";
    // Touching rectangles share no pixel.
    EXPECT_FALSE(Overlap(Rectangle { 0, 0, 4, 4 }, Rectangle { 4, 0, 8, 4 }));
    EXPECT_TRUE(Overlap(Rectangle { 0, 0, 4, 4 }, Rectangle { 3, 3, 8, 8 }));
}

TEST(RectangleTest, IntersectionsAndUnionsTreatEveryEmptyRectangleAlike)
{
    EXPECT_EQ(Intersect(Rectangle { 0, 0, 4, 4 }, Rectangle { 2, 1, 9, 3 }), (Rectangle { 2, 1, 4, 3 }));
    EXPECT_EQ(Intersect(Rectangle { 0, 0, 4, 4 }, Rectangle { 6, 6, 9, 9 }), Rectangle {});
    EXPECT_EQ(UnionOf(Rectangle {}, Rectangle { 1, 2, 3, 4 }), (Rectangle { 1, 2, 3, 4 }));
    EXPECT_EQ(UnionOf(Rectangle { 5, 5, 5, 9 }, Rectangle { 1, 2, 3, 4 }), (Rectangle { 1, 2, 3, 4 }));
    EXPECT_EQ(UnionOf(Rectangle { 0, 5, 2, 9 }, Rectangle { 1, 2, 3, 4 }), (Rectangle { 0, 2, 3, 9 }));
    EXPECT_TRUE(Covers(Rectangle { 0, 0, 8, 8 }, Rectangle { 0, 0, 8, 8 }));
    EXPECT_FALSE(Covers(Rectangle { 0, 0, 8, 8 }, Rectangle { 1, 1, 9, 2 }));
    EXPECT_TRUE(Covers(Rectangle { 0, 0, 8, 8 }, Rectangle { 20, 20, 20, 30 })) << "nothing to cover";
    EXPECT_EQ(ClippedTo(Rectangle { -5, -5, 3, 100 }, 10, 20), (Rectangle { 0, 0, 3, 20 }));
    EXPECT_EQ(ClippedTo(Rectangle { 12, 0, 30, 5 }, 10, 20), Rectangle {});
}

TEST(RectangleTest, LiesInsideKeepsEmptyRectanglesOnTheBorderAndRefusesReversedOnes)
{
    const Rectangle bounds { 0, 0, 640, 480 };
    EXPECT_TRUE(LiesInside(bounds, bounds));
    EXPECT_TRUE(LiesInside(Rectangle { 640, 480, 640, 480 }, bounds));
    EXPECT_FALSE(LiesInside(Rectangle { 10, 10, 5, 20 }, bounds));
    EXPECT_FALSE(LiesInside(Rectangle { -1, 0, 10, 10 }, bounds));
    EXPECT_FALSE(LiesInside(Rectangle { 0, 0, 641, 10 }, bounds));
}

TEST(RectangleTest, RectsConvertExactlyAndTheirExtremesCannotOverflowInside)
{
    constexpr LONG kLeast = std::numeric_limits<LONG>::min();
    constexpr LONG kMost = std::numeric_limits<LONG>::max();
    const RECT extreme { kLeast, kLeast, kMost, kMost };
    const Rectangle wide = platform::ToRectangle(extreme);
    EXPECT_EQ(wide.Width(), int64_t(kMost) - int64_t(kLeast));
    const Rectangle moved = Offset(wide, 1, -1);
    EXPECT_EQ(moved.right, int64_t(kMost) + 1);
    EXPECT_EQ(moved.top, int64_t(kLeast) - 1);
    EXPECT_FALSE(LiesInside(moved, wide));

    const RECT back = platform::ToRECT(platform::ToRectangle(RECT { -3, 4, 640, 480 }));
    EXPECT_EQ(back.left, -3);
    EXPECT_EQ(back.top, 4);
    EXPECT_EQ(back.right, 640);
    EXPECT_EQ(back.bottom, 480);
}

} // namespace
