// Random rectangles for the tests that check a bookkeeping of changed areas
// against a pixel-by-pixel model: never empty, always inside the picture.
#pragma once

#include <random>

#include "common/rectangle.h"

// A number in 0 .. n - 1.
inline int RandomBelow(std::mt19937& random, int n) { return int(random() % unsigned(n)); }

// A rectangle of at least one pixel inside a `width` by `height` picture.
inline platform::Rectangle RandomRectangleIn(std::mt19937& random, int width, int height)
{
    const int left = RandomBelow(random, width), top = RandomBelow(random, height);
    return { left, top, left + 1 + RandomBelow(random, width - left), top + 1 + RandomBelow(random, height - top) };
}
