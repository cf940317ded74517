// Fonts as GDI objects, and TextOutA: CP932 text drawn glyph by glyph in
// the context's font, colour and background mode, clipped to the target.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "common/encoding.h"
#include "gdi/font_faces.h"
#include "gdi/objects.h"

namespace platform::gdi {
namespace {

struct PlacedGlyph {
    const Glyph* glyph;
    int penX;
};

std::vector<PlacedGlyph> Layout(SizedFace& face, const std::u32string& characters, int x, int& penEnd)
{
    std::vector<PlacedGlyph> placed;
    placed.reserve(characters.size());
    int64_t pen = x;
    for (char32_t character : characters) {
        const Glyph* glyph = face.GlyphFor(character);
        placed.push_back(PlacedGlyph { glyph, static_cast<int>(std::clamp<int64_t>(pen, INT32_MIN, INT32_MAX)) });
        pen += glyph->advance;
    }
    penEnd = static_cast<int>(std::clamp<int64_t>(pen, INT32_MIN, INT32_MAX));
    return placed;
}

void FillRectangle(const DrawingTarget& target, int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t raw)
{
    int x0 = static_cast<int>(std::max<int64_t>(left, 0)),
        x1 = static_cast<int>(std::min<int64_t>(right, target.memory.width));
    int y0 = static_cast<int>(std::max<int64_t>(top, 0)),
        y1 = static_cast<int>(std::min<int64_t>(bottom, target.memory.height));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            WriteRaw(target, x, y, raw);
}

// The glyph's inked pixels that fall inside the target, the clipping worked
// out once per glyph: a line of text may be drawn every frame.
template <typename Pixel>
void DrawGlyphPixels(const DrawingTarget& target, const Glyph& glyph, int64_t originX, int64_t originY, Pixel ink)
{
    const int64_t firstRow = std::max<int64_t>(0, -originY);
    const int64_t endRow = std::min<int64_t>(glyph.rows, int64_t { target.memory.height } - originY);
    const int64_t firstColumn = std::max<int64_t>(0, -originX);
    const int64_t endColumn = std::min<int64_t>(glyph.width, int64_t { target.memory.width } - originX);
    for (int64_t row = firstRow; row < endRow; ++row) {
        const uint8_t* inked = glyph.ink.data() + row * glyph.width + firstColumn;
        uint8_t* out = PixelAddress(target, static_cast<int>(originX + firstColumn), static_cast<int>(originY + row));
        for (int64_t column = 0; column < endColumn - firstColumn; ++column)
            if (inked[column] != 0) std::memcpy(out + column * int64_t(sizeof(Pixel)), &ink, sizeof(Pixel));
    }
}

void DrawGlyph(const DrawingTarget& target, const Glyph& glyph, int64_t originX, int64_t originY, uint32_t raw)
{
    if (target.format == PixelFormat::Xrgb8888)
        DrawGlyphPixels<uint32_t>(target, glyph, originX, originY, raw);
    else
        DrawGlyphPixels<uint16_t>(target, glyph, originX, originY, static_cast<uint16_t>(raw));
}

// The rows the text touches: its glyphs' and, with an opaque background,
// its cells'.
struct RowSpan {
    int64_t top;
    int64_t bottom;
};

RowSpan DrawnRows(const std::vector<PlacedGlyph>& placed, SizedFace& face, int y, bool opaque)
{
    const int64_t baseline = int64_t { y } + face.Ascent();
    RowSpan rows = opaque ? RowSpan { y, int64_t { y } + face.CellHeight() } : RowSpan { INT64_MAX, INT64_MIN };
    for (const PlacedGlyph& item : placed) {
        rows.top = std::min(rows.top, baseline - item.glyph->top);
        rows.bottom = std::max(rows.bottom, baseline - item.glyph->top + item.glyph->rows);
    }
    return rows;
}

void PrepareRows(const DrawingTarget& target, RowSpan rows) { PrepareRows(target, rows.top, rows.bottom); }

const LOGFONTA& SelectedDescription(const DeviceContext& context)
{
    const Font* font = FindFont(context.font);
    if (font == nullptr) font = FindFont(DefaultFont());
    return font->description;
}

} // namespace
} // namespace platform::gdi

using namespace platform::gdi;

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* description)
{
    if (description == nullptr) return nullptr;
    auto font = std::make_unique<Font>();
    font->description = *description;
    return AddFont(std::move(font));
}

// (x, y) is the top-left corner of the first character cell.
BOOL WINAPI TextOutA(HDC handle, int x, int y, LPCSTR text, int length)
{
    DeviceContext* context = FindContext(handle);
    if (context == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
    if (length == 0) return TRUE;
    SizedFace* face = FaceFor(SelectedDescription(*context));
    if (face == nullptr) return FALSE;
    face->TrimGlyphCache();
    std::u32string characters = platform::encoding::Utf8ToCodePoints(
        platform::encoding::Cp932ToUtf8(std::string_view(text, static_cast<size_t>(length))));
    int penEnd = x;
    std::vector<PlacedGlyph> placed = Layout(*face, characters, x, penEnd);
    const DrawingTarget& target = context->target;
    PrepareRows(target, DrawnRows(placed, *face, y, context->backgroundMode == OPAQUE));
    if (context->backgroundMode == OPAQUE) {
        uint32_t background = RgbToRaw(ColorRefToRgb(context->backgroundColour), target.format);
        FillRectangle(target, x, y, penEnd, int64_t { y } + face->CellHeight(), background);
    }
    uint32_t ink = RgbToRaw(ColorRefToRgb(context->textColour), target.format);
    int64_t baseline = int64_t { y } + face->Ascent();
    for (const PlacedGlyph& item : placed)
        DrawGlyph(target, *item.glyph, int64_t { item.penX } + item.glyph->left, baseline - item.glyph->top, ink);
    return TRUE;
}
