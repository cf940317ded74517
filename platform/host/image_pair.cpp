#include "host/image_pair.h"

namespace platform::host {

int ImagePair::Acquire(const Rectangle& overwritten, Rectangle& catchUp)
{
    catchUp = images_.Acquire(next_, overwritten);
    return next_;
}

// Nothing shown, no turn: the screen reads nothing new from the image.
int ImagePair::Shown(const Rectangle& area)
{
    const int shown = images_.Changed(area);
    if (shown >= 0 && !area.IsEmpty()) next_ = 1 - shown;
    return shown;
}

void ImagePair::Reset()
{
    images_.Reset(2);
    next_ = 0;
}

} // namespace platform::host
