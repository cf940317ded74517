#include "pixels/loop_choice.h"
#include "pixels/testing_hooks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>

namespace platform::pixels {
namespace choice_detail {
const PixelLoops* chosen[2] = {};
} // namespace choice_detail

namespace {

using Clock = std::chrono::steady_clock;

// Rounds of a trial, and passes of the work a candidate does in one timed
// round.
constexpr int kRounds = 5;
constexpr int kPassesPerRound = 3;
// Presentations before the first trial is held again; each later one waits
// eight times as long.
constexpr int64_t kFirstRetrial = 1024;
constexpr int64_t kRetrialGrowth = 8;

std::optional<VectorSet>& HeldSet()
{
    static std::optional<VectorSet> held;
    return held;
}

std::optional<KeyedStores>& HeldMethod()
{
    static std::optional<KeyedStores> held;
    return held;
}

int SizeIndex(int bytesPerPixel) { return bytesPerPixel == 4 ? 1 : 0; }

// The loops that may run, in order of preference: wider sets first, masked
// stores before blending. The portable loops only where no vector set is
// there, or held.
std::vector<const PixelLoops*> Candidates(int bytesPerPixel)
{
    std::vector<const PixelLoops*> candidates;
    for (auto set = std::rbegin(kVectorSets); set != std::rend(kVectorSets); ++set) {
        if (HeldSet() && *HeldSet() != *set) continue;
        if (*set == VectorSet::Portable && !candidates.empty()) continue;
        for (KeyedStores method : { KeyedStores::Masked, KeyedStores::Blend }) {
            if (HeldMethod() && *HeldMethod() != method) continue;
            const PixelLoops* loops = LoopsOf(*set, method, bytesPerPixel);
            if (loops != nullptr && std::find(candidates.begin(), candidates.end(), loops) == candidates.end())
                candidates.push_back(loops);
        }
    }
    return candidates;
}

// The work a candidate is timed on: the kinds of blits a frame is made
// of, a band of rows at a time, on memory of the trial's own. Source
// pictures have transparent runs short and long, so that some vectors are
// drawn whole, some skipped and some partly keyed.
class TrialWork {
public:
    explicit TrialWork(int bytesPerPixel)
        : bytes_(bytesPerPixel)
        , pitch_(int64_t(kWidth + 16) * bytesPerPixel)
        , source_(size_t(pitch_) * kRows + 64)
        , target_(size_t(pitch_) * (kRows + 2 * kColumnMove) + 64)
        , columns_(kColumns)
        , groups_(kColumns)
        , vectorGroups_(kColumns + 2)
        , picked_(kWidth)
    {
        uint32_t seed = 12345;
        auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
        bool keyed = false;
        for (int64_t at = 0; at + bytes_ <= int64_t(source_.size());) {
            const int64_t run = 1 + int64_t(next() % 96);
            for (int64_t i = 0; i < run && at + bytes_ <= int64_t(source_.size()); ++i, at += bytes_) {
                const uint32_t value = keyed ? kKey : (next() & (bytes_ == 4 ? 0x00FFFFFFu : 0xFFFFu)) | 1u;
                std::memcpy(&source_[size_t(at)], &value, size_t(bytes_));
            }
            keyed = !keyed;
        }
        for (int64_t c = 0; c < kColumns; ++c) {
            const int64_t shift = kColumnMove + int64_t(std::lround(kColumnMove * std::sin(double(c) * 0.07)));
            columns_[size_t(c)] = { shift, shift + kRows, shift };
        }
        for (int64_t x = 0; x < kWidth; ++x)
            picked_[size_t(x)] = int32_t(x * 50 / kWidth);
    }

    void Run(const PixelLoops& loops)
    {
        const ColourKey key { kKey, 0 };
        const uint32_t keep = bytes_ == 4 ? kKeepColourBits : kKeepAllBits;
        uint8_t* target = target_.data();
        const uint8_t* source = source_.data();
        for (int64_t y = 0; y < kRows; ++y)
            loops.fill(target + y * pitch_, kWidth, 0);
        loops.copyKeyed({ target, pitch_, source, pitch_, kWidth, kRows }, key, keep);
        // Narrow rows: a picture's small parts and the ends of rows.
        for (int64_t x = 0; x + kNarrow <= kWidth; x += 4 * kNarrow)
            loops.copyKeyed(
                { target + x * bytes_, pitch_, source + (x + 3) * bytes_, pitch_, kNarrow, kRows }, key, keep);
        const ColumnBand band { source, pitch_, kColumns, columns_.data() };
        const ColumnLayout layout = LayOutColumns(band, loops, groups_.data(), vectorGroups_.data());
        loops.copyKeyedColumns(band, layout, { target, pitch_, 0, kRows + 2 * kColumnMove, 0, kColumns, keep }, key);
        for (int64_t y = 0; y < kRows; ++y)
            loops.copyMasked(target + (y + kColumnMove) * pitch_, source + y * pitch_, kWidth, keep);
        for (int64_t y = 0; y < kRows / 4; ++y)
            loops.pickColumns(target + y * pitch_, source + y * pitch_, picked_.data(), kWidth, keep);
    }

private:
    static constexpr int64_t kWidth = 640, kRows = 16, kNarrow = 15, kColumns = 600, kColumnMove = 5;
    static constexpr uint32_t kKey = 0xF81Fu; // magenta in 5-6-5, and a colour like any other in 8-8-8

