// The one door for tests, tools and benchmarks: control of the headless host
// and of the layers above it, on a test's behalf. The program never
// includes this; it sees only the Win32 headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "host/headless/headless_records.h"

namespace headless {

// Puts the whole stand-in back into its start state (no window class, no
// window, empty queue, cursor counter 0, no faults, clock at `startTick`)
// and installs the headless host. Program state is the caller's to reset.
void Reset(uint32_t startTick = 0x10000);

// Virtual desktop and window geometry.
void SetDesktopSize(int width, int height);
void SetMenuBarHeight(int height); // before the window is created
void SetNoDisplay(); // DirectDrawCreate fails, boxes go to stderr
void SetNoSound(); // DirectSoundCreate fails

// Clock.
void SetTickCount(uint32_t tick);
void AdvanceClock(uint32_t milliseconds);

// Input, delivered at the next PeekMessageA.
void PushKey(UINT virtualKey);
void PushMouseMove(int x, int y);
void PushMenuCommand(int id);
void PushClose();
// Raw keys and the left mouse button, as a user presses them: Alt and F10
// open the menu bar, Alt+letter its mnemonics. Positions are client
// coordinates; the menu bar lies above, at negative y.
void PushKeyDown(UINT virtualKey, bool alt = false);
void PushKeyUp(UINT virtualKey, bool alt = false);
void PushKeyPress(UINT virtualKey, bool alt = false); // down, then up
void PushMouseButton(int x, int y, bool down);
void PushClick(int x, int y); // button down and up at one place

// Message boxes: answers are used in order (IDOK, IDYES, IDNO); without one
// MB_OK answers IDOK and MB_YESNO answers IDNO.
void QueueAnswer(int answer);
using ShownMessageBox = platform::host::ShownMessageBox;
const std::vector<ShownMessageBox>& MessageBoxesShown();

// Faults: the next `count` calls of the operation fail.
void FailNext(const std::string& operation, int count = 1);
// The display is taken away: every surface is lost until restored. It goes
// as every host sends it, the host's DisplayLost input, delivered at once.
void LoseDisplay();

// The platform calls the program made, while the log runs.
void StartCallLog();
const std::vector<std::string>& CallLog();
void ClearCallLog();

// What the screen shows of the client area after the last presentation,
// 0x00RRGGBB, 640 by 480 (or the client size), rows top to bottom.
using Capture = platform::host::Capture;
Capture CaptureScreen();
// The whole window: the menu bar as last drawn, over the client area.
Capture CaptureWindow();
// The capture as the bytes of a PNG file, 8-bit RGB. False with `error` set.
bool EncodePng(const Capture& capture, std::vector<uint8_t>& png, std::string* error = nullptr);

int CursorCounter();
bool CursorVisible();

// Full screen and sound, as the host sees them. While full screen the
// capture above is the whole full-screen picture.
bool IsFullScreen();
// The user switches to another program: in full screen every surface is
// lost (as with LoseDisplay); a window just loses the focus.
void LoseFocus();
bool AudioOutputOpen();

// Frames drawn so far: idle turns of the message loop the host let through.
int FramesDrawn();

} // namespace headless
