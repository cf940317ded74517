#include "ddraw/column_queue.h"

#include "ddraw/pixel_columns.h"

namespace platform::ddraw {
namespace {

struct QueuedColumn {
    int64_t outX, inX, inY, height;
};

// Enough for any row of columns across a screen; a longer run settles and
// starts again.
constexpr int kCapacity = 1024;

struct ColumnQueue {
    Raster target;
    Raster source;
    uint32_t keyLow = 0;
    uint32_t keyRange = 0;
    int count = 0;
    QueuedColumn columns[kCapacity];
    int64_t outRows[kCapacity]; // where each column's first row lands, as bands want them

    bool Takes(const Raster& to, const Raster& from, uint32_t low, uint32_t range) const
    {
        return count > 0 && count < kCapacity && to.pixels == target.pixels && from.pixels == source.pixels
            && low == keyLow && range == keyRange;
    }

    // Columns next to each other in both rasters, over the same source rows,
    // make a band: no two of its columns share a target pixel.
    bool Continues(const QueuedColumn& column, const QueuedColumn& previous) const
    {
        return column.outX == previous.outX + 1 && column.inX == previous.inX + 1 && column.inY == previous.inY
            && column.height == previous.height;
    }

    void CopyBand(int first, int end)
    {
        const QueuedColumn& head = columns[first];
        const rows::ColumnBand band { target.At(head.outX, 0), target.pitch, source.At(head.inX, head.inY),
            source.pitch, end - first, head.height, outRows + first };
        if (target.bytesPerPixel == 2)
            rows::CopyKeyedColumns16(band, keyLow, keyRange);
        else
            rows::CopyKeyedColumns32(band, keyLow, keyRange);
    }

    // Bands in the order they were asked for, so that where two overlap
    // the later one wins, as if each had been done at once.
    void Settle()
    {
        const int waiting = count;
        count = 0;
        int first = 0;
        for (int i = 1; i <= waiting; ++i) {
            if (i < waiting && Continues(columns[i], columns[i - 1])) continue;
            CopyBand(first, i);
            first = i;
        }
    }
};

ColumnQueue queue;

} // namespace

void QueueKeyedColumn(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY,
    uint32_t keyLow, uint32_t keyHigh)
{
    if (area.IsEmpty()) return;
    // A range given upside down keys its low value alone.
    const uint32_t keyRange = keyHigh >= keyLow ? keyHigh - keyLow : 0;
    if (!queue.Takes(target, source, keyLow, keyRange)) {
        queue.Settle();
        queue.target = target;
        queue.source = source;
        queue.keyLow = keyLow;
        queue.keyRange = keyRange;
    }
    queue.outRows[queue.count] = area.top;
    queue.columns[queue.count++] = { area.left, sourceX, sourceY, area.Height() };
}

void SettleQueuedColumns()
{
    if (queue.count > 0) queue.Settle();
}

void ForgetQueuedColumns() { queue.count = 0; }

} // namespace platform::ddraw
