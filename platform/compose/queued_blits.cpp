#include "compose/queued_blits.h"

#include <algorithm>
#include <cstring>

#include "pixels/blitters.h"
#include "pixels/loop_choice.h"

namespace platform::compose {
namespace {

struct Drawing {
    const QueuedData& data;
    const BandTarget& band;
    const Rectangle& area;
    int64_t top, bottom, left, right;

    Rectangle Part() const { return band.InRaster(top, bottom, left, right); }

    void operator()(const FillBlit& fill) const { pixels::FillPixels(band.raster, Part(), fill.raw, band.keepBits); }

    void operator()(const CopyBlit& copy) const
    {
        pixels::CopyPixels(band.raster, Part(), data.sources[copy.source], copy.sourceX + (left - area.left),
            copy.sourceY + (top - area.top), band.keepBits);
    }

    void operator()(const KeyedRun& run) const
    {
        const PixelView& source = data.sources[run.source];
        if (run.stripAt >= 0) {
            const int bytes = source.bytesPerPixel;
            const int width = int(run.stripCopies * run.width);
            // The queue hands out its strips as const data; drawing only reads them.
            const PixelView strip { const_cast<uint8_t*>(data.strips) + run.stripAt, width, int(area.Height()),
                width * bytes, bytes };
            pixels::CopyKeyedPixels(
                band.raster, Part(), strip, left - area.left, top - area.top, run.key, band.keepBits);
            return;
        }
        // Copy by copy, each cut to the part.
        const int64_t sourceY = run.sourceY + (top - area.top);
        for (int64_t x = left; x < right;) {
            const int64_t column = (run.phase + (x - area.left)) % run.width;
            const int64_t to = std::min(right, x + (run.width - column));
            pixels::CopyKeyedPixels(band.raster, band.InRaster(top, bottom, x, to), source, run.sourceX + column,
                sourceY, run.key, band.keepBits);
            x = to;
        }
    }

    void operator()(StretchBlit& stretch) const
    {
        const PixelView& source = data.sources[stretch.source];
        if (stretch.columnsAt < 0) {
            // Moving the destination with the band's rows leaves every target
            // row showing the same source row.
            const Rectangle destination { stretch.destination.left - band.columnOffset,
                stretch.destination.top - band.rowOffset, stretch.destination.right - band.columnOffset,
                stretch.destination.bottom - band.rowOffset };
            pixels::StretchPixels(band.raster, destination, Part(), source, stretch.sourceRect, band.keepBits);
            return;
        }
        const pixels::StretchMap map { stretch.destination, stretch.sourceRect, data.stretchColumns + stretch.columnsAt,
            area.left, area.Width(), data.stretchRows + stretch.rowAt, &stretch.cachedRow };
        pixels::StretchBand(band.Row(top), band.raster.pitch, map, source, top, bottom, left, right, band.keepBits);
    }

    void operator()(const KeyedColumns& columns) const
    {
        const PixelView& source = data.sources[columns.source];
        const pixels::ColumnBand keyed { source.At(columns.sourceX, 0), source.pitch, columns.count,
            data.columns + columns.first };
        pixels::ColumnLayout layout;
        if (columns.loops != nullptr)
            layout = { columns.loops, data.laneGroups + columns.groupsAt, data.vectorGroups + columns.vectorsAt,
                columns.vectors };
        const pixels::PixelLoops& loops
            = columns.loops != nullptr ? *columns.loops : pixels::Loops(band.raster.bytesPerPixel);
        const pixels::ColumnWindow window { band.Row(top) + area.left * band.raster.bytesPerPixel, band.raster.pitch,
            top, bottom, left - area.left, right - area.left, band.keepBits };
        loops.copyKeyedColumns(keyed, layout, window, columns.key);
    }
};

} // namespace

void MakeStrip(const KeyedRun& run, int64_t height, const PixelView& source, uint8_t* strip)
{
    const size_t bytes = size_t(source.bytesPerPixel);
    const size_t rectangleBytes = size_t(run.width) * bytes;
    const size_t rowBytes = rectangleBytes * size_t(run.stripCopies);
    const size_t afterPhase = size_t(run.width - run.phase) * bytes;
    for (int64_t y = 0; y < height; ++y, strip += rowBytes) {
        // The rectangle's row from the run's phase on, then its start.
        const uint8_t* row = source.At(run.sourceX, run.sourceY + y);
        std::memcpy(strip, row + (rectangleBytes - afterPhase), afterPhase);
        std::memcpy(strip + afterPhase, row, rectangleBytes - afterPhase);
        // Doubling what is there: a few long copies rather than many short ones.
        for (size_t filled = rectangleBytes; filled < rowBytes; filled *= 2)
            std::memcpy(strip + filled, strip, std::min(filled, rowBytes - filled));
    }
}

void DrawQueuedBlit(QueuedBlit& blit, const QueuedData& data, const BandTarget& band, int64_t top, int64_t bottom,
    int64_t left, int64_t right)
{
    if (top >= bottom || left >= right) return;
    std::visit(Drawing { data, band, blit.area, top, bottom, left, right }, blit.what);
}

} // namespace platform::compose
