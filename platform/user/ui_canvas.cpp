#include "user/ui_canvas.h"

#include "common/encoding.h"
#include "gdi/font_faces.h"

#include <algorithm>
#include <cstring>

#include <windows.h>

namespace platform::user {
namespace {

// 9 point at 96 dpi: the size Japanese Windows uses for menus and boxes.
constexpr int kUiEmPixels = 12;
constexpr int kFallbackAdvance = 6;

platform::gdi::SizedFace* UiFace()
{
    static platform::gdi::SizedFace* face = [] {
        LOGFONTA description {};
        description.lfHeight = -kUiEmPixels;
        description.lfCharSet = SHIFTJIS_CHARSET;
        std::string name = platform::encoding::Utf8ToCp932("ＭＳゴシック");
        std::strncpy(description.lfFaceName, name.c_str(), LF_FACESIZE - 1);
        return platform::gdi::FaceFor(description);
    }();
    return face;
}

void Put(const Canvas& canvas, int64_t x, int64_t y, uint32_t colour)
{
    x -= canvas.offsetX;
    y -= canvas.offsetY;
    if (!canvas.memory.pixels || !canvas.memory.Bounds().Contains(x, y)) return;
    canvas.memory.Row<uint32_t>(y)[x] = colour;
}

// `box` in the canvas's pixels, cut to them.
Rectangle Clipped(const Canvas& canvas, const Rectangle& box)
{
    return Rectangle { std::max<int64_t>(box.left - canvas.offsetX, 0), std::max<int64_t>(box.top - canvas.offsetY, 0),
        std::min<int64_t>(box.right - canvas.offsetX, canvas.memory.width),
        std::min<int64_t>(box.bottom - canvas.offsetY, canvas.memory.height) };
}

char32_t Upper(char32_t c) { return (c >= U'a' && c <= U'z') ? c - U'a' + U'A' : c; }

} // namespace

char32_t Label::Mnemonic() const
{
    if (mnemonicIndex < 0 || size_t(mnemonicIndex) >= shown.size()) return 0;
    return Upper(shown[size_t(mnemonicIndex)]);
}

Label ParseLabel(std::string_view utf8)
{
    std::u32string raw = platform::encoding::Utf8ToCodePoints(utf8);
    Label label;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == U'&' && i + 1 < raw.size()) {
            ++i;
            if (raw[i] != U'&' && label.mnemonicIndex < 0) label.mnemonicIndex = int(label.shown.size());
        }
        label.shown.push_back(raw[i]);
    }
    return label;
}

Label PlainLabel(std::string_view utf8) { return Label { platform::encoding::Utf8ToCodePoints(utf8), -1 }; }

int UiCellHeight()
{
    platform::gdi::SizedFace* face = UiFace();
    return face ? face->CellHeight() : kUiEmPixels;
}

int UiTextWidth(const std::u32string& text)
{
    platform::gdi::SizedFace* face = UiFace();
    int width = 0;
    for (char32_t c : text)
        width += face ? face->GlyphFor(c)->advance : kFallbackAdvance;
    return width;
}

Canvas SubCanvas(const Canvas& canvas, const Rectangle& box)
{
    Rectangle clipped = Clipped(canvas, box);
    if (clipped.Width() <= 0 || clipped.Height() <= 0 || !canvas.memory.pixels) return Canvas {};
    Canvas inner;
    inner.memory = canvas.memory.Part(clipped);
    // Rectangle coordinates of the first pixel: past any part cut off at the start.
    inner.offsetX = int(clipped.left + canvas.offsetX - box.left);
    inner.offsetY = int(clipped.top + canvas.offsetY - box.top);
    return inner;
}

void FillBox(const Canvas& canvas, const Rectangle& box, uint32_t colour)
{
    Rectangle clipped = Clipped(canvas, box);
    if (!canvas.memory.pixels) return;
    for (int64_t y = clipped.top; y < clipped.bottom; ++y)
        std::fill_n(canvas.memory.Row<uint32_t>(y) + clipped.left, std::max<int64_t>(clipped.Width(), 0), colour);
}

void OutlineBox(const Canvas& canvas, const Rectangle& box, uint32_t colour)
{
    FillBox(canvas, Rectangle { box.left, box.top, box.right, box.top + 1 }, colour);
    FillBox(canvas, Rectangle { box.left, box.bottom - 1, box.right, box.bottom }, colour);
    FillBox(canvas, Rectangle { box.left, box.top, box.left + 1, box.bottom }, colour);
    FillBox(canvas, Rectangle { box.right - 1, box.top, box.right, box.bottom }, colour);
}

void DottedOutline(const Canvas& canvas, const Rectangle& box, uint32_t colour)
{
    for (int64_t x = box.left; x < box.right; x += 2) {
        Put(canvas, x, box.top, colour);
        Put(canvas, x, box.bottom - 1, colour);
    }
    for (int64_t y = box.top; y < box.bottom; y += 2) {
        Put(canvas, box.left, y, colour);
        Put(canvas, box.right - 1, y, colour);
    }
}

void DrawLabel(const Canvas& canvas, int x, int top, const Label& label, uint32_t colour)
{
    platform::gdi::SizedFace* face = UiFace();
    if (!face || !canvas.memory.pixels) return;
    face->TrimGlyphCache();
    int baseline = top + face->Ascent();
    int pen = x;
    for (size_t i = 0; i < label.shown.size(); ++i) {
        const platform::gdi::Glyph* glyph = face->GlyphFor(label.shown[i]);
        for (int row = 0; row < glyph->rows; ++row)
            for (int column = 0; column < glyph->width; ++column)
                if (glyph->ink[size_t(row) * size_t(glyph->width) + size_t(column)])
                    Put(canvas, pen + glyph->left + column, baseline - glyph->top + row, colour);
        if (int(i) == label.mnemonicIndex)
            FillBox(
                canvas, Rectangle { pen, baseline + 1, pen + std::max(glyph->advance - 1, 1), baseline + 2 }, colour);
        pen += glyph->advance;
    }
}

} // namespace platform::user
