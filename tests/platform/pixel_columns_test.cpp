// Bands of keyed one-pixel columns, each moved down by its own amount and
// cut at its own ends, against the plain per-pixel rule, whole or in
// windows of rows and columns, with guard pixels around the target, for
// each vector set the processor has and either store method.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "pixels/loops.h"

#include "loop_cases.h"

namespace {

namespace pixels = platform::pixels;

constexpr int kGuard = 5; // pixels on each side of the band, rows above and below it

class ColumnBandTest : public LoopsTest { };
INSTANTIATE_FOR_EVERY_LOOP_CASE(ColumnBandTest);

// The part of the target one call writes: target rows top .. bottom - 1,
// band columns first .. end - 1; bottom and end of -1 reach the end.
struct Window {
    int top = 0, bottom = -1, first = 0, end = -1;
};

// Where each column's source rows land: rows `cut` .. height - 1 - cutEnd
// of column c land on firstRows[c] + row; cut columns start lower or end
// higher, as a column clipped at a target's edge does.
struct Cuts {
    std::vector<int> top, bottom;
};

// Copies a band of `width` columns, `height` rows each, from a random
// source to a random target, through the band loop and through the rule,
// and compares every target pixel, guards included: nothing outside `part`
// may change. Rasters start one byte past a pixel boundary: nothing may
// assume alignment.
template <typename Pixel>
void CheckBand(const pixels::PixelLoops& loops, int width, int height, const std::vector<int64_t>& firstRows,
    uint32_t keyLow, uint32_t keyRange, uint32_t seed, Window part = {}, const Cuts& cuts = {})
{
    SCOPED_TRACE("width " + std::to_string(width) + ", seed " + std::to_string(seed) + ", rows "
        + std::to_string(part.top) + ".." + std::to_string(part.bottom) + ", columns " + std::to_string(part.first)
        + ".." + std::to_string(part.end));
    constexpr int bytes = sizeof(Pixel);
    int lowest = 0;
    for (int64_t row : firstRows)
        lowest = std::max(lowest, int(row));
    const int inWidth = width + 3, inHeight = height + 2;
    const int outWidth = width + 2 * kGuard, outHeight = lowest + height + kGuard;
    if (part.bottom < 0) part.bottom = outHeight;
    if (part.end < 0) part.end = width;
    std::mt19937 random(seed);
    // A third of the pixels are keys or their neighbours.
    auto next = [&]() -> Pixel {
        const uint32_t near[] = { keyLow, keyLow + keyRange, keyLow - 1, keyLow + keyRange + 1 };
        return random() % 3 == 0 ? Pixel(near[random() % 4]) : Pixel(random());
    };
    std::vector<uint8_t> in(size_t(inWidth) * inHeight * bytes + 1), out(size_t(outWidth) * outHeight * bytes + 1);
    for (size_t i = 1; i + bytes <= in.size(); i += bytes) {
        const Pixel value = next();
        std::memcpy(&in[i], &value, bytes);
    }
    for (size_t i = 1; i + bytes <= out.size(); i += bytes) {
        const Pixel value = next();
        std::memcpy(&out[i], &value, bytes);
    }
    std::vector<uint8_t> expected = out;
    const int64_t inPitch = int64_t(inWidth) * bytes, outPitch = int64_t(outWidth) * bytes;
    // The band starts at source column 2, row 1, and at target column kGuard.
    const int64_t inStart = 1 + inPitch + 2 * bytes, outStart = 1 + kGuard * bytes;
    std::vector<pixels::BandColumn> columns(static_cast<size_t>(width));
    for (int c = 0; c < width; ++c) {
        const int cutTop = cuts.top.empty() ? 0 : cuts.top[size_t(c)];
        const int cutBottom = cuts.bottom.empty() ? 0 : cuts.bottom[size_t(c)];
        columns[size_t(c)]
            = { firstRows[c] + cutTop, firstRows[c] + std::max(cutTop, height - cutBottom), firstRows[c] };
        for (int r = cutTop; r < height - cutBottom; ++r) {
            const int64_t row = firstRows[c] + r;
            if (c < part.first || c >= part.end || row < part.top || row >= part.bottom) continue;
            Pixel value;
            std::memcpy(&value, &in[inStart + r * inPitch + c * bytes], bytes);
            if (uint32_t(value) - keyLow > keyRange)
                std::memcpy(&expected[outStart + row * outPitch + c * bytes], &value, bytes);
        }
    }

    const pixels::ColumnBand band { &in[inStart], inPitch, width, columns.data() };
    std::vector<pixels::LaneGroup> groups(size_t(width) + 1);
    std::vector<int32_t> vectorGroups(size_t(width) + 2);
    const pixels::ColumnLayout layout = pixels::LayOutColumns(band, loops, groups.data(), vectorGroups.data());
    const pixels::ColumnWindow window { &out[outStart + part.top * outPitch], outPitch, part.top, part.bottom,
        part.first, part.end };
    loops.copyKeyedColumns(band, layout, window, { keyLow, keyRange });

    for (size_t i = 1; i + bytes <= out.size(); i += bytes)
        if (std::memcmp(&out[i], &expected[i], bytes) != 0) {
            const int64_t pixel = int64_t(i - 1) / bytes;
            FAIL() << "first wrong pixel at column " << pixel % outWidth << ", row " << pixel / outWidth;
        }
}

// Moves as a wave makes them, as random ones, and all alike.
std::vector<std::vector<int64_t>> Shapes(int width, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<int64_t> wave(width), scattered(width), level(width, 3);
    for (int c = 0; c < width; ++c) {
        wave[c] = int64_t(std::lround(20 + 20 * std::sin(c / 9.0)));
        scattered[c] = random() % 41;
    }
    return { wave, scattered, level };
}

const int kWidths[] = { 0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 32, 33, 63, 65, 255, 256, 257, 600 };

TEST_P(ColumnBandTest, Keyed32MatchesTheRuleForEveryShape)
{
    struct Key {
        uint32_t low, range;
    };
    const Key keys[] = { { 0x00FF00FFu, 0 }, { 0x100u, 0x40u }, { 0xFFFFFFF0u, 0xFu } };
    for (const Key& key : keys)
        for (int width : kWidths)
            for (const std::vector<int64_t>& firstRows : Shapes(width, uint32_t(width)))
                CheckBand<uint32_t>(Held(4), width, 7, firstRows, key.low, key.range, uint32_t(width * 31 + key.range));
}

TEST_P(ColumnBandTest, Keyed16MatchesTheRuleForEveryShape)
{
    struct Key {
        uint32_t low, range;
    };
    // The last two reach past 16 bits: no 16-bit value is keyed by the
    // part above, and the vector loops must not wrap it into range.
    const Key keys[] = { { 0xF81Fu, 0 }, { 0x0020u, 0x10u }, { 0xFFF0u, 0x20u }, { 0x1F81Fu, 0 } };
    for (const Key& key : keys)
        for (int width : kWidths)
            for (const std::vector<int64_t>& firstRows : Shapes(width, uint32_t(width) + 7))
                CheckBand<uint16_t>(Held(2), width, 6, firstRows, key.low, key.range, uint32_t(width * 17 + key.low));
}

// Bands of a few rows and runs of columns, as a frame is drawn a band at a
// time around what covers it: every vector may be cut at either side.
TEST_P(ColumnBandTest, AnyWindowOfRowsAndColumns)
{
    const std::vector<int64_t> firstRows = Shapes(70, 5)[0];
    const Window windows[] = { { 0, 8, 0, 70 }, { 13, 21, 0, 70 }, { 20, 36, 3, 29 }, { 0, 60, 17, 18 },
        { 30, 31, 31, 64 }, { 5, 50, 64, 70 }, { 40, 40, 0, 70 }, { 0, 60, 33, 33 } };
    for (const Window& window : windows) {
        CheckBand<uint32_t>(Held(4), 70, 25, firstRows, 0xFF00FF, 0, 11, window);
        CheckBand<uint16_t>(Held(2), 70, 25, firstRows, 0xF81F, 0, 12, window);
    }
}

// Columns that move a row every `step` columns, as a gentle wave does: a
// vector holds from one group to all its lanes' worth, and on most rows
// every group has a source row, the loops' fast case. Windows cut the rows
// where that case starts and ends.
TEST_P(ColumnBandTest, StaircasesOfEveryStep)
{
    for (int step = 1; step <= 33; ++step) {
        std::vector<int64_t> firstRows(100);
        for (int c = 0; c < 100; ++c)
            firstRows[size_t(c)] = (c / step) % 12;
        for (const Window& window : { Window {}, Window { 9, 30, 0, 100 }, Window { 0, 14, 5, 90 } }) {
            CheckBand<uint32_t>(Held(4), 100, 24, firstRows, 0xFF00FF, 0, uint32_t(step), window);
            CheckBand<uint16_t>(Held(2), 100, 24, firstRows, 0xF81F, 0, uint32_t(step) + 50, window);
        }
    }
}

// Columns cut at their own ends, as a program's columns are clipped at the
// top or bottom of the target: each reads its own source rows, and some
// read none. Vectors then hold columns of one shift but other rows.
TEST_P(ColumnBandTest, ColumnsCutAtTheirOwnEnds)
{
    for (int width : { 9, 33, 70 }) {
        const std::vector<int64_t> firstRows = Shapes(width, 9)[0];
        Cuts cuts { std::vector<int>(size_t(width)), std::vector<int>(size_t(width)) };
        for (int c = 0; c < width; ++c) {
            cuts.top[size_t(c)] = c % 5 == 0 ? 0 : (c * 7) % 13;
            cuts.bottom[size_t(c)] = c % 4 == 0 ? 0 : (c * 3) % 11;
        }
        // Neighbours alike in shift and cut, so that groups span lanes.
        for (int c = 1; c < width; c += 3)
            cuts.top[size_t(c)] = cuts.top[size_t(c - 1)], cuts.bottom[size_t(c)] = cuts.bottom[size_t(c - 1)];
        for (const Window& window : { Window {}, Window { 10, 30, 2, width - 1 } }) {
            CheckBand<uint32_t>(Held(4), width, 20, firstRows, 0xFF00FF, 0, uint32_t(width), window, cuts);
            CheckBand<uint16_t>(Held(2), width, 20, firstRows, 0xF81F, 0, uint32_t(width) + 1, window, cuts);
        }
    }
}

TEST_P(ColumnBandTest, TallBandsAndEmptyOnes)
{
    const std::vector<int64_t> firstRows = Shapes(40, 3)[0];
    CheckBand<uint32_t>(Held(4), 40, 300, firstRows, 0xFF00FF, 0, 1);
    CheckBand<uint16_t>(Held(2), 40, 300, firstRows, 0xF81F, 0, 2);
    CheckBand<uint32_t>(Held(4), 40, 0, firstRows, 0xFF00FF, 0, 3);
    CheckBand<uint16_t>(Held(2), 40, 1, firstRows, 0xF81F, 0, 4);
}

} // namespace
