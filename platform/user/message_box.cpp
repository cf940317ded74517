#include "common/encoding.h"
#include "host/host.h"

#include <windows.h>

namespace {

using platform::host::MessageBoxButtons;

constexpr UINT kButtonSetMask = 0xF;

// Only MB_OK and MB_YESNO are offered; any other button set shows OK.
MessageBoxButtons ButtonsOf(UINT type)
{
    return (type & kButtonSetMask) == MB_YESNO ? MessageBoxButtons::YesNo : MessageBoxButtons::Ok;
}

// A host answer that is not a button of the box becomes the default button.
int ValidAnswer(MessageBoxButtons buttons, int answer)
{
    if (buttons == MessageBoxButtons::YesNo) return (answer == IDYES || answer == IDNO) ? answer : IDNO;
    return IDOK;
}

} // namespace

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    MessageBoxButtons buttons = ButtonsOf(type);
    int answer = platform::host::Current().ShowMessageBox(platform::encoding::Cp932ToUtf8(caption ? caption : ""),
        platform::encoding::Cp932ToUtf8(text ? text : ""), buttons);
    return ValidAnswer(buttons, answer);
}
