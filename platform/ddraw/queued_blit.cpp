#include "ddraw/queued_blit.h"

#include <algorithm>
#include <cstring>

namespace platform::ddraw {
namespace {

uint32_t KeyHigh(const QueuedBlit& blit) { return blit.value + blit.keyRange; }

void DrawTiles(const QueuedBlit& blit, const QueuedData& data, const BandTarget& band, int64_t top, int64_t bottom,
    int64_t left, int64_t right)
{
    const int64_t sourceY = blit.sourceY + (top - blit.area.top);
    if (blit.madeAt >= 0) {
        CopyKeyedPixels(band.raster, band.InRaster(top, bottom, left, right), TileStrip(blit, data),
            left - blit.area.left, top - blit.area.top, blit.value, KeyHigh(blit), band.keepBits);
        return;
    }
    for (int64_t tile = (left - blit.area.left) / blit.tileWidth; tile < blit.count; ++tile) {
        const int64_t tileLeft = blit.area.left + tile * blit.tileWidth;
        if (tileLeft >= right) break;
        const int64_t from = std::max(left, tileLeft), to = std::min(right, tileLeft + blit.tileWidth);
        CopyKeyedPixels(band.raster, band.InRaster(top, bottom, from, to), data.sources[blit.source],
            blit.sourceX + (from - tileLeft), sourceY, blit.value, KeyHigh(blit), band.keepBits);
    }
}

void DrawStretch(const QueuedBlit& blit, const QueuedData& data, const BandTarget& band, int64_t top, int64_t bottom,
    int64_t left, int64_t right)
{
    QueuedStretch& stretch = data.stretches[blit.first];
    const Raster& source = data.sources[blit.source];
    if (blit.madeAt < 0) {
        // Moving the destination with the band's rows leaves every target
        // row showing the same source row.
        const Span2D destination { stretch.destination.left - band.columnOffset,
            stretch.destination.top - band.rowOffset, stretch.destination.right - band.columnOffset,
            stretch.destination.bottom - band.rowOffset };
        StretchPixels(band.raster, destination, band.InRaster(top, bottom, left, right), source, stretch.sourceRect,
            band.keepBits);
        return;
    }
    const StretchMap map { stretch.destination, stretch.sourceRect, data.stretchColumns + blit.madeAt, blit.area.left,
        blit.area.Width(), data.stretchRows + stretch.rowAt, &stretch.cachedRow };
    StretchBand(band.Row(top), band.raster.pitch, map, source, top, bottom, left, right, band.keepBits);
}

void DrawColumns(const QueuedBlit& blit, const QueuedData& data, const BandTarget& band, int64_t top, int64_t bottom,
    int64_t left, int64_t right)
{
    const Raster& source = data.sources[blit.source];
    const rows::ColumnBand columns { source.At(blit.sourceX, blit.sourceY), source.pitch, blit.count, blit.columnHeight,
        data.columnRows + blit.first };
    rows::ColumnLayout layout;
    if (blit.madeAt >= 0)
        layout = { blit.lanes, data.laneGroups + blit.madeAt, data.vectorGroups + blit.madeAlsoAt, blit.vectors };
    const rows::ColumnWindow window { band.Row(top) + blit.area.left * band.raster.bytesPerPixel, band.raster.pitch,
        top, bottom, left - blit.area.left, right - blit.area.left, band.keepBits };
    if (band.raster.bytesPerPixel == 2)
        rows::CopyKeyedColumns16(columns, layout, window, blit.value, blit.keyRange);
    else
        rows::CopyKeyedColumns32(columns, layout, window, blit.value, blit.keyRange);
}

} // namespace

Raster TileStrip(const QueuedBlit& blit, const QueuedData& data)
{
    const int bytes = data.sources[blit.source].bytesPerPixel;
    const int width = int(blit.madeAlsoAt * blit.tileWidth);
    // The queue hands out its strips as const data; drawing only reads them.
    return Raster { const_cast<uint8_t*>(data.strips) + blit.madeAt, width, int(blit.area.Height()), width * bytes,
        bytes };
}

void MakeTileStrip(const QueuedBlit& blit, const QueuedData& data, uint8_t* strip)
{
    const Raster& source = data.sources[blit.source];
    const size_t tileBytes = size_t(blit.tileWidth) * size_t(source.bytesPerPixel);
    const size_t rowBytes = tileBytes * size_t(blit.madeAlsoAt);
    for (int64_t y = 0; y < blit.area.Height(); ++y, strip += rowBytes) {
        std::memcpy(strip, source.At(blit.sourceX, blit.sourceY + y), tileBytes);
        // Doubling what is there: a few long copies rather than many short ones.
        for (size_t filled = tileBytes; filled < rowBytes; filled *= 2)
            std::memcpy(strip + filled, strip, std::min(filled, rowBytes - filled));
    }
}

void DrawQueuedBlit(const QueuedBlit& blit, const QueuedData& data, const BandTarget& band, int64_t top, int64_t bottom,
    int64_t left, int64_t right)
{
    if (top >= bottom || left >= right) return;
    switch (blit.kind) {
    case BlitKind::Fill:
        FillPixels(band.raster, band.InRaster(top, bottom, left, right), blit.value, band.keepBits);
        break;
    case BlitKind::Copy:
        CopyPixels(band.raster, band.InRaster(top, bottom, left, right), data.sources[blit.source],
            blit.sourceX + (left - blit.area.left), blit.sourceY + (top - blit.area.top), band.keepBits);
        break;
    case BlitKind::Keyed:
        DrawTiles(blit, data, band, top, bottom, left, right);
        break;
    case BlitKind::Stretch:
        DrawStretch(blit, data, band, top, bottom, left, right);
        break;
    case BlitKind::Columns:
        DrawColumns(blit, data, band, top, bottom, left, right);
        break;
    }
}

} // namespace platform::ddraw
