#pragma once

// Field helpers shared by the object, controller and text records: colours and vec2 as they
// are stored, numbers whose width is chosen by a code stored earlier, and lists whose count
// is a 32-bit integer.

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "render/colour.h"
#include "render/vec2.h"
#include "stream/record_fields.h"

namespace cva {

// Four bytes: red, green, blue, alpha.
template <class V>
void VisitColour(V& v, Colour& c) {
  v.Byte("red", c.red);
  v.Byte("green", c.green);
  v.Byte("blue", c.blue);
  v.Byte("alpha", c.alpha);
}

// A colour field as a nested record, so that several colours of one record keep apart.
struct ColourField {
  Colour& colour;
  template <class V>
  void Visit(V& v) {
    VisitColour(v, colour);
  }
};

// A vec2 field as a nested record with keys x and y.
struct Vec2Field {
  Vec2& value;
  template <class V>
  void Visit(V& v) {
    v.Float("x", value.x);
    v.Float("y", value.y);
  }
};

template <class V>
void VisitColour(V& v, const char* key, Colour& c) {
  ColourField field{c};
  v.Record(key, field);
}

template <class V>
void VisitVec2(V& v, const char* key, Vec2& value) {
  Vec2Field field{value};
  v.Record(key, field);
}

// Width codes of mesh numbers: 1 = one unsigned byte, 2 = a signed 16-bit value, anything
// else = nothing stored (the value is 0).
enum : uint8_t { kWidthByte = 1, kWidthShort = 2 };

// A number stored with the width its code gives. Reading keeps the value exactly as the
// stored bytes give it, so writing it back with the same code gives the same bytes.
template <class V>
void VisitWidthCoded(V& v, const char* key, uint8_t code, int32_t& value) {
  if (code == kWidthByte) {
    uint8_t b = static_cast<uint8_t>(value);
    v.Byte(key, b);
    if constexpr (V::kReading) value = b;
  } else if (code == kWidthShort) {
    int16_t s = static_cast<int16_t>(value);
    v.Short(key, s);
    if constexpr (V::kReading) value = s;
  } else if constexpr (V::kReading) {
    value = 0;
  }
}

// A list stored as a signed 32-bit count followed by that many records; 0 or less means
// empty and is kept as stored. Reading grows the list one item at a time and stops at the
// first failure, so a huge count in a short file costs no more than the data present.
template <class T>
using IntCountedList = CountedList<T, int32_t>;

template <class V, class T>
void VisitIntCountedList(V& v, const char* count_key, const char* item_key,
                         IntCountedList<T>& list) {
  if constexpr (V::kReading) {
    v.Int(count_key, list.stored_count);
    list.items.clear();
    for (int32_t i = 0; i < list.stored_count && v.ok(); ++i) {
      list.items.emplace_back();
      v.Record(item_key, list.items.back());
    }
  } else {
    if (list.items.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
      return v.Fail(std::string(item_key) + " holds too many entries");
    int32_t count = list.CountToWrite();
    v.Int(count_key, count);
    for (T& item : list.items) v.Record(item_key, item);
  }
}

// The count a CountedList is written with, or the count just read; returned. Records that put
// other fields between a list's count and its items visit the count through this.
template <class V, class T>
int16_t VisitListCount(V& v, const char* key, CountedList<T>& list) {
  int16_t count = list.stored_count;
  if constexpr (!V::kReading) count = list.CountToWrite();
  v.Short(key, count);
  if constexpr (V::kReading) {
    list.stored_count = count;
    list.items.clear();
  }
  return count;
}

}  // namespace cva
