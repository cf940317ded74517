#include "host/image_set.h"

#include <algorithm>

namespace platform::host {
ImageSet::ImageSet(int count) { Reset(count); }

int ImageSet::Add(const Rectangle& whole)
{
    lag_.push_back(whole);
    return Count() - 1;
}

Rectangle ImageSet::Acquire(int image, const Rectangle& overwritten)
{
    acquired_ = -1;
    if (image < 0 || image >= Count()) return Rectangle {};
    Rectangle& lag = lag_[size_t(image)];
    const Rectangle catchUp = lag.IsEmpty() || Covers(overwritten, lag) ? Rectangle {} : lag;
    lag = {};
    acquired_ = image;
    return catchUp;
}

int ImageSet::Changed(const Rectangle& area)
{
    const int changed = acquired_;
    acquired_ = -1;
    if (changed < 0) return -1;
    latest_ = changed;
    if (area.IsEmpty()) return changed;
    for (int i = 0; i < Count(); ++i)
        if (i != changed) lag_[size_t(i)] = UnionOf(lag_[size_t(i)], area);
    return changed;
}

void ImageSet::Reset(int count)
{
    lag_.assign(size_t(std::max(count, 1)), Rectangle {});
    latest_ = 0;
    acquired_ = -1;
}

} // namespace platform::host
