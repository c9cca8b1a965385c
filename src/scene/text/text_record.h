#pragma once

// The rich-text record carried by text objects (type 5): a colour, a size and a list of
// elements (font runs, colour changes, text runs and control elements).

#include <cstdint>
#include <string>

#include "render/colour.h"
#include "render/vec2.h"
#include "scene/objects/record_helpers.h"
#include "stream/record_fields.h"

namespace cva {

enum class TextElementKind : uint8_t { kFont = 0, kColour = 1, kText = 2, kControl = 3 };

// Control sub-kinds the layout knows; other sub-kinds are kept and do nothing.
enum class TextControl : uint8_t {
  kParagraph = 2,      // starts a new paragraph
  kTextReference = 3,  // lays out a text named by `name`
  kGlyphInterval = 4,  // reveal command with `value`
  kPause = 5,          // reveal command with `value`
  kJump = 6,           // reveal command with `name` (a label)
};

// One element. The fields used depend on the kind; the others keep their defaults.
struct TextElementRecord {
  uint8_t kind = 0;
  // Font run.
  StoredText face;
  float point_size = 0.0f;
  uint8_t bold = 0;
  // Colour.
  Colour colour{0, 0, 0, 0};
  // Text run.
  StoredText text;
  // Control: the form says which of value (1) and name (2) follows; other forms carry none.
  uint8_t sub_kind = 0;
  uint8_t form = 0;
  float value = 0.0f;
  StoredText name;

  static constexpr uint8_t kFormValue = 1;
  static constexpr uint8_t kFormName = 2;

  template <class V>
  void Visit(V& v) {
    v.Byte("kind", kind);
    switch (static_cast<TextElementKind>(kind)) {
      case TextElementKind::kFont:
        v.Text("face", face);
        v.Float("point_size", point_size);
        v.Byte("bold", bold);
        return;
      case TextElementKind::kColour:
        VisitColour(v, "colour", colour);
        return;
      case TextElementKind::kText:
        v.Text("text", text);
        return;
      case TextElementKind::kControl:
        v.Byte("sub_kind", sub_kind);
        v.Byte("form", form);
        if (form == kFormValue) v.Float("value", value);
        if (form == kFormName) v.Text("name", name);
        return;
    }
    v.Fail("unknown text element kind " + std::to_string(kind));
  }
};

struct TextRecord {
  Colour colour;
  Vec2 size;  // replaced by the measured size when the text is laid out
  CountedList<TextElementRecord> elements;

  template <class V>
  void Visit(V& v) {
    VisitColour(v, "colour", colour);
    VisitVec2(v, "size", size);
    v.List("elements", elements);
  }
};

}  // namespace cva
