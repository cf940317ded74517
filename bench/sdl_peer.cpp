#include "sdl_peer.h"

#include <cmath>

namespace bench {
namespace {

constexpr const char* kPictureFiles[6] = { "bg01.bmp", "bg02.bmp", "ch01.bmp", "koke.bmp", "mul.bmp", "chn.bmp" };
constexpr int kEmblem = 5;
constexpr int kCaptionPicture = 6;
constexpr float kDegreesToRadians = 3.14f / 180.0f;

Uint32 SdlFormat(DisplayMode mode)
{
    return mode == DisplayMode::Window32 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
}

uint64_t SurfaceBytes(const SDL_Surface* surface)
{
    return surface == nullptr ? 0 : uint64_t(surface->h) * uint64_t(surface->pitch);
}

uint64_t Area(const SDL_Rect& rect) { return rect.w > 0 && rect.h > 0 ? uint64_t(rect.w) * uint64_t(rect.h) : 0; }

// The wave's column offset, computed as the program does.
int WaveOffset(int column, float phase)
{
    float degrees = float(4 * column) + phase;
    return int(std::sin(double(degrees * kDegreesToRadians)) * -5.0);
}

} // namespace

SdlPeer::~SdlPeer() { Close(); }

void SdlPeer::Close()
{
    for (SDL_Surface*& picture : pictures_) {
        SDL_FreeSurface(picture);
        picture = nullptr;
    }
    SDL_FreeSurface(caption_);
    SDL_FreeSurface(back_);
    SDL_FreeSurface(ownScreen_);
    caption_ = back_ = ownScreen_ = screen_ = nullptr;
}

bool SdlPeer::Open(DisplayMode mode, const CaptionLayer& caption, std::string& error)
{
    Close();
    const Uint32 format = SdlFormat(mode);
    bytesPerPixel_ = BytesPerPixel(mode);
    for (int slot = 0; slot < 6; ++slot) {
        SDL_Surface* loaded = SDL_LoadBMP(kPictureFiles[slot]);
        if (loaded == nullptr) {
            error = std::string("SDL cannot load ") + kPictureFiles[slot] + ": " + SDL_GetError();
            return false;
        }
        pictures_[slot] = SDL_ConvertSurfaceFormat(loaded, format, 0);
        SDL_FreeSurface(loaded);
        if (pictures_[slot] == nullptr) {
            error = std::string("SDL cannot convert ") + kPictureFiles[slot] + ": " + SDL_GetError();
            return false;
        }
        // The zoom draws its magenta too; every other picture is keyed.
        if (slot != kEmblem)
            SDL_SetColorKey(pictures_[slot], SDL_TRUE, SDL_MapRGB(pictures_[slot]->format, 255, 0, 255));
    }
    back_ = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, bytesPerPixel_ * 8, format);
    // A desktop window's surface is 32-bit whatever the back buffer is.
    screen_ = ownScreen_ = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGB888);
    caption_ = SDL_CreateRGBSurfaceWithFormat(
        0, caption.image.width, caption.image.height, caption.image.bytesPerPixel * 8, format);
    if (back_ == nullptr || screen_ == nullptr || caption_ == nullptr) {
        error = std::string("SDL cannot create a surface: ") + SDL_GetError();
        return false;
    }
    const size_t rowBytes = size_t(caption.image.width) * size_t(caption.image.bytesPerPixel);
    for (int y = 0; y < caption.image.height; ++y)
        SDL_memcpy(static_cast<uint8_t*>(caption_->pixels) + ptrdiff_t(y) * caption_->pitch,
            caption.image.bytes.data() + rowBytes * size_t(y), rowBytes);
    SDL_SetColorKey(caption_, SDL_TRUE, caption.keyRaw);
    captionPlace_ = { caption.left, caption.top, caption.image.width, caption.image.height };
    return true;
}

void SdlPeer::Count(uint64_t read, uint64_t written)
{
    if (traffic_ == nullptr) return;
    traffic_->bytesRead += read;
    traffic_->bytesWritten += written;
}

void SdlPeer::Keyed(int slot, SDL_Rect source, int x, int y)
{
    SDL_Rect destination = { x, y, 0, 0 };
    SDL_BlitSurface(pictures_[slot], &source, back_, &destination);
    // SDL leaves the clipped rectangle it drew in `destination`.
    const uint64_t bytes = Area(destination) * uint64_t(bytesPerPixel_);
    Count(bytes, bytes);
    if (visible_ != nullptr && Area(destination) > 0)
        visible_->Copy(
            slot, pictures_[slot], source.x + (destination.x - x), source.y + (destination.y - y), destination, true);
}

