// Runs the program's procedures on a fresh headless host, with the
// program's own process-wide state back at its start values.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <testing.h>

#include "display/display_context.h"
#include "scene/scene_state.h"
#include "shell/application.h"

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::Reset();
        displayContext = DisplayContext {};
        for (ImageSlot& slot : imageTable)
            slot = ImageSlot {};
        mainWindow = NULL;
        FrameStep = 0.0f;
        ResetSceneState();
    }

    // The main window as WinMain makes it, without entering the loop.
    void CreateMainWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszMenuName = MAKEINTRESOURCEA(102);
        windowClass.lpszClassName = "Main Window";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        mainWindow = CreateWindowExA(0, "Main Window", "sample", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
            640, 480, NULL, NULL, windowClass.hInstance, NULL);
        ASSERT_NE(mainWindow, nullptr);
    }

    static std::vector<std::string> LoggedCalls() { return headless::CallLog(); }

    static std::vector<std::string> CallsStartingWith(const std::string& prefix)
    {
        std::vector<std::string> found;
        for (const std::string& entry : headless::CallLog())
            if (entry.rfind(prefix, 0) == 0) found.push_back(entry);
        return found;
    }
};
