// Drawing for the window manager's own pictures (menu bar, drop-downs,
// message boxes): rectangles and text in the Japanese gothic face onto any
// 0x00RRGGBB buffer. Everything is clipped to the buffer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/pixel_view.h"
#include "common/rectangle.h"

namespace platform::user {

struct Canvas {
    PixelView memory; // 0x00RRGGBB pixels
    // The drawing coordinates of pixel (0, 0); non-zero only in a SubCanvas
    // whose box begins outside its parent.
    int offsetX = 0;
    int offsetY = 0;
};

// A label as Windows writes it: "&F" marks F as the mnemonic and is shown
// as an underlined F; "&&" is a plain '&'.
struct Label {
    std::u32string shown;
    int mnemonicIndex = -1; // into `shown`, -1 without one
    char32_t Mnemonic() const;
};
Label ParseLabel(std::string_view utf8);
Label PlainLabel(std::string_view utf8);

// The face of menus and boxes: "ＭＳゴシック" as GDI resolves it.
int UiCellHeight();
int UiTextWidth(const std::u32string& text);

// The part of `canvas` inside `box`, with its own origin at the box's
// top-left: what is drawn on it cannot spill past the box.
Canvas SubCanvas(const Canvas& canvas, const Rectangle& box);

void FillBox(const Canvas& canvas, const Rectangle& box, uint32_t colour);
void OutlineBox(const Canvas& canvas, const Rectangle& box, uint32_t colour);
void DottedOutline(const Canvas& canvas, const Rectangle& box, uint32_t colour);
// (x, top) is the top-left of the text cell; the mnemonic gets its underline.
void DrawLabel(const Canvas& canvas, int x, int top, const Label& label, uint32_t colour);

} // namespace platform::user
