// The factor a high-density desktop asks for, from GDK_SCALE and the X
// server's Xft.dpi, positions in the scaled window mapped back, and the
// pixels a Wayland window has to each of its units.
#include "host/desktop_scale.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using platform::Rectangle;

using platform::host::DesktopScale;
using platform::host::kMaxDesktopScale;
using platform::host::PixelRatioScale;
using platform::host::PixelsToUnits;
using platform::host::Unscale;
using platform::host::WholeScaleOf;

TEST(DesktopScale, XftDpiOverNinetySixRoundedDown)
{
    EXPECT_EQ(DesktopScale(nullptr, "Xft.dpi:\t192\n"), 2);
    EXPECT_EQ(DesktopScale(nullptr, "Xcursor.size:\t48\nXft.dpi:\t288\nXft.hinting:\t1\n"), 3);
    EXPECT_EQ(DesktopScale(nullptr, "Xft.dpi: 144"), 1) << "1.5 rounds down";
    EXPECT_EQ(DesktopScale(nullptr, "Xft.dpi:\t191.9\n"), 1);
    EXPECT_EQ(DesktopScale(nullptr, "Xft.dpi:\t96\n"), 1);
    EXPECT_EQ(DesktopScale(nullptr, "Xft.dpi:\t72\n"), 1) << "below 1 is no shrinking";
}

TEST(DesktopScale, GdkScaleComesFirst)
{
    EXPECT_EQ(DesktopScale("2", nullptr), 2);
    EXPECT_EQ(DesktopScale("3", "Xft.dpi:\t192\n"), 3);
    EXPECT_EQ(DesktopScale("1", "Xft.dpi:\t192\n"), 1) << "the user's 1 overrides the resource";
    EXPECT_EQ(DesktopScale("2.7", nullptr), 2);
}

TEST(DesktopScale, WhatSaysNothingUsefulIsNoScale)
{
    EXPECT_EQ(DesktopScale(nullptr, nullptr), 1);
    EXPECT_EQ(DesktopScale("", ""), 1);
    // A broken variable leaves the word to the resource.
    for (const char* bad : { "0", "-2", "two", "2x", "nan", "inf", " " })
        EXPECT_EQ(DesktopScale(bad, "Xft.dpi:\t192\n"), 2) << bad;
    for (const char* bad : { "Xft.dpi:\n", "Xft.dpi:\tlots\n", "Xft.dpix:\t192\n", "*dpi 192\n", "Xft.dpi:\t-192\n" })
        EXPECT_EQ(DesktopScale(nullptr, bad), 1) << bad;
}

TEST(DesktopScale, AbsurdSettingsStopAtTheLargestFactor)
{
    EXPECT_EQ(DesktopScale("1000000", nullptr), kMaxDesktopScale);
    EXPECT_EQ(DesktopScale(nullptr, "Xft.dpi:\t1e300\n"), kMaxDesktopScale);
}

TEST(DesktopScale, PixelRatioRoundedDownToAWholeFactor)
{
    EXPECT_EQ(PixelRatioScale(1.0), 1);
    EXPECT_EQ(PixelRatioScale(1.5), 1) << "no picture pixel may be one and a half screen pixels";
    EXPECT_EQ(PixelRatioScale(2.0), 2);
    EXPECT_EQ(PixelRatioScale(2.75), 2);
    EXPECT_EQ(PixelRatioScale(3.0), 3);
    EXPECT_EQ(PixelRatioScale(100.0), kMaxDesktopScale);
    EXPECT_EQ(PixelRatioScale(std::numeric_limits<double>::infinity()), kMaxDesktopScale);
    for (double nonsense : { 0.0, 0.5, -2.0, std::numeric_limits<double>::quiet_NaN() })
        EXPECT_EQ(PixelRatioScale(nonsense), 1) << nonsense;
}

TEST(DesktopScale, UnscaleRoundsTowardsMinusInfinity)
{
    EXPECT_EQ(Unscale(0, 2), 0);
    EXPECT_EQ(Unscale(1, 2), 0);
    EXPECT_EQ(Unscale(2, 2), 1);
    EXPECT_EQ(Unscale(1279, 2), 639);
    EXPECT_EQ(Unscale(-1, 2), -1) << "left of the window stays outside it";
    EXPECT_EQ(Unscale(-3, 3), -1);
    EXPECT_EQ(Unscale(-4, 3), -2);
    EXPECT_EQ(Unscale(-7, 1), -7);
}

TEST(WholeScaleOf, PixelsToEachUnitWhereTheyAreAWholeMultiple)
{
    EXPECT_EQ(WholeScaleOf(640, 500, 640, 500), 1);
    EXPECT_EQ(WholeScaleOf(1280, 1000, 640, 500), 2);
    EXPECT_EQ(WholeScaleOf(1920, 1080, 960, 540), 2) << "full screen on a 1920 by 1080 output of scale 2";
    EXPECT_EQ(WholeScaleOf(3200, 2500, 640, 500), 5) << "no cap: the buffer must be described as it is";
}

TEST(WholeScaleOf, NoWholeMultipleIsScaleOne)
{
    EXPECT_EQ(WholeScaleOf(960, 750, 640, 500), 1) << "a fractional scale of 1.5";
    EXPECT_EQ(WholeScaleOf(1280, 500, 640, 500), 1) << "the two ways disagree";
    EXPECT_EQ(WholeScaleOf(1280, 1001, 640, 500), 1);
    EXPECT_EQ(WholeScaleOf(320, 250, 640, 500), 1) << "fewer pixels than units";
    EXPECT_EQ(WholeScaleOf(0, 0, 640, 500), 1);
    EXPECT_EQ(WholeScaleOf(1280, 1000, 0, 0), 1) << "a window of no size yet";
    EXPECT_EQ(WholeScaleOf(-1280, -1000, -640, -500), 1);
}

TEST(PixelsToUnits, GrowsToTheWholeUnitsItTouches)
{
    const Rectangle same = PixelsToUnits(Rectangle { 3, 5, 7, 9 }, 1);
    EXPECT_EQ(same.left, 3);
    EXPECT_EQ(same.bottom, 9);
    const Rectangle halved = PixelsToUnits(Rectangle { 3, 4, 7, 10 }, 2);
    EXPECT_EQ(halved.left, 1);
    EXPECT_EQ(halved.top, 2);
    EXPECT_EQ(halved.right, 4) << "pixel 6 lies in unit 3";
    EXPECT_EQ(halved.bottom, 5);
    const Rectangle thirds = PixelsToUnits(Rectangle { 0, 0, 1920, 1 }, 3);
    EXPECT_EQ(thirds.right, 640);
    EXPECT_EQ(thirds.bottom, 1) << "a sliver of a unit is the whole unit";
}

} // namespace
