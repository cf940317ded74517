// The columns of a band that later opaque blits cover, gathered while the
// band's blits are walked from the last to the first: what an earlier blit
// would draw there is never seen. A few spans are kept; one more that does
// not fit is left out, which only means drawing pixels that get covered.
#pragma once

#include <algorithm>
#include <cstdint>

namespace platform::compose {

class CoveredSpans {
public:
    // Columns left .. right - 1 are the ones that matter.
    CoveredSpans(int64_t left, int64_t right)
        : left_(left)
        , right_(right)
    {
    }

    bool CoversAll() const { return count_ == 1 && spans_[0].left <= left_ && spans_[0].right >= right_; }

    // Calls visible(from, to) for each run of left .. right - 1 not covered.
    template <typename Visible> void ForEachUncovered(int64_t left, int64_t right, Visible visible) const
    {
        for (int i = 0; i < count_ && left < right; ++i) {
            if (spans_[i].right <= left) continue;
            if (spans_[i].left >= right) break;
            if (spans_[i].left > left) visible(left, spans_[i].left);
            left = spans_[i].right;
        }
        if (left < right) visible(left, right);
    }

    void Cover(int64_t left, int64_t right)
    {
        left = std::max(left, left_);
        right = std::min(right, right_);
        if (left >= right) return;
        // Spans it touches merge with it; the rest keep their order.
        int first = 0;
        while (first < count_ && spans_[first].right < left)
            ++first;
        int end = first;
        while (end < count_ && spans_[end].left <= right) {
            left = std::min(left, spans_[end].left);
            right = std::max(right, spans_[end].right);
            ++end;
        }
        const int after = count_ - end;
        const int newCount = first + 1 + after;
        if (newCount > kMaxSpans) return;
        if (end > first)
            std::move(spans_ + end, spans_ + count_, spans_ + first + 1);
        else
            std::move_backward(spans_ + end, spans_ + count_, spans_ + newCount);
        spans_[first] = { left, right };
        count_ = newCount;
    }

private:
    struct Span {
        int64_t left;
        int64_t right;
    };
    static constexpr int kMaxSpans = 8;

    int64_t left_;
    int64_t right_;
    Span spans_[kMaxSpans] = {};
    int count_ = 0;
};

} // namespace platform::compose
