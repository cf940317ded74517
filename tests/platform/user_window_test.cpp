// Window classes, the top-level window and its geometry, on a fake host.
#include "user/client_area.h"
#include "user_fake_host.h"

#include <windows.h>

#include <vector>

namespace {

using namespace user_test;

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Received> received;
LRESULT createResult = 0;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    received.push_back({ message, wParam, lParam });
    if (message == WM_CREATE) return createResult;
    return DefWindowProcA(window, message, wParam, lParam);
}

// The client-size lock of a program that wants a 640 by 480 client area.
LRESULT CALLBACK ClientSizeLockProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    received.push_back({ message, wParam, lParam });
    if (message != WM_SIZE) return DefWindowProcA(window, message, wParam, lParam);
    RECT r;
    GetWindowRect(window, &r);
    int width = (r.right - LOWORD(lParam)) + 640 - r.left;
    int height = (r.bottom - HIWORD(lParam)) + 480 - r.top;
    MoveWindow(window, r.left, r.top, width, height, TRUE);
    return 0;
}

// A lock that never settles: every WM_SIZE asks for one more pixel.
LRESULT CALLBACK RestlessProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    received.push_back({ message, wParam, lParam });
    if (message != WM_SIZE) return DefWindowProcA(window, message, wParam, lParam);
    RECT r;
    GetWindowRect(window, &r);
    MoveWindow(window, r.left, r.top, r.right - r.left + 1, r.bottom - r.top, TRUE);
    return 0;
}

int CountOf(UINT message)
{
    int count = 0;
    for (const Received& r : received)
        count += r.message == message;
    return count;
}

class UserWindowTest : public UserTest {
protected:
    void SetUp() override
    {
        UserTest::SetUp();
        received.clear();
        createResult = 0;
    }

    ATOM Register(WNDPROC procedure, LPCSTR menu = MAKEINTRESOURCE(102), LPCSTR name = "Main Window")
    {
        WNDCLASSA windowClass {};
        windowClass.style = CS_BYTEALIGNCLIENT | CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(101));
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszMenuName = menu;
        windowClass.lpszClassName = name;
        return RegisterClassA(&windowClass);
    }

    HWND Create(int x = 100, int y = 50, int width = 640, int height = 480)
    {
        return CreateWindowExA(0, "Main Window", "sample", WS_CAPTION | WS_SYSMENU, x, y, width, height, nullptr,
            nullptr, GetModuleHandleA(nullptr), nullptr);
    }
};

TEST_F(UserWindowTest, RegisterClassRefusesDuplicatesAndIncompleteClasses)
{
    EXPECT_NE(Register(RecordingProc), 0);
    EXPECT_EQ(Register(RecordingProc, nullptr, "MAIN window"), 0) << "names compare case-insensitively";
    EXPECT_EQ(Register(nullptr, nullptr, "Other"), 0) << "no window procedure";
    EXPECT_EQ(Register(RecordingProc, nullptr, nullptr), 0) << "no name";
    EXPECT_EQ(Register(RecordingProc, nullptr, MAKEINTRESOURCE(7)), 0) << "an integer name is not read as a string";
    EXPECT_EQ(RegisterClassA(nullptr), 0);
    // Shift-JIS trail bytes look like ASCII letters; folding them would merge
    // two different katakana (0x83 0x41 and 0x83 0x61).
    EXPECT_NE(Register(RecordingProc, nullptr, "\x83\x41"), 0);
    EXPECT_NE(Register(RecordingProc, nullptr, "\x83\x61"), 0);
}

