#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cva {

// A name or string as stored in settings and documents: an encoding tag and the bytes,
// always ending with the encoding's terminator once built from data.
class EncodedText {
 public:
  static constexpr int32_t kUtf16 = 0;
  static constexpr int32_t kShiftJis = 1;

  // The value an empty stored text reads as: Shift-JIS, no bytes, no terminator.
  EncodedText() = default;
  // Copies the bytes, then appends the terminator the encoding needs.
  EncodedText(int32_t encoding, std::span<const uint8_t> bytes);
  // Shift-JIS text from a narrow string (its bytes without a terminating zero).
  static EncodedText FromNarrow(std::string_view narrow);
  // UTF-16 little-endian text from code units.
  static EncodedText FromUtf16(std::u16string_view units);

  int32_t encoding() const { return encoding_; }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

  // Equal tags and byte-identical contents, terminators included.
  friend bool operator==(const EncodedText&, const EncodedText&) = default;

  // The text's bytes up to the first terminator, as stored (no conversion).
  std::string RawNarrow() const;
  // UTF-16 code units up to the first zero unit (encoding 0 only; an odd last byte is dropped).
  std::u16string Utf16Units() const;

 private:
  void Terminate();

  int32_t encoding_ = kShiftJis;
  std::vector<uint8_t> bytes_;
};

}  // namespace cva
