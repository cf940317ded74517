#include "pixels/column_vectors.h"

#include <algorithm>
#include <climits>

namespace platform::pixels {
namespace {

bool SameRows(const BandColumn& a, const BandColumn& b)
{
    return a.top == b.top && a.bottom == b.bottom && a.shift == b.shift;
}

} // namespace

ColumnLayout LayOutColumns(const ColumnBand& band, const PixelLoops& loops, LaneGroup* groups, int32_t* vectorGroups)
{
    ColumnLayout layout { &loops, groups, vectorGroups, 0 };
    const int64_t lanes = loops.columnLanes;
    vectorGroups[0] = 0;
    if (lanes <= 0) return layout;
    layout.vectors = loops.partialColumnVectors ? (band.width + lanes - 1) / lanes : band.width / lanes;
    int32_t used = 0;
    for (int64_t vector = 0; vector < layout.vectors; ++vector) {
        vectorGroups[vector] = used;
        for (int64_t lane = 0; lane < std::min(lanes, band.width - vector * lanes); ++lane) {
            const BandColumn& column = band.columns[vector * lanes + lane];
            int32_t group = vectorGroups[vector];
            while (group < used && !SameRows(groups[group].rows, column))
                ++group;
            if (group == used) groups[used++] = { column, 0 };
            groups[group].lanes |= uint32_t(1) << lane;
        }
    }
    vectorGroups[layout.vectors] = used;
    return layout;
}

WindowVectors VectorsIn(const ColumnLayout& layout, const ColumnWindow& window, int64_t lanes)
{
    return { window.first / lanes, std::min((window.end + lanes - 1) / lanes, layout.vectors) };
}

WindowVector VectorOfWindow(const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window,
    int64_t vector, int64_t lanes, int64_t bytesPerPixel)
{
    WindowVector part;
    // The lanes of the window's columns in this vector.
    const int64_t start = vector * lanes;
    const int64_t from = std::max<int64_t>(window.first - start, 0), to = std::min(window.end - start, lanes);
    const uint32_t trim = uint32_t(((uint64_t(1) << to) - 1) & ~((uint64_t(1) << from) - 1));
    int64_t top = INT64_MAX, bottom = INT64_MIN;
    for (int32_t g = layout.vectorGroups[vector]; g < layout.vectorGroups[vector + 1]; ++g) {
        const LaneGroup& group = layout.groups[g];
        const BandColumn rows { std::max(group.rows.top, window.top), std::min(group.rows.bottom, window.bottom),
            group.rows.shift };
        if ((group.lanes & trim) == 0 || rows.top >= rows.bottom) continue;
        part.lanes[part.groups] = group.lanes & trim;
        part.rows[part.groups++] = rows;
        top = std::min(top, rows.top);
        bottom = std::max(bottom, rows.bottom);
    }
    part.top = part.groups == 0 ? window.top : top;
    part.bottom = part.groups == 0 ? window.top : bottom;
    part.in = band.in + start * bytesPerPixel;
    part.out = window.out + (part.top - window.top) * window.outPitch + start * bytesPerPixel;
    return part;
}

RowRange RowsWithEveryGroup(const WindowVector& part)
{
    RowRange rows { part.top, part.bottom };
    for (int g = 0; g < part.groups; ++g) {
        rows.from = std::max(rows.from, part.rows[g].top);
        rows.to = std::min(rows.to, part.rows[g].bottom);
    }
    return rows;
}

} // namespace platform::pixels
