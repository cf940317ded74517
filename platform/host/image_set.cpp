#include "host/image_set.h"

#include <algorithm>

namespace platform::host {
namespace {

bool Covers(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
        && inner.bottom <= outer.bottom;
}

} // namespace

bool IsEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT UnionOf(const RECT& a, const RECT& b)
{
    if (IsEmptyRect(a)) return b;
    if (IsEmptyRect(b)) return a;
    return RECT { std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
        std::max(a.bottom, b.bottom) };
}

ImageSet::ImageSet(int count) { Reset(count); }

int ImageSet::Add(const RECT& whole)
{
    lag_.push_back(whole);
    return Count() - 1;
}

RECT ImageSet::Acquire(int image, const RECT& overwritten)
{
    acquired_ = -1;
    if (image < 0 || image >= Count()) return RECT {};
    RECT& lag = lag_[size_t(image)];
    const RECT catchUp = IsEmptyRect(lag) || Covers(overwritten, lag) ? RECT {} : lag;
    lag = {};
    acquired_ = image;
    return catchUp;
}

int ImageSet::Changed(const RECT& area)
{
    const int changed = acquired_;
    acquired_ = -1;
    if (changed < 0) return -1;
    latest_ = changed;
    if (IsEmptyRect(area)) return changed;
    for (int i = 0; i < Count(); ++i)
        if (i != changed) lag_[size_t(i)] = UnionOf(lag_[size_t(i)], area);
    return changed;
}

void ImageSet::Reset(int count)
{
    lag_.assign(size_t(std::max(count, 1)), RECT {});
    latest_ = 0;
    acquired_ = -1;
}

} // namespace platform::host