TEST_F(UserWindowTest, CreationSendsCreateThenSizeAndTellsTheHost)
{
    ASSERT_NE(Register(RecordingProc), 0);
    HWND window = Create();
    ASSERT_NE(window, nullptr);

    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].message, UINT(WM_CREATE));
    EXPECT_EQ(received[1].message, UINT(WM_SIZE));
    EXPECT_EQ(received[1].wParam, WPARAM(SIZE_RESTORED));
    EXPECT_EQ(LOWORD(received[1].lParam), 640);
    EXPECT_EQ(HIWORD(received[1].lParam), 480 - platform::user::DefaultMenuBarHeight());

    EXPECT_EQ(Host().windowsCreated, 1);
    EXPECT_EQ(Host().title, "sample");
    EXPECT_EQ(Host().placedMenuBarHeight, 20);
    EXPECT_EQ(Host().placed.left, 100);
    EXPECT_EQ(Host().placed.bottom, 530);
    EXPECT_EQ(Host().icon.width, 32);
    EXPECT_EQ(Host().icon.height, 32);
    EXPECT_NE(Host().icon.pixels, nullptr);
}

TEST_F(UserWindowTest, CreateFailsForUnknownClassOrRefusingProcedure)
{
    EXPECT_EQ(Create(), nullptr);
    ASSERT_NE(Register(RecordingProc), 0);
    createResult = -1;
    EXPECT_EQ(Create(), nullptr);
    EXPECT_EQ(CountOf(WM_DESTROY), 1);
    EXPECT_EQ(CountOf(WM_SIZE), 0);
    EXPECT_EQ(Host().windowsDestroyed, 1);
    platform::user::ClientArea area;
    EXPECT_FALSE(platform::user::GetClientArea(nullptr, area));
}

TEST_F(UserWindowTest, MenuBarOnlyWithAMenu)
{
    ASSERT_NE(Register(RecordingProc, nullptr), 0);
    HWND window = Create();
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.bottom, 480);
    EXPECT_EQ(Host().placedMenuBarHeight, 0);
}

TEST_F(UserWindowTest, DefaultPositionCentresOnTheDesktopOrFallsBack)
{
    ASSERT_NE(Register(RecordingProc), 0);
    HWND window = Create(CW_USEDEFAULT, CW_USEDEFAULT);
    RECT r;
    ASSERT_TRUE(GetWindowRect(window, &r));
    EXPECT_EQ(r.left, (1920 - 640) / 2);
    EXPECT_EQ(r.top, (1080 - 480) / 2);
    ASSERT_TRUE(DestroyWindow(window));

    Host().desktop = platform::Rectangle { 0, 0, 600, 400 };
    window = Create(CW_USEDEFAULT, CW_USEDEFAULT);
    ASSERT_TRUE(GetWindowRect(window, &r));
    EXPECT_EQ(r.left, 64);
    EXPECT_EQ(r.top, 64);
}

class ClientSizeLock : public UserWindowTest, public testing::WithParamInterface<int> { };

TEST_P(ClientSizeLock, ConvergesTo640By480)
{
    platform::user::SetMenuBarHeight(GetParam());
    ASSERT_NE(Register(ClientSizeLockProc), 0);
    HWND window = Create(CW_USEDEFAULT, CW_USEDEFAULT);
    ASSERT_NE(window, nullptr);

    RECT client, outer;
    ASSERT_TRUE(GetClientRect(window, &client));
    ASSERT_TRUE(GetWindowRect(window, &outer));
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    EXPECT_EQ(outer.bottom - outer.top, 480 + GetParam());
    EXPECT_EQ(Host().placed.bottom - Host().placed.top, 480 + GetParam());
    // One WM_SIZE for the creation size, one for the corrected size.
    EXPECT_EQ(CountOf(WM_SIZE), 2);

    platform::user::ClientArea area;
    ASSERT_TRUE(platform::user::GetClientArea(window, area));
    EXPECT_EQ(area.screenRect.right - area.screenRect.left, 640);
    EXPECT_EQ(area.screenRect.bottom - area.screenRect.top, 480);
    EXPECT_EQ(area.screenRect.top, outer.top + GetParam());
}

INSTANTIATE_TEST_SUITE_P(MenuBarHeights, ClientSizeLock, testing::Values(20, 40));

