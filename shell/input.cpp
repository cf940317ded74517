#include "shell/input.h"

#include "scene/scene_state.h"

static void Toggle(int& flag) { flag = flag == 0 ? 1 : 0; }

// The character wipe starts again from its thinnest strips.
static void ToggleWipe()
{
    Toggle(sceneState.wipeOn);
    sceneState.stripWidth = 1;
}

// The caption types out afresh, on and off alike.
static void ToggleCaption()
{
    Toggle(sceneState.captionOn);
    sceneState.captionLength = 0;
}

static void AskToQuit(HWND window)
{
    // Quits straight from the loop: the devices are left to the process end.
    if (MessageBoxA(window, "終了していい？", "終了確認", MB_YESNO) == IDYES) PostQuitMessage(0);
}

void HandleMenuCommand(int id, HWND window)
{
    switch (id) {
    case IDM_EXIT:
        AskToQuit(window);
        break;
    case IDM_BACKGROUND1:
        sceneState.backgroundMode = 0;
        break;
    case IDM_BACKGROUND2:
        sceneState.backgroundMode = 1;
        break;
    case IDM_SWAYING_BACKGROUND:
        sceneState.backgroundMode = 2;
        break;
    case IDM_KOKESHI:
        Toggle(sceneState.tilesOn);
        break;
    case IDM_MULTI:
        Toggle(sceneState.spriteOn);
        break;
    case IDM_ZOOM:
        Toggle(sceneState.zoomOn);
        break;
    case IDM_CHARACTER:
        ToggleWipe();
        break;
    case IDM_TEXT:
        ToggleCaption();
        break;
    default:
        // The mode switches were done by the window procedure; the "-"
        // items do nothing.
        break;
    }
}

void ApplySelector(int value)
{
    static const int commandOfValue[9] = {
        0,
        IDM_BACKGROUND1,
        IDM_BACKGROUND2,
        IDM_SWAYING_BACKGROUND,
        IDM_KOKESHI,
        IDM_MULTI,
        IDM_ZOOM,
        IDM_CHARACTER,
        IDM_TEXT,
    };
    if (value < 1 || value > 8) return;
    HandleMenuCommand(commandOfValue[value], NULL);
}

void HandleKey(WPARAM virtualKey, HWND window)
{
    switch (virtualKey) {
    case VK_ESCAPE:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case VK_UP:
        sceneState.selector = sceneState.selector - 1 < 1 ? 8 : sceneState.selector - 1;
        ApplySelector(sceneState.selector);
        break;
    case VK_DOWN:
        sceneState.selector = sceneState.selector + 1 > 8 ? 1 : sceneState.selector + 1;
        ApplySelector(sceneState.selector);
        break;
    default:
        break;
    }
}

void RecordMousePosition(LPARAM lParam)
{
    sceneState.mouseX = (int)LOWORD(lParam);
    sceneState.mouseY = (int)HIWORD(lParam);
}
