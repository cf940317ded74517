// The modal menu loop DefWindowProcA runs for the menu bar, and the key
// state that decides when Alt or F10 opens it.
#pragma once

#include <windows.h>

namespace platform::user {

enum class MenuStart {
    Keyboard, // Alt or F10: the first title highlighted, nothing dropped down
    Mnemonic, // Alt+letter: that title dropped down with its first item hot
    Mouse, // a click on the bar: the title under it dropped down
};

// Runs the menu of `window` until it closes; a chosen item is posted as
// WM_COMMAND afterwards. `letter` is the mnemonic, `screenPoint` the click.
void TrackMenuBar(HWND window, MenuStart start, char32_t letter, POINT screenPoint);

// Alt pressed and released with no key between, or F10 pressed and
// released, opens the menu. These follow the keys DefWindowProcA sees.
void NoteSystemKeyDown(UINT virtualKey, bool repeat);
bool SystemKeyUpOpensMenu(UINT virtualKey);
void ForgetMenuKeys();

} // namespace platform::user
