// How a presentation (a whole surface copied onto the screen) writes the
// screen: with ordinary stores, which keep it in the caches, or with
// streaming ones, which write past them. Which makes a frame faster depends
// on the processor's caches and on the size (a processor with a large
// last-level cache keeps a whole frame there), and what a processor, or a
// virtual machine, reports of its caches cannot be trusted: the choice is
// made by timing the program's own first frames of each size with either
// kind. Every other copy uses ordinary stores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform::pixels {

enum class PresentationStores { Ordinary, Streaming };
const char* PresentationStoresName(PresentationStores kind); // "ordinary", "streaming"

// The kind for this presentation of `bytes`; called once a presentation.
// A few dozen presentations of a size try both kinds, then the faster one
// stays until the next such trial, held ever more rarely.
PresentationStores StoresForPresentation(size_t bytes);
// The kind chosen for presentations of `bytes`, once their trial is over.
std::optional<PresentationStores> ChosenPresentationStores(size_t bytes);

// `count` pixels of `bytesPerPixel` bytes from `in` to `out`; 32-bit ones
// are masked with `keepBits`. Call FinishStores after the last row.
void CopyRowWith(
    PresentationStores kind, uint8_t* out, const uint8_t* in, int64_t count, int bytesPerPixel, uint32_t keepBits);
// `count` pixels of the raw value `raw`.
void FillRowWith(PresentationStores kind, uint8_t* out, int64_t count, int bytesPerPixel, uint32_t raw);
void FinishStores(PresentationStores kind);

} // namespace platform::pixels
