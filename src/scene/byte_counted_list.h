#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cva {

// Visits a list stored as an 8-bit count followed by that many records (the ease points of a
// keyframe, the tangent values of a position). The count is the list's size, so it is not
// kept separately: every size has exactly one stored form. Reading grows the list item by item
// and stops at the first failure.
template <class V, class R>
void VisitByteCountedList(V& v, const char* count_key, const char* item_key,
                          std::vector<R>& items) {
  uint8_t count = 0;
  if constexpr (!V::kReading) {
    if (items.size() > 0xFF) return v.Fail(std::string(item_key) + " holds more than 255 entries");
    count = static_cast<uint8_t>(items.size());
  }
  v.Byte(count_key, count);
  if constexpr (V::kReading) {
    items.clear();
    for (int i = 0; i < count && v.ok(); ++i) {
      items.emplace_back();
      v.Record(item_key, items.back());
    }
  } else {
    for (R& item : items) v.Record(item_key, item);
  }
}

// One stored float of a byte-counted list.
struct FloatEntry {
  float value = 0.0f;

  template <class V>
  void Visit(V& v) {
    v.Float("value", value);
  }
  friend bool operator==(const FloatEntry&, const FloatEntry&) = default;
};

}  // namespace cva
