// Runs the program's procedures on a fresh headless host, with the
// program's own process-wide state back at its start values.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <testing/testing.h>

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
        HINSTANCE instance = GetModuleHandleA(NULL);
        ASSERT_NE(RegisterMainWindowClass(instance), 0);
        mainWindow = ::CreateMainWindow(instance);
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
