#include "user/message_box_session.h"

#include "user/modal_input.h"

#include <utility>

namespace platform::user {

MessageBoxSession::MessageBoxSession(MessageBoxLayout layout)
    : layout_(std::move(layout))
{
}

int MessageBoxSession::CancelAnswer() const { return HasAnswer(IDNO) ? IDNO : IDOK; }

bool MessageBoxSession::HasAnswer(int answer) const
{
    for (const MessageBoxButton& button : layout_.buttons)
        if (button.answer == answer) return true;
    return false;
}

void MessageBoxSession::MoveFocus(int step)
{
    int count = int(layout_.buttons.size());
    if (count > 0) look_.focused = ((look_.focused + step) % count + count) % count;
}

void MessageBoxSession::OnKeyDown(UINT key)
{
    if (Done()) return;
    switch (key) {
    case VK_RETURN:
    case VK_SPACE:
        if (look_.focused >= 0 && size_t(look_.focused) < layout_.buttons.size())
            answer_ = layout_.buttons[size_t(look_.focused)].answer;
        return;
    case VK_ESCAPE:
        // As on Windows: Esc stands for Cancel, which only a box with an OK
        // button answers; a Yes/No box stays open.
        if (HasAnswer(IDOK)) answer_ = IDOK;
        return;
    case VK_TAB:
    case VK_RIGHT:
    case VK_DOWN:
        MoveFocus(1);
        return;
    case VK_LEFT:
    case VK_UP:
        MoveFocus(-1);
        return;
    case 'Y':
        if (HasAnswer(IDYES)) answer_ = IDYES;
        return;
    case 'N':
        if (HasAnswer(IDNO)) answer_ = IDNO;
        return;
    default:
        return;
    }
}

void MessageBoxSession::OnButtonDown(int x, int y)
{
    if (Done()) return;
    look_.pressed = ButtonAt(layout_, x, y);
    if (look_.pressed >= 0) look_.focused = look_.pressed;
}

void MessageBoxSession::OnButtonUp(int x, int y)
{
    if (Done()) return;
    int released = ButtonAt(layout_, x, y);
    if (look_.pressed >= 0 && released == look_.pressed) answer_ = layout_.buttons[size_t(released)].answer;
    look_.pressed = -1;
}

namespace {

void Show(const ModalBackdrop& backdrop, const MessageBoxSession& session)
{
    std::vector<uint32_t> composed = backdrop.pixels;
    DrawMessageBox(Canvas { PixelView::OfPixels(composed.data(), backdrop.width, backdrop.height, backdrop.width) },
        session.Layout(), session.Look());
    if (backdrop.present)
        backdrop.present(
            platform::ReadOnlyPixelView::OfPixels(composed.data(), backdrop.width, backdrop.height, backdrop.width));
}

void Feed(MessageBoxSession& session, const ModalEvent& event)
{
    switch (event.kind) {
    case ModalEvent::Kind::KeyDown:
        session.OnKeyDown(event.virtualKey);
        break;
    case ModalEvent::Kind::ButtonDown:
        session.OnButtonDown(event.x, event.y);
        break;
    case ModalEvent::Kind::ButtonUp:
        session.OnButtonUp(event.x, event.y);
        break;
    case ModalEvent::Kind::Close:
        session.Cancel();
        break;
    case ModalEvent::Kind::MouseMove:
        break;
    }
}

} // namespace

int RunMessageBox(HWND owner, const MessageBoxContent& content, const ModalBackdrop& backdrop)
{
    // A backdrop that does not hold its pixels is drawn on a fresh one.
    ModalBackdrop safe = backdrop;
    if (safe.width <= 0 || safe.height <= 0) safe.width = safe.height = 0;
    safe.pixels.resize(size_t(safe.width) * size_t(safe.height), 0);

    MessageBoxSession session(LayOutMessageBox(content, safe.width, safe.height));
    ModalInput input(owner);
    while (!session.Done()) {
        Show(safe, session);
        ModalEvent event;
        if (!input.Next(event)) {
            session.Cancel();
            break;
        }
        Feed(session, event);
    }
    return session.Answer();
}

} // namespace platform::user
