#include "compose/blit_queue.h"

#include <algorithm>
#include <new>
#include <vector>

#include "common/pixel_memory.h"
#include "compose/band_index.h"
#include "compose/covered_spans.h"
#include "compose/promised_room.h"
#include "compose/queued_blits.h"
#include "compose/testing_hooks.h"
#include "pixels/blitters.h"
#include "pixels/loop_choice.h"

namespace platform::compose {
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
// Columns are promised room this many at a time.
constexpr int64_t kColumnsPromised = 64;
// The parts a blit can show as in a band: around each covered span.
constexpr size_t kPiecesPerBlit = 9;

// What a band of rows shows of one blit: its columns left .. right - 1.
struct Piece {
    size_t blit;
    int64_t left;
    int64_t right;
};

bool SameRaster(const PixelView& a, const PixelView& b)
{
    return a.pixels == b.pixels && a.width == b.width && a.height == b.height && a.pitch == b.pitch
        && a.bytesPerPixel == b.bytesPerPixel;
}

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

// The rows a one-pixel keyed copy writes, and the shift it reads them with.
pixels::BandColumn ColumnOf(const Rectangle& area, int64_t sourceY)
{
    return { area.top, area.bottom, area.top - sourceY };
}

class BlitQueue {
public:
    bool Fill(const PixelView& target, const Rectangle& area, uint32_t raw)
    {
        return Accept(target, area, true) && Add({ area, FillBlit { raw } });
    }

    bool Copy(const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX, int64_t sourceY)
    {
        int32_t index = 0;
        return Accept(target, area, true) && FindSource(source, index)
            && Add({ area, CopyBlit { index, sourceX, sourceY } });
    }

    bool Keyed(const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX,
        int64_t sourceY, ColourKey key)
    {
        // The common case, a copy joining the one before it, is decided
        // first, before anything new is made.
        if (IsTarget(target) && blits_.size() > prepared_) {
            QueuedBlit& last = blits_.back();
            if (area.Width() == 1 ? JoinColumn(last, area, source, sourceX, sourceY, key)
                                  : JoinRun(last, area, source, sourceX, sourceY, key))
                return true;
        }
        return AddKeyed(target, area, source, sourceX, sourceY, key);
    }

    // Out of line, so that the joins stay a short path.
    [[gnu::noinline]] bool AddKeyed(const PixelView& target, const Rectangle& area, const PixelView& source,
        int64_t sourceX, int64_t sourceY, ColourKey key)
    {
        const bool column = area.Width() == 1;
        if (column && columns_.Used() >= kMaxColumns) Settle();
        int32_t index = 0;
        if (!Accept(target, area, false) || !FindSource(source, index)) return false;
        if (!column) return Add({ area, KeyedRun { index, sourceX, sourceY, area.Width(), 0, key } });
        const int64_t first = int64_t(columns_.Used());
        if (!PromiseColumns(kColumnsPromised, 2) || !Add({ area, KeyedColumns { index, sourceX, key, first, 1 } }))
            return false;
        std::get<KeyedColumns>(blits_.back().what).room = kColumnsPromised - 1;
        *columns_.Take(1) = ColumnOf(area, sourceY);
        return true;
    }

    bool Stretch(const PixelView& target, const Rectangle& destination, const Rectangle& visible,
        const PixelView& source, const Rectangle& sourceRect)
    {
        int32_t index = 0;
        const size_t width = size_t(visible.Width());
        const size_t rowBytes = width * size_t(target.bytesPerPixel);
        if (!Accept(target, visible, true) || !FindSource(source, index) || !stretchColumns_.Promise(width)
            || !stretchRows_.Promise(rowBytes))
            return false;
        // The kept row's room is its own from now on.
        const int64_t rowAt = int64_t(stretchRows_.Used());
        stretchRows_.Take(rowBytes);
        return Add({ visible, StretchBlit { index, destination, sourceRect, rowAt } });
    }

