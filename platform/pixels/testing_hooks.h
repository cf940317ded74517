// What tests and the benchmark hold or read of the pixel loops' choices;
// nothing else includes this.
#pragma once

#include <optional>
#include <vector>

#include "pixels/loop_choice.h"
#include "pixels/loops.h"
#include "pixels/presentation_stores.h"

namespace platform::pixels {

// Holds the loops to one set or one store method (nullopt: any): the next
// use chooses again among what is left. False, with nothing changed, for a
// set this processor or build lacks.
bool HoldVectorSet(std::optional<VectorSet> set);
void HoldKeyedStores(std::optional<KeyedStores> method);
std::optional<VectorSet> HeldVectorSet();
std::optional<KeyedStores> HeldKeyedStores();

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

// Holds presentations to one kind of stores (nullopt: measure).
void HoldPresentationStores(std::optional<PresentationStores> kind);
std::optional<PresentationStores> HeldPresentationStores();

// Whether `set` stores partly keyed vectors of this size with masked stores.
bool HasMaskedStores(VectorSet set, int bytesPerPixel);

} // namespace platform::pixels
