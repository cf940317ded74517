#include "ddraw/blit_queue.h"

#include <algorithm>
#include <new>
#include <vector>

#include "ddraw/covered_spans.h"
#include "ddraw/queued_blit.h"
#include "ddraw/store_kinds.h"

namespace platform::ddraw {
namespace {

// A band holds this many bytes of target rows, leaving most of the
// first-level cache to what is drawn into it.
constexpr int64_t kBandBytes = 40 * 1024;
constexpr int kMaxBandShift = 6;
// More than this many waiting blits, sources or columns settle the queue
// and start it again.
constexpr size_t kMaxBlits = 4096;
constexpr size_t kMaxSources = 64;
constexpr size_t kMaxColumns = 8192;
// The parts a blit can show as in a band: around each covered span.
constexpr size_t kPiecesPerBlit = 9;

// What a band of rows shows of one blit: its columns left .. right - 1.
struct Piece {
    size_t blit;
    int64_t left;
    int64_t right;
};

// Room for `count` elements, or false when there is no memory for it.
// Everything drawing needs is reserved while blits are taken, so that
// drawing them never allocates.
template <typename T> bool Reserve(std::vector<T>& items, size_t count)
{
    if (count <= items.capacity()) return true;
    try {
        items.reserve(std::max(count, 2 * items.capacity()));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Resizes within what Reserve made room for; false when that was not enough.
template <typename T> bool GrowWithin(std::vector<T>& items, size_t count)
{
    if (count > items.capacity()) return false;
    items.resize(count);
    return true;
}

class BlitQueue {
public:
    bool Fill(const Raster& target, const Span2D& area, uint32_t raw)
    {
        if (!Accept(target, area, true)) return false;
        QueuedBlit blit;
        blit.kind = BlitKind::Fill;
        blit.area = area;
        blit.value = raw;
        return Add(blit);
    }

    bool Copy(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY)
    {
        if (!Accept(target, area, true)) return false;
        QueuedBlit blit;
        blit.kind = BlitKind::Copy;
        blit.area = area;
        blit.sourceX = sourceX;
        blit.sourceY = sourceY;
        return FindSource(source, blit.source) && Add(blit);
    }

    bool Keyed(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY,
        uint32_t keyLow, uint32_t keyHigh)
    {
        // A range given upside down keys its low value alone.
        const uint32_t keyRange = keyHigh >= keyLow ? keyHigh - keyLow : 0;
        const bool column = area.Width() == 1;
        // The common case, a tile or column next to the one before it, is
        // decided first, before anything new is made.
        if (target.pixels == target_.pixels && blits_.size() > prepared_) {
            QueuedBlit& last = blits_.back();
            if (last.source >= 0 && sources_[size_t(last.source)].pixels == source.pixels && last.value == keyLow
                && last.keyRange == keyRange
                && (column ? JoinColumn(last, area, sourceX, sourceY) : JoinTile(last, area, sourceX, sourceY)))
                return true;
        }
        if (column && columnRows_.size() >= kMaxColumns) Settle();
        if (!Accept(target, area, false)) return false;
        QueuedBlit blit;
        blit.kind = column ? BlitKind::Columns : BlitKind::Keyed;
        blit.area = area;
        blit.sourceX = sourceX;
        blit.sourceY = sourceY;
        blit.value = keyLow;
        blit.keyRange = keyRange;
        if (!FindSource(source, blit.source)) return false;
        if (column) return AddColumn(blit);
        blit.tileWidth = area.Width();
        return Add(blit);
    }

    bool Stretch(const Raster& target, const Span2D& destination, const Span2D& visible, const Raster& source,
        const Span2D& sourceRect)
    {
        if (!Accept(target, visible, true)) return false;
        QueuedBlit blit;
        blit.kind = BlitKind::Stretch;
        blit.area = visible;
        blit.first = int64_t(stretches_.size());
        if (!FindSource(source, blit.source) || !Reserve(stretches_, stretches_.size() + 1)
            || !Reserve(stretchColumns_, stretchColumnCount_ + size_t(visible.Width()))
            || !Reserve(stretchRows_, stretchRowBytes_ + size_t(visible.Width()) * size_t(target.bytesPerPixel))
            || !Add(blit))
            return false;
        stretchRows_.resize(stretchRows_.capacity());
        const size_t rowBytes = size_t(visible.Width()) * size_t(target.bytesPerPixel);
        stretches_.push_back({ destination, sourceRect, int64_t(stretchRowBytes_), -1 });
        stretchColumnCount_ += size_t(visible.Width());
        stretchRowBytes_ += rowBytes;
        return true;
    }

    bool CopyOut(const Raster& out, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY,
        uint32_t keepBits)
    {
        if (blits_.empty() || source.pixels != target_.pixels) return false;
        if (IsSource(out.pixels)) {
            Settle();
            return false;
        }
        Prepare();
        const int64_t bottom = sourceY + area.Height(), right = sourceX + area.Width();
        const int64_t firstBand = sourceY >> bandShift_, endBand = ((bottom - 1) >> bandShift_) + 1;
        SortIntoBands(firstBand, endBand);
        const rows::StoreKind kind = rows::StoreKindForCopy(area.Width(), area.Height(), out.bytesPerPixel);
        // With ordinary stores, bands of whole rows are drawn straight into
        // the copy's target; streaming stores want whole lines written once.
        const bool direct = kind == rows::StoreKind::Ordinary && sourceX == 0 && area.Width() == target_.width;
        for (int64_t band = firstBand; band < endBand; ++band) {
            const int64_t top = std::max(band << bandShift_, sourceY);
            const int64_t end = std::min((band + 1) << bandShift_, bottom);
            uint8_t* outRow = out.At(area.left, area.top + (top - sourceY));
            const BandTarget drawn = DrawBandFor(band, firstBand, top, end, sourceX, right, kind, direct,
                BandTarget { out, sourceY - area.top, sourceX - area.left, keepBits });
            if (drawn.raster.pixels == out.pixels) continue;
            for (int64_t y = top; y < end; ++y, outRow += out.pitch)
                rows::CopyRowWith(kind, outRow, drawn.raster.At(sourceX, y - drawn.rowOffset), area.Width(),
                    out.bytesPerPixel, keepBits);
        }
        rows::FinishStores(kind);
        return true;
    }

    // Settles the bands of target rows top .. bottom - 1.
    void SettleRows(const uint8_t* memory, int64_t top, int64_t bottom)
    {
        if (blits_.empty() || memory != target_.pixels || top >= bottom) return;
        Prepare();
        const int64_t firstBand = top >> bandShift_, endBand = ((bottom - 1) >> bandShift_) + 1;
        SortIntoBands(firstBand, endBand);
        for (int64_t band = firstBand; band < endBand; ++band)
            SettleBand(band, firstBand);
    }

    bool Reads(const uint8_t* memory) const { return !blits_.empty() && memory != nullptr && IsSource(memory); }

    void SettleFor(const uint8_t* memory)
    {
        if (!blits_.empty() && memory != nullptr && (memory == target_.pixels || IsSource(memory))) Settle();
    }

    void Freeing(const uint8_t* memory)
    {
        if (memory == nullptr || memory != target_.pixels) {
            SettleFor(memory);
            return;
        }
        Clear();
        target_ = {};
    }

    void Forget()
    {
        Clear();
        target_ = {};
    }

    void Settle()
    {
        if (blits_.empty()) return;
        Prepare();
        const int64_t bands = int64_t(settled_.size());
        SortIntoBands(0, bands);
        for (int64_t band = 0; band < bands; ++band)
            SettleBand(band, 0);
        Clear();
    }

    bool wait = true;

private:
    // Makes `target` the queue's one target, settling another's blits, with
    // room for one more blit. An opaque blit that covers the whole target
    // hides every blit before it: they are dropped.
    bool Accept(const Raster& target, const Span2D& area, bool opaque)
    {
        if (!wait) return false;
        if (target.pixels != target_.pixels) {
            Settle();
            if (!UseTarget(target)) return false;
        }
        if (blits_.size() >= kMaxBlits) Settle();
        if (opaque && area.left <= 0 && area.top <= 0 && area.right >= target.width && area.bottom >= target.height)
            Clear();
        return true;
    }

    bool UseTarget(const Raster& target)
    {
        target_ = {};
        const int64_t rowBytes = int64_t(target.width) * target.bytesPerPixel;
        // A power of two, so that finding a row's band is a shift.
        int bandShift = 0;
        while (bandShift < kMaxBandShift && (rowBytes << (bandShift + 1)) <= kBandBytes)
            ++bandShift;
        const int64_t bandRows = int64_t(1) << bandShift;
        const int64_t bands = (target.height + bandRows - 1) / bandRows;
        if (!Reserve(bandStarts_, size_t(bands) + 2) || !Reserve(scratch_, size_t(bandRows * rowBytes) + 64)
            || !Reserve(settled_, size_t(bands)))
            return false;
        settled_.assign(size_t(bands), 0);
        scratch_.resize(scratch_.capacity());
        target_ = target;
        bandRows_ = bandRows;
        bandShift_ = bandShift;
        return true;
    }

    bool FindSource(const Raster& source, int32_t& index)
    {
        for (size_t i = 0; i < sources_.size(); ++i)
            if (sources_[i].pixels == source.pixels) {
                index = int32_t(i);
                return true;
            }
        if (sources_.size() >= kMaxSources || !Reserve(sources_, sources_.size() + 1)) return false;
        index = int32_t(sources_.size());
        sources_.push_back(source);
        return true;
    }

    bool IsSource(const uint8_t* memory) const
    {
        return std::any_of(
            sources_.begin(), sources_.end(), [&](const Raster& source) { return source.pixels == memory; });
    }

    int64_t BandsSpanned(const Span2D& area) const
    {
        return ((area.bottom - 1) >> bandShift_) - (area.top >> bandShift_) + 1;
    }

    bool Add(const QueuedBlit& blit)
    {
        const size_t spans = size_t(BandsSpanned(blit.area));
        if (!Reserve(blits_, blits_.size() + 1) || !Reserve(entries_, entrySpans_ + spans)
            || !Reserve(pieces_, (blits_.size() + 1) * kPiecesPerBlit))
            return false;
        blits_.push_back(blit);
        entrySpans_ += spans;
        return true;
    }

    // The same picture just to the right of the row of tiles before it, on
    // the same rows: the row grows by one tile.
    bool JoinTile(QueuedBlit& last, const Span2D& area, int64_t sourceX, int64_t sourceY)
    {
        if (last.kind != BlitKind::Keyed || last.sourceX != sourceX || last.sourceY != sourceY
            || last.tileWidth != area.Width() || last.area.top != area.top || last.area.bottom != area.bottom
            || last.area.right != area.left)
            return false;
        const size_t tileBytes = size_t(area.Width() * area.Height()) * size_t(target_.bytesPerPixel);
        const size_t stripBytes = stripBytes_ + (last.count == 1 ? 2 * tileBytes : tileBytes);
        if (stripBytes > strips_.size()) {
            if (!Reserve(strips_, stripBytes)) return false;
            // Sized at once: strips are made without clearing them first.
            strips_.resize(strips_.capacity());
        }
        stripBytes_ = stripBytes;
        ++last.count;
        last.area.right = area.right;
        return true;
    }

    // The next source column, over the same source rows, just to the right
    // of the band of columns before it: the band grows by one column,
    // however it moves.
    bool JoinColumn(QueuedBlit& last, const Span2D& area, int64_t sourceX, int64_t sourceY)
    {
        if (last.kind != BlitKind::Columns || last.area.right != area.left || last.sourceX + last.count != sourceX
            || last.sourceY != sourceY || last.columnHeight != area.Height() || columnRows_.size() >= kMaxColumns
            || !ReserveColumn())
            return false;
        const Span2D grown { last.area.left, std::min(last.area.top, area.top), area.right,
            std::max(last.area.bottom, area.bottom) };
        const size_t spans = entrySpans_ + size_t(BandsSpanned(grown) - BandsSpanned(last.area));
        if (!Reserve(entries_, spans)) return false;
        entrySpans_ = spans;
        last.area = grown;
        ++last.count;
        columnRows_.push_back(area.top);
        return true;
    }

    bool ReserveColumn()
    {
        const size_t columns = columnRows_.size() + 1;
        if (columns <= columnRows_.capacity() && columns <= laneGroups_.capacity()
            && 2 * columns <= vectorGroups_.capacity())
            return true;
        return Reserve(columnRows_, columns) && Reserve(laneGroups_, columns) && Reserve(vectorGroups_, 2 * columns);
    }

    bool AddColumn(QueuedBlit& column)
    {
        column.first = int64_t(columnRows_.size());
        column.columnHeight = column.area.Height();
        if (!ReserveColumn() || !Add(column)) return false;
        columnRows_.push_back(column.area.top);
        return true;
    }

    QueuedData Data()
    {
        return { sources_.data(), columnRows_.data(), stretches_.data(), stretchRows_.data(), strips_.data(),
            stretchColumns_.data(), laneGroups_.data(), vectorGroups_.data() };
    }

    // What the blits taken since the last drawing need: strips of tiles,
    // a stretch's source columns, a band of columns' vector layout.
    void Prepare()
    {
        for (size_t i = prepared_; i < blits_.size(); ++i) {
            QueuedBlit& blit = blits_[i];
            const size_t bytes = size_t(target_.bytesPerPixel);
            if (blit.kind == BlitKind::Keyed && blit.count > 1) {
                MakeStrip(i, bytes);
            } else if (blit.kind == BlitKind::Stretch) {
                const size_t at = stretchColumns_.size();
                if (!GrowWithin(stretchColumns_, at + size_t(blit.area.Width()))) continue;
                const QueuedStretch& stretch = stretches_[size_t(blit.first)];
                MapStretchColumns(
                    stretch.destination, stretch.sourceRect, blit.area.left, blit.area.right, &stretchColumns_[at]);
                blit.madeAt = int64_t(at);
            } else if (blit.kind == BlitKind::Columns) {
                LayOut(blit);
            }
        }
        prepared_ = blits_.size();
    }

    // Rows of the same tiles, drawn one after the other, share a strip.
    void MakeStrip(size_t index, size_t bytes)
    {
        constexpr size_t kLookBack = 64;
        QueuedBlit& blit = blits_[index];
        for (size_t i = index; i > 0 && i + kLookBack > index; --i) {
            const QueuedBlit& made = blits_[i - 1];
            if (made.kind == BlitKind::Keyed && made.madeAt >= 0 && made.source == blit.source
                && made.sourceX == blit.sourceX && made.sourceY == blit.sourceY && made.tileWidth == blit.tileWidth
                && made.area.Height() == blit.area.Height() && made.madeAlsoAt >= blit.count) {
                blit.madeAt = made.madeAt;
                blit.madeAlsoAt = made.madeAlsoAt;
                return;
            }
        }
        const size_t at = stripsUsed_, size = size_t(blit.count * blit.tileWidth * blit.area.Height()) * bytes;
        if (at + size > strips_.size()) return;
        stripsUsed_ += size;
        blit.madeAt = int64_t(at);
        blit.madeAlsoAt = blit.count;
        MakeTileStrip(blit, Data(), strips_.data() + at);
    }

    void LayOut(QueuedBlit& blit)
    {
        const int64_t lanes = rows::ColumnLanes(target_.bytesPerPixel, blit.value, blit.keyRange);
        const size_t groupsAt = laneGroups_.size(), vectorsAt = vectorGroups_.size();
        if (lanes == 0 || !GrowWithin(laneGroups_, groupsAt + size_t(blit.count))
            || !GrowWithin(vectorGroups_, vectorsAt + size_t(blit.count / lanes) + 2))
            return;
        const Raster& source = sources_[size_t(blit.source)];
        const rows::ColumnBand band { source.At(blit.sourceX, blit.sourceY), source.pitch, blit.count,
            blit.columnHeight, columnRows_.data() + blit.first };
        const int64_t vectors = LayOutColumns(band, lanes, &laneGroups_[groupsAt], &vectorGroups_[vectorsAt]);
        vectorGroups_.resize(vectorsAt + size_t(vectors) + 1);
        laneGroups_.resize(groupsAt + size_t(vectorGroups_.back()));
        blit.vectors = vectors;
        blit.madeAt = int64_t(groupsAt);
        blit.madeAlsoAt = int64_t(vectorsAt);
        blit.lanes = lanes;
    }

    // Lists, for each band from firstBand up to endBand, the blits that
    // touch its rows, in the order they were taken (a counting sort).
    void SortIntoBands(int64_t firstBand, int64_t endBand)
    {
        const int64_t count = endBand - firstBand;
        bandStarts_.assign(size_t(count) + 2, 0);
        auto forEachBand = [&](const Span2D& area, auto visit) {
            const int64_t from = std::max(firstBand, area.top >> bandShift_);
            const int64_t to = std::min(endBand, ((area.bottom - 1) >> bandShift_) + 1);
            for (int64_t band = from; band < to; ++band)
                visit(size_t(band - firstBand));
        };
        for (const QueuedBlit& blit : blits_)
            forEachBand(blit.area, [&](size_t band) { ++bandStarts_[band + 2]; });
        for (size_t i = 2; i < bandStarts_.size(); ++i)
            bandStarts_[i] += bandStarts_[i - 1];
        entries_.resize(bandStarts_.back());
        for (size_t i = 0; i < blits_.size(); ++i)
            forEachBand(blits_[i].area, [&](size_t band) { entries_[bandStarts_[band + 1]++] = i; });
    }

    // Fills pieces_ with what band `band` (of the last SortIntoBands) shows
    // of its blits from `from` on, in target rows top .. bottom - 1, columns
    // left .. right - 1, last blit first. True when some of those columns
    // are covered by no opaque blit: there the band shows what its memory
    // holds.
    bool FindPieces(int64_t band, int64_t top, int64_t bottom, int64_t left, int64_t right, size_t from)
    {
        pieces_.clear();
        CoveredSpans covered(left, right);
        for (size_t k = bandStarts_[size_t(band) + 1]; k > bandStarts_[size_t(band)]; --k) {
            const size_t index = entries_[k - 1];
            if (index < from) break;
            const QueuedBlit& blit = blits_[index];
            if (blit.area.top >= bottom || blit.area.bottom <= top) continue;
            const int64_t from = std::max(blit.area.left, left), to = std::min(blit.area.right, right);
            if (from >= to) continue;
            covered.ForEachUncovered(from, to, [&](int64_t a, int64_t b) { pieces_.push_back({ index, a, b }); });
            if (blit.Opaque() && blit.area.top <= top && blit.area.bottom >= bottom) {
                covered.Cover(from, to);
                if (covered.CoversAll()) return false;
            }
        }
        return true;
    }

    bool IsOneFill() const { return pieces_.size() == 1 && blits_[pieces_[0].blit].kind == BlitKind::Fill; }

    // Draws what waits for a whole band into the target's memory: from then
    // on the band's memory holds it, and those blits are not drawn there
    // again (something, such as GDI, may have drawn over them since).
    void SettleBand(int64_t band, int64_t firstBand)
    {
        const int64_t top = band << bandShift_, bottom = std::min<int64_t>(top + bandRows_, target_.height);
        FindPieces(band - firstBand, top, bottom, 0, target_.width, settled_[size_t(band)]);
        DrawPieces(BandTarget { target_ }, top, bottom);
        settled_[size_t(band)] = blits_.size();
    }

    // Rows top .. bottom - 1, columns left .. right - 1 of band `band` for a
    // copy out: drawn in the target's memory where the band shows some of it,
    // else in `direct` (the copy's own target) or in the scratch band.
    // Returns where they were drawn; nothing is drawn for a band that is one
    // fill, whose rows are filled in `direct`'s raster at once.
    BandTarget DrawBandFor(int64_t band, int64_t firstBand, int64_t top, int64_t bottom, int64_t left, int64_t right,
        rows::StoreKind kind, bool drawDirect, const BandTarget& direct)
    {
        if (FindPieces(band - firstBand, top, bottom, left, right, settled_[size_t(band)])) {
            SettleBand(band, firstBand);
            return BandTarget { target_ };
        }
        if (IsOneFill()) {
            const Raster& out = direct.raster;
            const uint32_t value = blits_[pieces_[0].blit].value;
            for (int64_t y = top; y < bottom; ++y)
                rows::FillRowWith(kind, out.At(left - direct.columnOffset, y - direct.rowOffset), right - left,
                    out.bytesPerPixel, out.bytesPerPixel == 2 ? value : value & direct.keepBits);
            return direct;
        }
        const BandTarget drawn = drawDirect ? direct : BandTarget { Scratch(), top };
        DrawPieces(drawn, top, bottom);
        return drawn;
    }

    void DrawPieces(const BandTarget& band, int64_t top, int64_t bottom)
    {
        const QueuedData data = Data();
        for (size_t i = pieces_.size(); i > 0; --i) {
            const Piece& piece = pieces_[i - 1];
            const QueuedBlit& blit = blits_[piece.blit];
            DrawQueuedBlit(blit, data, band, std::max(top, blit.area.top), std::min(bottom, blit.area.bottom),
                piece.left, piece.right);
        }
    }

    Raster Scratch()
    {
        uint8_t* start = scratch_.data();
        start += (64 - reinterpret_cast<uintptr_t>(start) % 64) % 64;
        const int pitch = target_.width * target_.bytesPerPixel;
        return Raster { start, target_.width, int(bandRows_), pitch, target_.bytesPerPixel };
    }

    void Clear()
    {
        blits_.clear();
        sources_.clear();
        columnRows_.clear();
        stretches_.clear();
        stripsUsed_ = 0;
        stretchColumns_.clear();
        laneGroups_.clear();
        vectorGroups_.clear();
        prepared_ = 0;
        std::fill(settled_.begin(), settled_.end(), 0);
        entrySpans_ = 0;
        stripBytes_ = 0;
        stretchColumnCount_ = 0;
        stretchRowBytes_ = 0;
    }

    Raster target_;
    int64_t bandRows_ = 1;
    int bandShift_ = 0;
    std::vector<QueuedBlit> blits_;
    size_t prepared_ = 0; // blits_ before this have what drawing needs, and take no more tiles or columns
    std::vector<Raster> sources_;
    std::vector<int64_t> columnRows_;
    std::vector<QueuedStretch> stretches_;
    // Made by Prepare, within room reserved as blits were taken.
    std::vector<uint8_t> strips_;
    size_t stripsUsed_ = 0;
    size_t stripBytes_ = 0;
    std::vector<int32_t> stretchColumns_;
    size_t stretchColumnCount_ = 0;
    // Each stretch's last picked row, sized at once like the strips.
    std::vector<uint8_t> stretchRows_;
    size_t stretchRowBytes_ = 0;
    std::vector<rows::LaneGroup> laneGroups_;
    std::vector<int32_t> vectorGroups_;
    // Drawing's own.
    std::vector<size_t> bandStarts_;
    std::vector<size_t> entries_;
    size_t entrySpans_ = 0;
    std::vector<Piece> pieces_;
    std::vector<size_t> settled_; // per band: blits before this one are in the target's memory
    std::vector<uint8_t> scratch_;
};

// Made before the program runs, so that using it costs no check. A standard
// library without constexpr vectors (libc++ 13) makes it at start-up.
#if defined(__cpp_lib_constexpr_vector)
constinit
#endif
    BlitQueue queue;

BlitQueue& Queue() { return queue; }

} // namespace

bool QueueFill(const Raster& target, const Span2D& area, uint32_t raw)
{
    return area.IsEmpty() || Queue().Fill(target, area, raw);
}

bool QueueCopy(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY)
{
    return area.IsEmpty() || Queue().Copy(target, area, source, sourceX, sourceY);
}

bool QueueKeyedCopy(const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY,
    uint32_t keyLow, uint32_t keyHigh)
{
    return area.IsEmpty() || Queue().Keyed(target, area, source, sourceX, sourceY, keyLow, keyHigh);
}

bool QueueStretch(const Raster& target, const Span2D& destination, const Span2D& visible, const Raster& source,
    const Span2D& sourceRect)
{
    if (visible.IsEmpty() || destination.IsEmpty() || sourceRect.IsEmpty()) return true;
    return Queue().Stretch(target, destination, visible, source, sourceRect);
}

bool CopyOutOfQueue(
    const Raster& target, const Span2D& area, const Raster& source, int64_t sourceX, int64_t sourceY, uint32_t keepBits)
{
    return !area.IsEmpty() && Queue().CopyOut(target, area, source, sourceX, sourceY, keepBits);
}

void SettleQueuedBlitsFor(const uint8_t* memory) { Queue().SettleFor(memory); }

void SettleQueuedBlitsReading(const uint8_t* memory)
{
    if (Queue().Reads(memory)) Queue().Settle();
}

void SettleQueuedRows(const uint8_t* memory, int top, int bottom) { Queue().SettleRows(memory, top, bottom); }

void FreeingQueuedMemory(const uint8_t* memory) { Queue().Freeing(memory); }

void ForgetQueuedBlits() { Queue().Forget(); }

void SetBlitsWait(bool wait)
{
    Queue().Settle();
    Queue().wait = wait;
}

} // namespace platform::ddraw
