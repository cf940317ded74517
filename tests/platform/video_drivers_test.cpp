// Which of SDL's video drivers the desktop host tries, in what order, and
// whose failures it tells.
#include "host/sdl/video_drivers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::host::AnyDriverExpected;
using platform::host::DesktopNames;
using platform::host::DriverExpected;
using platform::host::VideoDriverOrder;

// SDL 2.26's drivers on Debian, in its order of preference.
const std::vector<std::string> kDebianDrivers = { "x11", "wayland", "KMSDRM", "offscreen", "dummy", "evdev" };

TEST(VideoDriverOrder, SdlsOwnOrderWithoutTheDriversThatShowNothing)
{
    const std::vector<std::string> expected = { "x11", "wayland", "KMSDRM" };
    EXPECT_EQ(VideoDriverOrder(nullptr, kDebianDrivers), expected);
    EXPECT_EQ(VideoDriverOrder("", kDebianDrivers), expected);
}

TEST(VideoDriverOrder, TheUsersChoiceFirstThenTheOthersAsFallbacks)
{
    EXPECT_EQ(VideoDriverOrder("wayland", kDebianDrivers), (std::vector<std::string> { "wayland", "x11", "KMSDRM" }));
    // Any case, SDL's spelling kept; a list in the user's order; names
    // given twice or unknown to SDL count once or not at all.
    EXPECT_EQ(VideoDriverOrder("kmsdrm,Wayland,kmsdrm,mir", kDebianDrivers),
        (std::vector<std::string> { "KMSDRM", "wayland", "x11" }));
    // A trailing or doubled comma names nothing.
    EXPECT_EQ(VideoDriverOrder("wayland,,", kDebianDrivers), (std::vector<std::string> { "wayland", "x11", "KMSDRM" }));
}

TEST(VideoDriverOrder, DriversThatShowNothingAreNeverTriedWhoeverNamesThem)
{
    // A window on them would run on where nobody sees it.
    EXPECT_EQ(VideoDriverOrder("dummy,offscreen,EVDEV", kDebianDrivers),
        (std::vector<std::string> { "x11", "wayland", "KMSDRM" }));
    EXPECT_TRUE(VideoDriverOrder("dummy", { "dummy", "offscreen" }).empty());
    EXPECT_TRUE(VideoDriverOrder("wayland", {}).empty()) << "an SDL without video drivers";
}

TEST(DriverExpected, OnlyTheDriversTheEnvironmentNamesAreExpectedToStart)
{
    const DesktopNames nativeWayland { nullptr, nullptr, "wayland-0" };
    EXPECT_TRUE(DriverExpected("wayland", nativeWayland));
    EXPECT_FALSE(DriverExpected("x11", nativeWayland)) << "no X server on the way to the compositor is no news";
    EXPECT_FALSE(DriverExpected("KMSDRM", nativeWayland));

    const DesktopNames xWayland { nullptr, ":0", "wayland-1" };
    EXPECT_TRUE(DriverExpected("x11", xWayland));
    EXPECT_TRUE(DriverExpected("wayland", xWayland));

    const DesktopNames chosen { "KMSDRM,Wayland", "", "" };
    EXPECT_TRUE(DriverExpected("KMSDRM", chosen));
    EXPECT_TRUE(DriverExpected("wayland", chosen)) << "named in any case";
    EXPECT_FALSE(DriverExpected("x11", chosen)) << "an empty DISPLAY names no server";
}

TEST(DriverExpected, NothingNamedNothingExpected)
{
    EXPECT_FALSE(AnyDriverExpected(DesktopNames {}));
    EXPECT_FALSE(AnyDriverExpected(DesktopNames { "", "", "" }));
    EXPECT_TRUE(AnyDriverExpected(DesktopNames { nullptr, ":1", nullptr }));
    EXPECT_TRUE(AnyDriverExpected(DesktopNames { nullptr, nullptr, "wayland-0" }));
    EXPECT_TRUE(AnyDriverExpected(DesktopNames { "wayland", nullptr, nullptr }));
}

} // namespace
