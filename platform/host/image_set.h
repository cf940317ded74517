// Images a screen is shown from in turn: while the screen still reads the
// ones shown last, the next picture is drawn into another, which first
// catches up with what changed since it last held the latest picture. Only
// the bookkeeping; the images, and the choice of which to draw into next,
// are the host's. Pure, tested on its own.
#pragma once

#include <vector>

#include "common/rectangle.h"

namespace platform::host {

class ImageSet {
public:
    // `count` images, all alike.
    explicit ImageSet(int count = 2);

    int Count() const { return int(lag_.size()); }
    // One more image, made anew: it lags behind the others in `whole`, the
    // images' whole rectangle. Returns its index.
    int Add(const Rectangle& whole);
    // The image that holds the latest picture, from which others catch up.
    int Latest() const { return latest_; }

    // `image` is drawn into now. Returns the part of it to copy from
    // Latest() first: empty when it is the latest or `overwritten`, about
    // to be written whole, covers what it lags behind in. An index out of
    // range acquires nothing.
    Rectangle Acquire(int image, const Rectangle& overwritten);
    // The image last acquired was drawn into, `area` of it changed; it now
    // holds the latest picture and every other one lags behind it there.
    // Returns that image, or -1 when none was acquired.
    int Changed(const Rectangle& area);

    // `count` images alike again (made anew, all black).
    void Reset(int count);

private:
    std::vector<Rectangle> lag_; // where each image lags behind the latest
    int latest_ = 0;
    int acquired_ = -1;
};

} // namespace platform::host