TEST_F(UserWindowTest, SizeHandlerThatNeverSettlesDoesNotRecurseForever)
{
    ASSERT_NE(Register(RestlessProc), 0);
    HWND window = Create();
    ASSERT_NE(window, nullptr);
    EXPECT_GT(CountOf(WM_SIZE), 2);
    EXPECT_LT(CountOf(WM_SIZE), 1000);
    // The window manager still works afterwards.
    received.clear();
    EXPECT_EQ(SendMessageA(window, WM_NULL, 0, 0), 0);
    EXPECT_EQ(CountOf(WM_NULL), 1);
}

TEST_F(UserWindowTest, ClientRectangleOnScreen)
{
    ASSERT_NE(Register(RecordingProc), 0);
    HWND window = Create(100, 50, 640, 500);

    // The program's way: client rectangle, its origin on screen, offset.
    RECT client;
    POINT origin { 0, 0 };
    ASSERT_TRUE(GetClientRect(window, &client));
    ASSERT_TRUE(ClientToScreen(window, &origin));
    ASSERT_TRUE(OffsetRect(&client, origin.x, origin.y));
    EXPECT_EQ(client.left, 100);
    EXPECT_EQ(client.top, 70);
    EXPECT_EQ(client.right, 740);
    EXPECT_EQ(client.bottom, 550);

    RECT set;
    ASSERT_TRUE(SetRect(&set, 1, 2, 3, 4));
    EXPECT_EQ(set.left + set.top * 10 + set.right * 100 + set.bottom * 1000, 4321);
    EXPECT_FALSE(OffsetRect(nullptr, 1, 1));
    EXPECT_FALSE(SetRect(nullptr, 1, 2, 3, 4));

    HWND bogus = reinterpret_cast<HWND>(0x1234);
    EXPECT_FALSE(GetClientRect(bogus, &client));
    EXPECT_FALSE(GetWindowRect(bogus, &client));
    EXPECT_FALSE(ClientToScreen(bogus, &origin));
    EXPECT_FALSE(MoveWindow(bogus, 0, 0, 10, 10, TRUE));
    EXPECT_FALSE(SetWindowPos(bogus, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW));
}

TEST_F(UserWindowTest, MoveSendsSizeOnlyWhenTheClientSizeChanges)
{
    ASSERT_NE(Register(RecordingProc), 0);
    HWND window = Create();
    received.clear();
    int placements = Host().placements;

    ASSERT_TRUE(MoveWindow(window, 10, 20, 640, 480, TRUE));
    EXPECT_EQ(CountOf(WM_SIZE), 0);
    EXPECT_EQ(Host().placements, placements + 1);
    EXPECT_EQ(Host().placed.left, 10);
    EXPECT_EQ(Host().placed.top, 20);

    platform::PixelView pixels;
    ASSERT_TRUE(platform::user::LendClientPixels(platform::Rectangle {}, pixels));
    pixels.Row<uint32_t>(0)[0] = 0x00FF00FF;
    ASSERT_TRUE(MoveWindow(window, 10, 20, 320, 240, TRUE));
    ASSERT_EQ(CountOf(WM_SIZE), 1);
    EXPECT_EQ(LOWORD(received[0].lParam), 320);
    EXPECT_EQ(HIWORD(received[0].lParam), 220);
    ASSERT_TRUE(platform::user::LendClientPixels(platform::Rectangle {}, pixels));
    EXPECT_EQ(pixels.width, 320);
    EXPECT_EQ(pixels.height, 220);
    EXPECT_EQ(pixels.Row<uint32_t>(0)[0], 0u) << "a resized client area starts black";
    EXPECT_EQ(Host().changed.right, 320) << "and is shown so";
    platform::user::ClientArea area;

    // Absurd sizes are clamped instead of allocating absurd buffers.
    ASSERT_TRUE(MoveWindow(window, 0, 0, 2000000000, -5, TRUE));
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_LE(client.right, 16384);
    EXPECT_EQ(client.bottom, 0);
    EXPECT_FALSE(platform::user::GetClientArea(window, area));
}

