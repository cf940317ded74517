#include "host/image_pair.h"

#include <algorithm>

namespace platform::host {
namespace {

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Union(const RECT& a, const RECT& b)
{
    if (IsEmpty(a)) return b;
    if (IsEmpty(b)) return a;
    return RECT { std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
        std::max(a.bottom, b.bottom) };
}

bool Covers(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right
        && inner.bottom <= outer.bottom;
}

} // namespace

int ImagePair::Acquire(const RECT& overwritten, RECT& catchUp)
{
    RECT& behind = behind_[current_];
    catchUp = IsEmpty(behind) || Covers(overwritten, behind) ? RECT {} : behind;
    behind = {};
    acquired_ = current_;
    return current_;
}

int ImagePair::Shown(const RECT& area)
{
    const int shown = acquired_;
    acquired_ = -1;
    if (shown < 0) return -1;
    if (IsEmpty(area)) return shown;
    current_ = 1 - shown;
    behind_[current_] = Union(behind_[current_], area);
    return shown;
}

void ImagePair::Reset() { *this = ImagePair {}; }

} // namespace platform::host