void SdlPeer::Stretched(int slot, SDL_Rect source, SDL_Rect destination)
{
    if (destination.w <= 0 || destination.h <= 0) return;
    SDL_BlitScaled(pictures_[slot], &source, back_, &destination);
    Count(Area(source) * uint64_t(bytesPerPixel_), Area(destination) * uint64_t(bytesPerPixel_));
    if (visible_ != nullptr) visible_->Stretch(slot, pictures_[slot], source, destination);
}

void SdlPeer::Tiles()
{
    const int originX = int(kScrollX), originY = int(kScrollY);
    for (int row = 0; row < 480 / 25 + 2; ++row)
        for (int column = 0; column < 640 / 15 + 2; ++column)
            Keyed(3, { 0, 0, 15, 25 }, 15 * column + originX, 25 * row + originY);
}

void SdlPeer::Background(int mode)
{
    if (mode == 0 || mode == 1) {
        Keyed(mode, { 0, 0, 600, 285 }, 20, 80);
        return;
    }
    for (int column = 0; column < 600; ++column)
        Keyed(0, { column, 0, 1, 285 }, 20 + column, 80 - WaveOffset(column, kWavePhase));
}

void SdlPeer::Zoom(int size)
{
    Stretched(kEmblem, { 0, 0, 50, 50 }, { (640 - size) / 2, (480 - size) / 2, size, size });
}

void SdlPeer::Caption()
{
    SDL_Rect destination = captionPlace_;
    SDL_BlitSurface(caption_, nullptr, back_, &destination);
    Count(Area(destination) * uint64_t(bytesPerPixel_), Area(destination) * uint64_t(bytesPerPixel_));
    if (visible_ != nullptr && Area(destination) > 0)
        visible_->Copy(kCaptionPicture, caption_, destination.x - captionPlace_.x, destination.y - captionPlace_.y,
            destination, true);
}

void SdlPeer::Present()
{
    SDL_BlitSurface(back_, nullptr, screen_, nullptr);
    Count(SurfaceBytes(back_), SurfaceBytes(screen_));
}

void SdlPeer::DrawFrame(const FixedScene& scene)
{
    SDL_FillRect(back_, nullptr, 0);
    Count(0, SurfaceBytes(back_));
    if (visible_ != nullptr) visible_->Clear();
    if (scene.tiles) Tiles();
    Background(scene.backgroundMode);
    if (scene.wipe) Keyed(2, { 0, 0, 380, 480 }, 0, 0);
    if (scene.zoomSize >= 0) Zoom(scene.zoomSize);
    if (scene.caption) Caption();
    if (scene.sprite) Keyed(4, { 0, 100 * kSpriteFrame, 100, 100 }, kSpriteX, kSpriteY);
    Present();
}

FrameTraffic SdlPeer::MeasureFrame(const FixedScene& scene)
{
    FrameTraffic traffic;
    traffic_ = &traffic;
    DrawFrame(scene);
    traffic_ = nullptr;
    return traffic;
}

uint64_t SdlPeer::VisibleSourceBytes(const FixedScene& scene)
{
    VisibleSources shown(back_->w, back_->h);
    visible_ = &shown;
    DrawFrame(scene);
    visible_ = nullptr;
    return shown.Count() * uint64_t(bytesPerPixel_);
}

uint64_t SdlPeer::WorkingSetBytes(const FixedScene& scene) const
{
    uint64_t bytes = SurfaceBytes(back_) + SurfaceBytes(screen_);
    bytes += SurfaceBytes(pictures_[scene.backgroundMode == 1 ? 1 : 0]);
    if (scene.tiles) bytes += SurfaceBytes(pictures_[3]);
    if (scene.wipe) bytes += SurfaceBytes(pictures_[2]);
    if (scene.sprite) bytes += SurfaceBytes(pictures_[4]);
    if (scene.zoomSize >= 0) bytes += SurfaceBytes(pictures_[kEmblem]);
    if (scene.caption) bytes += SurfaceBytes(caption_);
    return bytes;
}

} // namespace bench