TEST_F(UserWindowTest, SetWindowPosKeepsGeometryAndShows)
{
    ASSERT_NE(Register(RecordingProc), 0);
    HWND window = Create();
    RECT before, after;
    ASSERT_TRUE(GetWindowRect(window, &before));
    ASSERT_TRUE(SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE));
    ASSERT_TRUE(GetWindowRect(window, &after));
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_TRUE(Host().windowVisible);

    ASSERT_TRUE(SetWindowPos(window, HWND_TOP, 5, 6, 0, 0, SWP_NOSIZE));
    ASSERT_TRUE(GetWindowRect(window, &after));
    EXPECT_EQ(after.left, 5);
    EXPECT_EQ(after.top, 6);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

TEST_F(UserWindowTest, ShowWindowReportsPreviousVisibility)
{
    ASSERT_NE(Register(RecordingProc), 0);
    HWND window = Create();
    EXPECT_FALSE(ShowWindow(window, SW_SHOWDEFAULT));
    EXPECT_TRUE(Host().windowVisible);
    EXPECT_TRUE(ShowWindow(window, SW_HIDE));
    EXPECT_FALSE(Host().windowVisible);
    EXPECT_TRUE(UpdateWindow(window));
}

TEST_F(UserWindowTest, CloseThroughDefWindowProcDestroys)
{
    ASSERT_NE(Register(RecordingProc), 0);
    HWND window = Create();
    received.clear();
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].message, UINT(WM_DESTROY));
    EXPECT_EQ(Host().windowsDestroyed, 1);

    RECT r;
    EXPECT_FALSE(GetWindowRect(window, &r));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_FALSE(PostMessageA(window, WM_NULL, 0, 0));
    // A new window never gets the old handle.
    HWND next = Create();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, window);
}

TEST_F(UserWindowTest, ClientPixelsAreLentByTheHostAndTheirChangesShown)
{
    ASSERT_NE(Register(RecordingProc), 0);
    Create();
    platform::PixelView pixels;
    ASSERT_TRUE(platform::user::LendClientPixels(platform::Rectangle {}, pixels));
    EXPECT_EQ(pixels.width, 640);
    EXPECT_EQ(pixels.height, 460);
    EXPECT_EQ(pixels.pixels, Host().client.Pixels().pixels);
    pixels.Row<uint32_t>(0)[5] = 0x00123456;
    const int changes = Host().clientChanges;
    platform::user::ClientPixelsChanged(platform::Rectangle { 5, 0, 6, 1 });
    EXPECT_EQ(Host().clientChanges, changes + 1);
    EXPECT_EQ(Host().changed.left, 5);
    EXPECT_EQ(Host().changed.bottom, 1);
    // Nothing changed, nothing to show.
    platform::user::ClientPixelsChanged(platform::Rectangle { 5, 0, 5, 1 });
    EXPECT_EQ(Host().clientChanges, changes + 1);
    EXPECT_EQ(platform::user::ClientPicture()[5], 0x00123456u);

    // Memory of another size than the client area's is not written.
    Host().lendsWrongSize = true;
    EXPECT_FALSE(platform::user::LendClientPixels(platform::Rectangle {}, pixels));
    EXPECT_TRUE(platform::user::ClientPicture().empty());
}

TEST_F(UserWindowTest, IconsCursorsBrushesAndModule)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(LoadIconA(module, MAKEINTRESOURCE(101)), LoadIconA(module, MAKEINTRESOURCE(101)));
    EXPECT_NE(LoadIconA(module, MAKEINTRESOURCE(101)), nullptr);
    EXPECT_EQ(LoadIconA(module, MAKEINTRESOURCE(9999)), nullptr);
    EXPECT_EQ(LoadIconA(module, "named"), nullptr);
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    EXPECT_NE(GetStockObject(BLACK_BRUSH), nullptr);
    EXPECT_NE(GetStockObject(BLACK_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetStockObject(BLACK_BRUSH), GetStockObject(BLACK_BRUSH));
}

} // namespace
