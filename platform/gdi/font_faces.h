// The faces behind GDI fonts: a font description resolves through a small
// substitution table and fontconfig to a font file, which FreeType opens
// once; each pixel size of it keeps its rendered glyphs. Fonts themselves
// are cheap GDI objects that only hold their LOGFONTA.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include <windows.h>

namespace platform::gdi {

// A monochrome glyph: `ink` holds one byte per pixel, 1 where the glyph is.
struct Glyph {
    int left = 0; // from the pen to the first column
    int top = 0; // from the baseline up to the first row
    int width = 0;
    int rows = 0;
    int advance = 0; // pixels to the next pen position
    std::vector<uint8_t> ink;
};

class SizedFace {
public:
    virtual ~SizedFace() = default;
    virtual int Ascent() const = 0; // top of the cell to the baseline
    virtual int CellHeight() const = 0; // ascent + descent
    // Never null: a character the font lacks gets its default glyph. The
    // pointer holds until the next TrimGlyphCache.
    virtual const Glyph* GlyphFor(char32_t character) = 0;
    // Bounds the memory of the glyph cache; call between texts.
    virtual void TrimGlyphCache() = 0;
};

// Null when no font file can be found or opened for the description.
SizedFace* FaceFor(const LOGFONTA& description);

} // namespace platform::gdi