    bool CopyOut(const PixelView& out, const Rectangle& area, const PixelView& source, int64_t sourceX, int64_t sourceY,
        uint32_t keepBits, pixels::PresentationStores stores)
    {
        if (blits_.empty() || source.pixels != target_.pixels) return false;
        if (IsSource(out.pixels)) {
            Settle();
            return false;
        }
        Prepare();
        const int64_t bottom = sourceY + area.Height(), right = sourceX + area.Width();
        const int64_t firstBand = bands_.BandOf(sourceY), endBand = bands_.BandOf(bottom - 1) + 1;
        bands_.Sort(blits_, firstBand, endBand);
        // With ordinary stores, bands of whole rows are drawn straight into
        // the copy's target; streaming stores want whole lines written once.
        const bool direct
            = stores == pixels::PresentationStores::Ordinary && sourceX == 0 && area.Width() == target_.width;
        for (int64_t band = firstBand; band < endBand; ++band) {
            const int64_t top = std::max(band << bands_.BandShift(), sourceY);
            const int64_t end = std::min((band + 1) << bands_.BandShift(), bottom);
            uint8_t* outRow = out.At(area.left, area.top + (top - sourceY));
            const BandTarget drawn = DrawBandFor(band, top, end, sourceX, right, stores, direct,
                BandTarget { out, sourceY - area.top, sourceX - area.left, keepBits });
            if (drawn.raster.pixels == out.pixels) continue;
            for (int64_t y = top; y < end; ++y, outRow += out.pitch)
                pixels::CopyRowWith(stores, outRow, drawn.raster.At(sourceX, y - drawn.rowOffset), area.Width(),
                    out.bytesPerPixel, keepBits);
        }
        pixels::FinishStores(stores);
        return true;
    }

    void Settle(const uint8_t* memory, Touch touch, int64_t top, int64_t bottom)
    {
        if (memory == nullptr) return;
        const bool target = memory == target_.pixels;
        // Forgotten even when nothing waits: the same memory may come back
        // as another raster, of another size or depth, and must not be
        // taken for this one.
        if (touch == Touch::Discard && target) {
            Forget();
            return;
        }
        if (blits_.empty()) return;
        if (touch != Touch::Read && IsSource(memory)) {
            Settle();
            return;
        }
        if (!target) return;
        top = std::max<int64_t>(top, 0);
        bottom = std::min<int64_t>(bottom, target_.height);
        if (top == 0 && bottom == target_.height)
            Settle();
        else
            SettleRows(top, bottom);
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
        bands_.Sort(blits_, 0, bands_.Bands());
        for (int64_t band = 0; band < bands_.Bands(); ++band)
            SettleBand(band);
        Clear();
    }

    bool wait = true;

private:
    // Makes `target` the queue's one target, settling another's blits, with
    // room for one more blit. An opaque blit that covers the whole target
    // hides every blit before it: they are dropped.
    bool Accept(const PixelView& target, const Rectangle& area, bool opaque)
    {
        if (!wait) return false;
        if (!IsTarget(target)) {
            // Other memory: its blits are drawn first. The same memory as
            // another raster was given up without a word: what waits for
            // the old shape is dropped, never drawn into the new one.
            if (target.pixels == target_.pixels)
                Forget();
            else
                Settle();
            if (!UseTarget(target)) return false;
        }
        if (blits_.size() >= kMaxBlits) Settle();
        if (opaque && area.left <= 0 && area.top <= 0 && area.right >= target.width && area.bottom >= target.height)
            Clear();
        return true;
    }

    bool UseTarget(const PixelView& target)
    {
        target_ = {};
        const int64_t rowBytes = int64_t(target.width) * target.bytesPerPixel;
        // A power of two, so that finding a row's band is a shift.
        int bandShift = 0;
        while (bandShift < kMaxBandShift && (rowBytes << (bandShift + 1)) <= kBandBytes)
            ++bandShift;
        const int64_t bandRows = int64_t(1) << bandShift;
        if (!bands_.Start(bandShift, (target.height + bandRows - 1) / bandRows)) return false;
        const size_t scratchBytes = size_t(bandRows * rowBytes);
        if (scratch_.Size() < scratchBytes) {
            scratch_ = PixelMemory::Allocate(scratchBytes);
            if (!scratch_) return false;
        }
        target_ = target;
        return true;
    }

