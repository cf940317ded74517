#include "animation_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

#include <webp/demux.h>

namespace animation {
namespace {

struct DecoderDeleter {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

headless::Capture ToCapture(const uint8_t* rgba, int width, int height)
{
    headless::Capture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const uint8_t* p = rgba + i * 4;
        picture.pixels[i] = p[3] == 0 ? 0 : uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
    return picture;
}

// A frame shown from `start` to `end` milliseconds into the animation.
struct Span {
    const Frame* frame;
    int start;
    int end;
};

std::vector<Span> Timeline(const Animation& animation)
{
    std::vector<Span> spans;
    int at = 0;
    for (const Frame& frame : animation.frames) {
        spans.push_back({ &frame, at, at + frame.milliseconds });
        at += frame.milliseconds;
    }
    return spans;
}

size_t DifferingPixels(const headless::Capture& a, const headless::Capture& b)
{
    size_t differing = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        differing += a.pixels[i] != b.pixels[i];
    return differing;
}

} // namespace

bool ReadAnimation(const std::string& path, Animation& animation, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    WebPData data { reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() };
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) {
        error = "libwebp is not the version this was built with";
        return false;
    }
    options.color_mode = MODE_RGBA;
    std::unique_ptr<WebPAnimDecoder, DecoderDeleter> decoder(WebPAnimDecoderNew(&data, &options));
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info)) {
        error = path + " is not an animated WebP picture";
        return false;
    }
    animation = Animation { int(info.canvas_width), int(info.canvas_height), int(info.loop_count), {} };
    int shownUntil = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder.get())) {
        uint8_t* rgba = nullptr;
        int timestamp = 0; // when the frame ends
        if (!WebPAnimDecoderGetNext(decoder.get(), &rgba, &timestamp)) {
            error = path + ": frame " + std::to_string(animation.frames.size() + 1) + " cannot be decoded";
            return false;
        }
        animation.frames.push_back({ ToCapture(rgba, animation.width, animation.height), timestamp - shownUntil });
        shownUntil = timestamp;
    }
    return true;
}

// Compared over time, not frame by frame: an encoder may merge a frame
// into the one before it when the two are the same picture.
std::string Difference(const Animation& expected, const Animation& actual)
{
    if (expected.width != actual.width || expected.height != actual.height)
        return "the size is " + std::to_string(actual.width) + " by " + std::to_string(actual.height) + ", not "
            + std::to_string(expected.width) + " by " + std::to_string(expected.height);
    if (expected.loopCount != actual.loopCount)
        return "it loops " + std::to_string(actual.loopCount) + " times, not " + std::to_string(expected.loopCount);
    std::vector<Span> want = Timeline(expected);
    std::vector<Span> got = Timeline(actual);
    int wantEnd = want.empty() ? 0 : want.back().end;
    int gotEnd = got.empty() ? 0 : got.back().end;
    if (wantEnd != gotEnd) return "it lasts " + std::to_string(gotEnd) + " ms, not " + std::to_string(wantEnd) + " ms";
    size_t w = 0;
    size_t g = 0;
    while (w < want.size() && g < got.size()) {
        int start = std::max(want[w].start, got[g].start);
        size_t differing = DifferingPixels(want[w].frame->picture, got[g].frame->picture);
        if (differing != 0)
            return "at " + std::to_string(start) + " ms " + std::to_string(differing) + " pixels differ";
        int wantEnds = want[w].end;
        int gotEnds = got[g].end;
        if (wantEnds <= gotEnds) ++w;
        if (gotEnds <= wantEnds) ++g;
    }
    return {};
}

} // namespace animation
