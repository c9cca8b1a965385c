#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "render/soft/glyphs/font_resolver.h"
#include "render/soft/glyphs/glyph_font.h"
#include "stream/encoded_text.h"

namespace cva {

// Largest em size in pixels a font is opened at; larger requests are reduced to it so that a
// hostile point size cannot ask for glyph bitmaps of any size.
constexpr int32_t kMaxEmPixels = 512;

// The em size in pixels of a point size on a 96 dpi screen: point size x 96 / 72 rounded half
// away from zero, as the character height of the reference renderer's fonts; 0 picks the
// default of 16 pixels and the result is at most kMaxEmPixels.
int32_t EmPixels(int32_t point_size);

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