    bool FindSource(const PixelView& source, int32_t& index)
    {
        for (size_t i = 0; i < sources_.size(); ++i) {
            if (sources_[i].pixels != source.pixels) continue;
            // A source's memory is settled before it is freed; one that
            // came back as another raster cannot be read as the old one.
            if (!SameRaster(sources_[i], source)) return false;
            index = int32_t(i);
            return true;
        }
        if (sources_.size() >= kMaxSources || !Reserve(sources_, sources_.size() + 1)) return false;
        index = int32_t(sources_.size());
        sources_.push_back(source);
        return true;
    }

    bool IsTarget(const PixelView& raster) const { return SameRaster(raster, target_); }

    bool IsSource(const uint8_t* memory) const
    {
        return std::any_of(
            sources_.begin(), sources_.end(), [&](const PixelView& source) { return source.pixels == memory; });
    }

    bool Add(const QueuedBlit& blit)
    {
        if (!Reserve(blits_, blits_.size() + 1) || !bands_.Promise(bands_.BandsOf(blit.area))
            || !Reserve(pieces_, (blits_.size() + 1) * kPiecesPerBlit))
            return false;
        blits_.push_back(blit);
        return true;
    }

    // A keyed copy of the same source rows just to the right of a run,
    // showing what comes next of the run's rectangle: the run grows by it.
    // A copy of a whole rectangle after one copy of its right-hand part (a
    // run cut at its start) makes a run of that rectangle.
    bool JoinRun(QueuedBlit& last, const Rectangle& area, const PixelView& source, int64_t sourceX, int64_t sourceY,
        ColourKey key)
    {
        KeyedRun* run = std::get_if<KeyedRun>(&last.what);
        if (run == nullptr || sources_[size_t(run->source)].pixels != source.pixels || !(run->key == key)
            || run->sourceY != sourceY || last.area.top != area.top || last.area.bottom != area.bottom
            || last.area.right != area.left)
            return false;
        int64_t rectangleX = run->sourceX, width = run->width, phase = run->phase, copies = run->copies, next;
        if (sourceX == run->sourceX + run->next && sourceX + area.Width() <= run->sourceX + run->width) {
            // What comes next; a copy from the rectangle's first column starts another.
            if (run->next == 0) ++copies;
            next = run->next + area.Width();
        } else if (run->copies == 1 && run->phase == 0 && last.area.Width() == run->width && sourceX < run->sourceX
            && sourceX + area.Width() == run->sourceX + run->width) {
            rectangleX = sourceX;
            width = area.Width();
            phase = run->sourceX - sourceX;
            copies = 2;
            next = width;
        } else {
            return false;
        }
        if (copies > run->promisedCopies) {
            const size_t copyBytes = size_t(width * area.Height()) * size_t(target_.bytesPerPixel);
            if (!strips_.Promise(size_t(copies - run->promisedCopies) * copyBytes)) return false;
            run->promisedCopies = copies;
        }
        run->sourceX = rectangleX;
        run->width = width;
        run->phase = phase;
        run->copies = copies;
        run->next = next == width ? 0 : next;
        last.area.right = area.right;
        return true;
    }

