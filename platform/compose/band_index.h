// Which waiting blits touch each band of rows, in the order they were taken
// (a counting sort, made when bands are about to be drawn), and how many of
// them each band's memory already shows.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "compose/promised_room.h"
#include "compose/queued_blits.h"

namespace platform::compose {

class BandIndex {
public:
    // `rows` a band, a power of two; `bands` of them. False without memory.
    bool Start(int bandShift, int64_t bands)
    {
        try {
            bandStarts_.reserve(size_t(bands) + 2);
            settled_.assign(size_t(bands), 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
        bandShift_ = bandShift;
        entries_.Clear();
        return true;
    }

    int BandShift() const { return bandShift_; }
    int64_t Bands() const { return int64_t(settled_.size()); }
    int64_t BandOf(int64_t row) const { return row >> bandShift_; }
    // Bands rows top .. bottom - 1 lie in.
    int64_t BandsOf(const Rectangle& area) const { return BandOf(area.bottom - 1) - BandOf(area.top) + 1; }

    // Room for a blit's entries: one for each band it touches.
    bool Promise(int64_t bands) { return entries_.Promise(size_t(bands)); }

    // Lists, for each band from firstBand up to endBand, the blits that
    // touch its rows.
    void Sort(const std::vector<QueuedBlit>& blits, int64_t firstBand, int64_t endBand)
    {
        first_ = firstBand;
        bandStarts_.assign(size_t(endBand - firstBand) + 2, 0);
        for (const QueuedBlit& blit : blits)
            ForEachBand(blit.area, firstBand, endBand, [&](size_t band) { ++bandStarts_[band + 2]; });
        for (size_t i = 2; i < bandStarts_.size(); ++i)
            bandStarts_[i] += bandStarts_[i - 1];
        entries_.KeepFirst(0);
        sorted_ = entries_.Take(bandStarts_.back());
        for (size_t i = 0; i < blits.size(); ++i)
            ForEachBand(blits[i].area, firstBand, endBand, [&](size_t band) { sorted_[bandStarts_[band + 1]++] = i; });
    }

    // The blits of `band` (of the last Sort), in the order taken.
    const size_t* Begin(int64_t band) const { return sorted_ + bandStarts_[size_t(band - first_)]; }
    const size_t* End(int64_t band) const { return sorted_ + bandStarts_[size_t(band - first_) + 1]; }

    // Blits before this one are in the band's memory.
    size_t& Settled(int64_t band) { return settled_[size_t(band)]; }

    void Clear()
    {
        std::fill(settled_.begin(), settled_.end(), 0);
        entries_.Clear();
    }

private:
    template <typename Visit>
    void ForEachBand(const Rectangle& area, int64_t firstBand, int64_t endBand, Visit visit) const
    {
        const int64_t from = std::max(firstBand, BandOf(area.top));
        const int64_t to = std::min(endBand, BandOf(area.bottom - 1) + 1);
        for (int64_t band = from; band < to; ++band)
            visit(size_t(band - firstBand));
    }

    int bandShift_ = 0;
    int64_t first_ = 0;
    std::vector<size_t> bandStarts_;
    PromisedRoom<size_t> entries_;
    size_t* sorted_ = nullptr;
    std::vector<size_t> settled_;
};

} // namespace platform::compose
