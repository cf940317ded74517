// What an open message box does with each key and click: focus moves with
// Tab and the arrows, Enter or Space press the focused button, Esc answers
// an OK box (a Yes/No box has no Cancel and ignores it), Y and N answer Yes
// and No, a click is a press and release on the same button. No drawing, no
// I/O.
#pragma once

#include "user/message_box_view.h"

#include <functional>
#include <vector>

#include <windows.h>

namespace platform::user {

class MessageBoxSession {
public:
    explicit MessageBoxSession(MessageBoxLayout layout);

    void OnKeyDown(UINT virtualKey);
    void OnButtonDown(int x, int y);
    void OnButtonUp(int x, int y);
    // Closed from outside (no more input, the window's close request): a
    // Yes/No box answers No, never Yes.
    void Cancel() { answer_ = CancelAnswer(); }

    bool Done() const { return answer_ != 0; }
    int Answer() const { return answer_; }
    const MessageBoxLayout& Layout() const { return layout_; }
    MessageBoxLook Look() const { return look_; }

private:
    int CancelAnswer() const;
    bool HasAnswer(int answer) const;
    void MoveFocus(int step);

    MessageBoxLayout layout_;
    MessageBoxLook look_;
    int answer_ = 0;
};

// Runs a box modally over `backdrop` (0x00RRGGBB, `width` by `height`),
// showing each state through `present`; input comes as for any modal loop
// of `owner`. Returns IDOK, IDYES or IDNO.
struct ModalBackdrop {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    std::function<void(const platform::ReadOnlyPixelView&)> present;
};
int RunMessageBox(HWND owner, const MessageBoxContent& content, const ModalBackdrop& backdrop);

// Where the picture under a box comes from when the client area is not what
// the screen shows (full screen: the 640 by 480 frame, and how to show it).
// The source fills in a backdrop and returns true, or returns false to let
// the box be drawn over the owner's client area as usual.
using MessageBoxBackdropSource = std::function<bool(ModalBackdrop&)>;
void SetMessageBoxBackdropSource(MessageBoxBackdropSource source);

} // namespace platform::user