    // The next source column, just to the right of the columns before it,
    // or to their left: the band of columns grows by one, whatever rows it
    // writes.
    bool JoinColumn(QueuedBlit& last, const Rectangle& area, const PixelView& source, int64_t sourceX, int64_t sourceY,
        ColourKey key)
    {
        KeyedColumns* columns = std::get_if<KeyedColumns>(&last.what);
        if (columns == nullptr || sources_[size_t(columns->source)].pixels != source.pixels || !(columns->key == key)
            || columns_.Used() >= kMaxColumns)
            return false;
        const bool rightward = area.left == last.area.right && sourceX == columns->sourceX + columns->count
            && (!columns->leftward || columns->count == 1);
        const bool leftward = area.right == last.area.left && sourceX == columns->sourceX - 1
            && (columns->leftward || columns->count == 1);
        if (!rightward && !leftward) return false;
        if (columns->room == 0) {
            if (!PromiseColumns(kColumnsPromised, 0)) return false;
            columns->room = kColumnsPromised;
        }
        if (area.top < last.area.top || area.bottom > last.area.bottom) {
            const Rectangle grown { last.area.left, std::min(last.area.top, area.top), last.area.right,
                std::max(last.area.bottom, area.bottom) };
            if (!bands_.Promise(bands_.BandsOf(grown) - bands_.BandsOf(last.area))) return false;
            last.area.top = grown.top;
            last.area.bottom = grown.bottom;
        }
        last.area.left = std::min(last.area.left, area.left);
        last.area.right = std::max(last.area.right, area.right);
        --columns->room;
        ++columns->count;
        if (leftward) {
            columns->leftward = true;
            columns->sourceX = sourceX;
        }
        *columns_.Take(1) = ColumnOf(area, sourceY);
        return true;
    }

    // Room for columns and their layout: a group a column, a vector's
    // bounds a column at most, and two more bounds a band of columns.
    bool PromiseColumns(size_t columns, size_t bands)
    {
        return columns_.Promise(columns) && laneGroups_.Promise(columns) && vectorGroups_.Promise(columns + 2 * bands);
    }

    QueuedData Data()
    {
        return { sources_.data(), columns_.At(0), strips_.At(0), stretchColumns_.At(0), stretchRows_.At(0),
            laneGroups_.At(0), vectorGroups_.At(0) };
    }

    // What the blits taken since the last drawing need: strips of runs,
    // a stretch's source columns, a band of columns' vector layout.
    void Prepare()
    {
        for (size_t i = prepared_; i < blits_.size(); ++i) {
            QueuedBlit& blit = blits_[i];
            if (KeyedRun* run = std::get_if<KeyedRun>(&blit.what)) {
                if (run->copies > 1) MakeRunStrip(i, *run);
            } else if (StretchBlit* stretch = std::get_if<StretchBlit>(&blit.what)) {
                const size_t at = stretchColumns_.Used();
                if (int32_t* columns = stretchColumns_.Take(size_t(blit.area.Width()))) {
                    pixels::MapStretchColumns(
                        stretch->destination, stretch->sourceRect, blit.area.left, blit.area.right, columns);
                    stretch->columnsAt = int64_t(at);
                }
            } else if (KeyedColumns* columns = std::get_if<KeyedColumns>(&blit.what)) {
                LayOut(*columns);
            }
        }
        prepared_ = blits_.size();
    }

    // Rows of the same run, drawn one after the other, share a strip.
    void MakeRunStrip(size_t index, KeyedRun& run)
    {
        constexpr size_t kLookBack = 64;
        const int64_t height = blits_[index].area.Height();
        const int64_t copies = run.copies;
        for (size_t i = index; i > 0 && i + kLookBack > index; --i) {
            const QueuedBlit& made = blits_[i - 1];
            const KeyedRun* earlier = std::get_if<KeyedRun>(&made.what);
            if (earlier != nullptr && earlier->stripAt >= 0 && earlier->source == run.source
                && earlier->phase == run.phase && earlier->sourceX == run.sourceX && earlier->sourceY == run.sourceY
                && earlier->width == run.width && made.area.Height() == height && earlier->stripCopies >= copies) {
                run.stripAt = earlier->stripAt;
                run.stripCopies = earlier->stripCopies;
                return;
            }
        }
        const size_t at = strips_.Used();
        const size_t bytes = size_t(copies * run.width * height) * size_t(target_.bytesPerPixel);
        uint8_t* strip = strips_.Take(bytes);
        if (strip == nullptr) return;
        run.stripAt = int64_t(at);
        run.stripCopies = copies;
        MakeStrip(run, height, sources_[size_t(run.source)], strip);
    }

