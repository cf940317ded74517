#include "pixels/store_kinds.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>
#include <vector>

#include "pixels/loop_choice.h"

namespace platform::pixels {
namespace {

std::optional<StoreKind>& Held()
{
    static std::optional<StoreKind> held;
    return held;
}

using Clock = std::chrono::steady_clock;

// The kinds take turns over a few dozen presentations of a size, a block of
// frames each, and the kind whose frames went faster is kept. A frame is
// timed from one presentation to the next, so that it counts what the kind
// costs the rest of the frame too: ordinary stores push the frame's own
// pictures out of the caches, streaming ones go all the way to memory. A
// copy timed on its own cannot tell: on some processors it favours the kind
// that makes the whole frame slower. The trial is held again now and then,
// ever more rarely, so that one disturbed by other work on the machine, or
// held while the frames were unlike the later ones, does not stand for good.
class StoreKindTrial {
public:
    explicit StoreKindTrial(size_t bytes)
        : bytes_(bytes)
    {
    }

    size_t Bytes() const { return bytes_; }
    std::optional<StoreKind> Decided() const { return decided_ ? std::optional(kind_) : std::nullopt; }

    StoreKind Next()
    {
        const int64_t presentation = presentations_++;
        if (presentation < trialStart_) return kind_;
        const Clock::time_point now = Clock::now();
        // The frame that just ended was presented with the kind handed out
        // at its start.
        const int64_t ended = presentation - trialStart_ - 1;
        if (ended >= 0) Count(ended, std::chrono::duration<double>(now - last_).count());
        last_ = now;
        return KindOfBlock((presentation - trialStart_) / kBlockFrames);
    }

private:
    // Frames before the first trial, while caches and pages settle; frames
    // a block, of which the first is left out (it pays for the change);
    // blocks in the order A B B A, twice, so that a drift favours neither
    // kind; presentations between trials, at least.
    static constexpr int64_t kFirstFrames = 8;
    static constexpr int64_t kBlockFrames = 8;
    static constexpr int64_t kBlocks = 8;
    static constexpr int64_t kSpacing = 1024;
    static constexpr double kTolerance = 0.03;

    static StoreKind KindOfBlock(int64_t block)
    {
        return block % 4 == 1 || block % 4 == 2 ? StoreKind::Streaming : StoreKind::Ordinary;
    }

    void Count(int64_t frame, double seconds)
    {
        const int64_t block = frame / kBlockFrames, within = frame % kBlockFrames;
        if (within > 0) blockSeconds_ += seconds;
        if (within < kBlockFrames - 1) return;
        // The fastest block of each kind: other work on the machine only
        // ever makes a block slower.
        double& best = best_[int(KindOfBlock(block))];
        best = std::min(best, blockSeconds_);
        blockSeconds_ = 0.0;
        if (block < kBlocks - 1) return;
        // The kind in use (ordinary ones at first, which let bands be drawn
        // straight into the screen) stays unless the other is faster by
        // more than noise.
        const StoreKind other = kind_ == StoreKind::Ordinary ? StoreKind::Streaming : StoreKind::Ordinary;
        if (PickFastest({ { best_[int(kind_)], best_[int(other)] } }, kTolerance) == 1) kind_ = other;
        decided_ = true;
        best_[0] = best_[1] = 1e9;
        trialStart_ = std::max(4 * presentations_, presentations_ + kSpacing);
    }

    size_t bytes_;
    int64_t presentations_ = 0;
    int64_t trialStart_ = kFirstFrames;
    Clock::time_point last_;
    double blockSeconds_ = 0.0;
    double best_[2] = { 1e9, 1e9 };
    bool decided_ = false;
    StoreKind kind_ = StoreKind::Ordinary;
};

std::vector<StoreKindTrial>& Trials()
{
    static std::vector<StoreKindTrial> trials;
    return trials;
}

StoreKind TrialKind(size_t bytes)
{
    // A program presents one or two frame sizes; a few are kept apart.
    constexpr size_t kSizes = 4;
    std::vector<StoreKindTrial>& trials = Trials();
    for (StoreKindTrial& trial : trials)
        if (trial.Bytes() == bytes) return trial.Next();
    if (trials.size() >= kSizes) return StoreKind::Ordinary;
    try {
        trials.emplace_back(bytes);
    } catch (const std::bad_alloc&) {
        return StoreKind::Ordinary;
    }
    return trials.back().Next();
}

} // namespace

const char* StoreKindName(StoreKind kind) { return kind == StoreKind::Streaming ? "streaming" : "ordinary"; }

StoreKind PresentationStores(size_t bytes)
{
    LoopsPresented();
    if (Held()) return *Held();
    return TrialKind(bytes);
}

std::optional<StoreKind> ChosenStoreKind(size_t bytes)
{
    if (Held()) return Held();
    for (const StoreKindTrial& trial : Trials())
        if (trial.Bytes() == bytes) return trial.Decided();
    return std::nullopt;
}

void HoldStoreKind(std::optional<StoreKind> kind) { Held() = kind; }

std::optional<StoreKind> HeldStoreKind() { return Held(); }

void CopyRowWith([[maybe_unused]] StoreKind kind, uint8_t* out, const uint8_t* in, int64_t count, int bytesPerPixel,
    uint32_t keepBits)
{
    if (count <= 0) return;
    if (kind == StoreKind::Streaming) {
        Loops(bytesPerPixel).streamCopy(out, in, count, keepBits);
        return;
    }
    if (bytesPerPixel == 4 && keepBits != kKeepAllBits)
        Loops(4).copyMasked(out, in, count, keepBits);
    else
        std::memcpy(out, in, size_t(count) * size_t(bytesPerPixel));
}

void FillRowWith([[maybe_unused]] StoreKind kind, uint8_t* out, int64_t count, int bytesPerPixel, uint32_t raw)
{
    if (count <= 0) return;
    const PixelLoops& loops = Loops(bytesPerPixel);
    if (kind == StoreKind::Streaming)
        loops.streamFill(out, count, raw);
    else
        loops.fill(out, count, raw);
}

void FinishStores([[maybe_unused]] StoreKind kind)
{
    if (kind == StoreKind::Streaming) FinishStreaming();
}

} // namespace platform::pixels
