#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "render/freetype/font_resolver.h"
#include "render/glyphs/font_size.h"
#include "render/glyphs/glyph_font.h"
#include "stream/encoded_text.h"

namespace cva {

// Opens a font file with FreeType at an em size in pixels, emboldening outlines when asked.
// Glyphs are rendered from outlines with 8-bit anti-aliasing reduced to 65 grey levels;
// cell metrics come from the font's Windows ascent and descent when it has them. Nullptr when
// the file cannot be opened.
std::unique_ptr<GlyphFont> OpenFreeTypeFont(const FontFile& file, int32_t em_pixels);

// The font a document's face name stands for (GlyphAtlas::FontOpener): the name is decoded
// (UTF-16 or code page 932; other encodings have no font), resolved through fontconfig and
// opened at the point size's pixel size.
std::unique_ptr<GlyphFont> OpenSystemFont(const EncodedText& face, int32_t point_size, bool bold);

}  // namespace cva
