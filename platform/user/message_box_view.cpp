#include "user/message_box_view.h"

#include "common/encoding.h"

#include <algorithm>

namespace platform::user {
namespace {

using platform::host::MessageBoxButtons;

constexpr int kCaptionHeight = 24;
constexpr int kCaptionTextLeft = 8;
constexpr int kTextMargin = 16;
constexpr int kLineGap = 3;
constexpr int kStripHeight = 44;
constexpr int kButtonHeight = 26;
constexpr int kButtonMinWidth = 88;
constexpr int kButtonTextPadding = 12;
constexpr int kButtonGap = 8;
constexpr int kButtonRightMargin = 12;
constexpr int kMinimumWidth = 220;
constexpr int kTargetMargin = 8;

constexpr uint32_t kFrameColour = 0x005A9E;
constexpr uint32_t kCaptionColour = 0x0078D7;
constexpr uint32_t kCaptionTextColour = 0xFFFFFF;
constexpr uint32_t kBodyColour = 0xFFFFFF;
constexpr uint32_t kTextColour = 0x000000;
constexpr uint32_t kStripColour = 0xF0F0F0;
constexpr uint32_t kButtonFace = 0xE1E1E1;
constexpr uint32_t kButtonPressedFace = 0xCCE4F7;
constexpr uint32_t kButtonBorder = 0xADADAD;
constexpr uint32_t kFocusBorder = 0x0078D7;

std::vector<MessageBoxButton> ButtonsFor(MessageBoxButtons buttons)
{
    // The labels of Japanese Windows, with their mnemonics.
    if (buttons == MessageBoxButtons::YesNo)
        return { MessageBoxButton { ParseLabel("はい(&Y)"), IDYES, {} },
            MessageBoxButton { ParseLabel("いいえ(&N)"), IDNO, {} } };
    return { MessageBoxButton { PlainLabel("OK"), IDOK, {} } };
}

int ButtonWidth(const MessageBoxButton& button)
{
    return std::max(kButtonMinWidth, UiTextWidth(button.label.shown) + 2 * kButtonTextPadding);
}

int WidestLine(const std::vector<std::u32string>& lines)
{
    int widest = 0;
    for (const std::u32string& line : lines)
        widest = std::max(widest, UiTextWidth(line));
    return widest;
}

void PlaceButtons(MessageBoxLayout& layout)
{
    int right = layout.frame.right - 1 - kButtonRightMargin;
    int top = layout.buttonStrip.top + (kStripHeight - kButtonHeight) / 2;
    for (auto it = layout.buttons.rbegin(); it != layout.buttons.rend(); ++it) {
        int width = ButtonWidth(*it);
        it->box = Rectangle { right - width, top, right, top + kButtonHeight };
        right -= width + kButtonGap;
    }
}

void DrawButton(const Canvas& target, const MessageBoxButton& button, bool focused, bool pressed)
{
    FillBox(target, button.box, pressed ? kButtonPressedFace : kButtonFace);
    OutlineBox(target, button.box, focused ? kFocusBorder : kButtonBorder);
    if (focused) {
        Rectangle inner { button.box.left + 1, button.box.top + 1, button.box.right - 1, button.box.bottom - 1 };
        OutlineBox(target, inner, kFocusBorder);
        DottedOutline(
            target, Rectangle { inner.left + 2, inner.top + 2, inner.right - 2, inner.bottom - 2 }, kTextColour);
    }
    int textLeft = button.box.left + (button.box.Width() - UiTextWidth(button.label.shown)) / 2;
    int textTop = button.box.top + (button.box.Height() - UiCellHeight()) / 2;
    DrawLabel(target, textLeft, textTop, button.label, kTextColour);
}

} // namespace

std::vector<std::u32string> WrapText(const std::u32string& text, int maxWidth)
{
    std::vector<std::u32string> lines(1);
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') continue;
        if (c == U'\n' || c == U'\r') {
            lines.emplace_back();
            width = 0;
            continue;
        }
        int advance = UiTextWidth(std::u32string(1, c));
        if (width + advance > maxWidth && !lines.back().empty()) {
            lines.emplace_back();
            width = 0;
        }
        lines.back().push_back(c);
        width += advance;
    }
    return lines;
}

