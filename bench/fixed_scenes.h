// The frames the benchmark times: fixed scenes drawn by the program's own
// ClearBackBuffer, DrawScene and PresentFrame on the headless host. Every
// frame re-sets the scene state with a zero FrameStep, so each timed frame
// draws exactly the same picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

enum class DisplayMode { Window32, FullScreen16 };

const char* ModeName(DisplayMode mode);
int BytesPerPixel(DisplayMode mode);

// What a scene switches on. A zoom size below 0 leaves the zoom off.
struct FixedScene {
    const char* name;
    int backgroundMode; // 0 still, 2 swaying
    bool tiles;
    bool wipe; // fully revealed
    int zoomSize;
    bool caption; // the whole line
    bool sprite;
};

// start, tiles, wave, wave_tiles, all.
const std::vector<FixedScene>& BenchScenes();
// The background and the zoom alone, at `size` by `size`.
FixedScene ZoomScene(int size);

// Where the scene puts its moving parts; the peer draws them at the same place.
inline constexpr float kScrollX = -7.0f;
inline constexpr float kScrollY = -12.0f;
inline constexpr float kWavePhase = 40.0f;
inline constexpr int kSpriteX = 270;
inline constexpr int kSpriteY = 180;
inline constexpr int kSpriteFrame = 1;
inline constexpr int kCaptionBytes = 68;

// Pixels in the display's raw format, rows top to bottom, no padding.
struct RawImage {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 4;
    std::vector<uint8_t> bytes;
};

// A fresh headless host with the program's window and display in `mode`,
// the pictures loaded from the current directory. False, with `error`, when
// the display or a picture cannot be had.
bool OpenProgramDisplay(DisplayMode mode, std::string& error);
void CloseProgramDisplay();

// One frame of the program: scene state set, back buffer cleared, scene
// drawn, frame presented.
void DrawProgramFrame(const FixedScene& scene);

// The back buffer as the last frame left it, in the display's raw format.
bool ReadProgramBackBuffer(RawImage& image);

// The caption alone, as the program draws it, on the colour key (magenta in
// the display's format), cropped to the pixels the text covers. `left` and
// `top` say where the crop lies on the screen.
struct CaptionLayer {
    RawImage image;
    int left = 0;
    int top = 0;
    uint32_t keyRaw = 0;
};
bool RenderCaptionLayer(CaptionLayer& layer);

} // namespace bench