    void LayOut(KeyedColumns& columns)
    {
        pixels::BandColumn* stored = columns_.At(size_t(columns.first));
        if (columns.leftward) std::reverse(stored, stored + columns.count);
        columns.leftward = false;
        const pixels::PixelLoops& loops = pixels::Loops(target_.bytesPerPixel);
        const int64_t lanes = std::max<int64_t>(loops.columnLanes, 1);
        const size_t groupsAt = laneGroups_.Used(), vectorsAt = vectorGroups_.Used();
        pixels::LaneGroup* groups = laneGroups_.Take(size_t(columns.count));
        int32_t* vectorGroups = vectorGroups_.Take(size_t(columns.count / lanes) + 2);
        if (groups == nullptr || vectorGroups == nullptr) return;
        const PixelView& source = sources_[size_t(columns.source)];
        const pixels::ColumnBand band { source.At(columns.sourceX, 0), source.pitch, columns.count, stored };
        const pixels::ColumnLayout layout = pixels::LayOutColumns(band, loops, groups, vectorGroups);
        // Hand back what the layout did not use.
        vectorGroups_.KeepFirst(vectorsAt + size_t(layout.vectors) + 1);
        laneGroups_.KeepFirst(groupsAt + size_t(vectorGroups[layout.vectors]));
        columns.loops = &loops;
        columns.groupsAt = int64_t(groupsAt);
        columns.vectorsAt = int64_t(vectorsAt);
        columns.vectors = layout.vectors;
    }

    // Fills pieces_ with what band `band` (of the last Sort) shows of its
    // blits from `from` on, in target rows top .. bottom - 1, columns
    // left .. right - 1, last blit first. True when some of those columns
    // are covered by no opaque blit: there the band shows what its memory
    // holds.
    bool FindPieces(int64_t band, int64_t top, int64_t bottom, int64_t left, int64_t right, size_t from)
    {
        pieces_.clear();
        CoveredSpans covered(left, right);
        for (const size_t* entry = bands_.End(band); entry != bands_.Begin(band);) {
            const size_t index = *--entry;
            if (index < from) break;
            const QueuedBlit& blit = blits_[index];
            if (blit.area.top >= bottom || blit.area.bottom <= top) continue;
            const int64_t start = std::max(blit.area.left, left), end = std::min(blit.area.right, right);
            if (start >= end) continue;
            covered.ForEachUncovered(start, end, [&](int64_t a, int64_t b) { pieces_.push_back({ index, a, b }); });
            if (blit.Opaque() && blit.area.top <= top && blit.area.bottom >= bottom) {
                covered.Cover(start, end);
                if (covered.CoversAll()) return false;
            }
        }
        return true;
    }

    const FillBlit* OneFill() const
    {
        return pieces_.size() == 1 ? std::get_if<FillBlit>(&blits_[pieces_[0].blit].what) : nullptr;
    }

    // Settles the bands of target rows top .. bottom - 1.
    void SettleRows(int64_t top, int64_t bottom)
    {
        if (top >= bottom) return;
        Prepare();
        const int64_t firstBand = bands_.BandOf(top), endBand = bands_.BandOf(bottom - 1) + 1;
        bands_.Sort(blits_, firstBand, endBand);
        for (int64_t band = firstBand; band < endBand; ++band)
            SettleBand(band);
    }

    int64_t BandTop(int64_t band) const { return band << bands_.BandShift(); }
    int64_t BandBottom(int64_t band) const { return std::min<int64_t>(BandTop(band + 1), target_.height); }

    // Draws what waits for a whole band into the target's memory: from then
    // on the band's memory holds it, and those blits are not drawn there
    // again (something, such as GDI, may have drawn over them since).
    void SettleBand(int64_t band)
    {
        FindPieces(band, BandTop(band), BandBottom(band), 0, target_.width, bands_.Settled(band));
        DrawPieces(BandTarget { target_ }, BandTop(band), BandBottom(band));
        bands_.Settled(band) = blits_.size();
    }

