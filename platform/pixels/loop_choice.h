// Which loops draw pixels here: of every vector set the processor has and
// both ways of storing a partly keyed vector, the one that ran fastest when
// each was timed on this process's own memory, doing the kinds of work
// blits do (keyed rows wide and narrow, keyed columns, fills, copies,
// stretched rows). What a processor says of itself (its name, its caches)
// does not decide: on some processors a masked store is microcoded, on
// others the widest vectors are split in two.
//
// The first use times every candidate, a few rounds in turn, as timed
// choices go (pixels/timed_choice.h); the whole trial stays under
// kTrialBound. It is held again, spread over presentations, ever more rarely.
#pragma once

#include <chrono>
#include <vector>

#include "pixels/loops.h"
#include "pixels/timed_choice.h"

namespace platform::pixels {

inline constexpr std::chrono::milliseconds kTrialBound { 20 };

struct LoopChoice {
    VectorSet set;
    KeyedStores keyedStores;
    bool operator==(const LoopChoice&) const = default;
};

namespace choice_detail {
extern const PixelLoops* chosen[2];
const PixelLoops* Choose(int bytesPerPixel);
} // namespace choice_detail

// The loops for pixels of `bytesPerPixel` bytes (2 or 4).
inline const PixelLoops& Loops(int bytesPerPixel)
{
    const PixelLoops* loops = choice_detail::chosen[bytesPerPixel == 4];
    if (loops == nullptr) [[unlikely]]
        loops = choice_detail::Choose(bytesPerPixel);
    return *loops;
}

LoopChoice ChosenLoops(int bytesPerPixel);

// A frame was presented: a trial held again advances by a round.
void LoopsPresented();

} // namespace platform::pixels
