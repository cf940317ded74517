// The posted-message queue, host input as messages, and the quit request.
#include "user_fake_host.h"

#include <windows.h>

#include <vector>

namespace {

using namespace user_test;

std::vector<MSG> dispatched;

LRESULT CALLBACK QueueProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE || message == WM_SIZE) return 0;
    MSG seen {};
    seen.hwnd = window;
    seen.message = message;
    seen.wParam = wParam;
    seen.lParam = lParam;
    dispatched.push_back(seen);
    if (message == WM_DESTROY) PostQuitMessage(3);
    return DefWindowProcA(window, message, wParam, lParam);
}

class UserMessageQueueTest : public UserTest {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        dispatched.clear();
    }

    HWND CreateMainWindow()
    {
        WNDCLASSA windowClass {};
        windowClass.lpfnWndProc = QueueProc;
        windowClass.lpszClassName = "Main Window";
        if (!RegisterClassA(&windowClass)) return nullptr;
        return CreateWindowExA(0, "Main Window", "sample", 0, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    }

    // The program's loop: every pending message, then stop where a frame
    // would be drawn. Returns the quit code, or -1 when no quit came.
    int DrainQueue()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return int(message.wParam);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return -1;
    }
};

TEST_F(UserMessageQueueTest, PostedMessagesComeInOrderBeforeTheHostIsIdle)
{
    HWND window = CreateMainWindow();
    ASSERT_NE(window, nullptr);
    for (UINT id = 1; id <= 3; ++id)
        ASSERT_TRUE(PostMessageA(window, WM_COMMAND, id, 0));

    MSG message;
    for (UINT id = 1; id <= 3; ++id) {
        ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(message.hwnd, window);
        EXPECT_EQ(message.message, UINT(WM_COMMAND));
        EXPECT_EQ(message.wParam, WPARAM(id));
        EXPECT_EQ(message.time, 1000u);
    }
    EXPECT_EQ(Host().idles, 0) << "the host was asked to idle while messages were pending";
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(Host().idles, 1);
}

TEST_F(UserMessageQueueTest, NoRemoveLeavesTheMessageQueued)
{
    HWND window = CreateMainWindow();
    ASSERT_TRUE(PostMessageA(window, WM_COMMAND, 7, 0));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.wParam, WPARAM(7));
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(UserMessageQueueTest, QuitComesAfterEveryPostedMessageWithItsCode)
{
    HWND window = CreateMainWindow();
    PostQuitMessage(5);
    ASSERT_TRUE(PostMessageA(window, WM_COMMAND, 1, 0));
    ASSERT_TRUE(PostMessageA(nullptr, WM_COMMAND, 2, 0));

    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.wParam, WPARAM(1));
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(message.wParam, WPARAM(2));
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(message.wParam, WPARAM(5));
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) << "the quit request is taken once";
}

TEST_F(UserMessageQueueTest, PostedCloseEndsTheLoopThroughDestroy)
{
    HWND window = CreateMainWindow();
    ASSERT_TRUE(PostMessageA(window, WM_CLOSE, 0, 0));
    ASSERT_TRUE(PostMessageA(window, WM_COMMAND, 9, 0)); // dropped with the window
    EXPECT_EQ(DrainQueue(), 3);
    ASSERT_EQ(dispatched.size(), 2u);
    EXPECT_EQ(dispatched[0].message, UINT(WM_CLOSE));
    EXPECT_EQ(dispatched[1].message, UINT(WM_DESTROY));
    EXPECT_FALSE(PostMessageA(window, WM_CLOSE, 0, 0));
}

TEST_F(UserMessageQueueTest, HostInputBecomesMessagesForTheWindow)
{
    HWND window = CreateMainWindow();
    Host().input.push_back({ Key(VK_UP), Key(VK_UP, true), Mouse(639, 479), Mouse(-5, 70000) });
    Host().input.push_back({ Close() });
    ASSERT_NE(DrainQueue(), -1);

    ASSERT_EQ(dispatched.size(), 6u);
    for (const MSG& message : dispatched)
        EXPECT_EQ(message.hwnd, window);
    EXPECT_EQ(dispatched[0].message, UINT(WM_KEYDOWN));
    EXPECT_EQ(dispatched[0].wParam, WPARAM(VK_UP));
    EXPECT_EQ(dispatched[0].lParam, LPARAM(1));
    EXPECT_EQ(dispatched[1].lParam, LPARAM(1) | (LPARAM(1) << 30));
    EXPECT_EQ(dispatched[2].message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(LOWORD(dispatched[2].lParam), 639);
    EXPECT_EQ(HIWORD(dispatched[2].lParam), 479);
    EXPECT_EQ(LOWORD(dispatched[3].lParam), 0);
    EXPECT_EQ(HIWORD(dispatched[3].lParam), 65535);
    EXPECT_EQ(dispatched[4].message, UINT(WM_CLOSE));
    EXPECT_EQ(dispatched[5].message, UINT(WM_DESTROY));
}

TEST_F(UserMessageQueueTest, BusyHostIsPolledAgainBeforeReportingNoMessage)
{
    CreateMainWindow();
    Host().busyIdles = 1;
    Host().input.push_back({});
    Host().input.push_back({ Key(VK_ESCAPE) });
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.wParam, WPARAM(VK_ESCAPE));
    EXPECT_EQ(Host().polls, 2);
    EXPECT_EQ(Host().idles, 1);
}

TEST_F(UserMessageQueueTest, InputWithoutAWindowIsDropped)
{
    Host().input.push_back({ Key(VK_DOWN), Close() });
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    CreateMainWindow();
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(UserMessageQueueTest, DispatchToNoWindowDoesNothing)
{
    MSG message {};
    message.hwnd = reinterpret_cast<HWND>(0x4321);
    message.message = WM_CLOSE;
    EXPECT_EQ(DispatchMessageA(&message), 0);
    EXPECT_EQ(DispatchMessageA(nullptr), 0);
    EXPECT_EQ(SendMessageA(nullptr, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(dispatched.empty());
}

} // namespace
