#include "animation_writer.h"

#include <memory>
#include <span>

#include <webp/encode.h>
#include <webp/mux.h>

namespace replay {
namespace {

// Lossless effort 0 (fast) to 9 (small): the README's recordings are made
// once and read many times.
constexpr int kLosslessLevel = 6;

struct PictureFreer {
    void operator()(WebPPicture* picture) const { WebPPictureFree(picture); }
};

bool ToPicture(const headless::Capture& frame, WebPPicture& picture)
{
    picture.use_argb = 1;
    picture.width = frame.width;
    picture.height = frame.height;
    if (!WebPPictureAlloc(&picture)) return false;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            picture.argb[size_t(y) * size_t(picture.argb_stride) + size_t(x)] = 0xFF000000u | frame.At(x, y);
    return true;
}

} // namespace

AnimationWriter::~AnimationWriter() { WebPAnimEncoderDelete(encoder); }

bool AnimationWriter::Open(const std::string& target, std::string& error) { return file.Open(target, error); }

bool AnimationWriter::Start(const headless::Capture& frame, std::string& error)
{
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options)) {
        error = "libwebp is not the version this program was built with";
        return false;
    }
    options.anim_params.loop_count = 0; // for ever
    options.allow_mixed = 0;
    encoder = WebPAnimEncoderNew(frame.width, frame.height, &options);
    if (!encoder) {
        error = "out of memory";
        return false;
    }
    width = frame.width;
    height = frame.height;
    return true;
}

bool AnimationWriter::Add(const headless::Capture& frame, uint32_t milliseconds, std::string& error)
{
    if (frame.width <= 0 || frame.height <= 0 || frame.pixels.size() < size_t(frame.width) * size_t(frame.height)) {
        error = "the picture is empty";
        return false;
    }
    if (!encoder && !Start(frame, error)) return false;
    if (frame.width != width || frame.height != height) {
        error = "the picture is " + std::to_string(frame.width) + " by " + std::to_string(frame.height)
            + ", the recording " + std::to_string(width) + " by " + std::to_string(height);
        return false;
    }
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPConfigLosslessPreset(&config, kLosslessLevel) || !WebPPictureInit(&picture)) {
        error = "libwebp is not the version this program was built with";
        return false;
    }
    std::unique_ptr<WebPPicture, PictureFreer> owned(&picture);
    if (!ToPicture(frame, picture)) {
        error = "out of memory";
        return false;
    }
    // A frame's timestamp is when it starts; its length is the next one's start.
    if (!WebPAnimEncoderAdd(encoder, &picture, int(elapsed), &config)) {
        error = WebPAnimEncoderGetError(encoder);
        return false;
    }
    elapsed += milliseconds;
    ++frames;
    return true;
}

bool AnimationWriter::Finish(std::string& error)
{
    if (!file.IsOpen()) {
        error = "the file is not open";
        return false;
    }
    if (!encoder) {
        file.Abandon();
        error = "no frame was recorded";
        return false;
    }
    WebPData data;
    WebPDataInit(&data);
    bool assembled
        = WebPAnimEncoderAdd(encoder, nullptr, int(elapsed), nullptr) && WebPAnimEncoderAssemble(encoder, &data);
    if (!assembled) {
        error = WebPAnimEncoderGetError(encoder);
        file.Abandon();
    }
    bool written = assembled && file.Write(std::span(data.bytes, data.size), error) && file.Commit(error);
    WebPDataClear(&data);
    return written;
}

} // namespace replay
