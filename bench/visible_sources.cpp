#include "visible_sources.h"

#include <algorithm>
#include <cstring>

namespace bench {
namespace {

uint32_t RawAt(const SDL_Surface* surface, int x, int y)
{
    uint32_t value = 0;
    const int bytes = surface->format->BytesPerPixel;
    std::memcpy(&value, static_cast<const uint8_t*>(surface->pixels) + ptrdiff_t(y) * surface->pitch + x * bytes,
        size_t(bytes));
    return value;
}

uint64_t Origin(int picture, const SDL_Surface* source, int x, int y)
{
    return (uint64_t(picture) + 1) << 32 | (uint64_t(y) * uint64_t(source->w) + uint64_t(x));
}

} // namespace

VisibleSources::VisibleSources(int width, int height)
    : width_(width)
    , height_(height)
    , origins_(size_t(width) * size_t(height), 0)
{
}

void VisibleSources::Clear() { std::fill(origins_.begin(), origins_.end(), 0); }

void VisibleSources::Copy(
    int picture, const SDL_Surface* source, int sourceX, int sourceY, const SDL_Rect& area, bool keyed)
{
    Uint32 key = 0;
    const bool hasKey = keyed && SDL_GetColorKey(const_cast<SDL_Surface*>(source), &key) == 0;
    for (int y = 0; y < area.h; ++y)
        for (int x = 0; x < area.w; ++x) {
            const int fromX = sourceX + x, fromY = sourceY + y;
            if (hasKey && RawAt(source, fromX, fromY) == key) continue;
            origins_[size_t(area.y + y) * size_t(width_) + size_t(area.x + x)] = Origin(picture, source, fromX, fromY);
        }
}

void VisibleSources::Stretch(
    int picture, const SDL_Surface* source, const SDL_Rect& sourceRect, const SDL_Rect& destination)
{
    for (int y = std::max(destination.y, 0); y < std::min(destination.y + destination.h, height_); ++y)
        for (int x = std::max(destination.x, 0); x < std::min(destination.x + destination.w, width_); ++x) {
            const int fromX = sourceRect.x + (x - destination.x) * sourceRect.w / destination.w;
            const int fromY = sourceRect.y + (y - destination.y) * sourceRect.h / destination.h;
            origins_[size_t(y) * size_t(width_) + size_t(x)] = Origin(picture, source, fromX, fromY);
        }
}

uint64_t VisibleSources::Count() const
{
    std::vector<uint64_t> shown;
    for (uint64_t origin : origins_)
        if (origin != 0) shown.push_back(origin);
    std::sort(shown.begin(), shown.end());
    return uint64_t(std::unique(shown.begin(), shown.end()) - shown.begin());
}

} // namespace bench
