#include "pixels/presentation_stores.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>
#include <vector>

#include "pixels/loop_choice.h"
#include "pixels/testing_hooks.h"
#include "pixels/timed_choice.h"

namespace platform::pixels {
namespace {

std::optional<PresentationStores>& Held()
{
    static std::optional<PresentationStores> held;
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
class PresentationStoresTrial {
public:
    explicit PresentationStoresTrial(size_t bytes)
        : bytes_(bytes)
    {
    }

    size_t Bytes() const { return bytes_; }
    std::optional<PresentationStores> Decided() const { return decided_ ? std::optional(kind_) : std::nullopt; }

    PresentationStores Next()
    {
        const int64_t presentation = presentations_++;
        if (!retrials_.Due(presentation)) return kind_;
        const int64_t trialStart = retrials_.Next();
        const Clock::time_point now = Clock::now();
        // The frame that just ended was presented with the kind handed out
        // at its start.
        const int64_t ended = presentation - trialStart - 1;
        if (ended >= 0) Count(ended, std::chrono::duration<double>(now - last_).count());
        last_ = now;
        // The trial ended with that frame: this one has the kind it kept.
        if (!retrials_.Due(presentation)) return kind_;
        return KindOfBlock((presentation - trialStart) / kBlockFrames);
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
    static constexpr int64_t kRetrialGrowth = 4;

    static PresentationStores KindOfBlock(int64_t block)
    {
        return block % 4 == 1 || block % 4 == 2 ? PresentationStores::Streaming : PresentationStores::Ordinary;
    }

    void Count(int64_t frame, double seconds)
    {
        const int64_t block = frame / kBlockFrames, within = frame % kBlockFrames;
        if (within > 0) blockSeconds_ += seconds;
        if (within < kBlockFrames - 1) return;
        // The fastest block of each kind: other work on the machine only
        // ever makes a block slower.
        best_.Time(size_t(KindOfBlock(block)), blockSeconds_);
        blockSeconds_ = 0.0;
        if (block < kBlocks - 1) return;
        // The kind in use (ordinary ones at first, which let bands be drawn
        // straight into the screen) stays unless the other is faster by
        // more than noise.
        const PresentationStores other
            = kind_ == PresentationStores::Ordinary ? PresentationStores::Streaming : PresentationStores::Ordinary;
        if (PickFastest({ { best_.Of(size_t(kind_)), best_.Of(size_t(other)) } }) == 1) kind_ = other;
        decided_ = true;
        best_.Clear();
        retrials_.Tried(presentations_);
    }

    size_t bytes_;
    int64_t presentations_ = 0;
    RetrialSchedule retrials_ { kFirstFrames, kRetrialGrowth, kSpacing };
    Clock::time_point last_;
    double blockSeconds_ = 0.0;
    BestTimes best_ { 2 };
    bool decided_ = false;
    PresentationStores kind_ = PresentationStores::Ordinary;
};

std::vector<PresentationStoresTrial>& Trials()
{
    static std::vector<PresentationStoresTrial> trials;
    return trials;
}

PresentationStores TrialKind(size_t bytes)
{
    // A program presents one or two frame sizes; a few are kept apart.
    constexpr size_t kSizes = 4;
    std::vector<PresentationStoresTrial>& trials = Trials();
    for (PresentationStoresTrial& trial : trials)
        if (trial.Bytes() == bytes) return trial.Next();
    if (trials.size() >= kSizes) return PresentationStores::Ordinary;
    try {
        trials.emplace_back(bytes);
    } catch (const std::bad_alloc&) {
        return PresentationStores::Ordinary;
    }
    return trials.back().Next();
}

} // namespace

const char* PresentationStoresName(PresentationStores kind)
{
    return kind == PresentationStores::Streaming ? "streaming" : "ordinary";
}

PresentationStores StoresForPresentation(size_t bytes)
{
    LoopsPresented();
    if (Held()) return *Held();
    return TrialKind(bytes);
}

std::optional<PresentationStores> ChosenPresentationStores(size_t bytes)
{
    if (Held()) return Held();
    for (const PresentationStoresTrial& trial : Trials())
        if (trial.Bytes() == bytes) return trial.Decided();
    return std::nullopt;
}

void HoldPresentationStores(std::optional<PresentationStores> kind) { Held() = kind; }

std::optional<PresentationStores> HeldPresentationStores() { return Held(); }

void CopyRowWith([[maybe_unused]] PresentationStores kind, uint8_t* out, const uint8_t* in, int64_t count,
    int bytesPerPixel, uint32_t keepBits)
{
    if (count <= 0) return;
    if (kind == PresentationStores::Streaming) {
        Loops(bytesPerPixel).streamCopy(out, in, count, keepBits);
        return;
    }
    if (bytesPerPixel == 4 && keepBits != kKeepAllBits)
        Loops(4).copyMasked(out, in, count, keepBits);
    else
        std::memcpy(out, in, size_t(count) * size_t(bytesPerPixel));
}

void FillRowWith([[maybe_unused]] PresentationStores kind, uint8_t* out, int64_t count, int bytesPerPixel, uint32_t raw)
{
    if (count <= 0) return;
    const PixelLoops& loops = Loops(bytesPerPixel);
    if (kind == PresentationStores::Streaming)
        loops.streamFill(out, count, raw);
    else
        loops.fill(out, count, raw);
}

void FinishStores([[maybe_unused]] PresentationStores kind)
{
    if (kind == PresentationStores::Streaming) FinishStreaming();
}

} // namespace platform::pixels
