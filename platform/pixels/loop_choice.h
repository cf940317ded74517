// Which loops draw pixels here: of every vector set the processor has and
// both ways of storing a partly keyed vector, the one that ran fastest when
// each was timed on this process's own memory, doing the kinds of work
// blits do (keyed rows wide and narrow, keyed columns, fills, copies,
// stretched rows). What a processor says of itself (its name, its caches)
// does not decide: on some processors a masked store is microcoded, on
// others the widest vectors are split in two.
//
// The first use times every candidate, a few rounds in turn, and keeps the
// fastest of each (other work on the machine only ever makes a round
// slower); the whole trial stays under kTrialBound. It is held again,
// spread over presentations, ever more rarely.
#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "pixels/loops.h"

namespace platform::pixels {

inline constexpr std::chrono::milliseconds kTrialBound { 20 };

struct LoopChoice {
    VectorSet set;
    StoreMethod method;
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

// Holds the loops to one set or one store method (nullopt: any): the next
// use chooses again among what is left. False, with nothing changed, for a
// set this processor or build lacks.
bool HoldVectorSet(std::optional<VectorSet> set);
void HoldStoreMethod(std::optional<StoreMethod> method);
std::optional<VectorSet> HeldVectorSet();
std::optional<StoreMethod> HeldStoreMethod();

// What the last trial for a pixel size measured: each candidate's best
// round, in microseconds, and the time the trial took.
struct CandidateTime {
    LoopChoice choice;
    double microseconds;
};
struct TrialReport {
    std::vector<CandidateTime> candidates;
    double milliseconds = 0.0;
};
TrialReport LastTrial(int bytesPerPixel);

// A frame was presented: a trial held again advances by a round.
void LoopsPresented();

// The decision, apart from the timing: `rounds[r][c]` is candidate c's time
// in round r; each candidate counts with its best round, and the first
// candidate (they come in order of preference) within `tolerance` of the
// fastest wins, so that noise between near equals does not flip the
// choice. Returns the index.
size_t PickFastest(const std::vector<std::vector<double>>& rounds, double tolerance);

} // namespace platform::pixels
