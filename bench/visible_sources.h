// Which source pixel each screen pixel shows at the end of a frame, so that
// the frame's fair floor counts each visible source pixel once: pixels a
// later copy covers, and repeats of one pixel by a stretch, cost nothing.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace bench {

class VisibleSources {
public:
    VisibleSources(int width, int height);

    // The frame's clear: no source pixel shows there.
    void Clear();
    // `source` (a picture, numbered `picture`) copied unscaled from
    // (sourceX, sourceY) to `area`, which lies on the screen; pixels equal to
    // the surface's colour key when `keyed` are left out.
    void Copy(int picture, const SDL_Surface* source, int sourceX, int sourceY, const SDL_Rect& area, bool keyed);
    // `sourceRect` scaled to `destination` by nearest neighbour, as the
    // program scales: destination offset d shows source offset d * size /
    // destination size.
    void Stretch(int picture, const SDL_Surface* source, const SDL_Rect& sourceRect, const SDL_Rect& destination);

    // Distinct source pixels on the screen.
    uint64_t Count() const;

private:
    int width_;
    int height_;
    std::vector<uint64_t> origins_; // 0: none; else picture + 1 above the source pixel's index
};

} // namespace bench
