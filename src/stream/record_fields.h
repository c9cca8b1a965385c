#pragma once

// Field types that keep a record exactly as stored, so a record read from a document can be
// written back byte for byte (the authoring tools depend on this).
//
// Records describe their layout once, in a template member
//   template <class V> void Visit(V& v);
// that calls, in file order, the visitor operations
//   v.Flag(key, Flag&)  v.Byte(key, uint8_t&)  v.Short(key, int16_t&)  v.Int(key, int32_t&)
//   v.Float(key, float&)  v.Text(key, StoredText&)
//   v.Record(key, R&)             a nested record (calls R::Visit)
//   v.List(key, CountedList<R>&)  a 16-bit count, then that many nested records
//   v.Rest(key, std::vector<uint8_t>&)  every byte left (trailing data kept as it was)
//   v.ok()  v.Fail(why)           stop on malformed data (unknown type code, ...)
//   v.context()                   FormatContext: settings earlier sections fix for later ones
// and branches on values already visited. V::kReading tells a visitor that fills the
// record (reading a document, compiling a description) from one that only looks at it.

#include <cstdint>
#include <span>
#include <vector>

#include "stream/encoded_text.h"

namespace cva {

// Choices a document makes in one section that change the layout of later ones.
struct FormatContext {
  bool node_names = false;  // every scene node record carries a name text
};

// A boolean byte as stored: true only when it is exactly 1 (other values are false but are
// kept so that they can be written back).
struct Flag {
  uint8_t raw = 0;
  Flag() = default;
  Flag(bool on) : raw(on ? 1 : 0) {}  // NOLINT: a Flag stands in for a bool
  bool on() const { return raw == 1; }
  explicit operator bool() const { return on(); }
  friend bool operator==(const Flag&, const Flag&) = default;
};

// A text field as stored: a signed 16-bit byte length, then (only when positive) the
// encoding byte and exactly that many bytes, possibly including a terminator.
struct StoredText {
  int16_t length = 0;
  uint8_t encoding = 1;
  std::vector<uint8_t> bytes;  // exactly `length` bytes when length > 0

  // The value the text reads as (the terminator rule applied; empty reads as the default).
  EncodedText Decoded() const {
    if (length <= 0) return EncodedText();
    return EncodedText(encoding, bytes);
  }
  // Stores `text` with its terminator inside the length (as the converter writes names),
  // or without it.
  static StoredText From(const EncodedText& text, bool with_terminator = false);
  friend bool operator==(const StoredText&, const StoredText&) = default;
};

// A list whose stored count may be 0 or negative (both mean empty). The count is kept so
// that an unusual empty count is written back as it was. Most lists store a 16-bit count;
// a few store a 32-bit one (Count = int32_t).
template <class T, class Count = int16_t>
struct CountedList {
  Count stored_count = 0;
  std::vector<T> items;

  auto begin() { return items.begin(); }
  auto end() { return items.end(); }
  auto begin() const { return items.begin(); }
  auto end() const { return items.end(); }
  size_t size() const { return items.size(); }
  bool empty() const { return items.empty(); }
  T& operator[](size_t i) { return items[i]; }
  const T& operator[](size_t i) const { return items[i]; }
  // The count to store: the number of items, or the kept empty count.
  Count CountToWrite() const {
    return items.empty() ? (stored_count > 0 ? Count{0} : stored_count)
                         : static_cast<Count>(items.size());
  }
  friend bool operator==(const CountedList&, const CountedList&) = default;
};

inline StoredText StoredText::From(const EncodedText& text, bool with_terminator) {
  StoredText out;
  const std::vector<uint8_t>& b = text.bytes();
  size_t n = b.size();
  if (!with_terminator) {
    if (text.encoding() == EncodedText::kUtf16 && n >= 2 && b[n - 1] == 0 && b[n - 2] == 0)
      n -= 2;
    else if (text.encoding() == EncodedText::kShiftJis && n >= 1 && b[n - 1] == 0)
      n -= 1;
  }
  if (n > 0x7FFF) n = 0x7FFF;
  out.length = static_cast<int16_t>(n);
  out.encoding = static_cast<uint8_t>(text.encoding());
  out.bytes.assign(b.begin(), b.begin() + n);
  return out;
}

}  // namespace cva
