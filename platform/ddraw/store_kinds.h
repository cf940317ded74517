// How a frame-sized copy writes its target: with ordinary stores, which
// keep the target in the caches, or with streaming ones, which write past
// them. Which makes a frame faster depends on the processor's caches and
// on the size (a processor with a large last-level cache keeps a whole
// frame there), and what a processor, or a virtual machine, reports of its
// caches cannot be trusted: the choice is made by timing the program's own
// first frames of each size with either kind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform::ddraw::rows {

enum class StoreKind { Ordinary, Streaming };

// The kind for this frame's presentation of `bytes`; called once a frame.
// A few dozen frames of a size try both kinds, then the faster one stays
// until the next such trial, held ever more rarely.
StoreKind FrameStoreKind(size_t bytes);
// The kind chosen for `bytes`, once the trial is over.
std::optional<StoreKind> ChosenStoreKind(size_t bytes);
// The kind for a copy of `width` by `height` pixels: FrameStoreKind for one
// as large as a frame, ordinary stores for a smaller one.
StoreKind StoreKindForCopy(int64_t width, int64_t height, int bytesPerPixel);
// Tests hold the copies to one kind; nullopt measures again.
void ForceStoreKind(std::optional<StoreKind> kind);

// `count` pixels of `bytesPerPixel` bytes from `in` to `out`; 32-bit ones
// are masked with `keepBits`. Call FinishStores after the last row.
void CopyRowWith(StoreKind kind, uint8_t* out, const uint8_t* in, int64_t count, int bytesPerPixel, uint32_t keepBits);
// `count` pixels of the raw value `raw`.
void FillRowWith(StoreKind kind, uint8_t* out, int64_t count, int bytesPerPixel, uint32_t raw);
void FinishStores(StoreKind kind);

} // namespace platform::ddraw::rows
