#include "scene/text/text_node.h"

#include <algorithm>
#include <cmath>

#include "scene/text/character_codes.h"

namespace cva {
namespace {

constexpr uint16_t kNewLine = 10;

// The point size as the integer fonts are registered with: truncated, with values beyond the
// 32-bit range (or not a number) brought into it instead of converted undefined.
int32_t TruncatedSize(float point_size) {
  if (std::isnan(point_size)) return 0;
  if (point_size >= 2147483520.0f) return INT32_MAX;
  if (point_size <= -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(point_size);
}

}  // namespace

TextNode::TextNode(std::unique_ptr<TextPrimitive> primitive, std::unique_ptr<Transform> scratch)
    : primitive_(std::move(primitive)), scratch_(std::move(scratch)) {}

TextNode::~TextNode() = default;

void TextNode::Layout(const TextRecord& record, const TextLookup& lookup) {
  paragraphs_.clear();
  pending_.clear();
  fonts_.clear();
  line_height_ = 0.0f;
  colour_ = Colour{0, 0, 0, 0};
  font_ = -1;
  record_colour_ = record.colour;
  size_ = record.size;

  for (const TextElementRecord& element : record.elements) {
    switch (static_cast<TextElementKind>(element.kind)) {
      case TextElementKind::kFont:
        RegisterFont(element);
        break;
      case TextElementKind::kColour:
        colour_ = element.colour;
        break;
      case TextElementKind::kText:
        LayoutText(element.text.Decoded());
        break;
      case TextElementKind::kControl:
        switch (static_cast<TextControl>(element.sub_kind)) {
          case TextControl::kParagraph:
            paragraphs_.emplace_back();
            break;
          case TextControl::kTextReference:
            if (lookup) {
              if (const EncodedText* text = lookup(element.name.Decoded())) LayoutText(*text);
            }
            break;
          case TextControl::kGlyphInterval:
            pending_.push_back({TextCommand::Kind::kGlyphInterval, element.value, {}});
            break;
          case TextControl::kPause:
            pending_.push_back({TextCommand::Kind::kPause, element.value, {}});
            break;
          case TextControl::kJump:
            pending_.push_back({TextCommand::Kind::kJump, 0.0f, element.name.Decoded()});
            break;
        }
        break;
    }
  }
  if (primitive_) primitive_->Flush();
  Measure();
}

void TextNode::RegisterFont(const TextElementRecord& element) {
  line_height_ = element.point_size;
  font_ = -1;
  if (!primitive_) return;
  RegisteredFont font{-1, element.face.Decoded(), TruncatedSize(element.point_size),
                      element.bold != 0};
  font_ = primitive_->RegisterFont(font.face, font.point_size, font.bold);
  font.index = font_;
  const bool known = std::any_of(fonts_.begin(), fonts_.end(),
                                 [this](const RegisteredFont& f) { return f.index == font_; });
  if (!known) fonts_.push_back(std::move(font));
}

void TextNode::StartLineIfNone(TextParagraph& paragraph) {
  if (paragraph.lines.empty()) paragraph.lines.push_back(TextLine{0.0f, line_height_, {}});
}

void TextNode::LayoutText(const EncodedText& text) {
  if (paragraphs_.empty()) paragraphs_.emplace_back();
  TextParagraph& paragraph = paragraphs_.back();
  StartLineIfNone(paragraph);
  for (uint16_t code : CharacterCodes(text)) {
    if (code == kNewLine) {
      paragraph.lines.push_back(TextLine{0.0f, line_height_, {}});
      continue;
    }
    GlyphEntry* glyph = primitive_ ? primitive_->GetGlyph(font_, text.encoding(), code) : nullptr;
    if (!glyph) continue;
    GlyphPlacement placement{
        glyph, colour_, std::move(pending_), code, static_cast<uint8_t>(text.encoding()), font_};
    pending_.clear();
    paragraph.lines.back().placements.push_back(std::move(placement));
  }
}

void TextNode::Measure() {
  Vec2 size{0.0f, 0.0f};
  for (TextParagraph& paragraph : paragraphs_) {
    paragraph.width = 0.0f;
    paragraph.height = 0.0f;
    for (TextLine& line : paragraph.lines) {
      line.width = 0.0f;
      for (const GlyphPlacement& placement : line.placements) {
        const Vec2 cell = placement.glyph->Size();
        line.width += cell.x;
        line.height = std::max(line.height, cell.y);
      }
      paragraph.width = std::max(paragraph.width, line.width);
      paragraph.height += line.height;
    }
    size.x = std::max(size.x, paragraph.width);
    size.y = std::max(size.y, paragraph.height);
  }
  size_ = size;
}

int32_t TextNode::ParagraphFor(int32_t index) const {
  if (paragraphs_.empty()) return -1;
  const int32_t last = static_cast<int32_t>(std::min<size_t>(paragraphs_.size() - 1, INT32_MAX));
  return std::clamp(index, 0, last);
}

void TextNode::Draw(const Transform& world, Colour colour, int32_t index, int32_t limit) {
  const int32_t p = ParagraphFor(index);
  if (p < 0 || !scratch_) return;
  int64_t count = 0;
  float y = 0.0f;
  for (const TextLine& line : paragraphs_[static_cast<size_t>(p)].lines) {
    float pen_x = 0.0f;
    for (const GlyphPlacement& placement : line.placements) {
      const Vec2 cell = placement.glyph->Size();
      scratch_->SetTranslation(pen_x, y + line.height - cell.y);
      scratch_->PostMultiply(world);
      placement.glyph->Draw(*scratch_, colour.Modulated(placement.colour));
      pen_x += cell.x;
      ++count;
      if (limit != -1 && count >= limit) return;
    }
    y += line.height;
  }
}

const GlyphPlacement* TextNode::PlacementAt(int32_t index, int32_t glyph) const {
  const int32_t p = ParagraphFor(index);
  if (p < 0 || glyph < 0) return nullptr;
  int64_t remaining = glyph;
  for (const TextLine& line : paragraphs_[static_cast<size_t>(p)].lines) {
    if (remaining < static_cast<int64_t>(line.placements.size()))
      return &line.placements[static_cast<size_t>(remaining)];
    remaining -= static_cast<int64_t>(line.placements.size());
  }
  return nullptr;
}

int32_t TextNode::GlyphCount(int32_t index) const {
  const int32_t p = ParagraphFor(index);
  if (p < 0) return 0;
  size_t count = 0;
  for (const TextLine& line : paragraphs_[static_cast<size_t>(p)].lines)
    count += line.placements.size();
  return static_cast<int32_t>(std::min<size_t>(count, INT32_MAX));
}

}  // namespace cva