    // Rows top .. bottom - 1, columns left .. right - 1 of band `band` for a
    // copy out: drawn in the target's memory where the band shows some of it,
    // else in `direct` (the copy's own target) or in the scratch band.
    // Returns where they were drawn; nothing is drawn for a band that is one
    // fill, whose rows are filled in `direct`'s raster at once.
    BandTarget DrawBandFor(int64_t band, int64_t top, int64_t bottom, int64_t left, int64_t right,
        pixels::PresentationStores stores, bool drawDirect, const BandTarget& direct)
    {
        if (FindPieces(band, top, bottom, left, right, bands_.Settled(band))) {
            SettleBand(band);
            return BandTarget { target_ };
        }
        if (const FillBlit* fill = OneFill()) {
            const PixelView& out = direct.raster;
            const uint32_t value = out.bytesPerPixel == 2 ? fill->raw : fill->raw & direct.keepBits;
            for (int64_t y = top; y < bottom; ++y)
                pixels::FillRowWith(stores, out.At(left - direct.columnOffset, y - direct.rowOffset), right - left,
                    out.bytesPerPixel, value);
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
            QueuedBlit& blit = blits_[piece.blit];
            DrawQueuedBlit(blit, data, band, std::max(top, blit.area.top), std::min(bottom, blit.area.bottom),
                piece.left, piece.right);
        }
    }

    // The band's rows end where the scratch memory does, against its guard.
    PixelView Scratch()
    {
        const int rows = int(int64_t(1) << bands_.BandShift());
        const int pitch = target_.width * target_.bytesPerPixel;
        uint8_t* start = scratch_.Data() + scratch_.Size() - size_t(rows) * size_t(pitch);
        return PixelView { start, target_.width, rows, pitch, target_.bytesPerPixel };
    }

    void Clear()
    {
        blits_.clear();
        prepared_ = 0;
        sources_.clear();
        columns_.Clear();
        strips_.Clear();
        stretchColumns_.Clear();
        stretchRows_.Clear();
        laneGroups_.Clear();
        vectorGroups_.Clear();
        bands_.Clear();
    }

    PixelView target_;
    std::vector<QueuedBlit> blits_;
    size_t prepared_ = 0; // blits_ before this have what drawing needs, and join no more copies
    std::vector<PixelView> sources_;
    PromisedRoom<pixels::BandColumn> columns_; // each band of columns' own, as they come
    // Made by Prepare, in room promised as the blits were taken.
    PromisedRoom<uint8_t> strips_;
    PromisedRoom<int32_t> stretchColumns_;
    PromisedRoom<uint8_t> stretchRows_; // each stretch's kept row, its own from the start
    PromisedRoom<pixels::LaneGroup> laneGroups_;
    PromisedRoom<int32_t> vectorGroups_;
    // Drawing's own.
    BandIndex bands_;
    std::vector<Piece> pieces_;
    PixelMemory scratch_;
};

// Made before the program runs, so that using it costs no check.
BlitQueue queue;

} // namespace

bool QueueFill(const PixelView& target, const Rectangle& area, uint32_t raw)
{
    return area.IsEmpty() || queue.Fill(target, area, raw);
}

bool QueueCopy(
    const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX, int64_t sourceY)
{
    return area.IsEmpty() || queue.Copy(target, area, source, sourceX, sourceY);
}

bool QueueKeyedCopy(const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX,
    int64_t sourceY, ColourKey key)
{
    return area.IsEmpty() || queue.Keyed(target, area, source, sourceX, sourceY, key);
}

bool QueueStretch(const PixelView& target, const Rectangle& destination, const Rectangle& visible,
    const PixelView& source, const Rectangle& sourceRect)
{
    if (visible.IsEmpty() || destination.IsEmpty() || sourceRect.IsEmpty()) return true;
    return queue.Stretch(target, destination, visible, source, sourceRect);
}

bool CopyOut(const PixelView& target, const Rectangle& area, const PixelView& source, int64_t sourceX, int64_t sourceY,
    uint32_t keepBits, pixels::PresentationStores stores)
{
    return !area.IsEmpty() && queue.CopyOut(target, area, source, sourceX, sourceY, keepBits, stores);
}

void Settle(const uint8_t* memory, Touch touch, int64_t top, int64_t bottom)
{
    queue.Settle(memory, touch, top, bottom);
}

void ForgetAll() { queue.Forget(); }

void SetBlitsWait(bool wait)
{
    queue.Settle();
    queue.wait = wait;
}

} // namespace platform::compose
