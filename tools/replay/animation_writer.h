// Recorded frames as an animated WebP. Lossless, so every frame reads back
// exactly as the program drew it; the encoder stores only what changed from
// one frame to the next. Frames are encoded as they come, so a long
// recording never holds more than one picture.
#pragma once

#include <cstdint>
#include <string>

#include "file_replacement.h"
#include "testing/testing.h"

struct WebPAnimEncoder;

namespace replay {

class AnimationWriter {
public:
    AnimationWriter() = default;
    ~AnimationWriter();
    AnimationWriter(const AnimationWriter&) = delete;
    AnimationWriter& operator=(const AnimationWriter&) = delete;

    // The file's replacement is created at once, so a path that cannot be
    // written is known before any frame is drawn. False with `error` set.
    bool Open(const std::string& path, std::string& error);
    // The frame shown for `milliseconds`; every frame must have the first
    // frame's size. False with `error` set (another size, out of memory).
    bool Add(const headless::Capture& frame, uint32_t milliseconds, std::string& error);
    // The animation, looping for ever, into the file. False with `error`
    // set; the file is then as it was before Open, as it is when the writer
    // goes unfinished.
    bool Finish(std::string& error);
    int Frames() const { return frames; }

private:
    bool Start(const headless::Capture& frame, std::string& error);

    FileReplacement file;
    WebPAnimEncoder* encoder = nullptr;
    int width = 0;
    int height = 0;
    int frames = 0;
    int64_t elapsed = 0; // milliseconds up to the end of the last frame
};

} // namespace replay
