#include "scene/objects/number_glyphs.h"

#include <algorithm>

#include "scene/objects/object_records.h"

namespace cva {
namespace {

constexpr uint8_t kOn = 1;

}  // namespace

std::vector<int> NumberGlyphEntries(int32_t value, const NumberFormatValue& format) {
  const bool separators = format.codes[2] == kOn;
  const bool minus_sign = format.codes[3] == kOn;
  const bool zero_padding = format.codes[4] == kOn;
  const int32_t digits = std::max<int32_t>(1, format.numbers[0]);
  // The magnitude is taken unsigned, so that negating the most negative integer is defined.
  uint32_t rest = static_cast<uint32_t>(value);
  const bool negative = value < 0;
  if (negative) rest = 0u - rest;

  std::vector<int> entries;
  for (int32_t k = 0; k < digits; ++k) {
    if (separators && k > 0 && k % 3 == 0) entries.push_back(NumberRecord::kSeparatorGlyph);
    entries.push_back(static_cast<int>(rest % 10u));
    rest /= 10u;
    if (rest == 0 && !zero_padding) break;
  }
  if (negative && minus_sign) entries.push_back(NumberRecord::kMinusGlyph);
  return entries;
}

float NumberGlyphAdvance(const NumberFormatValue& format, size_t position, int entry,
                         float glyph_width) {
  if (format.codes[1] != kOn || position == 0) return glyph_width;
  return static_cast<float>(entry == NumberRecord::kSeparatorGlyph ? format.numbers[3]
                                                                   : format.numbers[2]);
}

}  // namespace cva
