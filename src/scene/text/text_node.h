#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "render/colour.h"
#include "render/primitives.h"
#include "render/vec2.h"
#include "scene/text/text_layout.h"
#include "scene/text/text_record.h"

namespace cva {

// The laid-out form of a text object's rich-text record. Layout turns the elements into
// paragraphs of lines of glyphs of its own text primitive: font runs choose the font and the
// height of new lines, colour elements the colour of the glyphs that follow, text runs place
// glyphs (code 10 starts a new line), and control elements start a paragraph (2), lay out a
// named text (3) or attach a reveal command to the next glyph (4 glyph interval, 5 pause,
// 6 label jump). Draw shows one paragraph, possibly only its first glyphs.
class TextNode {
 public:
  // The text a control element of sub-kind 3 names, or nullptr when there is none.
  using TextLookup = std::function<const EncodedText*(const EncodedText& name)>;

  // `primitive` provides the glyphs; `scratch` is the transform each glyph is placed with.
  TextNode(std::unique_ptr<TextPrimitive> primitive, std::unique_ptr<Transform> scratch);
  ~TextNode();
  TextNode(const TextNode&) = delete;
  TextNode& operator=(const TextNode&) = delete;

  // Replaces the layout by that of `record` and measures it. Without a lookup, named texts
  // lay out nothing.
  void Layout(const TextRecord& record, const TextLookup& lookup = {});

  // The measured size: the widest paragraph's width by the tallest paragraph's height (the
  // record's size before the first layout).
  Vec2 size() const { return size_; }
  Colour record_colour() const { return record_colour_; }
  const std::vector<TextParagraph>& paragraphs() const { return paragraphs_; }
  // Commands of control elements that no glyph followed; they never run.
  const std::vector<TextCommand>& pending_commands() const { return pending_; }
  // The fonts the last layout registered, each index once, in the order first registered.
  const std::vector<RegisteredFont>& fonts() const { return fonts_; }

  // The paragraph Draw shows for `index`: clamped to the first and the last; -1 when there
  // is no paragraph.
  int32_t ParagraphFor(int32_t index) const;
  // Draws paragraph ParagraphFor(index): each glyph placed at its pen position, standing on
  // its line's bottom edge, transformed by `world`, in `colour` modulated by its own colour.
  // The glyph count is tested after each glyph: drawing stops once `limit` glyphs are drawn
  // (a limit of 0 still draws one glyph); -1 draws all.
  void Draw(const Transform& world, Colour colour, int32_t index, int32_t limit);
  // The placement with number `glyph` (counted line by line from 0) of paragraph
  // ParagraphFor(index), or nullptr past its end.
  const GlyphPlacement* PlacementAt(int32_t index, int32_t glyph) const;
  // The number of glyphs of paragraph ParagraphFor(index).
  int32_t GlyphCount(int32_t index) const;

 private:
  // Registers the font of a font run, which also sets the height of new lines.
  void RegisterFont(const TextElementRecord& element);
  void LayoutText(const EncodedText& text);
  void StartLineIfNone(TextParagraph& paragraph);
  void Measure();

  std::unique_ptr<TextPrimitive> primitive_;
  std::unique_ptr<Transform> scratch_;
  std::vector<TextParagraph> paragraphs_;
  std::vector<TextCommand> pending_;
  std::vector<RegisteredFont> fonts_;
  float line_height_ = 0.0f;
  Colour colour_{0, 0, 0, 0};
  int32_t font_ = -1;
  Vec2 size_;
  Colour record_colour_;
};

}  // namespace cva
