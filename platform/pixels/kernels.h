// Every pixel loop, written once over a vector type V (vectors_*.h): V
// holds V::kLanes pixels and offers loads, stores, the key test and masks.
// Each vector set's file includes this after its vector type and builds
// its tables of loops from it (MakeLoops); nothing else includes it.
//
// Rows shorter than a vector go to the next narrower set's loop, down to a
// pixel at a time. The pixels after a row's last whole vector are done by a
// vector ending at the row's end, overlapping the one before it, or, with
// masked stores, by a vector that touches only them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <type_traits>

#include "pixels/column_vectors.h"
#include "pixels/loop_sets.h"
#include "pixels/loops.h"
#include "pixels/vectors_portable.h"

namespace platform::pixels {
namespace {

// Positions and strides within the loops: the width of an address, so that
// a 32-bit target (WebAssembly) works out each address in one 32-bit step
// rather than in 64 bits cut down to 32; on 64-bit targets it is int64_t.
using Offset = std::ptrdiff_t;

template <typename V> constexpr Offset kPixelBytes = Offset(sizeof(typename V::Pixel));
template <typename V> constexpr bool kHasNarrower = !std::is_void_v<typename V::Narrower>;
// Whether partly drawn vectors are stored with masked stores.
template <typename V, KeyedStores M> constexpr bool kMaskedStoring = M == KeyedStores::Masked&& V::kMaskedStores;
// Whether the columns after a band's last whole vector make a vector of
// their own: its loads and stores must touch only them.
template <typename V, KeyedStores M>
constexpr bool kPartialColumnVectors = kMaskedStoring<V, M>&& V::kMaskedLoads && (V::kLanes > 1);

// What a 32-bit target keeps of each pixel; 16-bit pixels are written whole.
template <typename V> PIXELS_TARGET typename V::Vector Keep(uint32_t keepBits)
{
    return V::Splat(sizeof(typename V::Pixel) == 4 ? keepBits : 0xFFFFFFFFu);
}

// Stores `value` where `drawn` is set, leaving the other lanes' memory as
// it was. Whole vectors drawn or skipped, the usual case in and around a
// picture's transparent areas, take no read of the target.
template <typename V, KeyedStores M>
PIXELS_TARGET inline void StoreDrawn(uint8_t* out, typename V::Mask drawn, typename V::Vector value)
{
    if constexpr (kMaskedStoring<V, M>) {
        if constexpr (V::kTestBeforeMaskedStore) {
            if (!V::Any(drawn)) return;
            if (V::All(drawn)) {
                V::Store(out, value);
                return;
            }
        }
        V::StoreMasked(out, drawn, value);
    } else {
        if (!V::Any(drawn)) return;
        if (!V::All(drawn)) value = V::Select(drawn, value, V::Load(out));
        V::Store(out, value);
    }
}

template <typename V> PIXELS_TARGET void FillRow(uint8_t* out, int64_t pixels, uint32_t raw)
{
    constexpr Offset lanes = V::kLanes, bytes = kPixelBytes<V>;
    const Offset count = Offset(pixels);
    if (count < lanes) {
        if constexpr (kHasNarrower<V>) FillRow<typename V::Narrower>(out, count, raw);
        return;
    }
    const typename V::Vector value = V::Splat(raw);
    Offset x = 0;
    for (; x + lanes <= count; x += lanes)
        V::Store(out + x * bytes, value);
    if (x < count) V::Store(out + (count - lanes) * bytes, value);
}

template <typename V>
PIXELS_TARGET void CopyMaskedRow(uint8_t* out, const uint8_t* in, int64_t pixels, uint32_t keepBits)
{
    constexpr Offset lanes = V::kLanes, bytes = kPixelBytes<V>;
    const Offset count = Offset(pixels);
    if (count < lanes) {
        if constexpr (kHasNarrower<V>) CopyMaskedRow<typename V::Narrower>(out, in, count, keepBits);
        return;
    }
    const typename V::Vector keep = Keep<V>(keepBits);
    Offset x = 0;
#pragma GCC unroll 4
    for (; x + lanes <= count; x += lanes)
        V::Store(out + x * bytes, V::And(V::Load(in + x * bytes), keep));
    if (x < count) {
        x = count - lanes;
        V::Store(out + x * bytes, V::And(V::Load(in + x * bytes), keep));
    }
}

// 16-bit lanes test a key only as far as it reaches within 16 bits; a key
// whose low end lies beyond them is left to the 32-bit rule of the
// portable loops.
inline bool KeyInSixteenBits(ColourKey& key)
{
    if (key.low > 0xFFFFu) return false;
    key.range = std::min(key.range, 0xFFFFu - key.low);
    return true;
}

template <typename V, KeyedStores M>
PIXELS_TARGET void CopyKeyedRows(const RowArea& area, ColourKey key, uint32_t keepBits)
{
    using Vector = typename V::Vector;
    using Mask = typename V::Mask;
    constexpr Offset lanes = V::kLanes, bytes = kPixelBytes<V>;
    if constexpr (bytes == 2 && lanes > 1) {
        if (!KeyInSixteenBits(key)) {
            CopyKeyedRows<PortableVector<uint16_t>, M>(area, key, keepBits);
            return;
        }
    }
    // Locals, not the structure: a store through a byte pointer could alias
    // it, and it would be read again after every store.
    const Offset width = Offset(area.width), height = Offset(area.height), outPitch = Offset(area.outPitch),
                 inPitch = Offset(area.inPitch);
    if (width < lanes) {
        if constexpr (kHasNarrower<V>) CopyKeyedRows<typename V::Narrower, M>(area, key, keepBits);
        return;
    }
    const typename V::Key test(key);
    const Vector keep = Keep<V>(keepBits);
    const Offset whole = width / lanes * lanes, last = width - lanes;
    uint8_t* out = area.out;
    const uint8_t* in = area.in;
    for (Offset y = 0; y < height; ++y, out += outPitch, in += inPitch) {
        if constexpr (kMaskedStoring<V, M> && V::kMaskedLoads) {
            for (Offset x = 0; x < whole; x += lanes) {
                const Vector value = V::Load(in + x * bytes);
                StoreDrawn<V, M>(out + x * bytes, test.Drawn(value), V::And(value, keep));
            }
            if (whole == width) continue;
            const Mask rest = V::FirstLanes(width - whole);
            const Vector value = V::LoadMasked(rest, in + whole * bytes);
            StoreDrawn<V, M>(out + whole * bytes, V::Both(test.Drawn(value), rest), V::And(value, keep));
        } else {
            // The last vector overlaps the one before it. It is worked out
            // from the target as it was before the row's other stores, so
            // that both write the same values where they meet, and no load
            // has to wait for a store it overlaps.
            Mask lastDrawn = V::NoLanes();
            Vector lastValue = V::Zero();
            if (whole < width) {
                const Vector value = V::Load(in + last * bytes);
                lastDrawn = test.Drawn(value);
                lastValue = V::And(value, keep);
                if (V::Any(lastDrawn) && !V::All(lastDrawn))
                    lastValue = V::Select(lastDrawn, lastValue, V::Load(out + last * bytes));
            }
            for (Offset x = 0; x < whole; x += lanes) {
                const Vector value = V::Load(in + x * bytes);
                StoreDrawn<V, M>(out + x * bytes, test.Drawn(value), V::And(value, keep));
            }
            if (V::Any(lastDrawn)) V::Store(out + last * bytes, lastValue);
        }
    }
}

template <typename V>
PIXELS_TARGET void PickColumns(
    uint8_t* out, const uint8_t* in, const int32_t* columns, int64_t count, uint32_t keepBits)
{
    constexpr int64_t lanes = V::kLanes, bytes = kPixelBytes<V>;
    if constexpr (!V::kGathers) {
        PickColumns<PortableVector<typename V::Pixel>>(out, in, columns, count, keepBits);
    } else {
        if (count < lanes) {
            if constexpr (kHasNarrower<V>) PickColumns<typename V::Narrower>(out, in, columns, count, keepBits);
            return;
        }
        const typename V::Vector keep = Keep<V>(keepBits);
        int64_t x = 0;
        for (; x + lanes <= count; x += lanes)
            V::Store(out + x * bytes, V::And(V::Gather(in, columns + x), keep));
        if (x < count) {
            x = count - lanes;
            V::Store(out + x * bytes, V::And(V::Gather(in, columns + x), keep));
        }
    }
}

// Streaming stores want targets aligned to the vector; the pixels before
// the first such address are written the ordinary way, and so is a row
// that can never reach one (16-bit pixels at an odd address).
template <typename V> int64_t PixelsBeforeStreamAlignment(const uint8_t* out, int64_t count)
{
    constexpr int64_t bytes = kPixelBytes<V>;
    const int64_t misalignment = int64_t(reinterpret_cast<uintptr_t>(out) % uintptr_t(V::kStreamAlignment));
    if (misalignment == 0) return 0;
    if (misalignment % bytes != 0) return count;
    return std::min<int64_t>(count, (V::kStreamAlignment - misalignment) / bytes);
}

template <typename V> PIXELS_TARGET void StreamCopy(uint8_t* out, const uint8_t* in, int64_t count, uint32_t keepBits)
{
    constexpr int64_t lanes = V::kLanes, bytes = kPixelBytes<V>;
    const int64_t head = PixelsBeforeStreamAlignment<V>(out, count);
    CopyMaskedRow<V>(out, in, head, keepBits);
    const typename V::Vector keep = Keep<V>(keepBits);
    int64_t x = head;
    for (; x + lanes <= count; x += lanes)
        V::StoreStreaming(out + x * bytes, V::And(V::Load(in + x * bytes), keep));
    CopyMaskedRow<V>(out + x * bytes, in + x * bytes, count - x, keepBits);
}

template <typename V> PIXELS_TARGET void StreamFill(uint8_t* out, int64_t count, uint32_t raw)
{
    constexpr int64_t lanes = V::kLanes, bytes = kPixelBytes<V>;
    const int64_t head = PixelsBeforeStreamAlignment<V>(out, count);
    FillRow<V>(out, head, raw);
    const typename V::Vector value = V::Splat(raw);
    int64_t x = head;
    for (; x + lanes <= count; x += lanes)
        V::StoreStreaming(out + x * bytes, value);
    FillRow<V>(out + x * bytes, count - x, raw);
}

// Columns from .. to - 1 of the window, each on its own.
template <typename Pixel>
void CopyColumnsOneByOne(const ColumnBand& band, const ColumnWindow& window, int64_t from, int64_t to, ColourKey key)
{
    constexpr int64_t bytes = sizeof(Pixel);
    const uint32_t keep = bytes == 4 ? window.keepBits : 0xFFFFu;
    for (int64_t c = std::max(from, window.first); c < std::min(to, window.end); ++c) {
        const BandColumn& column = band.columns[c];
        const int64_t top = std::max(window.top, column.top), bottom = std::min(window.bottom, column.bottom);
        const uint8_t* in = band.in + (top - column.shift) * band.inPitch + c * bytes;
        uint8_t* out = window.out + (top - window.top) * window.outPitch + c * bytes;
        for (int64_t row = top; row < bottom; ++row, in += band.inPitch, out += window.outPitch) {
            const Pixel value = Load<Pixel>(in);
            if (!key.Keys(value)) Store<Pixel>(out, Pixel(value & keep));
        }
    }
}

// What every row of a column vector needs, by value, so that it stays in
// registers: stores through byte pointers could alias it.
template <typename V> struct ColumnRows {
    typename V::Key key;
    typename V::Vector keep;
    Offset inPitch;
    Offset outPitch;
};

// The lanes of `lanes` loaded from `at`; a partial vector's loads touch
// only its own columns.
template <typename V, bool kPartial>
PIXELS_TARGET inline typename V::Vector LoadGroup(typename V::Mask lanes, const uint8_t* at)
{
    if constexpr (kPartial)
        return V::LoadMasked(lanes, at);
    else
        return V::LoadLanes(lanes, at);
}

// A target row of a vector: keyed, and stored once.
template <typename V, KeyedStores M>
PIXELS_TARGET inline void PutRow(
    uint8_t* out, typename V::Mask valid, typename V::Vector value, const ColumnRows<V>& rows)
{
    const typename V::Mask drawn = V::Both(rows.key.Drawn(value), valid);
    if constexpr (sizeof(typename V::Pixel) == 4) value = V::And(value, rows.keep);
    StoreDrawn<V, M>(out, drawn, value);
}

// Any rows of a vector: each group tested for a source row.
template <typename V, KeyedStores M, bool kPartial>
PIXELS_TARGET void CopyEdgeRows(const WindowVector& part, int64_t from, int64_t to, const ColumnRows<V> rows)
{
    using Mask = typename V::Mask;
    Mask lanes[V::kLanes];
    for (int g = 0; g < part.groups; ++g)
        lanes[g] = V::Lanes(part.lanes[g]);
    uint8_t* out = part.out + Offset(from - part.top) * rows.outPitch;
    for (Offset row = Offset(from); row < Offset(to); ++row, out += rows.outPitch) {
        // The groups' loads are independent of each other; merging each
        // into the last would chain their latencies.
        typename V::Vector value = V::Zero();
        Mask valid = V::NoLanes();
        for (int g = 0; g < part.groups; ++g) {
            const BandColumn& group = part.rows[g];
            if (uint64_t(row - group.top) >= uint64_t(group.bottom - group.top)) continue;
            value = V::Or(value, LoadGroup<V, kPartial>(lanes[g], part.in + Offset(row - group.shift) * rows.inPitch));
            valid = V::Either(valid, lanes[g]);
        }
        PutRow<V, M>(out, valid, value, rows);
    }
}

// Rows of a vector on every one of which each of its N groups writes: no
// test a group, and the groups' lanes and source offsets in registers.
template <typename V, KeyedStores M, bool kPartial, int N>
PIXELS_TARGET void CopyInteriorRows(const WindowVector& part, int64_t from, int64_t to, const ColumnRows<V> rows)
{
    using Mask = typename V::Mask;
    Mask lanes[N];
    Offset offsets[N];
    Mask valid = V::NoLanes();
#pragma GCC unroll 8
    for (int g = 0; g < N; ++g) {
        lanes[g] = V::Lanes(part.lanes[g]);
        offsets[g] = -Offset(part.rows[g].shift) * rows.inPitch;
        valid = V::Either(valid, lanes[g]);
    }
    const uint8_t* in = part.in + Offset(from) * rows.inPitch;
    uint8_t* out = part.out + Offset(from - part.top) * rows.outPitch;
    for (Offset row = Offset(to - from); row > 0; --row, in += rows.inPitch, out += rows.outPitch) {
        typename V::Vector value = LoadGroup<V, kPartial>(lanes[0], in + offsets[0]);
#pragma GCC unroll 8
        for (int g = 1; g < N; ++g)
            value = V::Or(value, LoadGroup<V, kPartial>(lanes[g], in + offsets[g]));
        PutRow<V, M>(out, valid, value, rows);
    }
}

// A vector of the window, cut into the rows where every group writes and
// the others.
template <typename V, KeyedStores M, bool kPartial>
PIXELS_TARGET void CopyColumnVector(const WindowVector& part, const ColumnRows<V>& rows)
{
    using Interior = void (*)(const WindowVector&, int64_t, int64_t, ColumnRows<V>);
    static constexpr Interior kInteriors[] = { nullptr, CopyInteriorRows<V, M, kPartial, 1>,
        CopyInteriorRows<V, M, kPartial, 2>, CopyInteriorRows<V, M, kPartial, 3>, CopyInteriorRows<V, M, kPartial, 4>,
        CopyInteriorRows<V, M, kPartial, 5>, CopyInteriorRows<V, M, kPartial, 6>, CopyInteriorRows<V, M, kPartial, 7>,
        CopyInteriorRows<V, M, kPartial, 8>, CopyInteriorRows<V, M, kPartial, 9>,
        CopyInteriorRows<V, M, kPartial, 10> };
    const RowRange every = RowsWithEveryGroup(part);
    if (every.from >= every.to || part.groups >= int(std::size(kInteriors))) {
        CopyEdgeRows<V, M, kPartial>(part, part.top, part.bottom, rows);
        return;
    }
    CopyEdgeRows<V, M, kPartial>(part, part.top, every.from, rows);
    kInteriors[part.groups](part, every.from, every.to, rows);
    CopyEdgeRows<V, M, kPartial>(part, every.to, part.bottom, rows);
}

// The window's vectors through the vector loops, the columns after them
// (or every column, where the layout has no vectors) one by one.
template <typename V, KeyedStores M>
PIXELS_TARGET void CopyKeyedColumns(
    const ColumnBand& band, const ColumnLayout& layout, const ColumnWindow& window, ColourKey key)
{
    using Pixel = typename V::Pixel;
    constexpr int64_t lanes = V::kLanes, bytes = kPixelBytes<V>;
    int64_t done = 0;
    if constexpr (lanes > 1) {
        const bool fits = bytes == 4 || KeyInSixteenBits(key);
        if (fits && layout.vectors > 0) {
            done = std::min(band.width, layout.vectors * lanes);
            const ColumnRows<V> rows { typename V::Key(key), Keep<V>(window.keepBits), Offset(band.inPitch),
                Offset(window.outPitch) };
            const WindowVectors vectors = VectorsIn(layout, window, lanes);
            for (int64_t vector = vectors.first; vector < vectors.end; ++vector) {
                const WindowVector part = VectorOfWindow(band, layout, window, vector, lanes, bytes);
                if (part.groups == 0) continue;
                if constexpr (kPartialColumnVectors<V, M>) {
                    if ((vector + 1) * lanes > band.width) {
                        CopyColumnVector<V, M, true>(part, rows);
                        continue;
                    }
                }
                CopyColumnVector<V, M, false>(part, rows);
            }
        }
    }
    CopyColumnsOneByOne<Pixel>(band, window, done, band.width, key);
}

template <template <typename> class Set, KeyedStores M, typename Pixel> constexpr PixelLoops MakeLoops(VectorSet set)
{
    using V = Set<Pixel>;
    return PixelLoops { set, kMaskedStoring<V, M> ? KeyedStores::Masked : KeyedStores::Blend, int(sizeof(Pixel)),
        V::kLanes > 1 ? V::kLanes : 0, kPartialColumnVectors<V, M>, &FillRow<V>, &CopyMaskedRow<V>,
        &CopyKeyedRows<V, M>, &PickColumns<V>, &CopyKeyedColumns<V, M>, &StreamCopy<V>, &StreamFill<V> };
}

// A set's four tables: both store methods, both pixel sizes.
template <template <typename> class Set> constexpr LoopSet MakeLoopSet(VectorSet set)
{
    return { MakeLoops<Set, KeyedStores::Masked, uint32_t>(set), MakeLoops<Set, KeyedStores::Masked, uint16_t>(set),
        MakeLoops<Set, KeyedStores::Blend, uint32_t>(set), MakeLoops<Set, KeyedStores::Blend, uint16_t>(set) };
}

} // namespace
} // namespace platform::pixels
