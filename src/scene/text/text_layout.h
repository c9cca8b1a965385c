#pragma once

// What the layout of a rich text produces: paragraphs of lines of glyph placements, with the
// reveal commands attached to the glyphs they precede.

#include <cstdint>
#include <vector>

#include "render/colour.h"
#include "render/primitives.h"
#include "stream/encoded_text.h"

namespace cva {

// A command of a control element, run by the text instance when its reveal reaches the glyph
// it is attached to.
struct TextCommand {
  enum class Kind : uint8_t {
    kGlyphInterval = 4,  // the reveal's glyph interval becomes the timing value / value
    kPause = 5,          // the reveal pauses for the timing value x value
    kJump = 6,           // playback jumps to the label called `name`
  };
  Kind kind = Kind::kGlyphInterval;
  float value = 0.0f;
  EncodedText name;
};

// One glyph on a line: the glyph (owned by the text primitive), its colour and the commands
// that came before it, and what the glyph was asked for with: the character code, its text's
// encoding tag and the font index.
struct GlyphPlacement {
  GlyphEntry* glyph = nullptr;
  Colour colour;
  std::vector<TextCommand> commands;
  uint16_t code = 0;
  uint8_t encoding = 0;
  int32_t font = -1;
};

// A font the layout registered with its text primitive, under the index the primitive gave.
struct RegisteredFont {
  int32_t index = -1;
  EncodedText face;
  int32_t point_size = 0;
  bool bold = false;
};

struct TextLine {
  float width = 0.0f;
  float height = 0.0f;  // the line height current when the line was made, until measured
  std::vector<GlyphPlacement> placements;
};

struct TextParagraph {
  float width = 0.0f;
  float height = 0.0f;
  std::vector<TextLine> lines;
};

}  // namespace cva
