// The program's scene on the headless host, over six pictures whose every
// pixel says which picture and which pixel it is, so a frame can be read
// back pixel by pixel.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "back_buffer.h"
#include "bitmap_files.h"
#include "display/presentation.h"
#include "display/windowed_display.h"
#include "program_fixture.h"
#include "scene/draw_scene.h"
#include "scene/scene_state.h"

// Picture `slot`'s pixel (x, y), for x below 1024 and y below 512. Never 0
// and never magenta.
inline uint32_t Marker(int slot, int x, int y) { return (uint32_t(slot + 1) << 19) | (uint32_t(x) << 9) | uint32_t(y); }

struct MarkedPixel {
    int slot = -1; // -1: not a picture's pixel
    int x = 0;
    int y = 0;
};

inline MarkedPixel Decode(uint32_t pixel)
{
    int slot = int(pixel >> 19) - 1;
    if (slot < 0 || slot > 5 || (pixel >> 22) != 0) return {};
    return { slot, int((pixel >> 9) & 1023), int(pixel & 511) };
}

// bg01's magenta cut-out, where the tiles show through.
inline bool InBackgroundCutOut(int x, int y) { return y < 20 && x >= 100 && x < 200; }

class SceneTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        ResetSceneState();
        previousDirectory = std::filesystem::current_path();
        pictureDirectory = std::filesystem::temp_directory_path() / ("scene_" + std::to_string(getpid()));
        std::filesystem::create_directories(pictureDirectory);
        std::filesystem::current_path(pictureDirectory);
        WritePictures();
        CreateMainWindow();
        ASSERT_TRUE(InitWindowedDisplay());
    }

    void TearDown() override { std::filesystem::current_path(previousDirectory); }

    static void WritePictures()
    {
        struct Picture {
            const char* name;
            int width;
            int height;
        };
        const Picture pictures[6] = { { "bg01.bmp", 600, 285 }, { "bg02.bmp", 600, 285 }, { "ch01.bmp", 380, 480 },
            { "koke.bmp", 15, 25 }, { "mul.bmp", 100, 300 }, { "chn.bmp", 50, 50 } };
        for (int slot = 0; slot < 6; ++slot) {
            std::string written
                = WriteBitmap24(pictures[slot].name, pictures[slot].width, pictures[slot].height, [slot](int x, int y) {
                      if (slot == 0 && InBackgroundCutOut(x, y)) return 0xFF00FFu;
                      return Marker(slot, x, y);
                  });
            std::filesystem::rename(written, pictures[slot].name);
        }
    }

    // One frame as the loop draws it, with this FrameStep, read back.
    std::vector<uint32_t> Frame(float seconds)
    {
        FrameStep = seconds;
        ClearBackBuffer();
        DrawScene(mainWindow);
        return ReadBackBuffer();
    }

    static MarkedPixel At(const std::vector<uint32_t>& frame, int x, int y) { return Decode(frame[y * 640 + x]); }

    // The bounding box of the pixels that came from `slot`.
    struct Box {
        int left = 640, top = 480, right = 0, bottom = 0;
        bool Empty() const { return right <= left; }
    };
    static Box BoxOf(const std::vector<uint32_t>& frame, int slot)
    {
        Box box;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (At(frame, x, y).slot == slot) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x + 1);
                    box.bottom = std::max(box.bottom, y + 1);
                }
        return box;
    }

    static void Send(UINT message, WPARAM wParam, LPARAM lParam)
    {
        MainWindowProc(mainWindow, message, wParam, lParam);
    }
    static void Key(UINT virtualKey) { Send(WM_KEYDOWN, virtualKey, 0); }
    static void Menu(int id) { Send(WM_COMMAND, WPARAM(id), 0); }

    std::filesystem::path previousDirectory;
    std::filesystem::path pictureDirectory;
};
