// A visible window of class "Main Window" with menu 102 on the headless
// host, whose procedure handles what the program handles and passes the
// rest to DefWindowProcA, and a message pump like the program's loop.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include "testing/testing.h"

namespace menu_test {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<Received>& Log()
{
    static std::vector<Received> log;
    return log;
}

// Handles the program's messages itself; everything else is default.
inline LRESULT CALLBACK ProgramLikeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Log().push_back({ message, wParam, lParam });
    switch (message) {
    case WM_CREATE:
    case WM_SIZE:
    case WM_KEYDOWN:
    case WM_COMMAND:
    case WM_MOUSEMOVE:
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

class HeadlessWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::Reset();
        Log().clear();
        WNDCLASSA windowClass {};
        windowClass.lpfnWndProc = ProgramLikeProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszMenuName = MAKEINTRESOURCE(102);
        windowClass.lpszClassName = "Main Window";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        window = CreateWindowExA(0, "Main Window", "sample", WS_CAPTION | WS_SYSMENU, 100, 100, 640, 500, nullptr,
            nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOW);
        Log().clear();
    }
    void TearDown() override { headless::Reset(); }

    // Takes and dispatches messages until the queue is empty, as the
    // program's loop does between frames.
    void Pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    std::vector<int> Commands() const
    {
        std::vector<int> ids;
        for (const Received& r : Log())
            if (r.message == WM_COMMAND) ids.push_back(int(r.wParam));
        return ids;
    }

    std::vector<UINT> KeyDowns() const
    {
        std::vector<UINT> keys;
        for (const Received& r : Log())
            if (r.message == WM_KEYDOWN) keys.push_back(UINT(r.wParam));
        return keys;
    }

    HWND window = nullptr;
};

} // namespace menu_test