    int64_t bytes_;
    int64_t pitch_;
    std::vector<uint8_t> source_;
    std::vector<uint8_t> target_;
    std::vector<BandColumn> columns_;
    std::vector<LaneGroup> groups_;
    std::vector<int32_t> vectorGroups_;
    std::vector<int32_t> picked_;
};

double Microseconds(Clock::duration duration) { return std::chrono::duration<double, std::micro>(duration).count(); }

// One trial for one pixel size: all its rounds at once (the first choice),
// or a round a presentation (when held again, so that no frame waits for
// all of it).
class Trial {
public:
    Trial(int bytesPerPixel, std::vector<const PixelLoops*> candidates)
        : work_(bytesPerPixel)
        , candidates_(std::move(candidates))
        , best_(candidates_.size())
    {
        // Each candidate once untimed: its code and the memory come into the caches.
        for (const PixelLoops* loops : candidates_)
            work_.Run(*loops);
    }

    int Rounds() const { return rounds_; }
    bool Done() const { return Rounds() >= kRounds; }

    void RunRound()
    {
        const Clock::time_point start = Clock::now();
        const size_t round = size_t(rounds_);
        // Each round in another order: a drift over the trial favours none.
        for (size_t i = 0; i < candidates_.size(); ++i) {
            const size_t c = (i + round) % candidates_.size();
            const Clock::time_point begin = Clock::now();
            for (int pass = 0; pass < kPassesPerRound; ++pass)
                work_.Run(*candidates_[c]);
            best_.Time(c, Microseconds(Clock::now() - begin) / kPassesPerRound);
        }
        ++rounds_;
        spent_ += Clock::now() - start;
    }

    Clock::duration Spent() const { return spent_; }

    const PixelLoops* Decide(TrialReport& report) const
    {
        report = {};
        report.milliseconds = std::chrono::duration<double, std::milli>(spent_).count();
        for (size_t c = 0; c < candidates_.size(); ++c)
            report.candidates.push_back({ { candidates_[c]->set, candidates_[c]->keyedStores }, best_.Of(c) });
        return candidates_[best_.Fastest()];
    }

private:
    TrialWork work_;
    std::vector<const PixelLoops*> candidates_;
    BestTimes best_;
    int rounds_ = 0;
    Clock::duration spent_ {};
};

struct SizeState {
    TrialReport report;
    std::unique_ptr<Trial> retrial;
    RetrialSchedule retrials { kFirstRetrial, kRetrialGrowth };
};

struct ChoiceState {
    SizeState sizes[2];
    int64_t presentations = 0;
};

ChoiceState& State()
{
    static ChoiceState state;
    return state;
}

std::unique_ptr<Trial> MakeTrial(int bytesPerPixel, std::vector<const PixelLoops*> candidates)
{
    try {
        return std::make_unique<Trial>(bytesPerPixel, std::move(candidates));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// The bound is shared by both pixel sizes: each takes half.
constexpr Clock::duration kBoundPerSize = std::chrono::duration_cast<Clock::duration>(kTrialBound) / 2;

void Forget()
{
    choice_detail::chosen[0] = choice_detail::chosen[1] = nullptr;
    for (SizeState& size : State().sizes) {
        size.retrial.reset();
        size.report = {};
    }
}

} // namespace

namespace choice_detail {

const PixelLoops* Choose(int bytesPerPixel)
{
    const int index = SizeIndex(bytesPerPixel);
    SizeState& size = State().sizes[index];
    std::vector<const PixelLoops*> candidates = Candidates(bytesPerPixel);
    // The portable loops are there whatever else is not.
    if (candidates.empty()) candidates.push_back(LoopsOf(VectorSet::Portable, KeyedStores::Blend, bytesPerPixel));
    const PixelLoops* pick = candidates.front();
    size.report = {};
    if (candidates.size() > 1) {
        if (std::unique_ptr<Trial> trial = MakeTrial(bytesPerPixel, candidates)) {
            while (!trial->Done() && (trial->Rounds() == 0 || trial->Spent() < kBoundPerSize))
                trial->RunRound();
            pick = trial->Decide(size.report);
        }
    }
    chosen[index] = pick;
    return pick;
}

} // namespace choice_detail

LoopChoice ChosenLoops(int bytesPerPixel)
{
    const PixelLoops& loops = Loops(bytesPerPixel);
    return { loops.set, loops.keyedStores };
}

bool HoldVectorSet(std::optional<VectorSet> set)
{
    if (set && LoopsOf(*set, KeyedStores::Blend, 4) == nullptr) return false;
    HeldSet() = set;
    Forget();
    return true;
}

void HoldKeyedStores(std::optional<KeyedStores> method)
{
    HeldMethod() = method;
    Forget();
}

std::optional<VectorSet> HeldVectorSet() { return HeldSet(); }
std::optional<KeyedStores> HeldKeyedStores() { return HeldMethod(); }

TrialReport LastTrial(int bytesPerPixel) { return State().sizes[SizeIndex(bytesPerPixel)].report; }

void LoopsPresented()
{
    ChoiceState& state = State();
    ++state.presentations;
    for (int index = 0; index < 2; ++index) {
        SizeState& size = state.sizes[index];
        const PixelLoops* current = choice_detail::chosen[index];
        if (current == nullptr) continue;
        if (!size.retrial) {
            if (!size.retrials.Due(state.presentations)) continue;
            size.retrials.Tried(state.presentations);
            // The loops in use first: another must beat them by the tolerance.
            std::vector<const PixelLoops*> candidates = Candidates(current->bytesPerPixel);
            std::erase(candidates, current);
            if (candidates.empty()) continue;
            candidates.insert(candidates.begin(), current);
            size.retrial = MakeTrial(current->bytesPerPixel, std::move(candidates));
            continue;
        }
        size.retrial->RunRound();
        if (!size.retrial->Done()) continue;
        choice_detail::chosen[index] = size.retrial->Decide(size.report);
        size.retrial.reset();
    }
}

} // namespace platform::pixels
