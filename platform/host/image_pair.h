// Two images a screen is shown from in turn: while the screen reads the one
// last shown, the next picture is drawn into the other, which first catches
// up with what the last one showed since. Only the bookkeeping; the images
// are the host's. Pure, tested on its own.
#pragma once

#include "host/image_set.h"

namespace platform::host {

class ImagePair {
public:
    // The image (0 or 1) to draw into now. `catchUp` is the part of it to
    // copy from the other image first, empty when `overwritten`, about to be
    // written whole, covers what it lags behind in.
    int Acquire(const Rectangle& overwritten, Rectangle& catchUp);
    // The image last acquired went to the screen with `area` changed; the
    // next picture goes into the other. Returns that image, or -1 when none
    // was acquired.
    int Shown(const Rectangle& area);
    // Both images alike again (made anew, both black).
    void Reset();

private:
    ImageSet images_ { 2 };
    int next_ = 0;
};

} // namespace platform::host
