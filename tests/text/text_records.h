#pragma once

// Builders of rich-text records for the text tests.

#include <string>
#include <string_view>

#include "scene/text/text_record.h"
#include "stream/encoded_text.h"

namespace cva::testing {

inline StoredText Stored(const EncodedText& text) {
  return StoredText::From(text);
}

inline TextElementRecord FontRun(std::u16string_view face, float size, bool bold = false) {
  TextElementRecord e;
  e.kind = 0;
  e.face = Stored(EncodedText::FromUtf16(face));
  e.point_size = size;
  e.bold = bold ? 1 : 0;
  return e;
}

inline TextElementRecord ColourRun(Colour colour) {
  TextElementRecord e;
  e.kind = 1;
  e.colour = colour;
  return e;
}

inline TextElementRecord TextRun(const EncodedText& text) {
  TextElementRecord e;
  e.kind = 2;
  e.text = Stored(text);
  return e;
}

inline TextElementRecord Utf16Run(std::u16string_view text) {
  return TextRun(EncodedText::FromUtf16(text));
}

inline TextElementRecord Control(uint8_t sub_kind, float value = 0.0f) {
  TextElementRecord e;
  e.kind = 3;
  e.sub_kind = sub_kind;
  e.form = TextElementRecord::kFormValue;
  e.value = value;
  return e;
}

inline TextElementRecord NamedControl(uint8_t sub_kind, std::string_view name) {
  TextElementRecord e;
  e.kind = 3;
  e.sub_kind = sub_kind;
  e.form = TextElementRecord::kFormName;
  e.name = Stored(EncodedText::FromNarrow(name));
  return e;
}

template <class... E>
TextRecord Record(E... elements) {
  TextRecord r;
  (r.elements.items.push_back(elements), ...);
  return r;
}

}  // namespace cva::testing