MessageBoxLayout LayOutMessageBox(const MessageBoxContent& content, int targetWidth, int targetHeight)
{
    MessageBoxLayout layout;
    layout.caption = PlainLabel(content.captionUtf8);
    layout.buttons = ButtonsFor(content.buttons);
    layout.lineHeight = UiCellHeight() + kLineGap;

    int maxWidth = std::max(targetWidth - 2 * kTargetMargin, 1);
    int buttonsWidth = kButtonRightMargin * 2;
    for (const MessageBoxButton& button : layout.buttons)
        buttonsWidth += ButtonWidth(button) + kButtonGap;
    layout.lines = WrapText(platform::encoding::Utf8ToCodePoints(content.textUtf8), maxWidth - 2 * kTextMargin - 2);
    int wanted = std::max({ WidestLine(layout.lines) + 2 * kTextMargin + 2,
        UiTextWidth(layout.caption.shown) + 2 * kCaptionTextLeft + 2, buttonsWidth, kMinimumWidth });
    int width = std::min(wanted, maxWidth);

    // Lines that do not fit on the target are left out rather than drawn
    // over the buttons.
    int fixedHeight = 2 + kCaptionHeight + 2 * kTextMargin + kStripHeight;
    int roomForLines = std::max(targetHeight - 2 * kTargetMargin - fixedHeight, layout.lineHeight);
    size_t maxLines = size_t(std::max(roomForLines / layout.lineHeight, 1));
    if (layout.lines.size() > maxLines) layout.lines.resize(maxLines);
    int height = fixedHeight + int(layout.lines.size()) * layout.lineHeight;

    int left = std::max((targetWidth - width) / 2, 0);
    int top = std::max((targetHeight - height) / 2, 0);
    layout.frame = Rectangle { left, top, left + width, top + height };
    layout.captionBar = Rectangle { left + 1, top + 1, left + width - 1, top + 1 + kCaptionHeight };
    layout.textLeft = left + 1 + kTextMargin;
    layout.textTop = layout.captionBar.bottom + kTextMargin;
    layout.buttonStrip = Rectangle { left + 1, top + height - 1 - kStripHeight, left + width - 1, top + height - 1 };
    PlaceButtons(layout);
    return layout;
}

void DrawMessageBox(const Canvas& target, const MessageBoxLayout& layout, const MessageBoxLook& look)
{
    if (!target.memory.pixels || target.memory.width <= 0 || target.memory.height <= 0) return;
    FillBox(target, layout.frame, kBodyColour);
    OutlineBox(target, layout.frame, kFrameColour);
    FillBox(target, layout.captionBar, kCaptionColour);
    // A caption or line wider than the box is cut at its edge.
    DrawLabel(SubCanvas(target, layout.captionBar), kCaptionTextLeft, (layout.captionBar.Height() - UiCellHeight()) / 2,
        layout.caption, kCaptionTextColour);
    Rectangle textArea { layout.textLeft, layout.textTop,
        layout.frame.right - 1 - (layout.textLeft - layout.frame.left - 1), layout.buttonStrip.top };
    Canvas text = SubCanvas(target, textArea);
    for (size_t i = 0; i < layout.lines.size(); ++i)
        DrawLabel(text, 0, int(i) * layout.lineHeight, Label { layout.lines[i], -1 }, kTextColour);
    FillBox(target, layout.buttonStrip, kStripColour);
    for (size_t i = 0; i < layout.buttons.size(); ++i)
        DrawButton(target, layout.buttons[i], int(i) == look.focused, int(i) == look.pressed);
}

int ButtonAt(const MessageBoxLayout& layout, int x, int y)
{
    for (size_t i = 0; i < layout.buttons.size(); ++i)
        if (layout.buttons[i].box.Contains(x, y)) return int(i);
    return -1;
}

} // namespace platform::user
