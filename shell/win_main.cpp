// Start-up and the frame loop: drain the message queue, then draw one frame
// whenever it is empty, as fast as the drawing returns.
#include <windows.h>

#include "display/display_context.h"
#include "display/presentation.h"
#include "display/windowed_display.h"
#include "resources/resource.h"
#include "scene/draw_scene.h"
#include "shell/application.h"
#include "sound/sound_device.h"

HINSTANCE instanceHandle = NULL;
HWND mainWindow = NULL;
DWORD lastTick = 0;
float FrameStep = 0.0f;

static const char mainWindowClassName[] = "Main Window";

float ComputeFrameStep(DWORD now, DWORD previous)
{
    DWORD elapsed = now - previous;
    return (float)((double)elapsed * (double)0.001f);
}

ATOM RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSA windowClass;
    windowClass.style = CS_BYTEALIGNCLIENT | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SAMPLE));
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    windowClass.lpszClassName = mainWindowClassName;
    return RegisterClassA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance)
{
    return CreateWindowExA(0, mainWindowClassName, "sample", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 640,
        480, NULL, NULL, instance, NULL);
}

static void DrawFrame()
{
    DWORD now = GetTickCount();
    FrameStep = ComputeFrameStep(now, lastTick);
    // A second read: the moments between the two are in no frame.
    lastTick = GetTickCount();
    ClearBackBuffer();
    DrawScene(mainWindow);
    PresentFrame();
}

static int RunFrameLoop()
{
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return (int)message.wParam;
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        DrawFrame();
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand)
{
    (void)previousInstance;
    (void)commandLine;
    instanceHandle = instance;
    if (RegisterMainWindowClass(instance) == 0) return 0;
    mainWindow = CreateMainWindow(instance);
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    if (!InitWindowedDisplay()) {
        MessageBoxA(mainWindow, "ダイレクトドローの初期化に失敗", "", MB_OK);
        // The close request is taken from the queue before any frame is drawn.
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    }
    InitSound(mainWindow);
    lastTick = GetTickCount();
    return RunFrameLoop();
}
